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
  std::uint32_t In = 0;
  std::uint32_t Out = 0;
};

// Builds a MIB_IFTABLE block in the published layout.
inline std::vector<unsigned char> BuildIfTable(const std::vector<FakeRow>& rows) {
  std::vector<unsigned char> block(kIfTableRowsOffset + rows.size() * kIfRowSize, 0);
  const auto count = static_cast<std::uint32_t>(rows.size());
  std::memcpy(block.data() + kIfTableNumEntriesOffset, &count, sizeof count);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    unsigned char* row = block.data() + kIfTableRowsOffset + i * kIfRowSize;
    std::memcpy(row + kIfRowInOctetsOffset, &rows[i].In, 4);
    std::memcpy(row + kIfRowOutOctetsOffset, &rows[i].Out, 4);
    std::memcpy(row + kIfRowDescrOffset, rows[i].Descr.data(),
                std::min(rows[i].Descr.size(), kIfRowDescrSize));
    // Bytes around the fields we read are not zero in a real table.
    row[0] = 'x';
    row[kIfRowInOctetsOffset - 1] = 0xAB;
  }
  return block;
}

// Behaves like GetIfTable: the fill writes nothing when the buffer is too small.
class FakeTrafficSource : public TrafficSource {
 public:
  std::vector<FakeRow> Rows;
  std::uint32_t Tick = 1000;
  std::optional<std::uint32_t> SizeOverride;   // what the size query reports instead
  std::function<void()> BetweenQueryAndFill;   // e.g. the table grows
  int Fills = 0;

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

  std::uint32_t TickCount() override { return Tick; }
};

}  // namespace ripplet::testing
