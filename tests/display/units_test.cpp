#include "display/units.h"

#include <gtest/gtest.h>

#include <string>

namespace ripplet {
namespace {

// Shift-JIS words, spelled out byte by byte.
const std::string kBytesPerSecond = "\x83\x6F\x83\x43\x83\x67/\x95\x62";  // バイト/秒
const std::string kBitsPerSecond = "\x83\x72\x83\x62\x83\x67/\x95\x62";   // ビット/秒

struct UnitRow {
  double Divisor;
  char Letter;
  int Decimals;
};

TEST(UnitTexts, AreTheListInShiftJisAndParseToTheirParameters) {
  const UnitRow rows[kUnitCount] = {
      {1, 0, 0},         {1000, 'k', 0},    {1000, 'k', 1},    {1000, 'k', 2},    {1000, 'k', 3},
      {1000000, 'M', 0}, {1000000, 'M', 1}, {1000000, 'M', 2}, {1000000, 'M', 3}, {0.125, 0, 0},
      {125, 'k', 0},     {125, 'k', 1},     {125, 'k', 2},     {125, 'k', 3},     {125000, 'M', 0},
      {125000, 'M', 1},  {125000, 'M', 2},  {125000, 'M', 3}};
  for (std::size_t i = 0; i < kUnitCount; ++i) {
    SCOPED_TRACE(i);
    const UnitParams p = ParseUnit(kUnitTexts[i]);
    EXPECT_EQ(p.Divisor, rows[i].Divisor);
    EXPECT_EQ(p.Letter, rows[i].Letter);
    EXPECT_EQ(UnitDecimals(kUnitTexts[i]), rows[i].Decimals);
    EXPECT_EQ(UnitRatio(kUnitTexts[i], kUnitTexts[i]), 1.0);
  }
  EXPECT_EQ(kUnitTexts[0], "0 " + kBytesPerSecond);
  EXPECT_EQ(kUnitTexts[3], "0.00k " + kBytesPerSecond);
  EXPECT_EQ(kDefaultUnitText, "0.00k " + kBytesPerSecond);
  EXPECT_EQ(kUnitTexts[9], "0 " + kBitsPerSecond);
  EXPECT_EQ(kUnitTexts[17], "0.000M " + kBitsPerSecond);
}

TEST(ParseUnit, AcceptsTextsOutsideTheList) {
  UnitParams p = ParseUnit("");
  EXPECT_EQ(p.Divisor, 1.0);
  EXPECT_EQ(p.Letter, 0);
  EXPECT_EQ(UnitDecimals(""), 0);

  p = ParseUnit("0.00K " + kBytesPerSecond);  // capital K still means kilo
  EXPECT_EQ(p.Divisor, 1000.0);
  EXPECT_EQ(p.Letter, 'k');
  EXPECT_EQ(UnitDecimals("0.00K " + kBytesPerSecond), 2);

  p = ParseUnit("0.00m " + kBitsPerSecond);  // small m still means mega
  EXPECT_EQ(p.Divisor, 125000.0);
  EXPECT_EQ(p.Letter, 'M');

  p = ParseUnit("Mk");  // kilo is tested first
  EXPECT_EQ(p.Divisor, 1000.0);
  EXPECT_EQ(p.Letter, 'k');

  // The bit word counts wherever it stands.
  EXPECT_EQ(ParseUnit("\x83\x72\x83\x62\x83\x67 M").Divisor, 125000.0);
}

TEST(UnitDecimals, CountsTheZerosAfterTheFirstPoint) {
  EXPECT_EQ(UnitDecimals("1.50"), 0);
  EXPECT_EQ(UnitDecimals(".00"), 2);
  EXPECT_EQ(UnitDecimals("0.0.00"), 1);
  EXPECT_EQ(UnitDecimals("0."), 0);
  EXPECT_EQ(UnitDecimals("0.00000k"), 5);
  EXPECT_EQ(UnitDecimals("k 0.000"), 3);
}

TEST(ContainsIgnoreCase, MatchesAsciiInAnyCase) {
  EXPECT_TRUE(ContainsIgnoreCase("0.00k", "K"));
  EXPECT_TRUE(ContainsIgnoreCase("0.00K", "k"));
  EXPECT_TRUE(ContainsIgnoreCase("abcDEF", "cdE"));
  EXPECT_FALSE(ContainsIgnoreCase("abc", "abcd"));
  EXPECT_FALSE(ContainsIgnoreCase("", "k"));
  EXPECT_FALSE(ContainsIgnoreCase("k", ""));
  EXPECT_FALSE(ContainsIgnoreCase("", ""));
}

TEST(ContainsIgnoreCase, NeverMatchesOnATrailByte) {
  const std::string gi = "\x83\x4D";  // ギ: trail byte 'M'
  const std::string nu = "\x83\x6B";  // ヌ: trail byte 'k'
  EXPECT_FALSE(ContainsIgnoreCase("0.00" + gi, "M"));
  EXPECT_FALSE(ContainsIgnoreCase("0.00" + gi, "m"));
  EXPECT_FALSE(ContainsIgnoreCase("0.00" + nu, "k"));
  EXPECT_FALSE(ContainsIgnoreCase("0.00" + nu, "K"));
  // A real letter after the double-byte character still counts.
  EXPECT_TRUE(ContainsIgnoreCase(gi + "m", "M"));
  EXPECT_TRUE(ContainsIgnoreCase(nu + nu + "K", "k"));

  UnitParams p = ParseUnit("0.00" + gi + " " + kBytesPerSecond);
  EXPECT_EQ(p.Divisor, 1.0);
  EXPECT_EQ(p.Letter, 0);
  p = ParseUnit(nu + gi);
  EXPECT_EQ(p.Divisor, 1.0);
  EXPECT_EQ(p.Letter, 0);
}

TEST(ContainsIgnoreCase, LeavesDoubleByteCharactersAsTheyAre) {
  // ッ (83 62) and ィ (83 42) differ only by ASCII case in their trail byte.
  EXPECT_FALSE(ContainsIgnoreCase("\x83\x42", "\x83\x62"));
  EXPECT_FALSE(ContainsIgnoreCase("\x83\x62", "\x83\x42"));
  EXPECT_TRUE(ContainsIgnoreCase("0k " + kBitsPerSecond, "\x83\x62\x83\x67"));
  EXPECT_FALSE(ContainsIgnoreCase("0k " + kBytesPerSecond, "\x83\x72\x83\x62\x83\x67"));
  // Half-width katakana (A1-DF) are single bytes: the letter after one counts.
  EXPECT_TRUE(ContainsIgnoreCase("\xB6k", "K"));
  // A lead byte at the very end stands alone and is not read past.
  EXPECT_FALSE(ContainsIgnoreCase("a\x83", "k"));
  EXPECT_TRUE(ContainsIgnoreCase("a\x83", "\x83"));
}

TEST(UnitRatio, ConvertsBetweenUnits) {
  EXPECT_DOUBLE_EQ(UnitRatio(kUnitTexts[3], kUnitTexts[7]), 0.001);  // k -> M bytes
  EXPECT_EQ(UnitRatio(kUnitTexts[1], kUnitTexts[10]), 8.0);          // bytes -> bits
  EXPECT_EQ(UnitRatio(kUnitTexts[10], kUnitTexts[1]), 0.125);
  EXPECT_EQ(UnitRatio(kUnitTexts[0], kUnitTexts[17]), 1.0 / 125000.0);
  EXPECT_EQ(UnitRatio("", ""), 1.0);
}

}  // namespace
}  // namespace ripplet
