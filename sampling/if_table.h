#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace ripplet {

// One row of the interface table, as the shell read it from the platform's. The
// description is held in the row itself, so that a table read again into the same rows
// allocates nothing.
struct IfRow {
  static constexpr std::size_t kDescriptionSize = 256;  // bDescr

  std::uint32_t Index = 0;      // the interface's index (dwIndex)
  std::uint32_t InOctets = 0;   // dwInOctets: 32-bit, wraps
  std::uint32_t OutOctets = 0;  // dwOutOctets
  bool Up = true;               // dwOperStatus: connected or operational

  // The ANSI bytes exactly as stored: up to the first NUL, all 256 when there is none.
  std::string_view Description() const noexcept { return {description_.data(), length_}; }
  // Takes bytes as the platform stores them: the text ends at the first NUL or after 256.
  void SetDescription(const char* bytes, std::size_t size) noexcept;

 private:
  std::array<char, kDescriptionSize> description_{};
  std::size_t length_ = 0;
};

// The interface table as last read, rows in the platform's order (unsorted).
using IfTableBuffer = std::vector<IfRow>;

// The first row whose description equals name byte for byte (same length, same bytes).
std::optional<std::uint32_t> FindAdapter(const IfTableBuffer& table,
                                         std::string_view name) noexcept;

}  // namespace ripplet
