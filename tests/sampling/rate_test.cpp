#include "sampling/rate.h"

#include <gtest/gtest.h>

namespace ripplet {
namespace {

TEST(RateOf, IsExactAndTruncated) {
  EXPECT_EQ(RateOf(1'000'000, 0, 2000, 1000), 1'000'000);
  EXPECT_EQ(RateOf(1, 0, 3, 0), 333);  // 333.33
  EXPECT_EQ(RateOf(2, 0, 1000, 0), 2);  // no quotient rounded down before the product
  EXPECT_EQ(RateOf(1, 0, 1000, 0), 1);
  EXPECT_EQ(RateOf(1000, 0, 1000, 0), 1000);
  EXPECT_EQ(RateOf(999, 0, 1000, 0), 999);
  EXPECT_EQ(RateOf(1, 0, 1001, 0), 0);
  EXPECT_EQ(RateOf(5, 5, 1000, 0), 0);
}

TEST(RateOf, CounterAndTickWrap) {
  EXPECT_EQ(RateOf(296, 4'294'967'000u, 1000, 0), 592);
  EXPECT_EQ(RateOf(696, 0, 400, 4'294'967'000u), 1000);  // 696 ms elapsed
  EXPECT_EQ(RateOf(296, 4'294'967'000u, 400, 4'294'967'000u), 850);  // 592 over 696 ms
}

TEST(RateOf, LargeRatesStayPositive) {
  // 2^32 - 1 octets in 1 ms: far beyond 2^31 B/s, neither wrapped nor negative.
  EXPECT_EQ(RateOf(0xFFFF'FFFFu, 0, 1, 0), 4'294'967'295'000LL);
  EXPECT_EQ(RateOf(0x8000'0000u, 0, 1000, 0), 2'147'483'648LL);
}

TEST(RateOf, ZeroElapsedGivesZero) { EXPECT_EQ(RateOf(100, 0, 7, 7), 0); }

}  // namespace
}  // namespace ripplet
