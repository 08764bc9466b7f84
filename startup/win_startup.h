// Starting with Windows, the registry and file-system side: reads the Run value and its
// StartupApproved record afresh each time, writes and removes them, and tells whether two
// paths name one file.
#pragma once

#include <string>
#include <string_view>

#include "startup/startup_rules.h"

namespace ripplet {

// The full path of `path` with every short (8.3) name of its existing part made long.
std::wstring FullLongPath(const std::wstring& path);

// The file's name as the file system stores it (long, in its stored letter case); empty when
// there is no such file.
std::wstring StoredFileName(const std::wstring& path);

// One file: both exist and are the same file on the same volume, or neither exists and
// their full long paths are equal without regard to letter case.
class WinFileIdentity final : public FileIdentity {
 public:
  bool SameFile(std::wstring_view a, std::wstring_view b) const override;
};

// This copy: its executable as the loader reports it, the settings file it runs on, and the
// one it would run on without -i.
ThisCopy ThisCopyOf(const std::wstring& module_path, const std::wstring& settings_file,
                    const std::wstring& default_settings_file);

// The copy a command line starts, as the program's own start-up would read it.
using CommandReader = ProgramCopy (*)(std::wstring_view command);

class StartWithWindows {
 public:
  explicit StartWithWindows(CommandReader reader) noexcept : reader_(reader) {}

  // Whether the next log-on starts this very copy, read from the registry now.
  bool Checked(const ThisCopy& self) const;

  // start: writes the value for this copy (replacing one of its name) and removes a record
  // that turns it off; else removes the value and its record. A refusal throws AppError
  // naming the key, after putting back what this call had changed.
  void Set(const ThisCopy& self, bool start) const;

 private:
  CommandReader reader_;
};

}  // namespace ripplet
