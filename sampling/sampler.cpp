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

// The slow path: the whole table, the adapter's row in it, and a watch on that row for
// the ticks to come. Returns false when no row carries the adapter.
bool Sampler::ReadFromTable(std::string_view adapter_name, std::uint32_t& recv,
                            std::uint32_t& send) {
  RefreshIfTable();
  if (!RowCarries(adapter_index_, adapter_name)) {
    // The adapter may have come back at another index: look again before giving up.
    const auto found = table_.Find(adapter_name);
    if (!found) return false;
    adapter_index_ = *found;
    ForgetBaseline();
  }
  recv = table_.InOctets(adapter_index_);
  send = table_.OutOctets(adapter_index_);
  watching_ = source_.Watch(table_.InterfaceIndex(adapter_index_));
  if (watching_) watched_name_ = adapter_name;
  return true;
}

bool Sampler::SampleTraffic(std::string_view adapter_name, RatePair& pair) {
  std::uint32_t recv = 0;
  std::uint32_t send = 0;
  watching_ = watching_ && adapter_name == watched_name_;
  if (!watching_ || !source_.ReadWatched(recv, send)) {
    if (watching_) {
      // The watched interface is gone or changed: whatever the table now holds is no
      // continuation of the last sample.
      watching_ = false;
      ForgetBaseline();
    }
    if (!ReadFromTable(adapter_name, recv, send)) return NoData(pair);
  }

  const std::uint32_t now = source_.TickCount();

  if (!have_baseline_) {
    prev_recv_octets_ = recv;
    prev_send_octets_ = send;
    last_sample_tick_ = now;
    have_baseline_ = true;
    pair = RatePair{};
    return true;  // the rate of this tick is unknown
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

  pair.Recv = RateOf(recv, prev_recv_octets_, now, last_sample_tick_);
  pair.Send = RateOf(send, prev_send_octets_, now, last_sample_tick_);
  prev_recv_octets_ = recv;
  prev_send_octets_ = send;
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
