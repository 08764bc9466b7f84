// Program entry: the application window, the main window, the message loop.
#include <windows.h>

#include <string>

#include "app/command_line.h"
#include "app/main_form.h"
#include "dialogs/help.h"
#include "sampling/win_traffic_source.h"
#include "win32/app_error.h"
#include "win32/win_apartment.h"
#include "win32/win_application.h"
#include "win32/win_system_functions.h"

namespace {

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);  // long paths: no 260-character limit
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace ripplet;
  // First of all: a library of a system name laid beside the exe (Downloads) is never
  // loaded in place of the system's own.
  RestrictLibrarySearch();
  // Before any window: the thread's apartment is the program's (left after the help system,
  // once every window is gone).
  const SingleThreadedApartment apartment;
  const std::wstring module_path = ModulePath();
  try {
    Application application(ApplicationTitle(module_path));
    IpHelperTrafficSource source;
    TMainForm main_form(source, {module_path, ::GetCommandLineW(), true, true});
    application.SetMainWindow(nullptr);
    main_form.Create(application.Handle());
    application.SetMainWindow(main_form.Handle());
    main_form.Show();
    application.RunMessageLoop();
  } catch (...) {
    // Only start-up can end here (no window, no application window): say why, then end.
    ShowCurrentError();
    HelpSystem::Uninitialize();
    return 1;
  }
  // The help system (loaded when help was first asked for) goes last, after every window.
  HelpSystem::Uninitialize();
  return 0;
}
