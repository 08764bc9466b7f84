#include "win32/win_dpi.h"

#include "win32/win_handles.h"
#include "win32/win_system_functions.h"

namespace ripplet {
namespace {

constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI

int Usable(UINT density) noexcept {
  return density > 0 && density < 0x10000 ? static_cast<int>(density) : ScreenDensity();
}

}  // namespace

int ScreenDensity() noexcept {
  static const int density = [] {
    const int ppi = ::GetDeviceCaps(WindowDc(nullptr).get(), LOGPIXELSY);
    return ppi > 0 ? ppi : 96;
  }();
  return density;
}

bool PerMonitorAware() noexcept {
  const SystemFunctions& system = System();
  if (!system.GetThreadDpiAwarenessContext || !system.GetAwarenessFromDpiAwarenessContext) {
    return false;
  }
  return system.GetAwarenessFromDpiAwarenessContext(system.GetThreadDpiAwarenessContext()) ==
         DPI_AWARENESS_PER_MONITOR_AWARE;
}

int MonitorDensity(HMONITOR monitor) noexcept {
  // shcore is loaded only when a density can differ from the screen's.
  if (monitor == nullptr || !PerMonitorAware() || !System().GetDpiForMonitor) {
    return ScreenDensity();
  }
  UINT x = 0;
  UINT y = 0;
  if (FAILED(System().GetDpiForMonitor(monitor, kEffectiveDpi, &x, &y))) return ScreenDensity();
  return Usable(y);
}

int WindowDensity(HWND window) noexcept {
  const SystemFunctions& system = System();
  if (!system.GetDpiForWindow || !PerMonitorAware()) {
    return MonitorDensity(system.MonitorFromWindow
                              ? system.MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)
                              : nullptr);
  }
  return Usable(system.GetDpiForWindow(window));
}

RECT OuterRectAt(RECT client, DWORD style, DWORD ex_style, int density) noexcept {
  // At the screen's density the frame is the one every system has always given.
  if (density == ScreenDensity() || !System().AdjustWindowRectExForDpi ||
      !System().AdjustWindowRectExForDpi(&client, style, FALSE, ex_style,
                                         static_cast<UINT>(density))) {
    ::AdjustWindowRectEx(&client, style, FALSE, ex_style);
  }
  return client;
}

}  // namespace ripplet
