// A back buffer: a memory DC holding a bitmap of the window's client size, made again only
// when that size changes, so a repaint draws off the screen and shows in one blit.
#pragma once

#include <windows.h>

#include "win32/win_handles.h"

namespace ripplet {

class BackBuffer {
 public:
  // The buffer's DC, compatible with `screen` and at least `size`; nullptr when the
  // platform refuses one (the caller then draws on the screen directly).
  HDC Fit(HDC screen, SIZE size) noexcept;

 private:
  BitmapDc dc_;
  SIZE size_{0, 0};
};

}  // namespace ripplet
