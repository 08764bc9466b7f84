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
  settle_.Show(Handle(), SW_SHOWNORMAL);
  ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace ripplet
