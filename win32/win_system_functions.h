// Every system function the program binds at run time, in one table. The import table
// names only known system DLLs, which the loader takes from the system folder whatever
// lies beside the exe; every other library is loaded here, from the system folder only,
// once, when the first of its functions is asked for, and stays loaded.
#pragma once

// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#include <iphlpapi.h>
#include <netioapi.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <htmlhelp.h>
#include <oleacc.h>
// clang-format on

namespace ripplet {

// Before anything is loaded: the DLL search is restricted to the system folder, where the
// system allows it, and the current folder is left out of it. Returns false on a system
// without SetDefaultDllDirectories; every library is then loaded by its full path.
bool RestrictLibrarySearch() noexcept;

enum class SystemLibrary : unsigned char {
  kKernel,          // kernel32.dll, imported
  kUser,            // user32.dll, imported
  kIpHelper,        // iphlpapi.dll
  kCommonControls,  // comctl32.dll: the version the manifest asks for
  kCommonDialogs,   // comdlg32.dll
  kShell,           // shell32.dll
  kHelp,            // hhctrl.ocx
  kAccessibility,   // oleacc.dll: only once an assistive program asks for the tree
  kOleAutomation,   // oleaut32.dll: the tree's texts
  kOle,             // ole32.dll: the apartment the tree is handed out from
  kShellCore,       // shcore.dll: monitors' densities
  kCount
};

// The address of `name` in `library`, loading the library on first use; null when either
// is missing.
FARPROC FindSystemFunction(SystemLibrary library, const char* name) noexcept;

// One entry of the table: a function of type `Pointer` (decltype(&::GetIfEntry2)), found
// when first asked for. Null, and false, where this system lacks it.
template <class Pointer>
class SystemFunction;

// x64 has one calling convention, so WINAPI functions match the plain pointer type.
template <class Result, class... Params>
class SystemFunction<Result (*)(Params...)> {
  using Pointer = Result (*)(Params...);

 public:
  constexpr SystemFunction(SystemLibrary library, const char* name) noexcept
      : library_(library), name_(name) {}

  Pointer get() const noexcept {
    if (!looked_up_) {
      function_ =
          reinterpret_cast<Pointer>(reinterpret_cast<void*>(FindSystemFunction(library_, name_)));
      looked_up_ = true;
    }
    return function_;
  }
  explicit operator bool() const noexcept { return get() != nullptr; }

  // Call only where get() is not null. The function's own parameter types: arguments
  // convert as in a direct call, and a flag constant is not a narrowing int.
  Result operator()(Params... args) const noexcept { return get()(args...); }

  // Tests: the function as missing, as on an older system.
  void Remove() noexcept {
    function_ = nullptr;
    looked_up_ = true;
  }

 private:
  SystemLibrary library_;
  const char* name_;
  mutable Pointer function_ = nullptr;
  mutable bool looked_up_ = false;
};

// One line per function. "optional": the program has a way without it, for the systems
// that lack it.
// clang-format off
struct SystemFunctions {
  using L = SystemLibrary;
  template <class Pointer>
  using F = SystemFunction<Pointer>;

  F<decltype(&::SetDefaultDllDirectories)> SetDefaultDllDirectories{L::kKernel, "SetDefaultDllDirectories"};  // optional
  F<decltype(&::SetLayeredWindowAttributes)> SetLayeredWindowAttributes{L::kUser, "SetLayeredWindowAttributes"};  // optional: opaque
  F<decltype(&::MonitorFromWindow)> MonitorFromWindow{L::kUser, "MonitorFromWindow"};  // optional: one screen
  F<decltype(&::GetMonitorInfoW)> GetMonitorInfoW{L::kUser, "GetMonitorInfoW"};  // optional: one screen
  F<decltype(&::EnumDisplayMonitors)> EnumDisplayMonitors{L::kUser, "EnumDisplayMonitors"};  // optional: one screen
  F<decltype(&::MonitorFromRect)> MonitorFromRect{L::kUser, "MonitorFromRect"};  // optional: one screen
  // Per-monitor densities (Windows 10 1607, shcore 8.1), declared by hand: the headers
  // declare them only for newer targets than ours. Optional: every density the screen's.
  F<DPI_AWARENESS_CONTEXT(WINAPI*)()> GetThreadDpiAwarenessContext{L::kUser, "GetThreadDpiAwarenessContext"};
  F<DPI_AWARENESS(WINAPI*)(DPI_AWARENESS_CONTEXT)> GetAwarenessFromDpiAwarenessContext{L::kUser, "GetAwarenessFromDpiAwarenessContext"};
  F<UINT(WINAPI*)(HWND)> GetDpiForWindow{L::kUser, "GetDpiForWindow"};
  F<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)> AdjustWindowRectExForDpi{L::kUser, "AdjustWindowRectExForDpi"};
  F<HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*)> GetDpiForMonitor{L::kShellCore, "GetDpiForMonitor"};
  // Windows 10 1703: a dialog's control keeps the font its dialog gave it at a change of
  // density. Optional: the dialog sets its fonts again after the system's.
  F<BOOL(WINAPI*)(HWND, int, int)> SetDialogControlDpiChangeBehavior{L::kUser, "SetDialogControlDpiChangeBehavior"};
  F<decltype(&::GetIfTable)> GetIfTable{L::kIpHelper, "GetIfTable"};
  F<decltype(&::GetIfTable2)> GetIfTable2{L::kIpHelper, "GetIfTable2"};  // optional: 32-bit counters
  F<decltype(&::FreeMibTable)> FreeMibTable{L::kIpHelper, "FreeMibTable"};  // optional
  F<decltype(&::GetIfEntry2)> GetIfEntry2{L::kIpHelper, "GetIfEntry2"};  // optional: no watch
  F<decltype(&::ConvertInterfaceIndexToLuid)> ConvertInterfaceIndexToLuid{L::kIpHelper, "ConvertInterfaceIndexToLuid"};  // optional
  // The routing table and its change notices: only the automatic adapter asks. Never
  // GetIpInterfaceEntry: wine 8 exports it as a stub that ends the process when called.
  F<decltype(&::GetIpForwardTable2)> GetIpForwardTable2{L::kIpHelper, "GetIpForwardTable2"};  // optional: no automatic adapter
  F<decltype(&::GetIpInterfaceTable)> GetIpInterfaceTable{L::kIpHelper, "GetIpInterfaceTable"};  // optional: interface metrics 0
  F<decltype(&::NotifyRouteChange2)> NotifyRouteChange2{L::kIpHelper, "NotifyRouteChange2"};  // optional: the paced re-check alone
  F<decltype(&::NotifyIpInterfaceChange)> NotifyIpInterfaceChange{L::kIpHelper, "NotifyIpInterfaceChange"};  // optional
  F<decltype(&::CancelMibChangeNotify2)> CancelMibChangeNotify2{L::kIpHelper, "CancelMibChangeNotify2"};  // optional
  F<decltype(&::InitCommonControlsEx)> InitCommonControlsEx{L::kCommonControls, "InitCommonControlsEx"};
  F<decltype(&::SetWindowSubclass)> SetWindowSubclass{L::kCommonControls, "SetWindowSubclass"};  // optional: a control as it is
  F<decltype(&::RemoveWindowSubclass)> RemoveWindowSubclass{L::kCommonControls, "RemoveWindowSubclass"};
  F<decltype(&::DefSubclassProc)> DefSubclassProc{L::kCommonControls, "DefSubclassProc"};
  F<decltype(&::ChooseColorW)> ChooseColorW{L::kCommonDialogs, "ChooseColorW"};
  F<decltype(&::ChooseFontW)> ChooseFontW{L::kCommonDialogs, "ChooseFontW"};
  F<decltype(&::ShellExecuteW)> ShellExecuteW{L::kShell, "ShellExecuteW"};
  F<decltype(&::HtmlHelpW)> HtmlHelpW{L::kHelp, "HtmlHelpW"};  // optional: no help
  F<decltype(&::LresultFromObject)> LresultFromObject{L::kAccessibility, "LresultFromObject"};  // optional: no tree
  F<decltype(&::AccessibleObjectFromWindow)> AccessibleObjectFromWindow{L::kAccessibility, "AccessibleObjectFromWindow"};  // optional: no tree
  F<decltype(&::SysAllocStringLen)> SysAllocStringLen{L::kOleAutomation, "SysAllocStringLen"};  // optional: no tree
  F<decltype(&::CoInitializeEx)> CoInitializeEx{L::kOle, "CoInitializeEx"};  // optional: no tree
  F<decltype(&::CoUninitialize)> CoUninitialize{L::kOle, "CoUninitialize"};  // optional: no tree
};
// clang-format on

// The program's table. Tests take a copy and Remove() what an older system lacks.
const SystemFunctions& System() noexcept;

// Registers the common-control classes in `classes` (ICC_* flags) before a dialog uses them.
inline void InitDialogControls(DWORD classes) noexcept {
  INITCOMMONCONTROLSEX controls{sizeof(controls), classes};
  if (System().InitCommonControlsEx) System().InitCommonControlsEx(&controls);
}

}  // namespace ripplet
