#include "app/position_settle.h"

#include "win32/win_application.h"

namespace ripplet {

void PositionSettle::Show(HWND hwnd, int show_command) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  position_ = {r.left, r.top};
  pending_ = ::SetTimer(hwnd, kTimerId, 5000, nullptr) != 0;
  ::ShowWindow(hwnd, show_command);
}

void PositionSettle::CheckMove(HWND hwnd, const WINDOWPOS& pos) {
  if (!pending_ || (pos.flags & SWP_NOMOVE) != 0) return;
  // Only a move that comes while the loop takes its messages, made by no handler.
  const Application* app = Application::Instance();
  if (app == nullptr || !app->RetrievingMessages()) return;
  if (pos.x == position_.x && pos.y == position_.y) return;
  End(hwnd);
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
