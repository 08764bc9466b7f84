// The main window in-process under wine: created over a temporary INI, ticks driven with a
// fake interface table and clock, settings saved on close.
#include "app/main_form.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "settings/win_settings_file.h"
#include "tests/sampling/fake_traffic_source.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/temp_dir.h"
#include "win32/win_application.h"

namespace ripplet {
namespace {

using testing::FakeTrafficSource;
using testing::MessageBoxWatcher;
using testing::TempDir;

void WriteFile(const std::wstring& path, std::string_view bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

std::string ReadFile(const std::wstring& path) { return ReadSettingsBytes(path); }

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() : application_(L"Ripplet_test") {
    source_.Rows = {{"eth0", 5000, 7000}, {"lo", 100, 100}};
  }

  std::unique_ptr<TMainForm> MakeForm(std::wstring_view ini_body) {
    ini_ = dir_.File(L"meter.ini");
    WriteFile(ini_, std::string(ini_body.begin(), ini_body.end()));
    auto form = std::make_unique<TMainForm>(
        source_, TMainForm::Startup{dir_.File(L"ripplet.exe"),
                                    L"ripplet.exe \"-i:" + ini_ + L"\"", false});
    form->Create(application_.Handle());
    application_.SetMainWindow(form->Handle());
    return form;
  }

  Application application_;
  FakeTrafficSource source_;
  TempDir dir_;
  std::wstring ini_;
};

TEST_F(MainFormTest, StartUpLoadsTheNamedFileAndSamplesFromThePrimedBaseline) {
  auto form = MakeForm(L"[Settings]\r\nAdapterName=eth0\r\nInterval=500\r\n");
  EXPECT_EQ(form->IniPath(), ini_);
  EXPECT_EQ(form->CurrentSettings().AdapterName, "eth0");
  EXPECT_EQ(form->CurrentSettings().Interval, 500);
  EXPECT_TRUE(form->MainTimerRunning());
  EXPECT_EQ(form->TrafficSampler().AdapterIndex(), 0u);

  // ApplySettings primed the sampler, so the first tick already has a rate.
  source_.Tick += 500;
  source_.Rows[0].In += 1000;
  source_.Rows[0].Out += 3;
  form->MainTimerTimer();
  EXPECT_FALSE(form->LastTickHadNoData());
  EXPECT_EQ(form->LastRates().Recv, 2000);
  EXPECT_EQ(form->LastRates().Send, 6);

  // The adapter vanishes: no data.
  source_.Rows.erase(source_.Rows.begin());
  source_.Tick += 500;
  form->MainTimerTimer();
  EXPECT_TRUE(form->LastTickHadNoData());
}

TEST_F(MainFormTest, WithoutWindowKeysTheWindowStartsAt32And32WithItsDesignSize) {
  auto form = MakeForm(L"[Settings]\r\nAdapterName=lo\r\n");
  RECT r{};
  ::GetWindowRect(form->Handle(), &r);
  EXPECT_EQ(r.left, 32);
  EXPECT_EQ(r.top, 32);
  RECT client{};
  ::GetClientRect(form->Handle(), &client);
  EXPECT_GT(client.right, 300) << "the design's 304 x 68, scaled by the font's height";
  EXPECT_GE(client.bottom, form->DefaultHeight()) << "the full layout fits at start";
}

TEST_F(MainFormTest, CloseWritesEverySectionAndKeepsForeignLines) {
  auto form = MakeForm(
      L"; my meter\r\n[Settings]\r\nAdapterName=lo\r\nMyOwnKey=keep me\r\n"
      L"[Elsewhere]\r\nx=1\r\n");
  ::SetWindowPos(form->Handle(), nullptr, 40, 50, 320, 90, SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->Handle(), nullptr) << "a successful save closes the window";

  const std::string ini = ReadFile(ini_);
  for (const char* line : {"; my meter\r\n", "MyOwnKey=keep me\r\n", "[Elsewhere]\r\nx=1\r\n",
                           "[Ripplet]\r\nVersion=152\r\n", "AdapterName=lo\r\n",
                           "GraphRange=1000\r\n", "ShowValue=1\r\n", "Recv=clBlue\r\n",
                           "Name=MS UI Gothic\r\n", "Size=10\r\n", "Left=40\r\n", "Top=50\r\n",
                           "Width=320\r\n", "Height=90\r\n"}) {
    EXPECT_NE(ini.find(line), std::string::npos) << line << " missing from:\n" << ini;
  }
}

TEST_F(MainFormTest, ReadOnlyFileKeepsTheProgramRunningAndTheFileUntouched) {
  auto form = MakeForm(L"[Settings]\r\nAdapterName=lo\r\n");
  const std::string before = ReadFile(ini_);
  ::SetFileAttributesW(ini_.c_str(), FILE_ATTRIBUTE_READONLY);
  {
    MessageBoxWatcher watcher;
    ::SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].Text, ini_ + L" に書き込めません.");
    EXPECT_EQ(watcher.Seen()[0].Caption, L"Ripplet_test");
    EXPECT_EQ(watcher.Seen()[0].Owner, application_.Handle());
  }
  EXPECT_TRUE(::IsWindow(form->Handle())) << "a failed save must not close the window";
  EXPECT_EQ(ReadFile(ini_), before);

  // Once the file is writable again, the next close saves and closes.
  ::SetFileAttributesW(ini_.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->Handle(), nullptr);
  EXPECT_NE(ReadFile(ini_).find("Version=152"), std::string::npos);
}

TEST_F(MainFormTest, BadColourIsReportedAndStartUpStillCompletes) {
  MessageBoxWatcher watcher;
  auto form = MakeForm(
      L"[Settings]\r\nAdapterName=lo\r\nInterval=250\r\n"
      L"[Colors]\r\nRecv=Blue\r\nBack=clWhite\r\n[Font]\r\nSize=12\r\n");
  ASSERT_EQ(watcher.Seen().size(), 1u);
  EXPECT_EQ(watcher.Seen()[0].Text, L"'Blue' は整数ではありません.");
  EXPECT_EQ(form->CurrentSettings().RecvColor, 0x00FF0000u) << "takes its default";
  EXPECT_EQ(form->CurrentSettings().BackColor, 0x00FFFFFFu) << "later keys still load";
  EXPECT_EQ(form->CurrentSettings().Interval, 250);
  EXPECT_TRUE(form->MainTimerRunning()) << "start-up went on to apply the settings";
}

TEST_F(MainFormTest, ResizeReappliesAndPrimesAgain) {
  auto form = MakeForm(L"[Settings]\r\nAdapterName=lo\r\n");
  // lo moves to index 0; a resize looks it up again and primes from now.
  source_.Rows = {{"lo", 900, 900}};
  source_.Tick += 10;
  ::SetWindowPos(form->Handle(), nullptr, 0, 0, 330, 80, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(form->TrafficSampler().AdapterIndex(), 0u);
  source_.Tick += 1000;
  source_.Rows[0].In += 4096;
  form->MainTimerTimer();
  EXPECT_FALSE(form->LastTickHadNoData());
  EXPECT_EQ(form->LastRates().Recv, 4096);
}

}  // namespace
}  // namespace ripplet
