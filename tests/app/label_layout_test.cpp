// The label column and the graph's width, from the fonts' measured sizes.
#include "app/label_layout.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>

namespace ripplet {
namespace {

// "MS UI Gothic" at 96 pixels per inch: captions 11 high, values 13, "999999M" 50 wide.
LabelMetrics DefaultFont() {
  LabelMetrics m;
  m.CaptionHeight = 11;
  m.ValueHeight = 13;
  m.Label1Width = m.Label2Width = 24;
  m.RecvWidth = m.SendWidth = 29;
  m.WidestValue = 50;
  return m;
}

constexpr LineSpacings kMeasured{0, 7, 0, 0};

TEST(LabelLayout, DefaultFontAtTheDesignSizeGivesTheDesignedColumn) {
  const DesignLayout d;
  const MainLayout l = LayOutLabels(d, DefaultFont(), kMeasured, true, 304, 68, {});
  EXPECT_EQ(l.Label1.Top, 6);
  EXPECT_EQ(l.Recv.Top, 17);
  EXPECT_EQ(l.Label2.Top, 37);
  EXPECT_EQ(l.Send.Top, 48);
  EXPECT_EQ(l.Send.Bottom(), 61);
  EXPECT_EQ(l.DefaultHeight, 68);
  EXPECT_TRUE(l.CaptionsVisible);
  // Values end 3 pixels from the right edge; captions start W left of that.
  EXPECT_EQ(l.Recv.Right(), 301);
  EXPECT_EQ(l.Label1.Left, 251);
  EXPECT_EQ(l.Label2.Left, 251);
  EXPECT_EQ(l.Graph, (LayoutRect{4, 4, 241, 60}));
  EXPECT_EQ(l.Bevel, (LayoutRect{3, 3, 243, 62}));
  EXPECT_TRUE(l.GraphVisible);
}

TEST(LabelLayout, OnePixelBelowDefaultHeightIsCompact) {
  const MainLayout l = LayOutLabels({}, DefaultFont(), kMeasured, true, 304, 67, {});
  EXPECT_FALSE(l.CaptionsVisible);
  EXPECT_EQ(l.Recv.Top, 2);
  EXPECT_EQ(l.Recv.Bottom(), 15);
  EXPECT_EQ(l.Send.Top, 15);
  EXPECT_EQ(l.Send.Bottom(), 28);
  EXPECT_EQ(l.Label2.Top, 37) << "keeps the full layout's top";
  EXPECT_EQ(l.Graph.Width, 241) << "keeps the full layout's width";
  EXPECT_EQ(l.DefaultHeight, 68);
}

TEST(LabelLayout, LineSpacingsFromTheFileMoveTheLowerLabels) {
  const LineSpacings spacings{0, 7 + 5, 0, 0};
  const MainLayout l = LayOutLabels({}, DefaultFont(), spacings, true, 304, 80, {});
  EXPECT_EQ(l.Label2.Top, 42);
  EXPECT_EQ(l.Send.Top, 53);
  EXPECT_EQ(l.DefaultHeight, 73);
  // In the compact layout only line spacing 4 counts.
  const MainLayout compact = LayOutLabels({}, DefaultFont(), {0, 7, 0, -4}, true, 304, 40, {});
  EXPECT_EQ(compact.Send.Top, 11);
}

TEST(LabelLayout, HiddenValuesGiveTheGraphTheWidthAndKeepDefaultHeight) {
  MainLayout previous;
  previous.DefaultHeight = 68;
  const MainLayout l = LayOutLabels({}, DefaultFont(), kMeasured, false, 304, 50, previous);
  EXPECT_FALSE(l.ValuesVisible);
  EXPECT_FALSE(l.CaptionsVisible);
  EXPECT_EQ(l.Graph.Width, 304 - 7);
  EXPECT_EQ(l.Bevel.Right(), 304 - 2);
  EXPECT_EQ(l.DefaultHeight, 68);
  EXPECT_EQ(LayOutLabels({}, DefaultFont(), kMeasured, false, 304, 50, {}).DefaultHeight, 0)
      << "0 until values have been shown";
}

TEST(LabelLayout, AFontTooWideHidesTheGraph) {
  LabelMetrics wide = DefaultFont();
  wide.WidestValue = 288;  // captions start at 13: the graph is 3 wide, still shown
  EXPECT_TRUE(LayOutLabels({}, wide, kMeasured, true, 304, 68, {}).GraphVisible);
  wide.WidestValue = 289;  // 2 wide: hidden
  const MainLayout l = LayOutLabels({}, wide, kMeasured, true, 304, 68, {});
  EXPECT_EQ(l.Graph.Width, 2);
  EXPECT_FALSE(l.GraphVisible);
}

TEST(LabelLayout, TheDesignScalesByTheFormFontsHeight) {
  EXPECT_EQ(ScaleDesign(304, 12), 304);
  EXPECT_EQ(ScaleDesign(304, 15), 380);  // 120 pixels per inch
  EXPECT_EQ(ScaleDesign(68, 13), 74);    // 73.67 rounds to nearest
  const DesignLayout d = ScaledDesign(15);
  EXPECT_EQ(d.GraphLeft, 5);
  EXPECT_EQ(d.CaptionTop, 8);  // 7.5 rounds half away from zero
  EXPECT_EQ(d.ValueRightMargin, 380 - 376);
}

}  // namespace
}  // namespace ripplet

namespace ripplet {
namespace {

// Hand-edited ValueLineSpacing1 to 4 and absurd font sizes reach this arithmetic; the
// host build runs it under UBSan, which reported a signed overflow here before the limits.
TEST(LabelLayoutLimits, SpacingsAndTextSizesAtThe32BitExtremesStayInsideTheLimit) {
  constexpr std::int32_t kMax = INT32_MAX;
  constexpr std::int32_t kMin = INT32_MIN;
  EXPECT_EQ(LimitedSpacing(7, kMax), kLayoutLimit);
  EXPECT_EQ(LimitedSpacing(0, kMin), -kLayoutLimit);
  EXPECT_EQ(LimitedSpacing(7, -2), 5) << "ordinary values are added as they are";
  EXPECT_EQ(LimitedSpacing(kLayoutLimit, 0), kLayoutLimit);

  LabelMetrics huge = DefaultFont();
  huge.CaptionHeight = huge.ValueHeight = huge.WidestValue = kMax;
  huge.RecvWidth = huge.SendWidth = huge.Label1Width = kMax;
  for (const std::int32_t s : {kMax, kMin}) {
    const LineSpacings spacings{s, s, s, s};
    for (const LabelMetrics& m : {DefaultFont(), huge}) {
      for (const int height : {0, 68, INT32_MAX}) {
        const MainLayout l = LayOutLabels(DesignLayout{}, m, spacings, true, 304, height, {});
        EXPECT_LE(std::abs(static_cast<long long>(l.DefaultHeight)), 8LL * kLayoutLimit);
        EXPECT_LE(l.Send.Top, 8 * kLayoutLimit);
      }
    }
  }
  // The largest spacing still lays out as given: captions far below, DefaultHeight follows.
  const LineSpacings far_spacings{kLayoutLimit, 7, 0, 0};
  const MainLayout far =
      LayOutLabels(DesignLayout{}, DefaultFont(), far_spacings, true, 304, 1 << 20, {});
  EXPECT_EQ(far.Recv.Top, 17 + kLayoutLimit);
  EXPECT_EQ(far.DefaultHeight, 68 + kLayoutLimit);
  EXPECT_TRUE(far.CaptionsVisible);
  const MainLayout short_of_it =
      LayOutLabels(DesignLayout{}, DefaultFont(), far_spacings, true, 304, 68, {});
  EXPECT_EQ(short_of_it.DefaultHeight, 68 + kLayoutLimit);
  EXPECT_FALSE(short_of_it.CaptionsVisible) << "68 is short of DefaultHeight: compact";

  // Hidden values with an absurd client width: the graph spans it without wrapping.
  const MainLayout wide =
      LayOutLabels(DesignLayout{}, DefaultFont(), kMeasured, false, INT32_MAX, INT32_MAX, {});
  EXPECT_GT(wide.Graph.Width, 0);
  EXPECT_GT(wide.Graph.Height, 0);
}

}  // namespace
}  // namespace ripplet
