// The platform side of the borderless frame: translucency, the work areas, and the frame's own
// state (opacity, snap switch, minimum size, the client sizes the window was given).
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "app/frame_rules.h"
#include "app/per_monitor_layout.h"

namespace ripplet {

// SetLayeredWindowAttributes, looked up at run time: where it is missing the window simply
// stays opaque. Returns false then.
bool ApplyOpacity(HWND hwnd, BYTE alpha) noexcept;

// The work area of the monitor nearest to the window, or to the bounds, or of the desktop.
ScreenRect WorkAreaNear(HWND hwnd) noexcept;
ScreenRect WorkAreaAt(const WindowBounds& bounds) noexcept;

// The work area of every monitor attached now (the desktop's alone where the platform
// lists no monitors).
std::vector<ScreenRect> WorkAreas();

class MeterFrame {
 public:
  std::uint8_t AlphaBlendValue() const noexcept { return alpha_blend_value_; }
  bool ScreenSnap() const noexcept { return screen_snap_; }

  // The layered window's opacity; setting the value it already has makes no platform call.
  void SetOpacity(HWND window, std::uint8_t alpha);
  void SetScreenSnap(bool snap) noexcept { screen_snap_ = snap; }

  // A press at (x, y) of the client area starts the platform's move loop.
  static void StartMove(HWND window, int x, int y);
  // WM_GETMINMAXINFO: the minimum tracking size at the window's density.
  static void LimitTrackSize(MINMAXINFO& info, int density) noexcept;
  // WM_WINDOWPOSCHANGING: while the snap switch is on, a move ends at a near work-area edge.
  void SnapToWorkArea(HWND window, WINDOWPOS& pos) const;
  // Sets the client height; the window's left, top and width stay.
  static void SetClientHeight(HWND window, int height);

  // The client size the settings were last applied at: a WM_SIZE of that size is no change.
  void SettingsAppliedAt(SIZE client) noexcept { applied_size_ = client; }
  bool IsAppliedSize(SIZE client) const noexcept {
    return client.cx == applied_size_.cx && client.cy == applied_size_.cy;
  }
  // The client size last given other than by a change of density, with the text height it
  // was given at: a change of density scales from it, so a round trip ends where it began.
  void SizeGiven(const SizedAt& given) noexcept { given_size_ = given; }
  const SizedAt& GivenSize() const noexcept { return given_size_; }

 private:
  std::uint8_t alpha_blend_value_ = 0;  // 255 is applied right after creation
  bool screen_snap_ = false;
  SIZE applied_size_{-1, -1};
  SizedAt given_size_{};
};

}  // namespace ripplet
