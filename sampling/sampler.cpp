#include "sampling/sampler.h"

#include <algorithm>

namespace ripplet {

Sampler::Sampler(TrafficSource& source) : source_(source) {}

void Sampler::RefreshIfTable() {
  // The table's size rarely changes, so the steady state is one fill into the block as it
  // is: the size is asked for only when there is no usable block yet, and a table that
  // grew reports its new size through the failed fill, which is then tried once more.
  std::uint32_t size = block_.size() >= kIfTableRowsOffset
                           ? static_cast<std::uint32_t>(block_.size())
                           : source_.IfTableSize();
  for (int attempt = 0; attempt < 2; ++attempt) {
    block_.resize(size);  // shrinking keeps the capacity for the next growth
    // Zeroed first: a fill that fails then reads as a table of 0 rows.
    std::fill(block_.begin(), block_.end(), static_cast<unsigned char>(0));
    if (size < kIfTableRowsOffset) break;
    std::uint32_t needed = size;
    if (source_.FillIfTable(block_.data(), needed) || needed <= size) break;
    size = needed;
  }
  table_ = IfTable(block_.data(), block_.size());
}

void Sampler::ReleaseSnapshot() noexcept {
  watching_ = false;
  std::vector<unsigned char>().swap(block_);
  table_ = IfTable();
}

void Sampler::LookupAdapter(std::string_view adapter_name) {
  adapter_index_ = table_.Find(adapter_name).value_or(0);
  // The row may now belong to another adapter: its counters are no baseline.
  watching_ = false;
  ForgetBaseline();
}

bool Sampler::RowCarries(std::uint32_t row, std::string_view adapter_name) const noexcept {
  return row < table_.RowCount() && table_.Description(row) == adapter_name;
}

void Sampler::ForgetBaseline() noexcept {
  have_baseline_ = false;
  have_rates_ = false;
}

bool Sampler::NoData(RatePair& pair) noexcept {
  ForgetBaseline();
  pair = RatePair{};
  return true;
}

bool Sampler::Baseline(const Octets& octets, std::uint32_t if_index, std::uint32_t now,
                       RatePair& pair) noexcept {
  prev_octets_ = octets;
  prev_interface_ = if_index;
  last_sample_tick_ = now;
  have_baseline_ = true;
  have_rates_ = false;
  pair = RatePair{};
  return true;  // the rate of this tick is unknown
}

void Sampler::WatchFailed(std::uint32_t if_index) {
  watching_ = false;
  watch_failed_ = true;
  failed_interface_ = if_index;
  failed_tick_ = source_.TickCount();
}

// The slow path: the whole table, the adapter's row in it, its counters, and a watch on
// its interface for the ticks to come. Returns false when no row carries the adapter.
bool Sampler::ReadFromTable(std::string_view adapter_name, Octets& octets,
                            std::uint32_t& if_index) {
  RefreshIfTable();
  if (!RowCarries(adapter_index_, adapter_name)) {
    // The adapter may have come back at another index: look again before giving up.
    const auto found = table_.Find(adapter_name);
    if (!found) return false;
    adapter_index_ = *found;
  }
  if_index = table_.InterfaceIndex(adapter_index_);
  if (!source_.ReadWideCounters(if_index, octets)) {
    octets = {table_.InOctets(adapter_index_), table_.OutOctets(adapter_index_), false};
  }
  // A watch that just failed is not tried again on every tick: each try may cost as much
  // as the table, and a watch whose reads keep failing would otherwise be set up anew and
  // lost on every tick.
  if (watch_failed_ && failed_interface_ == if_index &&
      source_.TickCount() - failed_tick_ < kWatchRetryMs) {
    return true;
  }
  watching_ = source_.Watch(if_index);
  if (!watching_) {
    WatchFailed(if_index);
    return true;
  }
  watch_failed_ = false;
  watched_name_ = adapter_name;
  watched_interface_ = if_index;
  return true;
}

bool Sampler::SampleTraffic(std::string_view adapter_name, RatePair& pair) {
  Octets octets;
  std::uint32_t if_index = 0;
  watching_ = watching_ && adapter_name == watched_name_;
  bool read = false;
  if (watching_) {
    read = source_.ReadWatched(octets);
    if (read) {
      if_index = watched_interface_;
    } else {
      // The interface is gone or changed, or its read failed: the table tells which.
      WatchFailed(watched_interface_);
    }
  }
  if (!read && !ReadFromTable(adapter_name, octets, if_index)) return NoData(pair);

  const std::uint32_t now = source_.TickCount();
  // Counters of another interface are no continuation of the last sample.
  if (!have_baseline_ || if_index != prev_interface_) {
    return Baseline(octets, if_index, now, pair);
  }

  if (now == last_sample_tick_) {
    // Same millisecond: repeat the last rates rather than flicker to 0.
    if (!have_rates_) {
      pair = RatePair{};
      return true;
    }
    pair = last_rates_;
    return false;
  }

  std::uint64_t recv_growth;
  std::uint64_t send_growth;
  if (octets.Wide && prev_octets_.Wide) {
    // A 64-bit counter does not wrap: one that went down was reset with its adapter.
    if (octets.In < prev_octets_.In || octets.Out < prev_octets_.Out) {
      return Baseline(octets, if_index, now, pair);
    }
    recv_growth = octets.In - prev_octets_.In;
    send_growth = octets.Out - prev_octets_.Out;
  } else {
    // A 32-bit counter on either side: its growth modulo 2^32, so that one wrap is harmless.
    recv_growth = static_cast<std::uint32_t>(octets.In - prev_octets_.In);
    send_growth = static_cast<std::uint32_t>(octets.Out - prev_octets_.Out);
  }
  pair.Recv = RateOfGrowth(recv_growth, now, last_sample_tick_);
  pair.Send = RateOfGrowth(send_growth, now, last_sample_tick_);
  prev_octets_ = octets;
  last_sample_tick_ = now;
  last_rates_ = pair;
  have_rates_ = true;
  return false;
}

void Sampler::Prime(std::string_view adapter_name) {
  ForgetBaseline();
  RatePair discarded;
  SampleTraffic(adapter_name, discarded);
}

}  // namespace ripplet
