#include "startup/startup_rules.h"

#include <gtest/gtest.h>

#include <map>

#include "app/command_line.h"

namespace ripplet {
namespace {

// What a copy started by `command` runs on, by the start-up's own rules; the stored name is
// the command's own file name (no short names here).
ProgramCopy ReadBack(const std::wstring& command) {
  const std::wstring program = CommandProgram(command);
  return {program, CommandSettingsFile(command, program.substr(program.find_last_of(L'\\') + 1))};
}

TEST(StartupRulesTest, TheWrittenCommandStartsThisCopyOnItsSettingsFile) {
  ThisCopy plain{{L"C:\\Tools\\Ripplet\\ripplet.exe", L"C:\\Tools\\Ripplet\\ripplet.ini"}, true};
  EXPECT_EQ(RunValueName(plain), L"Ripplet");
  EXPECT_EQ(RunCommand(plain), L"\"C:\\Tools\\Ripplet\\ripplet.exe\"");
  const ProgramCopy started = ReadBack(RunCommand(plain));
  EXPECT_EQ(started.Program, plain.Copy.Program);
  EXPECT_EQ(started.SettingsFile, plain.Copy.SettingsFile);

  // Blanks in both paths, a settings file elsewhere, with an extension of its own or none
  // that ends in a dot: each comes back whole.
  for (const wchar_t* settings : {L"D:\\my conf\\office pc.ini", L"\\\\server\\share\\m.cfg",
                                  L"C:\\Program Files\\Ripplet\\work."}) {
    ThisCopy own{{L"C:\\Program Files\\Ripplet\\ripplet.exe", settings}, false};
    const ProgramCopy back = ReadBack(RunCommand(own));
    EXPECT_EQ(back.Program, own.Copy.Program) << RunCommand(own);
    EXPECT_EQ(back.SettingsFile, settings) << RunCommand(own);
  }
  ThisCopy own{{L"C:\\Tools\\ripplet.exe", L"D:\\my conf\\office pc.ini"}, false};
  EXPECT_EQ(RunValueName(own), L"Ripplet (office pc.ini)");
  EXPECT_EQ(RunCommand(own), L"\"C:\\Tools\\ripplet.exe\" -i:\"D:\\my conf\\office pc.ini\"");

  // The option's value in an argument of its own is not read at start-up: such a command
  // starts the copy on "<folder>\.ini", not on the file it names.
  EXPECT_EQ(ReadBack(L"\"C:\\Tools\\ripplet.exe\" -i \"D:\\x.ini\"").SettingsFile,
            L"C:\\Tools\\.ini");
}

// Paths are one file when equal without regard to ASCII case, or listed as the same file
// (a short name and its long name).
class FakeFiles final : public FileIdentity {
 public:
  std::map<std::wstring, std::wstring> Aliases;
  bool SameFile(std::wstring_view a, std::wstring_view b) const override {
    return Canonical(std::wstring(a)) == Canonical(std::wstring(b));
  }

 private:
  std::wstring Canonical(std::wstring path) const {
    if (const auto alias = Aliases.find(path); alias != Aliases.end()) path = alias->second;
    for (wchar_t& c : path) {
      if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return path;
  }
};

TEST(StartupRulesTest, TheMarkIsCheckedOnlyForAValueThatStartsThisCopyAndIsNotTurnedOff) {
  const ProgramCopy self{L"C:\\Tools\\Ripplet\\ripplet.exe", L"C:\\Tools\\Ripplet\\ripplet.ini"};
  FakeFiles files;
  files.Aliases[L"C:\\TOOLS~1\\Ripplet\\RIPPLE~1.EXE"] = self.Program;
  const auto entry = [](std::wstring program, std::wstring settings,
                        std::optional<std::vector<std::uint8_t>> record = std::nullopt) {
    return StartupEntry{ProgramCopy{std::move(program), std::move(settings)}, std::move(record)};
  };

  EXPECT_TRUE(StartsThisCopy(entry(self.Program, self.SettingsFile), self, files));
  EXPECT_TRUE(StartsThisCopy(
      entry(L"C:\\TOOLS~1\\Ripplet\\RIPPLE~1.EXE", L"c:\\tools\\ripplet\\RIPPLET.INI"), self,
      files))
      << "the same files, spelt short and in other letter case";

  EXPECT_FALSE(StartsThisCopy(StartupEntry{}, self, files)) << "no value";
  EXPECT_FALSE(StartsThisCopy(StartupEntry{ProgramCopy{}, std::nullopt}, self, files))
      << "a value that is no command";
  EXPECT_FALSE(StartsThisCopy(entry(L"D:\\Old\\ripplet.exe", L"D:\\Old\\ripplet.ini"), self, files))
      << "left by a copy that was moved";
  EXPECT_FALSE(StartsThisCopy(entry(self.Program, L"C:\\Tools\\Ripplet\\other.ini"), self, files))
      << "this program on another settings file";
  EXPECT_FALSE(StartsThisCopy(entry(L"ripplet.exe", self.SettingsFile), self, files))
      << "a program found through the folder current at log-on";
  EXPECT_FALSE(StartsThisCopy(entry(self.Program, L"Ripplet\\ripplet.ini"), self, files))
      << "a settings file relative to the folder current at log-on";

  // The system's record of what the user turned off: the low bit of its first byte.
  const std::vector<std::uint8_t> off_time{0x40, 0x1e, 0x2b, 0x9c, 0x16, 0xd9, 0xd1, 0x01};
  for (const std::uint8_t first : {std::uint8_t{0x03}, std::uint8_t{0x07}}) {
    std::vector<std::uint8_t> record{first, 0, 0, 0};
    record.insert(record.end(), off_time.begin(), off_time.end());
    EXPECT_FALSE(StartsThisCopy(entry(self.Program, self.SettingsFile, record), self, files))
        << int{first};
  }
  for (const auto& record :
       {std::vector<std::uint8_t>{0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        std::vector<std::uint8_t>{0x06, 0, 0, 0}, std::vector<std::uint8_t>{}}) {
    EXPECT_TRUE(StartsThisCopy(entry(self.Program, self.SettingsFile, record), self, files))
        << (record.empty() ? -1 : int{record[0]});
  }
}

}  // namespace
}  // namespace ripplet
