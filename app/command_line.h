#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ripplet {

// Arguments of a process command line. Blanks and control characters (codes 1 to
// 32) separate arguments; a double-quoted stretch may hold them and its quote
// marks are dropped; an argument that is only quotes ("") is skipped. A NUL ends
// the command line. Argument 0, the executable, is returned too.
std::vector<std::wstring> SplitCommandLine(std::wstring_view command_line);

// Everything up to and including the last '\' or ':'; empty if there is none.
std::wstring DirectoryPart(std::wstring_view path);

// From the last '.' after the last '\' or ':', the '.' included; else empty.
std::wstring ExtensionOf(std::wstring_view path);

// path without its extension (if any), followed by ext.
std::wstring ReplaceExtension(std::wstring_view path, std::wstring_view ext);

struct StartupPaths {
  std::wstring IniPath;
  std::wstring HelpPath;
  std::wstring ProgramDir;
};

// Settings and help file beside the executable, named after it. module_path is the
// path the loader reports; stored_name is the file name as the file system stores
// it (long name, stored letter case), empty when the look-up found nothing.
StartupPaths FormPaths(std::wstring_view module_path, std::wstring_view stored_name);

// The settings file after the -i option (also /i, -I, /I): "-i<value>",
// "-i:<value>" or "-i=<value>". A value without extension gets ".ini"; one
// without a directory part goes into program_dir. The last option wins;
// ini_path is returned when there is none. args[0] is not examined.
std::wstring ApplyIniOption(std::wstring_view ini_path, const std::vector<std::wstring>& args,
                            std::wstring_view program_dir);

// What a command line starts: its argument 0, the program (empty for an empty line), and
// the settings file that program forms at start-up from the line's -i options, the
// program's stored file name (as for FormPaths) and its directory.
std::wstring CommandProgram(std::wstring_view command_line);
std::wstring CommandSettingsFile(std::wstring_view command_line, std::wstring_view stored_name);

// The executable's file name without directory, cut at its first '.', with every
// character after the first lower-cased: METER.EXE gives "Meter".
std::wstring ApplicationTitle(std::wstring_view module_path);

}  // namespace ripplet
