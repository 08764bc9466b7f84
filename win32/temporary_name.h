// The temporary file a safe save writes beside the file it replaces: "<file>.<pid>-<n>.tmp", the
// saving process' id and its count of saves. A save that is killed leaves one behind; the
// id says whether its writer still runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ripplet {

// `file` is the settings file's name, or its whole path for a whole path back.
std::wstring TemporaryNameFor(std::wstring_view file, std::uint32_t process_id,
                              std::uint32_t count);

// The process id when `name` is exactly a temporary name of `file_name` (decimal numbers
// without leading zeros, as TemporaryNameFor writes them), else nothing.
std::optional<std::uint32_t> TemporaryNameOwner(std::wstring_view name,
                                                std::wstring_view file_name);

}  // namespace ripplet
