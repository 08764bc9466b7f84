#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace ripplet {

// Published layout of MIB_IFTABLE / MIB_IFROW as GetIfTable fills them. The
// Win32 shell checks these against <iphlpapi.h> with static_assert.
inline constexpr std::size_t kIfTableNumEntriesOffset = 0;
inline constexpr std::size_t kIfTableRowsOffset = 4;
inline constexpr std::size_t kIfRowSize = 860;
inline constexpr std::size_t kIfRowIndexOffset = 512;
inline constexpr std::size_t kIfRowInOctetsOffset = 552;
inline constexpr std::size_t kIfRowOutOctetsOffset = 576;
inline constexpr std::size_t kIfRowDescrOffset = 604;
inline constexpr std::size_t kIfRowDescrSize = 256;

// A read-only view over an interface-table block (IfTableBuffer). It never reads
// outside the block: a row count that claims more rows than the block holds
// exposes only the rows that fit. The view does not own the block.
class IfTable {
 public:
  IfTable() noexcept = default;
  IfTable(const unsigned char* block, std::size_t size) noexcept;

  const unsigned char* Data() const noexcept { return block_; }
  std::size_t Size() const noexcept { return size_; }

  // dwNumEntries, clamped to the rows that fit in the block.
  std::uint32_t RowCount() const noexcept;

  // bDescr up to its first NUL, or all 256 bytes when there is none: ANSI bytes
  // exactly as stored. Rows at or past RowCount() give an empty text and 0 counters.
  std::string_view Description(std::uint32_t row) const noexcept;
  std::uint32_t InOctets(std::uint32_t row) const noexcept;
  std::uint32_t OutOctets(std::uint32_t row) const noexcept;
  std::uint32_t InterfaceIndex(std::uint32_t row) const noexcept;  // dwIndex

  // First row whose description equals name byte for byte (same length, same bytes).
  std::optional<std::uint32_t> Find(std::string_view name) const noexcept;

 private:
  const unsigned char* Row(std::uint32_t row) const noexcept;

  const unsigned char* block_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace ripplet
