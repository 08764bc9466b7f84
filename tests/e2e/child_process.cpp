#include "tests/e2e/child_process.h"

#include <shellapi.h>

namespace ripplet::testing {
namespace {

struct WindowSearch {
  DWORD ProcessId;
  std::wstring_view ClassName;
  bool VisibleOnly;
  std::vector<HWND> Found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lparam) {
  auto& search = *reinterpret_cast<WindowSearch*>(lparam);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid == search.ProcessId && ClassOf(hwnd) == search.ClassName &&
      (!search.VisibleOnly || ::IsWindowVisible(hwnd))) {
    search.Found.push_back(hwnd);
  }
  return TRUE;
}

}  // namespace

std::wstring WinePath(std::wstring_view path) {
  if (path.size() >= 2 && path[1] == L':') return std::wstring(path);
  std::wstring result = L"Z:";
  for (const wchar_t c : path) result += (c == L'/') ? L'\\' : c;
  return result;
}

std::wstring ProgramUnderTest() {
  int count = 0;
  LPWSTR* args = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::wstring program;
  for (int i = 1; args != nullptr && i < count; ++i) {
    const std::wstring_view arg = args[i];
    if (arg.starts_with(L"--gtest")) continue;
    program = WinePath(arg);
    break;
  }
  ::LocalFree(args);
  return program;
}

std::wstring ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  ::GetClassNameW(hwnd, name, 256);
  return name;
}

std::wstring TitleOf(HWND hwnd) {
  wchar_t text[1024] = {};
  ::GetWindowTextW(hwnd, text, 1024);
  return text;
}

std::wstring MessageBoxTextOf(HWND box) {
  HWND label = ::GetDlgItem(box, 0xFFFF);
  if (label == nullptr) return {};
  // WM_GETTEXT across processes; the timeout keeps a stuck child from stopping the test.
  wchar_t text[2048] = {};
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(label, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text),
                             SMTO_ABORTIFHUNG, 2000, &copied)) {
    return {};
  }
  return std::wstring(text, copied);
}

ChildProcess::~ChildProcess() {
  Kill();
  if (info_.hThread != nullptr) ::CloseHandle(info_.hThread);
  if (info_.hProcess != nullptr) ::CloseHandle(info_.hProcess);
}

bool ChildProcess::Start(const std::wstring& exe, const std::wstring& arguments,
                         const std::wstring& directory) {
  std::wstring command_line = L"\"" + exe + L"\"";
  if (!arguments.empty()) command_line += L" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  return ::CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          directory.c_str(), &startup, &info_) != FALSE;
}

bool ChildProcess::Running() const {
  return info_.hProcess != nullptr && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::WaitForExit(DWORD timeout_ms) {
  if (info_.hProcess == nullptr ||
      ::WaitForSingleObject(info_.hProcess, timeout_ms) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

std::vector<HWND> ChildProcess::Windows(std::wstring_view class_name, bool visible_only) const {
  WindowSearch search{info_.dwProcessId, class_name, visible_only, {}};
  if (info_.hProcess != nullptr) {
    ::EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  }
  return search.Found;
}

HWND ChildProcess::WaitForVisibleWindow(std::wstring_view class_name, DWORD timeout_ms) const {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        const auto windows = Windows(class_name, true);
        if (!windows.empty()) found = windows.front();
        return found != nullptr || !Running();
      },
      timeout_ms);
  return found;
}

void ChildProcess::Kill() {
  if (Running()) {
    ::TerminateProcess(info_.hProcess, 99);
    ::WaitForSingleObject(info_.hProcess, 5000);
  }
}

}  // namespace ripplet::testing
