#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "sampling/if_table.h"
#include "sampling/rate.h"
#include "sampling/traffic_source.h"

namespace ripplet {

// Owns the interface-table snapshot (IfTableBuffer), the selected adapter's row
// (AdapterIndex) and the counters and tick of the last good sample.
//
// A tick reads the adapter's counters through the source's watch on its interface when
// it can: the whole table is read only to find the adapter, when the watch is lost (the
// adapter went away or changed, or the read failed) and on request (RefreshIfTable). So
// the snapshot is the table as it was at the last full read. An interface whose watch
// failed is watched again no sooner than kWatchRetryMs later; until then the ticks read
// the table, and their rates go on from the watch's last sample.
//
// The adapter is known by its row's description in the table (bDescr, the ANSI bytes the
// settings file stores); its counters are the 64-bit ones of its interface where the
// platform has them, else the row's 32-bit ones.
//
// The first good sample after a no-data tick, after a lookup or priming, and the very
// first one, is a baseline: it records counters and tick and reports no data for that
// tick, so a returning adapter never shows a spike from stale counters. So is a sample of
// another interface than the last one, and one whose 64-bit counters went down (the
// adapter was reset): only 32-bit counters wrap; and the first after the machine resumed.
class Sampler {
 public:
  explicit Sampler(TrafficSource& source);
  Sampler(const Sampler&) = delete;
  Sampler& operator=(const Sampler&) = delete;

  // Replaces the snapshot with the current table. The rows keep their capacity, so once
  // there are enough of them a refresh allocates nothing.
  void RefreshIfTable();

  // Frees the snapshot's memory (at the main window's destruction); the table is then empty.
  void ReleaseSnapshot() noexcept;

  // The current snapshot; valid until the next refresh.
  const IfTableBuffer& Table() const noexcept { return rows_; }

  // AdapterIndex = first row of the current snapshot (not refreshed) whose
  // description equals adapter_name byte for byte, else 0.
  void LookupAdapter(std::string_view adapter_name);
  std::uint32_t AdapterIndex() const noexcept { return adapter_index_; }

  // AdapterIndex = `row` of the current snapshot, for an adapter chosen by its row (two rows
  // may share a description). The next sample is a baseline.
  void SelectRow(std::uint32_t row) noexcept;

  // A tick without an adapter to measure (the automatic choice found no default route):
  // no data, and the next sample is a baseline. Returns true, pair 0/0, as SampleTraffic.
  bool NoAdapter(RatePair& pair) noexcept;

  // True while ticks read the adapter through the source's watch, not the whole table.
  bool Watching() const noexcept { return watching_; }

  // How long an interface whose watch failed is read through the table instead.
  static constexpr std::uint32_t kWatchRetryMs = 5000;

  // Fills pair with the rates since the last sample, from the watched interface or, when
  // there is none, from a refreshed snapshot. Returns true for no data (pair is then 0/0).
  bool SampleTraffic(std::string_view adapter_name, RatePair& pair);

  // The bytes the last SampleTraffic measured: the counters' growth behind its rates, 0 for
  // a baseline, no data or a repeat within the same millisecond.
  struct Growth {
    std::uint64_t Recv = 0;
    std::uint64_t Send = 0;
  };
  const Growth& LastGrowth() const noexcept { return last_growth_; }

  // One sample whose rates are discarded; it starts a new baseline, so the next
  // tick measures from this moment.
  void Prime(std::string_view adapter_name);

  // The machine woke from sleep: the next sample is a baseline read from the table, since
  // the adapter's row, its interface and its counters may all have changed meanwhile.
  void Resumed() noexcept;

 private:
  bool RowCarries(std::uint32_t row, std::string_view adapter_name) const noexcept;
  bool ReadFromTable(std::string_view adapter_name, Octets& octets, std::uint32_t& if_index);
  void WatchFailed(std::uint32_t if_index);
  bool NoData(RatePair& pair) noexcept;
  bool Baseline(const Octets& octets, std::uint32_t if_index, std::uint32_t now,
                RatePair& pair) noexcept;
  void ForgetBaseline() noexcept;

  TrafficSource& source_;
  IfTableBuffer rows_;
  std::uint32_t adapter_index_ = 0;
  bool watching_ = false;     // the source watches the row at adapter_index_
  std::string watched_name_;  // the adapter name that row carried
  std::uint32_t watched_interface_ = 0;
  bool watch_failed_ = false;  // the watch of failed_interface_ failed at failed_tick_
  std::uint32_t failed_interface_ = 0;
  std::uint32_t failed_tick_ = 0;

  bool have_baseline_ = false;  // prev counters and last tick hold a good sample
  bool have_rates_ = false;     // last_rates_ were computed since that baseline
  Octets prev_octets_;
  std::uint32_t prev_interface_ = 0;  // the interface (dwIndex) prev_octets_ belong to
  std::uint32_t last_sample_tick_ = 0;
  RatePair last_rates_;
  Growth last_growth_;
};

}  // namespace ripplet
