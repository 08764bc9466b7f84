// The usage totals in-process: the meter's ticks counted into the usage file at a close,
// a file it cannot parse left alone and reported once, and the Usage dialog showing the
// file's totals with the regional decimal separator (the suite runs in two locales).
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/main_form.h"
#include "dialogs/help.h"
#include "resources/usage_ids.h"
#include "settings/win_settings_file.h"
#include "tests/dialogs/modal_steps.h"
#include "tests/sampling/fake_traffic_source.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/temp_dir.h"
#include "usage/byte_size_text.h"
#include "usage/usage_csv.h"
#include "win32/win_application.h"
#include "win32/win_text.h"

namespace ripplet {
namespace {

std::vector<unsigned> g_help_contexts;
HWND WINAPI RecordingHelp(HWND, const wchar_t*, UINT command, DWORD_PTR data) {
  if (command == 15) g_help_contexts.push_back(static_cast<unsigned>(data));  // HH_HELP_CONTEXT
  return nullptr;
}

std::string Iso(const Date& date) { return FormatIsoDate(date); }

class UsageTest : public ::testing::Test {
 protected:
  UsageTest() : application_(L"Ripplet_test") {
    source_.Rows = {{"lo", 0, 0}};
    ini_ = dir_.File(L"meter.ini");
    csv_ = dir_.File(L"meter-usage.csv");
    std::ofstream(std::filesystem::path(ini_), std::ios::binary)
        << "[Settings]\r\nAdapterName=lo\r\n";
  }

  void WriteCsv(const std::string& text) {
    std::ofstream(std::filesystem::path(csv_), std::ios::binary) << text;
  }

  void Start() {
    form_ = std::make_unique<TMainForm>(
        source_, TMainForm::Startup{dir_.File(L"ripplet.exe"), L"x \"-i:" + ini_ + L"\"", false});
    form_->Create(application_.Handle());
    application_.SetMainWindow(form_->Handle());
  }

  void Tick(std::uint64_t in, std::uint64_t out) {
    source_.Tick += 1000;
    source_.Rows[0].In += in;
    source_.Rows[0].Out += out;
    form_->MainTimerTimer();
  }

  UsageTable FileRows() {
    const UsageCsvRead read = ParseUsageCsv(ReadSettingsBytes(csv_));
    EXPECT_TRUE(read.Ok) << "line " << read.Line;
    return read.Rows;
  }

  Application application_;
  testing::FakeTrafficSource source_;
  testing::TempDir dir_;
  std::wstring ini_;
  std::wstring csv_;
  std::unique_ptr<TMainForm> form_;
  const Date today_ = LocalToday();
};

TEST_F(UsageTest, TheTicksBytesReachTheFileOnceAndOtherRowsStay) {
  WriteCsv("date,adapter,received,sent\r\n2020-01-01,\"Old, NIC\",5,6\r\n" + Iso(today_) +
           ",lo,1000,100\r\n");
  testing::MessageBoxWatcher watcher;
  Start();
  Tick(4000, 400);
  Tick(6000, 600);
  // A periodic save, then more bytes and the close: each byte is in the file once.
  ::SendMessageW(form_->Handle(), WM_TIMER, 5, 0);  // the usage save timer
  EXPECT_EQ(FileRows().at({today_, "lo"}), (ByteCounts{11000, 1100}));
  form_->CurrentSettings().HideWindow = true;  // counted while hidden too
  Tick(500, 50);
  ::SendMessageW(form_->Handle(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  EXPECT_EQ(FileRows().at({today_, "lo"}), (ByteCounts{11500, 1150}));
  Tick(7, 7);
  ::SendMessageW(form_->Handle(), WM_CLOSE, 0, 0);
  const UsageTable rows = FileRows();
  EXPECT_EQ(rows.at({today_, "lo"}), (ByteCounts{11507, 1157}));
  EXPECT_EQ(rows.at({Date{2020, 1, 1}, "Old, NIC"}), (ByteCounts{5, 6}));
  EXPECT_EQ(rows.size(), 2u);
  for (const auto& box : watcher.Seen()) ADD_FAILURE() << WideToAnsi(box.Text, CP_UTF8);
}

TEST_F(UsageTest, AFileItCannotParseIsNeverReplacedAndSaidOncePerRun) {
  const std::string broken =
      "date,adapter,received,sent\r\n2026-01-01,lo,1,2\r\n2026-01-02,lo,x,2\r\n";
  WriteCsv(broken);
  testing::MessageBoxWatcher watcher;
  Start();
  Tick(4000, 400);
  ::SendMessageW(form_->Handle(), WM_TIMER, 5, 0);  // the usage save timer
  Tick(4000, 400);
  ::SendMessageW(form_->Handle(), WM_TIMER, 5, 0);  // the usage save timer
  ::SendMessageW(form_->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(ReadSettingsBytes(csv_), broken);
  ASSERT_EQ(watcher.Seen().size(), 1u);
  EXPECT_EQ(watcher.Seen()[0].Text.find(csv_ + L" の 3 行目を読み取れません"), 0u)
      << WideToAnsi(watcher.Seen()[0].Text, CP_UTF8);
}

TEST_F(UsageTest, TheDialogShowsTheFilesTotalsPerAdapterAndPeriodAndStoresTheStartDay) {
  // Today, yesterday and a day of the previous period (start day 1), two adapters.
  const Date yesterday = PreviousDay(today_);
  const Date before = PreviousDay(PeriodHolding(today_, 1).First);
  WriteCsv(
      "\xEF\xBB\xBF"
      "date,adapter,received,sent\r\n" +
      Iso(today_) + ",lo,3000000,2048\r\n" + Iso(today_) + ",\"Other, NIC\",1536,0\r\n" +
      Iso(yesterday) + ",lo,5000000000,1\r\n" + Iso(before) + ",lo,1023,1024\r\n");
  Start();
  Tick(1000000, 0);  // this run's unsaved bytes count too
  std::ofstream(std::filesystem::path(HelpSystem::HelpFile())) << "help";
  HelpSystem::InitializeWith(&RecordingHelp);
  g_help_contexts.clear();

  const std::wstring separator = AnsiToWide(RegionalDecimalSeparator());
  const auto size = [&](std::uint64_t bytes) { return FormatByteSize(bytes, separator); };
  const auto cell = [](int row, int column) {
    HWND list = ::GetDlgItem(testing::FindThreadDialog(L"使用量"), IDC_USAGE_TOTALSLIST);
    wchar_t text[64] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 64;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
    return std::wstring(text);
  };
  const auto dialog = [] { return testing::FindThreadDialog(L"使用量"); };
  const bool same_period = yesterday >= PeriodHolding(today_, 1).First;
  std::vector<std::wstring> seen;
  testing::ModalSteps run(
      {[&] { return dialog() != nullptr; }, testing::Do([&] {
         // All adapters: today 4001536 received, 2048 sent.
         EXPECT_EQ(cell(0, 0), L"今日");
         EXPECT_EQ(cell(0, 1), size(4001536));
         EXPECT_EQ(cell(0, 2), size(2048));
         EXPECT_EQ(cell(0, 3), size(4003584));
         EXPECT_EQ(cell(1, 1), size(5000000000));
         EXPECT_EQ(cell(2, 1), size(4001536 + (same_period ? 5000000000 : 0)));
         EXPECT_EQ(cell(3, 1), size(1023 + (same_period ? 0 : 5000000000)));
         EXPECT_EQ(cell(3, 2), size(1024 + (same_period ? 0 : 1)));
         // One adapter of the file.
         HWND box = ::GetDlgItem(dialog(), IDC_USAGE_ADAPTERBOX);
         EXPECT_EQ(::SendMessageW(box, CB_GETCOUNT, 0, 0), 3);
         ::SendMessageW(box, CB_SETCURSEL, 1, 0);  // "Other, NIC" sorts before "lo"
         ::SendMessageW(dialog(), WM_COMMAND, MAKEWPARAM(IDC_USAGE_ADAPTERBOX, CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(box));
         EXPECT_EQ(cell(0, 1), size(1536));
         EXPECT_EQ(cell(1, 1), size(0));
         // The start day: the period label follows it; OK stores it.
         ::SetDlgItemTextW(dialog(), IDC_USAGE_STARTDAYEDIT, L"31");
         seen.push_back(WindowText(::GetDlgItem(dialog(), IDC_USAGE_PERIODLABEL)));
         ::SendMessageW(dialog(), WM_COMMAND, MAKEWPARAM(IDC_USAGE_HELPBTN, BN_CLICKED), 0);
         ::SendMessageW(dialog(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
       })},
      dialog);
  form_->MenuItemClick(TMainForm::kUsageItem);
  EXPECT_FALSE(run.WatchdogFired());
  const Period period = PeriodHolding(today_, 31);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], L"今期: " + AnsiToWide(Iso(period.First) + " ", CP_UTF8) + L"～ " +
                         AnsiToWide(Iso(period.Last), CP_UTF8));
  EXPECT_EQ(g_help_contexts, std::vector<unsigned>{7});
  EXPECT_EQ(form_->CurrentSettings().UsageStartDay, 31);
  ::SendMessageW(form_->Handle(), WM_CLOSE, 0, 0);
  EXPECT_NE(ReadSettingsBytes(ini_).find("[Usage]\r\nPeriodStartDay=31\r\n"), std::string::npos);
}

}  // namespace
}  // namespace ripplet
