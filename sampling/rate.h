#pragma once

#include <cstdint>

namespace ripplet {

// Receive and send rate of one tick, in bytes per second. 64-bit so that rates of
// 2^31 B/s and more are shown as they are, neither wrapped nor negative.
struct RatePair {
  std::int64_t Recv = 0;
  std::int64_t Send = 0;
};

// Bytes per second from an octet count grown by `delta` while the millisecond tick went
// from `last` to `now` (taken modulo 2^32, so one wrap of the tick is harmless). Exact
// integer arithmetic, truncated: 2 octets over 1000 ms is 2. An elapsed time of 0 gives 0;
// a rate beyond the 64-bit signed range (more than 9 EB/s) gives the largest rate.
std::int64_t RateOfGrowth(std::uint64_t delta, std::uint32_t now, std::uint32_t last) noexcept;

// The same from a 32-bit counter read at two ticks: its growth is taken modulo 2^32, so
// one wrap of the counter is harmless too.
std::int64_t RateOf(std::uint32_t current, std::uint32_t previous, std::uint32_t now,
                    std::uint32_t last) noexcept;

}  // namespace ripplet
