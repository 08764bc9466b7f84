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
  const UnitParams* Unit = nullptr;                // the unit the values are shown in
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

  // After the value texts were set: a change event for each shown text that changed, and
  // a place change for each part that moved with it.
  void TextsChanged(HWND window, bool recv, bool send) noexcept;
  // After the adapter measured changed: the graph's description changed.
  void DescriptionChanged(HWND window) noexcept;
  // After the settings gave the values their unit: the descriptions that name it changed.
  void UnitApplied(HWND window) noexcept;
  // After the layout was made: a show or hide event for each part that appeared or went,
  // a place change for each shown part that moved.
  void LayoutChanged(HWND window) noexcept;
  // The window was shown (at start, or again after hiding under the pointer): one place
  // change for the whole client area, for whatever changed while nobody could see it.
  void WindowShown(HWND window) noexcept;

  // WM_DESTROY: a client may still hold the object; from now on it answers nothing.
  void Disconnect() noexcept;

 private:
  MeterFacts facts_;
  MeterView reported_{};
  std::wstring_view described_unit_;
  MeterAccessibleObject* object_ = nullptr;  // one reference, ours
  bool com_initialized_ = false;
  bool disconnected_ = false;
};

}  // namespace ripplet
