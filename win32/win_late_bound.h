// System functions that only a dialog needs, found when first called. A library in the
// import table is loaded, with everything it imports, at every start; the common
// controls, common dialogs and shell are needed only once a dialog opens.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace ripplet {

// The function `name` of the system library `library`, which stays loaded; null when
// either cannot be found. Loading goes through the process's activation context, so
// "comctl32.dll" is the version the manifest asks for.
template <class Function>
Function* LateBound(const wchar_t* library, const char* name) noexcept {
  HMODULE module = ::GetModuleHandleW(library);
  if (module == nullptr) module = ::LoadLibraryW(library);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Registers the common-control classes in `classes` (ICC_* flags) before a dialog uses them.
inline void InitDialogControls(DWORD classes) noexcept {
  INITCOMMONCONTROLSEX controls{sizeof(controls), classes};
  if (const auto init =
          LateBound<decltype(::InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx")) {
    init(&controls);
  }
}

}  // namespace ripplet
