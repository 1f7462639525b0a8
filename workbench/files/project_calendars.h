// SPDX-License-Identifier: MIT
// A project's calendars as its file holds them, read and changed: which weekdays are worked and
// when, named exceptions (one-off spans and recurring ones), new base calendars copied from
// another, and which base calendar the project is scheduled on. Every change is written into the
// project's MSPDI document (see project_document.h), in the form the desktop scheduler writes
// (WeekDays for the week and, for readers of the 2003 form, each exception's days; Exceptions
// with names and recurrence), and the project's working time is read again from it, so that the
// next recalculation schedules on it and a save keeps it.
//
//   SetWorkingWeek(plan, "", 0b0011111, {{8 * 60, 16 * 60}});   // Sunday to Thursday, 8 to 16
//   AddCalendarException(plan, "", {.name = "Site closed", .first_day = d, .last_day = d + 2});
//   app.CalculateProject();
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "workbench/schedule/calendar.h"

namespace lunavant::workbench {

class Project;
class Task;

struct CalendarSummary {
  std::int64_t uid = 0;
  std::string name;
  bool is_base = true;
  std::string base_name;  // the calendar it builds on; empty for a base calendar
  bool is_project_calendar = false;
};

// The project's calendars in file order. A project made in the workbench has one, "Standard".
std::vector<CalendarSummary> ListCalendars(Project& project);

// The working time of the calendar named `calendar` (letter case aside; the project's own when
// empty), with what it takes from its base calendar. Fails with CalendarError when there is no
// such calendar.
ProjectCalendar ReadNamedCalendar(Project& project, std::string_view calendar = {});

// An exception as a user enters it: a span of days off (or worked, with `hours`), once or
// repeated every `period` days, weeks (on `days_of_week`) or years (on the first day's date)
// until the last day.
struct ExceptionRule {
  enum class Repeat { kOnce, kDaily, kWeekly, kYearly, kOther };
  std::string name;
  std::int64_t first_day = 0;  // days since 1970-01-01
  std::int64_t last_day = 0;   // inclusive; the end of the repetition for a recurring one
  Repeat repeat = Repeat::kOnce;
  std::int32_t period = 1;        // [1, 1000] days or weeks
  std::uint8_t days_of_week = 0;  // kWeekly: bit 0 Sunday .. bit 6 Saturday
  bool working = false;           // a worked day, on `hours`
  DayHours hours;                 // for a working exception
  friend bool operator==(const ExceptionRule&, const ExceptionRule&) = default;
};

// The calendar's own exceptions as a user sees them: named ones as the file's Exceptions have
// them, and the dated days of a file of the 2003 form, which has no names (listed unnamed, as
// one-off spans). Fails with CalendarError when there is no such calendar.
std::vector<ExceptionRule> CalendarExceptionRules(Project& project, std::string_view calendar = {});
// The days an exception holds, in order (a recurring one's occurrences).
std::vector<std::int64_t> DaysOfException(const ExceptionRule& rule);
// "Once", "Every 2 days", "Weekly on Fri", "Yearly on 23 Sep", ... for listings.
std::string RepeatText(const ExceptionRule& rule);

// A change the calendars refuse; what() says why in a sentence a user can act on.
class CalendarError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Sets the weekdays of `working_days` (bit 0 Sunday) to be worked on `hours` and the others to be
// days off, in the calendar named (the project's when empty). Fails with CalendarError, changing
// nothing, for no working day, hours out of order or overlapping, or no such calendar.
void SetWorkingWeek(Project& project, std::string_view calendar, std::uint8_t working_days,
                    const DayHours& hours);
// One weekday's hours (0 Sunday); empty hours make it a day off. Fails as SetWorkingWeek, also when
// it would leave the week without a working day.
void SetWeekdayHours(Project& project, std::string_view calendar, int weekday,
                     const DayHours& hours);

// Adds a named exception. Fails with CalendarError, changing nothing, for an empty name, a name
// the calendar holds already, an end before the start, a span longer than 100 years, a working
// exception without hours, or days another exception of the calendar holds already (exceptions
// of one calendar never overlap).
void AddCalendarException(Project& project, std::string_view calendar, const ExceptionRule& rule);
// Removes every exception named one of `names` (exactly) with its dated days; returns how many
// names it found, changing nothing when none. Fails with CalendarError when there is no such
// calendar.
std::size_t RemoveCalendarExceptions(Project& project, std::string_view calendar,
                                     const std::vector<std::string>& names);

// Removes the exceptions of these names whose first and last days are these (as a listing gives
// them), with their dated days; returns how many it found. Fails as RemoveCalendarExceptions.
struct NamedSpan {
  std::string name;
  std::int64_t first_day = 0;
  std::int64_t last_day = 0;
};
std::size_t RemoveCalendarExceptionSpans(Project& project, std::string_view calendar,
                                         const std::vector<NamedSpan>& spans);

// A new base calendar named `name`, with the week and the exceptions of the calendar `copy_of`
// (its base's included). Fails with CalendarError for an empty or taken name or no such calendar.
void NewBaseCalendar(Project& project, std::string name, std::string_view copy_of);
// Schedules the project on the base calendar named `calendar`. Fails with CalendarError when there
// is no such calendar or it is no base calendar.
void SetProjectCalendar(Project& project, std::string_view calendar);

// The calendar a task works on instead of the project's ("" for none: the project's), named as
// ListCalendars names them, and the name of a task's own; the working time follows at once.
// Fails with CalendarError when there is no such calendar.
void SetTaskCalendar(Project& project, Task& task, std::string_view calendar);
std::string TaskCalendarName(Project& project, const Task& task);

// A project that holds nothing but `project`'s calendars (and which of them the project uses), for
// a dialog to change apart: Cancel drops it, OK hands it to TakeCalendars. Not handed to the
// application; the project must outlive nothing of it.
std::unique_ptr<Project> CalendarsDraft(Project& project);
// Puts the draft's calendars in place of the project's and reads its working time again; false,
// changing nothing, when they are the same.
bool TakeCalendars(Project& project, Project& draft);

// Reads the project's working time again from its document: the project's calendar and the
// working calendars of tasks on their own or their resources' calendars. Every change above ends
// with it; ApplyHolidayPlan too.
void ReadCalendarsAgain(Project& project);

// "08:00-12:00, 13:00-17:00"; "" for none. ParseDayHours reads the same ("8:00-16:00", "8-16"),
// nullopt for text it cannot read or spans out of order.
std::string DayHoursText(const DayHours& hours);
std::optional<DayHours> ParseDayHours(std::string_view text);
// "Sun".."Sat" by weekday, 0 Sunday.
std::string_view WeekdayShortName(int weekday);

}  // namespace lunavant::workbench
