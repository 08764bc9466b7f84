#pragma once

#include <cstdint>
#include <vector>

#include "sampling/if_table.h"
#include "sampling/route_choice.h"

namespace ripplet {

// An interface's two octet counters as one read gave them. Wide: the platform's 64-bit
// counters (GetIfEntry2, GetIfTable2); otherwise the 32-bit ones of GetIfTable's row, the
// low 32 bits of the same counters, which wrap every 4 GiB.
struct Octets {
  std::uint64_t In = 0;
  std::uint64_t Out = 0;
  bool Wide = false;
};

// The platform behind the sampler: the interface table, the 64-bit counters where the
// platform has them, one watched interface and the millisecond clock. The Win32 shell
// implements it with GetIfTable, GetIfTable2, GetIfEntry2 and GetTickCount; tests fake it.
class TrafficSource {
 public:
  virtual ~TrafficSource() = default;

  // Reads the interface table into rows, one per platform row in its order, reusing the
  // rows' capacity. A table that cannot be read leaves rows empty.
  virtual void ReadIfTable(IfTableBuffer& rows) = 0;

  // The 64-bit counters of the interface whose table row carries interface_index (the
  // row's dwIndex), read now from the platform's wide table. Returns false where there is
  // none (an older platform) or the interface is not in it; the sampler then takes the
  // row's 32-bit counters.
  virtual bool ReadWideCounters(std::uint32_t /*interface_index*/, Octets& /*octets*/) {
    return false;
  }

  // Watches the interface whose table row carries interface_index, so that ReadWatched
  // can read its counters without the whole table. Returns false when it cannot; the
  // sampler then keeps reading the whole table. A source without a cheaper read than the
  // table's keeps this default.
  virtual bool Watch(std::uint32_t /*interface_index*/) { return false; }

  // The watched interface's counters. Returns false, and stops watching, when the read
  // fails, the interface is gone or it is no longer the adapter it was when watched.
  virtual bool ReadWatched(Octets& /*octets*/) { return false; }

  // Reads the routing table (IPv4 and IPv6) into routes, reusing their capacity. Returns
  // false, routes empty, when it cannot be read; only the automatic adapter asks.
  virtual bool ReadRoutes(std::vector<RouteRow>& routes) {
    routes.clear();
    return false;
  }

  // Milliseconds since system start, wrapping after 2^32 ms.
  virtual std::uint32_t TickCount() = 0;
};

}  // namespace ripplet
