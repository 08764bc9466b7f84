// End-to-end support: starts the real program as another process and finds, reads and
// presses its windows from outside, the way a user's desktop sees them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ripplet::testing {

// The executable named on this test's command line (the first argument that is no
// GoogleTest flag), as a Windows path; empty when there is none.
std::wstring ProgramUnderTest();

// A Unix path as wine sees it: "Z:" in front, '/' turned into '\'. A path that already
// has a drive letter is returned unchanged.
std::wstring WinePath(std::wstring_view path);

// Calls `condition` every 20 ms until it returns true or `timeout_ms` has passed.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeout_ms) {
  const DWORD start = ::GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (::GetTickCount() - start >= timeout_ms) return false;
    ::Sleep(20);
  }
}

std::wstring ClassOf(HWND hwnd);
std::wstring TitleOf(HWND hwnd);

// The text of a message box of any process (its static control, id 0xFFFF).
std::wstring MessageBoxTextOf(HWND box);

// One child process. The destructor ends it if it still runs, so a test that fails
// midway never leaves a program behind or a test waiting on it.
class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `exe` with the command line "<exe>" + arguments, in `directory`.
  bool Start(const std::wstring& exe, const std::wstring& arguments, const std::wstring& directory);

  bool Running() const;

  // The exit code, or nothing if the process is still running after `timeout_ms`.
  std::optional<DWORD> WaitForExit(DWORD timeout_ms);

  // The process' top-level windows (owned ones included) of class `class_name`.
  std::vector<HWND> Windows(std::wstring_view class_name, bool visible_only) const;

  // The first visible top-level window of that class, waiting up to `timeout_ms`.
  HWND WaitForVisibleWindow(std::wstring_view class_name, DWORD timeout_ms) const;

  // Ends the process now (no settings are saved) and waits for it to be gone.
  void Kill();

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace ripplet::testing
