#include "sampling/if_table.h"

#include <algorithm>

namespace ripplet {

void IfRow::SetDescription(const char* bytes, std::size_t size) noexcept {
  const char* end = std::find(bytes, bytes + std::min(size, kDescriptionSize), '\0');
  length_ = static_cast<std::size_t>(end - bytes);
  std::copy(bytes, end, description_.begin());
}

std::optional<std::uint32_t> FindAdapter(const IfTableBuffer& table,
                                         std::string_view name) noexcept {
  for (std::size_t row = 0; row < table.size(); ++row) {
    if (table[row].Description() == name) return static_cast<std::uint32_t>(row);
  }
  return std::nullopt;
}

}  // namespace ripplet
