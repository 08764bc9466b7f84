#include "app/hover_hiding.h"

#include "win32/app_error.h"
#include "win32/win_application.h"

namespace ripplet {
namespace {

constexpr UINT_PTR kReshowTimerId = 2;

// Control as the user holds it. The thread's own key state follows only the key messages
// this thread handles, and while another program is in front the key goes there, which is
// where the user's keyboard is when they reach for the meter; the system's asynchronous
// state sees the key wherever it goes.
bool ControlHeld() noexcept {
  return (::GetKeyState(VK_CONTROL) & 0x80) != 0 || (::GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
}

}  // namespace

void HoverHiding::Show(HWND hwnd) {
  visible_ = true;
  shown_once_ = true;
  settle_.Show(hwnd, SW_SHOWNORMAL);
}

void HoverHiding::Bind(HWND hwnd, bool bind) {
  Application* app = Application::Instance();
  if (app == nullptr) return;
  if (bind) {
    app->SetIdleHandler([this, hwnd] { Idle(hwnd); });
    return;
  }
  app->SetIdleHandler(nullptr);
  // Unbound while hidden, nothing would ever show the window again: show it now.
  if (!visible_ && hwnd != nullptr && shown_once_) ShowAgain(hwnd);
}

void HoverHiding::Idle(HWND hwnd) {
  POINT pointer{};
  RECT bounds{};
  const bool cursor_known = ::GetCursorPos(&pointer) != FALSE;
  ::GetWindowRect(hwnd, &bounds);
  const HoverHider::Action action =
      hider_.Check({cursor_known,
                    pointer.x,
                    pointer.y,
                    visible_,
                    {bounds.left, bounds.top, bounds.right, bounds.bottom}},
                   [] { return ControlHeld(); });
  if (action == HoverHider::Action::Hide) {
    Hide(hwnd);
  } else if (action == HoverHider::Action::Show) {
    ShowAgain(hwnd);
  }
}

void HoverHiding::Hide(HWND hwnd) {
  visible_ = false;
  ::ShowWindow(hwnd, SW_HIDE);
  if (!reshow_timer_on_) {
    if (::SetTimer(hwnd, kReshowTimerId, 100, nullptr) == 0) {
      throw AppError(L"タイマーを取得できません");
    }
    reshow_timer_on_ = true;
  }
}

void HoverHiding::ShowAgain(HWND hwnd) {
  if (reshow_timer_on_) {
    ::KillTimer(hwnd, kReshowTimerId);
    reshow_timer_on_ = false;
  }
  visible_ = true;
  settle_.Show(hwnd, SW_SHOWNORMAL);
  ::SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

}  // namespace ripplet
