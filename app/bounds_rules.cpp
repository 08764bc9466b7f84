#include "app/bounds_rules.h"

#include <algorithm>
#include <cstdint>

namespace ripplet {
namespace {

// Edges in 64 bits: a hand-edited Left of 2147483647 plus any width must not overflow.
struct Span {
  std::int64_t Low, High;
};

std::int64_t Gap(Span a, Span b) noexcept {
  if (a.High <= b.Low) return b.Low - a.High;
  if (b.High <= a.Low) return a.Low - b.High;
  return 0;
}

// Wide enough for the squared distance between any two rectangles of 32-bit edges.
using Distance = unsigned __int128;

bool Overlaps(Span a, Span b) noexcept { return a.Low < b.High && b.Low < a.High; }

// The start that puts a span of `length` inside `area`, as close to `start` as it can.
std::int64_t Inside(std::int64_t start, std::int64_t length, Span area) noexcept {
  return std::max(area.Low, std::min(start, area.High - length));
}

}  // namespace

WindowBounds FitIntoWorkAreas(const WindowBounds& bounds,
                              const std::vector<ScreenRect>& work_areas) noexcept {
  // A negative size (hand-edited) counts as empty for the overlap test.
  const std::int64_t width = std::max<std::int32_t>(bounds.Width, 0);
  const std::int64_t height = std::max<std::int32_t>(bounds.Height, 0);
  const Span x{bounds.Left, bounds.Left + std::max<std::int64_t>(width, 1)};
  const Span y{bounds.Top, bounds.Top + std::max<std::int64_t>(height, 1)};

  const ScreenRect* nearest = nullptr;
  Distance nearest_distance = 0;
  for (const ScreenRect& area : work_areas) {
    const Span ax{area.Left, area.Right};
    const Span ay{area.Top, area.Bottom};
    if (Overlaps(x, ax) && Overlaps(y, ay)) return bounds;  // partly visible: it stays
    // Squared distance between the rectangles: each gap is below 2^33 for 32-bit edges, so
    // the sum of the squares needs more than 64 bits.
    const auto dx = static_cast<Distance>(Gap(x, ax));
    const auto dy = static_cast<Distance>(Gap(y, ay));
    const Distance distance = dx * dx + dy * dy;
    if (nearest == nullptr || distance < nearest_distance) {
      nearest = &area;
      nearest_distance = distance;
    }
  }
  if (nearest == nullptr) return bounds;

  WindowBounds fitted = bounds;
  fitted.Left =
      static_cast<std::int32_t>(Inside(bounds.Left, width, {nearest->Left, nearest->Right}));
  fitted.Top =
      static_cast<std::int32_t>(Inside(bounds.Top, height, {nearest->Top, nearest->Bottom}));
  return fitted;
}

WindowBounds MoveInside(const WindowBounds& bounds, const ScreenRect& work_area) noexcept {
  WindowBounds moved = bounds;
  moved.Left = static_cast<std::int32_t>(Inside(
      bounds.Left, std::max<std::int32_t>(bounds.Width, 0), {work_area.Left, work_area.Right}));
  moved.Top = static_cast<std::int32_t>(Inside(bounds.Top, std::max<std::int32_t>(bounds.Height, 0),
                                               {work_area.Top, work_area.Bottom}));
  return moved;
}

}  // namespace ripplet
