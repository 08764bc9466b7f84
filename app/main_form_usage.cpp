// The usage totals: each tick's bytes counted under the local date and the adapter's
// description, saved into the usage file beside the settings file, and the Usage dialog.
#include "app/main_form.h"
#include "dialogs/help.h"
#include "dialogs/usage_dialog.h"
#include "usage/usage_paths.h"
#include "win32/win_application.h"
#include "win32/win_text.h"

namespace ripplet {

void TMainForm::StartUsage() {
  usage_.SetPath(UsagePathFor(store_.Path()));
  // Without the timer the counts are still saved at the close, the log-off and sleep.
  ::SetTimer(Handle(), kUsageTimerId, kUsageSaveMs, nullptr);
}

void TMainForm::CountUsage(const Sampler::Growth& growth) {
  // The description as the file keeps it, converted once per adapter, not per tick.
  if (settings_.AdapterName != usage_adapter_ansi_) {
    usage_adapter_ansi_ = settings_.AdapterName;
    usage_adapter_ = WideToAnsi(AnsiToWide(usage_adapter_ansi_), CP_UTF8);
  }
  // The date the clock shows now: a clock set back or forward adds to that day.
  usage_.Counter().Add(LocalToday(), usage_adapter_, {growth.Recv, growth.Send});
}

void TMainForm::SaveUsage() noexcept {
  std::wstring problem;
  try {
    problem = usage_.Save();
  } catch (...) {
    ShowCurrentError();
    return;
  }
  if (!problem.empty()) ShowApplicationError(problem);
}

void TMainForm::UsageItemClick() {
  std::wstring problem;
  const UsageTable rows = usage_.Rows(problem);
  UsageContext context{
      rows,
      problem,
      LocalToday(),
      settings_.UsageStartDay,
      settings_.RecvColor,
      settings_.SendColor,
      AnsiToWide(decimal_separator_),
      [this](unsigned help_context) { HelpSystem::ShowContext(Handle(), help_context); }};
  ShowUsageDialog(Handle(), context);
}

}  // namespace ripplet
