#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sampling/if_table.h"
#include "sampling/traffic_source.h"

namespace ripplet::testing {

struct FakeRow {
  std::string Descr;  // at most 256 bytes; 256 leaves no NUL
  std::uint64_t In = 0;  // the table row holds the low 32 bits
  std::uint64_t Out = 0;
  std::uint32_t Index = 0;  // the interface index (dwIndex); 0 gives the row's position + 1
};

inline std::uint32_t InterfaceIndexOf(const std::vector<FakeRow>& rows, std::size_t i) {
  return rows[i].Index != 0 ? rows[i].Index : static_cast<std::uint32_t>(i + 1);
}

// Builds a MIB_IFTABLE block in the published layout.
inline std::vector<unsigned char> BuildIfTable(const std::vector<FakeRow>& rows) {
  std::vector<unsigned char> block(kIfTableRowsOffset + rows.size() * kIfRowSize, 0);
  const auto count = static_cast<std::uint32_t>(rows.size());
  std::memcpy(block.data() + kIfTableNumEntriesOffset, &count, sizeof count);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    unsigned char* row = block.data() + kIfTableRowsOffset + i * kIfRowSize;
    const auto in = static_cast<std::uint32_t>(rows[i].In);
    const auto out = static_cast<std::uint32_t>(rows[i].Out);
    std::memcpy(row + kIfRowInOctetsOffset, &in, 4);
    std::memcpy(row + kIfRowOutOctetsOffset, &out, 4);
    const std::uint32_t index = InterfaceIndexOf(rows, i);
    std::memcpy(row + kIfRowIndexOffset, &index, 4);
    std::memcpy(row + kIfRowDescrOffset, rows[i].Descr.data(),
                std::min(rows[i].Descr.size(), kIfRowDescrSize));
    // Bytes around the fields we read are not zero in a real table.
    row[0] = 'x';
    row[kIfRowInOctetsOffset - 1] = 0xAB;
  }
  return block;
}

// Behaves like GetIfTable: the fill writes nothing when the buffer is too small. Like the
// real source it has the 64-bit counters of an interface by its index (GetIfTable2), and
// watches one interface by its index and knows it by its description.
class FakeTrafficSource : public TrafficSource {
 public:
  std::vector<FakeRow> Rows;
  std::uint32_t Tick = 1000;
  std::optional<std::uint32_t> SizeOverride;   // what the size query reports instead
  std::function<void()> BetweenQueryAndFill;   // e.g. the table grows
  bool Watchable = true;  // false: a platform with nothing cheaper than the table
  bool WideTable = true;  // false: a platform with 32-bit counters alone (no GetIfTable2)
  int FailingWatchedReads = 0;  // so many watched reads to come fail; -1: all of them
  int Fills = 0;
  int WideReads = 0;
  int Watches = 0;
  int WatchedReads = 0;  // the good ones

  std::uint32_t IfTableSize() override {
    if (SizeOverride) return *SizeOverride;
    return static_cast<std::uint32_t>(kIfTableRowsOffset + Rows.size() * kIfRowSize);
  }

  bool FillIfTable(unsigned char* block, std::uint32_t& size) override {
    ++Fills;
    if (BetweenQueryAndFill) BetweenQueryAndFill();
    const std::vector<unsigned char> table = BuildIfTable(Rows);
    if (size < table.size()) {  // ERROR_INSUFFICIENT_BUFFER
      size = static_cast<std::uint32_t>(table.size());
      return false;
    }
    std::memcpy(block, table.data(), table.size());
    return true;
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
