// The Options dialog's plain decisions: adapter list, unit choice, range conversion and
// checks, up-down positions.
#include "dialogs/options_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "display/units.h"

namespace ripplet {
namespace {

// ASCII case-insensitive order, standing in for the platform's comparison.
int CompareIgnoringCase(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int ca = std::tolower(static_cast<unsigned char>(a[i]));
    const int cb = std::tolower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca - cb;
  }
  return static_cast<int>(a.size()) - static_cast<int>(b.size());
}

AdapterList List(std::vector<std::string> rows, std::string_view stored) {
  return ListAdapters(std::move(rows), stored, &CompareIgnoringCase);
}

TEST(OptionsAdapterList, SortsWithoutRegardToCaseAndSelectsTheStoredAdapter) {
  const AdapterList list = List({"wlan0", "Loopback", "eth1", "ETH0"}, "eth0");
  EXPECT_EQ(list.Entries, (std::vector<std::string>{"ETH0", "eth1", "Loopback", "wlan0"}));
  ASSERT_TRUE(list.Selected);
  EXPECT_EQ(*list.Selected, 0u);  // equal without regard to case
}

TEST(OptionsAdapterList, AbsentStoredAdapterIsAppendedAfterTheSortedOnesAndSelected) {
  const AdapterList list = List({"wlan0", "eth0"}, "Old USB adapter");
  EXPECT_EQ(list.Entries, (std::vector<std::string>{"eth0", "wlan0", "Old USB adapter"}));
  EXPECT_EQ(list.Selected, std::optional<std::size_t>(2));

  const AdapterList none = List({}, "eth0");
  EXPECT_EQ(none.Entries, (std::vector<std::string>{"eth0"}));
  EXPECT_EQ(none.Selected, std::optional<std::size_t>(0));
}

TEST(OptionsAdapterList, DuplicatesAllShowAndTheFirstIsSelected) {
  const AdapterList list = List({"b", "Same", "a", "same"}, "SAME");
  EXPECT_EQ(list.Entries, (std::vector<std::string>{"a", "b", "Same", "same"}));
  EXPECT_EQ(list.Selected, std::optional<std::size_t>(2));
}

TEST(OptionsAdapterList, NoStoredAdapterSelectsNothingAndAppendsNothing) {
  const AdapterList list = List({"eth0"}, "");
  EXPECT_EQ(list.Entries.size(), 1u);
  EXPECT_FALSE(list.Selected);
}

TEST(OptionsUnit, ListedUnitIsSelectedWithoutRegardToCase) {
  const UnitChoice exact = ChooseUnit(kUnitTexts[7]);
  EXPECT_EQ(exact.Selected, std::optional<std::size_t>(7));
  EXPECT_EQ(exact.Remembered, kUnitTexts[7]);

  // "0.00K バイト/秒": the listed text becomes the remembered unit.
  const UnitChoice upper = ChooseUnit("0.00K \x83\x6F\x83\x43\x83\x67/\x95\x62");
  EXPECT_EQ(upper.Selected, std::optional<std::size_t>(3));
  EXPECT_EQ(upper.Remembered, kUnitTexts[3]);
}

TEST(OptionsUnit, TextOutsideTheListSelectsNothingButStaysTheRememberedAndStoredUnit) {
  const std::string stored = "0.0M bytes/s";
  const UnitChoice choice = ChooseUnit(stored);
  EXPECT_FALSE(choice.Selected);
  EXPECT_EQ(choice.Remembered, stored);
  EXPECT_EQ(UnitToStore(std::nullopt, choice.Remembered), stored);
  EXPECT_EQ(UnitToStore(std::size_t{10}, choice.Remembered), kUnitTexts[10]);
  // Picking a listed unit converts from the unit the ranges are really in (M).
  EXPECT_DOUBLE_EQ(UnitRatio(choice.Remembered, kUnitTexts[3]), 1000.0);
}

TEST(OptionsRanges, ConvertThereAndBackInTheFloatForm) {
  const RangeTexts k = {"1000", "900", "150"};
  const RangeConversion to_m = ConvertRanges(k, UnitRatio(kUnitTexts[3], kUnitTexts[7]), ".");
  EXPECT_FALSE(to_m.BadIndex);
  EXPECT_EQ(to_m.Texts, (RangeTexts{"1", "0.9", "0.15"}));
  const RangeConversion back =
      ConvertRanges(to_m.Texts, UnitRatio(kUnitTexts[7], kUnitTexts[3]), ".");
  EXPECT_EQ(back.Texts, k);

  const RangeConversion bits =
      ConvertRanges({"1000", "1,5", "-2"}, UnitRatio(kUnitTexts[1], kUnitTexts[10]), ",");
  EXPECT_EQ(bits.Texts, (RangeTexts{"8000", "12", "-16"}));

  // Read and multiplied with a 64-bit mantissa: in doubles the last digit comes out 9.
  const RangeConversion exact = ConvertRanges({"67.3810740475273", "1E308", "1.5E-5"},
                                              UnitRatio(kUnitTexts[0], kUnitTexts[11]), ".");
  EXPECT_EQ(exact.Texts, (RangeTexts{"0.539048592380218", "8E305", "1.2E-7"}));
}

TEST(OptionsRanges, TextThatIsNotANumberLeavesAllThreeAsTheyWere) {
  const RangeTexts texts = {"1000", "900", "abc"};
  const RangeConversion result = ConvertRanges(texts, 0.001, ".");
  EXPECT_EQ(result.BadIndex, std::optional<std::size_t>(2));
  EXPECT_EQ(result.Texts, texts);
}

TEST(OptionsCheck, AdapterComesFirstThenTheRangesInOrder) {
  EXPECT_EQ(CheckOptionInput(false, {"", "x", "y"}, ".").Problem, OptionsProblem::NoAdapter);

  const OptionsCheck empty = CheckOptionInput(true, {"", "x", "1"}, ".");
  EXPECT_EQ(empty.Problem, OptionsProblem::BadNumber);
  EXPECT_EQ(empty.BadIndex, 0u);

  const OptionsCheck middle = CheckOptionInput(true, {"1", "abc", "x"}, ".");
  EXPECT_EQ(middle.Problem, OptionsProblem::BadNumber);
  EXPECT_EQ(middle.BadIndex, 1u);

  // The regional separator decides: "1.5" is no number where it is ",".
  EXPECT_EQ(CheckOptionInput(true, {"1", "2", "1.5"}, ",").BadIndex, 2u);
}

TEST(OptionsCheck, AnyNumberIsAcceptedWithoutRangeOrOrder) {
  const OptionsCheck check = CheckOptionInput(true, {"1e3", "5000", "-1"}, ".");
  EXPECT_EQ(check.Problem, OptionsProblem::None);
  EXPECT_EQ(check.Ranges, (std::array<double, 3>{1000.0, 5000.0, -1.0}));
  EXPECT_EQ(CheckOptionInput(true, {"0", " 0.5 ", "."}, ".").Ranges,
            (std::array<double, 3>{0.0, 0.5, 0.0}));
}

TEST(OptionsUpDown, StoredValueOutsideTheRangeStartsAtItsNearestEnd) {
  EXPECT_EQ(UpDownStartPosition(70000, kIntervalRange), 30000);  // not its low 16 bits (4464)
  EXPECT_EQ(UpDownStartPosition(-5, kIntervalRange), 10);
  EXPECT_EQ(UpDownStartPosition(150, kAlphaBlendRange), 99);
  EXPECT_EQ(UpDownStartPosition(-1, kAlphaBlendRange), 0);
  EXPECT_EQ(UpDownStartPosition(0, kValueIntervalRange), 1);
  EXPECT_EQ(UpDownStartPosition(2000, kIntervalRange), 2000);
}

TEST(OptionsUpDown, OnlyAWholeNumberWithinTheRangeIsTaken) {
  EXPECT_EQ(ParseUpDownText(L"2000", kIntervalRange), 2000);
  EXPECT_EQ(ParseUpDownText(L"10", kIntervalRange), 10);
  EXPECT_EQ(ParseUpDownText(L"30000", kIntervalRange), 30000);
  EXPECT_EQ(ParseUpDownText(L"+20", kIntervalRange), 20);
  EXPECT_EQ(ParseUpDownText(L"0", kAlphaBlendRange), 0);
  for (const wchar_t* text : {L"5", L"30001", L"1,000", L"1 000", L" 20", L"20 ", L"", L"-", L"abc",
                              L"99999999999999999999", L"2e3", L"-20"}) {
    EXPECT_FALSE(ParseUpDownText(text, kIntervalRange)) << std::wstring(text).size();
  }
  EXPECT_FALSE(ParseUpDownText(L"100", kAlphaBlendRange));
  EXPECT_FALSE(ParseUpDownText(L"0", kValueIntervalRange));
}

}  // namespace
}  // namespace ripplet
