#include "sampling/if_table.h"

#include <algorithm>
#include <cstring>

namespace ripplet {

namespace {

std::uint32_t ReadU32(const unsigned char* at) noexcept {
  std::uint32_t value;  // memcpy: the block is bytes, not a MIB_IFROW object
  std::memcpy(&value, at, sizeof value);
  return value;
}

}  // namespace

IfTable::IfTable(const unsigned char* block, std::size_t size) noexcept
    : block_(block), size_(block != nullptr ? size : 0) {}

std::uint32_t IfTable::RowCount() const noexcept {
  if (size_ < kIfTableRowsOffset) return 0;
  const std::size_t fit = (size_ - kIfTableRowsOffset) / kIfRowSize;
  const std::uint32_t claimed = ReadU32(block_ + kIfTableNumEntriesOffset);
  return static_cast<std::uint32_t>(std::min<std::size_t>(claimed, fit));
}

const unsigned char* IfTable::Row(std::uint32_t row) const noexcept {
  if (row >= RowCount()) return nullptr;
  return block_ + kIfTableRowsOffset + static_cast<std::size_t>(row) * kIfRowSize;
}

std::string_view IfTable::Description(std::uint32_t row) const noexcept {
  const unsigned char* at = Row(row);
  if (at == nullptr) return {};
  const char* text = reinterpret_cast<const char*>(at + kIfRowDescrOffset);
  const void* nul = std::memchr(text, 0, kIfRowDescrSize);
  const std::size_t length =
      nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - text)
                     : kIfRowDescrSize;
  return {text, length};
}

std::uint32_t IfTable::InOctets(std::uint32_t row) const noexcept {
  const unsigned char* at = Row(row);
  return at != nullptr ? ReadU32(at + kIfRowInOctetsOffset) : 0;
}

std::uint32_t IfTable::OutOctets(std::uint32_t row) const noexcept {
  const unsigned char* at = Row(row);
  return at != nullptr ? ReadU32(at + kIfRowOutOctetsOffset) : 0;
}

std::uint32_t IfTable::InterfaceIndex(std::uint32_t row) const noexcept {
  const unsigned char* at = Row(row);
  return at != nullptr ? ReadU32(at + kIfRowIndexOffset) : 0;
}

std::optional<std::uint32_t> IfTable::Find(std::string_view name) const noexcept {
  const std::uint32_t count = RowCount();
  for (std::uint32_t row = 0; row < count; ++row) {
    if (Description(row) == name) return row;
  }
  return std::nullopt;
}

}  // namespace ripplet
