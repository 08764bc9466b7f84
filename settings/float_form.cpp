// The float text form: general format with 15 significant digits and the regional
// decimal separator. Digits come from std::to_chars / std::from_chars, which are
// exact and ignore the C locale; only the separator is ours to apply.
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>
#include <type_traits>

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

namespace {

// A text read by the float rule: the ASCII form that std::from_chars takes, and what decides
// between overflow and underflow when the value lies outside a double's range.
struct FloatText {
  std::string Ascii;
  bool Negative = false;
  bool AllZero = false;  // no significant digit: zero of the given sign
  long Magnitude = 0;    // decimal exponent of the first significant digit
};

std::optional<FloatText> ReadFloatText(std::string_view text, std::string_view decimal_separator) {
  const std::string_view separator = SeparatorOrDot(decimal_separator);
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  FloatText read;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    read.Negative = text[i] == '-';
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

  const std::string digits = std::string(int_digits) + std::string(frac_digits);
  const std::size_t first_significant = digits.find_first_not_of('0');
  read.AllZero = first_significant == std::string::npos;
  if (!read.AllZero) {
    read.Magnitude =
        static_cast<long>(int_digits.size()) - 1 - static_cast<long>(first_significant) + exponent;
  }

  std::string& ascii = read.Ascii;
  if (read.Negative) ascii += '-';
  ascii.append(int_digits.empty() ? std::string_view("0") : int_digits);
  ascii += '.';
  ascii.append(frac_digits);
  ascii += 'e';
  ascii.append(std::to_string(exponent));
  return read;
}

// The value of a text that reads as a double, in `Float`: a double's range decides what is a
// number, so both widths accept exactly the same texts.
template <class Float>
std::optional<Float> ParseFloatAs(std::string_view text, std::string_view decimal_separator) {
  const std::optional<FloatText> read = ReadFloatText(text, decimal_separator);
  if (!read) return std::nullopt;
  const Float zero = read->Negative ? -0.0 : 0.0;
  if (read->AllZero) return zero;

  const char* const begin = read->Ascii.data();
  const char* const end = begin + read->Ascii.size();
  double value = 0;
  const auto result = std::from_chars(begin, end, value);
  if (result.ec == std::errc::result_out_of_range) {
    if (read->Magnitude > 0) return std::nullopt;  // too large for a double
    return zero;
  }
  if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
  if (!std::isfinite(value)) return std::nullopt;
  if constexpr (std::is_same_v<Float, double>) {
    return value;
  } else {
    // MinGW's from_chars reads a long double through a double; strtold keeps all 64 bits.
    // The text is plain ASCII with a "." and the program never leaves the "C" locale.
    return std::strtold(begin, nullptr);
  }
}

}  // namespace

std::optional<double> ParseFloat(std::string_view text, std::string_view decimal_separator) {
  return ParseFloatAs<double>(text, decimal_separator);
}

std::optional<long double> ParseExtendedFloat(std::string_view text,
                                              std::string_view decimal_separator) {
  return ParseFloatAs<long double>(text, decimal_separator);
}

namespace {

template <class Float>
std::string FormatFloatAs(Float value, std::string_view decimal_separator) {
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

}  // namespace

std::string FormatFloat(double value, std::string_view decimal_separator) {
  return FormatFloatAs(value, decimal_separator);
}

std::string FormatFloat(long double value, std::string_view decimal_separator) {
  return FormatFloatAs(value, decimal_separator);
}

}  // namespace ripplet
