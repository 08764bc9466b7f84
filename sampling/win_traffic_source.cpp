#include "sampling/win_traffic_source.h"

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
#include <netioapi.h>
// clang-format on

#include <cstddef>
#include <cwchar>
#include <iterator>

#include "sampling/if_table.h"

namespace ripplet {

// The plain table view reads the platform's published layout; keep the two in step.
static_assert(sizeof(MIB_IFROW) == kIfRowSize);
static_assert(offsetof(MIB_IFTABLE, table) == kIfTableRowsOffset);
static_assert(offsetof(MIB_IFROW, dwIndex) == kIfRowIndexOffset);
static_assert(offsetof(MIB_IFROW, dwInOctets) == kIfRowInOctetsOffset);
static_assert(offsetof(MIB_IFROW, dwOutOctets) == kIfRowOutOctetsOffset);
static_assert(offsetof(MIB_IFROW, bDescr) == kIfRowDescrOffset);

std::uint32_t IpHelperTrafficSource::IfTableSize() {
  ULONG size = 0;
  ::GetIfTable(nullptr, &size, FALSE);
  return size;
}

bool IpHelperTrafficSource::FillIfTable(unsigned char* block, std::uint32_t& size) {
  ULONG s = size;
  const DWORD result = ::GetIfTable(reinterpret_cast<MIB_IFTABLE*>(block), &s, FALSE);
  if (result == ERROR_INSUFFICIENT_BUFFER) size = s;
  return result == NO_ERROR;
}

static_assert(sizeof(NET_LUID) == sizeof(std::uint64_t));
static_assert(std::size(MIB_IF_ROW2{}.Description) == 257);

namespace {

bool ReadRow(std::uint64_t luid, MIB_IF_ROW2& row) noexcept {
  row = MIB_IF_ROW2{};
  row.InterfaceLuid.Value = luid;
  return ::GetIfEntry2(&row) == NO_ERROR;
}

}  // namespace

bool IpHelperTrafficSource::Watch(std::uint32_t interface_index) {
  NET_LUID luid{};
  MIB_IF_ROW2 row;
  watching_ = ::ConvertInterfaceIndexToLuid(interface_index, &luid) == NO_ERROR &&
              ReadRow(luid.Value, row);
  if (!watching_) return false;
  luid_ = luid.Value;
  std::wmemcpy(description_, row.Description, std::size(description_));
  return true;
}

bool IpHelperTrafficSource::ReadWatched(std::uint32_t& in_octets, std::uint32_t& out_octets) {
  // A LUID names an interface, not an adapter: the description tells that the interface
  // still is the adapter it was when watched.
  MIB_IF_ROW2 row;
  watching_ = watching_ && ReadRow(luid_, row) &&
              std::wmemcmp(row.Description, description_, std::size(description_)) == 0;
  if (!watching_) return false;
  // The table's row holds the low 32 bits of the same counters.
  in_octets = static_cast<std::uint32_t>(row.InOctets);
  out_octets = static_cast<std::uint32_t>(row.OutOctets);
  return true;
}

std::uint32_t IpHelperTrafficSource::TickCount() { return ::GetTickCount(); }

}  // namespace ripplet
