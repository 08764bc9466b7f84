// The application window: hidden, never shown, created before any other window. It owns
// the main window (so the meter has no taskbar button of its own), carries the program's
// title for error boxes, and runs the message loop with its idle step.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win32/win_window.h"

namespace ripplet {

class Application : public Window {
 public:
  explicit Application(std::wstring title);
  ~Application() override;

  static Application* Instance() noexcept;

  const std::wstring& Title() const noexcept { return title_; }
  void SetMainWindow(HWND main_window) noexcept { main_window_ = main_window; }
  void MakeTopmost() noexcept;

  // The idle step runs each time the message queue has been drained.
  void SetIdleHandler(std::function<void()> idle) { idle_ = std::move(idle); }
  bool HasIdleHandler() const noexcept { return static_cast<bool>(idle_); }
  void RunIdle();

  // The windows stepped down from topmost while the program is in the back; top first.
  const std::vector<HWND>& SteppedDown() const noexcept { return stepped_down_; }

  // Handles messages until WM_QUIT; returns its exit code.
  int RunMessageLoop();
  // True while the loop waits for or takes a message: what the platform does then on its
  // own (wine applies the X server's events there) is no handler's doing.
  bool RetrievingMessages() const noexcept { return retrieving_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  // While the application window is disabled (a platform dialog it owns is open) or the
  // program is inactive, its owned topmost windows step down so others can come above.
  void StepDownOwnedTopmost(bool stop_at_main_window);
  bool OwnsWindow(HWND hwnd) const noexcept;
  void RestoreOwnedTopmost();
  bool Retrieve(MSG* msg) noexcept;
  bool Wait(MSG* msg) noexcept;  // false on WM_QUIT

  std::wstring title_;
  int topmost_nesting_ = 0;
  std::vector<HWND> stepped_down_;
  HWND main_window_ = nullptr;
  std::function<void()> idle_;
  bool retrieving_ = false;
};

// Shows an error that escaped a handler: owned by the application window, with its title
// as caption, the stop icon and one OK button. Works before the application window exists.
void ShowApplicationError(const std::wstring& text) noexcept;

// Inside a catch block: shows the error being handled in the application's error box.
void ShowCurrentError() noexcept;

}  // namespace ripplet
