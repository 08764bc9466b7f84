#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "sampling/if_table.h"
#include "sampling/rate.h"
#include "sampling/traffic_source.h"

namespace ripplet {

// Owns the interface-table snapshot (IfTableBuffer), the selected adapter's row
// (AdapterIndex) and the counters and tick of the last good sample.
//
// The first good sample after a no-data tick, after a lookup or priming, and the
// very first one, is a baseline: it records counters and tick and reports no data
// for that tick, so a returning adapter never shows a spike from stale counters.
class Sampler {
 public:
  explicit Sampler(TrafficSource& source);
  Sampler(const Sampler&) = delete;
  Sampler& operator=(const Sampler&) = delete;

  // Replaces the snapshot with the current table. The block keeps its capacity,
  // so once it is large enough a refresh allocates nothing.
  void RefreshIfTable();

  // Frees the snapshot's memory (at the main window's destruction); the table is then empty.
  void ReleaseSnapshot() noexcept;

  // The current snapshot; valid until the next refresh.
  const IfTable& Table() const noexcept { return table_; }

  // AdapterIndex = first row of the current snapshot (not refreshed) whose
  // description equals adapter_name byte for byte, else 0.
  void LookupAdapter(std::string_view adapter_name);
  std::uint32_t AdapterIndex() const noexcept { return adapter_index_; }

  // Refreshes the snapshot and fills pair with the rates since the last sample.
  // Returns true for no data (pair is then 0/0).
  bool SampleTraffic(std::string_view adapter_name, RatePair& pair);

  // One sample whose rates are discarded; it starts a new baseline, so the next
  // tick measures from this moment.
  void Prime(std::string_view adapter_name);

 private:
  bool RowCarries(std::uint32_t row, std::string_view adapter_name) const noexcept;
  bool NoData(RatePair& pair) noexcept;

  TrafficSource& source_;
  std::vector<unsigned char> block_;
  IfTable table_;
  std::uint32_t adapter_index_ = 0;

  bool have_baseline_ = false;  // prev counters and last tick hold a good sample
  bool have_rates_ = false;     // last_rates_ were computed since that baseline
  std::uint32_t prev_recv_octets_ = 0;
  std::uint32_t prev_send_octets_ = 0;
  std::uint32_t last_sample_tick_ = 0;
  RatePair last_rates_;
};

}  // namespace ripplet
