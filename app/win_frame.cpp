#include "app/win_frame.h"

#include "win32/win_system_functions.h"

namespace ripplet {

bool ApplyOpacity(HWND hwnd, BYTE alpha) noexcept {
  const auto set_layered = System().SetLayeredWindowAttributes.get();
  if (set_layered == nullptr) return false;
  const LONG_PTR ex_style = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  if ((ex_style & WS_EX_LAYERED) == 0) {
    ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex_style | WS_EX_LAYERED);
  }
  return set_layered(hwnd, 0, alpha, LWA_ALPHA) != FALSE;
}

ScreenRect WorkAreaNear(HWND hwnd) noexcept {
  const SystemFunctions& system = System();
  RECT r{};
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  // A system without the multi-monitor calls has one screen: its work area.
  HMONITOR monitor =
      system.MonitorFromWindow ? system.MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST) : nullptr;
  if (monitor != nullptr && system.GetMonitorInfoW && system.GetMonitorInfoW(monitor, &info)) {
    r = info.rcWork;
  } else {
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  }
  return {r.left, r.top, r.right, r.bottom};
}

std::vector<ScreenRect> WorkAreas() {
  std::vector<ScreenRect> areas;
  if (System().EnumDisplayMonitors && System().GetMonitorInfoW) {
    System().EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
          MONITORINFO info{};
          info.cbSize = sizeof(info);
          if (System().GetMonitorInfoW(monitor, &info)) {
            const RECT& r = info.rcWork;
            reinterpret_cast<std::vector<ScreenRect>*>(data)->push_back(
                {r.left, r.top, r.right, r.bottom});
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&areas));
  }
  if (areas.empty()) {
    RECT r{};
    if (::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) {
      areas.push_back({r.left, r.top, r.right, r.bottom});
    }
  }
  return areas;
}

}  // namespace ripplet
