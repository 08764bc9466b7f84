// The float text form: general format with 15 significant digits and the regional
// decimal separator. Digits come from std::to_chars / std::from_chars, which are
// exact and ignore the C locale; only the separator is ours to apply.
#include <charconv>
#include <system_error>
#include <cmath>
#include <cstdlib>
#include <string>

#include "settings/value_forms.h"

namespace ripplet {
namespace {

std::string_view SeparatorOrDot(std::string_view decimal_separator) {
  return decimal_separator.empty() ? std::string_view(".") : decimal_separator;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view text, std::size_t i) {
  while (i < text.size() && IsDigit(text[i])) ++i;
  return i;
}

// Exponent digits, saturated far beyond any double's range.
long SaturatedExponent(std::string_view digits) {
  constexpr long kCap = 100000;
  long value = 0;
  for (char c : digits) {
    value = value * 10 + (c - '0');
    if (value > kCap) return kCap;
  }
  return value;
}

}  // namespace

std::optional<double> ParseFloat(std::string_view text, std::string_view decimal_separator) {
  const std::string_view separator = SeparatorOrDot(decimal_separator);
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }

  const std::size_t int_begin = i;
  i = SkipDigits(text, i);
  const std::string_view int_digits = text.substr(int_begin, i - int_begin);
  bool has_separator = false;
  std::string_view frac_digits;
  if (text.substr(i).starts_with(separator)) {
    has_separator = true;
    i += separator.size();
    const std::size_t frac_begin = i;
    i = SkipDigits(text, i);
    frac_digits = text.substr(frac_begin, i - frac_begin);
  }
  if (int_digits.empty() && !has_separator) return std::nullopt;

  bool exponent_negative = false;
  long exponent = 0;
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
      exponent_negative = text[i] == '-';
      ++i;
    }
    const std::size_t exp_begin = i;
    i = SkipDigits(text, i);
    if (i == exp_begin) return std::nullopt;
    exponent = SaturatedExponent(text.substr(exp_begin, i - exp_begin));
    if (exponent_negative) exponent = -exponent;
  }
  while (i < text.size() && text[i] == ' ') ++i;
  if (i != text.size()) return std::nullopt;

  // The mantissa's first significant digit decides between overflow and underflow.
  const std::string digits = std::string(int_digits) + std::string(frac_digits);
  const std::size_t first_significant = digits.find_first_not_of('0');
  const double zero = negative ? -0.0 : 0.0;
  if (first_significant == std::string::npos) return zero;

  std::string ascii = negative ? "-" : "";
  ascii += std::string(int_digits.empty() ? "0" : int_digits);
  ascii += '.';
  ascii += std::string(frac_digits);
  ascii += 'e';
  ascii += std::to_string(exponent);

  double value = 0;
  const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    const long magnitude =
        static_cast<long>(int_digits.size()) - 1 - static_cast<long>(first_significant) + exponent;
    if (magnitude > 0) return std::nullopt;  // too large for a double
    return zero;
  }
  if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size()) return std::nullopt;
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::string FormatFloat(double value, std::string_view decimal_separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0) return "0";  // also -0

  // d.dddddddddddddde±x: rounded to 15 significant digits, exponent after rounding.
  char buffer[64];
  auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  {
    // Near the largest double, 15 digits round past it and the text would not load again:
    // keep 17 digits there, which always read back.
    double back = 0;
    if (std::from_chars(buffer, result.ptr, back).ec == std::errc::result_out_of_range) {
      result =
          std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 16);
    }
  }
  const std::string_view sci(buffer, static_cast<std::size_t>(result.ptr - buffer));

  const bool negative = sci.front() == '-';
  const std::size_t e_pos = sci.find('e');
  std::string digits;
  for (char c : sci.substr(0, e_pos)) {
    if (IsDigit(c)) digits += c;
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  std::string_view exp_text = sci.substr(e_pos + 1);
  if (exp_text.front() == '+') exp_text.remove_prefix(1);
  int exponent = 0;
  std::from_chars(exp_text.data(), exp_text.data() + exp_text.size(), exponent);

  const std::string_view separator = SeparatorOrDot(decimal_separator);
  std::string out = negative ? "-" : "";
  // Decimal exponent: digits before the separator, or minus the zeros right after it.
  const int decimal_exponent = exponent + 1;
  if (decimal_exponent >= -3 && decimal_exponent <= 15) {
    if (decimal_exponent > 0) {
      const auto int_count = static_cast<std::size_t>(decimal_exponent);
      if (digits.size() <= int_count) {
        out += digits;
        out.append(int_count - digits.size(), '0');
      } else {
        out += digits.substr(0, int_count);
        out += separator;
        out += digits.substr(int_count);
      }
    } else {
      out += '0';
      out += separator;
      out.append(static_cast<std::size_t>(-decimal_exponent), '0');
      out += digits;
    }
    return out;
  }
  out += digits.front();
  if (digits.size() > 1) {
    out += separator;
    out += digits.substr(1);
  }
  out += 'E';
  if (exponent < 0) out += '-';
  out += std::to_string(std::abs(exponent));
  return out;
}

}  // namespace ripplet
