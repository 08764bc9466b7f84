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

PartChanges ChangesOf(const MeterView& before, const MeterView& after) noexcept {
  PartChanges changes{};
  for (std::size_t i = 0; i < changes.size(); ++i) {
    const MeterPartView& b = before[i];
    const MeterPartView& a = after[i];
    if (a.Shown != b.Shown) {
      changes[i] = a.Shown ? PartChange::kShown : PartChange::kHidden;
    } else if (a.Shown && !(a.Rect == b.Rect)) {
      changes[i] = PartChange::kMoved;
    }
  }
  return changes;
}

std::wstring_view UnitInWords(const UnitParams& unit) noexcept {
  // The divisor says bytes or bits: a bit unit's divisor is an eighth of its byte unit's.
  const double bytes = unit.Letter == 'k' ? 1000.0 : unit.Letter == 'M' ? 1000000.0 : 1.0;
  const bool bits = unit.Divisor < bytes;
  switch (unit.Letter) {
    case 'k':
      return bits ? L"キロビット毎秒" : L"キロバイト毎秒";
    case 'M':
      return bits ? L"メガビット毎秒" : L"メガバイト毎秒";
    default:
      return bits ? L"ビット毎秒" : L"バイト毎秒";
  }
}

std::wstring MeterSummary(std::wstring_view recv, std::wstring_view send, std::wstring_view unit) {
  std::wstring text(kRecvCaption);
  text.append(L" ").append(recv).append(L"、").append(kSendCaption).append(L" ").append(send);
  if (!unit.empty()) text.append(L"、").append(unit);
  return text;
}

}  // namespace ripplet
