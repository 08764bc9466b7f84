#include "usage/calendar.h"

#include <algorithm>
#include <charconv>

namespace ripplet {
namespace {

bool IsLeapYear(std::int32_t year) noexcept {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// The date on which a period of that month starts.
Date StartInMonth(std::int32_t year, std::int32_t month, std::int32_t start_day) noexcept {
  return {year, month, std::min(UsablePeriodStartDay(start_day), DaysInMonth(year, month))};
}

Date StartInMonthBefore(const Date& date, std::int32_t start_day) noexcept {
  return date.Month == 1 ? StartInMonth(date.Year - 1, 12, start_day)
                         : StartInMonth(date.Year, date.Month - 1, start_day);
}

Date StartInMonthAfter(const Date& date, std::int32_t start_day) noexcept {
  return date.Month == 12 ? StartInMonth(date.Year + 1, 1, start_day)
                          : StartInMonth(date.Year, date.Month + 1, start_day);
}

bool ParseDigits(std::string_view text, std::int32_t& value) noexcept {
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc{};
}

void AppendPadded(std::string& out, std::int32_t value, int width) {
  const std::string digits = std::to_string(value);
  out.append(digits.size() < static_cast<std::size_t>(width)
                 ? static_cast<std::size_t>(width) - digits.size()
                 : 0,
             '0');
  out += digits;
}

}  // namespace

std::int32_t DaysInMonth(std::int32_t year, std::int32_t month) noexcept {
  static constexpr std::int32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(const Date& date) noexcept {
  return date.Year >= 1 && date.Year <= 9999 && date.Month >= 1 && date.Month <= 12 &&
         date.Day >= 1 && date.Day <= DaysInMonth(date.Year, date.Month);
}

Date NextDay(Date date) noexcept {
  if (date.Day < DaysInMonth(date.Year, date.Month)) return {date.Year, date.Month, date.Day + 1};
  if (date.Month < 12) return {date.Year, date.Month + 1, 1};
  return {date.Year + 1, 1, 1};
}

Date PreviousDay(Date date) noexcept {
  if (date.Day > 1) return {date.Year, date.Month, date.Day - 1};
  if (date.Month > 1) return {date.Year, date.Month - 1, DaysInMonth(date.Year, date.Month - 1)};
  return {date.Year - 1, 12, 31};
}

std::string FormatIsoDate(const Date& date) {
  std::string text;
  AppendPadded(text, date.Year, 4);
  text += '-';
  AppendPadded(text, date.Month, 2);
  text += '-';
  AppendPadded(text, date.Day, 2);
  return text;
}

std::optional<Date> ParseIsoDate(std::string_view text) noexcept {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  Date date;
  if (!ParseDigits(text.substr(0, 4), date.Year) || !ParseDigits(text.substr(5, 2), date.Month) ||
      !ParseDigits(text.substr(8, 2), date.Day) || !IsValidDate(date)) {
    return std::nullopt;
  }
  return date;
}

std::int32_t UsablePeriodStartDay(std::int32_t start_day) noexcept {
  return std::clamp(start_day, kFirstPeriodStartDay, kLastPeriodStartDay);
}

Period PeriodHolding(const Date& day, std::int32_t start_day) noexcept {
  const Date this_month = StartInMonth(day.Year, day.Month, start_day);
  const Date first = day >= this_month ? this_month : StartInMonthBefore(day, start_day);
  return {first, PreviousDay(StartInMonthAfter(first, start_day))};
}

Period PeriodBefore(const Period& period, std::int32_t start_day) noexcept {
  return PeriodHolding(PreviousDay(period.First), start_day);
}

}  // namespace ripplet
