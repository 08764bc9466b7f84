// The Options dialog: edits the settings record; OK stores the input after validation.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "sampling/if_table.h"
#include "settings/settings.h"

namespace ripplet {

struct OptionsContext {
  Settings& settings;             // written only by a validated OK
  const IfTableBuffer& adapters;  // the current snapshot; the dialog does not refresh it
  std::string decimal_separator;  // the regional one, ANSI bytes
  int pixels_per_inch = 96;
  std::function<void()> restore_default_height;  // DefaultHeightBtn acts at once
  std::function<void(unsigned)> show_help;       // HelpBtn: context 6
  // The adapter the automatic entry follows now (its description); none when offline.
  std::optional<std::string> followed_adapter;
};

// Shows the dialog modally over `owner`; true when OK stored the input into the settings.
bool ShowOptionsDialog(HWND owner, OptionsContext& context);

}  // namespace ripplet
