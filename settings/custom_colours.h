// The colour dialog's 16 custom colours, held as "name=value" lines under the keys
// ColorA to ColorP; each value is the colour 0x00BBGGRR in hex ("0000FF" is red)
// and "FFFFFFFF" marks an unset entry.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ripplet {

inline constexpr std::uint32_t kUnsetCustomColour = 0xFFFFFFFFu;
inline constexpr std::string_view kUnsetCustomColourText = "FFFFFFFF";

using CustomColourArray = std::array<std::uint32_t, 16>;

// The text before a line's first "=", or nullopt for a line without one.
std::optional<std::string_view> LineName(std::string_view line) noexcept;

// The value of the first line whose name matches (without regard to ASCII case).
std::optional<std::string_view> FindLineValue(const std::vector<std::string>& lines,
                                              std::string_view name) noexcept;

// "ColorA" to "ColorP".
std::string CustomColourKey(std::size_t index);

struct CustomColourRead {
  CustomColourArray Colours{};
  // The first value that is not hex, as "$" and the value (the text of the
  // conversion error); the colours are then not to be used.
  std::optional<std::string> BadValue;
};

// Missing or empty entries are unset.
CustomColourRead ReadCustomColours(const std::vector<std::string>& lines);

// Replaces the line of each key (its first line) or appends one; values are at
// least 6 upper-case hex digits, so an unset colour is "FFFFFFFF".
void WriteCustomColours(std::vector<std::string>& lines, const CustomColourArray& colours);

}  // namespace ripplet
