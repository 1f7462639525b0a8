// SPDX-License-Identifier: MIT
#include "workbench/view/calendar_month.h"

#include "workbench/holidays/holiday_dates.h"
#include "workbench/schedule/calendar.h"

namespace lunavant::workbench {

namespace {

constexpr std::int32_t kFirstYear = 1;
constexpr std::int32_t kLastYear = 9999;

struct YearMonth {
  std::int32_t year;
  std::int32_t month;  // [1, 12]
};

YearMonth Step(YearMonth from, std::int32_t offset) {
  // Months counted from year 0 keep the division exact for offsets either way.
  const std::int64_t count = static_cast<std::int64_t>(from.year) * 12 + (from.month - 1) + offset;
  const std::int64_t year = count >= 0 ? count / 12 : (count - 11) / 12;
  return {static_cast<std::int32_t>(year), static_cast<std::int32_t>(count - year * 12 + 1)};
}

bool InRange(YearMonth at) { return at.year >= kFirstYear && at.year <= kLastYear; }

std::optional<CalendarMonth> GregorianMonth(YearMonth at) {
  if (!InRange(at)) return std::nullopt;
  const std::int64_t first = DaysFromCivil(at.year, at.month, 1);
  const YearMonth next = Step(at, 1);
  const std::int64_t end = DaysFromCivil(next.year, next.month, 1);
  return CalendarMonth{TierCalendar::kGregorian, at.year, at.month, first,
                       static_cast<std::int32_t>(end - first)};
}

std::optional<CalendarMonth> HijriMonth(YearMonth at, HijriCalendar& hijri) {
  if (!InRange(at)) return std::nullopt;
  // The converter takes day 30 of a 29-day month as the next month's first day, so a month's
  // length is the distance between two first days, never a day it was asked for.
  const YearMonth next = Step(at, 1);
  const std::optional<std::int64_t> first = hijri.DaysOf({at.year, at.month, 1});
  const std::optional<std::int64_t> end = hijri.DaysOf({next.year, next.month, 1});
  if (!first || !end || *end <= *first) return std::nullopt;
  return CalendarMonth{TierCalendar::kHijri, at.year, at.month, *first,
                       static_cast<std::int32_t>(*end - *first)};
}

}  // namespace

std::optional<CalendarMonth> MonthOf(TierCalendar calendar, std::int64_t day,
                                     HijriCalendar& hijri) {
  if (calendar == TierCalendar::kGregorian) {
    const host::DateTime civil = CivilFromDays(day);
    return GregorianMonth({civil.year, civil.month});
  }
  const std::optional<HijriDate> date = hijri.HijriOf(day);
  if (!date) return std::nullopt;
  return HijriMonth({date->year, date->month}, hijri);
}

std::optional<CalendarMonth> MonthAfter(const CalendarMonth& month, std::int32_t offset,
                                        HijriCalendar& hijri) {
  const YearMonth at = Step({month.year, month.month}, offset);
  return month.calendar == TierCalendar::kGregorian ? GregorianMonth(at) : HijriMonth(at, hijri);
}

}  // namespace lunavant::workbench
