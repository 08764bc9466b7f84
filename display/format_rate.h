// The value text of a rate, as the two value labels show it: the number in
// the display unit with a fixed count of decimals, then the multiplier letter.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ripplet {

// `rate` in bytes per second; `divisor`, `letter` (0 for none) and
// `decimals` from the unit text; `decimal_separator` from the regional
// settings. Returns ANSI bytes: ASCII digits, the separator, the letter.
// As the value grows it trades decimals for integer digits, so that the
// list's units never show more than six digits, and saturates at 999999.
std::string FormatRate(std::int64_t rate, double divisor, char letter, int decimals,
                       std::string_view decimal_separator);

}  // namespace ripplet
