#include "app/rate_readout.h"

#include <gtest/gtest.h>

namespace ripplet {
namespace {

std::string Recv(const std::optional<RateReadout::Texts>& texts) {
  return texts ? texts->Recv : "(none)";
}

// An idle line's ticks leave the labels alone; whatever would read differently is given.
TEST(RateReadout, GivesTheTextsOnlyWhenTheyWouldReadDifferently) {
  RateReadout readout;
  readout.Restart("0.0kB");
  const RatePair same{1536, 0};
  EXPECT_EQ(Recv(readout.Tick(same, 1, ".")), "1.5k");
  EXPECT_EQ(Recv(readout.Tick(same, 1, ".")), "(none)");
  EXPECT_EQ(Recv(readout.Tick(same, 1, ",")), "1,5k");  // the region's separator changed
  EXPECT_EQ(Recv(readout.Tick(std::nullopt, 1, ",")), "-");
  EXPECT_EQ(Recv(readout.Tick(same, 1, ",")), "1,5k");  // after "-", the same rate again
  readout.Restart("B");
  EXPECT_EQ(Recv(readout.Tick(same, 1, ",")), "1536");               // a new unit
  EXPECT_EQ(Recv(readout.Tick(RatePair{1536, 1}, 1, ",")), "1536");  // only send moved
}

}  // namespace
}  // namespace ripplet
