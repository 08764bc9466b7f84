// The main window's frame and layout in-process under wine: the label column from the real
// fonts, DefaultHeight, opacity, the lock, the minimum size, snapping and hide-on-hover.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "app/frame_rules.h"
#include "app/main_form.h"
#include "app/per_monitor_layout.h"
#include "app/position_settle.h"
#include "settings/settings_io.h"
#include "tests/sampling/fake_traffic_source.h"
#include "tests/support/form_text_height.h"
#include "tests/support/message_box_watcher.h"
#include "tests/support/temp_dir.h"
#include "win32/win_application.h"
#include "win32/win_dpi.h"

namespace ripplet {
namespace {

// Per-monitor aware, as the program's manifest makes the program (wine 8 makes every
// process so, and knows no V2).
const bool kPerMonitorAware = [] {
  if (const auto set_context = reinterpret_cast<BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT)>(
          reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"),
                                                   "SetProcessDpiAwarenessContext")))) {
    set_context(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  }
  return PerMonitorAware();
}();

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

// Runs `act` on another thread while this thread's application loop takes its messages, as
// another program, the system or the window manager acts on the window; returns once the
// loop has ended.
void FromOutside(Application& application, const std::function<void()>& act) {
  const DWORD loop_thread = ::GetCurrentThreadId();
  std::thread outside([&] {
    act();  // what it sends waits for the loop below to take it
    ::PostThreadMessageW(loop_thread, WM_QUIT, 0, 0);
  });
  application.RunMessageLoop();
  outside.join();
}

void MoveFromOutside(Application& application, HWND hwnd, int x, int y) {
  FromOutside(application, [=] {
    ::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  });
}

POINT PlaceOf(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return {r.left, r.top};
}

class FrameTest : public ::testing::Test {
 protected:
  FrameTest() : application_(L"Ripplet_test") { source_.Rows = {{"lo", 0, 0}}; }

  TMainForm& Make(const std::string& settings) {
    const std::wstring ini = dir_.File(L"frame.ini");
    std::ofstream(std::filesystem::path(ini), std::ios::binary)
        << "[Settings]\r\nAdapterName=lo\r\n"
        << settings;
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
  const MainLayout& l = form.Layout().Current();
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
  EXPECT_FALSE(form.Layout().Current().CaptionsVisible);
  EXPECT_EQ(form.Layout().Current().Recv.Top, 2);
  form.RestoreDefaultHeight();
  EXPECT_EQ(ClientOf(form.Handle()).bottom, form.Layout().Current().DefaultHeight);
  EXPECT_TRUE(form.Layout().Current().CaptionsVisible);
}

// Labels taller than the design's (a larger value font here; the system's stand-in for the
// design's font in some locales): a start without a stored height grows to the full layout,
// and a stored height is used as it is.
TEST_F(FrameTest, AStartWithoutAStoredHeightOpensInTheFullLayout) {
  {
    TMainForm& form = Make("[Font]\r\nSize=14\r\n");
    const MainLayout& l = form.Layout().Current();
    EXPECT_TRUE(l.CaptionsVisible) << "opened in the compact layout";
    EXPECT_EQ(ClientOf(form.Handle()).bottom, l.DefaultHeight);
  }
  TMainForm& form = Make("[Font]\r\nSize=14\r\n[Window]\r\nHeight=60\r\n");
  EXPECT_FALSE(form.Layout().Current().CaptionsVisible) << "the stored height was not kept";
  EXPECT_EQ(BoundsOf(form.Handle()).bottom - BoundsOf(form.Handle()).top, 60);
}

TEST_F(FrameTest, HiddenValuesGiveTheGraphTheWholeWidth) {
  TMainForm& form = Make("ShowValue=0\r\n");
  const RECT client = ClientOf(form.Handle());
  const MainLayout& l = form.Layout().Current();
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
  ASSERT_EQ(form.Layout().Density(), ppi);
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

LONG HeightOf(HFONT font) {
  LOGFONTW lf{};
  ::GetObjectW(font, sizeof(lf), &lf);
  return lf.lfHeight;
}

// What a change of density must make equal to a start at that density, as text.
std::string FiguresOf(TMainForm& form) {
  MINMAXINFO info{};
  ::SendMessageW(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  const RECT client = ClientOf(form.Handle());
  std::ostringstream out;
  out << "density " << form.Layout().Density() << ", fonts " << HeightOf(form.Layout().ValueFont())
      << " " << HeightOf(form.Layout().CaptionFont()) << ", minimum " << info.ptMinTrackSize.x
      << "x" << info.ptMinTrackSize.y << ", client " << client.right << "x" << client.bottom
      << ", bitmap " << form.Graph().Width() << "x" << form.Graph().Height() << ", layout";
  const MainLayout& l = form.Layout().Current();
  for (const LayoutRect& r : {l.Bevel, l.Graph, l.Label1, l.Label2, l.Recv, l.Send}) {
    out << " " << r.Left << "," << r.Top << "," << r.Width << "x" << r.Height;
  }
  out << (l.CaptionsVisible ? " captions" : "") << (l.ValuesVisible ? " values" : "")
      << (l.GraphVisible ? " graph" : "") << ", default height " << l.DefaultHeight;
  return out.str();
}

// The figures of a start at `density` by the plain rules, from this test's own measure of
// the form font: the design, its gaps, the fonts from their point sizes, the minimum size.
void ExpectLaidOutFor(TMainForm& form, int density) {
  const int th = testing::FormTextHeight(FormFontHeight(density));

  EXPECT_EQ(form.Layout().Density(), density);
  EXPECT_EQ(HeightOf(form.Layout().ValueFont()), FontHeightFromSize(10, density));
  EXPECT_EQ(HeightOf(form.Layout().CaptionFont()), FontHeightFromSize(8, density));
  MINMAXINFO info{};
  ::SendMessageW(form.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, MinimumTrackSize(density).Width);
  EXPECT_EQ(info.ptMinTrackSize.y, MinimumTrackSize(density).Height);
  const RECT client = ClientOf(form.Handle());
  EXPECT_EQ(client.right, ScaleDesign(304, th)) << "text height " << th;
  EXPECT_EQ(client.bottom, ScaleDesign(68, th)) << "text height " << th;
  const MainLayout& l = form.Layout().Current();
  EXPECT_TRUE(l.CaptionsVisible);
  const LineSpacings gaps = DesignSpacings(th, {});
  EXPECT_EQ(l.Graph.Left, ScaleDesign(4, th));
  EXPECT_EQ(l.Label1.Top, ScaleDesign(6, th));
  EXPECT_EQ(l.Recv.Top - l.Label1.Bottom(), gaps[0]);
  EXPECT_EQ(l.Label2.Top - l.Recv.Bottom(), gaps[1]);
  EXPECT_EQ(client.right - l.Recv.Right(), ScaleDesign(304, th) - ScaleDesign(301, th));
}

// As the system moves a window to a monitor of another density: it asks for the size to
// suggest, then sends the change with the rectangle at the window's place.
void ChangeDensity(HWND window, int density) {
  SIZE size{};
  ASSERT_TRUE(::SendMessageW(window, WM_GETDPISCALEDSIZE, static_cast<WPARAM>(density),
                             reinterpret_cast<LPARAM>(&size)));
  // There the system draws the frame of that density; here the window keeps the screen's.
  // The suggestion is corrected by the difference, for the client the system would give.
  const RECT frame_there =
      OuterRectAt({0, 0, 0, 0}, static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)),
                  static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE)), density);
  const RECT now = BoundsOf(window);
  const RECT client = ClientOf(window);
  size.cx += (now.right - now.left - client.right) - (frame_there.right - frame_there.left);
  size.cy += (now.bottom - now.top - client.bottom) - (frame_there.bottom - frame_there.top);
  RECT suggested{now.left, now.top, now.left + size.cx, now.top + size.cy};
  ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(density, density),
                 reinterpret_cast<LPARAM>(&suggested));
}

// Started at this prefix' density P, the window goes to Q (144 from 96, else 96) and back:
// at each it is laid out as the plain rules lay out a start there, and back at P it is
// exactly what it was. (One process cannot start at two densities; the 120 and 144
// variants of this test start at those for real.)
TEST_F(FrameTest, AChangeOfDensityLaysOutAsAStartAtThatDensity) {
  EXPECT_TRUE(kPerMonitorAware) << "the per-monitor path is not what ran";
  const char* ppi_name = std::getenv("RIPPLET_TEST_PPI");
  const int p = ppi_name ? std::atoi(ppi_name) : 96;
  const int q = p == 96 ? 144 : 96;
  // No tick may change a value text between the figures compared.
  TMainForm& form = Make("Interval=30000\r\n[Window]\r\nLeft=100\r\nTop=120\r\n");
  ASSERT_EQ(form.Layout().Density(), p);
  ASSERT_EQ(WindowDensity(form.Handle()), p);
  ExpectLaidOutFor(form, p);
  const std::string started = FiguresOf(form);
  const RECT started_bounds = BoundsOf(form.Handle());

  ChangeDensity(form.Handle(), q);
  ExpectLaidOutFor(form, q);
  EXPECT_EQ(BoundsOf(form.Handle()).left, started_bounds.left) << "the suggested place";
  // Saved at the other density, the file keeps the point size it had.
  form.SaveSettings();
  std::ifstream file(std::filesystem::path(form.IniPath()), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("Size=10\r\n"), std::string::npos) << text;

  ChangeDensity(form.Handle(), p);
  EXPECT_EQ(FiguresOf(form), started) << "back at " << p;
  const RECT back = BoundsOf(form.Handle());
  EXPECT_TRUE(::EqualRect(&back, &started_bounds));
}

// Snapping on and flush with the bottom-right corner: the meter stays flush through a change
// of density and back, wherever the system suggests the new size (here at the old top-left
// corner). A move that also resizes (as the change's move does) meets the edges by its own
// new size, not the one it had.
TEST_F(FrameTest, ASnappedMeterStaysFlushThroughAChangeOfDensityBothWays) {
  const char* ppi_name = std::getenv("RIPPLET_TEST_PPI");
  const int p = ppi_name ? std::atoi(ppi_name) : 96;
  const int q = p == 96 ? 144 : 96;
  TMainForm& form = Make("SnapWindow=1\r\nInterval=30000\r\n");
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  ::GetMonitorInfoW(::MonitorFromWindow(form.Handle(), MONITOR_DEFAULTTONEAREST), &info);
  const RECT wa = info.rcWork;
  const RECT start = BoundsOf(form.Handle());
  const LONG w = start.right - start.left;
  const LONG h = start.bottom - start.top;
  ::SetWindowPos(form.Handle(), nullptr, wa.right - w - 10, wa.bottom - h - 10, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
  const auto flush = [&] {
    const RECT r = BoundsOf(form.Handle());
    return r.right == wa.right && r.bottom == wa.bottom;
  };
  ASSERT_TRUE(flush());

  ChangeDensity(form.Handle(), q);
  ASSERT_EQ(form.Layout().Density(), q);
  EXPECT_NE(BoundsOf(form.Handle()).right - BoundsOf(form.Handle()).left, w) << "no new size";
  EXPECT_TRUE(flush()) << "at " << q;
  ChangeDensity(form.Handle(), p);
  EXPECT_TRUE(flush()) << "back at " << p;
  const RECT back = BoundsOf(form.Handle());
  EXPECT_EQ(back.right - back.left, w);
  EXPECT_EQ(back.bottom - back.top, h);

  // Moved and made 40 pixels wider at once, 5 pixels short of the right edge: flush by the
  // new width (measured by the old one, it would be 45 pixels away and stay there).
  ::SetWindowPos(form.Handle(), nullptr, wa.right - w - 45, back.top, w + 40, h, SWP_NOZORDER);
  EXPECT_EQ(BoundsOf(form.Handle()).right, wa.right);
  EXPECT_EQ(BoundsOf(form.Handle()).right - BoundsOf(form.Handle()).left, w + 40);
}

// A change of density that arrives while another is being applied (its move crossed yet
// another monitor) leaves the phase as it found it: the outer change's own resize is not
// taken for the user's, so the size the meter was given stays the one a round trip keeps.
HWND g_nest_window = nullptr;
int g_nest_density = 0;
bool g_nest_pending = false;

LRESULT CALLBACK NestAChange(int code, WPARAM wparam, LPARAM lparam) {
  const auto* call = reinterpret_cast<const CWPSTRUCT*>(lparam);
  if (code == HC_ACTION && g_nest_pending && call->hwnd == g_nest_window &&
      call->message == WM_WINDOWPOSCHANGING) {
    g_nest_pending = false;
    RECT here{};
    ::GetWindowRect(g_nest_window, &here);
    ::SendMessageW(g_nest_window, WM_DPICHANGED, MAKEWPARAM(g_nest_density, g_nest_density),
                   reinterpret_cast<LPARAM>(&here));
  }
  return ::CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST_F(FrameTest, AChangeOfDensityInsideAnotherKeepsTheSizeTheMeterWasGiven) {
  const char* ppi_name = std::getenv("RIPPLET_TEST_PPI");
  const int p = ppi_name ? std::atoi(ppi_name) : 96;
  const int q = p == 96 ? 144 : 96;
  TMainForm& form = Make("Interval=30000\r\n[Window]\r\nLeft=100\r\nTop=120\r\n");
  const SizedAt given = form.Frame().GivenSize();
  g_nest_window = form.Handle();
  g_nest_density = q;
  g_nest_pending = true;
  HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, &NestAChange, nullptr, ::GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  ChangeDensity(form.Handle(), q);
  ::UnhookWindowsHookEx(hook);
  EXPECT_FALSE(g_nest_pending) << "no change came inside the other";
  EXPECT_EQ(form.Layout().Density(), q);
  EXPECT_EQ(form.Frame().GivenSize(), given) << "a resize inside the change was taken as given";
  ChangeDensity(form.Handle(), p);
  ExpectLaidOutFor(form, p);
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
  EXPECT_TRUE(::IsWindowVisible(form.Handle())) << "the first pass only records the bounds";
  application_.RunIdle();
  EXPECT_FALSE(::IsWindowVisible(form.Handle()));

  // Out of the old area: the re-show timer wakes the idle step, not the 30 s sampling timer.
  ::SetCursorPos(r.right, r.top + 10);  // the right edge counts as outside
  const DWORD start = ::GetTickCount();
  while (!::IsWindowVisible(form.Handle()) && ::GetTickCount() - start < 2000) RunLoop(10);
  const DWORD took = ::GetTickCount() - start;
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
  EXPECT_TRUE(::IsWindowVisible(form.Handle())) << "Control held: the window stays";
  control(false);
  application_.RunIdle();
  EXPECT_FALSE(::IsWindowVisible(form.Handle())) << "released: the next pass hides it";
  ::SetCursorPos(0, 0);
  RunLoop(300);
}

TEST_F(FrameTest, TurningHideOffWhileHiddenShowsTheWindow) {
  TMainForm& form = Make("HideWindow=1\r\n");
  const RECT r = BoundsOf(form.Handle());
  ::SetCursorPos(r.left + 10, r.top + 10);
  application_.RunIdle();
  application_.RunIdle();
  ASSERT_FALSE(::IsWindowVisible(form.Handle()));
  form.CurrentSettings().HideWindow = false;
  form.ApplySettings();
  EXPECT_TRUE(::IsWindowVisible(form.Handle()))
      << "otherwise the meter stays invisible until restart";
  EXPECT_FALSE(application_.HasIdleHandler());
  ::SetCursorPos(0, 0);
}

// A plain window with a settle of its own, to see both platforms' behaviour.
class SettledWindow {
 public:
  explicit SettledWindow(bool undoes_foreign_moves) : settle_(undoes_foreign_moves) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &Procedure;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SettledWindow";
    ::RegisterClassW(&wc);  // the second time fails harmlessly
    hwnd_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"SettledWindow", L"settled", WS_POPUP, 100, 100,
                              60, 30, nullptr, nullptr, wc.hInstance, nullptr);
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~SettledWindow() { ::DestroyWindow(hwnd_); }
  HWND Handle() const { return hwnd_; }
  PositionSettle& Settle() { return settle_; }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<SettledWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self != nullptr && message == WM_WINDOWPOSCHANGED) {
      self->settle_.CheckMove(hwnd, *reinterpret_cast<const WINDOWPOS*>(lparam));
    }
    if (self != nullptr && message == WM_TIMER && wparam == PositionSettle::kTimerId) {
      self->settle_.End(hwnd);
    }
    return ::DefWindowProcW(hwnd, message, wparam, lparam);
  }
  PositionSettle settle_;
  HWND hwnd_ = nullptr;
};

// Where a window manager places the windows it maps (wine on X), the first move from outside
// after a show is undone, once; a move the program makes itself ends the settle and stays,
// and so does every later move. On Windows a move from outside is the user's and stays.
TEST_F(FrameTest, TheSettleAfterShowingUndoesOnlyTheWindowManagersMove) {
  {
    SettledWindow window(true);
    window.Settle().Show(window.Handle(), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(window.Settle().Pending());
    MoveFromOutside(application_, window.Handle(), 0, 0);
    EXPECT_EQ(PlaceOf(window.Handle()).x, 100) << "the window manager's move was kept";
    EXPECT_EQ(PlaceOf(window.Handle()).y, 100);
    MoveFromOutside(application_, window.Handle(), 150, 160);
    EXPECT_EQ(PlaceOf(window.Handle()).x, 150) << "undone twice";

    window.Settle().Show(window.Handle(), SW_SHOWNOACTIVATE);  // shown again: a new settle
    ::SetWindowPos(window.Handle(), nullptr, 300, 200, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);  // as a handler of ours
    EXPECT_FALSE(window.Settle().Pending()) << "the program's own move ends the settle";
    MoveFromOutside(application_, window.Handle(), 310, 210);
    EXPECT_EQ(PlaceOf(window.Handle()).x, 310);
  }
  SettledWindow on_windows(false);
  on_windows.Settle().Show(on_windows.Handle(), SW_SHOWNOACTIVATE);
  EXPECT_FALSE(on_windows.Settle().Pending());
  MoveFromOutside(application_, on_windows.Handle(), 150, 160);
  EXPECT_EQ(PlaceOf(on_windows.Handle()).x, 150) << "the user's Win+Arrow was undone";
  EXPECT_EQ(PlaceOf(on_windows.Handle()).y, 160);
}

// The system's messages come sent, while the loop takes its messages: the moves their
// handlers make within five seconds of a re-show are the program's own and stay.
TEST_F(FrameTest, AScreenChangeRightAfterAReShowKeepsTheMeterWhereItsHandlerPutIt) {
  TMainForm& form = Make("");
  const HWND hwnd = form.Handle();
  RECT area{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  const RECT outer = BoundsOf(hwnd);
  const LONG width = outer.right - outer.left;
  const LONG height = outer.bottom - outer.top;
  // Stranded by the user's own move, then shown again (as hide-on-hover does).
  const auto strand_and_reshow = [&] {
    ::SendMessageW(hwnd, WM_ENTERSIZEMOVE, 0, 0);
    ::SetWindowPos(hwnd, nullptr, area.right + 300, area.bottom + 200, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(hwnd, WM_EXITSIZEMOVE, 0, 0);
    form.Show();
  };
  const auto send = [&](UINT message, WPARAM wparam, LPARAM lparam) {
    FromOutside(application_, [=] {
      DWORD_PTR result = 0;
      ::SendMessageTimeoutW(hwnd, message, wparam, lparam, SMTO_ABORTIFHUNG, 5000, &result);
    });
  };

  strand_and_reshow();
  send(WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  EXPECT_EQ(PlaceOf(hwnd).x, area.right - width) << "the work-area change's move was undone";
  EXPECT_EQ(PlaceOf(hwnd).y, area.bottom - height);

  strand_and_reshow();
  send(WM_DISPLAYCHANGE, 32, MAKELPARAM(area.right, area.bottom));
  EXPECT_EQ(PlaceOf(hwnd).x, area.right - width) << "the display change's move was undone";

  strand_and_reshow();
  const int density = form.Layout().Density();
  RECT suggested{area.left + 40, area.top + 30, area.left + 40 + width, area.top + 30 + height};
  send(WM_DPICHANGED, MAKEWPARAM(density, density), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(PlaceOf(hwnd).x, suggested.left) << "the change of density's move was undone";
  EXPECT_EQ(PlaceOf(hwnd).y, suggested.top);
}

}  // namespace
}  // namespace ripplet
