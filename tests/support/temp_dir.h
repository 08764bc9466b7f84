// Test support: a fresh folder under the temp directory, removed with its files afterwards.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace ripplet::testing {

class TempDir {
 public:
  TempDir() {
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    path_ =
        std::filesystem::path(base) / (L"ripplet-test-" + std::to_wstring(::GetCurrentProcessId()) +
                                       L"-" + std::to_wstring(++counter));
    std::filesystem::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ec)) {
      ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::wstring File(std::wstring_view name) const { return (path_ / name).wstring(); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace ripplet::testing
