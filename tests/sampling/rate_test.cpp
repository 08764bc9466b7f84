#include "sampling/rate.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace ripplet {
namespace {

TEST(RateOf, IsExactAndTruncated) {
  EXPECT_EQ(RateOf(1'000'000, 0, 2000, 1000), 1'000'000);
  EXPECT_EQ(RateOf(1, 0, 3, 0), 333);   // 333.33
  EXPECT_EQ(RateOf(2, 0, 1000, 0), 2);  // no quotient rounded down before the product
  EXPECT_EQ(RateOf(1, 0, 1000, 0), 1);
  EXPECT_EQ(RateOf(1000, 0, 1000, 0), 1000);
  EXPECT_EQ(RateOf(999, 0, 1000, 0), 999);
  EXPECT_EQ(RateOf(1, 0, 1001, 0), 0);
  EXPECT_EQ(RateOf(5, 5, 1000, 0), 0);
}

TEST(RateOf, CounterAndTickWrap) {
  EXPECT_EQ(RateOf(296, 4'294'967'000u, 1000, 0), 592);
  EXPECT_EQ(RateOf(696, 0, 400, 4'294'967'000u), 1000);              // 696 ms elapsed
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

namespace ripplet {
namespace {

TEST(RateOfGrowth, SixtyFourBitGrowthIsExact) {
  // 15 GB in 30 s, as one tick of a 4 Gbit/s link at the longest interval.
  EXPECT_EQ(RateOfGrowth(15'000'000'000ULL, 31'000, 1'000), 500'000'000);
  EXPECT_EQ(RateOfGrowth(15'000'000'001ULL, 30'000, 0), 500'000'000);  // truncated
  EXPECT_EQ(RateOfGrowth((1ULL << 32) + 1, 1000, 0), 4'294'967'297LL);
  EXPECT_EQ(RateOfGrowth(1, 3, 0), 333);
  // delta * 1000 would not fit in 64 bits, yet the rate does, exactly: 2^62 over 1000 ms,
  // and 2^50 over 3 ms.
  EXPECT_EQ(RateOfGrowth(1ULL << 62, 1000, 0), std::int64_t{1} << 62);
  EXPECT_EQ(RateOfGrowth(1ULL << 50, 3, 0), 375'299'968'947'541'333LL);
  EXPECT_EQ(RateOfGrowth(~0ULL, 1, 0), INT64_MAX);  // more than fits: the largest rate
  EXPECT_EQ(RateOfGrowth(~0ULL, 10, 0), INT64_MAX);
  EXPECT_EQ(RateOfGrowth(7, 5, 5), 0);
}

}  // namespace
}  // namespace ripplet
