#include "tests/dialogs/options_test_support.h"

namespace ripplet::testing {
namespace {

TimerSteps* g_steps = nullptr;

struct Search {
  const std::function<bool(HWND)>* accept;
  HWND found;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  wchar_t cls[32] = {};
  ::GetClassNameW(hwnd, cls, 32);
  if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(hwnd) && (*search->accept)(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindDialogWindow(const std::function<bool(HWND)>& accept) {
  Search search{&accept, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), &Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TimerSteps::TimerSteps(std::vector<std::function<bool()>> steps, DWORD give_up_ms)
    : steps_(std::move(steps)), start_(::GetTickCount()), give_up_ms_(give_up_ms) {
  g_steps = this;
  timer_ = ::SetTimer(nullptr, 0, 30, &TimerSteps::OnTimer);
}

TimerSteps::~TimerSteps() {
  ::KillTimer(nullptr, timer_);
  g_steps = nullptr;
}

void CALLBACK TimerSteps::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  TimerSteps* self = g_steps;
  if (self == nullptr || self->Done()) return;
  if (::GetTickCount() - self->start_ > self->give_up_ms_) {
    // A failing test must end, not hang: cancel whatever dialog is still open.
    if (HWND open = FindDialogWindow([](HWND) { return true; })) {
      ::PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
      return;
    }
    self->next_ = self->steps_.size();
    return;
  }
  // Advance before running: a step may run a nested loop that ticks again.
  const std::size_t current = self->next_;
  self->next_ = current + 1;
  if (!self->steps_[current]()) self->next_ = current;
}

}  // namespace ripplet::testing
