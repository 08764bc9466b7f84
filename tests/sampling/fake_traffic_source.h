#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sampling/if_table.h"
#include "sampling/traffic_source.h"

namespace ripplet::testing {

struct FakeRow {
  std::string Descr;  // as the platform stores it: the row takes up to the first NUL, at most 256
  std::uint64_t In = 0;  // the table row holds the low 32 bits
  std::uint64_t Out = 0;
  std::uint32_t Index = 0;  // the interface index (dwIndex); 0 gives the row's position + 1
};

inline std::uint32_t InterfaceIndexOf(const std::vector<FakeRow>& rows, std::size_t i) {
  return rows[i].Index != 0 ? rows[i].Index : static_cast<std::uint32_t>(i + 1);
}

// The rows a source hands the sampler for these fake rows.
inline void ToRows(const std::vector<FakeRow>& fake, IfTableBuffer& rows) {
  rows.resize(fake.size());
  for (std::size_t i = 0; i < fake.size(); ++i) {
    rows[i].Index = InterfaceIndexOf(fake, i);
    rows[i].InOctets = static_cast<std::uint32_t>(fake[i].In);
    rows[i].OutOctets = static_cast<std::uint32_t>(fake[i].Out);
    rows[i].SetDescription(fake[i].Descr.data(), fake[i].Descr.size());
  }
}

inline IfTableBuffer ToRows(const std::vector<FakeRow>& fake) {
  IfTableBuffer rows;
  ToRows(fake, rows);
  return rows;
}

// Like the real source it has the 64-bit counters of an interface by its index
// (GetIfTable2), and watches one interface by its index and knows it by its description.
class FakeTrafficSource : public TrafficSource {
 public:
  std::vector<FakeRow> Rows;
  std::uint32_t Tick = 1000;
  std::function<void()> DuringTableRead;  // e.g. throws
  int FailingTableReads = 0;              // so many table reads to come fail
  bool Watchable = true;                  // false: a platform with nothing cheaper than the table
  bool WideTable = true;        // false: a platform with 32-bit counters alone (no GetIfTable2)
  int FailingWatchedReads = 0;  // so many watched reads to come fail; -1: all of them
  int TableReads = 0;
  int WideReads = 0;
  int Watches = 0;
  int WatchedReads = 0;  // the good ones

  void ReadIfTable(IfTableBuffer& rows) override {
    ++TableReads;
    if (DuringTableRead) DuringTableRead();
    if (FailingTableReads > 0) {
      --FailingTableReads;
      rows.clear();
      return;
    }
    ToRows(Rows, rows);
  }

  bool ReadWideCounters(std::uint32_t interface_index, Octets& octets) override {
    const auto row = Row(interface_index);
    if (!WideTable || !row) return false;
    ++WideReads;
    octets = {Rows[*row].In, Rows[*row].Out, true};
    return true;
  }

  bool Watch(std::uint32_t interface_index) override {
    ++Watches;
    const auto row = Row(interface_index);
    watched_ = Watchable && row.has_value();
    if (!watched_) return false;
    watched_index_ = interface_index;
    watched_descr_ = Rows[*row].Descr;
    return true;
  }

  bool ReadWatched(Octets& octets) override {
    const auto row = watched_ ? Row(watched_index_) : std::nullopt;
    watched_ = row && Rows[*row].Descr == watched_descr_;
    if (watched_ && FailingWatchedReads != 0) {
      if (FailingWatchedReads > 0) --FailingWatchedReads;
      watched_ = false;  // as GetIfEntry2 failing: the watch is lost
    }
    if (!watched_) return false;
    ++WatchedReads;
    octets = {Rows[*row].In, Rows[*row].Out, true};
    return true;
  }

  std::uint32_t TickCount() override { return Tick; }

 private:
  std::optional<std::size_t> Row(std::uint32_t interface_index) const {
    for (std::size_t i = 0; i < Rows.size(); ++i) {
      if (InterfaceIndexOf(Rows, i) == interface_index) return i;
    }
    return std::nullopt;
  }

  bool watched_ = false;
  std::uint32_t watched_index_ = 0;
  std::string watched_descr_;
};

}  // namespace ripplet::testing
