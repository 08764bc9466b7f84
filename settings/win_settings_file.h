// Reading and writing the settings file's bytes. A save writes a temporary file beside the
// settings file, flushes it and replaces the old file in one step, so a crash mid-save
// never leaves a half-written file.
#pragma once

#include <string>
#include <string_view>

namespace ripplet {

// The file's bytes; a missing or unreadable file reads as empty.
std::string ReadSettingsBytes(const std::wstring& path);

// Replaces the file with `bytes`. Throws AppError("<path> に書き込めません") when the file is
// read-only or any step fails; the old file is then left as it was.
void WriteSettingsBytes(const std::wstring& path, std::string_view bytes);

}  // namespace ripplet
