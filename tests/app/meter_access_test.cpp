// The accessible tree's plain rules: what lies under a point and which parts moved.
#include "app/meter_access.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ripplet {
namespace {

// The designed window: graph 4,4 241x60; values right-aligned at 301, 13 high.
MainLayout Designed() {
  MainLayout l;
  l.Graph = {4, 4, 241, 60};
  l.Recv = {272, 17, 29, 13};
  l.Send = {280, 48, 21, 13};
  return l;
}

TEST(MeterAccess, APointFindsTheShownPartPaintedTopmostAndNothingElse) {
  MainLayout l = Designed();
  EXPECT_EQ(MeterPartAt(ViewOf(l), 4, 4), kMeterGraph);
  EXPECT_EQ(MeterPartAt(ViewOf(l), 244, 63), kMeterGraph);
  EXPECT_EQ(MeterPartAt(ViewOf(l), 245, 30), kMeterSelf);  // right and bottom edges are out
  EXPECT_EQ(MeterPartAt(ViewOf(l), 272, 17), kMeterRecv);
  EXPECT_EQ(MeterPartAt(ViewOf(l), 300, 60), kMeterSend);
  EXPECT_EQ(MeterPartAt(ViewOf(l), 271, 20), kMeterSelf);  // beside the text: the pane
  EXPECT_EQ(MeterPartAt(ViewOf(l), 290, 40), kMeterSelf);  // where a caption is drawn

  // A negative line spacing lays the send value over the receive value: send is drawn last.
  l.Send.Top = 20;
  EXPECT_EQ(MeterPartAt(ViewOf(l), 290, 25), kMeterSend);

  // Parts that are not drawn are not found.
  l.ValuesVisible = false;
  l.GraphVisible = false;
  EXPECT_EQ(MeterPartAt(ViewOf(l), 290, 25), kMeterSelf);
  EXPECT_EQ(MeterPartAt(ViewOf(l), 10, 10), kMeterSelf);
}

// What a reader is told between two layouts: shown and hidden parts, and places changed of
// parts that stay shown; a part nobody sees tells nothing.
TEST(MeterAccess, ChangesAreShowHideOrMoveAndNoneForWhatNobodySees) {
  using C = PartChange;
  const MainLayout before = Designed();
  MainLayout after = before;
  EXPECT_EQ(ChangesOf(ViewOf(before), ViewOf(after)), (PartChanges{C::kNone, C::kNone, C::kNone}));
  after.Recv.Left -= 6;  // a wider text
  after.Recv.Width += 6;
  EXPECT_EQ(ChangesOf(ViewOf(before), ViewOf(after)), (PartChanges{C::kNone, C::kMoved, C::kNone}));
  // Values hidden, the graph wider: the values go, the graph moves.
  after.ValuesVisible = false;
  after.Graph.Width = 290;
  EXPECT_EQ(ChangesOf(ViewOf(before), ViewOf(after)),
            (PartChanges{C::kMoved, C::kHidden, C::kHidden}));
  // While hidden they may move: nobody hears of it. Shown again, they appear.
  MainLayout later = after;
  later.Send.Top += 5;
  EXPECT_EQ(ChangesOf(ViewOf(after), ViewOf(later)), (PartChanges{C::kNone, C::kNone, C::kNone}));
  later.ValuesVisible = true;
  EXPECT_EQ(ChangesOf(ViewOf(after), ViewOf(later)), (PartChanges{C::kNone, C::kShown, C::kShown}));
  // The captions are no parts of the tree: hiding them (the compact layout) changes nothing.
  after = before;
  after.CaptionsVisible = false;
  EXPECT_EQ(ChangesOf(ViewOf(before), ViewOf(after)), (PartChanges{C::kNone, C::kNone, C::kNone}));
}

// Every unit of the list is spoken as what it means, bytes or bits with their prefix, and
// never as its number pattern; the client names both rates with it.
TEST(MeterAccess, TheUnitIsGivenInWordsAndTheSummaryHoldsBothRates) {
  std::vector<std::wstring> words;
  for (std::string_view unit : kUnitTexts) words.emplace_back(UnitInWords(ParseUnit(unit)));
  const std::vector<std::wstring> expected = {
      L"バイト毎秒",     L"キロバイト毎秒", L"キロバイト毎秒", L"キロバイト毎秒", L"キロバイト毎秒",
      L"メガバイト毎秒", L"メガバイト毎秒", L"メガバイト毎秒", L"メガバイト毎秒", L"ビット毎秒",
      L"キロビット毎秒", L"キロビット毎秒", L"キロビット毎秒", L"キロビット毎秒", L"メガビット毎秒",
      L"メガビット毎秒", L"メガビット毎秒", L"メガビット毎秒"};
  EXPECT_EQ(words, expected);
  for (const std::wstring& w : words) {
    EXPECT_EQ(w.find_first_of(L"0123456789.kM"), std::wstring::npos) << "a number pattern";
  }
  // A text outside the list (hand-edited) is spoken by what the meter makes of it.
  EXPECT_EQ(UnitInWords(ParseUnit("")), L"バイト毎秒");
  EXPECT_EQ(UnitInWords(ParseUnit("0.00m \x83\x72\x83\x62\x83\x67/\x95\x62")), L"メガビット毎秒");

  EXPECT_EQ(MeterSummary(L"1.23k", L"-", L"キロバイト毎秒"),
            L"受信: 1.23k、送信: -、キロバイト毎秒");
}

}  // namespace
}  // namespace ripplet
