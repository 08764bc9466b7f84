// TOptionForm: the Options dialog bound to its .rc template. It is created modeless over
// the settings record and runs in the program's own modal loop; a test may create it,
// drive its controls with real messages and press OK without the loop.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/options_dialog.h"
#include "dialogs/options_rules.h"
#include "settings/settings.h"
#include "settings/win_logfont.h"
#include "win32/win_dialog.h"

namespace ripplet {

class TOptionForm : public Dialog {
 public:
  // The platform's colour and font dialogs, replaceable so that a test can answer them.
  // Each returns true when the user confirmed; the values are changed only then.
  using ColourPicker =
      std::function<bool(HWND owner, COLORREF& colour, std::array<COLORREF, 16>& custom)>;
  using FontPicker = std::function<bool(HWND owner, LOGFONTW& font)>;
  struct Pickers {
    ColourPicker ChooseColour;
    FontPicker ChooseFont;
  };
  static Pickers PlatformPickers();

  explicit TOptionForm(OptionsContext& context, Pickers pickers = PlatformPickers());
  ~TOptionForm() override;

  // Creates the dialog hidden over `owner`; FormCreate fills it from the record.
  void Create(HWND owner);
  // Shows it in the program's modal loop (FormShow runs as it appears) and returns the
  // modal result: IDOK after a validated OK, else IDCANCEL.
  INT_PTR ShowModal();

  // 0 while the dialog is open; IDOK or IDCANCEL once it ended.
  INT_PTR ModalResult() const noexcept { return modal_result_; }
  // The unit the range edits are currently expressed in.
  const std::string& RememberedUnit() const noexcept { return remembered_unit_; }

 private:
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void HandleCommand(int id, int code);

  // Handlers, named after their controls and events.
  void FormCreate();
  void FormShow();
  void GraphUnitBoxSelect();
  void ColorBtnClick(int button_id);
  void ValueFontButtonClick();
  void UpDownEditExit(std::size_t which);
  void LockWindowCheckClick();
  void DefaultHeightBtnClick();
  void OKBtnClick();
  void HelpBtnClick();

  void FillAdapterBox();
  void AdapterBoxSelect();
  void FillUpDowns();
  bool DrawSwatch(const DRAWITEMSTRUCT& item);
  RangeTexts ReadRangeTexts() const;
  std::int32_t ReadUpDown(std::size_t which);
  void Refuse(const wchar_t* text, int control_id);
  void EndWith(INT_PTR result);

  HWND Item(int id) const noexcept { return ::GetDlgItem(hwnd_, id); }

  OptionsContext& context_;
  Pickers pickers_;
  INT_PTR modal_result_ = 0;

  // The adapter box's entries as bytes, after its first entry, the automatic one.
  std::vector<std::string> adapter_entries_;
  std::string remembered_unit_;
  std::array<std::uint32_t, 4> swatch_colours_{};  // receive, send, middle, background
  std::vector<std::string> custom_colours_;        // ColorDlg's list, "name=value" lines
  FontSpec font_;                                  // FontDlg's font
  std::array<std::int32_t, 3> positions_{};        // alpha blend, interval, value interval
};

// The colour as RGB for the colour dialog and the swatches: a system colour (0xFF000000 plus
// its index) takes its current value, anything else its low 24 bits.
COLORREF ColourToRgb(std::uint32_t colour) noexcept;

// The font dialog's answer merged into the value font it started from (FontToLogFont): face,
// height and the four styles as chosen (bold above weight 400); the character set only when
// the face changed or another script was picked.
FontSpec MergeChosenFont(const FontSpec& current, const LOGFONTW& initial, const LOGFONTW& chosen);

}  // namespace ripplet
