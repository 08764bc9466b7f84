// Fonts made from a LOGFONT, owned, with the program's one error for a font the system
// cannot make.
#pragma once

#include <windows.h>

#include "win32/win_handles.h"

namespace ripplet {

// Throws AppError "フォントを作成できません" where the system makes no font.
UniqueFont MakeFont(const LOGFONTW& logfont);

}  // namespace ripplet
