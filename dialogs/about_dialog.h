// The About dialog.
#pragma once

#include <windows.h>

namespace ripplet {

// Shows the About dialog modally over `owner` in the program's own modal loop.
void ShowAboutDialog(HWND owner);

}  // namespace ripplet
