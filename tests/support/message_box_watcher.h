// Test support: answers the message boxes that code under test shows on this thread,
// and remembers their texts and captions. A thread timer fires inside the message box's
// own modal loop, finds the box, reads it and presses its default button.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace ripplet::testing {

struct SeenMessageBox {
  std::wstring Text;
  std::wstring Caption;
  HWND Owner = nullptr;
};

class MessageBoxWatcher {
 public:
  MessageBoxWatcher();
  ~MessageBoxWatcher();
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  const std::vector<SeenMessageBox>& Seen() const { return seen_; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  UINT_PTR timer_ = 0;
  std::vector<SeenMessageBox> seen_;
};

// Reads the text of a message box window (the static control with id 0xFFFF).
std::wstring MessageBoxText(HWND box);

// Pumps this thread's messages for about `milliseconds`.
void PumpMessages(DWORD milliseconds);

}  // namespace ripplet::testing
