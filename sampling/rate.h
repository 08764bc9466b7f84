#pragma once

#include <cstdint>

namespace ripplet {

// Receive and send rate of one tick, in bytes per second. 64-bit so that rates of
// 2^31 B/s and more are shown as they are, neither wrapped nor negative.
struct RatePair {
  std::int64_t Recv = 0;
  std::int64_t Send = 0;
};

// Bytes per second from a 32-bit octet counter read at two ticks. The counter
// growth and the elapsed time are both taken modulo 2^32, so one wrap of either
// is harmless. Exact integer arithmetic, truncated: 2 octets over 1000 ms is 2.
// An elapsed time of 0 gives 0.
std::int64_t RateOf(std::uint32_t current, std::uint32_t previous, std::uint32_t now,
                    std::uint32_t last) noexcept;

}  // namespace ripplet
