// Which adapter the automatic choice follows: the one the system sends the user's internet
// traffic through, read from the routing table. Plain: the shell reads the table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "sampling/if_table.h"

namespace ripplet {

// One row of the routing table, as the shell read it.
struct RouteRow {
  std::uint32_t InterfaceIndex = 0;   // the interface the route leaves through (dwIndex)
  std::uint8_t PrefixLength = 0;      // 0: a default route
  bool Ipv6 = false;                  // ::/0 rather than 0.0.0.0/0
  std::uint32_t RouteMetric = 0;      // the route's own metric
  std::uint32_t InterfaceMetric = 0;  // its interface's metric for that family; 0 if unknown
};

// The row of `table` whose adapter to follow: among the adapters that are up and carry a
// description, the one whose IPv4 default route has the lowest metric (route metric plus
// interface metric); with no IPv4 default route on any of them, the same over the IPv6
// ones. Of equal metrics the one followed now (`current`, an interface index) is kept
// while it is among the best, so the choice never flaps; otherwise the lower interface
// index wins. None: no default route (offline).
//
// An adapter without a description is passed over: the settings file names the followed
// adapter by its description, and the sampler finds it by that.
std::optional<std::size_t> ChooseFollowedRow(const std::vector<RouteRow>& routes,
                                             const IfTableBuffer& table,
                                             std::optional<std::uint32_t> current) noexcept;

}  // namespace ripplet
