// The program's own visible flag and hide-on-hover: while bound, each idle pass hides the
// window when the pointer is over it (unless Control is held) and shows it again once the
// pointer has left; a re-show timer wakes the idle step while the window is hidden.
#pragma once

#include <windows.h>

#include "app/hover_hider.h"
#include "app/position_settle.h"

namespace ripplet {

class HoverHiding {
 public:
  explicit HoverHiding(PositionSettle& settle) noexcept : settle_(settle) {}
  HoverHiding(const HoverHiding&) = delete;
  HoverHiding& operator=(const HoverHiding&) = delete;

  // The program shows the window (at start-up).
  void Show(HWND hwnd);
  bool Visible() const noexcept { return visible_; }

  // Binds the idle step or unbinds it; unbound while hidden, the window is shown at once.
  void Bind(HWND hwnd, bool bind);

 private:
  void Idle(HWND hwnd);
  void Hide(HWND hwnd);
  void ShowAgain(HWND hwnd);

  PositionSettle& settle_;
  HoverHider hider_;
  bool visible_ = false;
  bool shown_once_ = false;
  bool reshow_timer_on_ = false;
};

}  // namespace ripplet
