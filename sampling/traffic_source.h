#pragma once

#include <cstdint>

namespace ripplet {

// The platform behind the sampler: the interface table and the millisecond clock.
// The Win32 shell implements it with GetIfTable and GetTickCount; tests fake it.
class TrafficSource {
 public:
  virtual ~TrafficSource() = default;

  // The size in bytes the table needs now (GetIfTable with no buffer).
  virtual std::uint32_t IfTableSize() = 0;

  // Fills block (size bytes, already zeroed) with the table and returns true. When the
  // block is too small for the table it writes nothing, sets size to the size the table
  // needs and returns false; any other failure returns false and leaves size alone.
  virtual bool FillIfTable(unsigned char* block, std::uint32_t& size) = 0;

  // Milliseconds since system start, wrapping after 2^32 ms.
  virtual std::uint32_t TickCount() = 0;
};

}  // namespace ripplet
