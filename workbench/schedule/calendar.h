// SPDX-License-Identifier: MIT
// Time as the scheduler counts it: moments in minutes on the project's wall clock, and the
// project's standard calendar (which weekdays are worked, when a working day starts and ends).
// The scheduler counts working minutes from the calendar's epoch: a count stands for the moment
// work resumes (a start) or the moment the last counted minute ends (a finish).
//
//   ProjectCalendar calendar;                      // Monday to Friday, 08:00 to 17:00
//   Moment start = calendar.StartOf(calendar.WorkAt(MomentOf(2004, 3, 13)));
//   // Monday 15 March 2004, 08:00: the Saturday rolls on to the next working time.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
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

  friend bool operator==(const WorkWeek&, const WorkWeek&) = default;

 private:
  std::uint8_t mask_;
};

// One span of working time in a day, in minutes since midnight: [from, to), 0 <= from < to <= 1440.
struct WorkingTime {
  std::int32_t from;
  std::int32_t to;
  friend bool operator==(const WorkingTime&, const WorkingTime&) = default;
};
using DayHours = std::vector<WorkingTime>;

class ProjectCalendar {
 public:
  // Monday to Friday, 08:00 to 12:00 and 13:00 to 17:00.
  ProjectCalendar() : ProjectCalendar(WorkWeek::MondayToFriday(), 8 * 60, 17 * 60) {}
  // The weekdays of `week` worked from `day_start_minute` to `day_finish_minute`, with an hour
  // off at noon when the day spans it. Fails with kHostFailure when the day is empty.
  ProjectCalendar(WorkWeek week, std::int32_t day_start_minute, std::int32_t day_finish_minute);
  // Each weekday's own hours (index 0 Sunday); an empty list is a day off. Fails with
  // kHostFailure when no weekday is worked or a day's spans are out of order or overlap.
  explicit ProjectCalendar(std::array<DayHours, 7> week_hours);

  const WorkWeek& Week() const { return week_; }
  // The earliest start and latest finish of work over the working weekdays.
  std::int32_t DayStartMinute() const { return day_start_; }
  std::int32_t DayFinishMinute() const { return day_finish_; }
  const DayHours& WeekdayHours(int weekday) const { return week_hours_[weekday]; }

  // Exceptions to the working week: a holiday on a working weekday, or a weekend day worked
  // (with the hours of the first working weekday). `days` as DayOf gives them; a day set back to
  // what its weekday says is no exception.
  void SetDayWorking(std::int64_t days, bool working);
  // An exception with its own hours; an empty list makes a holiday. Fails with kHostFailure for
  // spans out of order.
  void SetDayHours(std::int64_t days, DayHours hours);
  // Many days at once, later entries for the same day winning; cheaper than one by one.
  void SetDaysHours(std::vector<std::pair<std::int64_t, DayHours>> days);
  bool IsWorkingDay(std::int64_t days) const { return !HoursOn(days).empty(); }
  const DayHours& HoursOn(std::int64_t days) const;
  // The days whose hours differ from their weekday's, in order.
  const std::vector<std::int64_t>& ExceptionDays() const { return flips_; }

  // The same working time on every day (the same weekday hours and the same exceptions).
  friend bool operator==(const ProjectCalendar& a, const ProjectCalendar& b) {
    return a.week_hours_ == b.week_hours_ && a.flips_ == b.flips_ && a.exceptions_ == b.exceptions_;
  }

  // Working time as a count: the working minutes between the calendar's epoch and `when`.
  // Moments that no work separates (a weekend, the evening and the next morning) count the same.
  std::int64_t WorkAt(Moment when) const;
  // The moment work resumes after `work` working minutes (the start of a working span), and the
  // moment the `work`-th working minute ends (the end of a span when it falls on one).
  Moment StartOf(std::int64_t work) const;
  Moment FinishOf(std::int64_t work) const;

 private:
  struct Exception {
    std::int64_t day;
    DayHours hours;
    friend bool operator==(const Exception&, const Exception&) = default;
  };
  std::int64_t WorkBeforeDay(std::int64_t days) const;
  std::int64_t DayMinutes(std::int64_t days) const;
  // The day on which the `work`-th working minute (counting from 0) lies.
  std::int64_t DayOfWork(std::int64_t work) const;
  // Records a day's hours without rebuilding the counts.
  void Place(std::int64_t days, DayHours hours);
  void Rebuild();

  WorkWeek week_ = WorkWeek::MondayToFriday();
  std::array<DayHours, 7> week_hours_;
  std::array<std::int64_t, 8> week_before_ = {};  // working minutes of the week before a weekday
  std::int32_t day_start_ = 8 * 60;
  std::int32_t day_finish_ = 17 * 60;
  std::vector<Exception> exceptions_;  // sorted by day
  std::vector<std::int64_t> flips_;    // their days
  std::vector<std::int64_t> shift_;    // [i]: working minutes the exceptions before i add
};

// Working time where any of `calendars` works (the passes of a project whose tasks work on
// calendars of their own count on it), and where all of them work (a task with its own calendar
// and resources works when both do). Each fails with kHostFailure for no calendar; the common
// working time of calendars that share no working weekday is the first calendar's.
ProjectCalendar UnionOf(const std::vector<const ProjectCalendar*>& calendars);
ProjectCalendar IntersectionOf(const std::vector<const ProjectCalendar*>& calendars);

}  // namespace lunavant::workbench
