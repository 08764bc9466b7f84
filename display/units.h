// Display units: the unit texts offered to the user and the numbers derived
// from any unit text (divisor, multiplier letter, decimal count).
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace ripplet {

// The unit list in the order the Options dialog shows it, as Shift-JIS
// (code page 932) bytes, exactly as they are stored in the settings file.
inline constexpr std::size_t kUnitCount = 18;
extern const std::array<std::string_view, kUnitCount> kUnitTexts;

// The default unit, "0.00k バイト/秒".
extern const std::string_view kDefaultUnitText;

// True when `needle` occurs in `text` ignoring ASCII case, matching only at
// character starts by code page 932's double-byte rules. Empty text or
// needle gives false.
bool ContainsIgnoreCase(std::string_view text, std::string_view needle) noexcept;

struct UnitParams {
  double Divisor;  // bytes per second per display unit, always > 0
  char Letter;     // 'k', 'M', or 0 for none
};

UnitParams ParseUnit(std::string_view unit_text) noexcept;
double UnitDivisor(std::string_view unit_text) noexcept;
int UnitDecimals(std::string_view unit_text) noexcept;
// A value in `source` units times this ratio is the same rate in `target` units.
double UnitRatio(std::string_view source, std::string_view target) noexcept;

}  // namespace ripplet
