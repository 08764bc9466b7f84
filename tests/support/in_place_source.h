// Test support: an interface table with one row, "lo", whose counters change in place, so
// that the source itself allocates nothing while a test counts allocations.
#pragma once

#include <cstdint>

#include "sampling/traffic_source.h"

namespace ripplet::testing {

class InPlaceSource : public TrafficSource {
 public:
  InPlaceSource() {
    lo_.Index = 1;
    lo_.SetDescription("lo", 2);
  }
  void Add(std::uint32_t recv, std::uint32_t send) {
    lo_.InOctets += recv;
    lo_.OutOctets += send;
    tick_ += 1000;
  }
  void ReadIfTable(IfTableBuffer& rows) override { rows.assign(1, lo_); }
  std::uint32_t TickCount() override { return tick_; }

 private:
  IfRow lo_;
  std::uint32_t tick_ = 1000;
};

}  // namespace ripplet::testing
