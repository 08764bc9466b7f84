// HTML Help, loaded at run time so that a machine without the help system is no error.
#pragma once

#include <windows.h>

#include <string>

namespace ripplet {

class HelpSystem {
 public:
  // Initialize loads the help system; ShowContext does so on first use. Uninitialize, at
  // the program's very end, closes its windows and ends it, if it was started.
  static void Initialize() noexcept;
  static void Uninitialize() noexcept;

  // The help file beside the executable, set once the main window has formed its paths.
  static void SetHelpFile(std::wstring path);
  static const std::wstring& HelpFile() noexcept;

  // The window that owns every help window (the program's application window): help
  // outlives the dialog or menu that asked for it. Null: each call's own owner.
  static void SetCallerWindow(HWND caller) noexcept;

  // Opens the help file at a context number (4: the context menu, 6: the Options dialog)
  // and returns at once. The help window belongs to the caller window while there is one
  // (it outlives the dialog that asked), else to `owner`.
  static void ShowContext(HWND owner, unsigned context) noexcept;

  // The help system's entry point, with HtmlHelpW's signature. Initialize looks it up in
  // hhctrl.ocx; tests start the help system with a recording one instead.
  using EntryPoint = HWND(WINAPI*)(HWND caller, const wchar_t* file, UINT command, DWORD_PTR data);
  static void InitializeWith(EntryPoint entry) noexcept;
};

}  // namespace ripplet
