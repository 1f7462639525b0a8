// SPDX-License-Identifier: MIT
#include "cli/calendar_command.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

#include "addin/host/error.h"
#include "cli/exit_status.h"
#include "cli/messages.h"
#include "cli/text_grid.h"
#include "workbench/files/calendar_holidays.h"
#include "workbench/files/project_calendars.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant::cli {
namespace {

namespace wb = workbench;
using Action = CalendarOptions::Action;

std::optional<int> WeekdayOf(std::string_view text) {
  std::string lower;
  for (const char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (int weekday = 0; weekday < 7; ++weekday) {
    std::string name(wb::WeekdayShortName(weekday));
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == name) return weekday;
  }
  return std::nullopt;
}

// "2026-03-19" as days since 1970-01-01.
std::optional<std::int64_t> IsoDay(std::string_view text) {
  int year = 0, month = 0, day = 0;
  char tail = 0;
  if (text.size() != 10 ||
      std::sscanf(std::string(text).c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &tail) != 3) {
    return std::nullopt;
  }
  const std::int64_t days = wb::DaysFromCivil(year, month, day);
  const host::DateTime back = wb::CivilFromDays(days);
  if (back.year != year || back.month != month || back.day != day) return std::nullopt;
  return days;
}

wb::DayHours HoursOption(const std::string& text, const char* option) {
  const auto hours = wb::ParseDayHours(text);
  if (!hours) {
    throw CommandError(kExitUsage, std::string(option) + " \"" + text +
                                       "\" is not working hours such as 08:00-16:00 or "
                                       "08:00-12:00,13:00-17:00");
  }
  return *hours;
}

std::uint8_t DaysOption(const std::string& text, const char* option) {
  const auto days = ParseWeekdays(text);
  if (!days) {
    throw CommandError(kExitUsage, std::string(option) + " \"" + text +
                                       "\" is not weekdays such as Sun-Thu or Fri,Sat");
  }
  return *days;
}

std::int64_t DayOption(const std::string& text, const char* option) {
  const auto day = IsoDay(text);
  if (!day) {
    throw CommandError(kExitUsage,
                       std::string(option) + " \"" + text + "\" is not a day such as 2026-03-19");
  }
  return *day;
}

std::string WeekText(const wb::ProjectCalendar& calendar, int weekday) {
  const wb::DayHours& hours = calendar.WeekdayHours(weekday);
  return hours.empty() ? std::string("day off") : wb::DayHoursText(hours);
}

std::string DaysText(const wb::ExceptionRule& rule) {
  return rule.first_day == rule.last_day
             ? wb::IsoDayText(rule.first_day)
             : wb::IsoDayText(rule.first_day) + " to " + wb::IsoDayText(rule.last_day);
}

void PrintList(Terminal& terminal, const std::filesystem::path& file,
               const std::vector<wb::CalendarSummary>& calendars, bool json) {
  if (json) {
    terminal.out << "{\"file\": " << JsonString(file.string()) << ", \"calendars\": [";
    for (std::size_t i = 0; i < calendars.size(); ++i) {
      const wb::CalendarSummary& c = calendars[i];
      terminal.out << (i == 0 ? "" : ", ") << "{\"uid\": " << c.uid
                   << ", \"name\": " << JsonString(c.name)
                   << ", \"base\": " << (c.is_base ? "true" : "false")
                   << ", \"based_on\": " << JsonString(c.base_name)
                   << ", \"project\": " << (c.is_project_calendar ? "true" : "false") << "}";
    }
    terminal.out << "]}\n";
    return;
  }
  TextGrid grid({{"Calendar"}, {"Kind"}, {"Project's"}});
  for (const wb::CalendarSummary& c : calendars) {
    grid.AddRow({c.name, c.is_base ? "base calendar" : "based on " + c.base_name,
                 c.is_project_calendar ? "yes" : ""});
  }
  terminal.out << grid.Render();
}

void PrintShow(Terminal& terminal, const std::filesystem::path& file, const std::string& name,
               const wb::ProjectCalendar& calendar, const std::vector<wb::ExceptionRule>& rules,
               bool json) {
  if (json) {
    terminal.out << "{\"file\": " << JsonString(file.string())
                 << ", \"calendar\": " << JsonString(name) << ", \"week\": {";
    for (int weekday = 0; weekday < 7; ++weekday) {
      terminal.out << (weekday == 0 ? "" : ", ")
                   << JsonString(std::string(wb::WeekdayShortName(weekday))) << ": "
                   << JsonString(wb::DayHoursText(calendar.WeekdayHours(weekday)));
    }
    terminal.out << "}, \"exceptions\": [";
    for (std::size_t i = 0; i < rules.size(); ++i) {
      const wb::ExceptionRule& r = rules[i];
      terminal.out << (i == 0 ? "" : ", ") << "{\"name\": " << JsonString(r.name)
                   << ", \"first\": " << JsonString(wb::IsoDayText(r.first_day))
                   << ", \"last\": " << JsonString(wb::IsoDayText(r.last_day))
                   << ", \"repeats\": " << JsonString(wb::RepeatText(r))
                   << ", \"working\": " << JsonString(wb::DayHoursText(r.hours)) << "}";
    }
    terminal.out << "]}\n";
    return;
  }
  terminal.out << "Calendar \"" << name << "\" of " << file.string() << "\n";
  TextGrid week({{"Day"}, {"Working hours"}});
  for (int weekday = 0; weekday < 7; ++weekday) {
    week.AddRow({std::string(wb::WeekdayShortName(weekday)), WeekText(calendar, weekday)});
  }
  terminal.out << week.Render();
  if (rules.empty()) {
    terminal.out << "\nNo exceptions.\n";
    return;
  }
  TextGrid exceptions({{"Exception"}, {"Days"}, {"Repeats"}, {"Working hours"}});
  for (const wb::ExceptionRule& r : rules) {
    exceptions.AddRow({r.name.empty() ? std::string("(unnamed)") : r.name, DaysText(r),
                       wb::RepeatText(r), r.working ? wb::DayHoursText(r.hours) : "day off"});
  }
  terminal.out << '\n' << exceptions.Render();
}

// Runs the change and says what it was; CalendarError becomes a usage error naming the file.
template <typename Run>
void Change(HostSession& session, Run change) {
  try {
    change();
  } catch (const wb::CalendarError& e) {
    throw CommandError(kExitUsage, session.FileName().string() + ": " + e.what());
  }
}

}  // namespace

std::optional<std::uint8_t> ParseWeekdays(std::string_view text) {
  std::uint8_t mask = 0;
  while (!text.empty()) {
    const std::size_t comma = text.find(',');
    std::string_view part = text.substr(0, comma);
    while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
    while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
    const std::size_t dash = part.find('-');
    const auto first = WeekdayOf(part.substr(0, dash));
    const auto last = dash == std::string_view::npos ? first : WeekdayOf(part.substr(dash + 1));
    if (!first || !last) return std::nullopt;
    for (int d = *first;; d = (d + 1) % 7) {
      mask = static_cast<std::uint8_t>(mask | (1u << d));
      if (d == *last) break;
    }
    if (comma == std::string_view::npos) break;
    text = text.substr(comma + 1);
  }
  if (mask == 0) return std::nullopt;
  return mask;
}

int RunCalendar(Terminal& terminal, const SessionOptions& options,
                const CalendarOptions& calendar) {
  HostSession session(terminal, options);
  session.StartAddIns(AddInNeed::kConnected);
  wb::Project& project = session.Open(calendar.file);
  const std::string& name = calendar.calendar;

  switch (calendar.action) {
    case Action::kList:
      PrintList(terminal, session.FileName(), wb::ListCalendars(project), calendar.json);
      return kExitOk;
    case Action::kShow: {
      wb::ProjectCalendar week;
      std::vector<wb::ExceptionRule> rules;
      Change(session, [&] {
        week = wb::ReadNamedCalendar(project, name);
        rules = wb::CalendarExceptionRules(project, name);
      });
      std::string shown = name;
      if (shown.empty()) shown = wb::ProjectCalendarName(project);
      PrintShow(terminal, session.FileName(), shown, week, rules, calendar.json);
      return kExitOk;
    }
    case Action::kSet:
      if (calendar.weekday) {
        const auto one = ParseWeekdays(*calendar.weekday);
        if (!one || (*one & (*one - 1)) != 0) {
          throw CommandError(
              kExitUsage, "--weekday \"" + *calendar.weekday + "\" is not one weekday such as Fri");
        }
        if (calendar.days) {
          throw CommandError(kExitUsage, "--weekday and --days cannot go together");
        }
        int weekday = 0;
        while (((*one >> weekday) & 1) == 0) ++weekday;
        const wb::DayHours hours =
            calendar.hours ? HoursOption(*calendar.hours, "--hours") : wb::DayHours{};
        Change(session, [&] { wb::SetWeekdayHours(project, name, weekday, hours); });
      } else {
        if (!calendar.days && !calendar.hours) {
          throw CommandError(kExitUsage, "calendar set needs --days, --hours or --weekday");
        }
        Change(session, [&] {
          const wb::ProjectCalendar now = wb::ReadNamedCalendar(project, name);
          const std::uint8_t days =
              calendar.days ? DaysOption(*calendar.days, "--days") : now.Week().Mask();
          wb::DayHours hours;
          if (calendar.hours) {
            hours = HoursOption(*calendar.hours, "--hours");
          } else {
            // The hours of the first day worked now, for days made working.
            for (int d = 0; d < 7 && hours.empty(); ++d) hours = now.WeekdayHours(d);
          }
          wb::SetWorkingWeek(project, name, days, hours);
        });
      }
      break;
    case Action::kAddException: {
      wb::ExceptionRule rule;
      rule.name = calendar.name;
      rule.first_day = DayOption(calendar.from, "--from");
      rule.last_day = calendar.to ? DayOption(*calendar.to, "--to") : rule.first_day;
      if (calendar.yearly && calendar.weekly) {
        throw CommandError(kExitUsage, "--yearly and --weekly cannot go together");
      }
      if (calendar.yearly) rule.repeat = wb::ExceptionRule::Repeat::kYearly;
      if (calendar.weekly) {
        rule.repeat = wb::ExceptionRule::Repeat::kWeekly;
        rule.days_of_week = DaysOption(*calendar.weekly, "--weekly");
      }
      if (calendar.working) {
        rule.working = true;
        rule.hours = HoursOption(*calendar.working, "--working");
      }
      Change(session, [&] { wb::AddCalendarException(project, name, rule); });
      break;
    }
    case Action::kRemoveException: {
      std::size_t removed = 0;
      Change(session,
             [&] { removed = wb::RemoveCalendarExceptions(project, name, {calendar.name}); });
      if (removed == 0) {
        throw CommandError(kExitUsage, session.FileName().string() +
                                           ": the calendar has no exception \"" + calendar.name +
                                           "\"");
      }
      break;
    }
    case Action::kNew:
      Change(session,
             [&] { wb::NewBaseCalendar(project, calendar.name, calendar.copy_of.value_or("")); });
      break;
    case Action::kUse:
      Change(session, [&] { wb::SetProjectCalendar(project, calendar.name); });
      break;
    case Action::kTask: {
      // A blank row has no task; a number past the rows is none either.
      auto* task = calendar.task > 0 && calendar.task <= project.TaskCount()
                       ? static_cast<wb::Task*>(project.TaskAt(calendar.task))
                       : nullptr;
      if (task == nullptr) {
        throw CommandError(kExitUsage, session.FileName().string() + ": there is no task " +
                                           std::to_string(calendar.task));
      }
      Change(session, [&] { wb::SetTaskCalendar(project, *task, name); });
      break;
    }
  }

  try {
    session.App().CalculateProject();
  } catch (const host::HostError& e) {
    throw CommandError(kExitRefused, session.FileName().string() +
                                         ": the schedule cannot be recalculated: " + e.what());
  }
  if (calendar.save.dry_run) {
    terminal.err << message::NotSavedDryRun(session.FileName()) << '\n';
    return kExitOk;
  }
  session.Save(project, calendar.save.output);
  return kExitOk;
}

}  // namespace lunavant::cli
