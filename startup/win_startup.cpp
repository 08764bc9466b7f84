#include "startup/win_startup.h"

#include <windows.h>

#include <cstring>
#include <optional>
#include <vector>

#include "win32/app_error.h"
#include "win32/win_handles.h"

namespace ripplet {
namespace {

struct KeyTraits {
  using Handle = HKEY;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle key) noexcept { ::RegCloseKey(key); }
};
using UniqueKey = UniqueHandle<KeyTraits>;

// A value as it was, to put back.
struct StoredValue {
  DWORD Type = REG_NONE;
  std::vector<BYTE> Data;
};

AppError Refused(const wchar_t* key) {
  return AppError(L"HKEY_CURRENT_USER\\" + std::wstring(key) + L" に書き込めません");
}

bool Missing(LSTATUS status) noexcept {
  return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND;
}

// The key opened with `access`; none where it does not exist, and `status` says why.
UniqueKey OpenKey(const wchar_t* path, REGSAM access, LSTATUS& status) {
  HKEY key = nullptr;
  status = ::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, access, &key);
  return UniqueKey(status == ERROR_SUCCESS ? key : nullptr);
}

// The value, or none where there is none (or it cannot be read).
std::optional<StoredValue> ReadValue(HKEY key, const std::wstring& name) {
  StoredValue value;
  DWORD size = 0;
  LSTATUS status = ::RegQueryValueExW(key, name.c_str(), nullptr, &value.Type, nullptr, &size);
  // Another writer may grow it between the two calls: ask again.
  for (int tries = 0; status == ERROR_SUCCESS || status == ERROR_MORE_DATA; ++tries) {
    value.Data.resize(size);
    status = ::RegQueryValueExW(key, name.c_str(), nullptr, &value.Type, value.Data.data(), &size);
    if (status == ERROR_SUCCESS) {
      value.Data.resize(size);
      return value;
    }
    if (tries == 3) break;
  }
  return std::nullopt;
}

// The command text of a REG_SZ or REG_EXPAND_SZ value, environment variables expanded.
std::optional<std::wstring> CommandOf(const StoredValue& value) {
  if (value.Type != REG_SZ && value.Type != REG_EXPAND_SZ) return std::nullopt;
  std::wstring text(value.Data.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), value.Data.data(), text.size() * sizeof(wchar_t));
  text.resize(text.find(L'\0') == std::wstring::npos ? text.size() : text.find(L'\0'));
  if (value.Type == REG_SZ) return text;
  const DWORD size = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring expanded(size, L'\0');
  if (::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size) == 0) return std::nullopt;
  expanded.resize(expanded.find(L'\0'));
  return expanded;
}

LSTATUS WriteValue(HKEY key, const std::wstring& name, DWORD type, const BYTE* data, size_t size) {
  return ::RegSetValueExW(key, name.c_str(), 0, type, data, static_cast<DWORD>(size));
}

// Puts a value back as it was: rewritten, or removed where there was none.
void PutBack(HKEY key, const std::wstring& name, const std::optional<StoredValue>& old) noexcept {
  if (old) {
    WriteValue(key, name, old->Type, old->Data.data(), old->Data.size());
  } else {
    ::RegDeleteValueW(key, name.c_str());
  }
}

constexpr REGSAM kWrite = KEY_QUERY_VALUE | KEY_SET_VALUE;

// Removes the value `name` under `path`: true when it is gone or was never there. `key` is
// left open for writing (to put the value back) and `old` holds the value as it was.
bool RemoveValue(const wchar_t* path, const std::wstring& name, UniqueKey& key,
                 std::optional<StoredValue>& old) {
  LSTATUS status = ERROR_SUCCESS;
  key = OpenKey(path, kWrite, status);
  if (!key) {
    if (Missing(status)) return true;
    // A key that cannot be written is no failure where the value is not there anyway.
    const UniqueKey readable = OpenKey(path, KEY_QUERY_VALUE, status);
    return readable && !ReadValue(readable.get(), name);
  }
  old = ReadValue(key.get(), name);
  status = ::RegDeleteValueW(key.get(), name.c_str());
  return status == ERROR_SUCCESS || Missing(status);
}

}  // namespace

std::wstring FullLongPath(const std::wstring& path) {
  const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  const DWORD length = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return path;
  full.resize(length);
  // A file that does not exist yet: its folder's long name, then its own.
  const std::size_t slash = full.find_last_of(L'\\');
  std::wstring existing = full;
  std::wstring rest;
  if (::GetFileAttributesW(full.c_str()) == INVALID_FILE_ATTRIBUTES &&
      slash != std::wstring::npos) {
    existing = full.substr(0, slash + 1);
    rest = full.substr(slash + 1);
  }
  const DWORD long_size = ::GetLongPathNameW(existing.c_str(), nullptr, 0);
  if (long_size == 0) return full;
  std::wstring long_path(long_size, L'\0');
  const DWORD long_length = ::GetLongPathNameW(existing.c_str(), long_path.data(), long_size);
  if (long_length == 0 || long_length >= long_size) return full;
  long_path.resize(long_length);
  return long_path + rest;
}

std::wstring StoredFileName(const std::wstring& path) {
  WIN32_FIND_DATAW found{};
  UniqueFind find(::FindFirstFileW(path.c_str(), &found));
  return find ? std::wstring(found.cFileName) : std::wstring();
}

bool WinFileIdentity::SameFile(std::wstring_view a, std::wstring_view b) const {
  const std::wstring paths[2] = {std::wstring(a), std::wstring(b)};
  BY_HANDLE_FILE_INFORMATION info[2]{};
  int opened = 0;
  for (int i = 0; i < 2; ++i) {
    // No access asked: enough for the file's identity, and granted whoever holds it open.
    UniqueFile file(::CreateFileW(paths[i].c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (file && ::GetFileInformationByHandle(file.get(), &info[i])) ++opened;
  }
  if (opened == 2) {
    return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
           info[0].nFileIndexHigh == info[1].nFileIndexHigh &&
           info[0].nFileIndexLow == info[1].nFileIndexLow;
  }
  if (opened == 1) return false;
  const std::wstring full_a = FullLongPath(paths[0]);
  const std::wstring full_b = FullLongPath(paths[1]);
  return ::CompareStringOrdinal(full_a.c_str(), static_cast<int>(full_a.size()), full_b.c_str(),
                                static_cast<int>(full_b.size()), TRUE) == CSTR_EQUAL;
}

ThisCopy ThisCopyOf(const std::wstring& module_path, const std::wstring& settings_file,
                    const std::wstring& default_settings_file) {
  ThisCopy copy;
  copy.Copy.Program = FullLongPath(module_path);
  copy.Copy.SettingsFile = FullLongPath(settings_file);
  copy.DefaultSettings = WinFileIdentity().SameFile(settings_file, default_settings_file);
  return copy;
}

bool StartWithWindows::Checked(const ThisCopy& self) const {
  const std::wstring name = RunValueName(self);
  StartupEntry entry;
  LSTATUS status = ERROR_SUCCESS;
  if (UniqueKey run = OpenKey(kRunKey, KEY_QUERY_VALUE, status)) {
    if (const auto value = ReadValue(run.get(), name)) {
      const auto command = CommandOf(*value);
      entry.Started = command ? reader_(*command) : ProgramCopy{};
    }
  }
  if (UniqueKey approved = OpenKey(kStartupApprovedKey, KEY_QUERY_VALUE, status)) {
    if (auto record = ReadValue(approved.get(), name)) {
      entry.Record = std::vector<std::uint8_t>(record->Data.begin(), record->Data.end());
    }
  }
  return StartsThisCopy(entry, self.Copy, WinFileIdentity());
}

void StartWithWindows::Set(const ThisCopy& self, bool start) const {
  const std::wstring name = RunValueName(self);
  UniqueKey approved;
  std::optional<StoredValue> old_record;
  if (start) {
    HKEY created = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, kWrite, nullptr, &created,
                          nullptr) != ERROR_SUCCESS) {
      throw Refused(kRunKey);
    }
    const UniqueKey run(created);
    const auto old = ReadValue(run.get(), name);
    const std::wstring command = RunCommand(self);
    if (WriteValue(run.get(), name, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   (command.size() + 1) * sizeof(wchar_t)) != ERROR_SUCCESS) {
      throw Refused(kRunKey);
    }
    // No record means on. Where one stays that may say off, the value goes back as it was.
    if (!RemoveValue(kStartupApprovedKey, name, approved, old_record)) {
      PutBack(run.get(), name, old);
      throw Refused(kStartupApprovedKey);
    }
    return;
  }
  // Off: the record first (as the mark was checked it says on, or there is none), so that
  // where the value cannot go the record goes back and nothing has changed.
  if (!RemoveValue(kStartupApprovedKey, name, approved, old_record)) {
    throw Refused(kStartupApprovedKey);
  }
  UniqueKey run;
  std::optional<StoredValue> old;
  if (!RemoveValue(kRunKey, name, run, old)) {
    if (approved && old_record) PutBack(approved.get(), name, old_record);
    throw Refused(kRunKey);
  }
}

}  // namespace ripplet
