// HTML Help through hhctrl.ocx, loaded at run time: a machine without it, or a missing
// help file, is no error; the help commands then do nothing.
#include "dialogs/help.h"

#include <utility>

#include "win32/win_system_functions.h"

namespace ripplet {
namespace {

struct HelpState {
  HelpSystem::EntryPoint entry = nullptr;
  DWORD cookie = 0;  // from HH_INITIALIZE, handed back to HH_UNINITIALIZE
  std::wstring file;
  HWND caller = nullptr;
};

HelpState& State() noexcept {
  static HelpState state;
  return state;
}

// The help window belongs to the caller window: it outlives the dialog or menu that
// opened the help, so closing an Options dialog does not close its help too.
HWND CallerWindow(HWND fallback) noexcept {
  const HWND caller = State().caller;
  return caller != nullptr && ::IsWindow(caller) ? caller : fallback;
}

bool IsFile(const std::wstring& path) noexcept {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace

void HelpSystem::Initialize() noexcept {
  if (State().entry != nullptr) return;
  if (const EntryPoint entry = System().HtmlHelpW.get()) InitializeWith(entry);
}

void HelpSystem::InitializeWith(EntryPoint entry) noexcept {
  HelpState& state = State();
  if (state.entry != nullptr && state.entry != entry) Uninitialize();
  state.entry = entry;
  state.cookie = 0;
  // The help system writes its cookie through the data pointer.
  entry(CallerWindow(nullptr), nullptr, HH_INITIALIZE, reinterpret_cast<DWORD_PTR>(&state.cookie));
}

void HelpSystem::Uninitialize() noexcept {
  HelpState& state = State();
  if (state.entry == nullptr) return;
  const HWND caller = CallerWindow(nullptr);
  // Help windows still open are closed while the program can still answer them.
  state.entry(caller, nullptr, HH_CLOSE_ALL, 0);
  state.entry(caller, nullptr, HH_UNINITIALIZE, state.cookie);
  state.entry = nullptr;
  state.cookie = 0;
}

void HelpSystem::SetHelpFile(std::wstring path) { State().file = std::move(path); }

const std::wstring& HelpSystem::HelpFile() noexcept { return State().file; }

void HelpSystem::SetCallerWindow(HWND caller) noexcept { State().caller = caller; }

void HelpSystem::ShowContext(HWND owner, unsigned context) noexcept {
  const HelpState& state = State();
  // Without the file or the help system there is nothing to show, and nothing to report.
  if (!IsFile(state.file)) return;
  // Loaded on first use: nothing pre-translates messages for it, and loading it with its
  // COM libraries would cost every start several milliseconds.
  if (state.entry == nullptr) Initialize();
  if (state.entry == nullptr) return;
  // The help window is the help system's: the call returns once it is open.
  state.entry(CallerWindow(owner), state.file.c_str(), HH_HELP_CONTEXT, context);
}

}  // namespace ripplet
