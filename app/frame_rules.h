// The borderless frame's arithmetic: opacity, minimum size, the lock's hit test, snapping.
#pragma once

#include <cstdint>

namespace ripplet {

struct ScreenRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

// The layered window's alpha from the transparency percentage. A value outside 0 to 99
// can only come from a hand-edited file and is clamped first, so the window never becomes
// invisible and click-through (100) nor wraps to nearly invisible (-1).
std::uint8_t OpacityOf(std::int32_t alpha_blend) noexcept;

// The smallest outer size, 96 x 32 at 96 pixels per inch, truncated at other densities.
struct MinimumSize {
  int Width, Height;
};
MinimumSize MinimumTrackSize(int pixels_per_inch) noexcept;

// While locked, the sizing frame's codes (HTLEFT 10 to HTBOTTOMRIGHT 17) become HTNOWHERE.
long LockedHitTest(long code, bool locked) noexcept;

// Snaps a proposed position to the work area's edges within 15 pixels; right and bottom
// win over left and top. (0, 0) is never snapped. Width and height are the current ones.
struct SnapResult {
  int X, Y;
};
constexpr int kSnapBuffer = 16;
SnapResult Snap(int x, int y, int width, int height, const ScreenRect& work_area) noexcept;

// A change of density on the same monitor: the new size at the suggested place, with each
// edge that lay flush with the work area before lying flush again (right and bottom win, as
// in snapping), so a docked meter stays docked as it grows or shrinks.
ScreenRect KeepDocked(const ScreenRect& before, const ScreenRect& suggested,
                      const ScreenRect& work_area) noexcept;

}  // namespace ripplet
