// SPDX-License-Identifier: MIT
// Time as the scheduler counts it: moments in minutes on the project's wall clock, and the
// project's standard calendar (which weekdays are worked, when a working day starts and ends).
// The scheduler works in working-day boundaries: boundary b is the start of the b-th working day
// counted from the calendar's epoch, which is also the end of working day b - 1.
//
//   ProjectCalendar calendar;                      // Monday to Friday, 08:00 to 17:00
//   Moment start = calendar.StartOf(calendar.StartBoundary(MomentOf(2004, 3, 13)));
//   // Monday 15 March 2004, 08:00: the Saturday rolls on to the next working day.
#pragma once

#include <cstdint>
#include <vector>

#include "addin/host/value.h"

namespace lunavant::workbench {

// Minutes since 1970-01-01 00:00, on the project's wall clock (no time zone).
using Moment = std::int64_t;
inline constexpr Moment kMinutesPerDay = 24 * 60;

// Days since 1970-01-01 in the proleptic Gregorian calendar; valid for any year 1..9999.
std::int64_t DaysFromCivil(std::int32_t year, std::int32_t month, std::int32_t day);
host::DateTime CivilFromDays(std::int64_t days);
// 0 Sunday .. 6 Saturday.
int WeekdayOfDays(std::int64_t days);

Moment MomentOf(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour = 0,
                std::int32_t minute = 0);
Moment MomentOf(const host::DateTime& when);
host::DateTime DateTimeOf(Moment when);
std::int64_t DayOf(Moment when);

// The host accepts dates from 1 January 1984 to 31 December 2149 (to the last minute).
inline constexpr std::int32_t kFirstHostYear = 1984;
inline constexpr std::int32_t kLastHostYear = 2149;
bool InHostRange(Moment when);

// The weekdays that are worked, one bit per weekday (bit 0 Sunday .. bit 6 Saturday).
class WorkWeek {
 public:
  // Fails with kHostFailure when no weekday is worked.
  explicit WorkWeek(std::uint8_t working_days_mask);
  static WorkWeek MondayToFriday() { return WorkWeek(0b0111110); }
  static WorkWeek SundayToThursday() { return WorkWeek(0b0011111); }

  std::uint8_t Mask() const { return mask_; }
  bool IsWorkingDay(std::int64_t days) const;
  // The ordinal of the first working day on or after `days`.
  std::int64_t OrdinalOnOrAfter(std::int64_t days) const;
  // The day of working-day ordinal `ordinal`.
  std::int64_t DayOfOrdinal(std::int64_t ordinal) const;

  friend bool operator==(const WorkWeek&, const WorkWeek&) = default;

 private:
  std::uint8_t mask_;
  int per_week_ = 0;
  int before_[7] = {};  // working days of the week before each weekday, [0, 7]
  int nth_[7] = {};     // weekday of the n-th working day of the week
};

class ProjectCalendar {
 public:
  ProjectCalendar() = default;
  ProjectCalendar(WorkWeek week, std::int32_t day_start_minute, std::int32_t day_finish_minute);

  const WorkWeek& Week() const { return week_; }
  std::int32_t DayStartMinute() const { return day_start_; }
  std::int32_t DayFinishMinute() const { return day_finish_; }

  // Exceptions to the working week: a holiday on a working weekday, or a weekend day worked.
  // `days` as DayOf gives them; a day set back to what its weekday says is no exception.
  void SetDayWorking(std::int64_t days, bool working);
  bool IsWorkingDay(std::int64_t days) const;
  // The days whose status differs from their weekday's, in order.
  const std::vector<std::int64_t>& ExceptionDays() const { return flips_; }
  // The ordinal of the first working day on or after `days`, and the day of an ordinal.
  std::int64_t OrdinalOnOrAfter(std::int64_t days) const;
  std::int64_t DayOfOrdinal(std::int64_t ordinal) const;

  // The boundary at or after `when` at which work can start: a moment inside a working day's
  // hours counts as that day's start.
  std::int64_t StartBoundary(Moment when) const;
  // The boundary at or before `when` at which work done until then ends: a moment after a
  // working day's start counts as that day's end.
  std::int64_t FinishBoundary(Moment when) const;
  // The start of working day `boundary`, and the end of working day `boundary` - 1.
  Moment StartOf(std::int64_t boundary) const;
  Moment FinishOf(std::int64_t boundary) const;

 private:
  WorkWeek week_ = WorkWeek::MondayToFriday();
  std::int32_t day_start_ = 8 * 60;
  std::int32_t day_finish_ = 17 * 60;
  std::vector<std::int64_t> flips_;  // sorted exception days
  std::vector<std::int32_t> shift_;  // [i]: working days the exceptions before flips_[i] add
  std::int32_t holidays_ = 0;        // exceptions that take a working day away
  std::int32_t extra_days_ = 0;      // exceptions that add one
};

}  // namespace lunavant::workbench
