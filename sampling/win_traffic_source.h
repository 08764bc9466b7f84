// The real traffic source: the IP Helper interface table, one watched interface read
// with GetIfEntry2, and the millisecond tick.
#pragma once

#include <cstdint>

#include "sampling/traffic_source.h"

namespace ripplet {

class IpHelperTrafficSource final : public TrafficSource {
 public:
  std::uint32_t IfTableSize() override;
  bool FillIfTable(unsigned char* block, std::uint32_t& size) override;
  bool Watch(std::uint32_t interface_index) override;
  bool ReadWatched(std::uint32_t& in_octets, std::uint32_t& out_octets) override;
  std::uint32_t TickCount() override;

 private:
  // GetIfEntry2 by LUID reads one interface; by index it would first convert the index,
  // which under wine costs as much as the whole table.
  bool watching_ = false;
  std::uint64_t luid_ = 0;      // NET_LUID
  wchar_t description_[257]{};  // the watched interface's, IF_MAX_STRING_SIZE + 1
};

}  // namespace ripplet
