#include "win32/win_application.h"

#include <cstring>

#include "win32/app_error.h"
#include "win32/topmost_step.h"

namespace ripplet {
namespace {

constexpr wchar_t kClassName[] = L"TApplication";
Application* g_instance = nullptr;

}  // namespace

Application::Application(std::wstring title) : title_(std::move(title)) {
  RegisterClassOnce(kClassName, 0, ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)),
                    nullptr);
  // A zero-size captioned pop-up at the centre of the screen; it is never shown.
  const int cx = ::GetSystemMetrics(SM_CXSCREEN) / 2;
  const int cy = ::GetSystemMetrics(SM_CYSCREEN) / 2;
  CreateNative(kClassName, title_.c_str(),
               WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, cx, cy, 0,
               0, nullptr);
  g_instance = this;
}

Application::~Application() {
  if (g_instance == this) g_instance = nullptr;
}

Application* Application::Instance() noexcept { return g_instance; }

void Application::MakeTopmost() noexcept {
  ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Application::RunIdle() {
  if (!idle_) return;
  try {
    idle_();
  } catch (...) {
    ShowCurrentError();
  }
}

int Application::RunMessageLoop() {
  MSG msg;
  for (;;) {
    // Window procedures catch their own errors; this catches what escapes anything else
    // the loop runs, so that no error ends the program.
    try {
      if (!idle_) {
        // Nothing to run when the queue is empty: one call waits for the next message and
        // takes it, as cheap as a loop can be (a meter that ticks all day pays for every
        // look at the queue).
        if (!Wait(&msg)) return static_cast<int>(msg.wParam);
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
        continue;
      }
      while (Retrieve(&msg)) {
        if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      RunIdle();
    } catch (...) {
      ShowCurrentError();
    }
    if (!idle_) continue;
    retrieving_ = true;
    ::WaitMessage();
    retrieving_ = false;
  }
}

bool Application::Wait(MSG* msg) noexcept {
  retrieving_ = true;
  const BOOL got = ::GetMessageW(msg, nullptr, 0, 0);
  retrieving_ = false;
  if (got == -1) msg->wParam = 0;  // cannot happen with no window named; ends the loop
  return got > 0;
}

bool Application::Retrieve(MSG* msg) noexcept {
  retrieving_ = true;
  // No yield when the queue is empty: the loop runs the idle step and waits next.
  const bool got = ::PeekMessageW(msg, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD) != FALSE;
  retrieving_ = false;
  return got;
}

LRESULT Application::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      // Closing the application means closing the main window, which saves the settings.
      if (main_window_ != nullptr) ::SendMessageW(main_window_, WM_CLOSE, 0, 0);
      return 0;
    case WM_ENABLE:
    case WM_ACTIVATEAPP:
      // WM_ENABLE FALSE / WM_ACTIVATEAPP FALSE step down; TRUE restores. Only the outermost
      // of nested occurrences acts.
      if (wparam == FALSE) {
        if (topmost_nesting_++ == 0) StepDownOwnedTopmost(message == WM_ACTIVATEAPP);
      } else if (topmost_nesting_ > 0 && --topmost_nesting_ == 0) {
        RestoreOwnedTopmost();
      }
      return DefaultProcessing(message, wparam, lparam);
    case WM_QUERYENDSESSION:
      if (main_window_ != nullptr) return ::SendMessageW(main_window_, message, wparam, lparam);
      return TRUE;
    default:
      return DefaultProcessing(message, wparam, lparam);
  }
}

bool Application::OwnsWindow(HWND hwnd) const noexcept {
  // Dialogs belong to the main window, which belongs to this one: follow the chain.
  for (HWND owner = ::GetWindow(hwnd, GW_OWNER); owner != nullptr;
       owner = ::GetWindow(owner, GW_OWNER)) {
    if (owner == Handle()) return true;
  }
  return false;
}

void Application::StepDownOwnedTopmost(bool stop_at_main_window) {
  struct Walk {
    const Application* self;
    std::vector<HWND> windows;
    std::vector<ZOrderWindow> z_order;
  } walk{this, {}, {}};
  // Top-level windows in z-order from the top.
  ::EnumWindows(
      [](HWND hwnd, LPARAM lparam) -> BOOL {
        auto& w = *reinterpret_cast<Walk*>(lparam);
        w.windows.push_back(hwnd);
        w.z_order.push_back({w.self->OwnsWindow(hwnd),
                             (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0,
                             hwnd == w.self->main_window_});
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&walk));
  const StepDownPlan plan = PlanStepDown(walk.z_order, stop_at_main_window);
  if (plan.Collected.empty()) return;
  const HWND reference = plan.Reference ? walk.windows[*plan.Reference] : Handle();
  HWND after = ::GetWindow(reference, GW_HWNDPREV);
  if (after == nullptr || (::GetWindowLongPtrW(after, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) {
    after = HWND_NOTOPMOST;
  }
  stepped_down_.clear();
  for (std::size_t index : plan.Collected) stepped_down_.push_back(walk.windows[index]);
  for (auto it = stepped_down_.rbegin(); it != stepped_down_.rend(); ++it) {
    ::SetWindowPos(*it, after, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
}

void Application::RestoreOwnedTopmost() {
  for (auto it = stepped_down_.rbegin(); it != stepped_down_.rend(); ++it) {
    if (::IsWindow(*it)) {
      ::SetWindowPos(*it, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    }
  }
  stepped_down_.clear();
}

void ShowCurrentError() noexcept {
  try {
    throw;
  } catch (const AppError& error) {
    ShowApplicationError(error.Text());
  } catch (const std::exception& error) {
    const char* what = error.what();
    ShowApplicationError(L"内部エラー: " + std::wstring(what, what + std::strlen(what)));
  } catch (...) {
    ShowApplicationError(L"内部エラー");
  }
}

void ShowApplicationError(const std::wstring& text) noexcept {
  try {
    const Application* app = Application::Instance();
    const std::wstring message = WithClosingPeriod(text);
    ::MessageBoxW(app ? app->Handle() : nullptr, message.c_str(),
                  app ? app->Title().c_str() : L"Ripplet", MB_ICONERROR | MB_OK);
  } catch (...) {
    // Out of memory while reporting an error: nothing more can be said.
  }
}

}  // namespace ripplet
