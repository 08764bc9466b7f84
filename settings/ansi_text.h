// Byte-level helpers for the ANSI (code page 932) text of the settings file.
#pragma once

#include <string_view>

namespace ripplet {

// True when a and b are equal with ASCII letters compared without regard to case.
// The second byte of a Shift-JIS double-byte character is compared exactly, so two
// different Japanese characters never match just because a trail byte is a letter.
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) noexcept;

// Drops leading and trailing blanks and tabs, as the profile functions do.
std::string_view TrimBlanks(std::string_view text) noexcept;

}  // namespace ripplet
