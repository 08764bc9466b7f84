// The Options dialog's handlers for what the user does: unit picks, colours, the font,
// the up-down edits, the lock and default height, OK and help.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "dialogs/options_controls.h"
#include "dialogs/options_form.h"
#include "display/units.h"
#include "settings/custom_colours.h"
#include "settings/value_forms.h"
#include "win32/app_error.h"
#include "win32/win_handles.h"
#include "win32/win_text.h"

namespace ripplet {

using namespace options;

namespace {

std::optional<std::size_t> SelectedIndex(HWND combo) {
  const LRESULT index = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (index < 0) return std::nullopt;
  return static_cast<std::size_t>(index);
}

}  // namespace

RangeTexts TOptionForm::ReadRangeTexts() const {
  RangeTexts texts;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    texts[i] = WideToAnsi(WindowText(Item(kRangeEditIds[i])));
  }
  return texts;
}

void TOptionForm::GraphUnitBoxSelect() {
  HWND units = Item(IDC_OPTIONS_GRAPHUNITBOX);
  const auto picked = SelectedIndex(units);
  if (!picked || *picked >= kUnitTexts.size()) return;
  const std::string_view target = kUnitTexts[*picked];

  const RangeConversion conversion = ConvertRanges(
      ReadRangeTexts(), UnitRatio(remembered_unit_, target), context_.decimal_separator);
  if (conversion.BadIndex) {
    // Nothing was converted: the box goes back to the unit the edits are still in.
    const UnitChoice previous = ChooseUnit(remembered_unit_);
    ::SendMessageW(units, CB_SETCURSEL,
                   previous.Selected ? *previous.Selected : static_cast<WPARAM>(-1), 0);
    throw AppError(L"'" + WindowText(Item(kRangeEditIds[*conversion.BadIndex])) +
                   L"' は浮動小数点数ではありません");
  }
  for (std::size_t i = 0; i < conversion.Texts.size(); ++i) {
    ::SetWindowTextW(Item(kRangeEditIds[i]), AnsiToWide(conversion.Texts[i]).c_str());
  }
  remembered_unit_ = std::string(target);
}

void TOptionForm::ColorBtnClick(int button_id) {
  std::size_t which = IndexOf(kColourButtonIds, button_id);
  if (which >= swatch_colours_.size()) which = swatch_colours_.size() - 1;  // the background

  const CustomColourRead read = ReadCustomColours(custom_colours_);
  if (read.BadValue) throw AppError(L"'" + AnsiToWide(*read.BadValue) + L"' は整数ではありません");
  std::array<COLORREF, 16> custom{};
  for (std::size_t i = 0; i < custom.size(); ++i) custom[i] = read.Colours[i];

  COLORREF colour = ColourToRgb(swatch_colours_[which]);
  if (pickers_.ChooseColour && pickers_.ChooseColour(hwnd_, colour, custom)) {
    swatch_colours_[which] = colour;
    CustomColourArray chosen{};
    for (std::size_t i = 0; i < chosen.size(); ++i) chosen[i] = custom[i];
    WriteCustomColours(custom_colours_, chosen);
  }
  ::InvalidateRect(Item(kSwatchIds[which]), nullptr, TRUE);
}

bool TOptionForm::DrawSwatch(const DRAWITEMSTRUCT& item) {
  const std::size_t which = IndexOf(kSwatchIds, static_cast<int>(item.CtlID));
  if (which >= kSwatchIds.size()) return false;
  const UniqueBrush fill(::CreateSolidBrush(ColourToRgb(swatch_colours_[which])));
  ::FillRect(item.hDC, &item.rcItem, fill.get());
  ::FrameRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  return true;
}

void TOptionForm::ValueFontButtonClick() {
  const LOGFONTW initial = FontToLogFont(font_);
  LOGFONTW chosen = initial;
  if (!pickers_.ChooseFont || !pickers_.ChooseFont(hwnd_, chosen)) return;
  font_ = MergeChosenFont(font_, initial, chosen);
}

std::int32_t TOptionForm::ReadUpDown(std::size_t which) {
  const auto typed = ParseUpDownText(WindowText(Item(kUpDownEditIds[which])), kUpDownRanges[which]);
  if (typed) {
    positions_[which] = *typed;
    ::SendMessageW(Item(kUpDownIds[which]), UDM_SETPOS32, 0, *typed);
  }
  return positions_[which];
}

void TOptionForm::UpDownEditExit(std::size_t which) {
  HWND edit = Item(kUpDownEditIds[which]);
  const std::wstring shown = std::to_wstring(ReadUpDown(which));
  if (WindowText(edit) != shown) ::SetWindowTextW(edit, shown.c_str());
}

void TOptionForm::LockWindowCheckClick() {
  const bool locked = ::IsDlgButtonChecked(hwnd_, IDC_OPTIONS_LOCKWINDOWCHECK) == BST_CHECKED;
  ::EnableWindow(Item(IDC_OPTIONS_DEFAULTHEIGHTBTN), locked ? FALSE : TRUE);
}

void TOptionForm::DefaultHeightBtnClick() {
  HWND button = Item(IDC_OPTIONS_DEFAULTHEIGHTBTN);
  // A disabled control cannot keep the keyboard focus: pass it on first.
  if (::GetFocus() == button) ::SendMessageW(hwnd_, WM_NEXTDLGCTL, 0, FALSE);
  ::EnableWindow(button, FALSE);
  // The main window changes at once; Cancel does not undo it.
  if (context_.restore_default_height) context_.restore_default_height();
}

void TOptionForm::Refuse(const wchar_t* text, int control_id) {
  // Owned by the dialog, with the platform's default caption and the error icon.
  ::MessageBoxW(hwnd_, text, nullptr, MB_ICONERROR | MB_OK);
  ::SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(control_id)), TRUE);
}

void TOptionForm::OKBtnClick() {
  const auto adapter = SelectedIndex(Item(IDC_OPTIONS_ADAPTERBOX));
  // Entry 0 is the automatic choice; the adapters follow it.
  const bool adapter_selected = adapter && *adapter <= adapter_entries_.size();
  const OptionsCheck check =
      CheckOptionInput(adapter_selected, ReadRangeTexts(), context_.decimal_separator);
  switch (check.Problem) {
    case OptionsProblem::NoAdapter:
      Refuse(kNoAdapterText, IDC_OPTIONS_ADAPTERBOX);
      return;
    case OptionsProblem::BadNumber:
      Refuse(kBadNumberText, kRangeEditIds[check.BadIndex]);
      return;
    case OptionsProblem::None:
      break;
  }

  // Built aside and stored whole, so the record never holds half of the input.
  Settings updated = context_.settings;
  // The automatic choice keeps the adapter it follows now; the meter sets it when it moves.
  updated.AutoAdapter = *adapter == 0;
  if (!updated.AutoAdapter) updated.AdapterName = adapter_entries_[*adapter - 1];
  updated.GraphRange = check.Ranges[0];
  updated.GraphMiddle = check.Ranges[1];
  updated.GraphSendRange = check.Ranges[2];
  updated.GraphUnit = UnitToStore(SelectedIndex(Item(IDC_OPTIONS_GRAPHUNITBOX)), remembered_unit_);
  updated.RecvColor = swatch_colours_[0];
  updated.SendColor = swatch_colours_[1];
  updated.MiddleColor = swatch_colours_[2];
  updated.BackColor = swatch_colours_[3];
  updated.CustomColors = custom_colours_;
  const std::array<bool*, 4> flags = {&updated.ShowValue, &updated.LockWindow, &updated.SnapWindow,
                                      &updated.HideWindow};
  for (std::size_t i = 0; i < flags.size(); ++i) {
    *flags[i] = ::IsDlgButtonChecked(hwnd_, kCheckIds[i]) == BST_CHECKED;
  }
  updated.AlphaBlend = ReadUpDown(0);
  updated.Interval = ReadUpDown(1);
  updated.ValueInterval = ReadUpDown(2);
  updated.ValueFont = font_;
  context_.settings = std::move(updated);
  EndWith(IDOK);
}

void TOptionForm::HelpBtnClick() {
  if (context_.show_help) context_.show_help(6);
}

}  // namespace ripplet
