// Hide-on-hover's decision, run once per idle pass: the window hides when the pointer is
// inside the bounds recorded at the previous pass (unless Control is held), and comes back
// once the pointer has left the area the window covered when it hid.
#pragma once

#include "app/frame_rules.h"

namespace ripplet {

class HoverHider {
 public:
  enum class Action { None, Hide, Show };

  struct Pass {
    bool CursorKnown;         // GetCursorPos succeeded
    int X, Y;                 // the pointer in screen coordinates
    bool WindowVisible;       // the program's own visible flag
    ScreenRect WindowBounds;  // the window's current outer bounds
  };

  // control_down is asked only when the window is visible and the pointer inside.
  template <typename ControlDown>
  Action Check(const Pass& pass, ControlDown control_down) {
    if (!pass.CursorKnown) return Action::None;
    const bool inside = Contains(last_bounds_, pass.X, pass.Y);
    if (pass.WindowVisible) {
      last_bounds_ = pass.WindowBounds;
      if (!inside || control_down()) return Action::None;
      return Action::Hide;
    }
    return inside ? Action::None : Action::Show;
  }

  const ScreenRect& LastBounds() const noexcept { return last_bounds_; }

  // PtInRect: the left and top edges are inside, the right and bottom edges outside.
  static bool Contains(const ScreenRect& r, int x, int y) noexcept {
    return r.Left <= x && x < r.Right && r.Top <= y && y < r.Bottom;
  }

 private:
  ScreenRect last_bounds_{};  // empty at start: the first pass never hides
};

}  // namespace ripplet
