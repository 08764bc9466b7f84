#include "win32/win_dialog.h"

#include <utility>

#include "win32/app_error.h"
#include "win32/win_application.h"

namespace ripplet {

Dialog::~Dialog() { DestroyDialog(); }

void Dialog::DestroyDialog() noexcept {
  if (hwnd_ == nullptr) return;
  // Unbind first, so that no message of the dying window reaches a handler.
  HWND hwnd = std::exchange(hwnd_, nullptr);
  ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
  ::DestroyWindow(hwnd);
}

void Dialog::CreateFromTemplate(int template_id, HWND owner, const wchar_t* failure_text) {
  owner_ = owner;
  HWND hwnd = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_id),
                                   owner, &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
  if (create_error_) {
    // The initialisation failed: the half-filled dialog goes, the error goes to the caller.
    if (hwnd != nullptr) {
      ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
      ::DestroyWindow(hwnd);
    }
    hwnd_ = nullptr;
    std::rethrow_exception(std::exchange(create_error_, nullptr));
  }
  if (hwnd == nullptr) throw AppError(failure_text);
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lparam);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
  } else {
    self = reinterpret_cast<Dialog*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (self == nullptr) return FALSE;

  INT_PTR result = FALSE;
  try {
    result = self->HandleMessage(message, wparam, lparam);
  } catch (...) {
    if (message == WM_INITDIALOG) {
      self->create_error_ = std::current_exception();
    } else {
      ShowCurrentError();
    }
  }
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
    self->Detached();
  }
  return result;
}

}  // namespace ripplet
