// The platform's colour and font dialogs, and the colour and font conversions around them.
#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "dialogs/options_form.h"
#include "win32/win_system_functions.h"
#include "win32/win_text.h"

namespace ripplet {

TOptionForm::Pickers TOptionForm::PlatformPickers() {
  Pickers pickers;
  pickers.ChooseColour = [](HWND owner, COLORREF& colour, std::array<COLORREF, 16>& custom) {
    // The dialog edits the custom colours in place even when cancelled: work on a copy.
    std::array<COLORREF, 16> working = custom;
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.rgbResult = colour;
    dialog.lpCustColors = working.data();
    dialog.Flags = CC_RGBINIT;  // the basic view; the user opens the custom part
    if (!System().ChooseColorW || !System().ChooseColorW(&dialog)) return false;
    colour = dialog.rgbResult;
    custom = working;
    return true;
  };
  pickers.ChooseFont = [](HWND owner, LOGFONTW& font) {
    LOGFONTW working = font;
    CHOOSEFONTW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpLogFont = &working;
    // Screen fonts, no effects section (so no underline, strike-out or colour), no Apply.
    dialog.Flags = CF_INITTOLOGFONTSTRUCT | CF_SCREENFONTS;
    if (!System().ChooseFontW || !System().ChooseFontW(&dialog)) return false;
    font = working;
    return true;
  };
  return pickers;
}

COLORREF ColourToRgb(std::uint32_t colour) noexcept {
  if ((colour & 0xFF000000u) == 0xFF000000u) {
    return ::GetSysColor(static_cast<int>(colour & 0xFFu));
  }
  return colour & 0x00FFFFFFu;
}

FontSpec MergeChosenFont(const FontSpec& current, const LOGFONTW& initial, const LOGFONTW& chosen) {
  FontSpec merged = current;
  const std::wstring initial_face(initial.lfFaceName);
  const std::wstring chosen_face(chosen.lfFaceName);
  // A face kept as it was keeps its stored bytes.
  if (chosen_face != initial_face) merged.Name = WideToAnsi(chosen_face);
  merged.Height = chosen.lfHeight;
  // The dialog's choice is one of the four styles; other stored bits go with it.
  merged.Style = static_cast<std::uint8_t>((chosen.lfWeight > FW_NORMAL ? kFontStyleBold : 0) |
                                           (chosen.lfItalic ? kFontStyleItalic : 0) |
                                           (chosen.lfUnderline ? kFontStyleUnderline : 0) |
                                           (chosen.lfStrikeOut ? kFontStyleStrikeOut : 0));
  const bool face_changed =
      ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, initial_face.c_str(),
                       static_cast<int>(initial_face.size()), chosen_face.c_str(),
                       static_cast<int>(chosen_face.size())) != CSTR_EQUAL;
  if (face_changed || chosen.lfCharSet != initial.lfCharSet) merged.Charset = chosen.lfCharSet;
  return merged;
}

}  // namespace ripplet
