// SPDX-License-Identifier: MIT
// One month of a date picker, in the Gregorian or the Umm al-Qura calendar: its first day and
// length, and the months before and after it. Hijri months come from the converter library the
// add-in loads (through HijriCalendar), never from another calendar implementation, so a picked
// day and the add-in's Hijri text always agree.
//
//   ConverterHijriCalendar hijri(app.Libraries());
//   std::optional<CalendarMonth> ramadan = MonthOf(TierCalendar::kHijri, today, hijri);
//   std::optional<CalendarMonth> shawwal = MonthAfter(*ramadan, 1, hijri);
#pragma once

#include <cstdint>
#include <optional>

#include "workbench/view/timescale.h"

namespace lunavant::workbench {

class HijriCalendar;

struct CalendarMonth {
  TierCalendar calendar = TierCalendar::kGregorian;
  std::int32_t year = 0;
  std::int32_t month = 0;      // [1, 12]
  std::int64_t first_day = 0;  // days since 1970-01-01
  std::int32_t length = 0;     // [28, 31]
  std::int64_t EndDay() const { return first_day + length; }
  friend bool operator==(const CalendarMonth&, const CalendarMonth&) = default;
};

// The month of `calendar` that holds `day` (days since 1970-01-01). Empty when the converter
// refuses a day it needs; fails with HolidayError when it cannot be loaded (Hijri only).
std::optional<CalendarMonth> MonthOf(TierCalendar calendar, std::int64_t day, HijriCalendar& hijri);

// The month `offset` months after `month` (before it when negative), in the same calendar; empty
// outside years 1..9999 or where the converter refuses. Fails as MonthOf.
std::optional<CalendarMonth> MonthAfter(const CalendarMonth& month, std::int32_t offset,
                                        HijriCalendar& hijri);

}  // namespace lunavant::workbench
