#include "display/graph_math.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace ripplet {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kKilo = 1000.0;  // divisor of the kilobyte units

TEST(MiddleY, TruncatesWithTheExtendedMantissa) {
  EXPECT_EQ(MiddleY(60, 900, 1000), 6);  // double arithmetic would give 5
  EXPECT_EQ(MiddleY(60, 500, 1000), 30);
  EXPECT_EQ(MiddleY(60, 0, 1000), 60);
  EXPECT_EQ(MiddleY(60, 1000, 1000), 0);
  EXPECT_EQ(MiddleY(60, 2000, 1000), -60);
  EXPECT_EQ(MiddleY(61, 100, 1000), 54);  // 54.9 truncates
  EXPECT_EQ(MiddleY(0, 900, 1000), 0);
}

TEST(MiddleY, DrawsNothingForAnUnusableScale) {
  EXPECT_EQ(MiddleY(60, 900, 0), std::nullopt);
  EXPECT_EQ(MiddleY(60, 900, -1000), std::nullopt);
  EXPECT_EQ(MiddleY(60, 900, kNaN), std::nullopt);
  EXPECT_EQ(MiddleY(60, 900, kInf), std::nullopt);
  EXPECT_EQ(MiddleY(60, kNaN, 1000), std::nullopt);
  EXPECT_EQ(MiddleY(60, kInf, 1000), std::nullopt);
  // Far off the bitmap: limited, not overflowed.
  EXPECT_EQ(MiddleY(60, 1e300, 1e-300), -kGraphYLimit);
  EXPECT_EQ(MiddleY(60, -1e300, 1e-300), kGraphYLimit);
}

TEST(SeriesY, PlacesRatesOnTheScale) {
  EXPECT_EQ(SeriesY(60, 0, kKilo, 1000), 59);        // bottom row
  EXPECT_EQ(SeriesY(60, 900000, kKilo, 1000), 5);    // just above the middle line
  EXPECT_EQ(SeriesY(60, 1000000, kKilo, 1000), -1);  // one range: above the top
  EXPECT_EQ(SeriesY(60, 2000000, kKilo, 1000), -61);
  EXPECT_EQ(SeriesY(60, 150000, kKilo, 1000), 50);
  EXPECT_EQ(SeriesY(60, 16, kKilo, 1), 59);            // 0.96 truncates to 0
  EXPECT_EQ(SeriesY(60, 1000, 0.125, 8000), -1);       // bit unit: 8000 of 8000
  EXPECT_EQ(SeriesY(60, -1000000, kKilo, 1000), 119);  // below the bitmap
}

TEST(SeriesY, SendSeriesUsesItsOwnRangeWhenSet) {
  const double send = SeriesRange(true, 1000, 150);
  const double recv = SeriesRange(false, 1000, 150);
  EXPECT_EQ(send, 150);
  EXPECT_EQ(recv, 1000);
  EXPECT_EQ(SeriesY(60, 150000, kKilo, send), -1);
  EXPECT_EQ(SeriesY(60, 150000, kKilo, recv), 50);

  EXPECT_EQ(SeriesRange(true, 1000, 0), 1000);
  EXPECT_EQ(SeriesRange(true, 1000, -5), 1000);
  EXPECT_EQ(SeriesRange(true, 1000, kNaN), 1000);
  EXPECT_EQ(SeriesRange(false, 1000, 0), 1000);
}

TEST(SeriesY, GuardsAgainstUnusableScalesAndHugeValues) {
  EXPECT_EQ(SeriesY(60, 1000, kKilo, 0), std::nullopt);
  EXPECT_EQ(SeriesY(60, 0, kKilo, 0), std::nullopt);
  EXPECT_EQ(SeriesY(60, 1000, kKilo, -1000), std::nullopt);
  EXPECT_EQ(SeriesY(60, 1000, kKilo, kNaN), std::nullopt);
  EXPECT_EQ(SeriesY(60, 1000, kKilo, kInf), std::nullopt);
  EXPECT_EQ(SeriesY(60, 1000, 0.0, 1000), std::nullopt);  // no unit gives divisor 0
  // Ranges so small, or rates so large, that v leaves any integer range.
  EXPECT_EQ(SeriesY(60, 2147483647, kKilo, 1e-300), -kGraphYLimit);
  EXPECT_EQ(SeriesY(60, std::numeric_limits<std::int64_t>::max(), 0.125, 1e-9), -kGraphYLimit);
  EXPECT_EQ(SeriesY(60, std::numeric_limits<std::int64_t>::min(), 0.125, 1e-9), kGraphYLimit);
  EXPECT_EQ(SeriesY(60, 2147483647, kKilo, 1000), -128790);  // large but drawn as is
}

TEST(RateAverager, AveragesEveryIntervalOfDataTicks) {
  RateAverager averager;
  EXPECT_EQ(averager.AddDataTick(100, 10, 3), std::nullopt);
  EXPECT_EQ(averager.AddDataTick(200, 20, 3), std::nullopt);
  auto average = averager.AddDataTick(301, 31, 3);
  ASSERT_TRUE(average);
  EXPECT_EQ(average->Recv, 200);  // 601 / 3 truncated
  EXPECT_EQ(average->Send, 20);   // 61 / 3 truncated
  // The sums start afresh.
  EXPECT_EQ(averager.AddDataTick(3, 0, 3), std::nullopt);
  EXPECT_EQ(averager.AddDataTick(3, 0, 3), std::nullopt);
  average = averager.AddDataTick(3, 0, 3);
  ASSERT_TRUE(average);
  EXPECT_EQ(average->Recv, 3);
}

TEST(RateAverager, IntervalOfOneAndBelowUpdatesOnEveryTick) {
  RateAverager averager;
  for (std::int32_t interval : {1, 0, -7, std::numeric_limits<std::int32_t>::min()}) {
    SCOPED_TRACE(interval);
    const auto average = averager.AddDataTick(1234, 56, interval);
    ASSERT_TRUE(average);
    EXPECT_EQ(average->Recv, 1234);
    EXPECT_EQ(average->Send, 56);
  }
}

TEST(RateAverager, ResetDropsAPartialAverage) {
  RateAverager averager;
  EXPECT_EQ(averager.AddDataTick(1000, 1000, 2), std::nullopt);
  averager.Reset();
  EXPECT_EQ(averager.AddDataTick(10, 20, 2), std::nullopt);
  const auto average = averager.AddDataTick(30, 40, 2);
  ASSERT_TRUE(average);
  EXPECT_EQ(average->Recv, 20);
  EXPECT_EQ(average->Send, 30);
}

TEST(RateAverager, SumsDoNotOverflow) {
  RateAverager averager;
  const std::int64_t big = 3'000'000'000;  // beyond 32 bits, as a 64-bit rate may be
  EXPECT_EQ(averager.AddDataTick(big, 0, 2), std::nullopt);
  auto average = averager.AddDataTick(big, 0, 2);
  ASSERT_TRUE(average);
  EXPECT_EQ(average->Recv, big);

  const std::int64_t max = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(averager.AddDataTick(max, -max, 2), std::nullopt);
  average = averager.AddDataTick(max, -max, 2);
  ASSERT_TRUE(average);
  EXPECT_EQ(average->Recv, max / 2);  // saturated, not wrapped negative
  EXPECT_LT(average->Send, 0);
}

}  // namespace
}  // namespace ripplet
