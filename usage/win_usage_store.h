// The usage file on the platform: this run's counts, and the save that adds them to the
// file under the lock every copy of the program takes for that file.
//
// A save holds the lock, reads the file, adds this run's unsaved counts to its rows and
// replaces it safely; only then are the counts saved. So a count is in the file once, two
// copies that share the file both keep theirs, and a kill at any moment leaves the file of
// the last save whole. A file that cannot be read or parsed is never replaced: the counts
// stay in memory and the user is told once per run.
#pragma once

#include <windows.h>

#include <string>

#include "usage/usage_counts.h"

namespace ripplet {

class UsageStore {
 public:
  // The usage file; its lock is named after its full path.
  void SetPath(std::wstring path);
  const std::wstring& Path() const noexcept { return path_; }

  UsageCounter& Counter() noexcept { return counter_; }
  const UsageCounter& Counter() const noexcept { return counter_; }

  // Adds this run's unsaved counts to the file. Returns what the user should be told: a
  // text the first time in this run that the file cannot be parsed, cannot be read or
  // cannot be written, else empty. Saves nothing when nothing is unsaved or the lock is
  // not had within a few seconds (the counts wait for the next save).
  std::wstring Save();

  // The file's rows with this run's unsaved counts added; `problem` is set to a text when
  // the file could not be read or parsed (the rows are then this run's alone).
  UsageTable Rows(std::wstring& problem) const;

 private:
  std::wstring path_;
  std::wstring lock_name_;
  UsageCounter counter_;
  bool told_unreadable_ = false;
  bool told_unwritable_ = false;
};

// Today as the local clock shows it.
Date LocalToday() noexcept;

}  // namespace ripplet
