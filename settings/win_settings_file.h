// Reading and writing the settings file's bytes, through the safe replace that the usage
// file shares (win32/win_safe_file.h).
#pragma once

#include <string>
#include <string_view>

#include "settings/ini_text.h"
#include "win32/win_safe_file.h"

namespace ripplet {

using SettingsReadOutcome = FileReadOutcome;
using SettingsFileRead = WholeFileRead;

inline SettingsFileRead ReadSettingsFile(const std::wstring& path) { return ReadWholeFile(path); }

// The file's bytes; a missing or unreadable file reads as empty.
inline std::string ReadSettingsBytes(const std::wstring& path) { return ReadWholeFile(path).Bytes; }

// Replaces the file with `bytes` (ReplaceFileSafely); throws AppError("<path> に書き込めません").
inline void WriteSettingsBytes(const std::wstring& path, std::string_view bytes) {
  ReplaceFileSafely(path, bytes);
}

// UTF-16 to and from the ANSI code page, as the platform converts for an ANSI program.
const AnsiCodec& PlatformAnsiCodec() noexcept;

}  // namespace ripplet
