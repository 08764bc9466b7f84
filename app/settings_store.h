// The main window's settings file: where it is, loading it at start-up, saving it at a
// close, and the rule that keeps content the program has not read. Holds no window: the
// main window hands it the record and its bounds.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/settings.h"
#include "settings/settings_io.h"
#include "settings/win_settings_file.h"

namespace ripplet {

class SettingsStore {
 public:
  void SetPath(std::wstring path) { path_ = std::move(path); }
  const std::wstring& Path() const noexcept { return path_; }

  // Reads the file into `settings` and `bounds` (which come in as the window has them) and
  // hands back the file's line spacings in `extra`. A file that cannot be read loads as
  // the defaults.
  LoadReport Load(Settings& settings, WindowBounds& bounds, LineSpacings& extra,
                  int pixels_per_inch, std::string_view decimal_separator);

  // The state the program runs on before the user changes anything: right after loading,
  // or where start-up stopped when it stopped before loading was done. Taken once.
  void TakeBaseline(const Settings& settings, const WindowBounds& bounds);

  // Loading found a file it could not read.
  bool StartedUnreadable() const noexcept { return start_ == SettingsReadOutcome::Unreadable; }

  // Writes the settings into the file as it is now; throws AppError("<path> に書き込めません")
  // when the file cannot be read or written.
  void Save(const Settings& settings, const WindowBounds& bounds, int pixels_per_inch,
            std::string_view decimal_separator);

  // After a close's save has failed: whether the close goes ahead all the same.
  bool CloseGoesOnDespiteFailedSave() noexcept;

  // A log-off asks both the application window and the main window: the first ask saves,
  // until the log-off has gone ahead or been called off.
  bool TakeLogOffSave() noexcept;
  void LogOffOver() noexcept { log_off_saved_ = false; }

 private:
  struct Baseline {
    Settings Record;
    WindowBounds Bounds;
  };

  bool WritesWholeRecord(SettingsReadOutcome now) const noexcept;

  std::wstring path_;
  std::optional<SettingsReadOutcome> loaded_;  // what loading found, once it has finished
  std::optional<SettingsReadOutcome> start_;   // the same, fixed with the baseline
  std::optional<Baseline> baseline_;
  bool save_found_file_unreadable_ = false;  // the last save stopped at its read
  bool unreadable_close_refused_ = false;
  bool log_off_saved_ = false;
};

}  // namespace ripplet
