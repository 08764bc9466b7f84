// The settings file on the platform: missing against unreadable, the replace that keeps the
// file's identity, a folder that takes no new file, and a kill at any moment of a save.
#include "settings/win_settings_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>

#include "tests/settings/save_loop_contents.h"
#include "tests/support/temp_dir.h"
#include "win32/app_error.h"
#include "win32/win_handles.h"

namespace ripplet {
namespace testing {
template <typename Condition>
bool WaitFor(Condition condition) {
  for (int i = 0; i < 250; ++i) {
    if (condition()) return true;
    ::Sleep(20);
  }
  return false;
}
}  // namespace testing
namespace {

using testing::TempDir;
using KernelHandle = UniqueHandle<NullIsInvalid<HANDLE, &::CloseHandle>>;

void Write(const std::wstring& path, std::string_view bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

TEST(SettingsFileTest, MissingHeldAndReadAreThreeOutcomes) {
  TempDir dir;
  const std::wstring path = dir.File(L"meter.ini");
  EXPECT_EQ(ReadSettingsFile(path).Outcome, SettingsReadOutcome::NoFile);
  EXPECT_EQ(ReadSettingsFile(dir.File(L"no folder\\meter.ini")).Outcome,
            SettingsReadOutcome::NoFile);

  Write(path, "[Settings]\r\nInterval=500\r\n");
  const SettingsFileRead read = ReadSettingsFile(path);
  EXPECT_EQ(read.Outcome, SettingsReadOutcome::Read);
  EXPECT_EQ(read.Bytes, "[Settings]\r\nInterval=500\r\n");

  UniqueFile held(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  EXPECT_EQ(ReadSettingsFile(path).Outcome, SettingsReadOutcome::Unreadable);
  EXPECT_EQ(ReadSettingsFile(dir.Path().wstring()).Outcome, SettingsReadOutcome::Unreadable)
      << "a folder is there but is no file to read";
}

std::set<std::wstring> NamesIn(const std::filesystem::path& dir) {
  std::set<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    names.insert(entry.path().filename().wstring());
  }
  return names;
}

// A file as a killed save leaves it, written `hours` ago.
void Plant(const std::wstring& path, int hours) {
  Write(path, "x");
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  const std::uint64_t then = ((std::uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime) -
                             std::uint64_t{36'000'000'000} * static_cast<std::uint64_t>(hours);
  const FILETIME written{static_cast<DWORD>(then), static_cast<DWORD>(then >> 32)};
  UniqueFile file(::CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  ::SetFileTime(file.get(), nullptr, nullptr, &written);
}

TEST(SettingsFileTest, ReplaceKeepsTheHiddenAttributeAndClearsOnlyOrphanedTemporaryFiles) {
  TempDir dir;
  const std::wstring path = dir.File(L"meter.ini");
  Write(path, "old\r\n");
  ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN));
  const std::wstring gone = L"4294967292";  // an id no process has
  const std::wstring running = std::to_wstring(::GetCurrentProcessId());
  Plant(dir.File(L"meter.ini." + gone + L"-3.tmp"), 2);  // a killed save's: goes
  // A running instance's; one so new it may be another computer's save in progress; and
  // names that are not exactly ours.
  const std::set<std::wstring> kept = {
      L"meter.ini." + running + L"-999.tmp", L"meter.ini." + gone + L"-4.tmp",
      L"meter.ini." + gone + L"-3.tmp.bak",  L"meter.ini.0" + gone + L"-3.tmp",
      L"meter.ini." + gone + L"-3-1.tmp",    L"meter.ini." + gone + L".tmp",
      L"other.ini." + gone + L"-3.tmp"};
  for (const std::wstring& name : kept) Plant(dir.File(name), name.ends_with(L"-4.tmp") ? 0 : 2);

  WriteSettingsBytes(path, "new\r\n");
  EXPECT_EQ(ReadSettingsBytes(path), "new\r\n");
  EXPECT_NE(::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
  std::set<std::wstring> expected = kept;
  expected.insert(L"meter.ini");
  EXPECT_EQ(NamesIn(dir.Path()), expected);
}

// Wine 8 answers CreateSymbolicLinkW with success and makes nothing; there the link is
// made as the Unix link a user would have, by the system's own ln.
bool MakeLink(const TempDir& dir, const wchar_t* link, const wchar_t* target) {
  const std::wstring link_path = dir.File(link);
  if (::CreateSymbolicLinkW(link_path.c_str(), dir.File(target).c_str(), 0) &&
      ::GetFileAttributesW(link_path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return true;
  }
  // The Unix path of the folder, from wine's own export.
  using UnixNameOf = char* (*)(const wchar_t*);
  const auto unix_name_of = reinterpret_cast<UnixNameOf>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (unix_name_of == nullptr) return false;
  char* unix_link = unix_name_of(link_path.c_str());
  if (unix_link == nullptr) return false;
  std::wstring command = std::wstring(L"Z:\\bin\\ln -s ") + target + L" ";
  for (const char* c = unix_link; *c != '\0'; ++c) command += static_cast<wchar_t>(*c);
  ::HeapFree(::GetProcessHeap(), 0, unix_link);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(L"Z:\\bin\\ln", command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
    return false;
  }
  // Wine cannot wait for a Unix process; the link showing up is the sign.
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  return testing::WaitFor(
      [&] { return ::GetFileAttributesW(link_path.c_str()) != INVALID_FILE_ATTRIBUTES; });
}

TEST(SettingsFileTest, ALinkHasItsTargetWrittenAndStaysALink) {
  TempDir dir;
  const std::wstring target = dir.File(L"real.ini");
  const std::wstring link = dir.File(L"meter.ini");
  Write(target, "old\r\n");
  ASSERT_TRUE(MakeLink(dir, L"meter.ini", L"real.ini"));
  // The folder's clean-up does not get past a link under wine: the link goes first.
  struct RemoveLink {
    const std::wstring& path;
    ~RemoveLink() { ::DeleteFileW(path.c_str()); }
  } remove_link{link};
  WriteSettingsBytes(link, "new\r\n");
  EXPECT_EQ(ReadSettingsBytes(target), "new\r\n");
  // Still a link (wine shows a Unix link as a plain file): what the target gets, it shows.
  Write(target, "third\r\n");
  EXPECT_EQ(ReadSettingsBytes(link), "third\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            2)
      << "no temporary file left";
}

TEST(SettingsFileTest, FolderThatTakesNoNewFileGetsTheFileWrittenInPlace) {
  // A path so long that nothing can be added to it: the file itself opens, a temporary
  // name beside it does not.
  TempDir dir;
  std::wstring path = dir.File(L"");
  path += std::wstring(MAX_PATH - 1 - path.size() - 4, L'x') + L".ini";
  ASSERT_EQ(path.size(), MAX_PATH - 1u);
  Write(path, "old old old\r\n");
  if (ReadSettingsFile(path).Outcome != SettingsReadOutcome::Read) {
    GTEST_SKIP() << "the platform takes no path of this length";
  }
  WriteSettingsBytes(path, "new\r\n");
  EXPECT_EQ(ReadSettingsBytes(path), "new\r\n");

  // Where neither way works, the save fails and names the file.
  ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_THROW(WriteSettingsBytes(path, "newer\r\n"), AppError);
  EXPECT_EQ(ReadSettingsBytes(path), "new\r\n");
}

TEST(SettingsFileTest, MissingFileInAFolderThatTakesNoNewFileFails) {
  TempDir dir;
  try {
    WriteSettingsBytes(dir.File(L"no folder\\meter.ini"), "new\r\n");
    ADD_FAILURE() << "no error";
  } catch (const AppError& error) {
    EXPECT_EQ(error.Text(), dir.File(L"no folder\\meter.ini") + L" に書き込めません");
  }
}

// The program that saves in a loop lies beside this test.
std::wstring SaveLoopProgram() {
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  return (std::filesystem::path(self).parent_path() / L"settings_save_loop.exe").wstring();
}

TEST(SettingsFileTest, AKillAtAnyMomentOfASaveLeavesTheOldOrTheNewFileWhole) {
  TempDir dir;
  const std::wstring path = dir.File(L"meter.ini");
  const std::string a = testing::SaveLoopContent('A');
  const std::string b = testing::SaveLoopContent('B');
  Write(path, a);
  const std::wstring event_name = L"ripplet-save-loop-" + std::to_wstring(::GetCurrentProcessId());
  KernelHandle started(::CreateEventW(nullptr, TRUE, FALSE, event_name.c_str()));
  ASSERT_TRUE(started);
  std::mt19937 random(12345);
  std::uniform_int_distribution<DWORD> delay(0, 40);
  int as = 0;
  int bs = 0;
  // 200 kills where the machine is quiet; on a loaded one, where each start of the loop
  // program takes seconds, as many as two minutes give, and never fewer than 40.
  const ULONGLONG until = ::GetTickCount64() + 120000;
  for (int kill = 0; kill < 200 && (kill < 40 || ::GetTickCount64() < until); ++kill) {
    ::ResetEvent(started.get());
    std::wstring command = L"\"" + SaveLoopProgram() + L"\" \"" + path + L"\" " + event_name;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    // Under wine on a loaded machine a start now and then fails at once (ERROR_INTERNAL_ERROR):
    // it is tried again, as starting the loop is not what is tested here.
    DWORD start_error = 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
      if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &info)) {
        start_error = 0;
        break;
      }
      start_error = ::GetLastError();
      ::Sleep(200);
    }
    ASSERT_EQ(start_error, 0u) << "the save loop did not start";
    KernelHandle process(info.hProcess);
    KernelHandle thread(info.hThread);
    // From the first finished save on, the loop is always inside a save.
    HANDLE waits[2] = {started.get(), process.get()};
    ASSERT_EQ(::WaitForMultipleObjects(2, waits, FALSE, 10000), WAIT_OBJECT_0)
        << "the save loop did not start saving";
    ::Sleep(delay(random));
    ::TerminateProcess(process.get(), 9);
    ::WaitForSingleObject(process.get(), 10000);

    const SettingsFileRead read = ReadSettingsFile(path);
    ASSERT_EQ(read.Outcome, SettingsReadOutcome::Read) << "after kill " << kill;
    ASSERT_TRUE(read.Bytes == a || read.Bytes == b)
        << "after kill " << kill << ": " << read.Bytes.size() << " bytes, neither whole";
    ++(read.Bytes == a ? as : bs);
  }
  // Both contents were seen, so the kills did land at different moments of the loop.
  EXPECT_GT(as, 0);
  EXPECT_GT(bs, 0);
}

}  // namespace
}  // namespace ripplet
