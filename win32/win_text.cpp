#include "win32/win_text.h"

namespace ripplet {

std::wstring AnsiToWide(std::string_view bytes, UINT code_page) {
  if (bytes.empty()) return {};
  const int n =
      ::MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(code_page, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

std::string WideToAnsi(std::wstring_view text, UINT code_page) {
  if (text.empty()) return {};
  const int n = ::WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()),
                                      nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(code_page, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  const int copied = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

std::string RegionalDecimalSeparator() {
  wchar_t buffer[8] = {};
  const int n = ::GetLocaleInfoW(::GetThreadLocale(), LOCALE_SDECIMAL, buffer, 8);
  if (n <= 1) return ".";
  std::string separator = WideToAnsi(std::wstring_view(buffer, static_cast<size_t>(n - 1)));
  return separator.empty() ? "." : separator;
}

}  // namespace ripplet
