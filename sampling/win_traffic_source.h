// The real traffic source: the IP Helper interface table and the millisecond tick.
#pragma once

#include "sampling/traffic_source.h"

namespace ripplet {

class IpHelperTrafficSource final : public TrafficSource {
 public:
  std::uint32_t IfTableSize() override;
  bool FillIfTable(unsigned char* block, std::uint32_t& size) override;
  std::uint32_t TickCount() override;
};

}  // namespace ripplet
