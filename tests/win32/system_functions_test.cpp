// A system that cannot restrict the DLL search (no SetDefaultDllDirectories): this test
// process never restricts it either. The table then loads each library by its full path in
// the system folder, and a DLL of the same name beside the exe does not run, though the
// ordinary search takes such a file (wine is told to prefer it: native first).
#include "win32/win_system_functions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace ripplet {
namespace {

namespace fs = std::filesystem;

fs::path ExeFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(std::wstring(path, n)).parent_path();
}

fs::path ModuleFolder(const void* address) {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      static_cast<const wchar_t*>(address), &module);
  wchar_t path[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(module, path, MAX_PATH);
  return fs::path(std::wstring(path, n)).parent_path();
}

TEST(SystemFunctions, WithoutTheRestrictionALibraryBesideTheExeNeverRuns) {
  const char* planted = std::getenv("RIPPLET_PLANTED_DLL");
  ASSERT_NE(planted, nullptr);
  const fs::path folder = ExeFolder();
  struct Cleanup {
    fs::path folder;
    ~Cleanup() {
      for (const wchar_t* file : {L"oleacc.dll", L"oleacc.dll.ran", L"hhctrl.ocx"}) {
        std::error_code ignored;
        fs::remove(folder / file, ignored);
      }
    }
  } cleanup{folder};
  const auto plant = [&](const wchar_t* name) {
    fs::remove(folder / name);
    fs::remove(folder / (std::wstring(name) + L".ran"));
    fs::copy_file(planted, folder / name);
  };

  // The plant works: the ordinary search takes it.
  plant(L"oleacc.dll");
  HMODULE ordinary = ::LoadLibraryW(L"oleacc.dll");
  ASSERT_NE(ordinary, nullptr);
  EXPECT_TRUE(fs::exists(folder / L"oleacc.dll.ran"));
  ::FreeLibrary(ordinary);

  plant(L"hhctrl.ocx");
  const auto help = System().HtmlHelpW.get();
  EXPECT_FALSE(fs::exists(folder / L"hhctrl.ocx.ran"));
  ASSERT_NE(help, nullptr);
  wchar_t system_folder[MAX_PATH];
  const UINT n = ::GetSystemDirectoryW(system_folder, MAX_PATH);
  EXPECT_TRUE(fs::equivalent(ModuleFolder(reinterpret_cast<const void*>(help)),
                             std::wstring(system_folder, n)));
}

}  // namespace
}  // namespace ripplet
