// Benchmark: the cost of one main-timer tick (sample, average, scroll and draw, repaint)
// against the bare platform work it cannot avoid: one GetIfEntry2 of the adapter by its
// LUID and the blit of the new 2-pixel slice.
// Both run in the same process, interleaved in rounds, so the ratio is fair.
//   tick_bench [ticks-per-round] [rounds]
// Prints the median per-tick times and their ratio.
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
  const auto bare = [&] {
    MIB_IF_ROW2 row{};
    row.InterfaceLuid = luid;
    ripplet::System().GetIfEntry2(&row);
    ::BitBlt(window_dc, g.Left + g.Width - 2, g.Top, 2, g.Height, form.Graph().Dc(), g.Width - 2, 0,
             SRCCOPY);
  };
  const auto tick = [&] {
    form.MainTimerTimer();
    ::UpdateWindow(form.Handle());  // the repaint the tick asked for
  };

  std::vector<double> tick_times, bare_times, ratios;
  for (int round = 0; round < rounds + 1; ++round) {
    double t0 = Now();
    for (int i = 0; i < ticks; ++i) bare();
    const double bare_time = (Now() - t0) / ticks;
    t0 = Now();
    for (int i = 0; i < ticks; ++i) tick();
    const double tick_time = (Now() - t0) / ticks;
    if (round == 0) continue;  // warm-up
    bare_times.push_back(bare_time);
    tick_times.push_back(tick_time);
    ratios.push_back(tick_time / bare_time);
  }
  ::ReleaseDC(form.Handle(), window_dc);
  std::printf("graph %dx%d, %d ticks x %d rounds\n", g.Width, g.Height, ticks, rounds);
  std::printf("bare platform work: %.2f us per tick (median)\n", Median(bare_times) * 1e6);
  std::printf("full tick:          %.2f us per tick (median)\n", Median(tick_times) * 1e6);
  std::printf("ratio:              %.3f (median of per-round ratios)\n", Median(ratios));
  std::filesystem::remove(ini);
  return 0;
}
