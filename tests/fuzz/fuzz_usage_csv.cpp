// The usage file's reader over arbitrary bytes: it either names a line of the input or
// reads rows that write back as a file that reads as the same rows, and a save's merge
// never loses or shrinks a count.
#include <cstdint>
#include <string>
#include <string_view>

#include "tests/fuzz/fuzz_check.h"
#include "usage/usage_csv.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ripplet;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const UsageCsvRead read = ParseUsageCsv(bytes);
  if (!read.Ok) {
    FUZZ_CHECK(read.Line >= 1);
    std::size_t lines = 1;
    for (const char c : bytes) lines += c == '\n';
    FUZZ_CHECK(read.Line <= lines);
    // A save over a file it cannot read refuses, at the same line.
    const UsageSaveText save = MergeIntoUsageFile(bytes, {});
    FUZZ_CHECK(!save.Ok && save.Line == read.Line);
    return 0;
  }
  const std::string written = FormatUsageCsv(read.Rows);
  const UsageCsvRead again = ParseUsageCsv(written);
  FUZZ_CHECK(again.Ok);
  FUZZ_CHECK(again.Rows == read.Rows);
  FUZZ_CHECK(FormatUsageCsv(again.Rows) == written);

  // The rows added to themselves: each count doubles, or stops at the largest.
  const UsageSaveText save = MergeIntoUsageFile(written, read.Rows);
  FUZZ_CHECK(save.Ok);
  const UsageCsvRead merged = ParseUsageCsv(save.Bytes);
  FUZZ_CHECK(merged.Ok && merged.Rows.size() == read.Rows.size());
  for (const auto& [key, counts] : read.Rows) {
    const ByteCounts& sum = merged.Rows.at(key);
    FUZZ_CHECK(sum.Received == SaturatingAdd(counts.Received, counts.Received));
    FUZZ_CHECK(sum.Sent == SaturatingAdd(counts.Sent, counts.Sent));
  }
  return 0;
}
