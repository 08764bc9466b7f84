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

  // Fills block (size bytes, already zeroed) with the table. A fill that fails,
  // for instance because the table grew since the size query, writes nothing.
  virtual void FillIfTable(unsigned char* block, std::uint32_t size) = 0;

  // Milliseconds since system start, wrapping after 2^32 ms.
  virtual std::uint32_t TickCount() = 0;
};

}  // namespace ripplet
