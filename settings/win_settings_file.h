// Reading and writing the settings file's bytes. A save writes a temporary file beside the
// settings file, flushes it and replaces the old file in one step, so a crash mid-save
// never leaves a half-written file.
#pragma once

#include <string>
#include <string_view>

#include "settings/ini_text.h"

namespace ripplet {

// A missing file and a file that is there but cannot be read are different cases: the
// first means defaults, the second holds content the program must never replace.
enum class SettingsReadOutcome { NoFile, Read, Unreadable };

struct SettingsFileRead {
  SettingsReadOutcome Outcome = SettingsReadOutcome::NoFile;
  std::string Bytes;  // the whole file when Outcome is Read, else empty
};

SettingsFileRead ReadSettingsFile(const std::wstring& path);

// The file's bytes; a missing or unreadable file reads as empty.
std::string ReadSettingsBytes(const std::wstring& path);

// Replaces the file with `bytes`. Throws AppError("<path> に書き込めません") when the file is
// read-only or any step fails; the old file is then left as it was.
// The new file takes over the old one's attributes and access list before the rename;
// a symbolic link has its target written and stays a link. When the folder refuses the
// temporary file or the file refuses the rename but can itself be written, it is rewritten
// in place, flushed. A save that succeeds removes the temporary files beside it that
// killed saves left (their process is gone).
void WriteSettingsBytes(const std::wstring& path, std::string_view bytes);

// UTF-16 to and from the ANSI code page, as the platform converts for an ANSI program.
const AnsiCodec& PlatformAnsiCodec() noexcept;

}  // namespace ripplet
