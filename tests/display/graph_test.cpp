// The graph bitmap's pixels, and the main window's tick: averaging, "-" on no data, and a
// tick that creates no GDI object and allocates nothing.
#include "display/win_graph.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <random>
#include <tuple>
#include <vector>

#include "app/main_form.h"
#include "display/graph_math.h"
#include "tests/sampling/fake_traffic_source.h"
#include "tests/support/gdi_objects.h"
#include "tests/support/in_place_source.h"
#include "tests/support/temp_dir.h"
#include "win32/win_application.h"

// Counts heap allocations, so a test can see that a tick makes none. (GCC cannot see that
// this operator new and delete are a matched malloc/free pair.)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
static std::atomic<long> g_allocations{0};
void* operator new(std::size_t n) {
  ++g_allocations;
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace ripplet {
namespace {

constexpr COLORREF kBack = RGB(192, 192, 192);
constexpr COLORREF kMiddle = RGB(128, 128, 128);
constexpr COLORREF kRecv = RGB(0, 0, 255);
constexpr COLORREF kSend = RGB(255, 0, 0);
constexpr GraphBitmap::Colours kColours{kBack, kMiddle, kRecv, kSend};

// DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
std::uint32_t Pixel(const GraphBitmap& g, int x, int y) { return g.Pixel(x, y); }
constexpr std::uint32_t Dib(COLORREF c) {
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

int ColumnOf(const GraphBitmap& g, int x, COLORREF c) {
  int found = -1;
  for (int y = 0; y < g.Height(); ++y) {
    if (Pixel(g, x, y) == Dib(c)) {
      found = y;
      break;
    }
  }
  return found;
}

TEST(GraphBitmap, ResetFillsTheBackgroundAndDrawsTheMiddleLine) {
  GraphBitmap g;
  g.Reset(241, 60, kColours, MiddleY(60, 900, 1000));
  for (int x : {0, 120, 240}) {
    EXPECT_EQ(Pixel(g, x, 6), Dib(kMiddle)) << x;
    EXPECT_EQ(Pixel(g, x, 5), Dib(kBack)) << x;
    EXPECT_EQ(Pixel(g, x, 59), Dib(kBack)) << x;
  }
}

TEST(GraphBitmap, SeriesLandWhereTheScaleSaysAndReceiveLiesOnTop) {
  GraphBitmap g;
  g.Reset(241, 60, kColours, MiddleY(60, 900, 1000));
  g.ResetSeries();
  // 900 display units (k at divisor 1000) is one row above the middle line.
  const auto recv_y = SeriesY(60, 900000, 1000, SeriesRange(false, 1000, 150));
  const auto send_y = SeriesY(60, 150000, 1000, SeriesRange(true, 1000, 150));
  ASSERT_EQ(recv_y, 5);
  ASSERT_EQ(send_y, -1) << "a rate of exactly the send range sits above the top";
  g.Tick(send_y, recv_y);
  // Both lines rise from the bottom row; the send line leaves at the top edge.
  EXPECT_EQ(Pixel(g, 240, 5), Dib(kRecv));
  EXPECT_EQ(ColumnOf(g, 240, kRecv), 5) << "nothing of the receive line above its value";
  EXPECT_EQ(Pixel(g, 240, 0), Dib(kSend));
  g.Tick(send_y, recv_y);  // level this time
  EXPECT_EQ(Pixel(g, 240, 5), Dib(kRecv));
  EXPECT_EQ(Pixel(g, 240, 6), Dib(kMiddle));
  EXPECT_EQ(ColumnOf(g, 240, kSend), -1) << "y -1 is clipped";

  // Both series at the same value: the receive line covers the send line.
  g.Tick(SeriesY(60, 150000, 1000, 1000), SeriesY(60, 150000, 1000, 1000));
  EXPECT_EQ(Pixel(g, 240, 50), Dib(kRecv));
}

TEST(GraphBitmap, ScrollMovesByExactlyTwoColumns) {
  GraphBitmap g;
  g.Reset(100, 60, kColours, MiddleY(60, 900, 1000));
  g.ResetSeries();
  g.Tick(std::nullopt, SeriesY(60, 500, 1, 1000));  // y 29
  ASSERT_EQ(Pixel(g, 99, 29), Dib(kRecv));
  g.Tick(std::nullopt, SeriesY(60, 500, 1, 1000));
  EXPECT_EQ(Pixel(g, 97, 29), Dib(kRecv));
  EXPECT_EQ(Pixel(g, 99, 29), Dib(kRecv));
  for (int i = 0; i < 3; ++i) g.Tick(std::nullopt, SeriesY(60, 0, 1, 1000));
  EXPECT_EQ(Pixel(g, 91, 29), Dib(kRecv)) << "column 99 after four more scrolls of 2";
  EXPECT_EQ(Pixel(g, 99, 59), Dib(kRecv)) << "a rate of 0 runs along the bottom row";
  EXPECT_EQ(Pixel(g, 98, 6), Dib(kMiddle)) << "the middle line is extended";
}

TEST(GraphBitmap, ASliceSlopesFromThePreviousPointAndBothSeriesLieOverTheMiddleLine) {
  GraphBitmap g;
  g.Reset(100, 60, kColours, MiddleY(60, 500, 1000));  // middle line at y 30
  g.ResetSeries();
  g.Tick(std::nullopt, 29);
  // From the previous point (97, 59), where the last slice ended before the scroll, to the
  // new one (99, 29): column 98 holds the middle of the slope, not a step at either end.
  EXPECT_EQ(Pixel(g, 97, 59), Dib(kRecv));
  EXPECT_EQ(Pixel(g, 98, 44), Dib(kRecv));
  EXPECT_EQ(ColumnOf(g, 99, kRecv), 29);
  EXPECT_NE(Pixel(g, 98, 59), Dib(kRecv)) << "a step at the old value";
  EXPECT_NE(Pixel(g, 98, 29), Dib(kRecv)) << "a step at the new value";
  EXPECT_EQ(Pixel(g, 98, 30), Dib(kMiddle)) << "the middle line runs on beside the slope";

  // Level on the middle line, each series covers it where it runs.
  g.Tick(30, 30);
  EXPECT_EQ(Pixel(g, 99, 30), Dib(kRecv));
  g.Tick(30, 10);
  EXPECT_EQ(Pixel(g, 99, 30), Dib(kSend));
}

TEST(GraphBitmap, AnUnusableScaleDrawsNoLinesButStillScrolls) {
  GraphBitmap g;
  g.Reset(50, 60, kColours, MiddleY(60, 900, 0));
  g.ResetSeries();
  g.Tick(SeriesY(60, 10, 1, 0), SeriesY(60, 10, 1, -5));
  for (int y = 0; y < 60; ++y) ASSERT_EQ(Pixel(g, 49, y), Dib(kBack)) << y;
}

// The plain model of the graph: one bitmap the graph's size, scrolled by two columns on
// every tick, the new slice drawn at its right edge.
class PlainScrollGraph {
 public:
  PlainScrollGraph(int width, int height, const GraphBitmap::Colours& c, std::optional<int> middle)
      : w_(width), h_(height), c_(c), middle_(middle) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    dc_ = ::CreateCompatibleDC(nullptr);
    bitmap_ = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = ::SelectObject(dc_, bitmap_);
    pixels_ = static_cast<const std::uint32_t*>(bits);
    ::SelectObject(dc_, ::GetStockObject(DC_PEN));
    ::SelectObject(dc_, ::GetStockObject(DC_BRUSH));
    Fill(0, w_);
    if (middle_) Line(0, w_, *middle_, c_.Middle);
    ::GdiFlush();
  }
  ~PlainScrollGraph() {
    ::SelectObject(dc_, old_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
  }
  void Tick(std::optional<int> send_y, std::optional<int> recv_y) {
    ::BitBlt(dc_, 0, 0, w_ - 2, h_, dc_, 2, 0, SRCCOPY);
    Fill(w_ - 2, w_);
    if (middle_) Line(w_ - 2, w_, *middle_, c_.Middle);
    Series(prev_send_, send_y, c_.Send);
    Series(prev_recv_, recv_y, c_.Recv);
    ::GdiFlush();
  }
  std::uint32_t Pixel(int x, int y) const { return pixels_[y * w_ + x]; }

 private:
  void Fill(int from, int to) {
    ::SetDCBrushColor(dc_, c_.Back);
    const RECT r{from, 0, to, h_};
    ::FillRect(dc_, &r, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
  }
  void Line(int from, int to, int y, COLORREF colour) {
    ::SetDCPenColor(dc_, colour);
    ::MoveToEx(dc_, from, y, nullptr);
    ::LineTo(dc_, to, y);
  }
  void Series(int& prev, std::optional<int> y, COLORREF colour) {
    if (!y) return;
    ::SetDCPenColor(dc_, colour);
    const POINT points[3] = {{w_ - 3, prev}, {w_ - 1, *y}, {w_, *y}};
    ::Polyline(dc_, points, 3);
    prev = *y;
  }
  int w_, h_;
  GraphBitmap::Colours c_;
  std::optional<int> middle_;
  int prev_send_ = h_ - 1, prev_recv_ = h_ - 1;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  const std::uint32_t* pixels_;
};

// Thousands of ticks of wild values (steep, level, off the top and bottom, no value, and
// values held for longer than the graph is wide, whose ticks draw nothing), with resets and
// changes of size between them: every pixel as the plain scroll has it.
TEST(GraphBitmap, ALongRunIsPixelForPixelThePlainScroll) {
  std::mt19937 random(20261209);
  int held_ticks = 0;
  std::optional<int> held;
  const auto value = [&](int h) -> std::optional<int> {
    if (held_ticks > 0) {
      --held_ticks;
      return held;
    }
    switch (random() % 9) {
      case 8:  // an idle line: both series held for up to 400 ticks
        held_ticks = static_cast<int>(random() % 800);
        held = static_cast<int>(random() % 2) == 0 ? std::optional<int>(h - 1) : std::nullopt;
        return held;
      case 0:
        return std::nullopt;
      case 1:
        return -1;
      case 2:
        return static_cast<int>(random() % 2) == 0 ? -kGraphYLimit : kGraphYLimit;
      case 3:
        return h - 1;
      default:
        return static_cast<int>(random() % static_cast<unsigned>(h + 20)) - 10;
    }
  };
  GraphBitmap graph;
  int unchanged_ticks = 0;
  for (const auto& [w, h, ticks] : {std::tuple{267, 65, 3000},
                                    {241, 60, 500},
                                    {241, 60, 700},
                                    {13, 100, 300},
                                    {400, 7, 1000}}) {
    const std::optional<int> middle = h / 3;
    graph.Reset(w, h, kColours, middle);
    graph.ResetSeries();
    PlainScrollGraph plain(w, h, kColours, middle);
    int mismatches = 0;
    for (int t = 1; t <= ticks; ++t) {
      const auto send = value(h);
      const auto recv = value(h);
      unchanged_ticks += !graph.Tick(send, recv);
      plain.Tick(send, recv);
      for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) mismatches += graph.Pixel(x, y) != plain.Pixel(x, y);
      }
      ASSERT_EQ(mismatches, 0) << w << "x" << h << " after " << t << " ticks";
    }
  }
  EXPECT_GT(unchanged_ticks, 500);  // the idle stretches took the path that draws nothing
}

class MainFormTickTest : public ::testing::Test {
 protected:
  MainFormTickTest() : application_(L"Ripplet_test") { source_.Rows = {{"lo", 0, 0}}; }
  std::unique_ptr<TMainForm> MakeForm(const std::string& settings) {
    return MakeForm(settings, source_);
  }
  std::unique_ptr<TMainForm> MakeForm(const std::string& settings, TrafficSource& source,
                                      bool sample_after_first_paint = false) {
    const std::wstring ini = dir_.File(L"tick.ini");
    std::ofstream(std::filesystem::path(ini), std::ios::binary)
        << "[Settings]\r\nAdapterName=lo\r\n"
        << settings;
    auto form = std::make_unique<TMainForm>(
        source, TMainForm::Startup{dir_.File(L"ripplet.exe"), L"x \"-i:" + ini + L"\"", false,
                                   sample_after_first_paint});
    form->Create(application_.Handle());
    return form;
  }
  void Tick(TMainForm& form, std::uint32_t recv, std::uint32_t send) {
    source_.Tick += 1000;
    source_.Rows[0].In += recv;
    source_.Rows[0].Out += send;
    form.MainTimerTimer();
  }

  Application application_;
  testing::FakeTrafficSource source_;
  testing::TempDir dir_;
};

TEST_F(MainFormTickTest, ValuesShowTheAverageOfValueIntervalDataTicks) {
  auto form = MakeForm("ValueInterval=3\r\n");
  Tick(*form, 100000, 1000);
  EXPECT_EQ(form->Layout().RecvText(), L"-") << "unchanged until the third data tick";
  source_.Rows.clear();  // no data in the middle of an average
  source_.Tick += 1000;
  form->MainTimerTimer();
  EXPECT_EQ(form->Layout().RecvText(), L"-");
  source_.Rows = {{"lo", 100000, 1000}};
  Tick(*form, 0, 0);  // the first sample after the gap is a new baseline: no rate
  EXPECT_EQ(form->Layout().RecvText(), L"-");
  Tick(*form, 200000, 2000);
  Tick(*form, 301000, 3000);
  EXPECT_EQ(form->Layout().RecvText(), L"200.33k");  // (100000 + 200000 + 301000) / 3
  EXPECT_EQ(form->Layout().SendText(), L"2.00k");
}

// The real program paints its first picture before it reads the interface table; the
// baseline it then takes makes the first tick's rates exact all the same.
TEST_F(MainFormTickTest, AtStartTheAdapterIsLookedUpJustAfterTheFirstPaint) {
  auto form = MakeForm("ValueInterval=1\r\n", source_, true);
  form->Show();
  ::UpdateWindow(form->Handle());
  EXPECT_EQ(source_.TableReads, 0) << "nothing read before the first picture is up";
  EXPECT_FALSE(form->TrafficSampler().Watching());
  for (int i = 0; i < 500 && source_.TableReads == 0; ++i) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::Sleep(10);
  }
  EXPECT_EQ(source_.TableReads, 1) << "one read of the table finds the adapter and its baseline";
  EXPECT_TRUE(form->TrafficSampler().Watching());
  Tick(*form, 1000, 500);
  EXPECT_EQ(form->Layout().RecvText(), L"1.00k") << "the first tick has its rate";
  EXPECT_EQ(form->Layout().SendText(), L"0.50k");

  // Never painted (shown nowhere): the first tick takes the baseline, the next has a rate.
  auto hidden = MakeForm("ValueInterval=1\r\n", source_, true);
  Tick(*hidden, 1000, 500);
  EXPECT_EQ(hidden->Layout().RecvText(), L"-");
  EXPECT_TRUE(hidden->MainTimerRunning());
  Tick(*hidden, 3000, 500);
  EXPECT_EQ(hidden->Layout().RecvText(), L"3.00k");
}

TEST_F(MainFormTickTest, TheDecimalSeparatorIsReadAgainWhenTheSystemAnnouncesAChange) {
  auto form = MakeForm("");
  const LCID before = ::GetThreadLocale();
  ::SetThreadLocale(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT));
  ::SendMessageW(form->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
  Tick(*form, 1234, 0);
  EXPECT_EQ(form->Layout().RecvText(), L"1.23k");
  ::SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
  Tick(*form, 1234, 0);
  EXPECT_EQ(form->Layout().RecvText(), L"1.23k") << "read at start-up and on announcements only";
  ::SendMessageW(form->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
  Tick(*form, 1234, 0);
  EXPECT_EQ(form->Layout().RecvText(), L"1,23k");
  ::SetThreadLocale(before);
}

TEST_F(MainFormTickTest, ATickCreatesNoGdiObjectAndAllocatesNothing) {
  testing::InPlaceSource source;
  auto form = MakeForm("ValueInterval=1000000\r\n", source);
  const auto tick = [&](std::uint32_t recv, std::uint32_t send) {
    source.Add(recv, send);
    form->MainTimerTimer();
  };
  const auto creatable = [] { return testing::CreatableGdiObjects(); };
  tick(1000, 1000);
  const auto before = creatable();
  ASSERT_LT(before, 70000u) << "the count must reach the handle table's limit to mean anything";
  const long allocations = g_allocations;
  for (int i = 0; i < 100000; ++i) tick(5000, 700);
  EXPECT_EQ(g_allocations - allocations, 0) << "the tick allocated";
  EXPECT_EQ(creatable(), before) << "the tick leaked GDI objects";
  const int h = form->Graph().Height();
  ASSERT_GT(h, 0);
  EXPECT_EQ(form->Graph().Pixel(form->Graph().Width() - 1, h - 1), Dib(RGB(0, 0, 255)))
      << "still drawing: 5 B/s is 0.005k, on the bottom row";
}

}  // namespace
}  // namespace ripplet
