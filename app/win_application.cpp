#include "app/win_application.h"

#include "app/app_error.h"

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
               WS_POPUP | WS_CLIPSIBLINGS | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, cx, cy,
               0, 0, nullptr);
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
  } catch (const AppError& error) {
    ShowApplicationError(error.Text());
  }
}

int Application::RunMessageLoop() {
  MSG msg;
  for (;;) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    RunIdle();
    ::WaitMessage();
  }
}

LRESULT Application::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CLOSE:
      // Closing the application means closing the main window, which saves the settings.
      if (main_window_ != nullptr) ::SendMessageW(main_window_, WM_CLOSE, 0, 0);
      return 0;
    case WM_QUERYENDSESSION:
      if (main_window_ != nullptr) return ::SendMessageW(main_window_, message, wparam, lparam);
      return TRUE;
    default:
      return DefaultProcessing(message, wparam, lparam);
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
