// The settings file's value forms over arbitrary text: integer, boolean, float (with
// both decimal separators), colour, and the custom-colour lines.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/colour_names.h"
#include "settings/custom_colours.h"
#include "settings/value_forms.h"
#include "tests/fuzz/float_oracle.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"

namespace ripplet::fuzz {
namespace {

bool SameBits(const std::optional<double>& a, const std::optional<double>& b) {
  if (a.has_value() != b.has_value()) return false;
  return !a || (*a == *b && std::signbit(*a) == std::signbit(*b));
}

bool AllOf(std::string_view text, int (*test)(int)) {
  for (char c : text) {
    if (!test(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// The value an accepted integer text must have, read by the C library from the parts
// that the rule names: blanks, sign, prefix, digits.
std::int32_t ExpectedInteger(std::string_view text) {
  std::size_t i = text.find_first_not_of(' ');
  FUZZ_CHECK(i != std::string_view::npos);
  const bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  std::string_view rest = text.substr(i);
  bool hex = false;
  if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
    hex = true;
    rest.remove_prefix(1);
  } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
    hex = true;
    rest.remove_prefix(2);
  }
  const std::string digits(rest);
  if (hex) {
    FUZZ_CHECK(!digits.empty() && digits.size() <= 8 && AllOf(digits, std::isxdigit));
    const auto pattern = static_cast<std::uint32_t>(std::strtoul(digits.c_str(), nullptr, 16));
    return static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
  }
  FUZZ_CHECK(!digits.empty() && AllOf(digits, std::isdigit));
  const long long magnitude = std::strtoll(digits.c_str(), nullptr, 10);
  const long long value = negative ? -magnitude : magnitude;
  FUZZ_CHECK(value >= INT32_MIN && value <= INT32_MAX);
  return static_cast<std::int32_t>(value);
}

void CheckInteger(std::string_view text) {
  const auto value = ParseInteger(text);
  FUZZ_CHECK(ParseInteger(" " + std::string(text)) == value);
  for (bool fallback : {false, true}) {
    FUZZ_CHECK(ParseBoolean(text, fallback) == (value ? *value != 0 : fallback));
  }
  if (!value) return;
  FUZZ_CHECK(*value == ExpectedInteger(text));
  FUZZ_CHECK(!ParseInteger(std::string(text) + " "));  // nothing may follow
  FUZZ_CHECK(ParseInteger(FormatInteger(*value)) == value);
}

void CheckFormattedInteger(std::int32_t value, std::uint32_t pattern) {
  FUZZ_CHECK(ParseInteger(FormatInteger(value)) == value);
  const auto as_int = static_cast<std::int32_t>(pattern);
  FUZZ_CHECK(ParseInteger("$" + HexDigits(pattern, 8)) == as_int);
  FUZZ_CHECK(ParseInteger("0x" + HexDigits(pattern, 1)) == as_int);
  FUZZ_CHECK(ParseInteger("-$" + HexDigits(pattern, 1)) == static_cast<std::int32_t>(0u - pattern));
}

// A text that ParseFloat accepted, read by strtod: a "0" after the sign makes a lone
// separator a number, and the separator becomes the C locale's ".".
double StrtodReading(std::string_view text, std::string_view separator) {
  std::string c(text);
  std::size_t i = c.find_first_not_of(' ');
  if (i != std::string::npos && (c[i] == '-' || c[i] == '+')) ++i;
  c.insert(i == std::string::npos ? c.size() : i, "0");
  if (separator != ".") {
    const std::size_t at = c.find(separator);
    if (at != std::string::npos) c.replace(at, separator.size(), ".");
  }
  char* end = nullptr;
  const double value = std::strtod(c.c_str(), &end);
  FUZZ_CHECK(std::string_view(end).find_first_not_of(' ') == std::string_view::npos);
  return value;
}

// FormatFloat writes the value rounded to 15 significant digits, so that is what reads
// back; that text is then a fixed point. A value within 5e292 of the largest double
// rounds past it, and its text then no longer reads (reported; tolerated unless strict).
void CheckFloatRoundTrip(double value, std::string_view separator) {
  const std::string text = FormatFloat(value, separator);
  for (char c : text) {
    FUZZ_CHECK((c >= '0' && c <= '9') || c == '-' || c == 'E' ||
               separator.find(c) != std::string_view::npos);
  }
  const auto reread = ParseFloat(text, separator);
  const double expected = RoundTo15Digits(value);
  if (!std::isfinite(expected)) {
    // 15 digits would pass the largest double: the value is written with 17 and reads back.
    FUZZ_CHECK(reread && *reread == value);
    return;
  }
  FUZZ_CHECK(reread && *reread == expected);
  FUZZ_CHECK(FormatFloat(*reread, separator) == text);
}

void CheckFloat(std::string_view text, std::string_view separator) {
  const auto value = ParseFloat(text, separator);
  FUZZ_CHECK(SameBits(ParseFloat(" " + std::string(text), separator), value));
  FUZZ_CHECK(SameBits(ParseFloat(std::string(text) + " ", separator), value));
  if (!value) return;
  FUZZ_CHECK(std::isfinite(*value));
  const double reference = StrtodReading(text, separator);
  FUZZ_CHECK(std::isfinite(reference));  // an overflow must have been refused
  FUZZ_CHECK(SameBits(value, reference));
  CheckFloatRoundTrip(*value, separator);
}

void CheckSpecialFloats(double value) {
  // A region that gives no separator means ".".
  FUZZ_CHECK(FormatFloat(value, "") == FormatFloat(value, "."));
  if (std::isfinite(value)) {
    CheckFloatRoundTrip(value, ".");
    CheckFloatRoundTrip(value, ",");
    return;
  }
  const std::string text = FormatFloat(value, ".");
  FUZZ_CHECK(text == (std::isnan(value) ? "NAN" : value > 0 ? "INF" : "-INF"));
  FUZZ_CHECK(!ParseFloat(text, "."));
}

void CheckColour(std::string_view text, std::uint32_t colour) {
  const auto parsed = ParseColour(text);
  if (!ColourOfName(text)) {
    const auto number = ParseInteger(text);
    FUZZ_CHECK(parsed.has_value() == number.has_value());
    FUZZ_CHECK(!parsed || *parsed == static_cast<std::uint32_t>(*number));
  }
  if (parsed) FUZZ_CHECK(ParseColour(FormatColour(*parsed)) == parsed);

  const std::string written = FormatColour(colour);
  if (const auto name = NameOfColour(colour)) {
    FUZZ_CHECK(written == *name);
  } else {
    FUZZ_CHECK(written.size() == 9 && written[0] == '$');
    for (char c : std::string_view(written).substr(1)) {
      FUZZ_CHECK(std::isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F'));
    }
  }
  FUZZ_CHECK(ParseColour(written) == colour);
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    lines.emplace_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return lines;
    start = end + 1;
  }
}

void CheckCustomColours(std::vector<std::string> lines, const CustomColourArray& colours) {
  for (const std::string& line : lines) {
    const auto name = LineName(line);
    FUZZ_CHECK(name.has_value() == (line.find('=') != std::string::npos));
    if (name) FUZZ_CHECK(line.starts_with(*name) && line[name->size()] == '=');
  }

  const CustomColourRead read = ReadCustomColours(lines);
  if (read.BadValue) {
    FUZZ_CHECK(read.BadValue->starts_with('$') && !ParseInteger(*read.BadValue));
  } else {
    for (std::size_t i = 0; i < read.Colours.size(); ++i) {
      const auto value = FindLineValue(lines, CustomColourKey(i));
      if (!value || value->empty()) {
        FUZZ_CHECK(read.Colours[i] == kUnsetCustomColour);
      } else {
        const auto number = ParseInteger("$" + std::string(*value));
        FUZZ_CHECK(number && static_cast<std::uint32_t>(*number) == read.Colours[i]);
      }
    }
  }

  // Writing replaces or appends each key's line; what was written reads back, and a
  // second write changes nothing. Without a named line the write only appends.
  if (std::none_of(lines.begin(), lines.end(),
                   [](const std::string& line) { return LineName(line).has_value(); })) {
    return;
  }
  const std::size_t before = lines.size();
  WriteCustomColours(lines, colours);
  FUZZ_CHECK(lines.size() >= before && lines.size() <= before + colours.size());
  const CustomColourRead reread = ReadCustomColours(lines);
  FUZZ_CHECK(!reread.BadValue && reread.Colours == colours);
  const std::vector<std::string> written = lines;
  WriteCustomColours(lines, colours);
  FUZZ_CHECK(lines == written);
}

}  // namespace
}  // namespace ripplet::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ripplet;
  using namespace ripplet::fuzz;
  // The whole input is the text; the same bytes, read from the end, give the numbers.
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  FuzzInput in(data, size);
  const auto pattern = in.Number<std::uint32_t>();
  const auto integer = in.Number<std::int32_t>();
  const double any_double = in.AnyDouble();
  CustomColourArray colours{};
  for (auto& colour : colours) colour = in.Number<std::uint32_t>();

  CheckInteger(text);
  CheckFormattedInteger(integer, pattern);
  CheckFloat(text, ".");
  CheckFloat(text, ",");
  FUZZ_CHECK(SameBits(ParseFloat(text, ""), ParseFloat(text, ".")));
  CheckSpecialFloats(any_double);
  CheckColour(text, pattern);
  CheckCustomColours(SplitLines(text), colours);
  return 0;
}
