#include "app/win_frame.h"

namespace ripplet {
namespace {

using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

SetLayeredWindowAttributesFn LayeredFunction() noexcept {
  static const auto fn = [] {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<SetLayeredWindowAttributesFn>(reinterpret_cast<void*>(
                        ::GetProcAddress(user32, "SetLayeredWindowAttributes")))
                  : nullptr;
  }();
  return fn;
}

}  // namespace

bool ApplyOpacity(HWND hwnd, BYTE alpha) noexcept {
  const SetLayeredWindowAttributesFn set_layered = LayeredFunction();
  if (set_layered == nullptr) return false;
  const LONG_PTR ex_style = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  if ((ex_style & WS_EX_LAYERED) == 0) {
    ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ex_style | WS_EX_LAYERED);
  }
  return set_layered(hwnd, 0, alpha, LWA_ALPHA) != FALSE;
}

ScreenRect WorkAreaNear(HWND hwnd) noexcept {
  RECT r{};
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  HMONITOR monitor = ::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
  if (monitor != nullptr && ::GetMonitorInfoW(monitor, &info)) {
    r = info.rcWork;
  } else {
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  }
  return {r.left, r.top, r.right, r.bottom};
}

std::vector<ScreenRect> WorkAreas() {
  std::vector<ScreenRect> areas;
  ::EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (::GetMonitorInfoW(monitor, &info)) {
          const RECT& r = info.rcWork;
          reinterpret_cast<std::vector<ScreenRect>*>(data)->push_back(
              {r.left, r.top, r.right, r.bottom});
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&areas));
  if (areas.empty()) {
    RECT r{};
    if (::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0)) {
      areas.push_back({r.left, r.top, r.right, r.bottom});
    }
  }
  return areas;
}

}  // namespace ripplet
