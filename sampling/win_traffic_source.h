// The real traffic source: the IP Helper interface table, the 64-bit counters of
// GetIfTable2, one watched interface read with GetIfEntry2, and the millisecond tick.
#pragma once

#include <cstdint>
#include <vector>

#include "sampling/traffic_source.h"
#include "win32/win_system_functions.h"

namespace ripplet {

class IpHelperTrafficSource final : public TrafficSource {
 public:
  // The IP Helper functions come from `functions`, which outlive the source. Without
  // GetIfTable2 the counters are the table row's 32-bit ones; without GetIfEntry2 nothing is
  // watched.
  explicit IpHelperTrafficSource(const SystemFunctions& functions = System()) noexcept
      : functions_(functions) {}

  void ReadIfTable(IfTableBuffer& rows) override;
  bool ReadWideCounters(std::uint32_t interface_index, Octets& octets) override;
  bool Watch(std::uint32_t interface_index) override;
  bool ReadWatched(Octets& octets) override;
  bool ReadRoutes(std::vector<RouteRow>& routes) override;
  std::uint32_t TickCount() override;

  // Whether the system has the 64-bit table and the single-interface read.
  bool HasWideTable() noexcept { return Bind().get_if_table2_ != nullptr; }
  bool CanWatch() noexcept { return Bind().get_if_entry2_ != nullptr; }

 private:
  // IP Helper (and the libraries it brings) is loaded at the first read, not when the
  // source is made: a start that paints before it reads anything paints sooner.
  IpHelperTrafficSource& Bind() noexcept;

  const SystemFunctions& functions_;
  bool bound_ = false;

  // GetIfEntry2 by LUID reads one interface; by index it would first convert the index,
  // which under wine costs as much as the whole table. The wide table gives the LUID of
  // the interface it was asked for, so the watch that follows needs no conversion.
  decltype(&::GetIfTable) get_if_table_ = nullptr;
  decltype(&::GetIfTable2) get_if_table2_ = nullptr;
  decltype(&::FreeMibTable) free_mib_table_ = nullptr;
  decltype(&::GetIfEntry2) get_if_entry2_ = nullptr;
  decltype(&::ConvertInterfaceIndexToLuid) index_to_luid_ = nullptr;
  decltype(&::GetIpForwardTable2) get_ip_forward_table2_ = nullptr;
  decltype(&::GetIpInterfaceTable) get_ip_interface_table_ = nullptr;

  std::vector<unsigned char> table_block_;  // GetIfTable's MIB_IFTABLE, kept for the next read

  bool found_ = false;  // the last wide read found found_index_, whose LUID is found_luid_
  std::uint32_t found_index_ = 0;
  std::uint64_t found_luid_ = 0;

  bool watching_ = false;
  std::uint64_t luid_ = 0;      // NET_LUID
  wchar_t description_[257]{};  // the watched interface's, IF_MAX_STRING_SIZE + 1
};

}  // namespace ripplet
