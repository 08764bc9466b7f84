// The usage file's text: CSV as RFC 4180 has it, UTF-8 with a byte-order mark, CRLF line
// ends, the header "date,adapter,received,sent" and one row per local date and adapter,
// so that a spreadsheet opens it as it is.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "usage/usage_counts.h"

namespace ripplet {

inline constexpr std::string_view kUsageCsvHeader = "date,adapter,received,sent";

struct UsageCsvRead {
  bool Ok = false;
  UsageTable Rows;       // when Ok; rows of the same date and adapter are summed
  std::size_t Line = 0;  // when not Ok: the first line (from 1) that cannot be read
};

// Reads the file's bytes. Empty bytes (or a byte-order mark alone) are a file with no
// rows. Line ends may be CRLF or LF; blank lines are skipped; the byte-order mark and the
// header's letter case are optional. Anything else that is not a header followed by rows
// of a valid date, any adapter text and two decimal counts fails, naming its line.
UsageCsvRead ParseUsageCsv(std::string_view bytes);

// The whole file for `rows`, in date and then adapter order.
std::string FormatUsageCsv(const UsageTable& rows);

// A save's new file: the file as it is now (`existing`: its bytes, or nothing when there is
// no file) with `unsaved` added. Not Ok, naming the line, when the file cannot be parsed: it
// is then not to be replaced.
struct UsageSaveText {
  bool Ok = false;
  std::string Bytes;
  std::size_t Line = 0;
};
UsageSaveText MergeIntoUsageFile(const std::optional<std::string_view>& existing,
                                 const UsageTable& unsaved);

}  // namespace ripplet
