// Test support for dialogs that run in the program's modal loop: steps run one per tick
// of a thread timer, so they run inside the loop the code under test is in. A step that
// returns false is tried again on the next tick (for up to 2 s). When the
// steps are used up and the dialog is still there, a watchdog destroys it so that a
// failing test ends instead of hanging.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ripplet::testing {

class ModalSteps {
 public:
  // `find_dialog` names the dialog the watchdog destroys.
  using Step = std::function<bool()>;
  ModalSteps(std::vector<Step> steps, std::function<HWND()> find_dialog);
  ~ModalSteps();
  ModalSteps(const ModalSteps&) = delete;
  ModalSteps& operator=(const ModalSteps&) = delete;

  bool WatchdogFired() const { return watchdog_fired_; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  std::vector<Step> steps_;
  std::function<HWND()> find_dialog_;
  size_t next_ = 0;
  int idle_ticks_ = 0;
  int retries_ = 0;
  bool watchdog_fired_ = false;
  UINT_PTR timer_ = 0;
};

// The visible dialog-class window of this thread with `caption`, or null.
HWND FindThreadDialog(const std::wstring& caption);
// Any visible dialog-class window of this thread whose caption is not `caption`.
HWND FindOtherThreadDialog(const std::wstring& caption);

// A step that always completes.
inline ModalSteps::Step Do(std::function<void()> action) {
  return [action = std::move(action)] {
    action();
    return true;
  };
}

// Posts a key press (down and up) to `window` as the keyboard would deliver it.
void PostKey(HWND window, WPARAM key);

}  // namespace ripplet::testing
