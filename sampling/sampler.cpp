#include "sampling/sampler.h"

namespace ripplet {

Sampler::Sampler(TrafficSource& source) : source_(source) {}

void Sampler::RefreshIfTable() { source_.ReadIfTable(rows_); }

void Sampler::ReleaseSnapshot() noexcept {
  watching_ = false;
  IfTableBuffer().swap(rows_);
}

void Sampler::LookupAdapter(std::string_view adapter_name) {
  adapter_index_ = FindAdapter(rows_, adapter_name).value_or(0);
  // The row may now belong to another adapter: its counters are no baseline.
  watching_ = false;
  ForgetBaseline();
}

void Sampler::SelectRow(std::uint32_t row) noexcept {
  adapter_index_ = row;
  watching_ = false;
  ForgetBaseline();
}

bool Sampler::NoAdapter(RatePair& pair) noexcept {
  watching_ = false;
  last_growth_ = Growth{};  // no bytes behind this tick
  return NoData(pair);
}

bool Sampler::RowCarries(std::uint32_t row, std::string_view adapter_name) const noexcept {
  return row < rows_.size() && rows_[row].Description() == adapter_name;
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
    const auto found = FindAdapter(rows_, adapter_name);
    if (!found) return false;
    adapter_index_ = *found;
  }
  const IfRow& row = rows_[adapter_index_];
  if_index = row.Index;
  if (!source_.ReadWideCounters(if_index, octets)) octets = {row.InOctets, row.OutOctets, false};
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
  last_growth_ = Growth{};
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
  last_growth_ = {recv_growth, send_growth};
  have_rates_ = true;
  return false;
}

void Sampler::Prime(std::string_view adapter_name) {
  ForgetBaseline();
  RatePair discarded;
  SampleTraffic(adapter_name, discarded);
}

void Sampler::Resumed() noexcept {
  ForgetBaseline();
  watching_ = false;
  watch_failed_ = false;  // the interface may be back: it is watched again at once
}

}  // namespace ripplet
