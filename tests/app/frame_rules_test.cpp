// The frame's arithmetic and hide-on-hover's decisions.
#include "app/frame_rules.h"

#include <gtest/gtest.h>

#include "app/hover_hider.h"

namespace ripplet {
namespace {

TEST(Opacity, FollowsTheTableAndClampsHandEditedValues) {
  const std::pair<int, int> table[] = {{0, 255},  {1, 252}, {10, 229}, {25, 191},
                                       {50, 127}, {75, 63}, {90, 25},  {99, 2}};
  for (auto [percent, alpha] : table) EXPECT_EQ(OpacityOf(percent), alpha) << percent;
  EXPECT_EQ(OpacityOf(100), 2) << "never invisible and click-through";
  EXPECT_EQ(OpacityOf(101), 2);
  EXPECT_EQ(OpacityOf(-1), 255) << "never wraps to nearly invisible";
  EXPECT_EQ(OpacityOf(INT32_MIN), 255);
  EXPECT_EQ(OpacityOf(INT32_MAX), 2);
}

TEST(MinimumSize, ScalesWithThePixelDensityTruncated) {
  const struct {
    int ppi, w, h;
  } table[] = {{96, 96, 32},   {100, 100, 33}, {120, 120, 40},
               {125, 125, 41}, {144, 144, 48}, {192, 192, 64}};
  for (auto row : table) {
    const MinimumSize m = MinimumTrackSize(row.ppi);
    EXPECT_EQ(m.Width, row.w) << row.ppi;
    EXPECT_EQ(m.Height, row.h) << row.ppi;
  }
}

TEST(LockedHitTest, OnlyTheSizingFrameIsDisabled) {
  for (long code = 10; code <= 17; ++code) {
    EXPECT_EQ(LockedHitTest(code, true), 0) << code;
    EXPECT_EQ(LockedHitTest(code, false), code) << code;
  }
  for (long code : {-2L, 0L, 1L, 2L, 9L, 18L, 20L}) EXPECT_EQ(LockedHitTest(code, true), code);
}

TEST(Snap, FifteenPixelsSnapSixteenDoNot) {
  const ScreenRect wa{0, 30, 1280, 984};
  EXPECT_EQ(Snap(15, 500, 300, 70, wa).X, 0);
  EXPECT_EQ(Snap(16, 500, 300, 70, wa).X, 16);
  EXPECT_EQ(Snap(-15, 500, 300, 70, wa).X, 0);
  EXPECT_EQ(Snap(500, 45, 300, 70, wa).Y, 30);
  EXPECT_EQ(Snap(500, 46, 300, 70, wa).Y, 46);
  EXPECT_EQ(Snap(1280 - 300 - 15, 500, 300, 70, wa).X, 980) << "flush with the right edge";
  EXPECT_EQ(Snap(1280 - 300 - 16, 500, 300, 70, wa).X, 964);
  EXPECT_EQ(Snap(500, 984 - 70 + 15, 300, 70, wa).Y, 914);
}

TEST(Snap, RightAndBottomWinAndTheOriginIsLeftAlone) {
  const ScreenRect wa{0, 0, 310, 80};
  // A window within 15 pixels of the work area's size near the left edge ends flush right.
  const SnapResult s = Snap(5, 5, 300, 70, wa);
  EXPECT_EQ(s.X, 10);
  EXPECT_EQ(s.Y, 10);
  const ScreenRect elsewhere{100, 100, 1000, 800};
  const SnapResult origin = Snap(0, 0, 300, 70, elsewhere);
  EXPECT_EQ(origin.X, 0);
  EXPECT_EQ(origin.Y, 0);
}

// A change of density on the meter's own monitor: the edges it was docked to stay docked at
// the new size, in both directions; edges that were not docked keep the suggested place.
TEST(KeepDocked, ADockedMeterStaysDockedAsItGrowsAndShrinks) {
  const ScreenRect wa{0, 0, 1280, 984};
  const ScreenRect corner{1280 - 361, 984 - 85, 1280, 984};  // bottom right at 96
  // The system suggests the new size at the old top-left corner.
  const ScreenRect grown = KeepDocked(corner, {919, 899, 919 + 515, 899 + 121}, wa);
  EXPECT_EQ(grown, (ScreenRect{1280 - 515, 984 - 121, 1280, 984}));
  EXPECT_EQ(KeepDocked(grown, {765, 863, 765 + 361, 863 + 85}, wa), corner);
  // Docked left and top: the suggested size, in that corner.
  EXPECT_EQ(KeepDocked({0, 0, 361, 85}, {5, 7, 520, 128}, wa), (ScreenRect{0, 0, 515, 121}));
  // Not docked: the suggestion stands.
  EXPECT_EQ(KeepDocked({100, 100, 461, 185}, {100, 100, 615, 221}, wa),
            (ScreenRect{100, 100, 615, 221}));
  // As wide as the work area: the right edge wins, as in snapping.
  EXPECT_EQ(KeepDocked({0, 500, 1280, 585}, {0, 500, 1300, 621}, wa),
            (ScreenRect{-20, 500, 1280, 621}));
}

TEST(HoverHider, HidesOnTheSecondPassInsideAndComesBackOutside) {
  HoverHider h;
  const ScreenRect bounds{100, 100, 400, 170};
  const auto up = [] { return false; };
  const auto pass = [&](int x, int y, bool visible) {
    return h.Check({true, x, y, visible, bounds}, up);
  };
  EXPECT_EQ(pass(150, 150, true), HoverHider::Action::None) << "the first pass never hides";
  EXPECT_EQ(pass(150, 150, true), HoverHider::Action::Hide);
  EXPECT_EQ(pass(150, 150, false), HoverHider::Action::None);
  EXPECT_EQ(pass(400, 150, false), HoverHider::Action::Show) << "the right edge is outside";
  EXPECT_EQ(pass(150, 170, true), HoverHider::Action::None) << "the bottom edge is outside";
  EXPECT_EQ(pass(100, 100, true), HoverHider::Action::Hide) << "the top-left corner is inside";
}

TEST(HoverHider, ControlKeepsTheWindowAndIsAskedOnlyWhenItMatters) {
  HoverHider h;
  const ScreenRect bounds{0, 0, 100, 50};
  int asked = 0;
  bool down = true;
  const auto control = [&] {
    ++asked;
    return down;
  };
  h.Check({true, 500, 500, true, bounds}, control);
  EXPECT_EQ(asked, 0) << "outside: the key is not read";
  EXPECT_EQ(h.Check({true, 10, 10, true, bounds}, control), HoverHider::Action::None);
  EXPECT_EQ(asked, 1);
  down = false;
  EXPECT_EQ(h.Check({true, 10, 10, true, bounds}, control), HoverHider::Action::Hide);
  down = true;
  EXPECT_EQ(h.Check({true, 10, 10, false, bounds}, control), HoverHider::Action::None)
      << "holding Control does not bring a hidden window back";
  EXPECT_EQ(asked, 2);
}

TEST(HoverHider, AFailedCursorReadChangesNothingAndHiddenBoundsStayAsTheyWere) {
  HoverHider h;
  h.Check({true, 5, 5, true, {0, 0, 100, 50}}, [] { return false; });
  EXPECT_EQ(h.Check({false, 0, 0, true, {200, 200, 300, 250}}, [] { return false; }),
            HoverHider::Action::None);
  EXPECT_EQ(h.LastBounds().Right, 100);
  h.Check({true, 5, 5, true, {0, 0, 100, 50}}, [] { return false; });
  // Hidden: moved bounds are not recorded; the old area decides the re-show.
  EXPECT_EQ(h.Check({true, 150, 5, false, {100, 0, 200, 50}}, [] { return false; }),
            HoverHider::Action::Show);
}

}  // namespace
}  // namespace ripplet
