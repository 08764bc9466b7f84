// The Usage dialog: today's, yesterday's, this period's and the previous period's totals
// of one adapter or all, a bar chart of this period's days and the period's start day.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "usage/usage_summary.h"
#include "win32/win_dialog.h"

namespace ripplet {

struct UsageContext {
  const UsageTable& rows;  // the file's rows with this run's counts added
  std::wstring problem;    // why the file's rows are missing, or empty
  Date today;
  std::int32_t& start_day;        // the setting, written only by OK
  std::uint32_t recv_colour = 0;  // the meter's colours, as the settings hold them
  std::uint32_t send_colour = 0;
  std::wstring decimal_separator = L".";
  std::function<void(unsigned)> show_help;  // HelpBtn: the usage topic
};

inline constexpr unsigned kUsageHelpContext = 7;

// Shows the dialog modally over `owner`; true when OK stored the start day.
bool ShowUsageDialog(HWND owner, UsageContext& context);

class TUsageForm : public Dialog {
 public:
  explicit TUsageForm(UsageContext& context);
  ~TUsageForm() override;

  void Create(HWND owner);
  INT_PTR ShowModal();

  // The totals shown for the adapter choice and start day as they are now.
  const UsageSummary& Shown() const noexcept { return summary_; }

 private:
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void FormCreate();
  void FillTotals();
  void AdapterBoxSelect();
  void StartDayChange();
  void OKBtnClick();
  bool DrawChart(const DRAWITEMSTRUCT& item) const;
  std::optional<std::int32_t> StartDayInEdit() const;
  HWND Item(int id) const noexcept { return ::GetDlgItem(hwnd_, id); }

  UsageContext& context_;
  std::vector<std::string> adapters_;  // the choice's entries after "all"
  std::int32_t start_day_ = 1;
  UsageSummary summary_;
  INT_PTR modal_result_ = 0;
};

}  // namespace ripplet
