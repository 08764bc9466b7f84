// The maker's contact addresses shown in the About dialog and handed to the shell.
// Kept in one place so that they can be changed without touching the dialog.
#pragma once

namespace ripplet {

// Addresses under example.org, the domain reserved for examples (RFC 2606): the project
// has no public mailbox or site yet, and these point at no one else's.
inline constexpr wchar_t kAboutMailAddress[] = L"ripplet@example.org";
inline constexpr wchar_t kAboutWebAddress[] = L"https://example.org/ripplet/";

}  // namespace ripplet
