// The day, period and merge rules in plain code: the sampler's bytes counted under the date
// a fake clock shows, saved into a file held as text, across midnight, month ends, clock
// changes, a resume and a counter reset.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "sampling/sampler.h"
#include "tests/sampling/fake_traffic_source.h"
#include "usage/calendar.h"
#include "usage/usage_counts.h"
#include "usage/usage_csv.h"
#include "usage/usage_summary.h"

namespace ripplet {
namespace {

using testing::FakeTrafficSource;

constexpr const char* kNic = "Realtek PCIe GbE";

Date D(int y, int m, int d) { return {y, m, d}; }

// One copy of the meter: the sampler on a fake interface, a fake local date, its counts,
// and saves into a file shared as text.
class Meter {
 public:
  explicit Meter(std::optional<std::string>& file) : file_(file) {
    source_.Rows = {{kNic, 1'000'000, 500'000}};
    sampler_.RefreshIfTable();
    sampler_.LookupAdapter(kNic);
    sampler_.Prime(kNic);
  }

  // One tick of 1 s with this growth, counted under today's date.
  void Tick(std::uint64_t in, std::uint64_t out) {
    source_.Tick += 1000;
    source_.Rows[0].In += in;
    source_.Rows[0].Out += out;
    RatePair pair;
    sampler_.SampleTraffic(kNic, pair);
    const Sampler::Growth& growth = sampler_.LastGrowth();
    counter_.Add(today, kNic, {growth.Recv, growth.Send});
  }

  bool Save() {
    const UsageSaveText text = MergeIntoUsageFile(file_, counter_.Unsaved());
    if (!text.Ok) return false;
    file_ = text.Bytes;
    counter_.Saved();
    return true;
  }

  FakeTrafficSource& Source() { return source_; }
  Sampler& Sampling() { return sampler_; }
  const UsageCounter& Counter() const { return counter_; }

  Date today = D(2026, 1, 31);

 private:
  std::optional<std::string>& file_;
  FakeTrafficSource source_;
  Sampler sampler_{source_};
  UsageCounter counter_;
};

UsageTable Rows(const std::optional<std::string>& file) {
  if (!file) return {};
  const UsageCsvRead read = ParseUsageCsv(*file);
  EXPECT_TRUE(read.Ok) << "line " << read.Line;
  return read.Rows;
}

ByteCounts On(const UsageTable& rows, const Date& date) {
  const auto found = rows.find({date, kNic});
  return found == rows.end() ? ByteCounts{} : found->second;
}

TEST(UsageDays, EachSampleCountsOnTheDateTheClockShowsAcrossMidnightMonthEndsAndClockChanges) {
  std::optional<std::string> file;
  Meter meter(file);
  meter.today = D(2026, 1, 31);
  meter.Tick(100, 10);          // the first tick after priming measures from the priming
  meter.today = D(2026, 2, 1);  // midnight, and the end of January
  meter.Tick(200, 20);
  meter.today = D(2026, 1, 31);  // the clock set back an hour, over midnight
  meter.Tick(300, 30);
  meter.today = D(2026, 2, 2);  // and forward a day
  meter.Tick(400, 40);
  ASSERT_TRUE(meter.Save());

  const UsageTable rows = Rows(file);
  EXPECT_EQ(On(rows, D(2026, 1, 31)), (ByteCounts{400, 40}));
  EXPECT_EQ(On(rows, D(2026, 2, 1)), (ByteCounts{200, 20}));
  EXPECT_EQ(On(rows, D(2026, 2, 2)), (ByteCounts{400, 40}));
  EXPECT_EQ(rows.size(), 3u);
}

TEST(UsageDays, ABaselineIsNeverCountedAndNothingAroundItIsLost) {
  std::optional<std::string> file;
  Meter meter(file);
  meter.today = D(2026, 3, 10);
  meter.Tick(1000, 100);

  // Asleep: the counters grew by a huge amount meanwhile, and the first sample after the
  // resume is a baseline; the ticks after it count again.
  meter.Sampling().Resumed();
  meter.Tick(5'000'000'000, 5'000'000'000);
  meter.Tick(2000, 200);

  // The adapter was reset: its 64-bit counters start again from nearly 0.
  meter.Source().Rows[0].In = 10;
  meter.Source().Rows[0].Out = 10;
  meter.Tick(0, 0);
  meter.Tick(3000, 300);
  ASSERT_TRUE(meter.Save());
  EXPECT_EQ(On(Rows(file), D(2026, 3, 10)), (ByteCounts{6000, 600}));
}

TEST(UsageSaves, ASaveAddsOnlyWhatIsUnsavedSoTwoCopiesAndRepeatedSavesCountEachByteOnce) {
  std::optional<std::string> file;
  Meter first(file);
  Meter second(file);
  first.today = second.today = D(2026, 12, 9);
  first.Tick(100, 1);
  second.Tick(1000, 10);
  ASSERT_TRUE(first.Save());
  ASSERT_TRUE(first.Save());  // nothing new: nothing added
  first.Tick(100, 1);
  ASSERT_TRUE(second.Save());
  ASSERT_TRUE(first.Save());
  ASSERT_TRUE(second.Save());
  EXPECT_EQ(On(Rows(file), D(2026, 12, 9)), (ByteCounts{1200, 12}));
  EXPECT_FALSE(first.Counter().HasUnsaved());

  // A file that cannot be parsed is not replaced, and the counts wait in memory.
  file = std::string("date,adapter,received,sent\r\n2026-12-09,x,12,oops\r\n");
  const std::string unparsable = *file;
  first.Tick(7, 7);
  EXPECT_FALSE(first.Save());
  EXPECT_EQ(*file, unparsable);
  EXPECT_EQ(first.Counter().Unsaved().at({D(2026, 12, 9), kNic}), (ByteCounts{7, 7}));
  file.reset();  // the user took it away: the next save starts a new one
  EXPECT_TRUE(first.Save());
  EXPECT_EQ(On(Rows(file), D(2026, 12, 9)), (ByteCounts{7, 7}));
}

TEST(UsageSaves, SumsSaturateInsteadOfWrapping) {
  UsageTable rows;
  const std::uint64_t most = ~std::uint64_t{0};
  rows[{D(2026, 1, 1), "a"}] = {most - 1, 5};
  UsageTable more;
  more[{D(2026, 1, 1), "a"}] = {10, 5};
  MergeUsage(rows, more);
  EXPECT_EQ(rows.at({D(2026, 1, 1), "a"}), (ByteCounts{most, 10}));
}

TEST(UsagePeriods, AStartDayPastTheMonthsEndIsItsLastDay) {
  // Start day 31: February's period starts on its last day, April's on the 30th.
  EXPECT_EQ(PeriodHolding(D(2026, 2, 27), 31).First, D(2026, 1, 31));
  EXPECT_EQ(PeriodHolding(D(2026, 2, 27), 31).Last, D(2026, 2, 27));
  EXPECT_EQ(PeriodHolding(D(2026, 2, 28), 31).First, D(2026, 2, 28));
  EXPECT_EQ(PeriodHolding(D(2026, 2, 28), 31).Last, D(2026, 3, 30));
  EXPECT_EQ(PeriodHolding(D(2028, 2, 29), 31).First, D(2028, 2, 29));  // a leap year
  EXPECT_EQ(PeriodHolding(D(2026, 4, 30), 31).First, D(2026, 4, 30));
  EXPECT_EQ(PeriodHolding(D(2026, 4, 29), 31).First, D(2026, 3, 31));
  EXPECT_EQ(PeriodHolding(D(2026, 5, 30), 31).Last, D(2026, 5, 30));
  // Day 1 is the calendar month; the year turns.
  EXPECT_EQ(PeriodHolding(D(2026, 12, 31), 1).First, D(2026, 12, 1));
  EXPECT_EQ(PeriodHolding(D(2026, 12, 31), 1).Last, D(2026, 12, 31));
  EXPECT_EQ(PeriodHolding(D(2027, 1, 14), 15).First, D(2026, 12, 15));
  EXPECT_EQ(PeriodBefore(PeriodHolding(D(2027, 1, 14), 15), 15).First, D(2026, 11, 15));
  // A file's start day outside 1 to 31 counts as the nearest.
  EXPECT_EQ(PeriodHolding(D(2026, 6, 5), 0).First, D(2026, 6, 1));
  EXPECT_EQ(PeriodHolding(D(2026, 6, 5), 99).First, D(2026, 5, 31));
}

TEST(UsagePeriods, TheSummaryAddsEachRowToItsDayAndPeriodOnce) {
  UsageTable rows;
  rows[{D(2026, 2, 27), "a"}] = {1, 2};     // previous period (start day 28)
  rows[{D(2026, 2, 28), "a"}] = {10, 20};   // this period's first day
  rows[{D(2026, 3, 9), "a"}] = {100, 200};  // yesterday
  rows[{D(2026, 3, 10), "a"}] = {1000, 2000};
  rows[{D(2026, 3, 10), "b"}] = {5, 5};
  const UsageSummary all = SummariseUsage(rows, std::nullopt, D(2026, 3, 10), 28);
  EXPECT_EQ(all.Today, (ByteCounts{1005, 2005}));
  EXPECT_EQ(all.Yesterday, (ByteCounts{100, 200}));
  EXPECT_EQ(all.ThisPeriod, (ByteCounts{1115, 2225}));
  EXPECT_EQ(all.PreviousPeriod, (ByteCounts{1, 2}));
  ASSERT_EQ(all.Days.size(), 28u);  // 28 Feb to 27 Mar
  EXPECT_EQ(all.Days[0], (ByteCounts{10, 20}));
  EXPECT_EQ(all.Days[10], (ByteCounts{1005, 2005}));
  const UsageSummary b = SummariseUsage(rows, std::string("b"), D(2026, 3, 10), 28);
  EXPECT_EQ(b.ThisPeriod, (ByteCounts{5, 5}));
  EXPECT_EQ(AdaptersIn(rows), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace ripplet
