#include "display/format_rate.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <system_error>

namespace ripplet {

namespace {

constexpr int kMaxWrittenDecimals = 18;
constexpr int kSignificantDigits = 18;
constexpr double kSaturation = 999999.0;

// Above this many decimals the limit 99999 / 10^d is 0 in double, so a
// larger count changes nothing but the length of the trading loop.
constexpr int kMaxTradedDecimals = 400;

// 10^d, exact up to 10^22; beyond that close enough for a limit.
double PowerOfTen(int d) noexcept {
  double p = 1.0;
  for (int i = 0; i < d && p <= std::numeric_limits<double>::max(); ++i) p *= 10.0;
  return p;
}

// Trades decimals for integer digits until v fits six digits in all;
// saturates at 999999 once no decimals are left.
int FitDecimals(double& v, int d) noexcept {
  for (;;) {
    const double limit = d > 0 ? 99999.0 / PowerOfTen(d) : kSaturation;
    if (!(v > limit)) return d;
    if (d == 0) {
      v = kSaturation;
      return 0;
    }
    --d;
  }
}

// The 18 significant digits of a finite, non-negative value and the power
// of ten of the first one: value ~ D0.D1 ... D17 * 10^exponent.
struct Significand {
  std::array<char, kSignificantDigits> Digits;
  int Exponent;
};

Significand TakeSignificand(double magnitude) noexcept {
  // d.ddddddddddddddddde+XXX: to_chars rounds the exact binary value.
  std::array<char, 32> buf{};
  const auto result = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude,
                                    std::chars_format::scientific, kSignificantDigits - 1);
  Significand s{};
  s.Digits[0] = buf[0];
  std::copy_n(buf.data() + 2, kSignificantDigits - 1, s.Digits.data() + 1);
  const char* e = std::find(buf.data(), result.ptr, 'e');
  const char* exp_begin = e + 1;
  if (exp_begin < result.ptr && *exp_begin == '+') ++exp_begin;
  std::from_chars(exp_begin, result.ptr, s.Exponent);
  return s;
}

}  // namespace

std::string FormatRate(std::int64_t rate, double divisor, char letter, int decimals,
                       std::string_view decimal_separator) {
  double v = static_cast<double>(rate) / divisor;
  // A divisor of 0 or below never comes from a unit text; keep the text sane anyway.
  if (std::isnan(v)) v = 0.0;
  if (std::isinf(v)) v = v > 0 ? kSaturation : -kSaturation;

  int d = FitDecimals(v, std::clamp(decimals, 0, kMaxTradedDecimals));
  d = std::min(d, kMaxWrittenDecimals);

  const bool negative = v < 0;
  const Significand s = TakeSignificand(std::fabs(v));

  // Lay the digits out by place: index 0 holds 10^top, the last 10^-d.
  // One extra slot in front takes a carry out of the top digit.
  const int top = std::max(s.Exponent, 0);
  const int count = top + 1 + d;
  std::array<char, 1 + 309 + 1 + kMaxWrittenDecimals> places{};
  char* const fixed = places.data() + 1;
  std::fill_n(places.data(), count + 1, '0');
  for (int k = 0; k < kSignificantDigits; ++k) {
    const int index = top - (s.Exponent - k);
    if (index >= 0 && index < count) fixed[index] = s.Digits[static_cast<std::size_t>(k)];
  }

  // Round the digit string half away from zero at the d-th decimal.
  const int next = s.Exponent + d + 1;  // significant digit at place 10^-(d+1)
  const char round_digit =
      next >= 0 && next < kSignificantDigits ? s.Digits[static_cast<std::size_t>(next)] : '0';
  char* first = fixed;
  if (round_digit >= '5') {
    int i = count - 1;
    while (i >= 0 && fixed[i] == '9') fixed[i--] = '0';
    if (i >= 0) {
      ++fixed[i];
    } else {
      places[0] = '1';
      first = places.data();
    }
  }
  char* const end = fixed + count;
  const bool is_zero = std::all_of(first, end, [](char c) { return c == '0'; });

  std::string text;
  text.reserve(static_cast<std::size_t>(end - first) + 2 + decimal_separator.size());
  if (negative && !is_zero) text += '-';
  char* const point = fixed + top + 1;
  text.append(first, point);
  if (d > 0) {
    text += decimal_separator;
    text.append(point, end);
  }
  if (letter != 0) text += letter;
  return text;
}

}  // namespace ripplet
