#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ripplet {
namespace {

using Args = std::vector<std::wstring>;

TEST(SplitCommandLine, SeparatorsAndQuotes) {
  EXPECT_EQ(SplitCommandLine(L"prog.exe"), (Args{L"prog.exe"}));
  EXPECT_EQ(SplitCommandLine(L"  \"C:\\Program Files\\r.exe\"  -i:a\t/I=b  "),
            (Args{L"C:\\Program Files\\r.exe", L"-i:a", L"/I=b"}));
  // A quoted stretch inside an argument keeps its blanks; the quotes go.
  EXPECT_EQ(SplitCommandLine(L"r -i:\"my settings\\x y.ini\" z"),
            (Args{L"r", L"-i:my settings\\x y.ini", L"z"}));
  EXPECT_EQ(SplitCommandLine(L"r \"-i:a b\"c"), (Args{L"r", L"-i:a bc"}));
  // An unclosed quote runs to the end.
  EXPECT_EQ(SplitCommandLine(L"r \"a b"), (Args{L"r", L"a b"}));
  EXPECT_TRUE(SplitCommandLine(L"").empty());
  EXPECT_TRUE(SplitCommandLine(L" \t ").empty());
}

TEST(SplitCommandLine, EmptyQuotesAreSkippedButQuotedBlankIsNot) {
  EXPECT_EQ(SplitCommandLine(L"r \"\" x \"\"\"\""), (Args{L"r", L"x"}));
  EXPECT_EQ(SplitCommandLine(L"r \" \""), (Args{L"r", L" "}));
  EXPECT_EQ(SplitCommandLine(L"r \"\"x"), (Args{L"r", L"x"}));
}

TEST(SplitCommandLine, ControlCharactersSeparateAndNulEnds) {
  const std::wstring line = std::wstring(
                                L"r\x01"
                                L"a\x1F"
                                L"b\r\nc") +
                            L'\0' + L" d";
  EXPECT_EQ(SplitCommandLine(line), (Args{L"r", L"a", L"b", L"c"}));
  // Characters above 32 are ordinary, also non-ASCII ones.
  EXPECT_EQ(SplitCommandLine(L"r \x7F\x00A0\x3042"), (Args{L"r", L"\x7F\x00A0\x3042"}));
}

TEST(PathRules, DirectoryAndExtension) {
  EXPECT_EQ(DirectoryPart(L"C:\\a\\b.exe"), L"C:\\a\\");
  EXPECT_EQ(DirectoryPart(L"D:my.ini"), L"D:");
  EXPECT_EQ(DirectoryPart(L"my.ini"), L"");
  EXPECT_EQ(ExtensionOf(L"C:\\a.b\\prog"), L"");
  EXPECT_EQ(ExtensionOf(L"C:\\a.b\\prog.tar.gz"), L".gz");
  EXPECT_EQ(ExtensionOf(L"name."), L".");
  EXPECT_EQ(ExtensionOf(L"D:.x"), L".x");
  EXPECT_EQ(ReplaceExtension(L"C:\\a.b\\prog", L".ini"), L"C:\\a.b\\prog.ini");
  EXPECT_EQ(ReplaceExtension(L"C:\\a\\Meter.EXE", L".chm"), L"C:\\a\\Meter.chm");
  EXPECT_EQ(ReplaceExtension(L"C:\\a\\", L".ini"), L"C:\\a\\.ini");
}

TEST(FormPaths, UsesStoredNameInLoaderDirectory) {
  // Started through a short path: the directory stays, the name is the stored one.
  const StartupPaths p = FormPaths(L"C:\\PROGRA~1\\RIPPLE~1.EXE", L"Ripplet Meter.exe");
  EXPECT_EQ(p.ProgramDir, L"C:\\PROGRA~1\\");
  EXPECT_EQ(p.IniPath, L"C:\\PROGRA~1\\Ripplet Meter.ini");
  EXPECT_EQ(p.HelpPath, L"C:\\PROGRA~1\\Ripplet Meter.chm");

  const StartupPaths dotted = FormPaths(L"C:\\a.b\\prog", L"prog");
  EXPECT_EQ(dotted.IniPath, L"C:\\a.b\\prog.ini");
  EXPECT_EQ(dotted.HelpPath, L"C:\\a.b\\prog.chm");

  const StartupPaths missing = FormPaths(L"C:\\tools\\meter.exe", L"");
  EXPECT_EQ(missing.IniPath, L"C:\\tools\\.ini");
  EXPECT_EQ(missing.HelpPath, L"C:\\tools\\.chm");

  // Longer than 260 characters is fine.
  const std::wstring deep = L"C:\\" + std::wstring(300, L'd') + L"\\";
  EXPECT_EQ(FormPaths(deep + L"m.exe", L"m.exe").IniPath, deep + L"m.ini");
}

class IniOptionTest : public ::testing::Test {
 protected:
  std::wstring Apply(Args args) {
    args.insert(args.begin(), L"-i:argument-zero-is-never-examined");
    return ApplyIniOption(kDefault, args, kDir);
  }
  const std::wstring kDir = L"C:\\tools\\";
  const std::wstring kDefault = L"C:\\tools\\ripplet.ini";
};

TEST_F(IniOptionTest, ValueForms) {
  EXPECT_EQ(Apply({}), kDefault);
  EXPECT_EQ(Apply({L"-i:work"}), L"C:\\tools\\work.ini");
  EXPECT_EQ(Apply({L"/I=D:\\conf\\x.cfg"}), L"D:\\conf\\x.cfg");
  EXPECT_EQ(Apply({L"-iconf\\x"}), L"conf\\x.ini");
  EXPECT_EQ(Apply({L"-i:D:my"}), L"D:my.ini");
  EXPECT_EQ(Apply({L"-ix"}), L"C:\\tools\\x.ini");
  EXPECT_EQ(Apply({L"-I:x"}), L"C:\\tools\\x.ini");
  EXPECT_EQ(Apply({L"/i=Work.Cfg"}), L"C:\\tools\\Work.Cfg");  // letter case kept
  EXPECT_EQ(Apply({L"-i:name."}), L"C:\\tools\\name.");
  // Only one separator is taken off; the ':' left over is a directory part.
  EXPECT_EQ(Apply({L"-i::x"}), L":x.ini");
}

TEST_F(IniOptionTest, ValueMustBeAttached) {
  EXPECT_EQ(Apply({L"-i"}), L"C:\\tools\\.ini");
  EXPECT_EQ(Apply({L"-i:"}), L"C:\\tools\\.ini");
  EXPECT_EQ(Apply({L"-i", L"my.ini"}), L"C:\\tools\\.ini");
}

TEST_F(IniOptionTest, OtherArgumentsAreIgnored) {
  EXPECT_EQ(Apply({L"-x:my.ini", L"--i", L"i:my.ini", L"my.ini", L"-", L"/", L"\\i:x"}), kDefault);
}

TEST_F(IniOptionTest, LastOptionWins) {
  EXPECT_EQ(Apply({L"-i:a", L"-i:b"}), L"C:\\tools\\b.ini");
  EXPECT_EQ(Apply({L"-i:a", L"-x:c", L"other"}), L"C:\\tools\\a.ini");
}

TEST_F(IniOptionTest, QuotedValueWithBlanksFromCommandLine) {
  const Args args = SplitCommandLine(L"\"C:\\tools\\ripplet.exe\" -i:\"D:\\my conf\\office pc\"");
  EXPECT_EQ(ApplyIniOption(kDefault, args, kDir), L"D:\\my conf\\office pc.ini");
  EXPECT_EQ(ApplyIniOption(kDefault, SplitCommandLine(L"r \"/i=two words\""), kDir),
            L"C:\\tools\\two words.ini");
}

TEST(ApplicationTitle, NameCutAtFirstDotAndLowered) {
  EXPECT_EQ(ApplicationTitle(L"C:\\tools\\METER.EXE"), L"Meter");
  EXPECT_EQ(ApplicationTitle(L"C:\\a.b\\Ripplet.Net.exe"), L"Ripplet");
  EXPECT_EQ(ApplicationTitle(L"D:ripPLET"), L"ripplet");
  EXPECT_EQ(ApplicationTitle(L"C:\\x\\.exe"), L"");
}

}  // namespace
}  // namespace ripplet
