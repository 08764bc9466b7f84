#include "usage/usage_summary.h"

#include <algorithm>

namespace ripplet {
namespace {

std::size_t DayIndex(const Period& period, const Date& date) {
  std::size_t index = 0;
  for (Date d = period.First; d < date; d = NextDay(d)) ++index;
  return index;
}

}  // namespace

UsageSummary SummariseUsage(const UsageTable& rows, const std::optional<std::string>& adapter,
                            const Date& today, std::int32_t start_day) {
  UsageSummary summary;
  summary.Current = PeriodHolding(today, start_day);
  summary.Previous = PeriodBefore(summary.Current, start_day);
  summary.Days.resize(DayIndex(summary.Current, NextDay(summary.Current.Last)));
  const Date yesterday = PreviousDay(today);
  for (const auto& [key, counts] : rows) {
    if (adapter && key.second != *adapter) continue;
    const Date& date = key.first;
    if (date == today) summary.Today += counts;
    if (date == yesterday) summary.Yesterday += counts;
    if (date >= summary.Current.First && date <= summary.Current.Last) {
      summary.ThisPeriod += counts;
      summary.Days[DayIndex(summary.Current, date)] += counts;
    }
    if (date >= summary.Previous.First && date <= summary.Previous.Last) {
      summary.PreviousPeriod += counts;
    }
  }
  return summary;
}

std::vector<std::string> AdaptersIn(const UsageTable& rows) {
  std::vector<std::string> adapters;
  for (const auto& entry : rows) adapters.push_back(entry.first.second);
  std::sort(adapters.begin(), adapters.end());
  adapters.erase(std::unique(adapters.begin(), adapters.end()), adapters.end());
  return adapters;
}

}  // namespace ripplet
