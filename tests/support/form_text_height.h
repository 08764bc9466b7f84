// Test support: the measured height of the form font ("MS UI Gothic" at `font_height`, a
// negative character height) on the screen, the figure the design's scaling divides by 12.
#pragma once

#include <windows.h>

namespace ripplet::testing {

inline int FormTextHeight(int font_height) {
  HDC screen = ::GetDC(nullptr);
  HFONT font = ::CreateFontW(font_height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH, L"MS UI Gothic");
  HGDIOBJ old = ::SelectObject(screen, font);
  TEXTMETRICW tm{};
  ::GetTextMetricsW(screen, &tm);
  ::SelectObject(screen, old);
  ::DeleteObject(font);
  ::ReleaseDC(nullptr, screen);
  return tm.tmHeight;
}

}  // namespace ripplet::testing
