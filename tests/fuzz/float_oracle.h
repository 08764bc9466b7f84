// What a float's text form must read back as, computed without the code under test:
// the C library rounds the value to 15 significant digits and reads that text back.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace ripplet::fuzz {

// The double nearest to `value` rounded to 15 significant digits; an infinity when
// that rounding goes past the largest double (only values within 5e292 of it).
// The fuzz process runs in the "C" locale, so printf and strtod use ".".
inline double RoundTo15Digits(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", value);
  return std::strtod(buffer, nullptr);
}

}  // namespace ripplet::fuzz
