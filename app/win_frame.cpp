#include "app/win_frame.h"

#include <algorithm>
#include <cstdint>

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

ScreenRect WorkAreaAt(const WindowBounds& bounds) noexcept {
  const SystemFunctions& system = System();
  // Edges in 64 bits first: a hand-edited size must not wrap.
  const auto edge = [](std::int64_t v) {
    return static_cast<LONG>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
  };
  const RECT r{bounds.Left, bounds.Top, edge(std::int64_t{bounds.Left} + bounds.Width),
               edge(std::int64_t{bounds.Top} + bounds.Height)};
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  HMONITOR monitor =
      system.MonitorFromRect ? system.MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST) : nullptr;
  RECT area{};
  if (monitor != nullptr && system.GetMonitorInfoW && system.GetMonitorInfoW(monitor, &info)) {
    area = info.rcWork;
  } else {
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  return {area.left, area.top, area.right, area.bottom};
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

void MeterFrame::SetOpacity(HWND window, std::uint8_t alpha) {
  if (alpha == alpha_blend_value_) return;
  alpha_blend_value_ = alpha;
  if (window != nullptr) ApplyOpacity(window, alpha);
}

void MeterFrame::StartMove(HWND window, int x, int y) {
  constexpr WPARAM kMoveByCaption = 0xF012;  // SC_MOVE with the caption hit code 2
  // The press left the capture with us; the platform's move loop needs it released.
  ::ReleaseCapture();
  ::SendMessageW(window, WM_SYSCOMMAND, kMoveByCaption,
                 MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

void MeterFrame::LimitTrackSize(MINMAXINFO& info, int density) noexcept {
  const MinimumSize minimum = MinimumTrackSize(density);
  info.ptMinTrackSize = {minimum.Width, minimum.Height};
}

void MeterFrame::SnapToWorkArea(HWND window, WINDOWPOS& pos) const {
  if (!screen_snap_) return;
  if (pos.x == 0 && pos.y == 0) return;
  RECT current{};
  ::GetWindowRect(window, &current);
  int width = current.right - current.left;
  int height = current.bottom - current.top;
  // A proposal that moves and resizes at once (a change of density, a drag of the left or
  // top edge) ends with its own size: that is the size whose edges must meet the work
  // area's. One that only moves keeps the current size, whatever cx and cy say.
  const bool moves =
      (pos.flags & SWP_NOMOVE) == 0 && (pos.x != current.left || pos.y != current.top);
  const bool resizes = (pos.flags & SWP_NOSIZE) == 0 && (pos.cx != width || pos.cy != height);
  if (moves && resizes) {
    width = pos.cx;
    height = pos.cy;
  }
  const SnapResult snapped = Snap(pos.x, pos.y, width, height, WorkAreaNear(window));
  pos.x = snapped.X;
  pos.y = snapped.Y;
}

void MeterFrame::SetClientHeight(HWND window, int height) {
  RECT outer{};
  RECT client{};
  ::GetWindowRect(window, &outer);
  ::GetClientRect(window, &client);
  // The outer height changes by as much as the client height.
  const int outer_height = (outer.bottom - outer.top) - client.bottom + height;
  ::SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer_height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace ripplet
