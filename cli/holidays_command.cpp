// SPDX-License-Identifier: MIT
#include "cli/holidays_command.h"

#include <algorithm>
#include <sstream>
#include <vector>

#include "addin/host/error.h"
#include "cli/exit_status.h"
#include "cli/messages.h"
#include "cli/text_grid.h"
#include "workbench/files/calendar_holidays.h"
#include "workbench/holidays/holiday_dates.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant::cli {
namespace {

using workbench::HijriDayText;
using workbench::IsoDayText;
using workbench::PlannedHoliday;
using workbench::StatusCode;

std::string BadYears(const std::string& years) {
  return "--years \"" + years + "\" is not a Hijri year or a range of them, such as 1447-1450";
}

void PrintJson(std::ostream& out, const std::filesystem::path& file, const HolidaysOptions& options,
               std::pair<std::int32_t, std::int32_t> years, const workbench::HolidayPlan& plan,
               std::int32_t moved) {
  out << "{\"file\": " << JsonString(file.string())
      << ", \"calendar\": " << JsonString(plan.calendar) << ", \"set\": " << JsonString(options.set)
      << ", \"years\": [" << years.first << ", " << years.second
      << "], \"dry_run\": " << (options.save.dry_run ? "true" : "false")
      << ", \"added\": " << plan.AddedCount() << ", \"removed\": " << plan.RemovedCount()
      << ", \"tasks_moved\": " << moved << ", \"holidays\": [";
  for (std::size_t i = 0; i < plan.holidays.size(); ++i) {
    const PlannedHoliday& h = plan.holidays[i];
    out << (i == 0 ? "" : ", ") << "{\"name\": " << JsonString(h.holiday.name)
        << ", \"rule\": " << JsonString(h.holiday.rule)
        << ", \"hijri_first\": " << JsonString(HijriDayText(h.holiday.hijri_first))
        << ", \"hijri_last\": " << JsonString(HijriDayText(h.holiday.hijri_last))
        << ", \"first\": " << JsonString(IsoDayText(h.holiday.first_day))
        << ", \"last\": " << JsonString(IsoDayText(h.holiday.last_day))
        << ", \"status\": " << JsonString(StatusCode(h.status)) << ", \"spans\": [";
    for (std::size_t s = 0; s < h.spans.size(); ++s) {
      out << (s == 0 ? "" : ", ") << "[" << JsonString(IsoDayText(h.spans[s].first)) << ", "
          << JsonString(IsoDayText(h.spans[s].second)) << "]";
    }
    out << "]}";
  }
  out << "]}\n";
}

// The calendar's exceptions, named (holidays among them) and not.
int ListExceptions(Terminal& terminal, const SessionOptions& options,
                   const HolidaysOptions& holidays) {
  HostSession session(terminal, options);
  session.StartAddIns(AddInNeed::kConnected);
  workbench::Project& project = session.Open(holidays.file);
  std::vector<workbench::CalendarException> exceptions;
  std::string calendar = holidays.calendar.value_or("");
  try {
    exceptions = workbench::CalendarExceptionsOf(project, calendar);
    if (calendar.empty()) calendar = workbench::ProjectCalendarName(project);
  } catch (const workbench::HolidayError& e) {
    throw CommandError(kExitUsage, session.FileName().string() + ": " + e.what());
  }
  // A file of the 2003 form lists each named exception's days again, unnamed: those are left out.
  std::vector<workbench::CalendarException> shown;
  for (const workbench::CalendarException& e : exceptions) {
    const bool repeated =
        e.name.empty() &&
        std::any_of(exceptions.begin(), exceptions.end(), [&e](const auto& named) {
          return !named.name.empty() && named.first_day <= e.first_day &&
                 named.last_day >= e.last_day;
        });
    if (!repeated) shown.push_back(e);
  }
  if (holidays.json) {
    terminal.out << "{\"file\": " << JsonString(session.FileName().string())
                 << ", \"calendar\": " << JsonString(calendar) << ", \"exceptions\": [";
    for (std::size_t i = 0; i < shown.size(); ++i) {
      terminal.out << (i == 0 ? "" : ", ") << "{\"name\": " << JsonString(shown[i].name)
                   << ", \"first\": " << JsonString(IsoDayText(shown[i].first_day))
                   << ", \"last\": " << JsonString(IsoDayText(shown[i].last_day))
                   << ", \"working\": " << (shown[i].working ? "true" : "false") << "}";
    }
    terminal.out << "]}\n";
    return kExitOk;
  }
  terminal.out << "Calendar \"" << calendar << "\" of " << session.FileName().string() << ": "
               << shown.size() << (shown.size() == 1 ? " exception\n" : " exceptions\n");
  if (shown.empty()) return kExitOk;
  TextGrid grid({{"Exception"}, {"Gregorian"}, {"Kind"}});
  for (const workbench::CalendarException& e : shown) {
    grid.AddRow({e.name.empty() ? std::string("(unnamed)") : e.name,
                 workbench::GregorianDaysText(e.first_day, e.last_day),
                 e.working ? "working" : "non-working"});
  }
  terminal.out << grid.Render();
  return kExitOk;
}

}  // namespace

int RunHolidays(Terminal& terminal, const SessionOptions& options,
                const HolidaysOptions& holidays) {
  if (holidays.list) {
    if (holidays.remove || !holidays.set.empty() || !holidays.years.empty()) {
      throw CommandError(kExitUsage, "--list takes no --set, --years or --remove");
    }
    return ListExceptions(terminal, options, holidays);
  }
  if (holidays.set.empty() || holidays.years.empty()) {
    throw CommandError(kExitUsage, "holidays needs --set and --years (or --list)");
  }
  const auto years = workbench::ParseYearRange(holidays.years);
  if (!years) throw CommandError(kExitUsage, BadYears(holidays.years));
  workbench::HolidaySet set;
  try {
    set = workbench::LoadHolidaySet(holidays.set);
  } catch (const workbench::HolidayError& e) {
    throw CommandError(kExitUsage, e.what());
  }

  HostSession session(terminal, options);
  session.StartAddIns(AddInNeed::kConnected);
  workbench::Project& project = session.Open(holidays.file);
  workbench::ConverterHijriCalendar hijri(session.App().Libraries());
  std::vector<workbench::DatedHoliday> dated;
  try {
    dated = workbench::DateHolidays(set, years->first, years->second, hijri);
  } catch (const workbench::HolidayError& e) {
    const bool converter = std::string_view(e.what()).starts_with("The Hijri converter");
    throw CommandError(converter ? kExitAddIn : kExitUsage, e.what());
  }
  workbench::HolidayPlan plan;
  try {
    plan = holidays.remove
               ? workbench::PlanHolidayRemoval(project, dated, holidays.calendar.value_or(""))
               : workbench::PlanHolidays(project, dated, holidays.calendar.value_or(""));
  } catch (const workbench::HolidayError& e) {
    throw CommandError(kExitUsage, session.FileName().string() + ": " + e.what());
  }

  const std::size_t changed = holidays.remove ? plan.RemovedCount() : plan.AddedCount();
  std::int32_t moved = 0;
  if (changed > 0) {
    std::vector<workbench::Moment> finishes;
    for (std::int32_t id = 1; id <= project.TaskCount(); ++id) {
      const workbench::Task* task = static_cast<workbench::Task*>(project.TaskAt(id));
      finishes.push_back(task != nullptr ? task->Finish() : 0);
    }
    try {
      if (holidays.remove) {
        workbench::ApplyHolidayRemoval(project, plan);
      } else {
        workbench::ApplyHolidayPlan(project, plan);
      }
    } catch (const workbench::HolidayError& e) {
      throw CommandError(kExitUsage, session.FileName().string() + ": " + e.what());
    }
    try {
      session.App().CalculateProject();
    } catch (const host::HostError& e) {
      throw CommandError(kExitRefused, session.FileName().string() +
                                           ": the schedule cannot be recalculated: " + e.what());
    }
    for (std::int32_t id = 1; id <= project.TaskCount(); ++id) {
      const workbench::Task* task = static_cast<workbench::Task*>(project.TaskAt(id));
      if (task != nullptr && task->Finish() != finishes[static_cast<std::size_t>(id - 1)]) ++moved;
    }
  }

  if (holidays.json) {
    PrintJson(terminal.out, session.FileName(), holidays, *years, plan, moved);
  } else {
    TextGrid grid({{"Holiday"}, {"Hijri"}, {"Gregorian"}, {"What becomes of it"}});
    for (const PlannedHoliday& h : plan.holidays) {
      grid.AddRow({h.holiday.name,
                   workbench::HijriDaysText(h.holiday.hijri_first, h.holiday.hijri_last),
                   workbench::GregorianDaysText(h.holiday.first_day, h.holiday.last_day),
                   workbench::PlannedHolidayText(h, !holidays.save.dry_run)});
    }
    terminal.out << "Calendar \"" << plan.calendar << "\" of " << session.FileName().string()
                 << ": holidays of " << holidays.set << " for " << years->first;
    if (years->second != years->first) terminal.out << "-" << years->second;
    terminal.out << " AH\n" << grid.Render();
  }
  std::ostringstream summary;
  const char* done = holidays.remove ? (holidays.save.dry_run ? "would be removed" : "removed")
                                     : (holidays.save.dry_run ? "would be added" : "added");
  summary << session.FileName().string() << ": " << changed
          << (changed == 1 ? " holiday " : " holidays ") << done;
  if (changed > 0) {
    summary << "; " << moved << (moved == 1 ? " task" : " tasks")
            << (holidays.save.dry_run ? " would finish" : " finish") << " on another day";
  }
  terminal.err << summary.str() << '\n';
  if (holidays.save.dry_run) {
    terminal.err << message::NotSavedDryRun(session.FileName()) << '\n';
    return kExitOk;
  }
  if (changed > 0 || holidays.save.output) session.Save(project, holidays.save.output);
  return kExitOk;
}

}  // namespace lunavant::cli
