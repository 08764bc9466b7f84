// The 52 colour identifiers that the settings file uses for well-known colours.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace ripplet {

// 0x00BBGGRR is an RGB colour; 0xFF000000 + n is the platform's system colour n.
inline constexpr std::uint32_t kSystemColourBase = 0xFF000000u;

inline constexpr std::uint32_t kClBlue = 0x00FF0000u;
inline constexpr std::uint32_t kClRed = 0x000000FFu;
inline constexpr std::uint32_t kClGray = 0x00808080u;
inline constexpr std::uint32_t kClSilver = 0x00C0C0C0u;

// The value of a colour name, compared without regard to ASCII case.
std::optional<std::uint32_t> ColourOfName(std::string_view name) noexcept;

// The first name in the table that has this value, if any.
std::optional<std::string_view> NameOfColour(std::uint32_t colour) noexcept;

}  // namespace ripplet
