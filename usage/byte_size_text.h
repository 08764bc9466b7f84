// A byte count as Windows shows a file's size: 1024-based units "KB", "MB", "GB" and "TB",
// three significant digits, truncated rather than rounded ("1.50 KB", "15.0 MB", "150 GB");
// below 1 KB the bytes themselves ("512 バイト").
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ripplet {

// `decimal_separator`: the user's regional one.
std::wstring FormatByteSize(std::uint64_t bytes, std::wstring_view decimal_separator);

}  // namespace ripplet
