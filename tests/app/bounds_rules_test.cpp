// Saved bounds that lie off every screen come back inside the nearest work area.
#include "app/bounds_rules.h"

#include <gtest/gtest.h>

#include <climits>

namespace ripplet {
namespace {

const ScreenRect kPrimary{0, 0, 1280, 984};       // taskbar along the bottom
const ScreenRect kSecond{1280, 100, 2560, 1124};  // to the right, lower

TEST(FitIntoWorkAreas, OffEveryScreenMovesIntoTheNearestKeepingTheSize) {
  // Left=5000, Top=4000 from a monitor that is gone: below and right of the primary.
  EXPECT_EQ(FitIntoWorkAreas({5000, 4000, 335, 80}, {kPrimary}),
            (WindowBounds{1280 - 335, 984 - 80, 335, 80}));
  // Above and left of everything: the top-left corner of the primary.
  EXPECT_EQ(FitIntoWorkAreas({-900, -500, 335, 80}, {kPrimary}), (WindowBounds{0, 0, 335, 80}));
  // Beside the primary's right edge but in range of it vertically: only x moves.
  EXPECT_EQ(FitIntoWorkAreas({1300, 300, 335, 80}, {kPrimary}),
            (WindowBounds{1280 - 335, 300, 335, 80}));
  // With a second monitor, far to the right is nearest to the second one's work area.
  EXPECT_EQ(FitIntoWorkAreas({5000, 40, 335, 80}, {kPrimary, kSecond}),
            (WindowBounds{2560 - 335, 100, 335, 80}));
  // A window larger than the work area keeps its top-left corner on it.
  EXPECT_EQ(FitIntoWorkAreas({3000, 3000, 2000, 1500}, {kPrimary}),
            (WindowBounds{0, 0, 2000, 1500}));
}

TEST(FitIntoWorkAreas, PartlyVisibleOrWithoutWorkAreasStaysWhereItIs) {
  // One pixel column on screen is enough to reach it.
  EXPECT_EQ(FitIntoWorkAreas({1279, 500, 335, 80}, {kPrimary}), (WindowBounds{1279, 500, 335, 80}));
  EXPECT_EQ(FitIntoWorkAreas({-334, -79, 335, 80}, {kPrimary}), (WindowBounds{-334, -79, 335, 80}));
  // On the second monitor's work area (also in the first one's taskbar gap below 984).
  EXPECT_EQ(FitIntoWorkAreas({1500, 1000, 335, 80}, {kPrimary, kSecond}),
            (WindowBounds{1500, 1000, 335, 80}));
  // Exactly touching an edge from outside is not visible.
  EXPECT_EQ(FitIntoWorkAreas({1280, 500, 335, 80}, {kPrimary}),
            (WindowBounds{1280 - 335, 500, 335, 80}));
  EXPECT_EQ(FitIntoWorkAreas({5000, 4000, 335, 80}, {}), (WindowBounds{5000, 4000, 335, 80}));
}

TEST(FitIntoWorkAreas, HandEditedExtremesNeitherOverflowNorEscape) {
  for (const int left : {INT_MIN, INT_MAX}) {
    for (const int size : {INT_MIN, -1, 0, INT_MAX}) {
      const WindowBounds fitted = FitIntoWorkAreas({left, left, size, size}, {kPrimary});
      EXPECT_GE(fitted.Left, 0) << left << " " << size;
      EXPECT_LE(fitted.Left, 1280);
      EXPECT_GE(fitted.Top, 0);
      EXPECT_LE(fitted.Top, 984);
      EXPECT_EQ(fitted.Width, size) << "the size is kept";
    }
  }
  // Gaps of about 2^31 and 2^32 each way: the squared distances pass 2^63, and the nearer
  // work area must still win.
  const ScreenRect far_away{INT_MIN, INT_MIN, INT_MIN + 1000, INT_MIN + 1000};
  const ScreenRect near_origin{-1000, -1000, 0, 0};
  EXPECT_EQ(FitIntoWorkAreas({INT_MAX - 100, INT_MAX - 100, 50, 50}, {far_away, near_origin}),
            (WindowBounds{-50, -50, 50, 50}));
}

// A size brought to a new density is moved into its work area, as near as it can be.
TEST(MoveInside, AGrownMeterIsPulledIntoTheWorkAreaKeepingItsSize) {
  EXPECT_EQ(MoveInside({1000, 900, 515, 121, 144}, kPrimary),
            (WindowBounds{1280 - 515, 984 - 121, 515, 121, 144}));
  EXPECT_EQ(MoveInside({100, 100, 515, 121}, kPrimary), (WindowBounds{100, 100, 515, 121}));
  EXPECT_EQ(MoveInside({-50, -10, 515, 121}, kPrimary), (WindowBounds{0, 0, 515, 121}));
  EXPECT_EQ(MoveInside({500, 500, 2000, 1500}, kPrimary), (WindowBounds{0, 0, 2000, 1500}));
  EXPECT_EQ(MoveInside({INT_MAX, INT_MIN, INT_MAX, -5}, kPrimary),
            (WindowBounds{0, 0, INT_MAX, -5}));
}

}  // namespace
}  // namespace ripplet
