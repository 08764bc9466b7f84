// Test support: an interface table with one row, "lo", whose counters change in place, so
// that the source itself allocates nothing while a test counts allocations.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "sampling/traffic_source.h"
#include "tests/sampling/fake_traffic_source.h"

namespace ripplet::testing {

class InPlaceSource : public TrafficSource {
 public:
  InPlaceSource() : block_(BuildIfTable({{"lo", 0, 0}})) {}
  void Add(std::uint32_t recv, std::uint32_t send) {
    unsigned char* row = block_.data() + kIfTableRowsOffset;
    std::uint32_t v;
    std::memcpy(&v, row + kIfRowInOctetsOffset, 4);
    v += recv;
    std::memcpy(row + kIfRowInOctetsOffset, &v, 4);
    std::memcpy(&v, row + kIfRowOutOctetsOffset, 4);
    v += send;
    std::memcpy(row + kIfRowOutOctetsOffset, &v, 4);
    tick_ += 1000;
  }
  std::uint32_t IfTableSize() override { return static_cast<std::uint32_t>(block_.size()); }
  bool FillIfTable(unsigned char* block, std::uint32_t& size) override {
    if (size < block_.size()) {
      size = static_cast<std::uint32_t>(block_.size());
      return false;
    }
    std::memcpy(block, block_.data(), block_.size());
    return true;
  }
  std::uint32_t TickCount() override { return tick_; }

 private:
  std::vector<unsigned char> block_;
  std::uint32_t tick_ = 1000;
};

}  // namespace ripplet::testing
