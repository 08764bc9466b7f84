// The per-monitor layout's arithmetic: what must come back exactly after a trip to another
// density, and what a window started at that density would have.
#include <gtest/gtest.h>

#include <climits>

#include "app/label_layout.h"
#include "app/per_monitor_layout.h"
#include "settings/settings_io.h"

namespace ripplet {
namespace {

TEST(PerMonitorLayout, ClientSizesComeBackAndTheDesignSizeStaysTheDesigns) {
  // The design size at one text height is the design size at any other, rounded as the
  // design is (at 13: 304 x 13 / 12 = 329.3, 68 x 13 / 12 = 73.7).
  const SizedAt design12 = DesignClientSize(12);
  EXPECT_EQ(design12, (SizedAt{12, 304, 68}));
  EXPECT_EQ(ClientSizeAt(design12, 13), (SizedAt{13, 329, 74}));
  EXPECT_EQ(ClientSizeAt(DesignClientSize(13), 18), DesignClientSize(18));
  EXPECT_EQ(ClientSizeAt(DesignClientSize(15), 12), design12);

  // A size the user gave is scaled and rounded, and is exactly itself at its own height,
  // whichever heights it went through (this one would drift by a pixel if rescaled).
  const SizedAt given{15, 312, 70};
  EXPECT_EQ(ClientSizeAt(given, 12), (SizedAt{12, 250, 56}));
  EXPECT_EQ(ClientSizeAt(given, 18), (SizedAt{18, 374, 84}));
  EXPECT_EQ(ClientSizeAt(given, 15), given);
  EXPECT_NE(ClientSizeAt(ClientSizeAt(given, 12), 15), given) << "why the origin is kept";
}

// A size stored at one density, opened at another: the design there is the design here
// whatever the frames; a size the user gave is scaled; at its own density it is itself.
TEST(PerMonitorLayout, AStoredOuterSizeComesToAnotherDensityAsAMoveBringsIt) {
  const FrameExtent frame96{6, 6};
  const FrameExtent frame144{8, 8};
  const SizedAt d14 = DesignClientSize(14);
  const SizedAt d21 = DesignClientSize(21);
  EXPECT_EQ(OuterSizeAt(d14.Width + 6, d14.Height + 6, frame96, 14, frame144, 21),
            (SizedAt{21, d21.Width + 8, d21.Height + 8}));
  EXPECT_EQ(OuterSizeAt(d21.Width + 8, d21.Height + 8, frame144, 21, frame96, 14),
            (SizedAt{14, d14.Width + 6, d14.Height + 6}));
  // A client of 400 x 100 at text height 14 is 600 x 150 at 21.
  EXPECT_EQ(OuterSizeAt(406, 106, frame96, 14, frame144, 21), (SizedAt{21, 608, 158}));
  EXPECT_EQ(OuterSizeAt(406, 106, frame96, 14, frame96, 14), (SizedAt{14, 406, 106}));
  // Hand-edited extremes do not wrap.
  const SizedAt huge = OuterSizeAt(INT_MAX, INT_MIN, frame96, 14, frame144, 21);
  EXPECT_EQ(huge.Width, INT_MAX);
  EXPECT_LT(huge.Height, 0);
}

TEST(PerMonitorLayout, FontsAndGapsFollowTheDensityAndPointSizesRoundTrip) {
  EXPECT_EQ(FormFontHeight(96), -12);
  EXPECT_EQ(FormFontHeight(120), -15);
  EXPECT_EQ(FormFontHeight(144), -18);

  // 10 points loaded at 96 (-13): -20 at 144, -17 at 120, -13 again at 96; saved as 10.
  const std::int32_t loaded = FontHeightFromSize(10, 96);
  EXPECT_EQ(ValueFontHeightAt(loaded, 96, 144), -20);
  EXPECT_EQ(ValueFontHeightAt(loaded, 96, 120), -17);
  EXPECT_EQ(ValueFontHeightAt(loaded, 96, 96), loaded);
  EXPECT_EQ(FontSizeFromHeight(loaded, 96), 10);
  // A height between two point sizes is kept as it is at its own density.
  EXPECT_EQ(ValueFontHeightAt(-15, 96, 96), -15);
  EXPECT_EQ(ValueFontHeightAt(-15, 96, 144), -22);  // 11 points
  // Captions are two points smaller, at the window's density, and never wrap.
  EXPECT_EQ(CaptionFontHeightAt(loaded, 96, 96), -11);
  EXPECT_EQ(CaptionFontHeightAt(loaded, 96, 144), -16);
  EXPECT_GT(CaptionFontHeightAt(FontHeightFromSize(INT32_MIN, 96), 96, 144), 0);

  // The gaps of the design scale with the text height; the file's extras are added as they are.
  EXPECT_EQ(DesignSpacings(12, {}), (LineSpacings{0, 7, 0, 0}));
  EXPECT_EQ(DesignSpacings(18, {1, -2, 3, 4}), (LineSpacings{1, 9, 3, 4}));
  EXPECT_EQ(DesignSpacings(12, {kLayoutLimit, 0, 0, -kLayoutLimit - 5})[3], -kLayoutLimit);
}

}  // namespace
}  // namespace ripplet
