#include "sampling/route_choice.h"

namespace ripplet {
namespace {

struct Best {
  std::size_t Row = 0;
  std::uint64_t Metric = 0;  // the two 32-bit metrics' sum: no overflow
  std::uint32_t InterfaceIndex = 0;
  bool HoldsCurrent = false;
};

std::optional<std::size_t> RowOf(const IfTableBuffer& table, std::uint32_t interface_index) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].Index == interface_index) return i;
  }
  return std::nullopt;
}

std::optional<std::size_t> ChooseInFamily(const std::vector<RouteRow>& routes,
                                          const IfTableBuffer& table, bool ipv6,
                                          std::optional<std::uint32_t> current) {
  std::optional<Best> best;
  for (const RouteRow& route : routes) {
    if (route.PrefixLength != 0 || route.Ipv6 != ipv6) continue;
    const auto row = RowOf(table, route.InterfaceIndex);
    if (!row || !table[*row].Up || table[*row].Description().empty()) continue;
    const Best candidate{*row,
                         std::uint64_t{route.RouteMetric} + std::uint64_t{route.InterfaceMetric},
                         route.InterfaceIndex, current == route.InterfaceIndex};
    const bool better =
        !best || candidate.Metric < best->Metric ||
        (candidate.Metric == best->Metric && !best->HoldsCurrent &&
         (candidate.HoldsCurrent || candidate.InterfaceIndex < best->InterfaceIndex));
    if (better) best = candidate;
  }
  if (!best) return std::nullopt;
  return best->Row;
}

}  // namespace

std::optional<std::size_t> ChooseFollowedRow(const std::vector<RouteRow>& routes,
                                             const IfTableBuffer& table,
                                             std::optional<std::uint32_t> current) noexcept {
  if (const auto row = ChooseInFamily(routes, table, false, current)) return row;
  return ChooseInFamily(routes, table, true, current);
}

}  // namespace ripplet
