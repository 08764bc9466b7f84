#include "tests/support/message_box_watcher.h"

#include "win32/win_text.h"

namespace ripplet::testing {
namespace {

MessageBoxWatcher* g_watcher = nullptr;

BOOL CALLBACK FindBox(HWND hwnd, LPARAM found) {
  wchar_t cls[32] = {};
  ::GetClassNameW(hwnd, cls, 32);
  // A message box is a dialog with the text control 0xFFFF; other dialogs are left alone.
  if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(hwnd) &&
      ::GetDlgItem(hwnd, 0xFFFF) != nullptr) {
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::wstring MessageBoxText(HWND box) { return WindowText(::GetDlgItem(box, 0xFFFF)); }

MessageBoxWatcher::MessageBoxWatcher() {
  g_watcher = this;
  timer_ = ::SetTimer(nullptr, 0, 50, &MessageBoxWatcher::OnTimer);
}

MessageBoxWatcher::~MessageBoxWatcher() {
  ::KillTimer(nullptr, timer_);
  g_watcher = nullptr;
}

void CALLBACK MessageBoxWatcher::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (g_watcher == nullptr) return;
  HWND box = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&box));
  if (box == nullptr) return;
  g_watcher->seen_.push_back({MessageBoxText(box), WindowText(box), ::GetWindow(box, GW_OWNER)});
  ::SendMessageW(box, WM_COMMAND, IDOK, 0);
}

void PumpMessages(DWORD milliseconds) {
  const DWORD start = ::GetTickCount();
  MSG msg;
  while (::GetTickCount() - start < milliseconds) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

}  // namespace ripplet::testing
