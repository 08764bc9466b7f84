#include "settings/value_forms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace ripplet {
namespace {

TEST(IntegerForm, AcceptsDecimalAndEveryHexPrefix) {
  EXPECT_EQ(ParseInteger("1000"), 1000);
  EXPECT_EQ(ParseInteger("$3E8"), 1000);
  EXPECT_EQ(ParseInteger("0x3e8"), 1000);
  EXPECT_EQ(ParseInteger("0X3E8"), 1000);
  EXPECT_EQ(ParseInteger("x3E8"), 1000);
  EXPECT_EQ(ParseInteger("X3e8"), 1000);
  EXPECT_EQ(ParseInteger("   +42"), 42);
  EXPECT_EQ(ParseInteger("-5"), -5);
  EXPECT_EQ(ParseInteger("007"), 7);
  EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
}

TEST(IntegerForm, HexIsAnyThirtyTwoBitPattern) {
  EXPECT_EQ(ParseInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseInteger("$80000000"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ParseInteger("-$FFFFFFFF"), 1);
  EXPECT_EQ(ParseInteger("-$10"), -16);
  EXPECT_EQ(ParseInteger("$000080FF"), 0x80FF);
}

TEST(IntegerForm, RejectsBrokenText) {
  for (const char* text : {"",      " ",   "-",           "+",          "1000ms",      "1 000",
                           "1000 ", "\t1", "99999999999", "2147483648", "-2147483649", "$",
                           "0x",    "x",   "$123456789",  "$G1",        "--1",         "+-1",
                           "1.0",   "yes", "00x10",       "0x-1",       "$ 1"}) {
    EXPECT_EQ(ParseInteger(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(IntegerForm, FormatsPlainDecimal) {
  EXPECT_EQ(FormatInteger(0), "0");
  EXPECT_EQ(FormatInteger(-5), "-5");
  EXPECT_EQ(FormatInteger(std::numeric_limits<std::int32_t>::min()), "-2147483648");
}

TEST(BooleanForm, NonZeroIsTrueAndBrokenTextGivesTheDefault) {
  EXPECT_TRUE(ParseBoolean("2", false));
  EXPECT_TRUE(ParseBoolean("-1", false));
  EXPECT_TRUE(ParseBoolean("$FFFFFFFF", false));
  EXPECT_FALSE(ParseBoolean("0", true));
  EXPECT_TRUE(ParseBoolean("yes", true));
  EXPECT_FALSE(ParseBoolean("yes", false));
  EXPECT_FALSE(ParseBoolean("", false));
  EXPECT_EQ(FormatBoolean(true), "1");
  EXPECT_EQ(FormatBoolean(false), "0");
}

TEST(FloatForm, ReadsWithTheRegionalSeparator) {
  EXPECT_EQ(ParseFloat("1.5e3", "."), 1500.0);
  EXPECT_EQ(ParseFloat("  -2.25  ", "."), -2.25);
  EXPECT_EQ(ParseFloat("+.5", "."), 0.5);
  EXPECT_EQ(ParseFloat("5.", "."), 5.0);
  EXPECT_EQ(ParseFloat(".", "."), 0.0);
  EXPECT_EQ(ParseFloat("1E-2", "."), 0.01);
  EXPECT_EQ(ParseFloat("2e+2", "."), 200.0);
  EXPECT_EQ(ParseFloat("1,5", ","), 1.5);
  EXPECT_EQ(ParseFloat("1.5", ""), 1.5);  // no regional separator: "."
  // A separator of more than one byte is matched whole.
  EXPECT_EQ(ParseFloat("3::25", "::"), 3.25);
  EXPECT_EQ(ParseFloat("3:25", "::"), std::nullopt);
}

TEST(FloatForm, RejectsBrokenAndOverflowingText) {
  EXPECT_EQ(ParseFloat("1,5", "."), std::nullopt);
  EXPECT_EQ(ParseFloat("1.5", ","), std::nullopt);
  for (const char* text : {"", "  ", "-", "e5", "1e", "1e+", "1.2.3", "1 5", "0x10", "1000k", "inf",
                           "nan", "1e400", "-1e400"}) {
    EXPECT_EQ(ParseFloat(text, "."), std::nullopt) << '"' << text << '"';
  }
  // Exponent digits far beyond any double must not wrap around into range.
  EXPECT_EQ(ParseFloat("1e99999999999999999999", "."), std::nullopt);
}

TEST(FloatForm, TooSmallReadsAsZero) {
  EXPECT_EQ(ParseFloat("1e-400", "."), 0.0);
  EXPECT_EQ(ParseFloat("0.000e999999", "."), 0.0);
  EXPECT_EQ(ParseFloat("1e-99999999999999999999", "."), 0.0);
  // Subnormal values are representable, so they are kept.
  EXPECT_EQ(ParseFloat("4.9e-324", "."), std::numeric_limits<double>::denorm_min());
}

TEST(FloatForm, WritesGeneralFormatWithFifteenDigits) {
  EXPECT_EQ(FormatFloat(1.0 / 3.0, "."), "0.333333333333333");
  EXPECT_EQ(FormatFloat(2.0 / 3.0, "."), "0.666666666666667");
  EXPECT_EQ(FormatFloat(0.125, "."), "0.125");
  EXPECT_EQ(FormatFloat(0.0001, "."), "0.0001");
  EXPECT_EQ(FormatFloat(0.00001, "."), "1E-5");
  EXPECT_EQ(FormatFloat(0.000015, "."), "1.5E-5");
  EXPECT_EQ(FormatFloat(1e16, "."), "1E16");
  EXPECT_EQ(FormatFloat(1e15, "."), "1E15");
  EXPECT_EQ(FormatFloat(999999999999999.0, "."), "999999999999999");
  EXPECT_EQ(FormatFloat(1500.0, "."), "1500");
  EXPECT_EQ(FormatFloat(0.0, "."), "0");
  EXPECT_EQ(FormatFloat(-0.0, "."), "0");
  EXPECT_EQ(FormatFloat(-1.5, "."), "-1.5");
  EXPECT_EQ(FormatFloat(1e-300, "."), "1E-300");
  EXPECT_EQ(FormatFloat(1.5e300, "."), "1.5E300");
  // Rounding to 15 digits can carry into a new decade.
  EXPECT_EQ(FormatFloat(999999999999999.9, "."), "1E15");
  EXPECT_EQ(FormatFloat(0.1 + 0.2, "."), "0.3");
  EXPECT_EQ(FormatFloat(1.5, ","), "1,5");
  EXPECT_EQ(FormatFloat(1.5e-7, ","), "1,5E-7");
}

TEST(FloatForm, NonFiniteValuesGiveTextThatReadsAsBroken) {
  EXPECT_EQ(FormatFloat(std::numeric_limits<double>::quiet_NaN(), "."), "NAN");
  EXPECT_EQ(FormatFloat(std::numeric_limits<double>::infinity(), "."), "INF");
  EXPECT_EQ(FormatFloat(-std::numeric_limits<double>::infinity(), "."), "-INF");
  EXPECT_EQ(ParseFloat("INF", "."), std::nullopt);
}

TEST(FloatForm, WrittenValuesReadBackToFifteenDigits) {
  for (double v : {1000.0, 900.0, 150.0, 0.1, 123456.789, 1e-10, 6.02214076e23, -42.5}) {
    for (const char* sep : {".", ","}) {
      const auto back = ParseFloat(FormatFloat(v, sep), sep);
      ASSERT_TRUE(back.has_value()) << v;
      EXPECT_NEAR(*back, v, std::abs(v) * 1e-14) << v;
    }
  }
}

TEST(FloatForm, TheLargestValuesStillReadBackAfterASave) {
  // Rounded to 15 digits these would pass the largest double and load as the default.
  for (double v : {1.7976931348623157e308, -1.7976931348623157e308, 1.7976931348623e308}) {
    const std::string text = FormatFloat(v, ".");
    const auto back = ParseFloat(text, ".");
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_EQ(*back, v) << text;
  }
  EXPECT_EQ(FormatFloat(1e308, "."), "1E308");
}

TEST(ColourForm, ReadsNamesWithoutCaseAndIntegers) {
  EXPECT_EQ(ParseColour("clBlue"), 0x00FF0000u);
  EXPECT_EQ(ParseColour("clblue"), 0x00FF0000u);
  EXPECT_EQ(ParseColour("CLBTNFACE"), 0xFF00000Fu);
  EXPECT_EQ(ParseColour("clNone"), 0x1FFFFFFFu);
  EXPECT_EQ(ParseColour("$000080FF"), 0x000080FFu);
  EXPECT_EQ(ParseColour("255"), 0x000000FFu);
  EXPECT_EQ(ParseColour("-1"), 0xFFFFFFFFu);
  EXPECT_EQ(ParseColour("Blue"), std::nullopt);
  EXPECT_EQ(ParseColour(""), std::nullopt);
  EXPECT_EQ(ParseColour("clBlue "), std::nullopt);
}

TEST(ColourForm, WritesNameWhenOneFitsElseEightHexDigits) {
  EXPECT_EQ(FormatColour(0x000000FFu), "clRed");
  EXPECT_EQ(FormatColour(0x00FF0000u), "clBlue");
  EXPECT_EQ(FormatColour(0xFF00000Fu), "clBtnFace");
  EXPECT_EQ(FormatColour(0xFF000000u), "clScrollBar");
  EXPECT_EQ(FormatColour(0x20000000u), "clDefault");
  EXPECT_EQ(FormatColour(0x00FF8040u), "$00FF8040");
  EXPECT_EQ(FormatColour(0x000080FFu), "$000080FF");
  EXPECT_EQ(FormatColour(0xFF0000FFu), "$FF0000FF");
}

TEST(ColourForm, EveryNameRoundTrips) {
  // Each name must read as a value that writes back as the same name.
  for (const char* name : {"clBlack",
                           "clMaroon",
                           "clGreen",
                           "clOlive",
                           "clNavy",
                           "clPurple",
                           "clTeal",
                           "clGray",
                           "clSilver",
                           "clRed",
                           "clLime",
                           "clYellow",
                           "clBlue",
                           "clFuchsia",
                           "clAqua",
                           "clWhite",
                           "clMoneyGreen",
                           "clSkyBlue",
                           "clCream",
                           "clMedGray",
                           "clActiveBorder",
                           "clActiveCaption",
                           "clAppWorkSpace",
                           "clBackground",
                           "clBtnFace",
                           "clBtnHighlight",
                           "clBtnShadow",
                           "clBtnText",
                           "clCaptionText",
                           "clDefault",
                           "clGradientActiveCaption",
                           "clGradientInactiveCaption",
                           "clGrayText",
                           "clHighlight",
                           "clHighlightText",
                           "clHotLight",
                           "clInactiveBorder",
                           "clInactiveCaption",
                           "clInactiveCaptionText",
                           "clInfoBk",
                           "clInfoText",
                           "clMenu",
                           "clMenuBar",
                           "clMenuHighlight",
                           "clMenuText",
                           "clNone",
                           "clScrollBar",
                           "cl3DDkShadow",
                           "cl3DLight",
                           "clWindow",
                           "clWindowFrame",
                           "clWindowText"}) {
    const auto value = ParseColour(name);
    ASSERT_TRUE(value.has_value()) << name;
    EXPECT_EQ(FormatColour(*value), name);
  }
}

}  // namespace
}  // namespace ripplet
