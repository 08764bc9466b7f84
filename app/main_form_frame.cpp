// The borderless frame: drag by the graph, the lock, the minimum size, snapping,
// translucency, and hiding while the pointer is over the window.
#include "app/main_form.h"
#include "app/win_frame.h"
#include "win32/app_error.h"
#include "win32/win_application.h"

namespace ripplet {
namespace {

constexpr UINT_PTR kReshowTimerId = 2;
constexpr WPARAM kMoveByCaption = 0xF012;  // SC_MOVE with the caption hit code 2

}  // namespace

void TMainForm::SetOpacity(std::uint8_t alpha) {
  // Setting the value it already has makes no platform call.
  if (alpha == alpha_value_) return;
  alpha_value_ = alpha;
  if (Handle() != nullptr) ApplyOpacity(Handle(), alpha_value_);
}

void TMainForm::GraphImageMouseDown(int x, int y) {
  if (settings_.LockWindow) return;
  // The press left the capture with us; the platform's move loop needs it released.
  ::ReleaseCapture();
  ::SendMessageW(Handle(), WM_SYSCOMMAND, kMoveByCaption,
                 MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

LRESULT TMainForm::FrameHitTest(WPARAM wparam, LPARAM lparam) {
  return LockedHitTest(static_cast<long>(DefaultProcessing(WM_NCHITTEST, wparam, lparam)),
                       settings_.LockWindow);
}

void TMainForm::LimitTrackSize(MINMAXINFO& info) const {
  const MinimumSize minimum = MinimumTrackSize(pixels_per_inch_);
  info.ptMinTrackSize = {minimum.Width, minimum.Height};
}

void TMainForm::SnapToWorkArea(WINDOWPOS& pos) const {
  if (!screen_snap_) return;
  if (pos.x == 0 && pos.y == 0) return;
  RECT current{};
  ::GetWindowRect(Handle(), &current);
  const SnapResult snapped = Snap(pos.x, pos.y, current.right - current.left,
                                  current.bottom - current.top, WorkAreaNear(Handle()));
  pos.x = snapped.X;
  pos.y = snapped.Y;
}

void TMainForm::BindHideOnHover(bool bind) {
  Application* app = Application::Instance();
  if (app == nullptr) return;
  if (bind) {
    app->SetIdleHandler([this] { ApplicationEventsIdle(); });
    return;
  }
  app->SetIdleHandler(nullptr);
  // Unbound while hidden, nothing would ever show the window again: show it now.
  if (!visible_ && Handle() != nullptr && shown_once_) ShowFromHover();
}

void TMainForm::ApplicationEventsIdle() {
  POINT pointer{};
  RECT bounds{};
  const bool cursor_known = ::GetCursorPos(&pointer) != FALSE;
  ::GetWindowRect(Handle(), &bounds);
  const HoverHider::Action action = hover_.Check(
      {cursor_known, pointer.x, pointer.y, visible_,
       {bounds.left, bounds.top, bounds.right, bounds.bottom}},
      [] { return (::GetKeyState(VK_CONTROL) & 0x80) != 0; });
  if (action == HoverHider::Action::Hide) {
    HideForHover();
  } else if (action == HoverHider::Action::Show) {
    ShowFromHover();
  }
}

void TMainForm::HideForHover() {
  visible_ = false;
  ::ShowWindow(Handle(), SW_HIDE);
  if (!reshow_timer_on_) {
    if (::SetTimer(Handle(), kReshowTimerId, 100, nullptr) == 0) {
      throw AppError(L"タイマーを取得できません");
    }
    reshow_timer_on_ = true;
  }
}

void TMainForm::ShowFromHover() {
  if (reshow_timer_on_) {
    ::KillTimer(Handle(), kReshowTimerId);
    reshow_timer_on_ = false;
  }
  visible_ = true;
  MapAtCurrentPosition(SW_SHOWNORMAL);
  ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// Under wine with a reparenting X window manager (openbox), wine reads the position that
// an X configure event reports relative to the root at the moment it handles the event,
// not when the event was made. When the window manager has meanwhile put the window into
// its frame, still at 0,0, wine takes 0,0 as the window's position although the screen
// shows it where the program put it; that position would then be saved. So for a few
// seconds after each showing, a move that neither the program nor the user made (one
// that comes while the message loop takes its messages) puts the window back where it
// was shown, once. On Windows no such move comes.
void TMainForm::MapAtCurrentPosition(int show_command) {
  RECT r{};
  ::GetWindowRect(Handle(), &r);
  settle_position_ = {r.left, r.top};
  settle_pending_ = ::SetTimer(Handle(), kSettleTimerId, 5000, nullptr) != 0;
  ::ShowWindow(Handle(), show_command);
}

void TMainForm::CheckSettledPosition(const WINDOWPOS& pos) {
  if (!settle_pending_ || (pos.flags & SWP_NOMOVE) != 0) return;
  // Only a move that comes while the loop takes its messages, made by no handler.
  const Application* app = Application::Instance();
  if (app == nullptr || !app->RetrievingMessages()) return;
  if (pos.x == settle_position_.x && pos.y == settle_position_.y) return;
  EndPositionSettle();
  // At once rather than posted: a close already queued would otherwise save the stale one.
  ::SetWindowPos(Handle(), nullptr, settle_position_.x, settle_position_.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::EndPositionSettle() noexcept {
  if (!settle_pending_) return;
  settle_pending_ = false;
  ::KillTimer(Handle(), kSettleTimerId);
}

}  // namespace ripplet
