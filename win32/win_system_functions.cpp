#include "win32/win_system_functions.h"

#include <array>
#include <string>

namespace ripplet {
namespace {

struct LibraryState {
  bool search_restricted = false;
  std::array<HMODULE, static_cast<size_t>(SystemLibrary::kCount)> modules{};
  std::array<bool, static_cast<size_t>(SystemLibrary::kCount)> tried{};
};

LibraryState& State() noexcept {
  static LibraryState state;
  return state;
}

constexpr std::array<const wchar_t*, static_cast<size_t>(SystemLibrary::kCount)> kFileNames{
    L"kernel32.dll", L"user32.dll",  L"iphlpapi.dll", L"comctl32.dll",
    L"comdlg32.dll", L"shell32.dll", L"hhctrl.ocx",   L"oleacc.dll",
    L"oleaut32.dll", L"ole32.dll",   L"shcore.dll"};

bool Imported(SystemLibrary library) noexcept {
  return library == SystemLibrary::kKernel || library == SystemLibrary::kUser;
}

// Whether the process's activation context (the manifest) sends `name` to a side-by-side
// version, as it does the common controls to version 6. Such a name is resolved before
// any folder is searched; a full path would bypass it and give the old version.
bool Redirected(const wchar_t* name) noexcept {
  ACTCTX_SECTION_KEYED_DATA data{};
  data.cbSize = sizeof(data);
  return ::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, name,
                                    &data) != FALSE;
}

HMODULE LoadFromSystemFolder(const wchar_t* name) noexcept {
  if (State().search_restricted) {
    return ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  if (Redirected(name)) return ::LoadLibraryW(name);
  // An older system: the full path, and its own dependencies searched from there too.
  wchar_t folder[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  try {
    const std::wstring path = std::wstring(folder, length) + L'\\' + name;
    return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

bool RestrictLibrarySearch() noexcept {
  ::SetDllDirectoryW(L"");  // the current folder is out of every search
  const auto restrict = System().SetDefaultDllDirectories.get();
  State().search_restricted = restrict != nullptr&& restrict(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
  return State().search_restricted;
}

FARPROC FindSystemFunction(SystemLibrary library, const char* name) noexcept {
  LibraryState& state = State();
  const auto i = static_cast<size_t>(library);
  if (!state.tried[i]) {
    state.tried[i] = true;
    state.modules[i] =
        Imported(library) ? ::GetModuleHandleW(kFileNames[i]) : LoadFromSystemFolder(kFileNames[i]);
  }
  return state.modules[i] != nullptr ? ::GetProcAddress(state.modules[i], name) : nullptr;
}

const SystemFunctions& System() noexcept {
  static const SystemFunctions functions;
  return functions;
}

}  // namespace ripplet
