#include "settings/colour_names.h"

#include <array>

#include "settings/ansi_text.h"

namespace ripplet {
namespace {

struct ColourName {
  std::string_view name;
  std::uint32_t value;
};

constexpr std::uint32_t Sys(std::uint32_t index) { return kSystemColourBase + index; }

// Searched in this order; the first match wins.
constexpr std::array<ColourName, 52> kColourNames{{
    {"clBlack", 0x00000000u},
    {"clMaroon", 0x00000080u},
    {"clGreen", 0x00008000u},
    {"clOlive", 0x00008080u},
    {"clNavy", 0x00800000u},
    {"clPurple", 0x00800080u},
    {"clTeal", 0x00808000u},
    {"clGray", kClGray},
    {"clSilver", kClSilver},
    {"clRed", kClRed},
    {"clLime", 0x0000FF00u},
    {"clYellow", 0x0000FFFFu},
    {"clBlue", kClBlue},
    {"clFuchsia", 0x00FF00FFu},
    {"clAqua", 0x00FFFF00u},
    {"clWhite", 0x00FFFFFFu},
    {"clMoneyGreen", 0x00C0DCC0u},
    {"clSkyBlue", 0x00F0CAA6u},
    {"clCream", 0x00F0FBFFu},
    {"clMedGray", 0x00A4A0A0u},
    {"clActiveBorder", Sys(10)},
    {"clActiveCaption", Sys(2)},
    {"clAppWorkSpace", Sys(12)},
    {"clBackground", Sys(1)},
    {"clBtnFace", Sys(15)},
    {"clBtnHighlight", Sys(20)},
    {"clBtnShadow", Sys(16)},
    {"clBtnText", Sys(18)},
    {"clCaptionText", Sys(9)},
    {"clDefault", 0x20000000u},
    {"clGradientActiveCaption", Sys(27)},
    {"clGradientInactiveCaption", Sys(28)},
    {"clGrayText", Sys(17)},
    {"clHighlight", Sys(13)},
    {"clHighlightText", Sys(14)},
    {"clHotLight", Sys(26)},
    {"clInactiveBorder", Sys(11)},
    {"clInactiveCaption", Sys(3)},
    {"clInactiveCaptionText", Sys(19)},
    {"clInfoBk", Sys(24)},
    {"clInfoText", Sys(23)},
    {"clMenu", Sys(4)},
    {"clMenuBar", Sys(30)},
    {"clMenuHighlight", Sys(29)},
    {"clMenuText", Sys(7)},
    {"clNone", 0x1FFFFFFFu},
    {"clScrollBar", Sys(0)},
    {"cl3DDkShadow", Sys(21)},
    {"cl3DLight", Sys(22)},
    {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},
    {"clWindowText", Sys(8)},
}};

}  // namespace

std::optional<std::uint32_t> ColourOfName(std::string_view name) noexcept {
  for (const ColourName& entry : kColourNames) {
    if (EqualsIgnoreAsciiCase(entry.name, name)) return entry.value;
  }
  return std::nullopt;
}

std::optional<std::string_view> NameOfColour(std::uint32_t colour) noexcept {
  for (const ColourName& entry : kColourNames) {
    if (entry.value == colour) return entry.name;
  }
  return std::nullopt;
}

}  // namespace ripplet
