#include "app/position_settle.h"

#include "win32/win_application.h"

namespace ripplet {

void PositionSettle::Show(HWND hwnd, int show_command) {
  if (undoes_foreign_moves_) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    position_ = {r.left, r.top};
    pending_ = ::SetTimer(hwnd, kTimerId, 5000, nullptr) != 0;
  }
  showing_ = true;
  ::ShowWindow(hwnd, show_command);
  showing_ = false;
}

void PositionSettle::CheckMove(HWND hwnd, const WINDOWPOS& pos) {
  if (!pending_ || showing_ || (pos.flags & SWP_NOMOVE) != 0) return;
  if (pos.x == position_.x && pos.y == position_.y) return;
  // A move that comes while no message is being taken was made by a handler of ours. (The
  // handlers that run for a sent message, inside the taking, end the settle themselves
  // before they move the window.)
  const Application* app = Application::Instance();
  const bool from_outside = app != nullptr && app->RetrievingMessages();
  End(hwnd);
  if (!from_outside) return;
  // At once rather than posted: a close already queued would otherwise save the stale one.
  ::SetWindowPos(hwnd, nullptr, position_.x, position_.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PositionSettle::End(HWND hwnd) noexcept {
  if (!pending_) return;
  pending_ = false;
  ::KillTimer(hwnd, kTimerId);
}

}  // namespace ripplet
