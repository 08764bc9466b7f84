// Unit texts, the value text of a rate and the graph's y arithmetic over arbitrary
// input: unit text bytes, rates, divisors, decimal counts, heights and ranges.
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "display/format_rate.h"
#include "display/graph_math.h"
#include "display/units.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"

namespace ripplet::fuzz {
namespace {

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// Plain search with ASCII case folding: what ContainsIgnoreCase is for ASCII text.
bool NaiveContains(std::string_view text, std::string_view needle) {
  if (text.empty() || needle.empty() || needle.size() > text.size()) return false;
  for (std::size_t i = 0; i + needle.size() <= text.size(); ++i) {
    bool match = true;
    for (std::size_t j = 0; j < needle.size() && match; ++j) {
      match = FoldAscii(text[i + j]) == FoldAscii(needle[j]);
    }
    if (match) return true;
  }
  return false;
}

void CheckContains(std::string_view text, std::string_view needle, std::uint16_t pick) {
  const bool found = ContainsIgnoreCase(text, needle);
  if (found) FUZZ_CHECK(!needle.empty() && needle.size() <= text.size());
  if (IsAscii(text) && IsAscii(needle)) FUZZ_CHECK(found == NaiveContains(text, needle));
  if (!text.empty()) FUZZ_CHECK(ContainsIgnoreCase(text, text));

  // A piece of the text that starts on a character start is always found.
  std::size_t start = 0;
  for (std::size_t steps = pick % (text.size() + 1); steps > 0 && start < text.size(); --steps) {
    start += IsLeadByte(static_cast<unsigned char>(text[start])) ? 2u : 1u;
  }
  if (start < text.size()) {
    const std::string_view piece = text.substr(start, 1 + pick % 7);
    FUZZ_CHECK(ContainsIgnoreCase(text, piece));
  }
}

void CheckUnit(std::string_view unit) {
  const UnitParams params = ParseUnit(unit);
  const double d = params.Divisor;
  FUZZ_CHECK(d == 1 || d == 1000 || d == 1000000 || d == 0.125 || d == 125 || d == 125000);
  FUZZ_CHECK(params.Letter == 0 || params.Letter == 'k' || params.Letter == 'M');
  FUZZ_CHECK((params.Letter == 'k') == (d == 1000 || d == 125));
  FUZZ_CHECK((params.Letter == 'M') == (d == 1000000 || d == 125000));
  FUZZ_CHECK(UnitDivisor(unit) == d);

  const int decimals = UnitDecimals(unit);
  FUZZ_CHECK(decimals >= 0 && static_cast<std::size_t>(decimals) <= unit.size());
  const std::size_t dot = unit.find('.');
  FUZZ_CHECK(dot != std::string_view::npos || decimals == 0);
  if (dot != std::string_view::npos) {
    const std::string_view zeros = unit.substr(dot + 1, static_cast<std::size_t>(decimals));
    FUZZ_CHECK(zeros.find_first_not_of('0') == std::string_view::npos);
  }
  FUZZ_CHECK(UnitRatio(unit, unit) == 1.0);
}

// The value text: digits, at most one separator, a leading "-" and the letter at the end.
// Returns the number it shows and its count of decimals.
struct Shown {
  double Value;
  int Decimals;
  int Digits;
};

Shown ReadRateText(std::string_view text, char letter, std::string_view separator) {
  if (letter != 0) {
    FUZZ_CHECK(!text.empty() && text.back() == letter);
    text.remove_suffix(1);
  }
  std::string c;
  int decimals = -1;
  int digits = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (text.substr(i).starts_with(separator) && decimals < 0 && i > 0) {
      c += '.';
      decimals = 0;
      i += separator.size();
      continue;
    }
    const char ch = text[i];
    if (ch == '-') {
      FUZZ_CHECK(i == 0);
    } else {
      FUZZ_CHECK(ch >= '0' && ch <= '9');
      ++digits;
      if (decimals >= 0) ++decimals;
    }
    c += ch;
    ++i;
  }
  FUZZ_CHECK(digits > 0);
  FUZZ_CHECK(decimals != 0);  // a separator is followed by digits
  return {std::strtod(c.c_str(), nullptr), decimals < 0 ? 0 : decimals, digits};
}

void CheckFormatRate(std::int64_t rate, const UnitParams& unit, int decimals,
                     std::string_view separator) {
  const std::string text = FormatRate(rate, unit.Divisor, unit.Letter, decimals, separator);
  const Shown shown = ReadRateText(text, unit.Letter, separator);
  FUZZ_CHECK(shown.Decimals <= std::min(std::max(decimals, 0), 18));
  if (text.starts_with('-')) FUZZ_CHECK(shown.Value != 0);  // no "-0.00"

  const double v = static_cast<double>(rate) / unit.Divisor;
  if (rate >= 0 && decimals >= 0 && decimals <= 3) {
    FUZZ_CHECK(shown.Digits <= 6);
    // Below its limit a value keeps every decimal.
    const double limit = decimals > 0 ? 99999.0 / std::pow(10.0, decimals) : 999999.0;
    if (v <= limit) FUZZ_CHECK(shown.Decimals == decimals);
  }
  // The text is v rounded at its last decimal, or 999999 once v is past that.
  const double target = v > 999999.0 ? 999999.0 : v;
  const double tolerance =
      0.5 * std::pow(10.0, -shown.Decimals) * (1 + 1e-12) + std::fabs(target) * 1e-15;
  FUZZ_CHECK(std::fabs(shown.Value - target) <= tolerance);
}

// Any divisor and decimal count, also ones no unit text gives: the text stays sane.
void CheckFormatRateAnyArguments(std::int64_t rate, double divisor, char letter, int decimals,
                                 std::string_view separator) {
  const std::string text = FormatRate(rate, divisor, letter, decimals, separator);
  std::string_view body(text);
  if (letter != 0) {
    FUZZ_CHECK(!body.empty() && body.back() == letter);
    body.remove_suffix(1);
  }
  FUZZ_CHECK(!body.empty());
  for (char c : body) {
    FUZZ_CHECK((c >= '0' && c <= '9') || c == '-' || separator.find(c) != std::string_view::npos);
  }
  FUZZ_CHECK(body.size() <= 1 + 310 + separator.size() + 18);
}

void CheckGraph(FuzzInput& in) {
  const int height = in.Number<std::int32_t>();
  const double middle = in.AnyDouble();
  const double range = in.AnyDouble();
  const double divisor = in.AnyDouble();
  const std::int64_t rate = in.Number<std::int64_t>();
  for (const auto y : {MiddleY(height, middle, range), SeriesY(height, rate, divisor, range)}) {
    if (y) FUZZ_CHECK(*y >= -kGraphYLimit && *y <= kGraphYLimit);
    if (!(range > 0) || !std::isfinite(range)) FUZZ_CHECK(!y);
  }
  const bool is_send = in.Flag();
  const double send_range = in.AnyDouble();
  const double series = SeriesRange(is_send, range, send_range);
  FUZZ_CHECK(series == (is_send && send_range > 0 ? send_range : range) ||
             (std::isnan(series) && std::isnan(range)));

  RateAverager averager;
  const std::int32_t interval = in.Number<std::int8_t>();
  const std::int64_t tick_rate = in.Number<std::int32_t>();
  const std::int32_t ticks = std::max<std::int32_t>(interval, 1);
  for (std::int32_t i = 1; i <= ticks; ++i) {
    const auto average = averager.AddDataTick(tick_rate, -tick_rate, interval);
    FUZZ_CHECK(average.has_value() == (i == ticks));
    if (average) FUZZ_CHECK(average->Recv == tick_rate && average->Send == -tick_rate);
  }
}

}  // namespace
}  // namespace ripplet::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ripplet;
  using namespace ripplet::fuzz;
  FuzzInput in(data, size);
  const auto pick = in.Number<std::uint16_t>();
  const std::string_view separator = in.Flag() ? "," : ".";
  const auto rate = in.Number<std::int64_t>();
  const auto rate32 = static_cast<std::int64_t>(static_cast<std::int32_t>(rate));
  const int decimals = in.Number<std::int8_t>();
  const double divisor = in.AnyDouble();
  const char letter = static_cast<char>(in.Number<std::uint8_t>());
  // Mostly small counts: past 400 the count changes nothing but the time it takes.
  const int any_decimals =
      in.Flag() ? in.Number<std::int32_t>() : static_cast<int>(in.Number<std::int8_t>());
  CheckGraph(in);

  // The front is the unit text, then a second unit text and a needle.
  const std::string_view unit = in.Text(64);
  const std::string_view other = in.Text(64);
  const std::string_view needle = in.Rest();
  CheckUnit(unit);
  CheckUnit(other);
  CheckUnit(needle);
  const double ratio = UnitRatio(unit, other);
  FUZZ_CHECK(ratio > 0 && std::isfinite(ratio));
  FUZZ_CHECK(std::fabs(ratio * UnitRatio(other, unit) - 1.0) < 1e-12);
  CheckContains(unit, needle, pick);
  CheckContains(needle, unit, pick);

  const UnitParams params = ParseUnit(unit);
  for (const int d : {UnitDecimals(unit), decimals}) {
    CheckFormatRate(rate, params, d, separator);
    CheckFormatRate(rate32, params, d, separator);
  }
  for (const auto& listed : kUnitTexts) {
    if (pick % kUnitCount == static_cast<std::size_t>(&listed - kUnitTexts.data())) {
      CheckFormatRate(rate32, ParseUnit(listed), UnitDecimals(listed), separator);
    }
  }
  CheckFormatRateAnyArguments(rate, divisor, letter, any_decimals, separator);
  return 0;
}
