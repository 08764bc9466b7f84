// The accessible tree's plain rules: what lies under a point and which parts moved.
#include "app/meter_access.h"

#include <gtest/gtest.h>

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

TEST(MeterAccess, MovedPartsAreThoseWhosePlaceOrVisibilityChanged) {
  const MainLayout before = Designed();
  MainLayout after = before;
  EXPECT_EQ(MovedParts(ViewOf(before), ViewOf(after)), 0u);
  after.Recv.Left -= 6;  // a wider text
  after.Recv.Width += 6;
  EXPECT_EQ(MovedParts(ViewOf(before), ViewOf(after)), 1u << kMeterRecv);
  after.ValuesVisible = false;
  EXPECT_EQ(MovedParts(ViewOf(before), ViewOf(after)), (1u << kMeterRecv) | (1u << kMeterSend));
  after = before;
  after.Graph.Height = 20;
  EXPECT_EQ(MovedParts(ViewOf(before), ViewOf(after)), 1u << kMeterGraph);
  // The captions are no parts of the tree: hiding them (the compact layout) moves nothing.
  after = before;
  after.CaptionsVisible = false;
  EXPECT_EQ(MovedParts(ViewOf(before), ViewOf(after)), 0u);
}

}  // namespace
}  // namespace ripplet
