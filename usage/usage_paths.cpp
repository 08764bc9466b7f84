#include "usage/usage_paths.h"

#include <cstdint>

namespace ripplet {

std::wstring UsagePathFor(std::wstring_view settings_path) {
  const std::size_t name_start = settings_path.find_last_of(L"\\/:");
  const std::size_t dot = settings_path.rfind(L'.');
  const bool has_extension =
      dot != std::wstring_view::npos && (name_start == std::wstring_view::npos || dot > name_start);
  const std::wstring_view stem = has_extension ? settings_path.substr(0, dot) : settings_path;
  return std::wstring(stem) + L"-usage.csv";
}

std::wstring UsageLockName(std::wstring_view upper_full_path) {
  // FNV-1a over the UTF-16 units: the same path gives the same name in every copy.
  std::uint64_t hash = 14695981039346656037ull;
  for (const wchar_t c : upper_full_path) {
    const auto unit = static_cast<std::uint16_t>(c);
    hash = (hash ^ (unit & 0xFFu)) * 1099511628211ull;
    hash = (hash ^ (unit >> 8)) * 1099511628211ull;
  }
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring name = L"Ripplet.Usage.";
  for (int shift = 60; shift >= 0; shift -= 4) name += kHex[(hash >> shift) & 0xFu];
  return name;
}

}  // namespace ripplet
