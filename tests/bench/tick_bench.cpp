// Benchmark: the cost of one main-timer tick (sample, average, scroll and draw, repaint)
// against the bare platform work it cannot avoid: one GetIfEntry2 of the adapter by its
// LUID and the blit of the new 2-pixel slice.
// Both run in the same process, taking turns tick by tick, so the ratio is fair.
//   tick_bench [ticks-per-round] [rounds] [parts]
// Prints the median per-tick times and their ratio; with "parts", also what each piece of
// the tick costs on its own (the profile the tick's changes are weighed by).
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <netioapi.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "sampling/win_traffic_source.h"
#include "win32/win_application.h"
#include "win32/win_system_functions.h"

namespace {

double Now() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  using namespace ripplet;
  const int ticks = argc > 1 ? std::atoi(argv[1]) : 2000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 15;

  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::filesystem::path ini = std::filesystem::path(temp) / L"ripplet-bench.ini";
  std::ofstream(ini, std::ios::binary) << "[Settings]\r\nAdapterName=lo\r\nInterval=30000\r\n";

  Application application(L"Ripplet_bench");
  IpHelperTrafficSource source;
  TMainForm form(source, {L"ripplet.exe", L"x \"-i:" + ini.wstring() + L"\"", false});
  form.Create(application.Handle());
  form.Show();
  ::UpdateWindow(form.Handle());
  const LayoutRect g = form.Layout().Current().Graph;

  // lo's LUID, as the meter's watch holds it.
  const IfTableBuffer& table = form.TrafficSampler().Table();
  const auto lo = FindAdapter(table, "lo");
  NET_LUID luid{};
  if (!lo || ripplet::System().ConvertInterfaceIndexToLuid(table[*lo].Index, &luid) != NO_ERROR) {
    std::fprintf(stderr, "no interface lo\n");
    return 1;
  }
  if (!form.TrafficSampler().Watching()) std::fprintf(stderr, "warning: lo is not watched\n");
  HDC window_dc = ::GetDC(form.Handle());
  // After each, the message loop looks for a repaint and runs it if one is due, as a
  // program's loop does after every message: the same look on both sides. (UpdateWindow
  // here would cost a server round trip under wine even with nothing to repaint, about 39 us,
  // which no tick pays in the program.)
  const auto look_for_repaint = [&] {
    MSG m;
    if (::PeekMessageW(&m, form.Handle(), WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageW(&m);
  };
  const auto bare = [&] {
    MIB_IF_ROW2 row{};
    row.InterfaceLuid = luid;
    ripplet::System().GetIfEntry2(&row);
    form.Graph().BlitTo(window_dc, g.Left + g.Width - 2, g.Top, g.Width - 2, 0, 2, g.Height);
    look_for_repaint();
  };
  // On lo the rates stay 0, and a line held for the graph's width draws and shows nothing.
  // The tick measured against the floor is one that draws: the graph forgets its last
  // values first (three stores), as a line that moves would make it.
  auto& graph = const_cast<GraphBitmap&>(form.Graph());
  const auto tick = [&] {
    graph.ResetSeries();
    form.MainTimerTimer();
    look_for_repaint();  // the repaint the tick asked for, if it asked
  };
  const auto idle_tick = [&] {
    form.MainTimerTimer();
    look_for_repaint();
  };

  std::vector<double> tick_times, bare_times, ratios, idle_ratios;
  for (int round = 0; round < rounds + 1; ++round) {
    // The two sides take turns tick by tick, each first in every other pair: a slower
    // stretch of this shared machine falls on both alike, not on one side's whole block.
    const auto timed = [](auto&& piece) {
      const double t0 = Now();
      piece();
      return Now() - t0;
    };
    double bare_time = 0, tick_time = 0;
    for (int i = 0; i < ticks; ++i) {
      if (i % 2 == 0) {
        bare_time += timed(bare);
        tick_time += timed(tick);
      } else {
        tick_time += timed(tick);
        bare_time += timed(bare);
      }
    }
    bare_time /= ticks;
    tick_time /= ticks;
    for (int i = 0; i <= g.Width / 2 + 3; ++i) idle_tick();  // the line held over the width
    const double t0 = Now();
    for (int i = 0; i < ticks; ++i) idle_tick();
    const double idle_time = (Now() - t0) / ticks;
    if (round == 0) continue;  // warm-up
    bare_times.push_back(bare_time);
    tick_times.push_back(tick_time);
    ratios.push_back(tick_time / bare_time);
    idle_ratios.push_back(idle_time / bare_time);
  }
  std::printf("graph %dx%d, %d ticks x %d rounds\n", g.Width, g.Height, ticks, rounds);
  std::printf("bare platform work: %.2f us per tick (median)\n", Median(bare_times) * 1e6);
  std::printf("full tick:          %.2f us per tick (median)\n", Median(tick_times) * 1e6);
  std::printf("ratio:              %.3f (median of per-round ratios)\n", Median(ratios));
  std::printf("idle line's tick:   %.3f of the bare work (it draws and shows nothing)\n",
              Median(idle_ratios));
  if (argc > 3 && std::string(argv[3]) == "parts") {
    // Each piece alone, interleaved the same way: the read, the graph's own drawing (on a
    // bitmap of the same size), the whole graph's blit to the window and the slice's.
    GraphBitmap scratch;
    scratch.Reset(g.Width, g.Height, {0xC0C0C0, 0x808080, 0xFF0000, 0x0000FF}, g.Height / 2);
    int y = 0;
    const auto time = [&](auto&& piece) {
      const double t0 = Now();
      for (int i = 0; i < ticks; ++i) piece();
      return (Now() - t0) / ticks;
    };
    std::vector<double> read, draw, whole, slice, timer_only, update;
    for (int round = 0; round < rounds; ++round) {
      read.push_back(time([&] {
        MIB_IF_ROW2 row{};
        row.InterfaceLuid = luid;
        ripplet::System().GetIfEntry2(&row);
      }));
      draw.push_back(time([&] {
        y = (y + 7) % g.Height;
        scratch.Tick(y, g.Height - 1 - y);
      }));
      whole.push_back(time(
          [&] { MeterPainter::ShowGraph(form.Handle(), form.Layout().Current(), form.Graph()); }));
      timer_only.push_back(time([&] { form.MainTimerTimer(); }));
      update.push_back(time([&] { ::UpdateWindow(form.Handle()); }));
      slice.push_back(time([&] {
        form.Graph().BlitTo(window_dc, g.Left + g.Width - 2, g.Top, g.Width - 2, 0, 2, g.Height);
      }));
    }
    std::printf(
        "parts (medians, us): GetIfEntry2 %.2f, graph drawing %.2f, whole-graph blit %.2f, "
        "slice blit %.2f, MainTimerTimer alone %.2f, UpdateWindow alone %.2f\n",
        Median(read) * 1e6, Median(draw) * 1e6, Median(whole) * 1e6, Median(slice) * 1e6,
        Median(timer_only) * 1e6, Median(update) * 1e6);
  }
  ::ReleaseDC(form.Handle(), window_dc);
  std::filesystem::remove(ini);
  return 0;
}
