#include "win32/win_font.h"

#include "win32/app_error.h"

namespace ripplet {

UniqueFont MakeFont(const LOGFONTW& logfont) {
  UniqueFont font(::CreateFontIndirectW(&logfont));
  if (!font) throw AppError(L"フォントを作成できません");
  return font;
}

}  // namespace ripplet
