// The settings record: every user choice, with the defaults that loading gives
// when the settings file has no usable value.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/colour_names.h"

namespace ripplet {

inline constexpr std::string_view kProgramName = "Ripplet";
inline constexpr std::string_view kSettingsVersion = "152";

// "0.00k バイト/秒" in Shift-JIS.
inline constexpr std::string_view kDefaultGraphUnit = "0.00k \x83\x6F\x83\x43\x83\x67/\x95\x62";

inline constexpr std::uint8_t kFontStyleBold = 1;
inline constexpr std::uint8_t kFontStyleItalic = 2;
inline constexpr std::uint8_t kFontStyleUnderline = 4;
inline constexpr std::uint8_t kFontStyleStrikeOut = 8;

inline constexpr std::uint8_t kDefaultCharset = 1;  // DEFAULT_CHARSET

// The value font as the settings hold it; a newly created font at 96 pixels per inch.
struct FontSpec {
  std::string Name = "MS UI Gothic";  // face name, ANSI bytes
  std::int32_t Height = -13;          // pixel height as a LOGFONT lfHeight (10 points)
  std::uint8_t Style = 0;             // kFontStyle* bits; other bits are kept as read
  std::uint8_t Charset = kDefaultCharset;

  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

struct Settings {
  std::string AdapterName;  // interface description bytes; empty: none chosen yet
  // Follow the default route's adapter. AdapterName then holds the one followed last, so
  // a version without the key starts on it.
  bool AutoAdapter = false;
  double GraphRange = 1000.0;
  double GraphMiddle = 900.0;
  double GraphSendRange = 150.0;
  std::string GraphUnit = std::string(kDefaultGraphUnit);
  bool ShowValue = true;
  bool LockWindow = false;
  bool SnapWindow = false;
  bool HideWindow = false;
  std::int32_t AlphaBlend = 0;
  std::int32_t Interval = 1000;
  std::int32_t ValueInterval = 1;
  std::uint32_t RecvColor = kClBlue;
  std::uint32_t SendColor = kClRed;
  std::uint32_t MiddleColor = kClGray;
  std::uint32_t BackColor = kClSilver;
  std::vector<std::string> CustomColors;  // "name=value" lines, in file order
  FontSpec ValueFont;
  std::int32_t UsageStartDay = 1;  // the day of the month a billing period starts, 1 to 31

  friend bool operator==(const Settings&, const Settings&) = default;
};

// The main window's outer bounds in screen pixels.
struct WindowBounds {
  std::int32_t Left = 0;
  std::int32_t Top = 0;
  std::int32_t Width = 0;
  std::int32_t Height = 0;
  // The pixels per inch of the monitor the size was taken at; 0 where that is not known (a
  // file written before it was stored).
  std::int32_t Density = 0;

  friend bool operator==(const WindowBounds&, const WindowBounds&) = default;
};

// Line spacings 1 to 4 of the value labels.
using LineSpacings = std::array<std::int32_t, 4>;

}  // namespace ripplet
