#include "app/frame_rules.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace ripplet {

std::uint8_t OpacityOf(std::int32_t alpha_blend) noexcept {
  const std::int32_t percent = std::clamp<std::int32_t>(alpha_blend, 0, 99);
  return static_cast<std::uint8_t>((100 - percent) * 255 / 100);
}

MinimumSize MinimumTrackSize(int pixels_per_inch) noexcept {
  // The product is formed in integers, then divided in floating point and truncated.
  const auto scale = [pixels_per_inch](int design) {
    const long long product = static_cast<long long>(pixels_per_inch) * design;
    return static_cast<int>(static_cast<double>(product) / 96.0);
  };
  return {scale(96), scale(32)};
}

long LockedHitTest(long code, bool locked) noexcept {
  constexpr long kHtLeft = 10;
  constexpr long kHtNowhere = 0;
  if (locked && static_cast<unsigned long>(code - kHtLeft) < 8) return kHtNowhere;
  return code;
}

SnapResult Snap(int x, int y, int width, int height, const ScreenRect& wa) noexcept {
  if (x == 0 && y == 0) return {x, y};
  const auto near = [](long long a, long long b) { return std::llabs(a - b) < kSnapBuffer; };
  if (near(x, wa.Left)) x = wa.Left;
  if (near(y, wa.Top)) y = wa.Top;
  if (near(static_cast<long long>(x) + width, wa.Right)) x = wa.Right - width;
  if (near(static_cast<long long>(y) + height, wa.Bottom)) y = wa.Bottom - height;
  return {x, y};
}

ScreenRect KeepDocked(const ScreenRect& before, const ScreenRect& suggested,
                      const ScreenRect& wa) noexcept {
  // In 64 bits: hand-edited bounds must not wrap.
  const std::int64_t width = std::int64_t{suggested.Right} - suggested.Left;
  const std::int64_t height = std::int64_t{suggested.Bottom} - suggested.Top;
  std::int64_t x = suggested.Left;
  std::int64_t y = suggested.Top;
  if (before.Left == wa.Left) x = wa.Left;
  if (before.Top == wa.Top) y = wa.Top;
  if (before.Right == wa.Right) x = wa.Right - width;
  if (before.Bottom == wa.Bottom) y = wa.Bottom - height;
  const auto held = [](std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
  };
  return {held(x), held(y), held(x + width), held(y + height)};
}

}  // namespace ripplet
