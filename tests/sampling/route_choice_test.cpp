#include "sampling/route_choice.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/sampling/fake_traffic_source.h"

namespace ripplet {
namespace {

using testing::ToRows;

RouteRow Default(std::uint32_t interface_index, std::uint32_t metric,
                 std::uint32_t interface_metric = 0, bool ipv6 = false) {
  return {interface_index, 0, ipv6, metric, interface_metric};
}

// Interfaces 1 lo, 2 Ethernet, 3 Wi-Fi, 4 VPN, 5 an adapter without a description.
IfTableBuffer Adapters() { return ToRows({{"lo"}, {"Ethernet"}, {"Wi-Fi"}, {"VPN"}, {""}}); }

TEST(RouteChoice, FollowsTheLowestSumOfRouteAndInterfaceMetricOneAdapterOnly) {
  const IfTableBuffer table = Adapters();
  // Ethernet's route is cheaper, its interface dearer: the sum decides (Wi-Fi 25 + 10).
  EXPECT_EQ(ChooseFollowedRow({Default(2, 5, 35), Default(3, 25, 10)}, table, std::nullopt), 2u);
  // A VPN holding the cheapest default route is followed; routes that are no default
  // route (a prefix of 24) never count, however low their metric.
  EXPECT_EQ(
      ChooseFollowedRow({Default(2, 20), Default(4, 1), {3, 24, false, 0, 0}}, table, std::nullopt),
      3u);
  // IPv4 first: the IPv6 default route counts only when no IPv4 one is there.
  EXPECT_EQ(ChooseFollowedRow({Default(2, 50), Default(3, 1, 0, true)}, table, std::nullopt), 1u);
  EXPECT_EQ(ChooseFollowedRow({Default(3, 1, 0, true), {2, 24, false, 0, 0}}, table, std::nullopt),
            2u);
  // Metrics at their 32-bit limit add up without wrapping to a low sum.
  EXPECT_EQ(ChooseFollowedRow({Default(2, 0xFFFFFFFFu, 0xFFFFFFFFu), Default(3, 7, 7)}, table,
                              std::nullopt),
            2u);
}

TEST(RouteChoice, OfflineUnknownDownAndUndescribedAdaptersGiveNone) {
  IfTableBuffer table = Adapters();
  EXPECT_FALSE(ChooseFollowedRow({}, table, 2u).has_value());  // no route at all: offline
  // Only subnet routes, a route of an interface that is not in the table, one of an
  // adapter without a description: none to follow.
  EXPECT_FALSE(
      ChooseFollowedRow({{2, 24, false, 0, 0}, Default(9, 1), Default(5, 1)}, table, std::nullopt)
          .has_value());
  // An adapter that is down is passed over for the next best route.
  table[1].Up = false;
  EXPECT_EQ(ChooseFollowedRow({Default(2, 1), Default(3, 10)}, table, 2u), 2u);
  EXPECT_FALSE(ChooseFollowedRow({}, IfTableBuffer{}, std::nullopt).has_value());
}

TEST(RouteChoice, EqualMetricsKeepTheCurrentAdapterElseTheLowerInterfaceIndex) {
  const IfTableBuffer table = Adapters();
  const std::vector<RouteRow> tie = {Default(3, 10), Default(2, 10)};
  EXPECT_EQ(ChooseFollowedRow(tie, table, std::nullopt), 1u);  // interface 2 < 3
  EXPECT_EQ(ChooseFollowedRow(tie, table, 3u), 2u);            // no flapping away from 3
  EXPECT_EQ(ChooseFollowedRow(tie, table, 4u), 1u);            // current not among the best
  // The current one is left once another is strictly better.
  EXPECT_EQ(ChooseFollowedRow({Default(3, 10), Default(2, 9)}, table, 3u), 1u);
  // The current one among several equal best, listed last: still kept.
  EXPECT_EQ(ChooseFollowedRow({Default(2, 10), Default(4, 10), Default(3, 10)}, table, 3u), 2u);
}

}  // namespace
}  // namespace ripplet
