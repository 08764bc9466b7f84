#pragma once

#include <cstdint>

namespace ripplet {

// The platform behind the sampler: the interface table, one watched interface and the
// millisecond clock. The Win32 shell implements it with GetIfTable, GetIfEntry2 and
// GetTickCount; tests fake it.
class TrafficSource {
 public:
  virtual ~TrafficSource() = default;

  // The size in bytes the table needs now (GetIfTable with no buffer).
  virtual std::uint32_t IfTableSize() = 0;

  // Fills block (size bytes, already zeroed) with the table and returns true. When the
  // block is too small for the table it writes nothing, sets size to the size the table
  // needs and returns false; any other failure returns false and leaves size alone.
  virtual bool FillIfTable(unsigned char* block, std::uint32_t& size) = 0;

  // Watches the interface whose table row carries interface_index (the row's dwIndex),
  // so that ReadWatched can read its counters without the whole table. Returns false when
  // it cannot; the sampler then keeps reading the whole table. A source without a
  // cheaper read than the table's keeps this default.
  virtual bool Watch(std::uint32_t /*interface_index*/) { return false; }

  // The watched interface's octet counters, as the table's row would hold them (the low
  // 32 bits). Returns false, and stops watching, when the interface is gone or is no
  // longer the adapter it was when watched.
  virtual bool ReadWatched(std::uint32_t& /*in_octets*/, std::uint32_t& /*out_octets*/) {
    return false;
  }

  // Milliseconds since system start, wrapping after 2^32 ms.
  virtual std::uint32_t TickCount() = 0;
};

}  // namespace ripplet
