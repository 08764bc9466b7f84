#include "sampling/win_traffic_source.h"

#include <algorithm>
#include <cstddef>
#include <cwchar>
#include <iterator>

namespace ripplet {

static_assert(sizeof(NET_LUID) == sizeof(std::uint64_t));
static_assert(std::size(MIB_IF_ROW2{}.Description) == 257);

IpHelperTrafficSource& IpHelperTrafficSource::Bind() noexcept {
  if (bound_) return *this;
  bound_ = true;
  get_if_table_ = functions_.GetIfTable.get();
  get_if_entry2_ = functions_.GetIfEntry2.get();
  index_to_luid_ = functions_.ConvertInterfaceIndexToLuid.get();
  free_mib_table_ = functions_.FreeMibTable.get();
  if (free_mib_table_ != nullptr) {  // no table it could not free
    get_if_table2_ = functions_.GetIfTable2.get();
    get_ip_forward_table2_ = functions_.GetIpForwardTable2.get();
    get_ip_interface_table_ = functions_.GetIpInterfaceTable.get();
  }
  return *this;
}

void IpHelperTrafficSource::ReadIfTable(IfTableBuffer& rows) {
  rows.clear();
  Bind();
  // The table's size rarely changes: the steady state is one call into the block as it is.
  // A table that outgrew the block (or the first read, into none) says the size it needs.
  if (get_if_table_ == nullptr) return;
  auto* table = reinterpret_cast<MIB_IFTABLE*>(table_block_.data());
  auto size = static_cast<ULONG>(table_block_.size());
  DWORD result = get_if_table_(table, &size, FALSE);
  for (int retry = 0; retry < 2 && result == ERROR_INSUFFICIENT_BUFFER; ++retry) {
    table_block_.resize(size);
    table = reinterpret_cast<MIB_IFTABLE*>(table_block_.data());
    result = get_if_table_(table, &size, FALSE);
  }
  const std::size_t header = offsetof(MIB_IFTABLE, table);
  if (result != NO_ERROR || table_block_.size() < header) return;
  // Never a row past the block, whatever the count says.
  rows.resize(std::min<std::size_t>(table->dwNumEntries,
                                    (table_block_.size() - header) / sizeof(MIB_IFROW)));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const MIB_IFROW& from = table->table[i];
    rows[i].Index = from.dwIndex;
    rows[i].InOctets = from.dwInOctets;
    rows[i].OutOctets = from.dwOutOctets;
    rows[i].Up = from.dwOperStatus == IF_OPER_STATUS_CONNECTED ||
                 from.dwOperStatus == IF_OPER_STATUS_OPERATIONAL;
    rows[i].SetDescription(reinterpret_cast<const char*>(from.bDescr), sizeof from.bDescr);
  }
}

bool IpHelperTrafficSource::ReadWideCounters(std::uint32_t interface_index, Octets& octets) {
  found_ = false;
  if (Bind().get_if_table2_ == nullptr) return false;
  MIB_IF_TABLE2* table = nullptr;
  if (get_if_table2_(&table) != NO_ERROR || table == nullptr) {
    return false;
  }
  for (ULONG i = 0; i < table->NumEntries; ++i) {
    const MIB_IF_ROW2& row = table->Table[i];
    if (row.InterfaceIndex != interface_index) continue;
    octets = {row.InOctets, row.OutOctets, true};
    found_ = true;
    found_index_ = interface_index;
    found_luid_ = row.InterfaceLuid.Value;
    break;
  }
  free_mib_table_(table);
  return found_;
}

namespace {

bool ReadRow(decltype(&::GetIfEntry2) get_if_entry2, std::uint64_t luid,
             MIB_IF_ROW2& row) noexcept {
  row = MIB_IF_ROW2{};
  row.InterfaceLuid.Value = luid;
  return get_if_entry2(&row) == NO_ERROR;
}

}  // namespace

bool IpHelperTrafficSource::Watch(std::uint32_t interface_index) {
  watching_ = false;
  if (Bind().get_if_entry2_ == nullptr) return false;
  NET_LUID luid{};
  if (found_ && found_index_ == interface_index) {
    luid.Value = found_luid_;
  } else if (index_to_luid_ == nullptr || index_to_luid_(interface_index, &luid) != NO_ERROR) {
    return false;
  }
  MIB_IF_ROW2 row;
  if (!ReadRow(get_if_entry2_, luid.Value, row) || row.InterfaceIndex != interface_index) {
    return false;
  }
  watching_ = true;
  luid_ = luid.Value;
  std::wmemcpy(description_, row.Description, std::size(description_));
  return true;
}

bool IpHelperTrafficSource::ReadWatched(Octets& octets) {
  // A LUID names an interface, not an adapter: the description tells that the interface
  // still is the adapter it was when watched.
  MIB_IF_ROW2 row;
  watching_ = watching_ && ReadRow(get_if_entry2_, luid_, row) &&
              std::wmemcmp(row.Description, description_, std::size(description_)) == 0;
  if (!watching_) return false;
  octets = {row.InOctets, row.OutOctets, true};
  return true;
}

bool IpHelperTrafficSource::ReadRoutes(std::vector<RouteRow>& routes) {
  routes.clear();
  if (Bind().get_ip_forward_table2_ == nullptr) return false;
  MIB_IPFORWARD_TABLE2* table = nullptr;
  if (get_ip_forward_table2_(AF_UNSPEC, &table) != NO_ERROR || table == nullptr) return false;
  for (ULONG i = 0; i < table->NumEntries; ++i) {
    const MIB_IPFORWARD_ROW2& row = table->Table[i];
    const ADDRESS_FAMILY family = row.DestinationPrefix.Prefix.si_family;
    if (family != AF_INET && family != AF_INET6) continue;
    routes.push_back({row.InterfaceIndex, row.DestinationPrefix.PrefixLength, family == AF_INET6,
                      row.Metric, 0});
  }
  free_mib_table_(table);

  // The interfaces' metrics, where the system tells them (wine does not: they stay 0).
  MIB_IPINTERFACE_TABLE* interfaces = nullptr;
  if (get_ip_interface_table_ != nullptr &&
      get_ip_interface_table_(AF_UNSPEC, &interfaces) == NO_ERROR && interfaces != nullptr) {
    for (ULONG i = 0; i < interfaces->NumEntries; ++i) {
      const MIB_IPINTERFACE_ROW& from = interfaces->Table[i];
      for (RouteRow& route : routes) {
        if (route.InterfaceIndex == from.InterfaceIndex &&
            route.Ipv6 == (from.Family == AF_INET6)) {
          route.InterfaceMetric = from.Metric;
        }
      }
    }
  }
  if (interfaces != nullptr) free_mib_table_(interfaces);
  return true;
}

std::uint32_t IpHelperTrafficSource::TickCount() { return ::GetTickCount(); }

}  // namespace ripplet
