// What kind of system the program runs on, where that changes what the platform does on
// its own.
#pragma once

namespace ripplet {

// True under Wine, whose ntdll exports wine_get_version and Windows' does not. There an X
// window manager places and reparents each window it maps, and Wine reports those moves to
// the program as moves of the window; Windows never moves a window that it shows.
bool WindowManagerMovesShownWindows() noexcept;

}  // namespace ripplet
