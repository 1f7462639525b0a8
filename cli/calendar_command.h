// SPDX-License-Identifier: MIT
// `lunavant calendar`: a project's calendars listed and shown (the working week and the named
// exceptions), and changed as in the desktop's Change Working Time: working days and hours,
// exceptions added and removed, a base calendar copied from another, the calendar the project is
// scheduled on. A change recalculates the schedule and saves as the other editing commands do.
//
//   lunavant calendar set plan.xml --days Sun-Thu --hours 08:00-16:00
//   lunavant calendar show plan.xml
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "cli/host_session.h"
#include "cli/project_commands.h"
#include "cli/terminal_ui.h"

namespace lunavant::cli {

struct CalendarOptions {
  enum class Action { kList, kShow, kSet, kAddException, kRemoveException, kNew, kUse, kTask };
  Action action = Action::kList;
  std::filesystem::path file;
  std::string calendar;  // the project's own when empty
  // kSet: the working days ("Sun-Thu", "Mon,Tue,Wed") and their hours ("08:00-16:00"), or one
  // weekday's hours (empty hours: a day off).
  std::optional<std::string> days;
  std::optional<std::string> hours;
  std::optional<std::string> weekday;
  // kAddException: name, first and last days (YYYY-MM-DD), repetition, worked hours.
  std::string name;
  std::string from;
  std::optional<std::string> to;
  bool yearly = false;
  std::optional<std::string> weekly;   // weekdays, as --days
  std::optional<std::string> working;  // hours worked on the exception's days
  // kTask: the task given `calendar` as its own (none: the project's).
  std::int32_t task = 0;
  // kNew: the calendar copied.
  std::optional<std::string> copy_of;
  bool json = false;
  SaveOptions save;
};

// Runs one action. Fails with kExitUsage for options that cannot be read or a change the calendars
// refuse (CalendarError, with its sentence), kExitFile as the other project commands.
int RunCalendar(Terminal& terminal, const SessionOptions& options, const CalendarOptions& calendar);

// "Sun-Thu", "Fri,Sat", "sun" as a mask of weekdays (bit 0 Sunday); a range runs on past Saturday
// ("Sat-Wed"). Nullopt for anything else.
std::optional<std::uint8_t> ParseWeekdays(std::string_view text);

}  // namespace lunavant::cli
