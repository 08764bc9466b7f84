#include "settings/value_forms.h"

#include <charconv>

#include "settings/colour_names.h"

namespace ripplet {
namespace {

int HexDigitValue(char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text) noexcept {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i >= text.size()) return std::nullopt;

  bool hex = false;
  if (text[i] == '$' || text[i] == 'x' || text[i] == 'X') {
    hex = true;
    i += 1;
  } else if (text[i] == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }

  const std::string_view digits = text.substr(i);
  if (digits.empty()) return std::nullopt;

  if (hex) {
    if (digits.size() > 8) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : digits) {
      const int d = HexDigitValue(c);
      if (d < 0) return std::nullopt;
      value = (value << 4) | static_cast<std::uint32_t>(d);
    }
    // Hex gives any 32-bit pattern; negation wraps like the pattern it is.
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
  }

  constexpr std::int64_t kLimit = 2147483648;  // magnitude of the most negative int32
  std::int64_t magnitude = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > kLimit) return std::nullopt;
  }
  if (negative) return static_cast<std::int32_t>(-magnitude);
  if (magnitude == kLimit) return std::nullopt;
  return static_cast<std::int32_t>(magnitude);
}

std::string FormatInteger(std::int32_t value) {
  char buffer[16];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return {buffer, result.ptr};
}

bool ParseBoolean(std::string_view text, bool default_value) noexcept {
  const auto value = ParseInteger(text);
  return value ? *value != 0 : default_value;
}

std::string FormatBoolean(bool value) { return value ? "1" : "0"; }

std::optional<std::uint32_t> ParseColour(std::string_view text) noexcept {
  if (const auto named = ColourOfName(text)) return named;
  if (const auto number = ParseInteger(text)) return static_cast<std::uint32_t>(*number);
  return std::nullopt;
}

std::string HexDigits(std::uint32_t value, int min_digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string digits;
  do {
    digits.insert(digits.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (static_cast<int>(digits.size()) < min_digits) {
    digits.insert(0, static_cast<std::size_t>(min_digits) - digits.size(), '0');
  }
  return digits;
}

std::string FormatColour(std::uint32_t colour) {
  if (const auto name = NameOfColour(colour)) return std::string(*name);
  return '$' + HexDigits(colour, 8);
}

}  // namespace ripplet
