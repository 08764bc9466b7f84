#include "sampling/rate.h"

#include <limits>

namespace ripplet {

std::int64_t RateOfGrowth(std::uint64_t delta, std::uint32_t now, std::uint32_t last) noexcept {
  const std::uint32_t elapsed = now - last;  // unsigned: wraps modulo 2^32
  if (elapsed == 0) return 0;
  // delta * 1000 / elapsed without overflowing 64 bits: with delta = q * elapsed + r,
  // it is q * 1000 + r * 1000 / elapsed, and r * 1000 < 2^42. No quotient is rounded
  // before the final truncation.
  const std::uint64_t q = delta / elapsed;
  const std::uint64_t r = delta % elapsed;
  constexpr std::uint64_t kMax = std::numeric_limits<std::int64_t>::max();
  if (q > (kMax - 1000) / 1000) return static_cast<std::int64_t>(kMax);
  return static_cast<std::int64_t>(q * 1000 + r * 1000 / elapsed);
}

std::int64_t RateOf(std::uint32_t current, std::uint32_t previous, std::uint32_t now,
                    std::uint32_t last) noexcept {
  return RateOfGrowth(std::uint32_t(current - previous), now, last);
}

}  // namespace ripplet
