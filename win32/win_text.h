// Text at the platform boundary: ANSI bytes to UTF-16 for showing, and the regional
// settings that number text depends on.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ripplet {

// Empty where the text is empty or the code page cannot convert it.
std::wstring AnsiToWide(std::string_view bytes, UINT code_page = CP_ACP);
std::string WideToAnsi(std::wstring_view text, UINT code_page = CP_ACP);

// The user's decimal separator as ANSI bytes; "." when the setting gives none.
std::string RegionalDecimalSeparator();

}  // namespace ripplet
