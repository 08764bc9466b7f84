// Moving the settings record to and from the settings file's text. Settings are
// read and written here and nowhere else; the shell reads and writes the file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/ini_document.h"
#include "settings/settings.h"

namespace ripplet {

struct LoadReport {
  // Each "Colors" value that is neither a colour name nor an integer, as its raw
  // bytes; that colour took its default and loading went on.
  std::vector<std::string> BadColourValues;
  // The file gave the window's width, its height: each is used as it is (or brought from
  // the density it was stored at).
  bool WidthStored = false;
  bool HeightStored = false;
};

// `bounds` comes in holding the window's current bounds (its layout size); the line
// spacings come in as measured and the file's values are added to them.
LoadReport LoadSettingsFrom(const IniDocument& ini, Settings& s, WindowBounds& bounds,
                            LineSpacings& spacings, int pixels_per_inch,
                            std::string_view decimal_separator);

void SaveSettingsTo(IniDocument& ini, const Settings& s, const WindowBounds& bounds,
                    int pixels_per_inch, std::string_view decimal_separator);

// The save over a file whose contents the program's record did not come from (it could not
// be read, it arrived later, loading never ran): only what the user changed since (`now`
// against `loaded`, as saved text) is written, and every other value stays as the file has
// it.
void SaveChangedSettingsTo(IniDocument& ini, const Settings& loaded,
                           const WindowBounds& loaded_bounds, const Settings& now,
                           const WindowBounds& now_bounds, int pixels_per_inch,
                           std::string_view decimal_separator);

// Font points to a LOGFONT height and back, rounded half away from zero. A size whose
// height would not fit 32 bits counts as the largest that does.
std::int32_t FontHeightFromSize(std::int32_t points, int pixels_per_inch);
std::int32_t FontSizeFromHeight(std::int32_t height, int pixels_per_inch);

}  // namespace ripplet
