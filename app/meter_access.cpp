#include "app/meter_access.h"

namespace ripplet {

std::wstring_view MeterPartName(int part) noexcept {
  switch (part) {
    case kMeterGraph:
      return L"グラフ";
    case kMeterRecv:
      return kRecvCaption;
    case kMeterSend:
      return kSendCaption;
    default:
      return {};
  }
}

MeterView ViewOf(const MainLayout& layout) noexcept {
  return {MeterPartView{layout.Graph, layout.GraphVisible},
          MeterPartView{layout.Recv, layout.ValuesVisible},
          MeterPartView{layout.Send, layout.ValuesVisible}};
}

int MeterPartAt(const MeterView& view, int x, int y) noexcept {
  // The values are painted after the graph, the send value last: the last one drawn is on top.
  for (int part = kMeterPartCount; part >= 1; --part) {
    const MeterPartView& p = view[static_cast<std::size_t>(part - 1)];
    if (p.Shown && x >= p.Rect.Left && x < p.Rect.Right() && y >= p.Rect.Top &&
        y < p.Rect.Bottom()) {
      return part;
    }
  }
  return kMeterSelf;
}

unsigned MovedParts(const MeterView& before, const MeterView& after) noexcept {
  unsigned moved = 0;
  for (int part = 1; part <= kMeterPartCount; ++part) {
    const auto i = static_cast<std::size_t>(part - 1);
    if (!(before[i] == after[i])) moved |= 1u << part;
  }
  return moved;
}

}  // namespace ripplet
