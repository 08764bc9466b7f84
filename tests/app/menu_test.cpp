// The context menu's commands in-process: check marks read afresh, toggles apply (and
// clear the graph) except the lock, Exit saves and closes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/main_form.h"
#include "resources/options_ids.h"
#include "settings/win_settings_file.h"
#include "tests/dialogs/modal_steps.h"
#include "tests/sampling/fake_traffic_source.h"
#include "tests/support/temp_dir.h"
#include "win32/win_application.h"

namespace ripplet {
namespace {

bool Checked(const TMainForm& form, UINT id) {
  return (::GetMenuState(form.PopupMenu(), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

std::wstring MenuText(const TMainForm& form, UINT id) {
  wchar_t text[128] = {};
  ::GetMenuStringW(form.PopupMenu(), id, text, 128, MF_BYCOMMAND);
  return text;
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
    for (int i = 0; i < g.Width() * g.Height(); ++i) {
      if (g.Pixels()[i] == 0x0000FFu) return true;  // clBlue as a DIB pixel
    }
    return false;
  }

  Application application_;
  testing::FakeTrafficSource source_;
  testing::TempDir dir_;
  std::wstring ini_;
  std::unique_ptr<TMainForm> form_;
};

TEST_F(MenuTest, ItemsAndCheckMarksMirrorTheSettings) {
  EXPECT_EQ(MenuText(*form_, TMainForm::kOptionItem), L"オプション(&O)");
  EXPECT_EQ(MenuText(*form_, TMainForm::kHideWindowItem), L"マウス ポインタが来たら隠す(&D)");
  EXPECT_EQ(MenuText(*form_, TMainForm::kExitItem), L"終了(&X)");
  EXPECT_EQ(::GetMenuItemCount(form_->PopupMenu()), 11);
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
  EXPECT_FALSE(form_->ScreenSnap());
  EXPECT_FALSE(GraphHasLine()) << "applying the settings clears the graph";

  TickWithTraffic();
  form_->MenuItemClick(TMainForm::kShowValueItem);
  EXPECT_FALSE(form_->CurrentSettings().ShowValue);
  EXPECT_FALSE(form_->Layout().ValuesVisible);
  EXPECT_FALSE(GraphHasLine());
}

// Ticks read only the watched adapter, so the table is read afresh for the Options dialog:
// an adapter that came up after start is in its list.
TEST_F(MenuTest, OptionsListsTheAdaptersOfNow) {
  source_.Rows.push_back({"VPN"});
  const int fills = source_.Fills;
  TickWithTraffic();
  TickWithTraffic();
  ASSERT_EQ(source_.Fills, fills) << "the ticks read the watched row alone";

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
  EXPECT_EQ(listed, (std::vector<std::wstring>{L"lo", L"VPN"}));
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
