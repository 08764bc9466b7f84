#include "settings/win_logfont.h"

#include <algorithm>
#include <string>

#include "win32/win_text.h"

namespace ripplet {

LOGFONTW FontToLogFont(const FontSpec& font) {
  LOGFONTW logfont{};
  logfont.lfHeight = font.Height;
  logfont.lfWeight = (font.Style & kFontStyleBold) != 0 ? FW_BOLD : FW_NORMAL;
  logfont.lfItalic = (font.Style & kFontStyleItalic) != 0;
  logfont.lfUnderline = (font.Style & kFontStyleUnderline) != 0;
  logfont.lfStrikeOut = (font.Style & kFontStyleStrikeOut) != 0;
  logfont.lfCharSet = font.Charset;
  const std::wstring face = AnsiToWide(font.Name);
  const std::size_t length = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
  std::copy_n(face.begin(), length, logfont.lfFaceName);
  return logfont;
}

}  // namespace ripplet
