// The meter's accessible tree in plain terms: its three parts in child order, which of
// them is shown, which lies under a point, which moved, appeared or went, and the words a
// reader speaks for the unit. The shell (win_meter_accessible) turns this into Active
// Accessibility.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "app/label_layout.h"
#include "display/units.h"

namespace ripplet {

// Child ids of the window's client object, in the order a reader walks them; 0 is the
// client object itself.
enum MeterPart : int { kMeterSelf = 0, kMeterGraph = 1, kMeterRecv = 2, kMeterSend = 3 };
inline constexpr int kMeterPartCount = 3;

// The names stay the captions also where the compact layout does not draw them.
std::wstring_view MeterPartName(int part) noexcept;

struct MeterPartView {
  LayoutRect Rect;  // in client coordinates, as painted
  bool Shown = false;
  friend bool operator==(const MeterPartView&, const MeterPartView&) = default;
};

// Indexed by child id - 1.
using MeterView = std::array<MeterPartView, kMeterPartCount>;

MeterView ViewOf(const MainLayout& layout) noexcept;

// The shown part under the client point (x, y), topmost as painted; kMeterSelf for none.
int MeterPartAt(const MeterView& view, int x, int y) noexcept;

// What became of each part between two views, as a reader is told it: a part that appeared
// or went is shown or hidden; a part that stayed shown and changed its place moved; a part
// nobody sees changes nothing a reader can hear.
enum class PartChange { kNone, kShown, kHidden, kMoved };
using PartChanges = std::array<PartChange, kMeterPartCount>;  // indexed by child id - 1
PartChanges ChangesOf(const MeterView& before, const MeterView& after) noexcept;

// The unit the values are in, in words ("キロバイト毎秒"), not as its number pattern: a
// reader would speak "0.00k" as a second number.
std::wstring_view UnitInWords(const UnitParams& unit) noexcept;

// What the client object says of itself: both rates with their unit, so that a reader that
// lands on the meter speaks them.
std::wstring MeterSummary(std::wstring_view recv, std::wstring_view send, std::wstring_view unit);

}  // namespace ripplet
