// Test support: compares a dialog's measured pixels with the design's pixels at 96 pixels
// per inch, scaled by the dialog base units the dialog really got (6 x 12 for "MS UI
// Gothic" 9 pt; the harness' stand-in font and other densities give others).
// Also the screen's density as the tests read it.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "win32/win_handles.h"

namespace ripplet::testing {

// The screen's logical pixels per inch, read here rather than through the program's own read.
inline int ScreenPpi() { return ::GetDeviceCaps(WindowDc(nullptr).get(), LOGPIXELSY); }

class DesignScale {
 public:
  explicit DesignScale(HWND dialog) {
    ::MapDialogRect(dialog, &base_);
    ::testing::Test::RecordProperty(
        "base_units", std::to_string(base_.right) + "x" + std::to_string(base_.bottom));
    // Edges converted to dialog units land within 1 px at the design's base units.
    slack_ = base_.right == 6 && base_.bottom == 12 ? 1 : 2;
  }
  bool X(LONG actual, int at96) const {
    return std::abs(actual - ::MulDiv(at96, base_.right, 6)) <= slack_;
  }
  bool Y(LONG actual, int at96) const {
    return std::abs(actual - ::MulDiv(at96, base_.bottom, 12)) <= slack_;
  }

 private:
  RECT base_{0, 0, 4, 8};
  int slack_ = 1;
};

}  // namespace ripplet::testing
