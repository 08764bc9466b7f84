#include "sampling/sampler.h"

#include <gtest/gtest.h>

#include "tests/sampling/fake_traffic_source.h"

namespace ripplet {
namespace {

using testing::FakeRow;
using testing::FakeTrafficSource;

constexpr const char* kNic = "Realtek PCIe GbE";

class SamplerTest : public ::testing::Test {
 protected:
  // One tick: advance the clock, grow the counters, sample.
  bool Tick(std::uint32_t ms, std::uint64_t in_growth, std::uint64_t out_growth,
            std::size_t row = 1) {
    source.Tick += ms;
    source.Rows[row].In += in_growth;
    source.Rows[row].Out += out_growth;
    return sampler.SampleTraffic(kNic, pair);
  }

  void StartOn(std::uint64_t in, std::uint64_t out) {
    source.Rows = {{"Loopback"}, {kNic, in, out}};
    sampler.RefreshIfTable();
    sampler.LookupAdapter(kNic);
    sampler.Prime(kNic);
  }

  FakeTrafficSource source;
  Sampler sampler{source};
  RatePair pair;
};

TEST_F(SamplerTest, LookupFindsFirstEqualRowOrZero) {
  source.Rows = {{"Loopback"}, {kNic}, {kNic}};
  sampler.RefreshIfTable();
  sampler.LookupAdapter(kNic);
  EXPECT_EQ(sampler.AdapterIndex(), 1u);
  sampler.LookupAdapter("Realtek");
  EXPECT_EQ(sampler.AdapterIndex(), 0u);
  sampler.LookupAdapter("");  // no row has an empty description
  EXPECT_EQ(sampler.AdapterIndex(), 0u);

  source.Rows = {{"Loopback"}, {""}};
  sampler.RefreshIfTable();
  sampler.LookupAdapter("");
  EXPECT_EQ(sampler.AdapterIndex(), 1u);
}

TEST_F(SamplerTest, LookupUsesSnapshotWithoutRefreshing) {
  source.Rows = {{"Loopback"}, {kNic}};
  sampler.LookupAdapter(kNic);  // nothing refreshed yet: empty snapshot
  EXPECT_EQ(sampler.AdapterIndex(), 0u);
  EXPECT_EQ(source.TableReads, 0);
}

TEST_F(SamplerTest, PrimingSetsBaselineForFirstTick) {
  source.Rows = {{"Loopback", 5, 5}, {kNic, 1000, 2000}};
  sampler.RefreshIfTable();
  sampler.LookupAdapter(kNic);
  sampler.Prime(kNic);

  EXPECT_FALSE(Tick(1000, 1'000'000, 3));
  EXPECT_EQ(pair.Recv, 1'000'000);
  EXPECT_EQ(pair.Send, 3);

  EXPECT_FALSE(Tick(500, 100, 0));
  EXPECT_EQ(pair.Recv, 200);
  EXPECT_EQ(pair.Send, 0);
}

TEST_F(SamplerTest, FirstSampleEverIsBaselineReportedAsNoData) {
  source.Rows = {{"Loopback"}, {kNic, 4'000'000'000u, 0}};
  sampler.RefreshIfTable();
  sampler.LookupAdapter(kNic);
  pair = {7, 7};
  EXPECT_TRUE(sampler.SampleTraffic(kNic, pair));  // not a spike from counters of 0
  EXPECT_EQ(pair.Recv, 0);
  EXPECT_EQ(pair.Send, 0);
  EXPECT_FALSE(Tick(1000, 10, 20));
  EXPECT_EQ(pair.Recv, 10);
  EXPECT_EQ(pair.Send, 20);
}

TEST_F(SamplerTest, EmptyTableIsNoDataEveryTick) {
  sampler.RefreshIfTable();
  sampler.LookupAdapter(kNic);
  EXPECT_EQ(sampler.AdapterIndex(), 0u);
  for (int i = 0; i < 3; ++i) {
    source.Tick += 1000;
    pair = {1, 1};
    EXPECT_TRUE(sampler.SampleTraffic(kNic, pair));
    EXPECT_EQ(pair.Recv, 0);
    EXPECT_EQ(pair.Send, 0);
  }
}

TEST_F(SamplerTest, AFailedTableReadIsNoRowsAndNoDataThenRecovers) {
  source.Watchable = false;  // every tick reads the table
  source.Rows = {{kNic, 100, 100}};
  sampler.RefreshIfTable();
  sampler.LookupAdapter(kNic);
  sampler.Prime(kNic);
  EXPECT_FALSE(Tick(1000, 10, 10, 0));

  source.FailingTableReads = 1;
  source.Tick += 1000;
  EXPECT_TRUE(sampler.SampleTraffic(kNic, pair));
  EXPECT_EQ(pair.Recv, 0);
  EXPECT_TRUE(sampler.Table().empty());

  // Back at the same index: a baseline first, then a rate without a spike.
  EXPECT_TRUE(Tick(1000, 50, 50, 0));
  EXPECT_FALSE(Tick(1000, 30, 40, 0));
  EXPECT_EQ(pair.Recv, 30);
  EXPECT_EQ(pair.Send, 40);
}

TEST_F(SamplerTest, TicksReadTheWatchedRowAloneUntilItIsLost) {
  source.Rows = {{"Loopback"}, {kNic, 100, 100}};
  sampler.RefreshIfTable();
  sampler.LookupAdapter(kNic);
  sampler.Prime(kNic);
  ASSERT_TRUE(sampler.Watching());
  const int table_reads = source.TableReads;
  for (int i = 0; i < 5; ++i) {
    EXPECT_FALSE(Tick(1000, 300, 200));
    EXPECT_EQ(pair.Recv, 300);
    EXPECT_EQ(pair.Send, 200);
  }
  EXPECT_EQ(source.TableReads, table_reads);
  EXPECT_EQ(source.WatchedReads, 5);

  // The interface's index now names another adapter: no rate from its counters, and the
  // table finds ours at its new place, watched from there.
  source.Rows = {{"Loopback"}, {"VPN", 9'999'999, 9'999'999, 2}, {kNic, 900, 900, 7}};
  EXPECT_TRUE(Tick(1000, 0, 0, 2));
  EXPECT_GT(source.TableReads, table_reads);
  EXPECT_EQ(sampler.AdapterIndex(), 2u);
  EXPECT_TRUE(sampler.Watching());
  const int reads_after_loss = source.TableReads;
  EXPECT_FALSE(Tick(1000, 40, 50, 2));
  EXPECT_EQ(pair.Recv, 40);
  EXPECT_EQ(pair.Send, 50);
  EXPECT_EQ(source.TableReads, reads_after_loss);

  // A name that is not the watched adapter's is looked for in the table.
  source.Tick += 1000;
  EXPECT_TRUE(sampler.SampleTraffic("Loopback", pair));
  EXPECT_EQ(source.TableReads, reads_after_loss + 1);
  EXPECT_EQ(sampler.AdapterIndex(), 0u);
}

TEST_F(SamplerTest, AdapterGoneThenBackResumesWithoutSpike) {
  source.Rows = {{"Loopback"}, {kNic, 1'000'000, 1'000'000}};
  sampler.RefreshIfTable();
  sampler.LookupAdapter(kNic);
  sampler.Prime(kNic);
  EXPECT_FALSE(Tick(1000, 1000, 1000));

  const FakeRow nic = source.Rows[1];
  source.Rows.pop_back();
  source.Tick += 60'000;
  EXPECT_TRUE(sampler.SampleTraffic(kNic, pair));

  source.Rows.push_back(nic);
  EXPECT_TRUE(Tick(1000, 5000, 5000));  // baseline, not (counters - 0) / 61 s
  EXPECT_EQ(pair.Recv, 0);
  EXPECT_FALSE(Tick(1000, 700, 800));
  EXPECT_EQ(pair.Recv, 700);
  EXPECT_EQ(pair.Send, 800);
}

TEST_F(SamplerTest, MovedAdapterIsFoundAgain) {
  source.Rows = {{"Loopback"}, {kNic, 500, 500}};
  sampler.RefreshIfTable();
  sampler.LookupAdapter(kNic);
  sampler.Prime(kNic);
  EXPECT_FALSE(Tick(1000, 100, 100));

  // The adapter now sits at index 2, and row 1 carries another one.
  source.Rows = {{"Loopback"}, {"VPN", 9'999, 9'999}, {kNic, 900, 900}};
  EXPECT_TRUE(Tick(1000, 0, 0, 2));
  EXPECT_EQ(sampler.AdapterIndex(), 2u);
  EXPECT_FALSE(Tick(1000, 250, 125, 2));
  EXPECT_EQ(pair.Recv, 250);
  EXPECT_EQ(pair.Send, 125);

  // Index out of range: looked up again too.
  source.Rows = {{kNic, 0, 0}};
  EXPECT_TRUE(Tick(1000, 0, 0, 0));
  EXPECT_EQ(sampler.AdapterIndex(), 0u);
  EXPECT_FALSE(Tick(1000, 42, 0, 0));
  EXPECT_EQ(pair.Recv, 42);
}

TEST_F(SamplerTest, SameMillisecondRepeatsLastRates) {
  source.Rows = {{"Loopback"}, {kNic}};
  sampler.RefreshIfTable();
  sampler.LookupAdapter(kNic);
  sampler.Prime(kNic);
  EXPECT_FALSE(Tick(10, 100, 50));
  EXPECT_EQ(pair.Recv, 10'000);

  pair = {};
  EXPECT_FALSE(Tick(0, 30, 30));  // same tick: last rates, state unchanged
  EXPECT_EQ(pair.Recv, 10'000);
  EXPECT_EQ(pair.Send, 5'000);

  // The growth during the repeated tick is counted by the next one.
  EXPECT_FALSE(Tick(10, 70, 20));
  EXPECT_EQ(pair.Recv, 10'000);
  EXPECT_EQ(pair.Send, 5'000);
}

TEST_F(SamplerTest, SameMillisecondAfterBaselineIsStillNoData) {
  source.Rows = {{"Loopback"}, {kNic}};
  sampler.RefreshIfTable();
  sampler.LookupAdapter(kNic);
  sampler.Prime(kNic);
  EXPECT_TRUE(Tick(0, 30, 30));  // no rate known yet
  EXPECT_EQ(pair.Recv, 0);
  EXPECT_FALSE(Tick(100, 20, 10));
  EXPECT_EQ(pair.Recv, 500);
  EXPECT_EQ(pair.Send, 400);
}

TEST_F(SamplerTest, RatesAboveInt32AndWraps) {
  source.Rows = {{"Loopback"}, {kNic, 4'294'967'000u, 0}};
  source.Tick = 4'294'967'000u;
  sampler.RefreshIfTable();
  sampler.LookupAdapter(kNic);
  sampler.Prime(kNic);
  EXPECT_FALSE(Tick(696, 592, 0));  // both the counter and the tick wrap
  EXPECT_EQ(pair.Recv, 850);
  EXPECT_EQ(source.Tick, 400u);

  EXPECT_FALSE(Tick(1, 3'000'000, 0x8000'0000u));
  EXPECT_EQ(pair.Recv, 3'000'000'000LL);
  EXPECT_EQ(pair.Send, 2'147'483'648'000LL);
}

TEST_F(SamplerTest, GrowthOfMoreThan32BitsInOneTickIsExact) {
  // 15 GB and 6 GB in one tick of 30 s: the watched read and the table path alike.
  for (bool watchable : {true, false}) {
    source.Watchable = watchable;
    StartOn(3'000'000'000ULL, 1ULL << 40);
    EXPECT_EQ(sampler.Watching(), watchable);
    EXPECT_FALSE(Tick(30'000, 15'000'000'000ULL, 6'000'000'000ULL)) << watchable;
    EXPECT_EQ(pair.Recv, 500'000'000) << watchable;
    EXPECT_EQ(pair.Send, 200'000'000) << watchable;
    EXPECT_FALSE(Tick(1000, (1ULL << 32) + 7, 0)) << watchable;
    EXPECT_EQ(pair.Recv, 4'294'967'303LL) << watchable;
  }
  EXPECT_GT(source.WideReads, 0);
}

TEST_F(SamplerTest, A64BitCounterThatGoesDownIsAResetNotAWrap) {
  for (bool watchable : {true, false}) {
    source.Watchable = watchable;
    StartOn(10'000'000'000ULL, 20'000'000'000ULL);
    EXPECT_FALSE(Tick(1000, 1000, 2000));
    // The adapter was disabled and enabled: its counters start again from near 0. That
    // is a new baseline shown as no data, not a spike of 2^64 - 10 GB.
    source.Rows[1].In = 500;
    source.Tick += 1000;
    pair = {7, 7};
    EXPECT_TRUE(sampler.SampleTraffic(kNic, pair)) << watchable;
    EXPECT_EQ(pair.Recv, 0);
    EXPECT_EQ(pair.Send, 0);
    EXPECT_FALSE(Tick(1000, 300, 400)) << watchable;
    EXPECT_EQ(pair.Recv, 300);
    EXPECT_EQ(pair.Send, 400);
    // The send counter alone going down is a reset too.
    source.Rows[1].Out = 0;
    EXPECT_TRUE(Tick(1000, 5, 0)) << watchable;
    EXPECT_FALSE(Tick(1000, 5, 9)) << watchable;
    EXPECT_EQ(pair.Recv, 5);
    EXPECT_EQ(pair.Send, 9);
  }
}

TEST_F(SamplerTest, WithoutTheWideTableThe32BitCountersWrap) {
  source.WideTable = false;
  source.Watchable = false;
  StartOn(4'294'967'000ULL, 100);
  EXPECT_FALSE(Tick(1000, 592, 0));  // the row's counter goes from 4,294,967,000 to 296
  EXPECT_EQ(pair.Recv, 592);
  EXPECT_GT(source.TableReads, 0);
  EXPECT_EQ(source.WideReads, 0);
  // Going down is a wrap here, not a reset (it cannot be told from one).
  source.Rows[1].In = 0;
  EXPECT_FALSE(Tick(1000, 0, 0));
  EXPECT_EQ(pair.Recv, 4'294'967'296LL - 4'294'967'592LL % 4'294'967'296LL);
  // More than 4 GiB in one tick is more than 32 bits can tell: only the rest shows.
  EXPECT_FALSE(Tick(1000, (1ULL << 32) + 10, 0));
  EXPECT_EQ(pair.Recv, 10);
}

TEST_F(SamplerTest, A32BitBaselineAndA64BitSampleMeetInTheLow32Bits) {
  // The table path had only 32-bit counters, the watch has 64: the growth from one to
  // the other is taken modulo 2^32, as between two 32-bit samples.
  source.WideTable = false;
  StartOn(10'000'000'000ULL, 5'000'000'000ULL);
  ASSERT_TRUE(sampler.Watching());
  EXPECT_FALSE(Tick(1000, 1000, 3000));
  EXPECT_EQ(pair.Recv, 1000);
  EXPECT_EQ(pair.Send, 3000);
  EXPECT_FALSE(Tick(1000, 20'000'000'000ULL, 0));  // now both samples are 64-bit
  EXPECT_EQ(pair.Recv, 20'000'000'000LL);
}

TEST_F(SamplerTest, AWatchWhoseReadsAllFailFallsBackToTheTable) {
  StartOn(1000, 1000);
  ASSERT_TRUE(sampler.Watching());
  source.FailingWatchedReads = -1;
  const int watches = source.Watches;
  for (int i = 1; i <= 12; ++i) {
    EXPECT_FALSE(Tick(1000, 100'000, 200'000)) << i;  // never "-"
    EXPECT_EQ(pair.Recv, 100'000) << i;
    EXPECT_EQ(pair.Send, 200'000) << i;
  }
  // Failed at 1 s; tried again at 6 s, failed at 7 s, tried at 12 s: not on every tick.
  EXPECT_EQ(source.Watches - watches, 2);
  EXPECT_EQ(source.WatchedReads, 0);
}

TEST_F(SamplerTest, AWatchedReadFailingOnceIsBridgedByTheTable) {
  StartOn(1000, 1000);
  EXPECT_FALSE(Tick(1000, 10, 10));
  source.FailingWatchedReads = 1;
  const int table_reads = source.TableReads;
  EXPECT_FALSE(Tick(1000, 50, 60));  // the read fails; the table's counters go on from it
  EXPECT_EQ(pair.Recv, 50);
  EXPECT_EQ(pair.Send, 60);
  EXPECT_FALSE(sampler.Watching());
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(Tick(1000, 70, 80));
  EXPECT_EQ(pair.Recv, 70);
  EXPECT_TRUE(sampler.Watching()) << "watched again 5 s after the failure";
  const int reads_then = source.TableReads;
  EXPECT_EQ(reads_then - table_reads, 6);
  const int reads = source.WatchedReads;
  EXPECT_FALSE(Tick(1000, 90, 90));
  EXPECT_EQ(pair.Recv, 90);
  EXPECT_EQ(source.WatchedReads, reads + 1);
  EXPECT_EQ(source.TableReads, reads_then);
}

TEST_F(SamplerTest, AfterAResumeTheAdapterIsReadFromTheTableAndWatchedAgainAtOnce) {
  // The watch is live, or it failed a moment before the sleep (no new watch for 5 s).
  for (bool watch_failed : {false, true}) {
    StartOn(1000, 1000);
    source.FailingWatchedReads = watch_failed ? 1 : 0;
    EXPECT_FALSE(Tick(1000, 10, 10));
    const int reads = source.TableReads;
    const int watches = source.Watches;
    sampler.Resumed();
    EXPECT_TRUE(Tick(2000, 5'000'000'000ULL, 0));  // a baseline, not an average over the sleep
    EXPECT_EQ(source.TableReads, reads + 1) << watch_failed;
    EXPECT_EQ(source.Watches, watches + 1) << watch_failed;
    EXPECT_TRUE(sampler.Watching());
    EXPECT_FALSE(Tick(1000, 300, 400));
    EXPECT_EQ(pair.Recv, 300);
    EXPECT_EQ(pair.Send, 400);
  }
}

TEST_F(SamplerTest, RefreshIsOneReadIntoTheSameRows) {
  source.Rows = {{"Loopback"}, {kNic}, {"Wi-Fi"}};
  sampler.RefreshIfTable();
  const IfRow* data = sampler.Table().data();
  const int reads = source.TableReads;
  for (int i = 0; i < 1000; ++i) {
    sampler.RefreshIfTable();
    ASSERT_EQ(sampler.Table().data(), data);
  }
  EXPECT_EQ(source.TableReads - reads, 1000);
  // A smaller table fits in the same rows too, and reads right.
  source.Rows.pop_back();
  sampler.RefreshIfTable();
  EXPECT_EQ(sampler.Table().data(), data);
  ASSERT_EQ(sampler.Table().size(), 2u);
  EXPECT_EQ(sampler.Table()[1].Description(), kNic);
}

}  // namespace
}  // namespace ripplet
