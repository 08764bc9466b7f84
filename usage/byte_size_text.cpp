#include "usage/byte_size_text.h"

#include <array>

namespace ripplet {

std::wstring FormatByteSize(std::uint64_t bytes, std::wstring_view decimal_separator) {
  if (bytes < 1024) return std::to_wstring(bytes) + L" バイト";
  static constexpr std::array<const wchar_t*, 4> kUnits = {L" KB", L" MB", L" GB", L" TB"};
  // Find the unit in which the value lies below 1000 (from 1000 units on, the next unit
  // shows it as 0.97 and up), keeping TB for everything larger.
  std::size_t unit = 0;
  std::uint64_t scale = 1024;  // bytes per unit
  while (unit + 1 < kUnits.size() && bytes / scale >= 1000) {
    scale *= 1024;
    ++unit;
  }
  // Hundredths of the unit, truncated, in 128 bits' worth of care: bytes * 100 may not fit.
  const std::uint64_t whole = bytes / scale;
  const auto hundredths =
      static_cast<std::uint64_t>((static_cast<unsigned __int128>(bytes % scale) * 100) / scale);
  std::wstring text = std::to_wstring(whole);
  if (whole < 10) {
    text += decimal_separator;
    text += static_cast<wchar_t>(L'0' + hundredths / 10);
    text += static_cast<wchar_t>(L'0' + hundredths % 10);
  } else if (whole < 100) {
    text += decimal_separator;
    text += static_cast<wchar_t>(L'0' + hundredths / 10);
  }
  return text + kUnits[unit];
}

}  // namespace ripplet
