// The main window in-process under wine: created over a temporary INI, ticks driven with a
// fake interface table and clock, settings saved on close.
#include "app/main_form.h"

#include <oleacc.h>
#include <gtest/gtest.h>

#include <fstream>
#include <new>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

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

// The value labels in whole bytes per second ("0 バイト/秒"), so they show each rate exactly.
const std::wstring kBytesUnit = L"GraphUnit=0 \x83\x6F\x83\x43\x83\x67/\x95\x62\r\n";

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() : application_(L"Ripplet_test") {
    source_.Rows = {{"eth0", 5000, 7000}, {"lo", 100, 100}};
  }

  std::unique_ptr<TMainForm> MakeForm(std::wstring_view ini_body) {
    ini_ = dir_.File(L"meter.ini");
    WriteFile(ini_, std::string(ini_body.begin(), ini_body.end()));
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

TEST_F(MainFormTest, StartUpLoadsTheNamedFileAndSamplesFromThePrimedBaseline) {
  auto form = MakeForm(L"[Settings]\r\nAdapterName=eth0\r\nInterval=500\r\n" + kBytesUnit);
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
  EXPECT_EQ(form->Layout().RecvText(), L"2000");
  EXPECT_EQ(form->Layout().SendText(), L"6");

  // The adapter vanishes: no data.
  source_.Rows.erase(source_.Rows.begin());
  source_.Tick += 500;
  form->MainTimerTimer();
  EXPECT_EQ(form->Layout().RecvText(), L"-");
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
  EXPECT_GE(client.bottom, form->Layout().Current().DefaultHeight)
      << "the full layout fits at start";
}

TEST_F(MainFormTest, CloseWritesEverySectionAndKeepsForeignLines) {
  auto form = MakeForm(
      L"; my meter\r\n[Settings]\r\nAdapterName=lo\r\nMyOwnKey=keep me\r\n"
      L"[Elsewhere]\r\nx=1\r\n");
  ::SetWindowPos(form->Handle(), nullptr, 40, 50, 320, 90, SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(form->Handle(), nullptr) << "a successful save closes the window";

  const std::string ini = ReadFile(ini_);
  for (const char* line :
       {"; my meter\r\n", "MyOwnKey=keep me\r\n", "[Elsewhere]\r\nx=1\r\n",
        "[Ripplet]\r\nVersion=152\r\n", "AdapterName=lo\r\n", "GraphRange=1000\r\n",
        "ShowValue=1\r\n", "Recv=clBlue\r\n", "Name=MS UI Gothic\r\n", "Size=10\r\n", "Left=40\r\n",
        "Top=50\r\n", "Width=320\r\n", "Height=90\r\n"}) {
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
  auto form = MakeForm(L"[Settings]\r\nAdapterName=lo\r\n" + kBytesUnit);
  // lo moves to index 0; a resize looks it up again and primes from now.
  source_.Rows = {{"lo", 900, 900}};
  source_.Tick += 10;
  ::SetWindowPos(form->Handle(), nullptr, 0, 0, 330, 80, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(form->TrafficSampler().AdapterIndex(), 0u);
  source_.Tick += 1000;
  source_.Rows[0].In += 4096;
  form->MainTimerTimer();
  EXPECT_EQ(form->Layout().RecvText(), L"4096");
}

// After sleep the counters have grown by hours of traffic (64-bit, watched) or were reset by
// the driver (the 32-bit ones of an older system, where that reads as a wrap): neither is a
// rate. The first tick after the resume shows "-", the next a rate again.
TEST_F(MainFormTest, AResumeGivesOneTickWithoutDataThenRatesWithoutASpike) {
  for (bool wide : {true, false}) {
    source_.WideTable = source_.Watchable = wide;
    auto form = MakeForm(L"[Settings]\r\nAdapterName=eth0\r\n");
    const auto tick = [&](std::uint64_t recv) {
      source_.Tick += 1000;
      source_.Rows[0].In += recv;
      form->MainTimerTimer();
    };
    tick(2000);
    ASSERT_EQ(form->Layout().RecvText(), L"2.00k") << wide;
    source_.Tick += 3'600'000;
    source_.Rows[0].In = wide ? source_.Rows[0].In + 3'600'000'000ULL : 0;
    ::SendMessageW(form->Handle(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    tick(500);
    EXPECT_EQ(form->Layout().RecvText(), L"-") << wide;
    tick(3000);
    EXPECT_EQ(form->Layout().RecvText(), L"3.00k") << wide;
  }
}

// Errors of any type, at every boundary, are shown and the program goes on; bounds saved
// off every screen come back onto one.
TEST_F(MainFormTest, AForeignErrorInFormCreateIsShownAndTheFirstResizeAppliesTheSettings) {
  bool thrown = false;
  source_.DuringTableRead = [&thrown] {
    if (!std::exchange(thrown, true)) throw std::runtime_error("table gone");
  };
  MessageBoxWatcher watcher;
  auto form = MakeForm(L"[Settings]\r\nAdapterName=lo\r\nInterval=250\r\n");
  ASSERT_TRUE(thrown);
  ASSERT_EQ(watcher.Seen().size(), 1u);
  EXPECT_EQ(watcher.Seen()[0].Text, L"内部エラー: table gone.");
  EXPECT_EQ(watcher.Seen()[0].Owner, application_.Handle());
  ASSERT_TRUE(::IsWindow(form->Handle())) << "the window is still created";
  // The size that creation gives the window after FormCreate is its first size: the
  // settings apply there, so the meter is never left without its timer.
  EXPECT_TRUE(form->MainTimerRunning());

  form->Show();
  RECT r{};
  ::GetWindowRect(form->Handle(), &r);
  ::SetWindowPos(form->Handle(), nullptr, 0, 0, r.right - r.left + 20, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(form->MainTimerRunning()) << "every change of size applies them again";
  EXPECT_EQ(watcher.Seen().size(), 1u);
}

TEST_F(MainFormTest, AnyErrorFromTheIdleStepIsShownAndTheLoopGoesOn) {
  auto form = MakeForm(L"[Settings]\r\nAdapterName=lo\r\n");
  MessageBoxWatcher watcher;
  int runs = 0;
  application_.SetIdleHandler([&runs] {
    switch (++runs) {
      case 1:
        throw std::bad_alloc();
      case 2:
        throw 42;  // not even an exception class
      default:
        break;
    }
  });
  application_.RunIdle();
  application_.RunIdle();
  application_.RunIdle();
  EXPECT_EQ(runs, 3);
  ASSERT_EQ(watcher.Seen().size(), 2u);
  EXPECT_EQ(watcher.Seen()[0].Text.rfind(L"内部エラー: ", 0), 0u) << "std::bad_alloc";
  EXPECT_EQ(watcher.Seen()[1].Text, L"内部エラー.");

  // The message loop itself: an idle error, then a quit that still ends it normally.
  runs = 1;
  ::PostMessageW(nullptr, WM_QUIT, 7, 0);
  application_.SetIdleHandler([] { throw std::logic_error("late"); });
  EXPECT_EQ(application_.RunMessageLoop(), 7);
  application_.SetIdleHandler(nullptr);
}

TEST_F(MainFormTest, BoundsOffEveryScreenComeBackIntoTheWorkAreaAndPartlyVisibleOnesStay) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &info));
  const RECT wa = info.rcWork;
  {
    auto form = MakeForm(
        L"[Settings]\r\nAdapterName=lo\r\n[Window]\r\nLeft=5000\r\nTop=4000\r\n"
        L"Width=320\r\nHeight=90\r\n");
    RECT r{};
    ::GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.right - r.left, 320) << "the size is kept";
    EXPECT_EQ(r.bottom - r.top, 90);
    EXPECT_EQ(r.right, wa.right) << "moved inside the nearest work area";
    EXPECT_EQ(r.bottom, wa.bottom);
  }
  {
    const int left = wa.right - 40;  // 40 pixels of it on the screen
    auto form = MakeForm(L"[Settings]\r\nAdapterName=lo\r\n[Window]\r\nLeft=" +
                         std::to_wstring(left) + L"\r\nTop=-30\r\nWidth=320\r\nHeight=90\r\n");
    RECT r{};
    ::GetWindowRect(form->Handle(), &r);
    EXPECT_EQ(r.left, left) << "partly visible: it stays";
    EXPECT_EQ(r.top, -30);
  }
}

// The accessible tree in-process: what an assistive program hears (a WinEvent hook on this
// process) and what it gets once the window is gone. The tree's content is read from
// another process by the end-to-end test.
struct HeardEvents {
  HWND Window = nullptr;
  std::vector<std::pair<DWORD, LONG>> Events;  // event, child id
} g_heard;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                          DWORD) {
  if (hwnd == g_heard.Window && object == OBJID_CLIENT) g_heard.Events.push_back({event, child});
}

// The children an event of `kind` was raised for since the last call, in order.
std::vector<LONG> Heard(DWORD kind) {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  std::vector<LONG> children;
  for (const auto& [event, child] : g_heard.Events) {
    if (event == kind) children.push_back(child);
  }
  return children;
}

VARIANT ChildId(LONG id) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// A thread something put in the multithreaded apartment would take a reader's calls on other
// threads, racing the tick: the window answers no tree there, and the system's default stands.
TEST_F(MainFormTest, AWindowInTheMultithreadedApartmentAnswersNoTree) {
  ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
  {
    auto form = MakeForm(L"[Settings]\r\nAdapterName=eth0\r\n");
    EXPECT_EQ(::SendMessageW(form->Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)),
              0);
  }
  ::CoUninitialize();
  ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  {
    auto form = MakeForm(L"[Settings]\r\nAdapterName=eth0\r\n");
    EXPECT_NE(::SendMessageW(form->Handle(), WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT)), 0)
        << "in the single-threaded apartment the tree is answered";
  }
  ::CoUninitialize();
}

TEST_F(MainFormTest, TheTreeRaisesAChangeOnlyWhenAValueOrAPlaceChangesAndOutlivesNoWindow) {
  ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  auto form = MakeForm(L"[Settings]\r\nAdapterName=eth0\r\nInterval=30000\r\n");
  IAccessible* acc = nullptr;
  ASSERT_EQ(::AccessibleObjectFromWindow(form->Handle(), static_cast<DWORD>(OBJID_CLIENT),
                                         __uuidof(IAccessible), reinterpret_cast<void**>(&acc)),
            S_OK);
  g_heard = {form->Handle(), {}};
  HWINEVENTHOOK hook =
      ::SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_VALUECHANGE, nullptr, &RecordEvent,
                        ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  const auto tick = [&](std::uint64_t in, std::uint64_t out) {
    g_heard.Events.clear();
    source_.Tick += 500;
    source_.Rows[0].In += in;
    source_.Rows[0].Out += out;
    form->MainTimerTimer();
  };
  const auto value = [&](LONG id) {
    BSTR text = nullptr;
    EXPECT_EQ(acc->get_accValue(ChildId(id), &text), S_OK);
    std::wstring s(text, ::SysStringLen(text));
    ::SysFreeString(text);
    return s;
  };
  const auto description = [&](LONG id) {
    BSTR text = nullptr;
    EXPECT_EQ(acc->get_accDescription(ChildId(id), &text), S_OK);
    std::wstring s(text, ::SysStringLen(text));
    ::SysFreeString(text);
    return s;
  };
  const auto menu_toggle = [&](UINT item) {
    g_heard.Events.clear();
    form->PopupMenuPopup();  // the menu mirrors the settings when it opens
    form->MenuItemClick(item);
  };

  // Shown: one place change of the whole client area.
  g_heard.Events.clear();
  form->Show();
  EXPECT_EQ(Heard(EVENT_OBJECT_LOCATIONCHANGE), (std::vector<LONG>{CHILDID_SELF}));

  tick(1000, 3000);  // "-" becomes a rate: both values change, and both texts' widths
  EXPECT_EQ(Heard(EVENT_OBJECT_VALUECHANGE), (std::vector<LONG>{2, 3}));
  EXPECT_EQ(Heard(EVENT_OBJECT_LOCATIONCHANGE), (std::vector<LONG>{2, 3}));
  EXPECT_EQ(value(2), form->Layout().RecvText());
  EXPECT_EQ(value(3), form->Layout().SendText());
  tick(1000, 3000);  // the same rates: an idle meter stays silent
  Heard(EVENT_OBJECT_VALUECHANGE);
  EXPECT_TRUE(g_heard.Events.empty());
  tick(2000, 3000);  // only the receive value changes
  EXPECT_EQ(Heard(EVENT_OBJECT_VALUECHANGE), (std::vector<LONG>{2}));
  EXPECT_EQ(value(2), form->Layout().RecvText());
  // The client says both rates in words a reader speaks.
  EXPECT_EQ(description(CHILDID_SELF), L"受信: " + form->Layout().RecvText() + L"、送信: " +
                                           form->Layout().SendText() + L"、キロバイト毎秒");

  // Hiding the values hides them (events, not a place change), and the graph takes their width.
  menu_toggle(TMainForm::kShowValueItem);
  ASSERT_FALSE(form->CurrentSettings().ShowValue);
  EXPECT_EQ(Heard(EVENT_OBJECT_HIDE), (std::vector<LONG>{2, 3}));
  EXPECT_EQ(Heard(EVENT_OBJECT_LOCATIONCHANGE), (std::vector<LONG>{1}));
  VARIANT state{};
  ASSERT_EQ(acc->get_accState(ChildId(2), &state), S_OK);
  EXPECT_NE(state.lVal & STATE_SYSTEM_INVISIBLE, 0);
  tick(5000, 9000);  // values nobody sees change silently
  EXPECT_TRUE(Heard(EVENT_OBJECT_VALUECHANGE).empty());
  menu_toggle(TMainForm::kShowValueItem);
  EXPECT_EQ(Heard(EVENT_OBJECT_SHOW), (std::vector<LONG>{2, 3}));
  EXPECT_EQ(Heard(EVENT_OBJECT_LOCATIONCHANGE), (std::vector<LONG>{1}));

  // A new unit: its words describe the values and the client, and a reader hears that once.
  g_heard.Events.clear();
  form->CurrentSettings().GraphUnit = "0M \x83\x72\x83\x62\x83\x67/\x95\x62";
  form->ApplySettings();
  EXPECT_EQ(Heard(EVENT_OBJECT_DESCRIPTIONCHANGE), (std::vector<LONG>{CHILDID_SELF, 2, 3}));
  EXPECT_EQ(description(2), L"メガビット毎秒");
  g_heard.Events.clear();
  form->ApplySettings();
  EXPECT_TRUE(Heard(EVENT_OBJECT_DESCRIPTIONCHANGE).empty());

  // Hidden (as under the pointer): no value or place events; shown again, one place change.
  ::ShowWindow(form->Handle(), SW_HIDE);
  g_heard.Events.clear();
  tick(9000000, 1000);
  EXPECT_TRUE(Heard(EVENT_OBJECT_VALUECHANGE).empty());
  EXPECT_TRUE(Heard(EVENT_OBJECT_LOCATIONCHANGE).empty());
  form->Show();
  EXPECT_EQ(Heard(EVENT_OBJECT_LOCATIONCHANGE), (std::vector<LONG>{CHILDID_SELF}));
  EXPECT_TRUE(Heard(EVENT_OBJECT_VALUECHANGE).empty());

  // The dispatch stubs answer "not implemented" with their outputs filled.
  DISPID ids[2] = {7, 7};
  LPOLESTR names[2] = {const_cast<LPOLESTR>(L"accName"), const_cast<LPOLESTR>(L"x")};
  EXPECT_EQ(acc->GetIDsOfNames(IID_NULL, names, 2, 0, ids), E_NOTIMPL);
  EXPECT_EQ(ids[0], DISPID_UNKNOWN);
  EXPECT_EQ(ids[1], DISPID_UNKNOWN);
  VARIANT result;
  result.vt = VT_I4;
  UINT argument_error = 7;
  DISPPARAMS no_arguments{};
  EXPECT_EQ(acc->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &no_arguments, &result, nullptr,
                        &argument_error),
            E_NOTIMPL);
  EXPECT_EQ(result.vt, VT_EMPTY);
  EXPECT_EQ(argument_error, 0u);
  ::UnhookWinEvent(hook);

  // A client may hold the object after the window is gone: every call fails as disconnected.
  ::DestroyWindow(form->Handle());
  BSTR text = nullptr;
  VARIANT v{};
  LONG n = 0;
  IDispatch* parent = nullptr;
  EXPECT_EQ(acc->get_accName(ChildId(0), &text), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(acc->get_accValue(ChildId(2), &text), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(acc->get_accRole(ChildId(1), &v), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(acc->get_accState(ChildId(3), &v), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(acc->accLocation(&n, &n, &n, &n, ChildId(2)), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(acc->accHitTest(10, 10, &v), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(acc->get_accChildCount(&n), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(acc->get_accParent(&parent), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(acc->accNavigate(NAVDIR_FIRSTCHILD, ChildId(0), &v), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(acc->get_accFocus(&v), CO_E_OBJNOTCONNECTED);
  acc->Release();
  form.reset();
  ::CoUninitialize();
}

}  // namespace
}  // namespace ripplet
