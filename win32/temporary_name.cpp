#include "win32/temporary_name.h"

#include <limits>

namespace ripplet {
namespace {

// A decimal number as std::to_wstring writes a 32-bit one: no sign, no leading zero.
std::optional<std::uint32_t> ParseCount(std::wstring_view digits) {
  if (digits.empty() || digits.size() > 10 || (digits.size() > 1 && digits[0] == L'0')) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  for (const wchar_t c : digits) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - L'0');
  }
  if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

}  // namespace

std::wstring TemporaryNameFor(std::wstring_view file, std::uint32_t process_id,
                              std::uint32_t count) {
  return std::wstring(file) + L"." + std::to_wstring(process_id) + L"-" + std::to_wstring(count) +
         L".tmp";
}

std::optional<std::uint32_t> TemporaryNameOwner(std::wstring_view name,
                                                std::wstring_view file_name) {
  constexpr std::wstring_view kSuffix = L".tmp";
  if (file_name.empty() || !name.starts_with(file_name) ||
      name.size() < file_name.size() + 1 + kSuffix.size() || name[file_name.size()] != L'.' ||
      !name.ends_with(kSuffix)) {
    return std::nullopt;
  }
  const std::wstring_view numbers =
      name.substr(file_name.size() + 1, name.size() - file_name.size() - 1 - kSuffix.size());
  const std::size_t dash = numbers.find(L'-');
  if (dash == std::wstring_view::npos) return std::nullopt;
  const auto process_id = ParseCount(numbers.substr(0, dash));
  const auto count = ParseCount(numbers.substr(dash + 1));
  if (!process_id || !count || *count == 0) return std::nullopt;
  return process_id;
}

}  // namespace ripplet
