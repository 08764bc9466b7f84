// The usage file's text and the sizes the dialog shows.
#include <gtest/gtest.h>

#include "usage/byte_size_text.h"
#include "usage/usage_csv.h"
#include "usage/usage_paths.h"

namespace ripplet {
namespace {

TEST(UsageCsv, WritesWhatASpreadsheetOpensAndReadsItBack) {
  UsageTable rows;
  rows[{{2026, 12, 9}, "Intel(R) \"Fast\", Ethernet"}] = {18446744073709551615u, 0};
  rows[{{2026, 1, 2}, "ループバック"}] = {5, 6};
  const std::string text = FormatUsageCsv(rows);
  EXPECT_EQ(text,
            "\xEF\xBB\xBF"
            "date,adapter,received,sent\r\n"
            "2026-01-02,ループバック,5,6\r\n"
            "2026-12-09,\"Intel(R) \"\"Fast\"\", Ethernet\",18446744073709551615,0\r\n");
  const UsageCsvRead read = ParseUsageCsv(text);
  ASSERT_TRUE(read.Ok);
  EXPECT_EQ(read.Rows, rows);
}

TEST(UsageCsv, ReadsHandEditsAndMergesDuplicateRows) {
  // No byte-order mark, LF line ends, a header in other letters, blank lines, a quoted
  // line break, and the same date and adapter twice.
  const UsageCsvRead read = ParseUsageCsv(
      "Date,Adapter,Received,Sent\n\n2026-03-01,lo,10,20\n2026-03-01,lo,1,2\n"
      "2026-03-02,\"two\nlines\",3,4\n");
  ASSERT_TRUE(read.Ok);
  EXPECT_EQ(read.Rows.size(), 2u);
  EXPECT_EQ(read.Rows.at({{2026, 3, 1}, "lo"}), (ByteCounts{11, 22}));
  EXPECT_EQ(read.Rows.at({{2026, 3, 2}, "two\nlines"}), (ByteCounts{3, 4}));
  EXPECT_TRUE(ParseUsageCsv("").Ok);
  EXPECT_TRUE(ParseUsageCsv("\xEF\xBB\xBF").Ok);
}

TEST(UsageCsv, RefusesWhatItCannotReadAndNamesTheLine) {
  const std::string header = "date,adapter,received,sent\r\n";
  const auto line_of = [](const std::string& text) {
    const UsageCsvRead read = ParseUsageCsv(text);
    EXPECT_FALSE(read.Ok) << text;
    return read.Line;
  };
  EXPECT_EQ(line_of("day,adapter,received,sent\r\n"), 1u);
  EXPECT_EQ(line_of("2026-01-01,lo,1,2\r\n"), 1u);  // no header
  EXPECT_EQ(line_of(header + "2026-01-01,lo,1,2\r\n2026-02-30,lo,1,2\r\n"), 3u);
  EXPECT_EQ(line_of(header + "2026/01/01,lo,1,2\r\n"), 2u);
  EXPECT_EQ(line_of(header + "2026-01-01,lo,-1,2\r\n"), 2u);
  EXPECT_EQ(line_of(header + "2026-01-01,lo,18446744073709551616,2\r\n"), 2u);  // 2^64
  EXPECT_EQ(line_of(header + "2026-01-01,lo,1\r\n"), 2u);
  EXPECT_EQ(line_of(header + "2026-01-01,lo,1,2,3\r\n"), 2u);
  EXPECT_EQ(line_of(header + "2026-01-01,\"lo,1,2\r\n"), 2u);  // never closed
  EXPECT_EQ(line_of(header + "2026-01-01,\"a\"b,1,2\r\n"), 2u);
  EXPECT_EQ(line_of(header + "2026-01-01,\"a\nb\",1,2\r\n2026-01-01,x,1, 2\r\n"), 4u);
  EXPECT_EQ(line_of(header + "2026-01-01,lo,1,2\r\n2026-01-01,lo,1,2\r\n\x1A"), 4u);
}

TEST(UsageText, SizesAsWindowsShowsThem) {
  EXPECT_EQ(FormatByteSize(0, L"."), L"0 バイト");
  EXPECT_EQ(FormatByteSize(512, L"."), L"512 バイト");
  EXPECT_EQ(FormatByteSize(1023, L"."), L"1023 バイト");
  EXPECT_EQ(FormatByteSize(1024, L"."), L"1.00 KB");
  EXPECT_EQ(FormatByteSize(1535, L","), L"1,49 KB");  // truncated, the regional separator
  EXPECT_EQ(FormatByteSize(15 * 1024 + 1000, L"."), L"15.9 KB");
  EXPECT_EQ(FormatByteSize(999 * 1024, L"."), L"999 KB");
  EXPECT_EQ(FormatByteSize(1000 * 1024, L"."), L"0.97 MB");
  EXPECT_EQ(FormatByteSize(std::uint64_t{3} << 30, L"."), L"3.00 GB");
  EXPECT_EQ(FormatByteSize(std::uint64_t{150} << 40, L"."), L"150 TB");
  EXPECT_EQ(FormatByteSize(~std::uint64_t{0}, L"."), L"16777215 TB");
}

TEST(UsageText, TheFileIsNamedAfterTheSettingsFileAndItsLockAfterItsPath) {
  EXPECT_EQ(UsagePathFor(L"C:\\Tools\\ripplet.ini"), L"C:\\Tools\\ripplet-usage.csv");
  EXPECT_EQ(UsagePathFor(L"C:\\my.dir\\other"), L"C:\\my.dir\\other-usage.csv");
  EXPECT_EQ(UsagePathFor(L"other.ini"), L"other-usage.csv");
  const std::wstring name = UsageLockName(L"C:\\TOOLS\\RIPPLET-USAGE.CSV");
  EXPECT_EQ(name.find(L'\\'), std::wstring::npos);
  EXPECT_EQ(name, UsageLockName(L"C:\\TOOLS\\RIPPLET-USAGE.CSV"));
  EXPECT_NE(name, UsageLockName(L"D:\\TOOLS\\RIPPLET-USAGE.CSV"));
}

}  // namespace
}  // namespace ripplet
