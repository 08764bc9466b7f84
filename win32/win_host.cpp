#include "win32/win_host.h"

#include <windows.h>

namespace ripplet {

bool WindowManagerMovesShownWindows() noexcept {
  // ntdll is in every process already: a look-up, nothing loaded.
  static const bool under_wine = [] {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return under_wine;
}

}  // namespace ripplet
