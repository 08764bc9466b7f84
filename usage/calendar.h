// Calendar dates and billing periods, as plain arithmetic: the usage totals are kept per
// local date, and a billing period starts on a day of the month the user sets.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ripplet {

// A date of the proleptic Gregorian calendar, years 1 to 9999.
struct Date {
  std::int32_t Year = 1970;
  std::int32_t Month = 1;  // 1 to 12
  std::int32_t Day = 1;    // 1 to the month's last day

  // NOLINTNEXTLINE(modernize-use-nullptr): clang-tidy 14 misreads a defaulted <=>.
  friend auto operator<=>(const Date&, const Date&) = default;
};

bool IsValidDate(const Date& date) noexcept;
std::int32_t DaysInMonth(std::int32_t year, std::int32_t month) noexcept;
Date NextDay(Date date) noexcept;
Date PreviousDay(Date date) noexcept;

// ISO 8601, "2026-12-09"; reading takes exactly that form of a valid date.
std::string FormatIsoDate(const Date& date);
std::optional<Date> ParseIsoDate(std::string_view text) noexcept;

// The start days the user can set; a file's value outside them counts as the nearest.
inline constexpr std::int32_t kFirstPeriodStartDay = 1;
inline constexpr std::int32_t kLastPeriodStartDay = 31;
std::int32_t UsablePeriodStartDay(std::int32_t start_day) noexcept;

// The billing period holding `day`: from its first date to its last, both included. A
// period starts on `start_day` of a month, or on the month's last day when it has fewer.
struct Period {
  Date First;
  Date Last;
};
Period PeriodHolding(const Date& day, std::int32_t start_day) noexcept;
Period PeriodBefore(const Period& period, std::int32_t start_day) noexcept;

}  // namespace ripplet
