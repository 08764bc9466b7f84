// UTF-16 LE settings files: read line by line in the ANSI code page, written back in UTF-16
// LE with the mark, untouched lines exactly as they were; other files as ANSI bytes.
#include "settings/ini_text.h"

#include <gtest/gtest.h>

namespace ripplet {
namespace {

// A stand-in code page: ASCII as it is, every other unit '?' (as a lossy one would).
std::string ToAscii(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}
std::u16string FromAscii(std::string_view text) { return std::u16string(text.begin(), text.end()); }
constexpr AnsiCodec kCodec{&ToAscii, &FromAscii};

std::string Utf16Le(std::u16string_view text, bool mark = true) {
  std::string out = mark ? "\xFF\xFE" : "";
  for (const char16_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

TEST(IniTextTest, Utf16FileReadsAndChangesOnlyTheLinesWritten) {
  const std::u16string file =
      u"; \u65e5\u672c\u8a9e\u306e\u30b3\u30e1\u30f3\u30c8\r\n"  // a Japanese comment
      u"[Settings]\r\nInterval=500\r\nGraphUnit=\u30d0\u30a4\u30c8\r\n"
      u"[Mine]\nx=\U0001F600\n";  // an unknown section with LF ends and a surrogate pair
  IniText text = IniText::Decode(Utf16Le(file), kCodec);
  ASSERT_TRUE(text.IsUtf16());
  EXPECT_EQ(text.Document().Get("Settings", "Interval"), "500");
  EXPECT_EQ(text.Document().Get("Settings", "GraphUnit"), "???");
  EXPECT_EQ(text.Encode(kCodec), Utf16Le(file)) << "nothing written, nothing changed";

  // The same value read back (lossy as it is) keeps its line; a new value and a new key
  // are the only lines that change.
  text.Document().Set("Settings", "GraphUnit", "???");
  text.Document().Set("Settings", "Interval", "250");
  text.Document().Set("Colors", "Recv", "clRed");
  EXPECT_EQ(text.Encode(kCodec),
            Utf16Le(u"; \u65e5\u672c\u8a9e\u306e\u30b3\u30e1\u30f3\u30c8\r\n"
                    u"[Settings]\r\nInterval=250\r\nGraphUnit=\u30d0\u30a4\u30c8\r\n"
                    u"[Mine]\nx=\U0001F600\n[Colors]\r\nRecv=clRed\r\n"));
}

TEST(IniTextTest, LastLineWithoutEndAndAnOddByteSurvive) {
  const std::string bytes = Utf16Le(u"[Settings]\r\nInterval=500") + "\x41";
  IniText text = IniText::Decode(bytes, kCodec);
  EXPECT_EQ(text.Document().Get("Settings", "Interval"), "500");
  EXPECT_EQ(text.Encode(kCodec), bytes);
  text.Document().Set("Settings", "Other", "1");
  EXPECT_EQ(text.Encode(kCodec), Utf16Le(u"[Settings]\r\nInterval=500\r\nOther=1\r\n"));
}

TEST(IniTextTest, FilesWithoutTheMarkAreAnsiBytes) {
  // UTF-16 without a mark, and a big-endian mark, are bytes like any other.
  for (const std::string& bytes : {Utf16Le(u"[S]\r\nk=v\r\n", false), std::string("\xFE\xFF\0[", 4),
                                   std::string("[S]\nk=v")}) {
    IniText text = IniText::Decode(bytes, kCodec);
    EXPECT_FALSE(text.IsUtf16());
    EXPECT_EQ(text.Encode(kCodec), IniDocument::Parse(bytes).Serialize());
  }
}

}  // namespace
}  // namespace ripplet
