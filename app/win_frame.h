// The platform side of the borderless frame: translucency and the work area to snap to.
#pragma once

#include <windows.h>

#include <vector>

#include "app/frame_rules.h"

namespace ripplet {

// SetLayeredWindowAttributes, looked up at run time: where it is missing the window simply
// stays opaque. Returns false then.
bool ApplyOpacity(HWND hwnd, BYTE alpha) noexcept;

// The work area of the monitor nearest to the window, or of the desktop.
ScreenRect WorkAreaNear(HWND hwnd) noexcept;

// The work area of every monitor attached now (the desktop's alone where the platform
// lists no monitors).
std::vector<ScreenRect> WorkAreas();

}  // namespace ripplet
