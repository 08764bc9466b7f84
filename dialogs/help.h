// HTML Help, loaded at run time so that a machine without the help system is no error.
#pragma once

#include <windows.h>

#include <string>

namespace ripplet {

class HelpSystem {
 public:
  // At program start, before the main window exists, and at its very end.
  static void Initialize() noexcept;
  static void Uninitialize() noexcept;

  // The help file beside the executable, set once the main window has formed its paths.
  static void SetHelpFile(std::wstring path);

  // Opens the help file at a context number (4: the context menu, 6: the Options dialog)
  // and returns at once.
  static void ShowContext(HWND owner, unsigned context) noexcept;
};

}  // namespace ripplet
