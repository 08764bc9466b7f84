// Starting with Windows, as plain rules: the Run value this copy writes (its name and its
// command), and whether what the registry holds will start this very copy at the next
// log-on. The registry and the file system are the shell's (win_startup.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ripplet {

// Under HKEY_CURRENT_USER: the programs started at log-on, and the system's record of
// those the user turned off (Task Manager's Startup page), one value of the same name each.
inline constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr wchar_t kStartupApprovedKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// A copy of the program: its executable and the settings file it runs on.
struct ProgramCopy {
  std::wstring Program;
  std::wstring SettingsFile;
};

// The copy that asks: full paths, and whether its settings file is the one it uses when
// started without -i.
struct ThisCopy {
  ProgramCopy Copy;
  bool DefaultSettings = true;
};

// "Ripplet" for the default settings file; else "Ripplet (<the settings file's name>)", so
// that copies on settings files of their own each have a value, and a copy that was moved
// with its file finds (and replaces) the value it left.
std::wstring RunValueName(const ThisCopy& copy);

// The program's full path in quotes, then -i:"<settings file>" unless that is the default.
// The option keeps its value in the same argument, as the start-up reads it.
std::wstring RunCommand(const ThisCopy& copy);

// "X:\..." or "\\server\...": a path that means the same whatever the current folder.
bool IsFullPath(std::wstring_view path);

// A StartupApproved record turns the value off when the low bit of its first byte is set
// (02 or 06 on, 03 or 07 off, followed by the time it was turned off).
bool RecordDisables(const std::vector<std::uint8_t>& record);

// The file system's answer to "are these two paths one file", however each is spelt.
class FileIdentity {
 public:
  virtual ~FileIdentity() = default;
  virtual bool SameFile(std::wstring_view a, std::wstring_view b) const = 0;
};

// What the registry holds under this copy's value name.
struct StartupEntry {
  std::optional<ProgramCopy> Started;  // the copy the value's command starts; none: no value
  std::optional<std::vector<std::uint8_t>> Record;  // the StartupApproved record, if any
};

// Whether the next log-on starts this very copy: the value starts this program on this
// settings file (paths that depend on the current folder at log-on never count), and no
// record turns it off.
bool StartsThisCopy(const StartupEntry& entry, const ProgramCopy& self, const FileIdentity& files);

}  // namespace ripplet
