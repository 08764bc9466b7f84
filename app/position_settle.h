// The position settle after showing. Under wine with a reparenting X window manager
// (openbox), wine reads the position that an X configure event reports relative to the
// root at the moment it handles the event, not when the event was made. When the window
// manager has meanwhile put the window into its frame, still at 0,0, wine takes 0,0 as the
// window's position although the screen shows it where the program put it; that position
// would then be saved. So for a few seconds after each showing, a move that neither the
// program nor the user made (one that comes while the message loop takes its messages)
// puts the window back where it was shown, once.
//
// Windows never moves a window that it shows: there a move from outside is the user's
// (Win+Arrow, a window-arranging tool) and stays, so the settle does nothing at all. The
// program tells the two apart by asking whether it runs under wine (win32/win_host.h).
#pragma once

#include <windows.h>

#include "win32/win_host.h"

namespace ripplet {

class PositionSettle {
 public:
  // The window's timer that ends the settle; WM_TIMER with this id calls End.
  static constexpr UINT_PTR kTimerId = 3;

  // `undoes_foreign_moves`: whether a move from outside right after showing can be the
  // window manager's placing rather than anybody's choice.
  explicit PositionSettle(bool undoes_foreign_moves = WindowManagerMovesShownWindows()) noexcept
      : undoes_foreign_moves_(undoes_foreign_moves) {}

  // Shows the window with `show_command`, holding the place it is shown at.
  void Show(HWND hwnd, int show_command);

  // WM_WINDOWPOSCHANGED: a move nobody made is undone, at once; a move one of the
  // program's own handlers made (a screen change, a change of density) ends the settle.
  void CheckMove(HWND hwnd, const WINDOWPOS& pos);

  // The user moves or sizes the window from here on, or the time is up.
  void End(HWND hwnd) noexcept;

  bool Pending() const noexcept { return pending_; }

 private:
  POINT position_{0, 0};
  bool undoes_foreign_moves_;
  bool pending_ = false;
  bool showing_ = false;  // inside Show's own ShowWindow
};

}  // namespace ripplet
