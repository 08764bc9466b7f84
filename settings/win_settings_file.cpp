#include "settings/win_settings_file.h"

#include <windows.h>

#include "win32/app_error.h"
#include "win32/win_handles.h"

namespace ripplet {
namespace {

[[noreturn]] void ThrowCannotWrite(const std::wstring& path) {
  throw AppError(path + L" に書き込めません");
}

}  // namespace

std::string ReadSettingsBytes(const std::wstring& path) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > (1 << 30)) return {};
  std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!bytes.empty() &&
      !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
    return {};
  }
  bytes.resize(read);
  return bytes;
}

void WriteSettingsBytes(const std::wstring& path, std::string_view bytes) {
  // Root under wine may open a read-only file for writing; the user asked for it to stay.
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    ThrowCannotWrite(path);
  }

  const std::wstring temporary =
      path + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
  {
    UniqueFile file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) ThrowCannotWrite(path);
    DWORD written = 0;
    const bool ok =
        ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                    nullptr) &&
        written == bytes.size() && ::FlushFileBuffers(file.get());
    if (!ok) {
      file.reset();
      ::DeleteFileW(temporary.c_str());
      ThrowCannotWrite(path);
    }
  }
  if (!::MoveFileExW(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temporary.c_str());
    ThrowCannotWrite(path);
  }
}

}  // namespace ripplet
