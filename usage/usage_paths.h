// Where the usage file lives and the name of the lock its writers share.
#pragma once

#include <string>
#include <string_view>

namespace ripplet {

// Beside the settings file and named after it: "C:\x\ripplet.ini" gives
// "C:\x\ripplet-usage.csv", "other.ini" gives "other-usage.csv"; a name without an
// extension keeps its whole name.
std::wstring UsagePathFor(std::wstring_view settings_path);

// The name of the mutex that every copy writing `full_path` holds while it reads, merges
// and writes the file: made from the path with its letters in one case (the file system
// ignores case) and hashed, as a mutex name takes no backslash and has a length limit.
// `upper_full_path` is the absolute path as the platform gives it, in upper case.
std::wstring UsageLockName(std::wstring_view upper_full_path);

}  // namespace ripplet
