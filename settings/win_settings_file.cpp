#include "settings/win_settings_file.h"

#include <windows.h>

#include "win32/win_text.h"

namespace ripplet {
namespace {

// The codec's UTF-16 units are the platform's wchar_t.
std::string ToAnsi(std::u16string_view text) {
  return WideToAnsi({reinterpret_cast<const wchar_t*>(text.data()), text.size()});
}

std::u16string FromAnsi(std::string_view text) {
  const std::wstring wide = AnsiToWide(text);
  return {wide.begin(), wide.end()};
}

}  // namespace

const AnsiCodec& PlatformAnsiCodec() noexcept {
  static const AnsiCodec codec{&ToAnsi, &FromAnsi};
  return codec;
}

}  // namespace ripplet
