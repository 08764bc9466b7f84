// One small window base: a C++ object per HWND, bound on WM_NCCREATE through
// GWLP_USERDATA and unbound on WM_NCDESTROY.
#pragma once

#include <windows.h>

namespace ripplet {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Handle() const noexcept { return hwnd_; }

 protected:
  // Registers (once) a window class whose procedure dispatches to HandleMessage.
  static void RegisterClassOnce(const wchar_t* class_name, UINT class_style, HICON icon,
                                HBRUSH background);
  // Creates the native window bound to this object.
  HWND CreateNative(const wchar_t* class_name, const wchar_t* title, DWORD style, DWORD ex_style,
                    int x, int y, int width, int height, HWND owner);

  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT DefaultProcessing(UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    return ::DefWindowProcW(hwnd_, message, wparam, lparam);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
  HWND hwnd_ = nullptr;
};

// The size of a window's client area.
inline SIZE ClientSize(HWND window) noexcept {
  RECT client{};
  ::GetClientRect(window, &client);
  return {client.right, client.bottom};
}

}  // namespace ripplet
