// The Options dialog's life: creation from the template, FormCreate, FormShow, the dialog
// procedure and the modal run.
#include "dialogs/options_dialog.h"

#include <commctrl.h>
#include <imm.h>

#include <string>
#include <utility>

#include "dialogs/options_controls.h"
#include "dialogs/options_form.h"
#include "display/units.h"
#include "settings/value_forms.h"
#include "win32/app_error.h"
#include "win32/win_modal.h"
#include "win32/win_system_functions.h"
#include "win32/win_text.h"

namespace ripplet {

using namespace options;

namespace {

// The platform's sorted list orders without regard to case by the user's locale; the
// adapter list is sorted the same way before it is filled.
int CompareAdapterTexts(std::string_view a, std::string_view b) {
  const std::wstring wa = AnsiToWide(a);
  const std::wstring wb = AnsiToWide(b);
  const int order =
      ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wa.c_str(),
                       static_cast<int>(wa.size()), wb.c_str(), static_cast<int>(wb.size()));
  if (order == 0) return a.compare(b);  // not comparable: fall back to the bytes
  return order - CSTR_EQUAL;
}

}  // namespace

TOptionForm::TOptionForm(OptionsContext& context, Pickers pickers)
    : context_(context), pickers_(std::move(pickers)) {}

TOptionForm::~TOptionForm() { DestroyDialog(); }

void TOptionForm::Create(HWND owner) {
  InitDialogControls(ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES);
  CreateFromTemplate(IDD_OPTIONS, owner, L"オプション ダイアログを作成できません");
}

INT_PTR TOptionForm::ShowModal() {
  modal_result_ = 0;
  const INT_PTR result = RunModal(hwnd_, owner_);
  if (modal_result_ == 0) modal_result_ = result;
  return modal_result_;
}

void TOptionForm::EndWith(INT_PTR result) {
  modal_result_ = result;
  EndModal(hwnd_, result);
}

INT_PTR TOptionForm::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      FormCreate();
      return TRUE;  // the focus goes to the first tab stop, the adapter box
    case WM_SHOWWINDOW:
      if (wparam) FormShow();
      return FALSE;
    case WM_COMMAND:
      HandleCommand(LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    case WM_VSCROLL:
      // An up-down stepped and rewrote its edit: take the new position.
      for (std::size_t i = 0; i < kUpDownIds.size(); ++i) {
        if (reinterpret_cast<HWND>(lparam) == Item(kUpDownIds[i])) ReadUpDown(i);
      }
      return TRUE;
    case WM_DRAWITEM:
      return DrawSwatch(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam)) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

void TOptionForm::HandleCommand(int id, int code) {
  if (id == IDCANCEL) {  // the Cancel button, Esc and the close box
    EndWith(IDCANCEL);
    return;
  }
  if (const std::size_t i = IndexOf(kUpDownEditIds, id); i < kUpDownEditIds.size()) {
    if (code == EN_KILLFOCUS) UpDownEditExit(i);
    return;
  }
  if (id == IDC_OPTIONS_ADAPTERBOX) {
    if (code == CBN_SELCHANGE) AdapterBoxSelect();
    return;
  }
  if (id == IDC_OPTIONS_GRAPHUNITBOX) {
    if (code == CBN_SELCHANGE) GraphUnitBoxSelect();
    return;
  }
  if (code != BN_CLICKED) return;
  if (IndexOf(kColourButtonIds, id) < kColourButtonIds.size()) {
    ColorBtnClick(id);
    return;
  }
  switch (id) {
    case IDOK:
      OKBtnClick();
      break;
    case IDC_OPTIONS_HELPBTN:
      HelpBtnClick();
      break;
    case IDC_OPTIONS_VALUEFONTBUTTON:
      ValueFontButtonClick();
      break;
    case IDC_OPTIONS_LOCKWINDOWCHECK:
      LockWindowCheckClick();
      break;
    case IDC_OPTIONS_DEFAULTHEIGHTBTN:
      DefaultHeightBtnClick();
      break;
    default:
      break;
  }
}

void TOptionForm::FormCreate() {
  const Settings& s = context_.settings;
  // Every platform this program runs on has layered translucency, so the transparency
  // controls all stay enabled.

  FillAdapterBox();

  const std::array<double, 3> ranges = {s.GraphRange, s.GraphMiddle, s.GraphSendRange};
  for (std::size_t i = 0; i < ranges.size(); ++i) {
    const std::string text = FormatFloat(ranges[i], context_.decimal_separator);
    ::SetWindowTextW(Item(kRangeEditIds[i]), AnsiToWide(text).c_str());
  }

  HWND units = Item(IDC_OPTIONS_GRAPHUNITBOX);
  for (std::string_view unit : kUnitTexts) {
    const std::wstring text = AnsiToWide(unit, kUnitCodePage);
    ::SendMessageW(units, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  ::SendMessageW(units, CB_SETMINVISIBLE, kUnitTexts.size(), 0);
  const UnitChoice unit = ChooseUnit(s.GraphUnit);
  ::SendMessageW(units, CB_SETCURSEL, unit.Selected ? *unit.Selected : static_cast<WPARAM>(-1), 0);

  swatch_colours_ = {s.RecvColor, s.SendColor, s.MiddleColor, s.BackColor};
  custom_colours_ = s.CustomColors;

  const std::array<bool, 4> checks = {s.ShowValue, s.LockWindow, s.SnapWindow, s.HideWindow};
  for (std::size_t i = 0; i < checks.size(); ++i) {
    ::CheckDlgButton(hwnd_, kCheckIds[i], checks[i] ? BST_CHECKED : BST_UNCHECKED);
  }
  LockWindowCheckClick();  // a locked window starts with the default-height button disabled

  FillUpDowns();
  font_ = s.ValueFont;
  remembered_unit_ = unit.Remembered;

  // Numbers only: the input method stays off in every edit.
  for (int id : kRangeEditIds) ::ImmAssociateContext(Item(id), nullptr);
  for (int id : kUpDownEditIds) ::ImmAssociateContext(Item(id), nullptr);
}

void TOptionForm::FillAdapterBox() {
  std::vector<std::string> descriptions;
  descriptions.reserve(context_.adapters.size());
  for (const IfRow& row : context_.adapters) descriptions.emplace_back(row.Description());
  AdapterList list =
      ListAdapters(std::move(descriptions), context_.settings.AdapterName, &CompareAdapterTexts);

  HWND box = Item(IDC_OPTIONS_ADAPTERBOX);
  ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kAutoAdapterText));
  for (const std::string& entry : list.Entries) {
    const std::wstring text = AnsiToWide(entry);
    ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  ::SendMessageW(box, CB_SETMINVISIBLE, 8, 0);
  auto selected = static_cast<WPARAM>(-1);
  if (context_.settings.AutoAdapter) {
    selected = 0;
  } else if (list.Selected) {
    selected = *list.Selected + 1;
  }
  ::SendMessageW(box, CB_SETCURSEL, selected, 0);
  adapter_entries_ = std::move(list.Entries);

  const std::wstring followed =
      context_.followed_adapter
          ? std::wstring(kFollowedPrefix) + AnsiToWide(*context_.followed_adapter)
          : std::wstring(kNotFollowedText);
  ::SetWindowTextW(Item(IDC_OPTIONS_FOLLOWEDLABEL), followed.c_str());
  AdapterBoxSelect();
}

void TOptionForm::AdapterBoxSelect() {
  const LRESULT selected = ::SendMessageW(Item(IDC_OPTIONS_ADAPTERBOX), CB_GETCURSEL, 0, 0);
  ::ShowWindow(Item(IDC_OPTIONS_FOLLOWEDLABEL), selected == 0 ? SW_SHOWNA : SW_HIDE);
}

void TOptionForm::FillUpDowns() {
  const Settings& s = context_.settings;
  const std::array<std::int32_t, 3> stored = {s.AlphaBlend, s.Interval, s.ValueInterval};
  for (std::size_t i = 0; i < stored.size(); ++i) {
    const UpDownRange& range = kUpDownRanges[i];
    HWND updown = Item(kUpDownIds[i]);
    HWND edit = Item(kUpDownEditIds[i]);
    ::SendMessageW(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    ::SendMessageW(updown, UDM_SETRANGE32, static_cast<WPARAM>(range.Min), range.Max);
    // One step of the up-down's increment; FormShow adds the faster one.
    UDACCEL step{0, static_cast<UINT>(range.Step)};
    ::SendMessageW(updown, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
    positions_[i] = UpDownStartPosition(stored[i], range);
    ::SendMessageW(updown, UDM_SETPOS32, 0, positions_[i]);
    ::SetWindowTextW(edit, std::to_wstring(positions_[i]).c_str());
  }
}

void TOptionForm::FormShow() {
  // Holding an arrow steps by the up-down's increment, and from 2 s on by five of them.
  for (int id : kUpDownIds) {
    HWND updown = Item(id);
    UDACCEL first{};
    ::SendMessageW(updown, UDM_GETACCEL, 1, reinterpret_cast<LPARAM>(&first));
    UDACCEL steps[2] = {first, {2, first.nInc * 5}};
    ::SendMessageW(updown, UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(steps));
  }
}

bool ShowOptionsDialog(HWND owner, OptionsContext& context) {
  TOptionForm form(context);
  form.Create(owner);
  return form.ShowModal() == IDOK;
}

}  // namespace ripplet
