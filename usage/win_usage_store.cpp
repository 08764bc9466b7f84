#include "usage/win_usage_store.h"

#include <utility>
#include <vector>

#include "usage/usage_csv.h"
#include "usage/usage_paths.h"
#include "win32/app_error.h"
#include "win32/win_handles.h"
#include "win32/win_safe_file.h"

namespace ripplet {
namespace {

// Long enough for another copy's save on a slow disk; a save that does not get the lock
// keeps its counts for the next one.
constexpr DWORD kLockWaitMs = 5000;

using UniqueMutex = UniqueHandle<NullIsInvalid<HANDLE, &::CloseHandle>>;

class NamedLock {
 public:
  explicit NamedLock(const std::wstring& name) {
    // One name for every session's copies where the system allows it, else this session's.
    mutex_.reset(::CreateMutexW(nullptr, FALSE, (L"Global\\" + name).c_str()));
    if (!mutex_) mutex_.reset(::CreateMutexW(nullptr, FALSE, (L"Local\\" + name).c_str()));
    if (!mutex_) return;
    // An abandoned lock is had all the same: its owner was killed, and the file it was
    // writing is the old one or the new one, whole.
    const DWORD waited = ::WaitForSingleObject(mutex_.get(), kLockWaitMs);
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
  }
  NamedLock(const NamedLock&) = delete;
  NamedLock& operator=(const NamedLock&) = delete;
  ~NamedLock() {
    if (held_) ::ReleaseMutex(mutex_.get());
  }
  bool Held() const noexcept { return held_; }

 private:
  UniqueMutex mutex_;
  bool held_ = false;
};

std::wstring UpperFullPath(const std::wstring& path) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length == 0) {
      buffer.assign(path.begin(), path.end());
      break;
    }
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    buffer.resize(length + 1);
  }
  if (!buffer.empty()) ::CharUpperBuffW(buffer.data(), static_cast<DWORD>(buffer.size()));
  return {buffer.begin(), buffer.end()};
}

std::wstring UnparsableText(const std::wstring& path, std::size_t line) {
  return path + L" の " + std::to_wstring(line) +
         L" 行目を読み取れません。このファイルには保存せず、使用量はメモリー上で数え続けます";
}

std::wstring UnreadableText(const std::wstring& path) {
  return path + L" を読み込めません。このファイルには保存せず、使用量はメモリー上で数え続けます";
}

}  // namespace

void UsageStore::SetPath(std::wstring path) {
  path_ = std::move(path);
  lock_name_ = UsageLockName(UpperFullPath(path_));
}

std::wstring UsageStore::Save() {
  if (!counter_.HasUnsaved() || path_.empty()) return {};
  const NamedLock lock(lock_name_);
  if (!lock.Held()) return {};
  const WholeFileRead file = ReadWholeFile(path_);
  if (file.Outcome == FileReadOutcome::Unreadable) {
    if (std::exchange(told_unreadable_, true)) return {};
    return UnreadableText(path_);
  }
  const UsageSaveText text = MergeIntoUsageFile(file.Outcome == FileReadOutcome::Read
                                                    ? std::optional<std::string_view>(file.Bytes)
                                                    : std::nullopt,
                                                counter_.Unsaved());
  if (!text.Ok) {
    if (std::exchange(told_unreadable_, true)) return {};
    return UnparsableText(path_, text.Line);
  }
  try {
    ReplaceFileSafely(path_, text.Bytes);
  } catch (const AppError& error) {
    if (std::exchange(told_unwritable_, true)) return {};
    return error.Text();
  }
  counter_.Saved();
  return {};
}

UsageTable UsageStore::Rows(std::wstring& problem) const {
  problem.clear();
  UsageTable rows;
  const WholeFileRead file = ReadWholeFile(path_);
  if (file.Outcome == FileReadOutcome::Unreadable) {
    problem = path_ + L" を読み込めません";
  } else if (file.Outcome == FileReadOutcome::Read) {
    UsageCsvRead read = ParseUsageCsv(file.Bytes);
    if (read.Ok) {
      rows = std::move(read.Rows);
    } else {
      problem = path_ + L" の " + std::to_wstring(read.Line) + L" 行目を読み取れません";
    }
  }
  MergeUsage(rows, counter_.Unsaved());
  return rows;
}

Date LocalToday() noexcept {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay};
}

}  // namespace ripplet
