// One small dialog base: an .rc template bound to a C++ object on WM_INITDIALOG and
// unbound on WM_NCDESTROY. An error raised while the dialog initialises is raised again by
// CreateFromTemplate, after the half-made dialog is gone; one raised later is shown in the
// application's error box and the dialog goes on.
#pragma once

#include <windows.h>

#include <exception>

namespace ripplet {

class Dialog {
 public:
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  HWND Handle() const noexcept { return hwnd_; }

 protected:
  Dialog() = default;
  virtual ~Dialog();

  // Creates the dialog, hidden, from template `template_id` over `owner`; throws the
  // initialisation's error, or AppError(failure_text) when the platform refuses.
  void CreateFromTemplate(int template_id, HWND owner, const wchar_t* failure_text);
  // Unbinds and destroys the window; derived destructors call it first, so that what the
  // window uses (fonts, icons) outlives it.
  void DestroyDialog() noexcept;

  virtual INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) = 0;
  // The window is gone (WM_NCDESTROY): forget handles that died with it.
  virtual void Detached() noexcept {}

  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
  std::exception_ptr create_error_;
};

}  // namespace ripplet
