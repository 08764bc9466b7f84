// What the Usage dialog shows, from the file's rows and this run's counts: the totals of
// today, yesterday, this billing period and the one before, and each day of this period.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "usage/calendar.h"
#include "usage/usage_counts.h"

namespace ripplet {

struct UsageSummary {
  ByteCounts Today;
  ByteCounts Yesterday;
  ByteCounts ThisPeriod;
  ByteCounts PreviousPeriod;
  Period Current;
  Period Previous;
  std::vector<ByteCounts> Days;  // one per date of Current, first to last
};

// `adapter`: one adapter's rows, or every adapter's when empty.
UsageSummary SummariseUsage(const UsageTable& rows, const std::optional<std::string>& adapter,
                            const Date& today, std::int32_t start_day);

// Every adapter the rows name, once each, in byte order.
std::vector<std::string> AdaptersIn(const UsageTable& rows);

}  // namespace ripplet
