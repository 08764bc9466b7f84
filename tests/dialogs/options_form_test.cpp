// The Options dialog in-process under wine: created over a settings record and a fake
// interface table, filled, driven through real messages, and closed with OK or Cancel.
#include <windows.h>

#include <commctrl.h>
#include <imm.h>
#include <gtest/gtest.h>

#include "display/units.h"
#include "tests/dialogs/options_test_support.h"
#include "tests/support/message_box_watcher.h"

namespace ripplet {
namespace {

using testing::MessageBoxWatcher;
using testing::OptionsDialogTest;

// "イーサネット" in Shift-JIS: a description in the system's ANSI code page.
constexpr char kJapaneseAdapter[] = "\x83\x43\x81\x5B\x83\x54\x83\x6C\x83\x62\x83\x67";

using OptionsForm = OptionsDialogTest;

TEST_F(OptionsForm, FillsEveryControlFromTheRecord) {
  settings_.AdapterName = "LO";
  settings_.GraphRange = 2500;
  settings_.GraphMiddle = 0.125;
  settings_.GraphSendRange = -1;
  settings_.GraphUnit = std::string(kUnitTexts[7]);
  settings_.ShowValue = false;
  settings_.SnapWindow = true;
  settings_.AlphaBlend = 40;
  settings_.Interval = 500;
  settings_.ValueInterval = 3;
  Open();

  EXPECT_EQ(WindowText(Dialog()), L"オプション");
  // A dialog frame with a close box only, not resizable.
  const LONG style = ::GetWindowLongW(Dialog(), GWL_STYLE);
  EXPECT_EQ(style & (WS_SYSMENU | WS_CAPTION), WS_SYSMENU | WS_CAPTION);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);

  // The automatic entry first, then the adapters sorted as the platform's sorted list
  // sorts; the stored adapter matched without case.
  ASSERT_EQ(Count(IDC_OPTIONS_ADAPTERBOX), 5);
  EXPECT_EQ(Entry(IDC_OPTIONS_ADAPTERBOX, 0), L"自動 (既定の経路)");
  EXPECT_EQ(Entry(IDC_OPTIONS_ADAPTERBOX, 1), L"eth1");
  EXPECT_EQ(Entry(IDC_OPTIONS_ADAPTERBOX, 2), L"Ethernet");
  EXPECT_EQ(Entry(IDC_OPTIONS_ADAPTERBOX, 3), L"lo");
  EXPECT_EQ(Entry(IDC_OPTIONS_ADAPTERBOX, 4), L"wlan0");
  EXPECT_EQ(Selected(IDC_OPTIONS_ADAPTERBOX), 3);

  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHRANGEEDIT), L"2500");
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHMIDDLEEDIT), L"0.125");
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHSENDRANGEEDIT), L"-1");

  ASSERT_EQ(Count(IDC_OPTIONS_GRAPHUNITBOX), 18);
  EXPECT_EQ(Entry(IDC_OPTIONS_GRAPHUNITBOX, 0), L"0 バイト/秒");
  EXPECT_EQ(Entry(IDC_OPTIONS_GRAPHUNITBOX, 3), L"0.00k バイト/秒");
  EXPECT_EQ(Entry(IDC_OPTIONS_GRAPHUNITBOX, 17), L"0.000M ビット/秒");
  EXPECT_EQ(Selected(IDC_OPTIONS_GRAPHUNITBOX), 7);
  EXPECT_EQ(form_->RememberedUnit(), kUnitTexts[7]);

  EXPECT_FALSE(Checked(IDC_OPTIONS_SHOWVALUECHECK));
  EXPECT_FALSE(Checked(IDC_OPTIONS_LOCKWINDOWCHECK));
  EXPECT_TRUE(Checked(IDC_OPTIONS_SNAPWINDOWCHECK));
  EXPECT_FALSE(Checked(IDC_OPTIONS_HIDEWINDOWCHECK));
  EXPECT_TRUE(Enabled(IDC_OPTIONS_DEFAULTHEIGHTBTN));

  // Numbers only: no input method in any of the six edits.
  for (int id :
       {IDC_OPTIONS_GRAPHRANGEEDIT, IDC_OPTIONS_GRAPHMIDDLEEDIT, IDC_OPTIONS_GRAPHSENDRANGEEDIT,
        IDC_OPTIONS_ALPHABLENDEDIT, IDC_OPTIONS_INTERVALEDIT, IDC_OPTIONS_VALUEINTERVALEDIT}) {
    EXPECT_EQ(::ImmGetContext(Item(id)), nullptr) << id;
  }

  EXPECT_EQ(Text(IDC_OPTIONS_ALPHABLENDEDIT), L"40");
  EXPECT_EQ(Text(IDC_OPTIONS_INTERVALEDIT), L"500");
  EXPECT_EQ(Text(IDC_OPTIONS_VALUEINTERVALEDIT), L"3");

  // Ranges, and after showing two acceleration steps: the increment, then five of them.
  struct Expected {
    int id;
    int min, max, step;
  };
  for (const Expected& e : {Expected{IDC_OPTIONS_ALPHABLENDUPDOWN, 0, 99, 1},
                            Expected{IDC_OPTIONS_INTERVALUPDOWN, 10, 30000, 10},
                            Expected{IDC_OPTIONS_VALUEINTERVALUPDOWN, 1, 100, 1}}) {
    int min = -1;
    int max = -1;
    ::SendMessageW(Item(e.id), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&min),
                   reinterpret_cast<LPARAM>(&max));
    EXPECT_EQ(min, e.min);
    EXPECT_EQ(max, e.max);
    UDACCEL accel[3] = {};
    const LRESULT count =
        ::SendMessageW(Item(e.id), UDM_GETACCEL, 3, reinterpret_cast<LPARAM>(accel));
    ASSERT_EQ(count, 2) << e.id;
    EXPECT_EQ(accel[0].nSec, 0u);
    EXPECT_EQ(accel[0].nInc, static_cast<UINT>(e.step));
    EXPECT_EQ(accel[1].nSec, 2u);
    EXPECT_EQ(accel[1].nInc, static_cast<UINT>(5 * e.step));
  }
}

TEST_F(OptionsForm, OkStoresTheControlsAndCancelStoresNothing) {
  settings_.AdapterName = "lo";
  const Settings before = settings_;
  const auto change_everything = [&] {
    Pick(IDC_OPTIONS_ADAPTERBOX, 4);
    Type(IDC_OPTIONS_GRAPHRANGEEDIT, L"1e3");
    Type(IDC_OPTIONS_GRAPHMIDDLEEDIT, L"5000");  // above the range: accepted
    Type(IDC_OPTIONS_GRAPHSENDRANGEEDIT, L"0");
    Click(IDC_OPTIONS_SHOWVALUECHECK);
    Click(IDC_OPTIONS_LOCKWINDOWCHECK);
    Click(IDC_OPTIONS_HIDEWINDOWCHECK);
    Type(IDC_OPTIONS_ALPHABLENDEDIT, L"25");
    Type(IDC_OPTIONS_INTERVALEDIT, L"250");
    Type(IDC_OPTIONS_VALUEINTERVALEDIT, L"100");
  };
  Open();
  change_everything();
  ::SendMessageW(Dialog(), WM_CLOSE, 0, 0);  // the close box posts Cancel
  testing::PumpMessages(50);
  EXPECT_EQ(form_->ModalResult(), IDCANCEL);
  EXPECT_EQ(settings_, before);

  Open();
  change_everything();
  Click(IDOK);

  EXPECT_EQ(form_->ModalResult(), IDOK);
  Settings expected = before;
  expected.AdapterName = "wlan0";
  expected.GraphRange = 1000;
  expected.GraphMiddle = 5000;
  expected.GraphSendRange = 0;
  expected.ShowValue = false;
  expected.LockWindow = true;
  expected.HideWindow = true;
  expected.AlphaBlend = 25;
  expected.Interval = 250;
  expected.ValueInterval = 100;
  EXPECT_EQ(settings_, expected);
}

TEST_F(OptionsForm, RangesUseTheRegionalDecimalSeparator) {
  separator_ = ",";
  settings_.AdapterName = "lo";
  settings_.GraphRange = 1.5;
  Open();
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHRANGEEDIT), L"1,5");
  Type(IDC_OPTIONS_GRAPHMIDDLEEDIT, L"2,25");
  Click(IDOK);
  EXPECT_EQ(settings_.GraphRange, 1.5);
  EXPECT_EQ(settings_.GraphMiddle, 2.25);
}

TEST_F(OptionsForm, AbsentStoredAdapterIsListedLastSelectedAndKeptByOk) {
  SetRows({{"wlan0"}, {"eth0"}, {"eth0"}});
  settings_.AdapterName = kJapaneseAdapter;
  Open();
  ASSERT_EQ(Count(IDC_OPTIONS_ADAPTERBOX), 5);  // equal descriptions all show
  EXPECT_EQ(Entry(IDC_OPTIONS_ADAPTERBOX, 1), L"eth0");
  EXPECT_EQ(Entry(IDC_OPTIONS_ADAPTERBOX, 2), L"eth0");
  EXPECT_EQ(Entry(IDC_OPTIONS_ADAPTERBOX, 4), L"イーサネット");
  EXPECT_EQ(Selected(IDC_OPTIONS_ADAPTERBOX), 4);
  Click(IDOK);
  EXPECT_EQ(form_->ModalResult(), IDOK);
  EXPECT_EQ(settings_.AdapterName, kJapaneseAdapter);  // the bytes, unchanged

  settings_.AdapterName = "ETH0";
  Open();
  EXPECT_EQ(Count(IDC_OPTIONS_ADAPTERBOX), 4);
  EXPECT_EQ(Selected(IDC_OPTIONS_ADAPTERBOX), 1);  // the first of the two
  Click(IDOK);
  EXPECT_EQ(settings_.AdapterName, "eth0");  // the entry's text as the table has it
}

TEST_F(OptionsForm, OkWithoutAnAdapterIsRefusedAndFocusesTheList) {
  settings_.AdapterName.clear();  // the first start
  const Settings before = settings_;
  Open();
  EXPECT_EQ(Selected(IDC_OPTIONS_ADAPTERBOX), -1);
  Focus(IDC_OPTIONS_GRAPHRANGEEDIT);
  Type(IDC_OPTIONS_GRAPHRANGEEDIT, L"abc");  // the adapter is checked first
  {
    MessageBoxWatcher watcher;
    Click(IDOK);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].Text, L"ネットワーク アダプタを指定してください。");
    EXPECT_EQ(watcher.Seen()[0].Owner, Dialog());
    EXPECT_FALSE(watcher.Seen()[0].Caption.empty());  // the platform's default caption
    EXPECT_NE(watcher.Seen()[0].Caption, L"Ripplet");
  }
  EXPECT_EQ(::GetFocus(), Item(IDC_OPTIONS_ADAPTERBOX));
  EXPECT_EQ(form_->ModalResult(), 0);  // still open
  EXPECT_EQ(settings_, before);

  Type(IDC_OPTIONS_GRAPHRANGEEDIT, L"1000");
  Pick(IDC_OPTIONS_ADAPTERBOX, 2);
  Click(IDOK);
  EXPECT_EQ(form_->ModalResult(), IDOK);
  EXPECT_EQ(settings_.AdapterName, "Ethernet");
}

TEST_F(OptionsForm, TheAutomaticEntrySaysWhatItFollowsAndOkKeepsTheFollowedName) {
  settings_.AdapterName = "Ethernet";  // the adapter followed last
  settings_.AutoAdapter = true;
  followed_ = "Ethernet";
  Open();
  EXPECT_EQ(Selected(IDC_OPTIONS_ADAPTERBOX), 0);
  EXPECT_EQ(Text(IDC_OPTIONS_FOLLOWEDLABEL), L"追従中: Ethernet");
  EXPECT_TRUE(::IsWindowVisible(Item(IDC_OPTIONS_FOLLOWEDLABEL)));
  // A fixed adapter picked: the note goes, and OK stores the choice as fixed.
  Pick(IDC_OPTIONS_ADAPTERBOX, 1);
  EXPECT_FALSE(::IsWindowVisible(Item(IDC_OPTIONS_FOLLOWEDLABEL)));
  Click(IDOK);
  EXPECT_FALSE(settings_.AutoAdapter);
  EXPECT_EQ(settings_.AdapterName, "eth1");

  // Offline, the automatic entry is still accepted; the name stays the one stored.
  followed_.reset();
  Open();
  EXPECT_EQ(Selected(IDC_OPTIONS_ADAPTERBOX), 1);
  Pick(IDC_OPTIONS_ADAPTERBOX, 0);
  EXPECT_TRUE(::IsWindowVisible(Item(IDC_OPTIONS_FOLLOWEDLABEL)));
  EXPECT_EQ(Text(IDC_OPTIONS_FOLLOWEDLABEL), L"追従中: なし (既定の経路がありません)");
  Click(IDOK);
  EXPECT_EQ(form_->ModalResult(), IDOK);
  EXPECT_TRUE(settings_.AutoAdapter);
  EXPECT_EQ(settings_.AdapterName, "eth1");
}

TEST_F(OptionsForm, OkWithARangeThatIsNotANumberIsRefusedAndFocusesThatEdit) {
  settings_.AdapterName = "lo";
  const Settings before = settings_;
  Open();
  Type(IDC_OPTIONS_GRAPHRANGEEDIT, L"");
  Type(IDC_OPTIONS_GRAPHMIDDLEEDIT, L"abc");
  Type(IDC_OPTIONS_GRAPHSENDRANGEEDIT, L"1,5");  // "," is no decimal separator here
  const std::pair<const wchar_t*, int> fixes[] = {{L"10", IDC_OPTIONS_GRAPHRANGEEDIT},
                                                  {L"1e3", IDC_OPTIONS_GRAPHMIDDLEEDIT},
                                                  {L"7.5", IDC_OPTIONS_GRAPHSENDRANGEEDIT}};
  for (const auto& [fix, edit] : fixes) {
    MessageBoxWatcher watcher;
    Click(IDOK);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].Text, L"数値を正しく指定してください。");
    EXPECT_EQ(watcher.Seen()[0].Owner, Dialog());
    EXPECT_EQ(::GetFocus(), Item(edit));
    EXPECT_EQ(form_->ModalResult(), 0);
    EXPECT_EQ(settings_, before);
    Type(edit, fix);
  }
  Click(IDOK);
  EXPECT_EQ(form_->ModalResult(), IDOK);
  EXPECT_EQ(settings_.GraphRange, 10);
  EXPECT_EQ(settings_.GraphMiddle, 1000);
  EXPECT_EQ(settings_.GraphSendRange, 7.5);
}

TEST_F(OptionsForm, UnitPickConvertsTheRangesThereAndBack) {
  settings_.AdapterName = "lo";
  Open();
  ASSERT_EQ(Selected(IDC_OPTIONS_GRAPHUNITBOX), 3);  // 0.00k バイト/秒

  Pick(IDC_OPTIONS_GRAPHUNITBOX, 7);  // 0.00M バイト/秒
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHRANGEEDIT), L"1");
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHMIDDLEEDIT), L"0.9");
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHSENDRANGEEDIT), L"0.15");

  Pick(IDC_OPTIONS_GRAPHUNITBOX, 3);
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHRANGEEDIT), L"1000");
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHMIDDLEEDIT), L"900");
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHSENDRANGEEDIT), L"150");

  // With the keyboard: each arrow press picks the next unit and converts again.
  Focus(IDC_OPTIONS_GRAPHUNITBOX);
  for (int i = 0; i < 7; ++i)
    ::SendMessageW(Item(IDC_OPTIONS_GRAPHUNITBOX), WM_KEYDOWN, VK_DOWN, 0);
  ASSERT_EQ(Selected(IDC_OPTIONS_GRAPHUNITBOX), 10);  // 0k ビット/秒: eight times the bytes
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHRANGEEDIT), L"8000");
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHMIDDLEEDIT), L"7200");
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHSENDRANGEEDIT), L"1200");

  Click(IDOK);
  EXPECT_EQ(settings_.GraphUnit, kUnitTexts[10]);
  EXPECT_EQ(settings_.GraphRange, 8000);
  EXPECT_EQ(settings_.GraphMiddle, 7200);
  EXPECT_EQ(settings_.GraphSendRange, 1200);
}

TEST_F(OptionsForm, StoredUnitOutsideTheListIsKeptAndConvertedFrom) {
  settings_.AdapterName = "lo";
  settings_.GraphUnit = "0.0M bytes/s";
  settings_.GraphRange = 2;
  Open();
  EXPECT_EQ(Selected(IDC_OPTIONS_GRAPHUNITBOX), -1);
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHUNITBOX), L"");
  Click(IDOK);  // nothing picked: the stored unit stays, it is not emptied
  EXPECT_EQ(settings_.GraphUnit, "0.0M bytes/s");

  Open();
  Pick(IDC_OPTIONS_GRAPHUNITBOX, 3);  // from M, the unit the ranges are really in
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHRANGEEDIT), L"2000");
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHMIDDLEEDIT), L"900000");
  Click(IDOK);
  EXPECT_EQ(settings_.GraphUnit, kUnitTexts[3]);
  EXPECT_EQ(settings_.GraphRange, 2000);
}

TEST_F(OptionsForm, UnitPickWithARangeThatIsNotANumberConvertsNothing) {
  settings_.AdapterName = "lo";
  Open();
  Type(IDC_OPTIONS_GRAPHSENDRANGEEDIT, L"abc");
  {
    MessageBoxWatcher watcher;
    Pick(IDC_OPTIONS_GRAPHUNITBOX, 7);
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].Text, L"'abc' は浮動小数点数ではありません.");
  }
  // The edits, the box and the remembered unit all still agree on k.
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHRANGEEDIT), L"1000");
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHMIDDLEEDIT), L"900");
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHSENDRANGEEDIT), L"abc");
  EXPECT_EQ(Selected(IDC_OPTIONS_GRAPHUNITBOX), 3);
  EXPECT_EQ(form_->RememberedUnit(), kUnitTexts[3]);

  Type(IDC_OPTIONS_GRAPHSENDRANGEEDIT, L"150");
  Pick(IDC_OPTIONS_GRAPHUNITBOX, 7);
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHRANGEEDIT), L"1");
  EXPECT_EQ(Text(IDC_OPTIONS_GRAPHSENDRANGEEDIT), L"0.15");
}

TEST_F(OptionsForm, UpDownsShowStoredValuesOutsideTheirRangeAtTheNearestEnd) {
  settings_.AdapterName = "lo";
  settings_.AlphaBlend = 150;
  settings_.Interval = 70000;  // its low 16 bits would be 4464
  settings_.ValueInterval = 0;
  Open();
  EXPECT_EQ(Text(IDC_OPTIONS_ALPHABLENDEDIT), L"99");
  EXPECT_EQ(Text(IDC_OPTIONS_INTERVALEDIT), L"30000");
  EXPECT_EQ(Text(IDC_OPTIONS_VALUEINTERVALEDIT), L"1");
  Click(IDOK);
  EXPECT_EQ(settings_.AlphaBlend, 99);
  EXPECT_EQ(settings_.Interval, 30000);
  EXPECT_EQ(settings_.ValueInterval, 1);

  settings_.Interval = -5;
  Open();
  EXPECT_EQ(Text(IDC_OPTIONS_INTERVALEDIT), L"10");
}

TEST_F(OptionsForm, UpDownEditKeepsOnlyAWholeNumberInRangeWhenTheFocusLeaves) {
  settings_.AdapterName = "lo";
  Open();
  for (const wchar_t* typed : {L"5", L"30001", L"1,000", L"12.5", L""}) {
    Focus(IDC_OPTIONS_INTERVALEDIT);
    Type(IDC_OPTIONS_INTERVALEDIT, typed);
    Focus(IDC_OPTIONS_GRAPHRANGEEDIT);
    EXPECT_EQ(Text(IDC_OPTIONS_INTERVALEDIT), L"1000") << typed;
  }
  Focus(IDC_OPTIONS_INTERVALEDIT);
  Type(IDC_OPTIONS_INTERVALEDIT, L"2000");
  Focus(IDC_OPTIONS_GRAPHRANGEEDIT);
  EXPECT_EQ(Text(IDC_OPTIONS_INTERVALEDIT), L"2000");

  // The arrow key in the edit steps by the up-down's increment.
  Focus(IDC_OPTIONS_INTERVALEDIT);
  ::SendMessageW(Item(IDC_OPTIONS_INTERVALEDIT), WM_KEYDOWN, VK_UP, 0);
  ::SendMessageW(Item(IDC_OPTIONS_INTERVALEDIT), WM_KEYUP, VK_UP, 0);
  EXPECT_EQ(Text(IDC_OPTIONS_INTERVALEDIT), L"2010");

  // Enter with broken text still in the edit: OK reads the up-down's position.
  Type(IDC_OPTIONS_INTERVALEDIT, L"abc");
  Type(IDC_OPTIONS_ALPHABLENDEDIT, L"100");
  ::SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(form_->ModalResult(), IDOK);
  EXPECT_EQ(settings_.Interval, 2010);
  EXPECT_EQ(settings_.AlphaBlend, 0);
}

TEST_F(OptionsForm, DefaultHeightButtonActsAtOnceAndCancelDoesNotUndoIt) {
  settings_.AdapterName = "lo";
  settings_.LockWindow = true;
  const Settings before = settings_;
  Open();
  EXPECT_FALSE(Enabled(IDC_OPTIONS_DEFAULTHEIGHTBTN));
  Click(IDC_OPTIONS_LOCKWINDOWCHECK);
  EXPECT_TRUE(Enabled(IDC_OPTIONS_DEFAULTHEIGHTBTN));

  Click(IDC_OPTIONS_DEFAULTHEIGHTBTN);
  EXPECT_EQ(default_height_calls_, 1);
  EXPECT_FALSE(Enabled(IDC_OPTIONS_DEFAULTHEIGHTBTN));
  EXPECT_NE(::GetFocus(), Item(IDC_OPTIONS_DEFAULTHEIGHTBTN));
  Click(IDC_OPTIONS_LOCKWINDOWCHECK);  // locked again: stays disabled
  EXPECT_FALSE(Enabled(IDC_OPTIONS_DEFAULTHEIGHTBTN));
  Click(IDC_OPTIONS_LOCKWINDOWCHECK);
  EXPECT_TRUE(Enabled(IDC_OPTIONS_DEFAULTHEIGHTBTN));

  Click(IDCANCEL);
  EXPECT_EQ(form_->ModalResult(), IDCANCEL);
  EXPECT_EQ(default_height_calls_, 1);
  EXPECT_EQ(settings_, before);
}

TEST_F(OptionsForm, TabOrderAndAccessKeysFollowTheLayout) {
  settings_.AdapterName = "lo";
  Open();
  const int order[] = {IDC_OPTIONS_ADAPTERBOX,
                       IDC_OPTIONS_GRAPHRANGEEDIT,
                       IDC_OPTIONS_GRAPHMIDDLEEDIT,
                       IDC_OPTIONS_GRAPHSENDRANGEEDIT,
                       IDC_OPTIONS_GRAPHUNITBOX,
                       IDC_OPTIONS_RECVCOLORBTN,
                       IDC_OPTIONS_SENDCOLORBTN,
                       IDC_OPTIONS_MIDDLECOLORBTN,
                       IDC_OPTIONS_BACKCOLORBTN,
                       IDC_OPTIONS_SHOWVALUECHECK,
                       IDC_OPTIONS_LOCKWINDOWCHECK,
                       IDC_OPTIONS_SNAPWINDOWCHECK,
                       IDC_OPTIONS_HIDEWINDOWCHECK,
                       IDC_OPTIONS_ALPHABLENDEDIT,
                       IDC_OPTIONS_INTERVALEDIT,
                       IDC_OPTIONS_VALUEINTERVALEDIT,
                       IDC_OPTIONS_VALUEFONTBUTTON,
                       IDC_OPTIONS_DEFAULTHEIGHTBTN,
                       IDOK,
                       IDCANCEL,
                       IDC_OPTIONS_HELPBTN,
                       IDC_OPTIONS_ADAPTERBOX};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
    EXPECT_EQ(::GetNextDlgTabItem(Dialog(), Item(order[i]), FALSE), Item(order[i + 1]))
        << "after " << order[i];
  }

  // Alt and a label's letter, as the program's modal loop hands it to the dialog manager,
  // focus the control the label names; a check box's letter also toggles it.
  const auto press = [&](wchar_t letter) {
    MSG msg{::GetFocus(), WM_SYSCHAR, letter, 1 << 29, 0, {}};
    ::IsDialogMessageW(Dialog(), &msg);
    return ::GetFocus();
  };
  EXPECT_EQ(press(L'u'), Item(IDC_OPTIONS_GRAPHUNITBOX));
  EXPECT_EQ(press(L'a'), Item(IDC_OPTIONS_GRAPHRANGEEDIT));
  EXPECT_EQ(press(L'i'), Item(IDC_OPTIONS_GRAPHMIDDLEEDIT));
  EXPECT_EQ(press(L'e'), Item(IDC_OPTIONS_GRAPHSENDRANGEEDIT));
  EXPECT_EQ(press(L't'), Item(IDC_OPTIONS_ALPHABLENDEDIT));
  EXPECT_EQ(press(L'l'), Item(IDC_OPTIONS_INTERVALEDIT));
  EXPECT_EQ(press(L'v'), Item(IDC_OPTIONS_VALUEINTERVALEDIT));
  EXPECT_EQ(press(L'n'), Item(IDC_OPTIONS_SNAPWINDOWCHECK));
  EXPECT_TRUE(Checked(IDC_OPTIONS_SNAPWINDOWCHECK));
  EXPECT_EQ(press(L'h'), Item(IDC_OPTIONS_HELPBTN));
  EXPECT_EQ(help_contexts_, std::vector<unsigned>{6});
}

TEST_F(OptionsForm, HelpButtonOpensContextSixAndLeavesTheDialogOpen) {
  settings_.AdapterName = "lo";
  Open();
  Click(IDC_OPTIONS_HELPBTN);
  EXPECT_EQ(help_contexts_, std::vector<unsigned>{6});
  EXPECT_EQ(form_->ModalResult(), 0);
}

}  // namespace
}  // namespace ripplet
