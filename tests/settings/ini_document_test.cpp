#include "settings/ini_document.h"

#include <gtest/gtest.h>

namespace ripplet {
namespace {

constexpr std::string_view kFile =
    "; written by hand\r\n"
    "[Settings]\r\n"
    "  Interval = 500  \r\n"
    "AdapterName=\"  padded  \"\r\n"
    "Quoted='x'\r\n"
    "Half=\"x\r\n"
    "; Interval=1\r\n"
    "loose text\r\n"
    "Interval=700\r\n"
    "\r\n"
    "[Unknown]\r\n"
    "Foo=bar\r\n"
    "[settings]\r\n"
    "Later=1\r\n";

TEST(IniRead, NamesMatchWithoutCaseAndTheFirstMatchWins) {
  const IniDocument ini = IniDocument::Parse(kFile);
  EXPECT_EQ(ini.Get("settings", "INTERVAL"), "500");
  EXPECT_EQ(ini.Get("UNKNOWN", "foo"), "bar");
  // The second [settings] section is never reached, as with the platform.
  EXPECT_EQ(ini.Get("Settings", "Later"), std::nullopt);
  EXPECT_EQ(ini.Get("Missing", "Foo"), std::nullopt);
  EXPECT_EQ(ini.Get("Settings", "Missing"), std::nullopt);
}

TEST(IniRead, TrimsBlanksAndStripsOneMatchingPairOfQuotes) {
  const IniDocument ini = IniDocument::Parse(kFile);
  EXPECT_EQ(ini.Get("Settings", "AdapterName"), "  padded  ");
  EXPECT_EQ(ini.Get("Settings", "Quoted"), "x");
  EXPECT_EQ(ini.Get("Settings", "Half"), "\"x");
}

TEST(IniRead, CommentsAndLinesWithoutEqualsAreNotKeys) {
  const IniDocument ini = IniDocument::Parse(kFile);
  EXPECT_EQ(ini.KeyNames("Settings"),
            (std::vector<std::string>{"Interval", "AdapterName", "Quoted", "Half", "Interval"}));
  EXPECT_EQ(ini.Get("Settings", "loose text"), std::nullopt);
  EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"Settings", "Unknown", "settings"}));
}

TEST(IniRead, AcceptsEveryLineEndAndAMissingLastOne) {
  const IniDocument ini = IniDocument::Parse("[A]\nx=1\ry=2\r\nz=3");
  EXPECT_EQ(ini.Get("A", "x"), "1");
  EXPECT_EQ(ini.Get("A", "y"), "2");
  EXPECT_EQ(ini.Get("A", "z"), "3");
  EXPECT_EQ(ini.Serialize(), "[A]\r\nx=1\r\ny=2\r\nz=3\r\n");
}

TEST(IniRead, ShiftJisTrailBytesAreNotFoldedAsLetters) {
  // 0x82 0x61 and 0x82 0x41 are different characters whose trail bytes are 'a' and 'A'.
  const IniDocument ini = IniDocument::Parse("[S]\n\x82\x61=1\n");
  EXPECT_EQ(ini.Get("S", "\x82\x61"), "1");
  EXPECT_EQ(ini.Get("S", "\x82\x41"), std::nullopt);
}

TEST(IniWrite, ParseAndSerializeKeepACrlfFileByteForByte) {
  EXPECT_EQ(IniDocument::Parse(kFile).Serialize(), kFile);
  EXPECT_EQ(IniDocument::Parse("").Serialize(), "");
}

TEST(IniWrite, ReplacingAValueTouchesOnlyItsLine) {
  IniDocument ini = IniDocument::Parse(kFile);
  ini.Set("SETTINGS", "interval", "1000");
  std::string expected(kFile);
  expected.replace(expected.find("  Interval = 500  "), 18, "Interval=1000");
  EXPECT_EQ(ini.Serialize(), expected);
}

TEST(IniWrite, AnUnchangedValueKeepsTheLineAsTheUserWroteIt) {
  IniDocument ini = IniDocument::Parse(kFile);
  ini.Set("Settings", "Interval", "500");
  ini.Set("Settings", "Quoted", "x");
  EXPECT_EQ(ini.Serialize(), kFile);
}

TEST(IniWrite, NewKeyGoesAfterTheLastNonBlankLineOfItsSection) {
  IniDocument ini = IniDocument::Parse(kFile);
  ini.Set("Settings", "GraphRange", "1000");
  std::string expected(kFile);
  expected.insert(expected.find("\r\n[Unknown]"), "GraphRange=1000\r\n");
  EXPECT_EQ(ini.Serialize(), expected);

  IniDocument last = IniDocument::Parse("[A]\r\nx=1\r\n\r\n\r\n");
  last.Set("A", "y", "2");
  EXPECT_EQ(last.Serialize(), "[A]\r\nx=1\r\ny=2\r\n\r\n\r\n");

  IniDocument empty_section = IniDocument::Parse("[A]\r\n\r\n[B]\r\n");
  empty_section.Set("A", "y", "2");
  EXPECT_EQ(empty_section.Serialize(), "[A]\r\ny=2\r\n\r\n[B]\r\n");
}

TEST(IniWrite, NewSectionGoesAtTheEnd) {
  IniDocument ini = IniDocument::Parse("stray=1\n[A]\nx=1");
  ini.Set("B", "y", "2");
  EXPECT_EQ(ini.Serialize(), "stray=1\r\n[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
  // Lines before the first section are never keys.
  EXPECT_EQ(ini.Get("A", "stray"), std::nullopt);
}

TEST(IniWrite, EveryValueReadsBackAsWritten) {
  IniDocument ini;
  for (const char* value : {"", "plain", " lead", "trail\t", "\"q\"", "'q'", "\"", "a=b",
                            "; not a comment", "\x83\x6F\x83\x43\x83\x67"}) {
    ini.Set("S", "K", value);
    EXPECT_EQ(ini.Get("S", "K"), value) << '"' << value << '"';
    EXPECT_EQ(IniDocument::Parse(ini.Serialize()).Get("S", "K"), value);
  }
}

TEST(IniWrite, LineBreaksInAValueCannotSplitTheLine) {
  IniDocument ini;
  ini.Set("S", "K", "a\r\n[Evil]\nb");
  EXPECT_EQ(ini.SectionNames(), std::vector<std::string>{"S"});
  EXPECT_EQ(IniDocument::Parse(ini.Serialize()).SectionNames(), std::vector<std::string>{"S"});
  EXPECT_EQ(ini.Get("S", "K"), "a  [Evil] b");
}

TEST(IniWrite, LongValuesAreNeverCut) {
  const std::string value(100000, 'v');
  IniDocument ini;
  ini.Set("S", "K", value);
  EXPECT_EQ(IniDocument::Parse(ini.Serialize()).Get("S", "K"), value);
}

}  // namespace
}  // namespace ripplet
