// The thread's COM apartment, owned by the program: the single-threaded one, entered before
// any window exists and left after the last is gone. A hook that a window brings into the
// process then finds the apartment taken and cannot move the thread into the multithreaded
// one, where an assistive program's calls would arrive on other threads. ole32 is bound
// through the table of run-time bindings, from the system folder.
#pragma once

#include <windows.h>

#include "win32/win_system_functions.h"

namespace ripplet {

class SingleThreadedApartment {
 public:
  SingleThreadedApartment() noexcept {
    const SystemFunctions& system = System();
    if (!system.CoInitializeEx || !system.CoUninitialize) return;
    entered_ = SUCCEEDED(system.CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  }
  ~SingleThreadedApartment() {
    if (entered_) System().CoUninitialize();
  }
  SingleThreadedApartment(const SingleThreadedApartment&) = delete;
  SingleThreadedApartment& operator=(const SingleThreadedApartment&) = delete;

  // Where it could not be entered (no ole32, or the thread already in the multithreaded
  // apartment) the accessible tree finds the same and answers nothing: the system's default
  // answer stands.

 private:
  bool entered_ = false;
};

}  // namespace ripplet
