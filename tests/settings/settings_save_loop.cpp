// Saves one large settings file over and over, alternating two contents, until it is killed.
// Used by the kill-during-save test: whatever moment the kill comes, the file must be one
// of the two contents, whole.
#include <windows.h>

#include <string>

#include "settings/win_settings_file.h"
#include "tests/settings/save_loop_contents.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  const std::wstring path = argv[1];
  HANDLE started = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
  const std::string contents[2] = {ripplet::testing::SaveLoopContent('A'),
                                   ripplet::testing::SaveLoopContent('B')};
  for (unsigned i = 0;; ++i) {
    try {
      ripplet::WriteSettingsBytes(path, contents[i % 2]);
    } catch (...) {
      return 1;
    }
    if (i == 0 && started != nullptr) ::SetEvent(started);
  }
}
