#include "startup/startup_rules.h"

namespace ripplet {
namespace {

std::wstring_view FileName(std::wstring_view path) {
  const std::size_t last = path.find_last_of(L"\\/:");
  return last == std::wstring_view::npos ? path : path.substr(last + 1);
}

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

std::wstring RunValueName(const ThisCopy& copy) {
  std::wstring name = L"Ripplet";
  if (!copy.DefaultSettings) {
    name += L" (";
    name += FileName(copy.Copy.SettingsFile);
    name += L')';
  }
  return name;
}

std::wstring RunCommand(const ThisCopy& copy) {
  std::wstring command = L'"' + copy.Copy.Program + L'"';
  if (!copy.DefaultSettings) command += L" -i:\"" + copy.Copy.SettingsFile + L'"';
  return command;
}

bool IsFullPath(std::wstring_view path) {
  if (path.size() >= 3 && IsLetter(path[0]) && path[1] == L':' && path[2] == L'\\') return true;
  return path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

bool RecordDisables(const std::vector<std::uint8_t>& record) {
  return !record.empty() && (record.front() & 1u) != 0;
}

bool StartsThisCopy(const StartupEntry& entry, const ProgramCopy& self, const FileIdentity& files) {
  if (!entry.Started) return false;
  const ProgramCopy& started = *entry.Started;
  if (!IsFullPath(started.Program) || !IsFullPath(started.SettingsFile)) return false;
  if (!files.SameFile(started.Program, self.Program)) return false;
  if (!files.SameFile(started.SettingsFile, self.SettingsFile)) return false;
  return !(entry.Record && RecordDisables(*entry.Record));
}

}  // namespace ripplet
