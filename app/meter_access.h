// The meter's accessible tree in plain terms: its three parts in child order, which of
// them is shown, which lies under a point and which moved. The shell (win_meter_accessible)
// turns this into Active Accessibility.
#pragma once

#include <array>
#include <string_view>

#include "app/label_layout.h"

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

// One bit per child id (bit 1 for the graph ...): the parts whose place or visibility differ.
unsigned MovedParts(const MeterView& before, const MeterView& after) noexcept;

}  // namespace ripplet
