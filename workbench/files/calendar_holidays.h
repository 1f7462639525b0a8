// SPDX-License-Identifier: MIT
// Dated holidays (see holiday_dates.h) put into a project's calendar as named non-working
// exceptions, saved with the project's file: in its Exceptions, with their names, and as dated
// WeekDays for readers of the 2003 form.
//
// Applying is idempotent: a holiday whose name the calendar already holds is left alone. The
// calendar's own exceptions win: a holiday is cut around the days they hold, and one whose every
// day they hold is not added.
//
//   HolidayPlan plan = PlanHolidays(project, DateHolidays(set, 1447, 1449, hijri));
//   ApplyHolidayPlan(project, plan);   // then app.CalculateProject()
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "workbench/holidays/holiday_dates.h"

namespace lunavant::workbench {

class Project;

// An exception of a calendar as its file has it: a span of days, named or not.
struct CalendarException {
  std::string name;  // empty for an unnamed one (the 2003 form has no names)
  std::int64_t first_day = 0;
  std::int64_t last_day = 0;
  bool working = false;
};

// The names of the project's calendars, in file order. A project made in the workbench has one,
// "Standard".
std::vector<std::string> CalendarNames(Project& project);
// The project's base calendar (the one the project is scheduled on), when its file names one.
std::string ProjectCalendarName(Project& project);

// The exceptions of the calendar named `calendar` (letter case aside), or of the project's
// calendar when empty, in file order. Fails with HolidayError when there is no such calendar.
std::vector<CalendarException> CalendarExceptionsOf(Project& project,
                                                    std::string_view calendar = {});

struct PlannedHoliday {
  enum class Status {
    kAdd,      // added on `spans`: all its days, or those the calendar's own exceptions leave
    kPresent,  // the calendar holds its name already
    kCovered,  // every day of it is an exception already: the calendar's own, or an earlier
               // holiday's
    kRemove,   // taken off: the calendar holds an exception of its name, on `spans`
    kAbsent,   // nothing to take off: the calendar holds no exception of its name
  };
  DatedHoliday holiday;
  Status status = Status::kAdd;
  // For kPresent: the calendar holds the name on none of the holiday's days (a year's
  // announcement came after it was added, say).
  bool elsewhere = false;
  // First and last days, inclusive: those to add for kAdd, those the name holds for `elsewhere`.
  std::vector<std::pair<std::int64_t, std::int64_t>> spans;
};

struct HolidayPlan {
  std::string calendar;  // the calendar's name as the file has it
  std::vector<PlannedHoliday> holidays;
  std::size_t AddedCount() const;
  std::size_t RemovedCount() const;
};

// What applying `holidays` to the calendar named `calendar` (the project's when empty) would do;
// changes nothing. Fails with HolidayError when there is no such calendar.
HolidayPlan PlanHolidays(Project& project, const std::vector<DatedHoliday>& holidays,
                         std::string_view calendar = {});

// Writes the plan's holidays to add into the calendar of the project's document and, when that
// calendar is the project's (or the project's is based on it), into the project's calendar; the
// working calendars of tasks on their own or their resources' calendars are made again from the
// document, so that the next recalculation moves all work off the holidays. Marks the project
// changed when anything was added. Does not recalculate. Fails with HolidayError when the calendar
// is gone.
void ApplyHolidayPlan(Project& project, const HolidayPlan& plan);

// What taking `holidays` off the calendar named `calendar` (the project's when empty) would do:
// each holiday is removed (kRemove, on the spans it holds there) where the calendar holds an
// exception of its name within its days; the others are absent. An exception of the same name on
// other days (another country's National Day, another set's longer Eid) stays. Changes nothing.
// Fails with HolidayError when there is no such calendar.
HolidayPlan PlanHolidayRemoval(Project& project, const std::vector<DatedHoliday>& holidays,
                               std::string_view calendar = {});
// Takes the plan's holidays to remove off the calendar (exceptions and their dated days) and reads
// the project's working time again, as ApplyHolidayPlan does. Does not recalculate.
void ApplyHolidayRemoval(Project& project, const HolidayPlan& plan);

// Days as the listings show them: "2026-03-19", "Thu 2026-03-19", "1447-09-30"; a span as
// "Thu 2026-03-19 to Sun 2026-03-22", one day alone when it is one day.
std::string IsoDayText(std::int64_t days);
std::string GregorianDaysText(std::int64_t first_day, std::int64_t last_day);
std::string HijriDayText(const HijriDate& date);
std::string HijriDaysText(const HijriDate& first, const HijriDate& last);
// What becomes of a holiday: "added" (or "would be added" before `applied`), on which days when
// other exceptions hold some, "in the calendar already" (", on other days: ..." when the name is
// there on none of its days), "not added: ...", "removed" (or "would be removed") and "not in
// the calendar".
std::string PlannedHolidayText(const PlannedHoliday& holiday, bool applied);
// "add", "present", "covered", "remove" or "absent", for scripts.
std::string StatusCode(PlannedHoliday::Status status);

}  // namespace lunavant::workbench
