#include "settings/settings_io.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "settings/custom_colours.h"
#include "settings/value_forms.h"

namespace ripplet {
namespace {

constexpr std::string_view kSettingsSection = "Settings";
constexpr std::string_view kColorsSection = "Colors";
constexpr std::string_view kCustomColorsSection = "CustomColors";
constexpr std::string_view kFontSection = "Font";
constexpr std::string_view kWindowSection = "Window";
constexpr std::string_view kUsageSection = "Usage";
constexpr std::string_view kUsageStartDayKey = "PeriodStartDay";
constexpr std::string_view kWindowDensityKey = "PixelsPerInch";
// Densities a monitor can have (50 % to 1000 %); anything else is no density.
constexpr std::int32_t kLowestDensity = 48;
constexpr std::int32_t kHighestDensity = 960;

constexpr std::int32_t kDefaultFontSize = 10;
constexpr std::int32_t kDefaultWindowTop = 32;
constexpr std::int32_t kDefaultWindowLeft = 32;

std::int32_t ClampToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// value * numerator / denominator, rounded half away from zero, without overflow.
std::int64_t MulDivRounded(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
  const std::int64_t product = value * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const std::int64_t n = product < 0 ? -product : product;
  const std::int64_t d = denominator < 0 ? -denominator : denominator;
  const std::int64_t quotient = (n + d / 2) / d;
  return negative ? -quotient : quotient;
}

int UsablePixelsPerInch(int pixels_per_inch) { return pixels_per_inch > 0 ? pixels_per_inch : 96; }

class Reader {
 public:
  Reader(const IniDocument& ini, std::string_view decimal_separator)
      : ini_(ini), separator_(decimal_separator) {}

  std::string Text(std::string_view section, std::string_view key,
                   std::string_view fallback) const {
    return ini_.Get(section, key).value_or(std::string(fallback));
  }

  double Float(std::string_view section, std::string_view key, double fallback) const {
    const auto text = ini_.Get(section, key);
    if (!text) return fallback;
    return ParseFloat(*text, separator_).value_or(fallback);
  }

  std::int32_t Integer(std::string_view section, std::string_view key,
                       std::int32_t fallback) const {
    return StoredInteger(section, key).value_or(fallback);
  }

  // The key's integer, or nothing where the key is missing or holds no integer.
  std::optional<std::int32_t> StoredInteger(std::string_view section, std::string_view key) const {
    const auto text = ini_.Get(section, key);
    if (!text) return std::nullopt;
    return ParseInteger(*text);
  }

  bool Boolean(std::string_view section, std::string_view key, bool fallback) const {
    const auto text = ini_.Get(section, key);
    return text ? ParseBoolean(*text, fallback) : fallback;
  }

  // A broken colour takes the default and is reported, so that one bad value does not
  // leave every later setting unread (a save would then overwrite them).
  std::uint32_t Colour(std::string_view key, std::uint32_t fallback, LoadReport& report) const {
    const auto text = ini_.Get(kColorsSection, key);
    if (!text) return fallback;
    if (const auto colour = ParseColour(*text)) return *colour;
    report.BadColourValues.push_back(*text);
    return fallback;
  }

 private:
  const IniDocument& ini_;
  std::string_view separator_;
};

}  // namespace

std::int32_t FontHeightFromSize(std::int32_t points, int pixels_per_inch) {
  // An absurd size is first brought to the largest whose height fits 32 bits, rather than
  // clamping the height: that height then saves as the same size, so the file settles.
  const int ppi = UsablePixelsPerInch(pixels_per_inch);
  const std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} * 72 / ppi;
  const std::int64_t usable = std::clamp<std::int64_t>(points, -limit, limit);
  return ClampToInt32(-MulDivRounded(usable, ppi, 72));
}

std::int32_t FontSizeFromHeight(std::int32_t height, int pixels_per_inch) {
  return ClampToInt32(
      MulDivRounded(-static_cast<std::int64_t>(height), 72, UsablePixelsPerInch(pixels_per_inch)));
}

LoadReport LoadSettingsFrom(const IniDocument& ini, Settings& s, WindowBounds& bounds,
                            LineSpacings& spacings, int pixels_per_inch,
                            std::string_view decimal_separator) {
  const Reader r(ini, decimal_separator);
  const Settings defaults;
  LoadReport report;

  s.AdapterName = r.Text(kSettingsSection, "AdapterName", defaults.AdapterName);
  // A value that is no number leaves the choice fixed, on AdapterName.
  s.AutoAdapter = r.Boolean(kSettingsSection, "AutoAdapter", defaults.AutoAdapter);
  s.GraphRange = r.Float(kSettingsSection, "GraphRange", defaults.GraphRange);
  s.GraphMiddle = r.Float(kSettingsSection, "GraphMiddle", defaults.GraphMiddle);
  s.GraphSendRange = r.Float(kSettingsSection, "GraphSendRange", defaults.GraphSendRange);
  s.GraphUnit = r.Text(kSettingsSection, "GraphUnit", defaults.GraphUnit);
  s.ShowValue = r.Boolean(kSettingsSection, "ShowValue", defaults.ShowValue);
  s.LockWindow = r.Boolean(kSettingsSection, "LockWindow", defaults.LockWindow);
  s.SnapWindow = r.Boolean(kSettingsSection, "SnapWindow", defaults.SnapWindow);
  s.HideWindow = r.Boolean(kSettingsSection, "HideWindow", defaults.HideWindow);
  s.AlphaBlend = r.Integer(kSettingsSection, "AlphaBlend", defaults.AlphaBlend);
  s.Interval = r.Integer(kSettingsSection, "Interval", defaults.Interval);
  s.ValueInterval = r.Integer(kSettingsSection, "ValueInterval", defaults.ValueInterval);

  s.RecvColor = r.Colour("Recv", defaults.RecvColor, report);
  s.SendColor = r.Colour("Send", defaults.SendColor, report);
  s.MiddleColor = r.Colour("Middle", defaults.MiddleColor, report);
  s.BackColor = r.Colour("Back", defaults.BackColor, report);

  s.CustomColors.clear();
  for (const std::string& key : ini.KeyNames(kCustomColorsSection)) {
    s.CustomColors.push_back(key + '=' + r.Text(kCustomColorsSection, key, ""));
  }

  // An empty name keeps the face the font already has.
  std::string face = r.Text(kFontSection, "Name", defaults.ValueFont.Name);
  if (!face.empty()) s.ValueFont.Name = std::move(face);
  s.ValueFont.Height =
      FontHeightFromSize(r.Integer(kFontSection, "Size", kDefaultFontSize), pixels_per_inch);
  s.ValueFont.Style = static_cast<std::uint8_t>(
      static_cast<std::uint32_t>(r.Integer(kFontSection, "Style", 0)) & 0xFFu);

  bounds.Top = r.Integer(kWindowSection, "Top", kDefaultWindowTop);
  bounds.Left = r.Integer(kWindowSection, "Left", kDefaultWindowLeft);
  const std::optional<std::int32_t> width = r.StoredInteger(kWindowSection, "Width");
  report.WidthStored = width.has_value();
  bounds.Width = width.value_or(bounds.Width);
  const std::optional<std::int32_t> height = r.StoredInteger(kWindowSection, "Height");
  report.HeightStored = height.has_value();
  bounds.Height = height.value_or(bounds.Height);
  // Without it (a file of an older version) the stored size is taken as pixels, as ever.
  const std::int32_t density = r.Integer(kWindowSection, kWindowDensityKey, 0);
  bounds.Density = density >= kLowestDensity && density <= kHighestDensity ? density : 0;

  // Added to the measured spacings; wraps like the 32-bit sum it is.
  for (std::size_t i = 0; i < spacings.size(); ++i) {
    const std::string key = "ValueLineSpacing" + std::to_string(i + 1);
    const std::int32_t extra = r.Integer(kSettingsSection, key, 0);
    spacings[i] = static_cast<std::int32_t>(static_cast<std::uint32_t>(spacings[i]) +
                                            static_cast<std::uint32_t>(extra));
  }

  s.UsageStartDay = r.Integer(kUsageSection, kUsageStartDayKey, defaults.UsageStartDay);
  return report;
}

void SaveSettingsTo(IniDocument& ini, const Settings& s, const WindowBounds& bounds,
                    int pixels_per_inch, std::string_view decimal_separator) {
  const auto set_float = [&](std::string_view key, double value) {
    ini.Set(kSettingsSection, key, FormatFloat(value, decimal_separator));
  };

  ini.Set(kProgramName, "Version", kSettingsVersion);

  ini.Set(kSettingsSection, "AdapterName", s.AdapterName);
  ini.Set(kSettingsSection, "AutoAdapter", FormatBoolean(s.AutoAdapter));
  set_float("GraphRange", s.GraphRange);
  set_float("GraphMiddle", s.GraphMiddle);
  set_float("GraphSendRange", s.GraphSendRange);
  ini.Set(kSettingsSection, "GraphUnit", s.GraphUnit);
  ini.Set(kSettingsSection, "ShowValue", FormatBoolean(s.ShowValue));
  ini.Set(kSettingsSection, "LockWindow", FormatBoolean(s.LockWindow));
  ini.Set(kSettingsSection, "SnapWindow", FormatBoolean(s.SnapWindow));
  ini.Set(kSettingsSection, "HideWindow", FormatBoolean(s.HideWindow));
  ini.Set(kSettingsSection, "AlphaBlend", FormatInteger(s.AlphaBlend));
  ini.Set(kSettingsSection, "Interval", FormatInteger(s.Interval));
  ini.Set(kSettingsSection, "ValueInterval", FormatInteger(s.ValueInterval));

  ini.Set(kColorsSection, "Recv", FormatColour(s.RecvColor));
  ini.Set(kColorsSection, "Send", FormatColour(s.SendColor));
  ini.Set(kColorsSection, "Middle", FormatColour(s.MiddleColor));
  ini.Set(kColorsSection, "Back", FormatColour(s.BackColor));

  // Only entries that hold a colour; keys in the file that are not written stay.
  for (const std::string& line : s.CustomColors) {
    const auto name = LineName(line);
    if (!name || name->empty()) continue;  // no key to write it under
    const auto value = FindLineValue(s.CustomColors, *name);
    if (value && !value->empty() && *value != kUnsetCustomColourText) {
      ini.Set(kCustomColorsSection, *name, *value);
    }
  }

  ini.Set(kFontSection, "Name", s.ValueFont.Name);
  ini.Set(kFontSection, "Size",
          FormatInteger(FontSizeFromHeight(s.ValueFont.Height, pixels_per_inch)));
  ini.Set(kFontSection, "Style", FormatInteger(s.ValueFont.Style));

  ini.Set(kWindowSection, "Top", FormatInteger(bounds.Top));
  ini.Set(kWindowSection, "Left", FormatInteger(bounds.Left));
  ini.Set(kWindowSection, "Width", FormatInteger(bounds.Width));
  ini.Set(kWindowSection, "Height", FormatInteger(bounds.Height));
  if (bounds.Density > 0) ini.Set(kWindowSection, kWindowDensityKey, FormatInteger(bounds.Density));

  // Written once the user has set it: a file that never had it stays as it was.
  if (s.UsageStartDay != Settings{}.UsageStartDay || ini.Get(kUsageSection, kUsageStartDayKey)) {
    ini.Set(kUsageSection, kUsageStartDayKey, FormatInteger(s.UsageStartDay));
  }
}

void SaveChangedSettingsTo(IniDocument& ini, const Settings& loaded,
                           const WindowBounds& loaded_bounds, const Settings& now,
                           const WindowBounds& now_bounds, int pixels_per_inch,
                           std::string_view decimal_separator) {
  IniDocument before;
  SaveSettingsTo(before, loaded, loaded_bounds, pixels_per_inch, decimal_separator);
  IniDocument after;
  SaveSettingsTo(after, now, now_bounds, pixels_per_inch, decimal_separator);
  bool size_written = false;
  for (const std::string& section : after.SectionNames()) {
    for (const std::string& key : after.KeyNames(section)) {
      const auto value = after.Get(section, key);
      if (value && before.Get(section, key) != value) {
        ini.Set(section, key, *value);
        if (section == kWindowSection && (key == "Width" || key == "Height")) size_written = true;
      }
    }
  }
  // A size goes with the density it was taken at, or a stale one would rescale it.
  if (const auto density = after.Get(kWindowSection, kWindowDensityKey); size_written && density) {
    ini.Set(kWindowSection, kWindowDensityKey, *density);
  }
  // Set back to the default, the start day is in `before` alone.
  if (loaded.UsageStartDay != now.UsageStartDay) {
    ini.Set(kUsageSection, kUsageStartDayKey, FormatInteger(now.UsageStartDay));
  }
}

}  // namespace ripplet
