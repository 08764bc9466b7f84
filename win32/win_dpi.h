// Pixel densities as the system gives them to a window that is told its monitor's density
// (per-monitor aware). The per-monitor functions are found at run time: where they are
// missing, or where this thread is not per-monitor aware, every density is the screen's,
// read once, as the system then scales the window itself.
#pragma once

#include <windows.h>

// Sent from Windows 10 (1703) on; the headers declare it only for newer targets than ours.
#ifndef WM_GETDPISCALEDSIZE
#define WM_GETDPISCALEDSIZE 0x02E4
#endif

namespace ripplet {

// The density the system reports for the screen (LOGPIXELSY of the screen), 96 if none.
int ScreenDensity() noexcept;

// True when windows of this thread are told their monitor's density.
bool PerMonitorAware() noexcept;

// The density of `monitor`, or of the window's monitor; the screen's where not aware.
int MonitorDensity(HMONITOR monitor) noexcept;
int WindowDensity(HWND window) noexcept;

// The outer rectangle around `client` for a window of these styles at `density`: the frame
// as the system draws it at that density (AdjustWindowRectExForDpi), or at the screen's.
RECT OuterRectAt(RECT client, DWORD style, DWORD ex_style, int density) noexcept;

}  // namespace ripplet
