// The main window's frame and layout in-process under wine: the label column from the real
// fonts, DefaultHeight, opacity, the lock, the minimum size, snapping and hide-on-hover.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/frame_rules.h"
#include "app/main_form.h"
#include "tests/sampling/fake_traffic_source.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/temp_dir.h"
#include "win32/win_application.h"

namespace ripplet {
namespace {

RECT ClientOf(HWND hwnd) {
  RECT r{};
  ::GetClientRect(hwnd, &r);
  return r;
}

RECT BoundsOf(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return r;
}

class FrameTest : public ::testing::Test {
 protected:
  FrameTest() : application_(L"Ripplet_test") { source_.Rows = {{"lo", 0, 0}}; }

  TMainForm& Make(const std::string& settings) {
    const std::wstring ini = dir_.File(L"frame.ini");
    std::ofstream(std::filesystem::path(ini), std::ios::binary)
        << "[Settings]\r\nAdapterName=lo\r\n" << settings;
    form_ = std::make_unique<TMainForm>(
        source_, TMainForm::Startup{dir_.File(L"ripplet.exe"), L"x \"-i:" + ini + L"\"", false});
    form_->Create(application_.Handle());
    application_.SetMainWindow(form_->Handle());
    form_->Show();
    testing::PumpMessages(50);
    return *form_;
  }

  // The application's loop, for `milliseconds`: the idle step after each drained queue,
  // then sleep until a message comes.
  void RunLoop(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    MSG msg;
    for (;;) {
      while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
      }
      application_.RunIdle();
      const DWORD elapsed = ::GetTickCount() - start;
      if (elapsed >= milliseconds) return;
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
  }

  Application application_;
  testing::FakeTrafficSource source_;
  testing::TempDir dir_;
  std::unique_ptr<TMainForm> form_;
};

TEST_F(FrameTest, LabelColumnFollowsTheMeasuredFontsAndDefaultHeight) {
  TMainForm& form = Make("");
  const MainLayout& l = form.Layout();
  const RECT client = ClientOf(form.Handle());
  EXPECT_TRUE(l.CaptionsVisible) << "the design size fits the full layout";
  EXPECT_EQ(l.Recv.Top, l.Label1.Bottom());
  EXPECT_EQ(l.Send.Top, l.Label2.Bottom());
  EXPECT_EQ(l.DefaultHeight, l.Send.Bottom() + 7);
  EXPECT_EQ(l.Recv.Right(), l.Send.Right());
  EXPECT_EQ(l.Graph.Width, l.Label1.Left - 10);
  EXPECT_EQ(l.Graph.Height, form.Graph().Height());
  EXPECT_LT(l.Recv.Right(), client.right);

  // One pixel short of DefaultHeight is compact; RestoreDefaultHeight brings the full one.
  const RECT outer = BoundsOf(form.Handle());
  const int frame = (outer.bottom - outer.top) - client.bottom;
  ::SetWindowPos(form.Handle(), nullptr, 0, 0, outer.right - outer.left,
                 l.DefaultHeight - 1 + frame, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(ClientOf(form.Handle()).bottom, l.DefaultHeight - 1);
  EXPECT_FALSE(form.Layout().CaptionsVisible);
  EXPECT_EQ(form.Layout().Recv.Top, 2);
  form.RestoreDefaultHeight();
  EXPECT_EQ(ClientOf(form.Handle()).bottom, form.DefaultHeight());
  EXPECT_TRUE(form.Layout().CaptionsVisible);
}

TEST_F(FrameTest, HiddenValuesGiveTheGraphTheWholeWidth) {
  TMainForm& form = Make("ShowValue=0\r\n");
  const RECT client = ClientOf(form.Handle());
  const MainLayout& l = form.Layout();
  EXPECT_FALSE(l.ValuesVisible);
  EXPECT_EQ(l.Graph.Width, client.right - 2 * l.Graph.Left + 1);
  EXPECT_EQ(l.DefaultHeight, 0) << "values were never shown";
}

TEST_F(FrameTest, OpacityIsAppliedClampedAndTheWindowIsLayeredFromTheStart) {
  TMainForm& form = Make("AlphaBlend=50\r\n");
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(::GetLayeredWindowAttributes(form.Handle(), nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 127);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
  form.CurrentSettings().AlphaBlend = 100;  // hand-edited: never invisible
  form.ApplySettings();
  ::GetLayeredWindowAttributes(form.Handle(), nullptr, &alpha, &flags);
  EXPECT_EQ(alpha, 2);
  EXPECT_EQ(form.CurrentSettings().AlphaBlend, 100) << "the record keeps the value";
}

TEST_F(FrameTest, TheLockTurnsTheSizingFrameOffAtOnce) {
  TMainForm& form = Make("");
  const RECT r = BoundsOf(form.Handle());
  const LPARAM right_edge = MAKELPARAM(r.right - 1, (r.top + r.bottom) / 2);
  EXPECT_EQ(::SendMessageW(form.Handle(), WM_NCHITTEST, 0, right_edge), HTRIGHT);
  form.CurrentSettings().LockWindow = true;  // read live, no apply step
  EXPECT_EQ(::SendMessageW(form.Handle(), WM_NCHITTEST, 0, right_edge), HTNOWHERE);
  const LPARAM graph = MAKELPARAM(r.left + 20, r.top + 20);
  EXPECT_EQ(::SendMessageW(form.Handle(), WM_NCHITTEST, 0, graph), HTCLIENT);
}

TEST_F(FrameTest, MinimumSizeFollowsThePixelDensity) {
  TMainForm& form = Make("");
  // RIPPLET_TEST_PPI picks a prefix set to that density; the default prefix has 96.
  const char* wanted = std::getenv("RIPPLET_TEST_PPI");
  const int ppi = wanted ? std::atoi(wanted) : 96;
  ASSERT_EQ(form.PixelsPerInch(), ppi);
  MINMAXINFO info{};
  ::SendMessageW(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  const MinimumSize expected = MinimumTrackSize(ppi);
  EXPECT_EQ(info.ptMinTrackSize.x, expected.Width);
  EXPECT_EQ(info.ptMinTrackSize.y, expected.Height);
  // And the platform enforces it.
  ::SetWindowPos(form.Handle(), nullptr, 0, 0, 10, 10, SWP_NOMOVE | SWP_NOZORDER);
  const RECT r = BoundsOf(form.Handle());
  EXPECT_EQ(r.right - r.left, expected.Width);
  EXPECT_EQ(r.bottom - r.top, expected.Height);
}

TEST_F(FrameTest, SnapsWithinFifteenPixelsOfTheWorkArea) {
  TMainForm& form = Make("SnapWindow=1\r\n");
  RECT wa{};
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  ::GetMonitorInfoW(::MonitorFromWindow(form.Handle(), MONITOR_DEFAULTTONEAREST), &info);
  wa = info.rcWork;
  const RECT r = BoundsOf(form.Handle());
  const int w = r.right - r.left;
  ::SetWindowPos(form.Handle(), nullptr, wa.right - w - 15, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(BoundsOf(form.Handle()).right, wa.right);
  ::SetWindowPos(form.Handle(), nullptr, wa.right - w - 16, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(BoundsOf(form.Handle()).right, wa.right - 16);
  ::SetWindowPos(form.Handle(), nullptr, wa.left + 15, wa.top + 15, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(BoundsOf(form.Handle()).left, wa.left);
  EXPECT_EQ(BoundsOf(form.Handle()).top, wa.top);
}

TEST_F(FrameTest, StaysOnTopThroughItsOwner) {
  TMainForm& form = Make("");
  EXPECT_EQ(::GetWindow(form.Handle(), GW_OWNER), application_.Handle());
  // Nothing here but FormCreate makes the application window topmost, and the main window
  // with it. (Wine moves the owned windows but leaves the hidden owner's own style as it was.)
  EXPECT_NE(::GetWindowLongPtrW(form.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0)
      << "made topmost with its owner, by FormCreate";
}

TEST_F(FrameTest, HidesUnderThePointerAndComesBackWithinATenthOfASecond) {
  TMainForm& form = Make("HideWindow=1\r\nInterval=30000\r\n");
  const RECT r = BoundsOf(form.Handle());
  ::SetCursorPos(r.left + 10, r.top + 10);
  application_.RunIdle();
  EXPECT_TRUE(form.IsShown()) << "the first pass only records the bounds";
  application_.RunIdle();
  EXPECT_FALSE(form.IsShown());
  EXPECT_FALSE(::IsWindowVisible(form.Handle()));

  // Out of the old area: the re-show timer wakes the idle step, not the 30 s sampling timer.
  ::SetCursorPos(r.right, r.top + 10);  // the right edge counts as outside
  const DWORD start = ::GetTickCount();
  while (!form.IsShown() && ::GetTickCount() - start < 2000) RunLoop(10);
  const DWORD took = ::GetTickCount() - start;
  EXPECT_TRUE(form.IsShown());
  EXPECT_TRUE(::IsWindowVisible(form.Handle()));
  EXPECT_LT(took, 400u);
}

// The Control key as the keyboard delivers it to the real window: the key state the check
// reads is the thread's own, updated as the key messages are handled.
TEST_F(FrameTest, ControlHeldOverTheWindowKeepsItShown) {
  TMainForm& form = Make("HideWindow=1\r\n");
  ::SetForegroundWindow(form.Handle());
  testing::PumpMessages(50);
  const auto control = [](bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_CONTROL;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    ::SendInput(1, &input, sizeof(input));
    testing::PumpMessages(100);
  };
  control(true);
  ASSERT_NE(::GetKeyState(VK_CONTROL) & 0x80, 0) << "the key press did not reach the window";
  const RECT r = BoundsOf(form.Handle());
  ::SetCursorPos(r.left + 10, r.top + 10);
  application_.RunIdle();
  application_.RunIdle();
  application_.RunIdle();
  EXPECT_TRUE(form.IsShown()) << "Control held: the window stays";
  control(false);
  application_.RunIdle();
  EXPECT_FALSE(form.IsShown()) << "released: the next pass hides it";
  ::SetCursorPos(0, 0);
  RunLoop(300);
}

TEST_F(FrameTest, TurningHideOffWhileHiddenShowsTheWindow) {
  TMainForm& form = Make("HideWindow=1\r\n");
  const RECT r = BoundsOf(form.Handle());
  ::SetCursorPos(r.left + 10, r.top + 10);
  application_.RunIdle();
  application_.RunIdle();
  ASSERT_FALSE(form.IsShown());
  form.CurrentSettings().HideWindow = false;
  form.ApplySettings();
  EXPECT_TRUE(form.IsShown()) << "otherwise the meter stays invisible until restart";
  EXPECT_FALSE(application_.HasIdleHandler());
  ::SetCursorPos(0, 0);
}

}  // namespace
}  // namespace ripplet
