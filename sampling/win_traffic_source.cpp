#include "sampling/win_traffic_source.h"

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
// clang-format on

#include <cstddef>

#include "sampling/if_table.h"

namespace ripplet {

// The plain table view reads the platform's published layout; keep the two in step.
static_assert(sizeof(MIB_IFROW) == kIfRowSize);
static_assert(offsetof(MIB_IFTABLE, table) == kIfTableRowsOffset);
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

std::uint32_t IpHelperTrafficSource::TickCount() { return ::GetTickCount(); }

}  // namespace ripplet
