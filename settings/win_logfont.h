// A stored font as the platform takes it.
#pragma once

#include <windows.h>

#include "settings/settings.h"

namespace ripplet {

// Face (ANSI bytes to UTF-16, cut to what LOGFONT holds), height, the four styles and the
// charset; everything else is the platform's default.
LOGFONTW FontToLogFont(const FontSpec& font);

}  // namespace ripplet
