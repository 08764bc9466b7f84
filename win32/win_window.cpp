#include "win32/win_window.h"

#include "win32/app_error.h"
#include "win32/win_application.h"

#include <cstring>

namespace ripplet {

Window::~Window() {
  if (hwnd_ != nullptr) {
    // The object goes first: unbind so that no late message reaches a dead object.
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
  }
}

void Window::RegisterClassOnce(const wchar_t* class_name, UINT class_style, HICON icon,
                               HBRUSH background) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (::GetClassInfoExW(instance, class_name, &existing)) return;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.style = class_style;
  wc.lpfnWndProc = &Window::Procedure;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hIconSm = icon;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background;
  wc.lpszClassName = class_name;
  if (!::RegisterClassExW(&wc)) throw AppError(L"ウィンドウ クラスを登録できません");
}

HWND Window::CreateNative(const wchar_t* class_name, const wchar_t* title, DWORD style,
                          DWORD ex_style, int x, int y, int width, int height, HWND owner) {
  HWND hwnd = ::CreateWindowExW(ex_style, class_name, title, style, x, y, width, height, owner,
                                nullptr, ::GetModuleHandleW(nullptr), this);
  if (hwnd == nullptr) throw AppError(L"ウィンドウを作成できません");
  return hwnd;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefaultProcessing(message, wparam, lparam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  auto* self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (self == nullptr) return ::DefWindowProcW(hwnd, message, wparam, lparam);

  LRESULT result = 0;
  try {
    result = self->HandleMessage(message, wparam, lparam);
  } catch (...) {
    ShowCurrentError();
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace ripplet
