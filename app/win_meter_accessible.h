// The main window's Active Accessibility server: answers WM_GETOBJECT for the client area
// with an IAccessible of the graph and the two values, and raises the events that tell
// assistive programs when a value or a place changed. A thin layer over what the window
// already holds, read live through MeterFacts.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "app/meter_access.h"

namespace ripplet {

class MeterAccessibleObject;

// Where the window keeps what the tree shows; the pointers stay valid while the window
// lives.
struct MeterFacts {
  const MainLayout* Layout = nullptr;
  const std::wstring* RecvText = nullptr;
  const std::wstring* SendText = nullptr;
  const std::string* Unit = nullptr;               // the unit text in use, code page 932 bytes
  const std::wstring* GraphDescription = nullptr;  // the adapter measured, as the user chose it
};

class MeterAccessible {
 public:
  explicit MeterAccessible(MeterFacts facts) noexcept : facts_(facts) {}
  ~MeterAccessible();
  MeterAccessible(const MeterAccessible&) = delete;
  MeterAccessible& operator=(const MeterAccessible&) = delete;

  // WM_GETOBJECT: the answer for the client area; nothing for other objects, or when the
  // accessibility library is missing, which leaves them to the platform's default.
  std::optional<LRESULT> Answer(HWND window, WPARAM wparam, LPARAM lparam);

  // After the value texts were set: a change event for each text that changed, and a
  // place change for each part that moved with it.
  void TextsChanged(HWND window, bool recv, bool send) noexcept;
  // After the adapter measured changed: the graph's description changed.
  void DescriptionChanged(HWND window) noexcept;
  // After the layout was made: a place change for each part that moved or was shown or hidden.
  void LayoutChanged(HWND window) noexcept;

  // WM_DESTROY: a client may still hold the object; from now on it answers nothing.
  void Disconnect() noexcept;

 private:
  MeterFacts facts_;
  MeterView reported_{};
  MeterAccessibleObject* object_ = nullptr;  // one reference, ours
  bool com_initialized_ = false;
  bool disconnected_ = false;
};

}  // namespace ripplet
