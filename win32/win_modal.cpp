#include "win32/win_modal.h"

#include "win32/win_application.h"

namespace ripplet {
namespace {

constexpr wchar_t kResultProperty[] = L"RippletModalResult";
constexpr wchar_t kDoneProperty[] = L"RippletModalDone";

}  // namespace

void EndModal(HWND dialog, INT_PTR result) {
  ::SetPropW(dialog, kResultProperty, reinterpret_cast<HANDLE>(result));
  ::SetPropW(dialog, kDoneProperty, reinterpret_cast<HANDLE>(1));
  ::PostMessageW(dialog, WM_NULL, 0, 0);  // wake the loop
}

INT_PTR RunModal(HWND dialog, HWND owner) {
  const bool owner_was_enabled = owner != nullptr && ::IsWindowEnabled(owner);
  if (owner_was_enabled) ::EnableWindow(owner, FALSE);
  ::ShowWindow(dialog, SW_SHOW);

  INT_PTR result = IDCANCEL;
  MSG msg;
  bool quit = false;
  int quit_code = 0;
  while (::IsWindow(dialog) && ::GetPropW(dialog, kDoneProperty) == nullptr) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quit = true;
        quit_code = static_cast<int>(msg.wParam);
        break;
      }
      if (!::IsDialogMessageW(dialog, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      if (!::IsWindow(dialog) || ::GetPropW(dialog, kDoneProperty) != nullptr) break;
    }
    if (quit || !::IsWindow(dialog) || ::GetPropW(dialog, kDoneProperty) != nullptr) break;
    if (Application* app = Application::Instance()) app->RunIdle();
    ::WaitMessage();
  }
  if (::IsWindow(dialog)) {
    result = reinterpret_cast<INT_PTR>(::GetPropW(dialog, kResultProperty));
    ::RemovePropW(dialog, kResultProperty);
    ::RemovePropW(dialog, kDoneProperty);
  }
  // Re-enable the owner before the dialog goes, so activation returns to it.
  if (owner_was_enabled) ::EnableWindow(owner, TRUE);
  if (::IsWindow(dialog)) ::ShowWindow(dialog, SW_HIDE);
  if (quit) ::PostQuitMessage(quit_code);
  return result;
}

}  // namespace ripplet
