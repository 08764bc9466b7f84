// The context menu's commands in-process: check marks read afresh, toggles apply (and
// clear the graph) except the lock, Exit saves and closes.
#include <gtest/gtest.h>

#include <windows.h>

#include <htmlhelp.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/main_form.h"
#include "dialogs/help.h"
#include "resources/options_ids.h"
#include "settings/win_settings_file.h"
#include "tests/dialogs/modal_steps.h"
#include "tests/sampling/fake_traffic_source.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/temp_dir.h"
#include "win32/win_application.h"

namespace ripplet {
namespace {

bool Checked(const TMainForm& form, UINT id) {
  return (::GetMenuState(form.PopupMenu(), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

bool Topmost(HWND hwnd) { return (::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// The help system's entry point, recording what it is asked.
struct HelpCall {
  HWND Caller;
  std::wstring File;
  UINT Command;
  DWORD_PTR Data;
};
std::vector<HelpCall> g_help_calls;
HWND WINAPI RecordingHelp(HWND caller, const wchar_t* file, UINT command, DWORD_PTR data) {
  g_help_calls.push_back({caller, file ? file : L"", command, data});
  return nullptr;
}

class MenuTest : public ::testing::Test {
 protected:
  MenuTest() : application_(L"Ripplet_test") {
    source_.Rows = {{"lo", 0, 0}};
    ini_ = dir_.File(L"menu.ini");
    std::ofstream(std::filesystem::path(ini_), std::ios::binary)
        << "[Settings]\r\nAdapterName=lo\r\nSnapWindow=1\r\n";
    form_ = std::make_unique<TMainForm>(
        source_, TMainForm::Startup{dir_.File(L"ripplet.exe"), L"x \"-i:" + ini_ + L"\"", false});
    form_->Create(application_.Handle());
    application_.SetMainWindow(form_->Handle());
  }

  // Draws a receive line at the top of the graph's last column.
  void TickWithTraffic() {
    source_.Tick += 1000;
    source_.Rows[0].In += 5000000;
    form_->MainTimerTimer();
  }
  bool GraphHasLine() const {
    const GraphBitmap& g = form_->Graph();
    for (int y = 0; y < g.Height(); ++y) {
      for (int x = 0; x < g.Width(); ++x) {
        if (g.Pixel(x, y) == 0x0000FFu) return true;  // clBlue as a DIB pixel
      }
    }
    return false;
  }

  // Opens the Options dialog from the menu and runs `steps` inside its modal loop; the
  // watchdog closes a dialog the steps leave open.
  void WithOptions(std::vector<testing::ModalSteps::Step> steps) {
    testing::ModalSteps run(std::move(steps),
                            [] { return testing::FindThreadDialog(L"オプション"); });
    form_->MenuItemClick(TMainForm::kOptionItem);
    EXPECT_FALSE(run.WatchdogFired());
  }
  static HWND Options() { return testing::FindThreadDialog(L"オプション"); }

  Application application_;
  testing::FakeTrafficSource source_;
  testing::TempDir dir_;
  std::wstring ini_;
  std::unique_ptr<TMainForm> form_;
};

TEST_F(MenuTest, EveryItemInItsPlaceWithItsCaption) {
  struct Item {
    UINT Id;  // 0: a separator
    const wchar_t* Caption;
  };
  const Item expected[] = {
      {TMainForm::kOptionItem, L"オプション(&O)"},
      {TMainForm::kUsageItem, L"使用量(&U)..."},
      {0, nullptr},
      {TMainForm::kShowValueItem, L"速度数値を表示(&P)"},
      {TMainForm::kLockWindowItem, L"位置・サイズを固定(&C)"},
      {TMainForm::kSnapWindowItem, L"画面端にスナップ(&N)"},
      {TMainForm::kHideWindowItem, L"マウス ポインタが来たら隠す(&D)"},
      {TMainForm::kStartWithWindowsItem, L"Windows の起動時に開始(&W)"},
      {0, nullptr},
      {TMainForm::kHelpItem, L"ヘルプ(&H)"},
      {TMainForm::kAboutItem, L"バージョン情報(&A)"},
      {0, nullptr},
      {TMainForm::kExitItem, L"終了(&X)"},
  };
  HMENU menu = form_->PopupMenu();
  ASSERT_EQ(::GetMenuItemCount(menu), static_cast<int>(std::size(expected)));
  for (int i = 0; i < static_cast<int>(std::size(expected)); ++i) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_STATE;
    info.dwTypeData = text;
    info.cch = 128;
    ASSERT_TRUE(::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) << i;
    if (expected[i].Caption == nullptr) {
      EXPECT_NE(info.fType & MFT_SEPARATOR, 0u) << i;
      continue;
    }
    EXPECT_EQ(info.wID, expected[i].Id) << i;
    EXPECT_STREQ(text, expected[i].Caption) << i;
    EXPECT_EQ(info.fState & MFS_DISABLED, 0u) << "always enabled: " << i;
  }
  // Only the four behaviours ever carry a check mark.
  form_->CurrentSettings().ShowValue = form_->CurrentSettings().LockWindow = true;
  form_->CurrentSettings().SnapWindow = form_->CurrentSettings().HideWindow = true;
  form_->PopupMenuPopup();
  for (UINT id : {TMainForm::kOptionItem, TMainForm::kUsageItem, TMainForm::kHelpItem,
                  TMainForm::kAboutItem, TMainForm::kExitItem}) {
    EXPECT_FALSE(Checked(*form_, id)) << id;
  }
}

TEST_F(MenuTest, HelpOpensTheFileAtContextFourFromTheApplicationWindow) {
  std::ofstream(std::filesystem::path(HelpSystem::HelpFile())) << "help";
  HelpSystem::InitializeWith(&RecordingHelp);
  g_help_calls.clear();
  form_->MenuItemClick(TMainForm::kHelpItem);
  // The Options dialog's help button asks for context 6, as the same caller.
  WithOptions({[] {
    if (Options() == nullptr) return false;
    ::SendMessageW(Options(), WM_COMMAND, MAKEWPARAM(IDC_OPTIONS_HELPBTN, BN_CLICKED), 0);
    ::PostMessageW(Options(), WM_COMMAND, IDCANCEL, 0);
    return true;
  }});
  const std::vector<HelpCall> calls = g_help_calls;
  HelpSystem::Uninitialize();
  HelpSystem::SetCallerWindow(nullptr);
  ASSERT_EQ(calls.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(calls[i].Command, static_cast<UINT>(HH_HELP_CONTEXT));
    EXPECT_EQ(calls[i].File, HelpSystem::HelpFile());
    EXPECT_EQ(calls[i].Caller, application_.Handle()) << "help outlives the menu and dialog";
  }
  EXPECT_EQ(calls[0].Data, 4u);
  EXPECT_EQ(calls[1].Data, 6u);
}

TEST_F(MenuTest, AboutOpensOverTheMainWindowAndIsReleasedAfterUse) {
  HWND about = nullptr;
  testing::ModalSteps steps({[&] {
                              about = testing::FindThreadDialog(L"バージョン情報");
                              if (about == nullptr) return false;
                              EXPECT_EQ(::GetWindow(about, GW_OWNER), form_->Handle());
                              EXPECT_FALSE(::IsWindowEnabled(form_->Handle()));
                              ::PostMessageW(about, WM_COMMAND, IDOK, 0);
                              return true;
                            }},
                            [] { return testing::FindThreadDialog(L"バージョン情報"); });
  form_->MenuItemClick(TMainForm::kAboutItem);
  EXPECT_FALSE(steps.WatchdogFired());
  ASSERT_NE(about, nullptr);
  EXPECT_FALSE(::IsWindow(about));
  EXPECT_TRUE(::IsWindowEnabled(form_->Handle()));
}

TEST_F(MenuTest, OptionsOkAppliesEverythingCancelAndEscNothing) {
  // Cancel and Esc: the graph keeps its line, the typed interval is not taken.
  TickWithTraffic();
  for (WPARAM key : {WPARAM{0}, WPARAM{VK_ESCAPE}}) {
    WithOptions({[key] {
      if (Options() == nullptr) return false;
      ::SetDlgItemTextW(Options(), IDC_OPTIONS_INTERVALEDIT, L"50");
      if (key == 0) {
        ::SendMessageW(::GetDlgItem(Options(), IDCANCEL), BM_CLICK, 0, 0);
      } else {
        ::SetFocus(::GetDlgItem(Options(), IDC_OPTIONS_ADAPTERBOX));
        testing::PostKey(::GetFocus(), key);
      }
      return true;
    }});
    EXPECT_EQ(Options(), nullptr);
    EXPECT_EQ(form_->CurrentSettings().Interval, 1000);
    EXPECT_TRUE(GraphHasLine()) << "nothing applied";
  }

  // OK, even with nothing else changed, applies: the graph is cleared and the new interval
  // runs the timer (50 ms: several ticks in half a second, where 1000 ms would give none).
  WithOptions({[] {
    if (Options() == nullptr) return false;
    ::SetDlgItemTextW(Options(), IDC_OPTIONS_INTERVALEDIT, L"50");
    ::SendMessageW(::GetDlgItem(Options(), IDOK), BM_CLICK, 0, 0);
    return true;
  }});
  EXPECT_EQ(form_->CurrentSettings().Interval, 50);
  EXPECT_FALSE(GraphHasLine()) << "OK applies the settings, which clears the graph";
  const int reads = source_.WatchedReads;
  testing::PumpMessages(600);
  EXPECT_GE(source_.WatchedReads - reads, 3) << "the new interval is in force";
}

// While the Options dialog is open its own modal loop runs the idle step, so the meter
// still hides under the pointer; and when the program goes to the back, the dialog (owned
// by the main window) steps down from topmost while the main window keeps its place.
TEST_F(MenuTest, WithOptionsOpenTheMeterStillHidesAndTheDialogStepsDown) {
  form_->CurrentSettings().HideWindow = true;
  form_->ApplySettings();
  form_->Show();
  testing::PumpMessages(50);
  RECT bounds{};
  ::GetWindowRect(form_->Handle(), &bounds);
  ::SetCursorPos(1279, 1023);

  bool dialog_was_topmost = false, dialog_collected = false, main_kept_topmost = false;
  bool restored = false;
  bool hid = false, came_back = false;
  WithOptions({
      [&] {
        HWND dialog = Options();
        if (dialog == nullptr) return false;
        dialog_was_topmost = Topmost(dialog);
        // Wine keeps a window owned by a topmost window topmost whatever it is told, so
        // what shows here is the walk: the dialog is collected, the main window is not.
        ::SendMessageW(application_.Handle(), WM_ACTIVATEAPP, FALSE, 0);
        dialog_collected = application_.SteppedDown() == std::vector<HWND>{dialog};
        main_kept_topmost = Topmost(form_->Handle());
        ::SendMessageW(application_.Handle(), WM_ACTIVATEAPP, TRUE, 0);
        restored = application_.SteppedDown().empty() && Topmost(dialog);
        ::SetCursorPos(bounds.left + 10, bounds.top + 10);
        return true;
      },
      // Tried again until the idle step hides it.
      [&] { return hid = !::IsWindowVisible(form_->Handle()); },
      [&] {
        ::SetCursorPos(1279, 1023);
        return true;
      },
      [&] { return came_back = ::IsWindowVisible(form_->Handle()); },
      [&] {
        ::PostMessageW(Options(), WM_COMMAND, IDCANCEL, 0);
        return true;
      },
  });
  EXPECT_TRUE(dialog_was_topmost) << "owned by a topmost window";
  EXPECT_TRUE(dialog_collected) << "the dialog is owned by the main window, not the application";
  EXPECT_TRUE(main_kept_topmost);
  EXPECT_TRUE(restored);
  EXPECT_TRUE(hid) << "hide-on-hover inside the dialog's modal loop";
  EXPECT_TRUE(came_back);
}

TEST_F(MenuTest, CheckMarksMirrorTheSettings) {
  form_->PopupMenuPopup();
  EXPECT_TRUE(Checked(*form_, TMainForm::kShowValueItem));
  EXPECT_FALSE(Checked(*form_, TMainForm::kLockWindowItem));
  EXPECT_TRUE(Checked(*form_, TMainForm::kSnapWindowItem));
  EXPECT_FALSE(Checked(*form_, TMainForm::kHideWindowItem));
  // A change made elsewhere (the Options dialog) shows the next time the menu opens.
  form_->CurrentSettings().LockWindow = true;
  form_->PopupMenuPopup();
  EXPECT_TRUE(Checked(*form_, TMainForm::kLockWindowItem));
}

TEST_F(MenuTest, TheLockTogglesWithoutClearingTheGraphAndTheOthersApply) {
  form_->PopupMenuPopup();
  TickWithTraffic();
  ASSERT_TRUE(GraphHasLine());
  form_->MenuItemClick(TMainForm::kLockWindowItem);
  EXPECT_TRUE(form_->CurrentSettings().LockWindow);
  EXPECT_TRUE(GraphHasLine()) << "the lock is read live; nothing is applied";

  form_->MenuItemClick(TMainForm::kSnapWindowItem);
  EXPECT_FALSE(form_->CurrentSettings().SnapWindow);
  EXPECT_FALSE(form_->Frame().ScreenSnap());
  EXPECT_FALSE(GraphHasLine()) << "applying the settings clears the graph";

  TickWithTraffic();
  form_->MenuItemClick(TMainForm::kShowValueItem);
  EXPECT_FALSE(form_->CurrentSettings().ShowValue);
  EXPECT_FALSE(form_->Layout().Current().ValuesVisible);
  EXPECT_FALSE(GraphHasLine());
}

// Ticks read only the watched adapter, so the table is read afresh for the Options dialog:
// an adapter that came up after start is in its list.
TEST_F(MenuTest, OptionsListsTheAdaptersOfNow) {
  source_.Rows.push_back({"VPN"});
  const int reads = source_.TableReads;
  TickWithTraffic();
  TickWithTraffic();
  ASSERT_EQ(source_.TableReads, reads) << "the ticks read the watched row alone";

  std::vector<std::wstring> listed;
  testing::ModalSteps steps({[&] {
                              HWND dialog = testing::FindThreadDialog(L"オプション");
                              if (dialog == nullptr) return false;
                              HWND box = ::GetDlgItem(dialog, IDC_OPTIONS_ADAPTERBOX);
                              const auto count = ::SendMessageW(box, CB_GETCOUNT, 0, 0);
                              for (LRESULT i = 0; i < count; ++i) {
                                wchar_t text[300] = {};
                                ::SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(i),
                                               reinterpret_cast<LPARAM>(text));
                                listed.emplace_back(text);
                              }
                              ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                              return true;
                            }},
                            [] { return testing::FindThreadDialog(L"オプション"); });
  form_->MenuItemClick(TMainForm::kOptionItem);
  EXPECT_FALSE(steps.WatchdogFired());
  EXPECT_EQ(listed, (std::vector<std::wstring>{L"自動 (既定の経路)", L"lo", L"VPN"}));
}

TEST_F(MenuTest, ExitSavesAndCloses) {
  form_->MenuItemClick(TMainForm::kHideWindowItem);
  form_->MenuItemClick(TMainForm::kExitItem);
  EXPECT_EQ(form_->Handle(), nullptr);
  const std::string ini = ReadSettingsBytes(ini_);
  EXPECT_NE(ini.find("HideWindow=1\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Version=152\r\n"), std::string::npos);
}

}  // namespace
}  // namespace ripplet
