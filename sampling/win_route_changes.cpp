#include "sampling/win_route_changes.h"

#include "win32/win_system_functions.h"

namespace ripplet {

void RouteChangeNotices::Start(HWND window, UINT message) noexcept {
  if (started_) return;
  started_ = true;
  window_ = window;
  message_ = message;
  posted_.store(false);
  const SystemFunctions& system = System();
  // Without a way to cancel them, notices would outlive this object: none are asked for.
  if (!system.CancelMibChangeNotify2) return;
  if (system.NotifyRouteChange2 && system.NotifyRouteChange2(AF_UNSPEC, &RouteChanged, this, FALSE,
                                                             &route_notice_) != NO_ERROR) {
    route_notice_ = nullptr;
  }
  if (system.NotifyIpInterfaceChange &&
      system.NotifyIpInterfaceChange(AF_UNSPEC, &InterfaceChanged, this, FALSE,
                                     &interface_notice_) != NO_ERROR) {
    interface_notice_ = nullptr;
  }
}

void RouteChangeNotices::Stop() noexcept {
  if (!started_) return;
  // Cancelling waits for a notice that is running, so none reaches this object afterwards.
  for (HANDLE* notice : {&route_notice_, &interface_notice_}) {
    if (*notice != nullptr) System().CancelMibChangeNotify2(*notice);
    *notice = nullptr;
  }
  started_ = false;
}

void RouteChangeNotices::Post() noexcept {
  if (!posted_.exchange(true)) ::PostMessageW(window_, message_, 0, 0);
}

void WINAPI RouteChangeNotices::RouteChanged(void* context, MIB_IPFORWARD_ROW2*,
                                             MIB_NOTIFICATION_TYPE) {
  static_cast<RouteChangeNotices*>(context)->Post();
}

void WINAPI RouteChangeNotices::InterfaceChanged(void* context, MIB_IPINTERFACE_ROW*,
                                                 MIB_NOTIFICATION_TYPE) {
  static_cast<RouteChangeNotices*>(context)->Post();
}

}  // namespace ripplet
