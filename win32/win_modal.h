// The program's own modal loop for its dialogs: the owner is disabled, messages are
// dispatched (with IsDialogMessage for keyboard navigation), and the application's idle
// step runs after each drained queue, so hide-on-hover keeps working while a dialog is open.
// Timers keep firing, so the meter keeps ticking.
#pragma once

#include <windows.h>

namespace ripplet {

// Runs until EndModal is called for `dialog` (or the dialog is destroyed); returns the
// result passed to EndModal (IDCANCEL when destroyed without one). A WM_QUIT that arrives
// meanwhile is posted again for the outer loop.
INT_PTR RunModal(HWND dialog, HWND owner);

// Ends the modal loop of `dialog` with `result`.
void EndModal(HWND dialog, INT_PTR result);

}  // namespace ripplet
