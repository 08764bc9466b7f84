#include "tests/dialogs/modal_steps.h"

#include "win32/win_text.h"

namespace ripplet::testing {
namespace {

ModalSteps* g_steps = nullptr;
constexpr UINT kTickMs = 50;
constexpr int kWatchdogTicks = 60;  // 3 s after the last step
constexpr int kMaxRetries = 40;     // 2 s for a step that waits

struct Search {
  const std::wstring* caption;
  bool want_match;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  wchar_t cls[32] = {};
  ::GetClassNameW(hwnd, cls, 32);
  if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(hwnd) &&
      (*search->caption == WindowText(hwnd)) == search->want_match) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND Find(const std::wstring& caption, bool want_match) {
  Search search{&caption, want_match, nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

HWND FindThreadDialog(const std::wstring& caption) { return Find(caption, true); }
HWND FindOtherThreadDialog(const std::wstring& caption) { return Find(caption, false); }

void PostKey(HWND window, WPARAM key) {
  const UINT scan = ::MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
  ::PostMessageW(window, WM_KEYDOWN, key, 1 | (static_cast<LPARAM>(scan) << 16));
  ::PostMessageW(window, WM_KEYUP, key, 1 | (static_cast<LPARAM>(scan) << 16) | (3LL << 30));
}

ModalSteps::ModalSteps(std::vector<Step> steps, std::function<HWND()> find_dialog)
    : steps_(std::move(steps)), find_dialog_(std::move(find_dialog)) {
  g_steps = this;
  timer_ = ::SetTimer(nullptr, 0, kTickMs, &ModalSteps::OnTimer);
}

ModalSteps::~ModalSteps() {
  ::KillTimer(nullptr, timer_);
  g_steps = nullptr;
}

void CALLBACK ModalSteps::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  ModalSteps* self = g_steps;
  if (self == nullptr) return;
  if (self->next_ < self->steps_.size()) {
    // Advance before running: a step may pump messages and so re-enter this handler.
    const size_t step = self->next_++;
    if (!self->steps_[step]() && ++self->retries_ < kMaxRetries) {
      self->next_ = step;
    } else {
      self->retries_ = 0;
    }
    return;
  }
  if (++self->idle_ticks_ < kWatchdogTicks || self->watchdog_fired_) return;
  if (HWND dialog = self->find_dialog_ ? self->find_dialog_() : nullptr) {
    self->watchdog_fired_ = true;
    ::DestroyWindow(dialog);
  }
}

}  // namespace ripplet::testing
