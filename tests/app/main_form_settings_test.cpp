// The main window's settings file when it cannot be read or was never loaded: at start-up,
// at a save, and at a log-off, where both the application window and the main window are
// asked.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/main_form.h"
#include "settings/win_settings_file.h"
#include "tests/sampling/fake_traffic_source.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/temp_dir.h"
#include "win32/app_error.h"
#include "win32/win_application.h"
#include "win32/win_handles.h"

namespace ripplet {
namespace {

using testing::FakeTrafficSource;
using testing::MessageBoxWatcher;
using testing::TempDir;

constexpr char kUserFile[] =
    "; tuned once\r\n"
    "[Settings]\r\nAdapterName=lo\r\nInterval=500\r\nShowValue=0\r\nMine=keep\r\n"
    "[Colors]\r\nRecv=$00123456\r\n"
    "[Window]\r\nLeft=40\r\nTop=50\r\n";

// Opens the file with no sharing, as an editor or a backup tool may.
UniqueFile HoldExclusively(const std::wstring& path) {
  return UniqueFile(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

class MainFormSettingsTest : public ::testing::Test {
 protected:
  MainFormSettingsTest() : application_(L"Ripplet_test") {
    source_.Rows = {{"lo", 100, 100}};
    ini_ = dir_.File(L"meter.ini");
    std::ofstream(std::filesystem::path(ini_), std::ios::binary) << kUserFile;
  }

  std::unique_ptr<TMainForm> MakeForm() {
    auto form = std::make_unique<TMainForm>(
        source_,
        TMainForm::Startup{dir_.File(L"ripplet.exe"), L"ripplet.exe \"-i:" + ini_ + L"\"", false});
    form->Create(application_.Handle());
    application_.SetMainWindow(form->Handle());
    return form;
  }

  Application application_;
  FakeTrafficSource source_;
  TempDir dir_;
  std::wstring ini_;
};

TEST_F(MainFormSettingsTest, UnreadableAtStartIsReportedAndTheCloseWritesOnlyTheUsersChanges) {
  std::unique_ptr<TMainForm> form;
  {
    UniqueFile held = HoldExclusively(ini_);
    ASSERT_TRUE(held);
    MessageBoxWatcher watcher;
    form = MakeForm();
    ASSERT_EQ(watcher.Seen().size(), 1u) << "one box, and no first-start message";
    EXPECT_EQ(watcher.Seen()[0].Text, ini_ + L" を読み込めません.");
    EXPECT_EQ(watcher.Seen()[0].Owner, application_.Handle());
  }
  EXPECT_EQ(form->CurrentSettings().Interval, 1000) << "runs on defaults";

  // The user changes one setting; the file can be read again by the time of the close.
  form->CurrentSettings().Interval = 250;
  ::SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->Handle(), nullptr);
  EXPECT_EQ(ReadSettingsBytes(ini_),
            "; tuned once\r\n"
            "[Settings]\r\nAdapterName=lo\r\nInterval=250\r\nShowValue=0\r\nMine=keep\r\n"
            "[Colors]\r\nRecv=$00123456\r\n"
            "[Window]\r\nLeft=40\r\nTop=50\r\n");
}

TEST_F(MainFormSettingsTest, AnErrorBeforeLoadingLeavesTheFileButWritesTheUsersChanges) {
  // The interface table's first read throws: start-up stops before the settings are loaded
  // and the meter runs on defaults, which are not the user's.
  int reads = 0;
  source_.DuringTableRead = [&reads] {
    if (reads++ == 0) throw AppError(L"no table");
  };
  MessageBoxWatcher watcher;
  auto form = MakeForm();
  ASSERT_EQ(watcher.Seen().size(), 1u);
  EXPECT_EQ(form->CurrentSettings().Interval, 1000);
  // A log-off saves without closing: nothing changed, nothing written.
  EXPECT_TRUE(::SendMessageW(form->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
  ::SendMessageW(form->Handle(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  EXPECT_EQ(ReadSettingsBytes(ini_), kUserFile);

  form->CurrentSettings().LockWindow = true;
  ::SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->Handle(), nullptr);
  EXPECT_EQ(ReadSettingsBytes(ini_),
            "; tuned once\r\n"
            "[Settings]\r\nAdapterName=lo\r\nInterval=500\r\nShowValue=0\r\nMine=keep\r\n"
            "LockWindow=1\r\n[Colors]\r\nRecv=$00123456\r\n"
            "[Window]\r\nLeft=40\r\nTop=50\r\n");
  EXPECT_EQ(watcher.Seen().size(), 1u);
}

TEST_F(MainFormSettingsTest, StillUnreadableAtCloseRefusesOneCloseThenLetsTheUserGo) {
  UniqueFile held = HoldExclusively(ini_);
  ASSERT_TRUE(held);
  MessageBoxWatcher watcher;
  auto form = MakeForm();
  ::SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(::IsWindow(form->Handle())) << "the first close is refused";
  ::SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->Handle(), nullptr) << "the second lets the user go";
  ASSERT_EQ(watcher.Seen().size(), 3u);
  EXPECT_EQ(watcher.Seen()[1].Text, ini_ + L" に書き込めません.");
  EXPECT_EQ(watcher.Seen()[2].Text, ini_ + L" に書き込めません.");
  held.reset();
  EXPECT_EQ(ReadSettingsBytes(ini_), kUserFile);
}

TEST_F(MainFormSettingsTest, SaveWhoseReReadFailsWritesNothingAndReports) {
  auto form = MakeForm();
  form->CurrentSettings().Interval = 250;
  {
    UniqueFile held = HoldExclusively(ini_);
    ASSERT_TRUE(held);
    MessageBoxWatcher watcher;
    ::SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].Text, ini_ + L" に書き込めません.");
    EXPECT_TRUE(::IsWindow(form->Handle())) << "a file read at start-up always refuses";
  }
  EXPECT_EQ(ReadSettingsBytes(ini_), kUserFile);
  ::SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->Handle(), nullptr);
  EXPECT_NE(ReadSettingsBytes(ini_).find("Interval=250\r\n"), std::string::npos);
}

TEST_F(MainFormSettingsTest, LogOffSavesOnceThoughBothWindowsAreAsked) {
  auto form = MakeForm();
  const auto query_both = [&] {
    EXPECT_TRUE(::SendMessageW(application_.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    EXPECT_TRUE(::SendMessageW(form->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
  };
  ::SetFileAttributesW(ini_.c_str(), FILE_ATTRIBUTE_READONLY);
  {
    MessageBoxWatcher watcher;
    query_both();
    EXPECT_EQ(watcher.Seen().size(), 1u) << "a failed save shows one box";
  }
  // The log-off is called off; the next one saves again, once.
  ::SendMessageW(application_.Handle(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  ::SendMessageW(form->Handle(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  ::SetFileAttributesW(ini_.c_str(), FILE_ATTRIBUTE_NORMAL);
  form->CurrentSettings().Interval = 250;
  {
    MessageBoxWatcher watcher;
    EXPECT_TRUE(::SendMessageW(application_.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    // A second save would take this value.
    form->CurrentSettings().Interval = 333;
    EXPECT_TRUE(::SendMessageW(form->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    EXPECT_TRUE(watcher.Seen().empty());
  }
  const std::string saved = ReadSettingsBytes(ini_);
  EXPECT_NE(saved.find("Interval=250\r\n"), std::string::npos) << saved;
  EXPECT_TRUE(::IsWindow(form->Handle())) << "the log-off closes the program, not the query";
}

TEST_F(MainFormSettingsTest, Utf16FileIsReadAndSavedInUtf16WithItsForeignLinesKept) {
  // Notepad's "Unicode": UTF-16 LE with its mark. Japanese comment, an unknown section, a
  // Japanese unit and custom colours.
  const std::wstring file =
      L"; \x65e5\x672c\x8a9e\x306e\x30b3\x30e1\x30f3\x30c8\r\n"
      L"[Settings]\r\nAdapterName=lo\r\nInterval=500\r\nGraphUnit=k\x30d0\x30a4\x30c8\r\n"
      L"[Mine]\r\nx=\x00e9\x4e00\r\n"
      L"[CustomColors]\r\nColorA=FF8040\r\n";
  std::string bytes = "\xFF\xFE";
  for (const wchar_t c : file) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  std::ofstream(std::filesystem::path(ini_), std::ios::binary | std::ios::trunc) << bytes;
  auto form = MakeForm();
  EXPECT_EQ(form->CurrentSettings().Interval, 500);
  EXPECT_EQ(form->CurrentSettings().GraphUnit, "k\x83\x6f\x83\x43\x83\x67")
      << "read in the ANSI code page (932)";
  ASSERT_EQ(form->CurrentSettings().CustomColors.size(), 1u);
  EXPECT_EQ(form->CurrentSettings().CustomColors[0], "ColorA=FF8040");
  form->CurrentSettings().Interval = 250;
  ::SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  ASSERT_EQ(form->Handle(), nullptr);

  const std::string saved = ReadSettingsBytes(ini_);
  ASSERT_TRUE(saved.starts_with("\xFF\xFE")) << "still UTF-16 LE with its mark";
  std::wstring text;
  for (std::size_t i = 2; i + 1 < saved.size(); i += 2) {
    text += static_cast<wchar_t>(static_cast<unsigned char>(saved[i]) |
                                 (static_cast<unsigned char>(saved[i + 1]) << 8));
  }
  for (const wchar_t* line :
       {L"; \x65e5\x672c\x8a9e\x306e\x30b3\x30e1\x30f3\x30c8\r\n[Settings]\r\n",
        L"Interval=250\r\n", L"GraphUnit=k\x30d0\x30a4\x30c8\r\n", L"[Mine]\r\nx=\x00e9\x4e00\r\n",
        L"ColorA=FF8040\r\n", L"Version=152\r\n", L"Recv=clBlue\r\n"}) {
    EXPECT_NE(text.find(line), std::wstring::npos) << "missing a line";
  }
}

}  // namespace
}  // namespace ripplet
