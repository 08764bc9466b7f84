// The help calls: what reaches the help system, and that a missing help system or file
// is no error and shows nothing.
#include "dialogs/help.h"

#include <htmlhelp.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "win32/win_application.h"

namespace ripplet {
namespace {

using testing::TempDir;

struct HelpCall {
  HWND Caller;
  std::wstring File;
  UINT Command;
  DWORD_PTR Data;
};
std::vector<HelpCall> g_calls;
constexpr DWORD kCookie = 0x5A5A;

HWND WINAPI RecordingHelp(HWND caller, const wchar_t* file, UINT command, DWORD_PTR data) {
  g_calls.push_back({caller, file ? file : L"<none>", command, data});
  if (command == HH_INITIALIZE) *reinterpret_cast<DWORD*>(data) = kCookie;
  return nullptr;
}

// The windows of this thread that are visible.
std::vector<HWND> VisibleWindows() {
  std::vector<HWND> found;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND hwnd, LPARAM list) {
        if (::IsWindowVisible(hwnd)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

class HelpTest : public ::testing::Test {
 protected:
  ~HelpTest() override {
    HelpSystem::Uninitialize();
    HelpSystem::SetHelpFile(L"");
    HelpSystem::SetCallerWindow(nullptr);
    g_calls.clear();
  }
  TempDir dir_;
};

TEST_F(HelpTest, OpensTheFileAtItsContextFromTheApplicationWindow) {
  Application application(L"Ripplet_test");
  const std::wstring chm = dir_.File(L"ripplet.chm");
  std::ofstream(std::filesystem::path(chm)) << "help";
  HelpSystem::SetCallerWindow(application.Handle());

  HelpSystem::InitializeWith(&RecordingHelp);
  ASSERT_EQ(g_calls.size(), 1u);
  EXPECT_EQ(g_calls[0].Command, static_cast<UINT>(HH_INITIALIZE));
  EXPECT_EQ(g_calls[0].File, L"<none>") << "no help file is known yet at start";
  EXPECT_EQ(g_calls[0].Caller, application.Handle());

  HelpSystem::SetHelpFile(chm);
  HWND some_dialog = ::CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       nullptr, nullptr);
  HelpSystem::ShowContext(some_dialog, 4);
  HelpSystem::ShowContext(some_dialog, 6);
  ::DestroyWindow(some_dialog);
  ASSERT_EQ(g_calls.size(), 3u);
  for (unsigned context : {4u, 6u}) {
    const HelpCall& call = g_calls[context == 4 ? 1 : 2];
    EXPECT_EQ(call.Command, static_cast<UINT>(HH_HELP_CONTEXT));
    EXPECT_EQ(call.File, chm);
    EXPECT_EQ(call.Data, context);
    // The help window must outlive the dialog that asked for it.
    EXPECT_EQ(call.Caller, application.Handle());
  }

  // At the end: help windows closed, then the cookie handed back; nothing after that.
  HelpSystem::Uninitialize();
  ASSERT_EQ(g_calls.size(), 5u);
  EXPECT_EQ(g_calls[3].Command, static_cast<UINT>(HH_CLOSE_ALL));
  EXPECT_EQ(g_calls[4].Command, static_cast<UINT>(HH_UNINITIALIZE));
  EXPECT_EQ(g_calls[4].Data, kCookie);
  HelpSystem::ShowContext(nullptr, 4);
  HelpSystem::Uninitialize();
  EXPECT_EQ(g_calls.size(), 5u);
}

TEST_F(HelpTest, AMissingFileOrHelpSystemAsksNothingOfIt) {
  // No help system started: nothing to call.
  HelpSystem::SetHelpFile(dir_.File(L"ripplet.chm"));
  HelpSystem::ShowContext(nullptr, 4);

  HelpSystem::InitializeWith(&RecordingHelp);
  g_calls.clear();
  HelpSystem::ShowContext(nullptr, 4);  // the file is not there
  HelpSystem::SetHelpFile(L"");
  HelpSystem::ShowContext(nullptr, 6);  // no path formed
  HelpSystem::SetHelpFile(dir_.Path().wstring());
  HelpSystem::ShowContext(nullptr, 6);  // a folder
  EXPECT_TRUE(g_calls.empty());
}

// The real help system of the machine (wine's hhctrl.ocx): starting it, asking it for a
// missing file and ending it raises nothing, shows nothing and returns at once.
TEST_F(HelpTest, TheRealHelpSystemWithAMissingFileShowsNothing) {
  const std::vector<HWND> before = VisibleWindows();
  HelpSystem::Initialize();
  HelpSystem::SetHelpFile(dir_.File(L"absent.chm"));
  const DWORD start = ::GetTickCount();
  HelpSystem::ShowContext(nullptr, 4);
  EXPECT_LT(::GetTickCount() - start, 1000u);
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
  EXPECT_EQ(VisibleWindows(), before);
  HelpSystem::Uninitialize();
  HelpSystem::Initialize();  // and again, as a second start would
  HelpSystem::Uninitialize();
}

}  // namespace
}  // namespace ripplet
