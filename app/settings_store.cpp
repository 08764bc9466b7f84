#include "app/settings_store.h"

#include <utility>

#include "settings/ini_document.h"
#include "win32/app_error.h"

namespace ripplet {

LoadReport SettingsStore::Load(Settings& settings, WindowBounds& bounds, LineSpacings& extra,
                               int pixels_per_inch, std::string_view decimal_separator) {
  const SettingsFileRead file = ReadSettingsFile(path_);
  const IniText text = IniText::Decode(file.Bytes, PlatformAnsiCodec());
  LoadReport report = LoadSettingsFrom(text.Document(), settings, bounds, extra, pixels_per_inch,
                                       decimal_separator);
  loaded_ = file.Outcome;
  return report;
}

void SettingsStore::TakeBaseline(const Settings& settings, const WindowBounds& bounds) {
  if (baseline_) return;
  baseline_ = Baseline{settings, bounds};
  start_ = loaded_;
}

// Content this run has not read is never replaced. The whole record is written only over
// a file whose contents loading read, or where there was no file at start and still is
// none. Anything else (a file that could not be read, one that arrived later, start-up
// stopped before loading was done) gets only the keys whose saved text the user changed
// since the baseline, written into the file as it is now: the defaults the program ran on
// are not the user's.
bool SettingsStore::WritesWholeRecord(SettingsReadOutcome now) const noexcept {
  return start_ == SettingsReadOutcome::Read ||
         (start_ == SettingsReadOutcome::NoFile && now == SettingsReadOutcome::NoFile);
}

void SettingsStore::Save(const Settings& settings, const WindowBounds& bounds, int pixels_per_inch,
                         std::string_view decimal_separator) {
  // Start from the file as it is now, so keys we do not own survive byte for byte.
  const SettingsFileRead file = ReadSettingsFile(path_);
  save_found_file_unreadable_ = file.Outcome == SettingsReadOutcome::Unreadable;
  if (save_found_file_unreadable_) throw AppError(path_ + L" に書き込めません");
  IniText text = IniText::Decode(file.Bytes, PlatformAnsiCodec());
  const bool whole = WritesWholeRecord(file.Outcome);
  if (whole) {
    SaveSettingsTo(text.Document(), settings, bounds, pixels_per_inch, decimal_separator);
  } else {
    if (!baseline_) return;  // nothing can be told from the user's changes yet
    SaveChangedSettingsTo(text.Document(), baseline_->Record, baseline_->Bounds, settings, bounds,
                          pixels_per_inch, decimal_separator);
  }
  const std::string bytes = text.Encode(PlatformAnsiCodec());
  // Nothing the user changed: the file stays as it is, and no file is made for nothing.
  if (!whole && bytes == file.Bytes) return;
  WriteSettingsBytes(path_, bytes);
}

bool SettingsStore::CloseGoesOnDespiteFailedSave() noexcept {
  // A record that came whole from the file, or from no file, is worth a retry: every failed
  // save holds the close. Without one, a file that still cannot be read holds one close;
  // the next lets the user go and leaves the file as it is.
  if (!save_found_file_unreadable_ || start_ == SettingsReadOutcome::Read ||
      start_ == SettingsReadOutcome::NoFile) {
    return false;
  }
  return std::exchange(unreadable_close_refused_, true);
}

bool SettingsStore::TakeLogOffSave() noexcept { return !std::exchange(log_off_saved_, true); }

}  // namespace ripplet
