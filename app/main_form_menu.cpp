// The context menu: it mirrors and flips the four behaviours, opens the Options dialog,
// the Usage dialog, help and the About dialog, starts the program with Windows or not, and ends
// the program.
#include "app/main_form.h"
#include "dialogs/about_dialog.h"
#include "dialogs/help.h"
#include "dialogs/options_dialog.h"

namespace ripplet {
namespace {

struct MenuEntry {
  UINT Id;
  const wchar_t* Caption;  // nullptr: a separator
};

constexpr MenuEntry kMenu[] = {
    {TMainForm::kOptionItem, L"オプション(&O)"},
    {TMainForm::kUsageItem, L"使用量(&U)..."},
    {0, nullptr},
    {TMainForm::kShowValueItem, L"速度数値を表示(&P)"},
    {TMainForm::kLockWindowItem, L"位置・サイズを固定(&C)"},
    {TMainForm::kSnapWindowItem, L"画面端にスナップ(&N)"},
    {TMainForm::kHideWindowItem, L"マウス ポインタが来たら隠す(&D)"},
    {TMainForm::kStartWithWindowsItem, L"Windows の起動時に開始(&W)"},
    {0, nullptr},
    {TMainForm::kHelpItem, L"ヘルプ(&H)"},
    {TMainForm::kAboutItem, L"バージョン情報(&A)"},
    {0, nullptr},
    {TMainForm::kExitItem, L"終了(&X)"},
};

void Check(HMENU menu, UINT id, bool checked) {
  ::CheckMenuItem(menu, id,
                  static_cast<UINT>(MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED)));
}

}  // namespace

void TMainForm::CreatePopupMenu() {
  popup_menu_.reset(::CreatePopupMenu());
  for (const MenuEntry& entry : kMenu) {
    if (entry.Caption == nullptr) {
      ::AppendMenuW(popup_menu_.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      ::AppendMenuW(popup_menu_.get(), MF_STRING, entry.Id, entry.Caption);
    }
  }
}

void TMainForm::PopupMenuPopup() {
  // Read afresh each time, so a change made in the Options dialog shows here.
  HMENU menu = popup_menu_.get();
  Check(menu, kShowValueItem, settings_.ShowValue);
  Check(menu, kLockWindowItem, settings_.LockWindow);
  Check(menu, kSnapWindowItem, settings_.SnapWindow);
  Check(menu, kHideWindowItem, settings_.HideWindow);
  // Not a setting: the registry says what the next log-on does, whoever changed it.
  Check(menu, kStartWithWindowsItem, start_with_windows_.Checked(StartupCopy()));
}

void TMainForm::ShowContextMenu(int x, int y) {
  if (x == -1 && y == -1) {  // from the keyboard: at the window's top-left corner
    POINT origin{0, 0};
    ::ClientToScreen(Handle(), &origin);
    x = origin.x;
    y = origin.y;
  }
  PopupMenuPopup();
  // The menu needs its owner in the foreground to close when the user clicks elsewhere.
  ::SetForegroundWindow(Handle());
  const UINT id = static_cast<UINT>(::TrackPopupMenu(popup_menu_.get(),
                                                     TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                     x, y, 0, Handle(), nullptr));
  ::PostMessageW(Handle(), WM_NULL, 0, 0);
  if (id != 0) MenuItemClick(id);
}

void TMainForm::MenuItemClick(UINT id) {
  switch (id) {
    case kOptionItem:
      OptionItemClick();
      break;
    case kShowValueItem:
    case kLockWindowItem:
    case kSnapWindowItem:
    case kHideWindowItem:
      ToggleOptionItemClick(id);
      break;
    case kStartWithWindowsItem:
      StartWithWindowsItemClick();
      break;
    case kHelpItem:
      HelpSystem::ShowContext(Handle(), 4);
      break;
    case kAboutItem:
      ShowAboutDialog(Handle());
      break;
    case kUsageItem:
      UsageItemClick();
      break;
    case kExitItem:
      // Closing runs the close query, which saves the settings.
      ::SendMessageW(Handle(), WM_CLOSE, 0, 0);
      break;
    default:
      break;
  }
}

void TMainForm::ToggleOptionItemClick(UINT id) {
  const UINT state = ::GetMenuState(popup_menu_.get(), id, MF_BYCOMMAND);
  const bool checked = (state & MF_CHECKED) == 0;
  Check(popup_menu_.get(), id, checked);
  switch (id) {
    case kShowValueItem:
      settings_.ShowValue = checked;
      break;
    case kLockWindowItem:
      settings_.LockWindow = checked;
      break;
    case kSnapWindowItem:
      settings_.SnapWindow = checked;
      break;
    default:
      settings_.HideWindow = checked;
      break;
  }
  // The lock is read live by the frame: no need to apply (and clear the graph).
  if (id != kLockWindowItem) ApplySettings();
}

ProgramCopy TMainForm::CopyStartedBy(std::wstring_view command) {
  const std::wstring program = CommandProgram(command);
  return {program, CommandSettingsFile(command, StoredFileName(program))};
}

ThisCopy TMainForm::StartupCopy() {
  return ThisCopyOf(startup_.ModulePath, store_.Path(), FormPaths().IniPath);
}

void TMainForm::StartWithWindowsItemClick() {
  // What the user saw decides: a check mark turns it off, none turns it on. The mark is
  // read again from the registry the next time the menu opens, also after a refusal.
  const bool checked =
      (::GetMenuState(popup_menu_.get(), kStartWithWindowsItem, MF_BYCOMMAND) & MF_CHECKED) != 0;
  start_with_windows_.Set(StartupCopy(), !checked);
}

void TMainForm::OptionItemClick() {
  // Ticks read only the watched adapter, so the table may be old: list what is there now.
  sampler_.RefreshIfTable();
  OptionsContext context{
      settings_,
      sampler_.Table(),
      decimal_separator_,
      layout_.FontDensity(),  // the font dialog's heights are the screen's
      [this] { RestoreDefaultHeight(); },
      [this](unsigned help_context) { HelpSystem::ShowContext(Handle(), help_context); },
      DefaultRouteAdapter()};
  if (ShowOptionsDialog(Handle(), context)) ApplySettings();
}

}  // namespace ripplet
