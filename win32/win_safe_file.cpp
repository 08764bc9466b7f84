#include "win32/win_safe_file.h"

#include <windows.h>

#include <aclapi.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

#include "win32/app_error.h"
#include "win32/temporary_name.h"
#include "win32/win_handles.h"

namespace ripplet {
namespace {

constexpr std::size_t kLargestFile = std::size_t{1} << 30;

[[noreturn]] void ThrowCannotWrite(const std::wstring& path) {
  throw AppError(path + L" に書き込めません");
}

bool IsNoFileError(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
         error == ERROR_INVALID_NAME;
}

// The file a path finally names: a symbolic link's target (at the end of any chain of
// links), or the path itself when it names no file yet.
std::wstring FinalPathOf(const std::wstring& path) {
  UniqueFile file(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return path;
  std::vector<wchar_t> buffer(MAX_PATH + 1);
  for (;;) {
    const DWORD length =
        ::GetFinalPathNameByHandleW(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return path;
    if (length < buffer.size()) {
      std::wstring final_path(buffer.data(), length);
      // The answer comes as \\?\C:\... or \\?\UNC\server\...; the usual form keeps
      // the usual limits, so a temporary name that does not fit fails as it would beside
      // the path itself.
      if (final_path.starts_with(L"\\\\?\\UNC\\")) return L"\\" + final_path.substr(7);
      if (final_path.starts_with(L"\\\\?\\")) return final_path.substr(4);
      return final_path;
    }
    buffer.resize(length + 1);
  }
}

// Gives the new file what the old one had: its attributes and its access control list.
void CarryIdentityOver(const std::wstring& from, DWORD attributes, const std::wstring& to) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  PACL dacl = nullptr;
  if (::GetNamedSecurityInfoW(from.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &descriptor) == ERROR_SUCCESS) {
    ::SetNamedSecurityInfoW(const_cast<wchar_t*>(to.c_str()), SE_FILE_OBJECT,
                            DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl, nullptr);
    ::LocalFree(descriptor);
  }
  ::SetFileAttributesW(to.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_NORMAL});
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// The platform's profile functions write the file itself; this is the way left when the
// folder takes no new file or the file may not be replaced. Not safe against a crash
// mid-write, but better than no save. Another program's writes are shared as the
// platform shares them.
void WriteInPlace(const std::wstring& path, const std::wstring& shown_path,
                  std::string_view bytes) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) ThrowCannotWrite(shown_path);
  if (!WriteAll(file.get(), bytes) || !::SetEndOfFile(file.get()) ||
      !::FlushFileBuffers(file.get())) {
    ThrowCannotWrite(shown_path);
  }
}

std::wstring TemporaryPathBeside(const std::wstring& path) {
  static std::atomic<std::uint32_t> counter{0};
  return TemporaryNameFor(path, ::GetCurrentProcessId(), ++counter);
}

using UniqueProcess = UniqueHandle<NullIsInvalid<HANDLE, &::CloseHandle>>;

// Only a process id that names no process, or one that has ended, counts as gone: a
// process we may not open still runs.
bool ProcessIsGone(DWORD id) {
  const UniqueProcess process(::OpenProcess(SYNCHRONIZE, FALSE, id));
  if (!process) return ::GetLastError() == ERROR_INVALID_PARAMETER;
  return ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
}

// Written within the last hour. A file on a share may be another computer's, whose process
// ids mean nothing here: its save in progress is this young.
bool IsRecent(const FILETIME& written) {
  constexpr std::uint64_t kHour = 36'000'000'000;  // in 100 ns
  FILETIME now_time{};
  ::GetSystemTimeAsFileTime(&now_time);
  const auto ticks = [](const FILETIME& t) {
    return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime;
  };
  const std::uint64_t now = ticks(now_time);
  const std::uint64_t then = ticks(written);
  return then > now || now - then < kHour;
}

// A save that was killed leaves its temporary file for good; the next save clears those
// whose writer is gone. Another instance's file in the middle of its save is left alone,
// and so is every name that is not exactly one of ours.
void RemoveOrphanedTemporaryFiles(const std::wstring& target) noexcept {
  try {
    const std::size_t slash = target.find_last_of(L"\\/:");
    const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    const std::wstring name = target.substr(folder.size());
    WIN32_FIND_DATAW found{};
    const UniqueFind find(::FindFirstFileW((target + L".*-*.tmp").c_str(), &found));
    if (!find) return;
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
          IsRecent(found.ftLastWriteTime)) {
        continue;
      }
      const auto owner = TemporaryNameOwner(found.cFileName, name);
      if (owner && ProcessIsGone(*owner)) ::DeleteFileW((folder + found.cFileName).c_str());
    } while (::FindNextFileW(find.get(), &found));
  } catch (...) {
    // Tidying up never fails the save it follows.
  }
}

}  // namespace

WholeFileRead ReadWholeFile(const std::wstring& path) {
  UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    return {IsNoFileError(::GetLastError()) ? FileReadOutcome::NoFile : FileReadOutcome::Unreadable,
            {}};
  }
  // Read to the end rather than trust the size: the file may change while it is read.
  WholeFileRead result{FileReadOutcome::Read, {}};
  char chunk[65536];
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) {
      return {FileReadOutcome::Unreadable, {}};
    }
    if (read == 0) break;
    if (result.Bytes.size() + read > kLargestFile) {
      return {FileReadOutcome::Unreadable, {}};
    }
    result.Bytes.append(chunk, read);
  }
  return result;
}

void ReplaceFileSafely(const std::wstring& path, std::string_view bytes) {
  const std::wstring target = FinalPathOf(path);
  // Root under wine may open a read-only file for writing; the user asked for it to stay.
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    ThrowCannotWrite(path);
  }

  const std::wstring temporary = TemporaryPathBeside(target);
  {
    UniqueFile file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      if (!exists) ThrowCannotWrite(path);
      WriteInPlace(target, path, bytes);
      RemoveOrphanedTemporaryFiles(target);
      return;
    }
    if (!WriteAll(file.get(), bytes) || !::FlushFileBuffers(file.get())) {
      file.reset();
      ::DeleteFileW(temporary.c_str());
      ThrowCannotWrite(path);
    }
  }
  // One rename puts the new file in place: a kill at any moment leaves the old file or
  // the new one, whole. (ReplaceFileW is not one step under wine: a kill inside it left
  // no file at all.) The old file's attributes and access list are carried over first.
  if (exists) CarryIdentityOver(target, attributes, temporary);
  if (!::MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temporary.c_str());
    // Held by a program that shares writes but not deletion (editors, backup and sync
    // tools): the platform would write the file itself, and so do we.
    if (!exists) ThrowCannotWrite(path);
    WriteInPlace(target, path, bytes);
  }
  RemoveOrphanedTemporaryFiles(target);
}

}  // namespace ripplet
