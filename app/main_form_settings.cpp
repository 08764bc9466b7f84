// Moving the settings between the main window and its INI file.
#include "app/bounds_rules.h"
#include "app/main_form.h"
#include "app/win_frame.h"
#include "settings/ini_document.h"
#include "settings/settings_io.h"
#include "settings/win_settings_file.h"
#include "win32/app_error.h"
#include "win32/win_application.h"
#include "win32/win_text.h"

namespace ripplet {
namespace {

WindowBounds BoundsOf(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

}  // namespace

void TMainForm::LoadSettings() {
  const SettingsFileRead file = ReadSettingsFile(ini_path_);
  settings_unread_ = file.Outcome == SettingsReadOutcome::Unreadable;
  const IniText text = IniText::Decode(file.Bytes, PlatformAnsiCodec());
  const IniDocument& ini = text.Document();
  WindowBounds bounds = BoundsOf(Handle());
  // The file's spacings come back alone and are added here, held to the layout's limit.
  LineSpacings extra{};
  const LoadReport report = LoadSettingsFrom(ini, settings_, bounds, extra, pixels_per_inch_,
                                             decimal_separator_);
  for (std::size_t i = 0; i < extra.size(); ++i) {
    line_spacings_[i] = LimitedSpacing(line_spacings_[i], extra[i]);
  }
  // Bounds saved on a monitor that is gone would leave the meter where nobody can reach it.
  bounds = FitIntoWorkAreas(bounds, WorkAreas());
  ::SetWindowPos(Handle(), nullptr, bounds.Left, bounds.Top, bounds.Width, bounds.Height,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  // What a save compares with when the file could not be read: the state loading left.
  loaded_settings_ = settings_;
  loaded_bounds_ = BoundsOf(Handle());
  if (settings_unread_) ShowApplicationError(ini_path_ + L" を読み込めません");
  // A bad colour took its default and loading went on; the user still hears about it.
  for (const std::string& value : report.BadColourValues) {
    ShowApplicationError(L"'" + AnsiToWide(value) + L"' は整数ではありません");
  }
}

void TMainForm::SaveSettings() {
  // Start from the file as it is now, so keys we do not own survive byte for byte. Content
  // that cannot be read is never replaced.
  const SettingsFileRead file = ReadSettingsFile(ini_path_);
  save_found_file_unreadable_ = file.Outcome == SettingsReadOutcome::Unreadable;
  if (save_found_file_unreadable_) throw AppError(ini_path_ + L" に書き込めません");
  IniText text = IniText::Decode(file.Bytes, PlatformAnsiCodec());
  IniDocument& ini = text.Document();
  if (settings_unread_ && file.Outcome == SettingsReadOutcome::Read) {
    SaveChangedSettingsTo(ini, loaded_settings_, loaded_bounds_, settings_, BoundsOf(Handle()),
                          pixels_per_inch_, decimal_separator_);
  } else {
    SaveSettingsTo(ini, settings_, BoundsOf(Handle()), pixels_per_inch_, decimal_separator_);
  }
  WriteSettingsBytes(ini_path_, text.Encode(PlatformAnsiCodec()));
  ::UpdateWindow(Handle());
}

}  // namespace ripplet
