#include "app/command_line.h"

#include <cwctype>

namespace ripplet {

namespace {

bool IsSeparator(wchar_t c) { return c >= 1 && c <= 32; }

// Index just past the last '\' or ':', 0 if there is none.
std::size_t NameStart(std::wstring_view path) {
  const std::size_t last = path.find_last_of(L"\\:");
  return last == std::wstring_view::npos ? 0 : last + 1;
}

// Index of the extension's '.', or path.size() when there is no extension.
std::size_t ExtensionStart(std::wstring_view path) {
  const std::size_t dot = path.rfind(L'.');
  if (dot == std::wstring_view::npos || dot < NameStart(path)) return path.size();
  return dot;
}

wchar_t ToLower(wchar_t c) {
  if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c - L'A' + L'a');
  if (c < 0x80) return c;
  return static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view command_line) {
  // The platform's command line is a C string: nothing after a NUL counts.
  command_line = command_line.substr(0, command_line.find(L'\0'));

  std::vector<std::wstring> args;
  std::size_t i = 0;
  while (i < command_line.size()) {
    while (i < command_line.size() && IsSeparator(command_line[i])) ++i;
    if (i == command_line.size()) break;

    std::wstring arg;
    bool quoted = false;
    for (; i < command_line.size() && (quoted || !IsSeparator(command_line[i])); ++i) {
      if (command_line[i] == L'"') {
        quoted = !quoted;
      } else {
        arg += command_line[i];
      }
    }
    if (!arg.empty()) args.push_back(std::move(arg));
  }
  return args;
}

std::wstring DirectoryPart(std::wstring_view path) {
  return std::wstring(path.substr(0, NameStart(path)));
}

std::wstring ExtensionOf(std::wstring_view path) {
  return std::wstring(path.substr(ExtensionStart(path)));
}

std::wstring ReplaceExtension(std::wstring_view path, std::wstring_view ext) {
  std::wstring result(path.substr(0, ExtensionStart(path)));
  result += ext;
  return result;
}

StartupPaths FormPaths(std::wstring_view module_path, std::wstring_view stored_name) {
  StartupPaths paths;
  paths.ProgramDir = DirectoryPart(module_path);
  const std::wstring base = paths.ProgramDir + std::wstring(stored_name);
  paths.IniPath = ReplaceExtension(base, L".ini");
  paths.HelpPath = ReplaceExtension(base, L".chm");
  return paths;
}

std::wstring ApplyIniOption(std::wstring_view ini_path, const std::vector<std::wstring>& args,
                            std::wstring_view program_dir) {
  std::wstring result(ini_path);
  for (std::size_t n = 1; n < args.size(); ++n) {
    const std::wstring_view arg = args[n];
    if (arg.size() < 2 || (arg[0] != L'-' && arg[0] != L'/')) continue;
    if (arg[1] != L'i' && arg[1] != L'I') continue;

    // The value is attached: -ivalue, -i:value or -i=value.
    std::size_t start = 2;
    if (arg.size() > 2 && (arg[2] == L':' || arg[2] == L'=')) start = 3;
    std::wstring value(arg.substr(start));

    if (ExtensionOf(value).empty()) value += L".ini";
    // A value with any directory part, also a relative one, is used as it is.
    if (DirectoryPart(value).empty()) value.insert(0, program_dir);
    result = std::move(value);
  }
  return result;
}

std::wstring CommandProgram(std::wstring_view command_line) {
  const std::vector<std::wstring> args = SplitCommandLine(command_line);
  return args.empty() ? std::wstring() : args.front();
}

std::wstring CommandSettingsFile(std::wstring_view command_line, std::wstring_view stored_name) {
  const std::vector<std::wstring> args = SplitCommandLine(command_line);
  if (args.empty()) return {};
  const StartupPaths paths = FormPaths(args.front(), stored_name);
  return ApplyIniOption(paths.IniPath, args, paths.ProgramDir);
}

std::wstring ApplicationTitle(std::wstring_view module_path) {
  std::wstring_view name = module_path.substr(NameStart(module_path));
  name = name.substr(0, name.find(L'.'));
  std::wstring title(name);
  for (std::size_t i = 1; i < title.size(); ++i) title[i] = ToLower(title[i]);
  return title;
}

}  // namespace ripplet
