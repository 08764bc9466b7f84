// Text at the platform boundary: ANSI bytes to and from UTF-16, a window's text, and the
// regional settings that number text depends on.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ripplet {

// Empty where the text is empty or the code page cannot convert it.
std::wstring AnsiToWide(std::string_view bytes, UINT code_page = CP_ACP);
std::string WideToAnsi(std::wstring_view text, UINT code_page = CP_ACP);

// The window's title, or a control's text; empty where there is none.
std::wstring WindowText(HWND window);

// The user's decimal separator as ANSI bytes; "." when the setting gives none.
std::string RegionalDecimalSeparator();

}  // namespace ripplet
