#include "sampling/rate.h"

namespace ripplet {

std::int64_t RateOf(std::uint32_t current, std::uint32_t previous, std::uint32_t now,
                    std::uint32_t last) noexcept {
  const std::uint32_t delta = current - previous;  // unsigned: wraps modulo 2^32
  const std::uint32_t elapsed = now - last;
  if (elapsed == 0) return 0;
  // Multiply first: (2^32 - 1) * 1000 fits easily in 64 bits, and no quotient is
  // rounded before the final truncation.
  return static_cast<std::int64_t>(std::uint64_t{delta} * 1000u / elapsed);
}

}  // namespace ripplet
