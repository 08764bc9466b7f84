// Where the window goes at start-up when its saved bounds lie off every screen (a monitor
// that is no longer attached): inside the nearest work area, keeping its size.
#pragma once

#include <vector>

#include "app/frame_rules.h"
#include "settings/settings.h"

namespace ripplet {

// `bounds` unchanged when it overlaps at least one work area, or when there is none;
// otherwise moved (not resized) into the work area nearest to it. A window larger than
// that work area keeps its left and top edges on it.
WindowBounds FitIntoWorkAreas(const WindowBounds& bounds,
                              const std::vector<ScreenRect>& work_areas) noexcept;

// `bounds` moved (not resized) so that it lies inside `work_area`, as near as it can; one
// larger than the area keeps its left and top edges on it.
WindowBounds MoveInside(const WindowBounds& bounds, const ScreenRect& work_area) noexcept;

}  // namespace ripplet
