#include "display/format_rate.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace ripplet {
namespace {

struct Unit {
  double Divisor;
  char Letter;
  int Decimals;
};

constexpr Unit kBytes{1, 0, 0};            // 0 バイト/秒
constexpr Unit kKiloBytes0{1000, 'k', 0};  // 0k バイト/秒
constexpr Unit kKiloBytes2{1000, 'k', 2};  // 0.00k バイト/秒
constexpr Unit kKiloBytes3{1000, 'k', 3};  // 0.000k バイト/秒
constexpr Unit kMegaBytes1{1000000, 'M', 1};
constexpr Unit kBits{0.125, 0, 0};
constexpr Unit kMegaBits3{125000, 'M', 3};

struct Example {
  Unit U;
  std::int64_t Rate;
  const char* Expected;  // with "." as the separator
};

// The value-text examples, each checked with "." and, its point swapped, with ",".
const Example kExamples[] = {
    {kKiloBytes2, 0, "0.00k"},
    {kKiloBytes2, 1234, "1.23k"},
    {kKiloBytes2, 125, "0.13k"},       // 0.125 rounds half away from zero
    {kKiloBytes2, 1005, "1.00k"},      // 1.005 is held just below 1.005
    {kKiloBytes2, 999990, "999.99k"},  // equal to the limit keeps its decimals
    {kKiloBytes2, 999995, "1000.0k"},
    {kKiloBytes2, 9999900, "9999.9k"},
    {kKiloBytes2, 9999901, "10000k"},  // above 9999.9: no decimal left
    {kKiloBytes2, 10000499, "10000k"},
    {kKiloBytes2, 12345678, "12346k"},
    {kKiloBytes2, 999999500, "999999k"},  // saturates, never 1000000
    {kKiloBytes2, 2000000000, "999999k"},
    {kKiloBytes3, 5, "0.005k"},
    {kKiloBytes3, 99999, "99.999k"},
    {kKiloBytes3, 100000, "100.00k"},
    {kKiloBytes0, 1500, "2k"},
    {kKiloBytes0, 2500, "3k"},  // not to even
    {kKiloBytes0, 499, "0k"},
    {kBytes, 999, "999"},
    {kBytes, 1000000, "999999"},
    {kBytes, 123456, "123456"},
    {kBits, 1000, "8000"},
    {kBits, std::numeric_limits<std::int32_t>::max(), "999999"},
    {kMegaBits3, 12500, "0.100M"},
    {kMegaBytes1, 1234567, "1.2M"},
    {kKiloBytes2, -5, "-0.01k"},
    {kKiloBytes2, -4, "0.00k"},  // rounds to zero: no sign
    {kKiloBytes2, -1234, "-1.23k"},
    {kBytes, std::numeric_limits<std::int64_t>::max(), "999999"},
};

std::string WithComma(std::string text) {
  for (char& c : text) {
    if (c == '.') c = ',';
  }
  return text;
}

TEST(FormatRate, ValueTextExamples) {
  for (const Example& e : kExamples) {
    SCOPED_TRACE(e.Rate);
    SCOPED_TRACE(e.Expected);
    EXPECT_EQ(FormatRate(e.Rate, e.U.Divisor, e.U.Letter, e.U.Decimals, "."), e.Expected);
    EXPECT_EQ(FormatRate(e.Rate, e.U.Divisor, e.U.Letter, e.U.Decimals, ","),
              WithComma(e.Expected));
  }
}

TEST(FormatRate, UsesTheSeparatorBytesAsGiven) {
  EXPECT_EQ(FormatRate(1234, 1000, 'k', 2, ""), "123k");
  EXPECT_EQ(FormatRate(1234, 1000, 'k', 2, "::"), "1::23k");
}

TEST(FormatRate, HonoursDecimalCountsBeyondTheList) {
  EXPECT_EQ(FormatRate(500, 1000, 'k', 5, "."), "0.50000k");
  EXPECT_EQ(FormatRate(999990, 1000, 'k', 5, "."), "999.99k");
  // At most 18 digits are written after the separator.
  EXPECT_EQ(FormatRate(0, 1000, 'k', 25, "."), "0." + std::string(18, '0') + "k");
  EXPECT_EQ(FormatRate(0, 1, 0, 18, ","), "0," + std::string(18, '0'));
  // Even there six digits are the most a value shows.
  EXPECT_EQ(FormatRate(1, 1000000, 'M', 12, "."), "0.0000010000M");
  EXPECT_EQ(FormatRate(1, 3, 0, 6, "."), "0.33333");
  EXPECT_EQ(FormatRate(2, 3, 0, 5, "."), "0.66667");
  // A huge count, as from a hand-made unit text, is not a problem.
  EXPECT_EQ(FormatRate(1234, 1000, 'k', 1000000, "."), "1.2340k");
}

TEST(FormatRate, NegativeValuesKeepTheirDecimals) {
  // Rates are never negative in practice; no lower limit applies.
  EXPECT_EQ(FormatRate(-2000000000, 1000, 'k', 2, "."), "-2000000.00k");
  EXPECT_EQ(FormatRate(-5, 1000, 'k', 3, "."), "-0.005k");
}

TEST(FormatRate, StaysSaneForADivisorNoUnitGives) {
  EXPECT_EQ(FormatRate(5, 0.0, 'k', 2, "."), "999999k");
  EXPECT_EQ(FormatRate(0, 0.0, 'k', 2, "."), "0.00k");
  EXPECT_EQ(FormatRate(-5, 0.0, 0, 0, "."), "-999999");
}

}  // namespace
}  // namespace ripplet
