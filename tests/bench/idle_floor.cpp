// The yardstick for idle CPU: a window whose 1000 ms timer does only what a meter's tick
// cannot avoid, one GetIfEntry2 of the adapter by its LUID and the blit of a 2-pixel slice.
// With "follow", also what following the default route cannot avoid: every 2 s the interface
// table, the routing table and the interfaces' metrics read once each.
//   idle_floor [adapter [follow]]   (the adapter's description or alias; lo by default)
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <ws2tcpip.h>
#include <iphlpapi.h>
#include <netioapi.h>
// clang-format on

#include "win32/win_system_functions.h"

#include <cstdlib>
#include <cwchar>

namespace {

// The meter's graph at its default size.
constexpr int kGraphWidth = 267;
constexpr int kGraphHeight = 65;

NET_LUID g_luid{};
bool g_follow = false;
unsigned g_ticks = 0;
HDC g_window_dc = nullptr;
HDC g_graph_dc = nullptr;

bool FindAdapter(const wchar_t* name) {
  MIB_IF_TABLE2* table = nullptr;
  if (ripplet::System().GetIfTable2(&table) != NO_ERROR) return false;
  bool found = false;
  for (ULONG i = 0; i < table->NumEntries && !found; ++i) {
    const MIB_IF_ROW2& row = table->Table[i];
    if (std::wcscmp(row.Description, name) == 0 || std::wcscmp(row.Alias, name) == 0) {
      g_luid = row.InterfaceLuid;
      found = true;
    }
  }
  ripplet::System().FreeMibTable(table);
  return found;
}

// The automatic adapter's paced re-check: the same three reads the meter makes.
void FollowLookups() {
  const ripplet::SystemFunctions& system = ripplet::System();
  MIB_IF_TABLE2* interfaces = nullptr;
  if (system.GetIfTable2(&interfaces) == NO_ERROR) system.FreeMibTable(interfaces);
  MIB_IPFORWARD_TABLE2* routes = nullptr;
  if (system.GetIpForwardTable2 && system.GetIpForwardTable2(AF_UNSPEC, &routes) == NO_ERROR) {
    system.FreeMibTable(routes);
  }
  MIB_IPINTERFACE_TABLE* metrics = nullptr;
  if (system.GetIpInterfaceTable && system.GetIpInterfaceTable(AF_UNSPEC, &metrics) == NO_ERROR) {
    system.FreeMibTable(metrics);
  }
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_TIMER: {
      MIB_IF_ROW2 row{};
      row.InterfaceLuid = g_luid;
      ripplet::System().GetIfEntry2(&row);
      if (g_follow && ++g_ticks % 2 == 0) FollowLookups();
      ::BitBlt(g_window_dc, 4 + kGraphWidth - 2, 4, 2, kGraphHeight, g_graph_dc, kGraphWidth - 2, 0,
               SRCCOPY);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd, &ps);
      ::FillRect(dc, &ps.rcPaint, ::GetSysColorBrush(COLOR_BTNFACE));
      ::EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(hwnd, message, wparam, lparam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  if (!FindAdapter(__argc > 1 ? __wargv[1] : L"lo")) return 1;
  g_follow = __argc > 2 && std::wcscmp(__wargv[2], L"follow") == 0;
  WNDCLASSW wc{};
  wc.style = CS_OWNDC;  // the DC held below is the window's own
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.lpszClassName = L"IdleFloor";
  ::RegisterClassW(&wc);
  HWND hwnd = ::CreateWindowExW(0, wc.lpszClassName, L"Idle floor", WS_POPUP | WS_THICKFRAME, 32,
                                32, 310, 74, nullptr, nullptr, instance, nullptr);
  // The slice's source: a graph-sized DIB, as the meter draws into.
  BITMAPINFO info{};
  info.bmiHeader = {
      sizeof(info.bmiHeader), kGraphWidth, -kGraphHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  g_graph_dc = ::CreateCompatibleDC(nullptr);
  ::SelectObject(g_graph_dc, ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  g_window_dc = ::GetDC(hwnd);
  ::ShowWindow(hwnd, SW_SHOWNORMAL);
  ::SetTimer(hwnd, 1, 1000, nullptr);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
