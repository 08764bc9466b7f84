// The system's notices of route and interface changes, turned into one posted message to a
// window. Where the system has no such notices, or never sends them (wine 8 accepts the
// registration and stays silent), the caller's paced re-check is all there is.
#pragma once

#include "win32/win_system_functions.h"

#include <atomic>

namespace ripplet {

class RouteChangeNotices {
 public:
  RouteChangeNotices() = default;
  ~RouteChangeNotices() { Stop(); }
  RouteChangeNotices(const RouteChangeNotices&) = delete;
  RouteChangeNotices& operator=(const RouteChangeNotices&) = delete;

  // From now on a change posts `message` to `window`; a burst of changes posts it once,
  // until Handled() is called. Does nothing when already started.
  void Start(HWND window, UINT message) noexcept;
  void Stop() noexcept;
  bool Started() const noexcept { return started_; }

  // The posted message was handled: the next change posts again.
  void Handled() noexcept { posted_.store(false); }

 private:
  static void WINAPI RouteChanged(void* context, MIB_IPFORWARD_ROW2* row,
                                  MIB_NOTIFICATION_TYPE type);
  static void WINAPI InterfaceChanged(void* context, MIB_IPINTERFACE_ROW* row,
                                      MIB_NOTIFICATION_TYPE type);
  void Post() noexcept;

  bool started_ = false;
  HWND window_ = nullptr;
  UINT message_ = 0;
  std::atomic<bool> posted_{false};  // written from the system's notice threads
  HANDLE route_notice_ = nullptr;
  HANDLE interface_notice_ = nullptr;
};

}  // namespace ripplet
