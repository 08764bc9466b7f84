// The real meter read the way a screen reader reads it: from another process, through
// Active Accessibility (AccessibleObjectFromWindow on its main window), under real loopback
// traffic, with a WinEvent hook that hears each value change.
// Windows' headers in the order IP Helper needs, and its functions bound at run time.
#include "win32/win_system_functions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/child_process.h"
#include "tests/support/tcp_pair.h"
#include "tests/support/temp_dir.h"

namespace ripplet {
namespace {

using testing::ChildProcess;
using testing::TempDir;

constexpr LONG kSelf = CHILDID_SELF, kGraph = 1, kRecv = 2, kSend = 3;

VARIANT Child(LONG id) {
  VARIANT v;
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

std::wstring Take(BSTR text) {
  std::wstring s = text != nullptr ? std::wstring(text, ::SysStringLen(text)) : L"";
  ::SysFreeString(text);
  return s;
}

// One reference, released at the end of the scope.
struct Tree {
  IAccessible* Acc = nullptr;
  ~Tree() {
    if (Acc != nullptr) Acc->Release();
  }
  std::wstring Name(LONG id) const {
    BSTR s = nullptr;
    EXPECT_EQ(Acc->get_accName(Child(id), &s), S_OK) << id;
    return Take(s);
  }
  std::wstring Value(LONG id) const {
    BSTR s = nullptr;
    EXPECT_EQ(Acc->get_accValue(Child(id), &s), S_OK) << id;
    return Take(s);
  }
  std::wstring Description(LONG id) const {
    BSTR s = nullptr;
    EXPECT_EQ(Acc->get_accDescription(Child(id), &s), S_OK) << id;
    return Take(s);
  }
  LONG Role(LONG id) const {
    VARIANT v{};
    EXPECT_EQ(Acc->get_accRole(Child(id), &v), S_OK) << id;
    return v.vt == VT_I4 ? v.lVal : -1;
  }
  LONG State(LONG id) const {
    VARIANT v{};
    EXPECT_EQ(Acc->get_accState(Child(id), &v), S_OK) << id;
    return v.vt == VT_I4 ? v.lVal : -1;
  }
  RECT Location(LONG id) const {
    LONG x = 0, y = 0, w = 0, h = 0;
    EXPECT_EQ(Acc->accLocation(&x, &y, &w, &h, Child(id)), S_OK) << id;
    return {x, y, x + w, y + h};
  }
  // The child id under a screen point; -1 outside the client area.
  LONG HitTest(LONG x, LONG y) const {
    VARIANT v{};
    const HRESULT result = Acc->accHitTest(x, y, &v);
    EXPECT_TRUE(result == S_OK || result == S_FALSE);
    return v.vt == VT_I4 ? v.lVal : -1;
  }
};

// A copy of the screen, read as the user sees it.
class Screen {
 public:
  Screen() {
    width_ = ::GetSystemMetrics(SM_CXSCREEN);
    height_ = ::GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width_, height_, screen, 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    pixels_.assign(p, p + static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
  }
  COLORREF At(int x, int y) const {
    const std::uint32_t p = pixels_[static_cast<std::size_t>(y * width_ + x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // How many pixels of `colour` lie in the rectangle.
  int Count(const RECT& r, COLORREF colour) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
      for (int x = r.left; x < r.right; ++x) n += At(x, y) == colour;
    }
    return n;
  }

 private:
  int width_, height_;
  std::vector<std::uint32_t> pixels_;
};

// Octets received on lo so far, as the meter reads them (the low 32 bits are enough for a
// difference over a second).
std::uint32_t LoopbackInOctets() {
  ULONG size = 0;
  ripplet::System().GetIfTable(nullptr, &size, FALSE);
  std::vector<unsigned char> buffer(size);
  auto* table = reinterpret_cast<MIB_IFTABLE*>(buffer.data());
  if (ripplet::System().GetIfTable(table, &size, FALSE) != NO_ERROR) return 0;
  for (DWORD i = 0; i < table->dwNumEntries; ++i) {
    const MIB_IFROW& row = table->table[i];
    if (std::string(reinterpret_cast<const char*>(row.bDescr), row.dwDescrLen).c_str() ==
        std::string("lo")) {
      return row.dwInOctets;
    }
  }
  return 0;
}

double Seconds() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// "1953.12k" in bytes per second.
double RateOf(std::wstring text) {
  for (wchar_t& c : text) {
    if (c == L',') c = L'.';
  }
  wchar_t* end = nullptr;
  double value = std::wcstod(text.c_str(), &end);
  if (end != nullptr && *end == L'k') value *= 1000;
  if (end != nullptr && *end == L'M') value *= 1000000;
  return value;
}

// What the hook heard: each change of the receive value, when, and lo's counter then.
struct ValueChange {
  double At;
  std::uint32_t InOctets;
  std::wstring Text;
};
struct Heard {
  HWND Meter = nullptr;
  IAccessible* Acc = nullptr;
  std::vector<ValueChange> Changes;
  int OtherChildren = 0;  // changes of the send value
} g_heard;

void CALLBACK OnValueChange(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD,
                            DWORD) {
  if (event != EVENT_OBJECT_VALUECHANGE || hwnd != g_heard.Meter || object != OBJID_CLIENT) return;
  if (child != kRecv) {
    ++g_heard.OtherChildren;
    return;
  }
  const double at = Seconds();
  const std::uint32_t octets = LoopbackInOctets();
  BSTR text = nullptr;
  g_heard.Acc->get_accValue(Child(kRecv), &text);
  g_heard.Changes.push_back({at, octets, Take(text)});
}

// Loopback traffic at a steady pace from a thread of its own, until stopped.
class SteadyTraffic {
 public:
  explicit SteadyTraffic(int bytes_per_20ms) {
    if (!testing::Connect(pair_)) return;
    receiver_ = std::thread([this] {
      std::vector<char> buffer(256 * 1024);
      while (::recv(pair_.Receiver.get(), buffer.data(), static_cast<int>(buffer.size()), 0) > 0) {
      }
    });
    sender_ = std::thread([this, bytes_per_20ms] {
      const std::vector<char> chunk(static_cast<std::size_t>(bytes_per_20ms), 'x');
      const double start = Seconds();
      for (int i = 0; !stop_; ++i) {
        // Paced against the clock, so a late wake-up does not lower the rate.
        while (!stop_ && Seconds() < start + i * 0.02) ::Sleep(1);
        ::send(pair_.Sender.get(), chunk.data(), static_cast<int>(chunk.size()), 0);
      }
      ::shutdown(pair_.Sender.get(), SD_SEND);
    });
  }
  ~SteadyTraffic() {
    stop_ = true;
    if (sender_.joinable()) sender_.join();
    if (receiver_.joinable()) receiver_.join();
  }
  bool Running() const { return sender_.joinable(); }

 private:
  testing::TcpPair pair_;
  std::atomic<bool> stop_{false};
  std::thread receiver_, sender_;
};

void PumpFor(double seconds) {
  const double end = Seconds() + seconds;
  while (Seconds() < end) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

// Pumps until `condition` holds, for 10 s at most (a loaded machine is slow to answer).
template <class Condition>
bool WaitUntilTrue(Condition condition) {
  const double end = Seconds() + 10;
  while (!condition()) {
    if (Seconds() > end) return false;
    PumpFor(0.05);
  }
  return true;
}

class AccessibleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    WSADATA data;
    ASSERT_EQ(::WSAStartup(MAKEWORD(2, 2), &data), 0);
    const std::wstring program = testing::ProgramUnderTest();
    ASSERT_FALSE(program.empty()) << "usage: e2e_accessible <path of ripplet.exe>";
    exe_ = dir_.File(L"meter.exe");
    ASSERT_TRUE(::CopyFileW(program.c_str(), exe_.c_str(), TRUE));
  }
  void TearDown() override {
    child_.Kill();
    ::WSACleanup();
    ::CoUninitialize();
  }

  // Starts the meter on `ini` and reads its client object as a screen reader would.
  HWND Launch(const char* ini, Tree& tree) {
    std::ofstream(std::filesystem::path(dir_.File(L"meter.ini")), std::ios::binary) << ini;
    EXPECT_TRUE(child_.Start(exe_, L"", dir_.Path().wstring()));
    HWND meter = child_.WaitForVisibleWindow(L"TMainForm", 10000);
    EXPECT_NE(meter, nullptr);
    if (meter == nullptr) return nullptr;
    EXPECT_EQ(
        ::AccessibleObjectFromWindow(meter, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                     reinterpret_cast<void**>(&tree.Acc)),
        S_OK);
    return tree.Acc != nullptr ? meter : nullptr;
  }

  TempDir dir_;
  std::wstring exe_;
  ChildProcess child_;
};

TEST_F(AccessibleTest, AReaderFindsThePartsWherePaintedAndHearsTheLiveRate) {
  Tree tree;
  HWND meter = Launch("[Settings]\r\nAdapterName=lo\r\nInterval=500\r\nValueInterval=2\r\n", tree);
  ASSERT_NE(meter, nullptr);
  IAccessible* acc = tree.Acc;

  LONG count = 0;
  EXPECT_EQ(acc->get_accChildCount(&count), S_OK);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(tree.Role(CHILDID_SELF), ROLE_SYSTEM_PANE);
  EXPECT_EQ(tree.Name(CHILDID_SELF), L"Ripplet");
  EXPECT_EQ(tree.Role(kGraph), ROLE_SYSTEM_CHART);
  EXPECT_EQ(tree.Name(kGraph), L"グラフ");
  // The values are read-only texts: a reader that goes through UI Automation gives them a
  // value. The caption is the name, the rate the value, the unit in words the description.
  EXPECT_EQ(tree.Role(kRecv), ROLE_SYSTEM_TEXT);
  EXPECT_EQ(tree.Name(kRecv), L"受信:");
  EXPECT_EQ(tree.Role(kSend), ROLE_SYSTEM_TEXT);
  EXPECT_EQ(tree.Name(kSend), L"送信:");
  for (LONG id : {kRecv, kSend}) {
    EXPECT_NE(tree.State(id) & STATE_SYSTEM_READONLY, 0) << id;
    EXPECT_EQ(tree.Description(id), L"キロバイト毎秒") << id;
  }
  for (LONG id : {kSelf, kGraph, kRecv, kSend}) {
    EXPECT_EQ(tree.State(id) & STATE_SYSTEM_INVISIBLE, 0) << id;
  }
  // The client, where a reader lands, says both rates; no description is a number pattern.
  const std::wstring summary = tree.Description(kSelf);
  EXPECT_EQ(summary.find(L"受信: "), 0u) << std::string(summary.begin(), summary.end());
  EXPECT_NE(summary.find(L"、送信: "), std::wstring::npos);
  EXPECT_NE(summary.find(L"キロバイト毎秒"), std::wstring::npos);
  for (LONG id : {kSelf, kRecv, kSend}) {
    EXPECT_EQ(tree.Description(id).find(L"/秒"), std::wstring::npos) << id;
  }
  for (LONG id : {kRecv, kSend}) {
    EXPECT_EQ(tree.Description(id).find(L"0.00"), std::wstring::npos) << id;
  }

  // A reader asks the client to take the focus: the meter comes to the front, focused.
  EXPECT_EQ(acc->accSelect(SELFLAG_TAKEFOCUS, Child(kSelf)), S_OK);
  EXPECT_TRUE(WaitUntilTrue([&] { return (tree.State(kSelf) & STATE_SYSTEM_FOCUSED) != 0; }));
  EXPECT_EQ(::GetForegroundWindow(), meter);
  // Nothing here can be selected, and the parts take no focus of their own.
  EXPECT_EQ(acc->accSelect(SELFLAG_TAKESELECTION, Child(kSelf)), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(acc->accSelect(SELFLAG_TAKEFOCUS, Child(kRecv)), DISP_E_MEMBERNOTFOUND);
  // The children in order, as a reader walks them.
  VARIANT next{};
  EXPECT_EQ(acc->accNavigate(NAVDIR_FIRSTCHILD, Child(CHILDID_SELF), &next), S_OK);
  EXPECT_EQ(next.lVal, kGraph);
  EXPECT_EQ(acc->accNavigate(NAVDIR_NEXT, Child(kGraph), &next), S_OK);
  EXPECT_EQ(next.lVal, kRecv);
  EXPECT_EQ(acc->accNavigate(NAVDIR_NEXT, Child(kRecv), &next), S_OK);
  EXPECT_EQ(next.lVal, kSend);
  EXPECT_EQ(acc->accNavigate(NAVDIR_NEXT, Child(kSend), &next), S_FALSE);

  // Each place is where the screen shows the part: the client area; the graph inside its
  // lowered frame; each value's text inside its box and none beside it.
  PumpFor(0.5);
  POINT origin{0, 0};
  ::ClientToScreen(meter, &origin);
  RECT client{};
  ::GetClientRect(meter, &client);
  const RECT self = tree.Location(CHILDID_SELF);
  const RECT shown{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
  EXPECT_TRUE(::EqualRect(&self, &shown));
  RECT graph{}, recv{}, send{};
  for (int attempt = 0; attempt < 3; ++attempt) {  // a value update between reads moves a text
    graph = tree.Location(kGraph);
    recv = tree.Location(kRecv);
    send = tree.Location(kSend);
    const Screen screen;
    const RECT recv_after = tree.Location(kRecv), send_after = tree.Location(kSend);
    if (!::EqualRect(&recv, &recv_after) || !::EqualRect(&send, &send_after)) continue;
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    const int w = graph.right - graph.left, h = graph.bottom - graph.top;
    EXPECT_GT(w, 100);
    EXPECT_GT(h, 20);
    EXPECT_EQ(screen.Count({graph.left, graph.top - 1, graph.right, graph.top}, shadow), w);
    EXPECT_EQ(screen.Count({graph.left - 1, graph.top, graph.left, graph.bottom}, shadow), h);
    EXPECT_EQ(screen.Count({graph.left, graph.bottom, graph.right, graph.bottom + 1}, light), w);
    EXPECT_EQ(screen.Count({graph.right, graph.top, graph.right + 1, graph.bottom}, light), h);
    const COLORREF ink = ::GetSysColor(COLOR_WINDOWTEXT);
    for (const RECT& r : {recv, send}) {
      EXPECT_GT(r.left, graph.right);
      EXPECT_EQ(r.right, origin.x + client.right - 3);
      // At least the five pixels of "-": the first tick may not have come yet.
      EXPECT_GE(screen.Count(r, ink), 5);
      EXPECT_EQ(screen.Count({r.left - 3, r.top, r.left, r.bottom}, ink), 0);
      EXPECT_EQ(screen.Count({r.right, r.top, r.right + 3, r.bottom}, ink), 0);
    }
    break;
  }
  // What lies under a point: each part at its middle, the pane between them, nothing outside.
  for (const auto& [id, r] : {std::pair{kGraph, graph}, {kRecv, recv}, {kSend, send}}) {
    EXPECT_EQ(tree.HitTest((r.left + r.right) / 2, (r.top + r.bottom) / 2), id);
  }
  EXPECT_EQ(tree.HitTest(origin.x + 1, origin.y + 1), CHILDID_SELF);
  EXPECT_EQ(tree.HitTest(origin.x - 5, origin.y + 5), -1);

  // About 2 MB/s on lo, and a hook in this process that hears every value change.
  g_heard = {meter, acc, {}, 0};
  DWORD pid = 0;
  ::GetWindowThreadProcessId(meter, &pid);
  HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE,
                                         nullptr, &OnValueChange, pid, 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  double traffic_start = 0;
  // A pair of updates a second apart, once the traffic has run for 1.5 s: the one to compare.
  const auto comparable = [&](std::size_t k) {
    const ValueChange& before = g_heard.Changes[k - 1];
    const double seconds = g_heard.Changes[k].At - before.At;
    return before.At >= traffic_start + 1.5 && seconds >= 0.75 && seconds <= 1.25;
  };
  const auto heard_enough = [&] {
    if (g_heard.OtherChildren == 0) return false;
    for (std::size_t k = 1; k < g_heard.Changes.size(); ++k) {
      if (comparable(k)) return true;
    }
    return false;
  };
  {
    SteadyTraffic traffic(40000);
    ASSERT_TRUE(traffic.Running());
    traffic_start = Seconds();
    // Waited for, not counted in a fixed time: a loaded machine delays ticks and hooks.
    const double limit = traffic_start + 60;
    while (!heard_enough() && Seconds() < limit) PumpFor(0.25);
  }
  ::UnhookWinEvent(hook);

  // Each update shows the average over two ticks of 500 ms, and the update before it came two
  // ticks earlier: the counter's growth between the two hooks is what the meter averaged.
  // The hook hears a change a little after the meter made it, the same little on both ends;
  // a fifth either way leaves room for that and for the pace of the traffic under load.
  ASSERT_GE(g_heard.Changes.size(), 2u) << "the hook heard too few value changes";
  EXPECT_GT(g_heard.OtherChildren, 0) << "no change of the send value was heard";
  int compared = 0;
  for (std::size_t k = 1; k < g_heard.Changes.size(); ++k) {
    if (!comparable(k)) continue;
    const ValueChange& before = g_heard.Changes[k - 1];
    const ValueChange& now = g_heard.Changes[k];
    const double seconds = now.At - before.At;
    const double counted = static_cast<std::uint32_t>(now.InOctets - before.InOctets) / seconds;
    const double shown_rate = RateOf(now.Text);
    EXPECT_GT(counted, 1.5e6);
    EXPECT_NEAR(shown_rate, counted, counted / 5);
    std::printf("shown %.0f B/s, counted %.0f B/s over %.3f s\n", shown_rate, counted, seconds);
    ++compared;
  }
  EXPECT_GE(compared, 1) << "no two updates a second apart while the traffic ran";
}

TEST_F(AccessibleTest, WithValuesHiddenTheValuesAreInvisibleAndTheGraphTakesTheirPlace) {
  Tree tree;
  HWND meter = Launch("[Settings]\r\nAdapterName=lo\r\nShowValue=0\r\n", tree);
  ASSERT_NE(meter, nullptr);
  EXPECT_EQ(tree.State(kGraph) & STATE_SYSTEM_INVISIBLE, 0);
  for (LONG id : {kRecv, kSend}) {
    EXPECT_NE(tree.State(id) & STATE_SYSTEM_INVISIBLE, 0) << id;
    const RECT r = tree.Location(id);
    EXPECT_EQ(tree.HitTest((r.left + r.right) / 2, (r.top + r.bottom) / 2), kGraph) << id;
  }
  EXPECT_EQ(tree.Name(kRecv), L"受信:");
  EXPECT_FALSE(tree.Value(kRecv).empty());  // still answered
}

}  // namespace
}  // namespace ripplet
