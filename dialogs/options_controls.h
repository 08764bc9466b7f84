// The Options dialog's controls grouped as its handlers walk them.
#pragma once

#include <array>

#include "dialogs/options_rules.h"
#include "resources/options_ids.h"

namespace ripplet::options {

// GraphRangeEdit, GraphMiddleEdit, GraphSendRangeEdit: the order of RangeTexts.
inline constexpr std::array<int, 3> kRangeEditIds = {
    IDC_OPTIONS_GRAPHRANGEEDIT, IDC_OPTIONS_GRAPHMIDDLEEDIT, IDC_OPTIONS_GRAPHSENDRANGEEDIT};

// Receive, send, middle line, background: each button with the swatch beside it.
inline constexpr std::array<int, 4> kColourButtonIds = {
    IDC_OPTIONS_RECVCOLORBTN, IDC_OPTIONS_SENDCOLORBTN, IDC_OPTIONS_MIDDLECOLORBTN,
    IDC_OPTIONS_BACKCOLORBTN};
inline constexpr std::array<int, 4> kSwatchIds = {
    IDC_OPTIONS_RECVCOLORSHAPE, IDC_OPTIONS_SENDCOLORSHAPE, IDC_OPTIONS_MIDDLECOLORSHAPE,
    IDC_OPTIONS_BACKCOLORSHAPE};

// ShowValue, LockWindow, SnapWindow, HideWindow.
inline constexpr std::array<int, 4> kCheckIds = {
    IDC_OPTIONS_SHOWVALUECHECK, IDC_OPTIONS_LOCKWINDOWCHECK, IDC_OPTIONS_SNAPWINDOWCHECK,
    IDC_OPTIONS_HIDEWINDOWCHECK};

// AlphaBlend, Interval, ValueInterval: each edit, its up-down and the up-down's range.
inline constexpr std::array<int, 3> kUpDownEditIds = {
    IDC_OPTIONS_ALPHABLENDEDIT, IDC_OPTIONS_INTERVALEDIT, IDC_OPTIONS_VALUEINTERVALEDIT};
inline constexpr std::array<int, 3> kUpDownIds = {
    IDC_OPTIONS_ALPHABLENDUPDOWN, IDC_OPTIONS_INTERVALUPDOWN, IDC_OPTIONS_VALUEINTERVALUPDOWN};
inline constexpr std::array<UpDownRange, 3> kUpDownRanges = {kAlphaBlendRange, kIntervalRange,
                                                             kValueIntervalRange};

// Code page of the unit texts, whatever the system's ANSI code page is.
inline constexpr unsigned kUnitCodePage = 932;

inline constexpr wchar_t kNoAdapterText[] = L"ネットワーク アダプタを指定してください。";
// The adapter list's first entry: follow the default route's adapter.
inline constexpr wchar_t kAutoAdapterText[] = L"自動 (既定の経路)";
inline constexpr wchar_t kFollowedPrefix[] = L"追従中: ";
inline constexpr wchar_t kNotFollowedText[] = L"追従中: なし (既定の経路がありません)";

inline constexpr wchar_t kBadNumberText[] = L"数値を正しく指定してください。";

// The index of `id` in `ids`, or ids.size() when it is not there.
template <std::size_t N>
constexpr std::size_t IndexOf(const std::array<int, N>& ids, int id) noexcept {
  for (std::size_t i = 0; i < N; ++i) {
    if (ids[i] == id) return i;
  }
  return N;
}

}  // namespace ripplet::options
