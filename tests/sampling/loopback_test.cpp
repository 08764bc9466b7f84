// The sampler on the real interface table: traffic of a known size over the loopback
// adapter ("lo" under wine) must come out as the rate it was sent at.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <utility>
#include <vector>

#include "sampling/sampler.h"
#include "sampling/win_traffic_source.h"
#include "tests/support/tcp_pair.h"

namespace ripplet {
namespace {

constexpr char kLoopback[] = "lo";
constexpr int kChunkBytes = 256 * 1024;
constexpr int kChunks = 16;  // 4 MiB in all
constexpr std::int64_t kPayload = std::int64_t{kChunkBytes} * kChunks;
constexpr DWORD kPauseMs = 25;  // between chunks: about 400 ms of real sending time

using testing::Connect;
using testing::TcpPair;

class LoopbackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    ASSERT_EQ(::WSAStartup(MAKEWORD(2, 2), &data), 0);
    sampler_.RefreshIfTable();
    if (!FindAdapter(sampler_.Table(), kLoopback)) GTEST_SKIP() << "no interface named lo";
    sampler_.LookupAdapter(kLoopback);
  }
  void TearDown() override { ::WSACleanup(); }

  IpHelperTrafficSource source_;
  Sampler sampler_{source_};
};

TEST_F(LoopbackTest, IdleBaselineGivesNoSpike) {
  // The first sample after the lookup is a baseline: the counters since boot are no rate.
  RatePair pair{123, 456};
  EXPECT_TRUE(sampler_.SampleTraffic(kLoopback, pair));
  EXPECT_EQ(pair.Recv, 0);
  EXPECT_EQ(pair.Send, 0);

  ::Sleep(200);
  EXPECT_FALSE(sampler_.SampleTraffic(kLoopback, pair));
  // Nothing of ours is on the wire. Other programs may use loopback a little, but a rate
  // from the counters since boot would be far beyond this.
  EXPECT_GE(pair.Recv, 0);
  EXPECT_GE(pair.Send, 0);
  EXPECT_LT(pair.Recv, 1024 * 1024);
  EXPECT_LT(pair.Send, 1024 * 1024);
}

// Sends the payload between a priming and a sample of `sampler` (on lo) and checks the rate.
void CheckKnownPayload(Sampler& sampler, bool watched) {
  TcpPair pair;
  ASSERT_TRUE(Connect(pair)) << "no loopback connection: " << ::WSAGetLastError();

  std::int64_t received = 0;
  std::thread receiver([&] {
    std::vector<char> buffer(64 * 1024);
    while (received < kPayload) {
      const int n = ::recv(pair.Receiver.get(), buffer.data(), static_cast<int>(buffer.size()), 0);
      if (n <= 0) break;
      received += n;
    }
  });

  const DWORD before_prime = ::GetTickCount();
  sampler.Prime(kLoopback);
  const DWORD after_prime = ::GetTickCount();
  // The ticks to come read lo alone, not the whole table, where the system can.
  ASSERT_EQ(sampler.Watching(), watched);

  const std::vector<char> chunk(kChunkBytes, 'x');
  std::int64_t sent = 0;
  for (int i = 0; i < kChunks; ++i) {
    int offset = 0;
    while (offset < kChunkBytes) {
      const int n = ::send(pair.Sender.get(), chunk.data() + offset, kChunkBytes - offset, 0);
      if (n <= 0) break;
      offset += n;
    }
    sent += offset;
    ::Sleep(kPauseMs);
  }
  ::shutdown(pair.Sender.get(), SD_SEND);
  receiver.join();
  ASSERT_EQ(sent, kPayload);
  ASSERT_EQ(received, kPayload);

  const DWORD before_sample = ::GetTickCount();
  RatePair rates;
  ASSERT_FALSE(sampler.SampleTraffic(kLoopback, rates));
  const DWORD after_sample = ::GetTickCount();

  // The sampler's own interval lies between what we saw inside and outside its two calls.
  const DWORD longest = after_sample - before_prime;
  const DWORD shortest = before_sample - after_prime;
  ASSERT_GE(shortest, kChunks * kPauseMs);
  // On loopback each byte is received and sent once, so both counters grew by at least the
  // payload: the rate can't be below payload over the longest interval (less 1 for the
  // truncation). Above it stand TCP/IP headers (lo's 64 KiB MTU makes them well under 1 %),
  // the ACKs and the handshake-free close, plus whatever else uses loopback meanwhile: 20 %
  // over payload / shortest interval is room for all of that, yet a rate read from the
  // wrong row, counter or interval, or a counter lost between samples, lands outside.
  const std::int64_t low = kPayload * 1000 / longest - 1;
  const std::int64_t high = kPayload * 1000 * 12 / 10 / shortest;
  EXPECT_GE(rates.Recv, low);
  EXPECT_LE(rates.Recv, high);
  EXPECT_GE(rates.Send, low);
  EXPECT_LE(rates.Send, high);
  // Linux counts each loopback byte once for both directions, and both rates come from
  // one snapshot of one row: they are the same number.
  EXPECT_EQ(rates.Recv, rates.Send);
}

TEST_F(LoopbackTest, KnownPayloadGivesItsRateInBothDirections) {
  ASSERT_TRUE(source_.HasWideTable() && source_.CanWatch());
  CheckKnownPayload(sampler_, true);
}

// The first read has no block yet and learns the size the table needs; the reads after it
// go into the same block and the same rows.
TEST_F(LoopbackTest, TheTableIsReadAgainIntoTheSameRows) {
  IpHelperTrafficSource source;
  IfTableBuffer rows;
  source.ReadIfTable(rows);
  ASSERT_TRUE(FindAdapter(rows, kLoopback));
  const IfRow* data = rows.data();
  const std::size_t count = rows.size();
  for (int i = 0; i < 100; ++i) source.ReadIfTable(rows);
  EXPECT_EQ(rows.data(), data);
  EXPECT_EQ(rows.size(), count);
}

TEST_F(LoopbackTest, WithoutTheWideCallsTheTableStillGivesTheRate) {
  // An older system: no GetIfTable2, no GetIfEntry2. Every tick reads the 32-bit table.
  SystemFunctions older = System();
  older.GetIfTable2.Remove();
  older.GetIfEntry2.Remove();
  IpHelperTrafficSource source(older);
  EXPECT_FALSE(source.HasWideTable());
  EXPECT_FALSE(source.CanWatch());
  Sampler sampler(source);
  sampler.RefreshIfTable();
  sampler.LookupAdapter(kLoopback);
  CheckKnownPayload(sampler, false);
  Octets octets;
  EXPECT_FALSE(source.ReadWideCounters(sampler.Table()[sampler.AdapterIndex()].Index, octets));
}

TEST_F(LoopbackTest, WatchedRowReadsTheTableRowsCounters) {
  const IfRow& row = sampler_.Table()[*FindAdapter(sampler_.Table(), kLoopback)];
  const std::uint32_t index = row.Index;
  // Read a moment after the table: the low 32 bits equal, or grown by what others sent
  // meanwhile (a counter that went back would show as a difference near 2^32).
  const auto close_to_row = [&](const Octets& octets) {
    EXPECT_TRUE(octets.Wide);
    EXPECT_LT(static_cast<std::uint32_t>(octets.In) - row.InOctets, 1u << 20);
    EXPECT_LT(static_cast<std::uint32_t>(octets.Out) - row.OutOctets, 1u << 20);
  };
  for (bool after_wide_read : {false, true}) {  // the LUID converted, or from the wide table
    IpHelperTrafficSource source;
    Octets wide;
    if (after_wide_read) {
      ASSERT_TRUE(source.ReadWideCounters(index, wide));
      close_to_row(wide);
    }
    ASSERT_TRUE(source.Watch(index));
    Octets watched;
    ASSERT_TRUE(source.ReadWatched(watched));
    close_to_row(watched);
    if (after_wide_read) {
      EXPECT_GE(watched.In, wide.In);
    }
  }

  // An index no interface carries is not watched, and nothing is read.
  IpHelperTrafficSource source;
  Octets octets;
  EXPECT_FALSE(source.ReadWideCounters(0xFFFFFF, octets));
  EXPECT_FALSE(source.Watch(0xFFFFFF));
  EXPECT_FALSE(source.ReadWatched(octets));
}

}  // namespace
}  // namespace ripplet
