// Command-line splitting, the -i option and the path rules over arbitrary wide text
// (the input's bytes as UTF-16LE code units).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"

namespace ripplet::fuzz {
namespace {

bool IsSeparator(wchar_t c) { return c >= 1 && c <= 32; }
bool IsDelimiter(wchar_t c) { return c == L'\\' || c == L':'; }

// What every argument is made of: the characters that are neither quotes nor separators.
std::wstring Significant(std::wstring_view text) {
  std::wstring kept;
  for (wchar_t c : text) {
    if (c != L'"' && !IsSeparator(c)) kept += c;
  }
  return kept;
}

void CheckSplit(std::wstring_view command_line) {
  const std::vector<std::wstring> args = SplitCommandLine(command_line);
  const std::wstring_view before_nul = command_line.substr(0, command_line.find(L'\0'));
  std::wstring joined;
  for (const std::wstring& arg : args) {
    FUZZ_CHECK(!arg.empty());
    FUZZ_CHECK(arg.find(L'"') == std::wstring::npos);
    FUZZ_CHECK(arg.find(L'\0') == std::wstring::npos);
    joined += arg;
  }
  // Nothing is invented or lost but quotes, separators and what follows a NUL.
  FUZZ_CHECK(Significant(joined) == Significant(before_nul));

  // Quoting every argument and joining them with blanks gives them back.
  std::wstring quoted;
  for (const std::wstring& arg : args) quoted += L" \"" + arg + L"\"";
  FUZZ_CHECK(SplitCommandLine(quoted) == args);
}

void CheckPathRules(std::wstring_view path, std::wstring_view ext) {
  const std::wstring dir = DirectoryPart(path);
  FUZZ_CHECK(path.starts_with(dir));
  FUZZ_CHECK(dir.empty() || IsDelimiter(dir.back()));
  const std::wstring_view name = path.substr(dir.size());
  FUZZ_CHECK(name.find_first_of(L"\\:") == std::wstring_view::npos);

  const std::wstring extension = ExtensionOf(path);
  FUZZ_CHECK(path.ends_with(extension));
  FUZZ_CHECK(name.ends_with(extension));
  if (!extension.empty()) {
    FUZZ_CHECK(extension.front() == L'.');
    FUZZ_CHECK(extension.find(L'.', 1) == std::wstring::npos);
  }
  FUZZ_CHECK(extension.empty() == (name.find(L'.') == std::wstring_view::npos));

  const std::wstring replaced = ReplaceExtension(path, ext);
  FUZZ_CHECK(replaced ==
             std::wstring(path.substr(0, path.size() - extension.size())) + std::wstring(ext));
  FUZZ_CHECK(ExtensionOf(ReplaceExtension(path, L".ini")) == L".ini");
  FUZZ_CHECK(DirectoryPart(ReplaceExtension(path, L".ini")) == dir);
  FUZZ_CHECK(ReplaceExtension(path, extension) == path);
}

void CheckPaths(std::wstring_view module_path, std::wstring_view stored_name) {
  const StartupPaths paths = FormPaths(module_path, stored_name);
  FUZZ_CHECK(paths.ProgramDir == DirectoryPart(module_path));
  FUZZ_CHECK(paths.IniPath.starts_with(paths.ProgramDir));
  FUZZ_CHECK(paths.HelpPath.starts_with(paths.ProgramDir));
  FUZZ_CHECK(ExtensionOf(paths.IniPath) == L".ini");
  FUZZ_CHECK(ExtensionOf(paths.HelpPath) == L".chm");
  // Both differ only in the extension.
  FUZZ_CHECK(ReplaceExtension(paths.IniPath, L".chm") == paths.HelpPath);
  if (stored_name.find_first_of(L"\\:") == std::wstring_view::npos) {
    FUZZ_CHECK(DirectoryPart(paths.IniPath) == paths.ProgramDir);
  }

  const std::wstring title = ApplicationTitle(module_path);
  const std::wstring_view name = module_path.substr(DirectoryPart(module_path).size());
  FUZZ_CHECK(title.size() <= name.size());
  FUZZ_CHECK(title.find_first_of(L"\\:.") == std::wstring::npos);
  FUZZ_CHECK(title.size() == name.substr(0, name.find(L'.')).size());
  if (!title.empty()) FUZZ_CHECK(title.front() == name.front());
  for (std::size_t i = 1; i < title.size(); ++i)
    FUZZ_CHECK(!(title[i] >= L'A' && title[i] <= L'Z'));
}

bool IsIniOption(std::wstring_view arg) {
  return arg.size() >= 2 && (arg[0] == L'-' || arg[0] == L'/') &&
         (arg[1] == L'i' || arg[1] == L'I');
}

void CheckIniOption(std::wstring_view ini_path, const std::vector<std::wstring>& args,
                    std::wstring_view program_dir) {
  const std::wstring result = ApplyIniOption(ini_path, args, program_dir);
  std::size_t last = 0;
  for (std::size_t n = 1; n < args.size(); ++n) {
    if (IsIniOption(args[n])) last = n;
  }
  if (last == 0) {
    FUZZ_CHECK(result == ini_path);
    return;
  }
  // The last option wins: the ones before it change nothing.
  FUZZ_CHECK(result == ApplyIniOption(L"", {args[0], args[last]}, program_dir));

  std::wstring_view value = std::wstring_view(args[last]).substr(2);
  if (value.starts_with(L':') || value.starts_with(L'=')) value.remove_prefix(1);
  const std::wstring v(value);
  const std::wstring dir(program_dir);
  FUZZ_CHECK(result == v || result == v + L".ini" || result == dir + v ||
             result == dir + v + L".ini");
  FUZZ_CHECK(!ExtensionOf(result).empty());
  // A value with a directory part is used as it is; one without goes into program_dir.
  if (!DirectoryPart(v).empty()) FUZZ_CHECK(result.starts_with(v));
  if (DirectoryPart(v).empty()) FUZZ_CHECK(result.starts_with(dir));
}

}  // namespace
}  // namespace ripplet::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ripplet;
  using namespace ripplet::fuzz;
  FuzzInput in(data, size);
  const std::wstring program_dir = WideFromUtf16Le(in.Text(64));
  const std::wstring module_path = WideFromUtf16Le(in.Text(128));
  const std::wstring stored_name = WideFromUtf16Le(in.Text(64));
  const std::wstring ext = WideFromUtf16Le(in.Text(16));
  const std::wstring command_line = WideFromUtf16Le(in.Rest());

  CheckSplit(command_line);
  CheckPathRules(command_line, ext);
  CheckPathRules(module_path, ext);
  CheckPaths(module_path, stored_name);
  CheckIniOption(L"C:\\prog\\ripplet.ini", SplitCommandLine(command_line), program_dir);
  for (const std::wstring& arg : SplitCommandLine(command_line)) CheckPathRules(arg, ext);
  return 0;
}
