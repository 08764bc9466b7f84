// Benchmark: cold start to first paint. Starts a program, waits until its message queue
// first goes idle after start-up (WaitForInputIdle: the window is created, shown and
// painted), and reports the time; the same for the minimal window program, interleaved.
// Also the private bytes and working set of each after start, and the ratios of the two.
//   start_bench <ripplet.exe> <minimal_window.exe> [runs]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring WinePath(const char* unix_path) {
  std::wstring out = L"Z:";
  for (const char* p = unix_path; *p; ++p) out += (*p == '/') ? L'\\' : static_cast<wchar_t>(*p);
  return out;
}

double Now() {
  LARGE_INTEGER f, c;
  ::QueryPerformanceFrequency(&f);
  ::QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

struct Run {
  double Seconds;
  double PrivateBytes;
  double WorkingSet;
};

BOOL CALLBACK CloseWindowsOf(HWND hwnd, LPARAM pid) {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(hwnd, &owner);
  if (owner == static_cast<DWORD>(pid)) ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
  return TRUE;
}

Run Start(const std::wstring& exe, const std::wstring& args) {
  std::wstring command = L"\"" + exe + L"\" " + args;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  const double t0 = Now();
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi)) {
    std::fprintf(stderr, "cannot start %ls\n", exe.c_str());
    std::exit(1);
  }
  ::WaitForInputIdle(pi.hProcess, 20000);
  const double took = Now() - t0;
  ::Sleep(300);
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof(pmc);
  ::GetProcessMemoryInfo(pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc),
                         sizeof(pmc));
  ::EnumWindows(&CloseWindowsOf, static_cast<LPARAM>(pi.dwProcessId));
  if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) {
    ::TerminateProcess(pi.hProcess, 1);
  }
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  // Wine reports committed private memory as the page-file usage and leaves PrivateUsage 0.
  return {took, static_cast<double>(pmc.PrivateUsage != 0 ? pmc.PrivateUsage : pmc.PagefileUsage),
          static_cast<double>(pmc.WorkingSetSize)};
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: start_bench <ripplet.exe> <minimal_window.exe> [runs]\n");
    return 2;
  }
  const std::wstring meter = WinePath(argv[1]);
  const std::wstring minimal = WinePath(argv[2]);
  const int runs = argc > 3 ? std::atoi(argv[3]) : 9;
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::wstring ini = std::wstring(temp) + L"ripplet-start-bench.ini";
  HANDLE f = ::CreateFileW(ini.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  const char body[] = "[Settings]\r\nAdapterName=lo\r\n";
  DWORD written = 0;
  ::WriteFile(f, body, sizeof(body) - 1, &written, nullptr);
  ::CloseHandle(f);

  std::vector<double> meter_times, minimal_times, ratios;
  std::vector<double> meter_private, minimal_private, meter_set, minimal_set;
  Start(meter, L"\"-i:" + ini + L"\"");  // warm the file cache
  Start(minimal, L"");
  for (int i = 0; i < runs; ++i) {
    const Run m = Start(meter, L"\"-i:" + ini + L"\"");
    const Run y = Start(minimal, L"");
    meter_times.push_back(m.Seconds);
    minimal_times.push_back(y.Seconds);
    ratios.push_back(m.Seconds / y.Seconds);
    meter_private.push_back(m.PrivateBytes);
    minimal_private.push_back(y.PrivateBytes);
    meter_set.push_back(m.WorkingSet);
    minimal_set.push_back(y.WorkingSet);
  }
  ::DeleteFileW(ini.c_str());
  std::printf("start to first paint, median of %d: meter %.1f ms, minimal window %.1f ms\n", runs,
              Median(meter_times) * 1e3, Median(minimal_times) * 1e3);
  std::printf("ratio: %.3f (median of per-run ratios)\n", Median(ratios));
  const auto memory = [](const char* what, const std::vector<double>& of_meter,
                         const std::vector<double>& of_minimal) {
    std::printf("%s after start, medians: meter %.0f KiB, minimal window %.0f KiB, ratio %.3f\n",
                what, Median(of_meter) / 1024, Median(of_minimal) / 1024,
                Median(of_meter) / Median(of_minimal));
  };
  memory("private bytes", meter_private, minimal_private);
  memory("working set", meter_set, minimal_set);
  return 0;
}
