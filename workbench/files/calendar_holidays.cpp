// SPDX-License-Identifier: MIT
#include "workbench/files/calendar_holidays.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <set>

#include "workbench/files/calendar_nodes.h"
#include "workbench/files/mspdi_resources.h"
#include "workbench/files/mspdi_tree.h"
#include "workbench/files/mspdi_values.h"
#include "workbench/files/project_calendars.h"
#include "workbench/files/project_document.h"
#include "workbench/files/project_file.h"
#include "workbench/model/project.h"
#include "workbench/schedule/calendar.h"

namespace lunavant::workbench {

namespace {

using detail::CalendarByUid;
using detail::CalendarNamed;
using detail::ExceptionsListOf;
using detail::ProjectCalendarUid;
using detail::SameCalendarName;
using detail::TextOf;
using detail::UidOf;
using detail::WeekDaysOf;

pugi::xml_node FindCalendar(pugi::xml_node root, std::string_view name) {
  std::string known;
  if (pugi::xml_node c = CalendarNamed(root, name, known)) return c;
  if (name.empty())
    throw HolidayError("The project names no calendar of its own to add holidays to");
  throw HolidayError("The project has no calendar \"" + std::string(name) +
                     "\" (it has: " + (known.empty() ? std::string("none") : known) + ")");
}

std::optional<std::int64_t> DayOfText(pugi::xml_node node) {
  const std::optional<Moment> when = detail::ReadMspdiDate(TextOf(node));
  if (!when) return std::nullopt;
  return DayOf(*when);
}

std::vector<CalendarException> ExceptionsOf(pugi::xml_node calendar) {
  std::vector<CalendarException> out;
  const auto add = [&out](pugi::xml_node e, std::string name) {
    pugi::xml_node period = e.child("TimePeriod");
    const auto first = DayOfText(period.child("FromDate"));
    const auto last = DayOfText(period.child("ToDate"));
    if (!first || !last || *last < *first) return;
    out.push_back({std::move(name), *first, *last, TextOf(e.child("DayWorking")) == "1"});
  };
  for (pugi::xml_node day : calendar.child("WeekDays").children("WeekDay")) {
    if (TextOf(day.child("DayType")) == "0") add(day, {});
  }
  for (pugi::xml_node e : calendar.child("Exceptions").children("Exception")) {
    add(e, std::string(TextOf(e.child("Name"))));
  }
  return out;
}

std::string DateText(std::int64_t days, const char* time) {
  const host::DateTime civil = CivilFromDays(days);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02dT%s", static_cast<int>(civil.year),
                static_cast<int>(civil.month), static_cast<int>(civil.day), time);
  return text;
}

void AddPeriod(pugi::xml_node parent, std::int64_t first, std::int64_t last) {
  pugi::xml_node period = parent.append_child("TimePeriod");
  period.append_child("FromDate").text() = DateText(first, "00:00:00").c_str();
  period.append_child("ToDate").text() = DateText(last, "23:59:00").c_str();
}

void WriteException(pugi::xml_node calendar, const std::string& name, std::int64_t first,
                    std::int64_t last) {
  pugi::xml_node day = WeekDaysOf(calendar).append_child("WeekDay");
  day.append_child("DayType").text() = "0";
  day.append_child("DayWorking").text() = "0";
  AddPeriod(day, first, last);

  pugi::xml_node e = ExceptionsListOf(calendar).append_child("Exception");
  e.append_child("EnteredByOccurrences").text() = "0";
  AddPeriod(e, first, last);
  e.append_child("Occurrences").text() = "1";
  e.append_child("Name").text() = name.c_str();
  e.append_child("Type").text() = "1";
  e.append_child("DayWorking").text() = "0";
}

}  // namespace

std::size_t HolidayPlan::AddedCount() const {
  return static_cast<std::size_t>(std::count_if(
      holidays.begin(), holidays.end(),
      [](const PlannedHoliday& h) { return h.status == PlannedHoliday::Status::kAdd; }));
}

std::size_t HolidayPlan::RemovedCount() const {
  return static_cast<std::size_t>(std::count_if(
      holidays.begin(), holidays.end(),
      [](const PlannedHoliday& h) { return h.status == PlannedHoliday::Status::kRemove; }));
}

std::vector<std::string> CalendarNames(Project& project) {
  std::vector<std::string> names;
  for (pugi::xml_node c : ProjectDocumentRoot(project).child("Calendars").children("Calendar")) {
    names.emplace_back(TextOf(c.child("Name")));
  }
  return names;
}

std::string ProjectCalendarName(Project& project) {
  const pugi::xml_node root = ProjectDocumentRoot(project);
  return std::string(TextOf(CalendarByUid(root, ProjectCalendarUid(root)).child("Name")));
}

std::vector<CalendarException> CalendarExceptionsOf(Project& project, std::string_view calendar) {
  return ExceptionsOf(FindCalendar(ProjectDocumentRoot(project), calendar));
}

HolidayPlan PlanHolidays(Project& project, const std::vector<DatedHoliday>& holidays,
                         std::string_view calendar) {
  const pugi::xml_node node = FindCalendar(ProjectDocumentRoot(project), calendar);
  HolidayPlan plan;
  plan.calendar = TextOf(node.child("Name"));
  const std::vector<CalendarException> existing = ExceptionsOf(node);
  std::set<std::string> names;
  // Days an exception holds, the calendar's own and those planned so far: exceptions of one
  // calendar may not overlap.
  std::set<std::int64_t> taken;
  for (const CalendarException& e : existing) {
    if (!e.name.empty()) names.insert(e.name);
    for (std::int64_t d = e.first_day; d <= e.last_day && d - e.first_day <= 366 * 100; ++d) {
      taken.insert(d);
    }
  }
  for (const DatedHoliday& holiday : holidays) {
    PlannedHoliday planned{holiday, PlannedHoliday::Status::kAdd, false, {}};
    if (names.contains(holiday.name)) {
      planned.status = PlannedHoliday::Status::kPresent;
      planned.elsewhere = std::none_of(existing.begin(), existing.end(), [&](const auto& e) {
        return e.name == holiday.name && e.first_day <= holiday.last_day &&
               e.last_day >= holiday.first_day;
      });
      for (const CalendarException& e : existing) {
        if (planned.elsewhere && e.name == holiday.name) {
          planned.spans.emplace_back(e.first_day, e.last_day);
        }
      }
    } else {
      for (std::int64_t d = holiday.first_day; d <= holiday.last_day; ++d) {
        if (taken.contains(d)) continue;
        if (!planned.spans.empty() && planned.spans.back().second == d - 1) {
          planned.spans.back().second = d;
        } else {
          planned.spans.emplace_back(d, d);
        }
        taken.insert(d);
      }
      if (planned.spans.empty()) planned.status = PlannedHoliday::Status::kCovered;
      names.insert(holiday.name);
    }
    plan.holidays.push_back(std::move(planned));
  }
  return plan;
}

void ApplyHolidayPlan(Project& project, const HolidayPlan& plan) {
  if (plan.AddedCount() == 0) return;
  const pugi::xml_node root = ProjectDocumentRoot(project);
  const pugi::xml_node calendar = FindCalendar(root, plan.calendar);
  for (const PlannedHoliday& planned : plan.holidays) {
    if (planned.status != PlannedHoliday::Status::kAdd) continue;
    for (const auto& [first, last] : planned.spans) {
      WriteException(calendar, planned.holiday.name, first, last);
    }
  }
  ReadCalendarsAgain(project);
  project.MarkChanged();
}

HolidayPlan PlanHolidayRemoval(Project& project, const std::vector<DatedHoliday>& holidays,
                               std::string_view calendar) {
  const pugi::xml_node node = FindCalendar(ProjectDocumentRoot(project), calendar);
  HolidayPlan plan;
  plan.calendar = TextOf(node.child("Name"));
  const std::vector<CalendarException> existing = ExceptionsOf(node);
  for (const DatedHoliday& holiday : holidays) {
    PlannedHoliday planned{holiday, PlannedHoliday::Status::kAbsent, false, {}};
    // Only what this holiday could have added: an exception of its name within its days. One of
    // the same name on other days is another set's (two countries' National Day) or another
    // year's announcement, and stays.
    for (const CalendarException& e : existing) {
      if (e.name != holiday.name || e.first_day < holiday.first_day ||
          e.last_day > holiday.last_day) {
        continue;
      }
      planned.status = PlannedHoliday::Status::kRemove;
      planned.spans.emplace_back(e.first_day, e.last_day);
    }
    plan.holidays.push_back(std::move(planned));
  }
  return plan;
}

void ApplyHolidayRemoval(Project& project, const HolidayPlan& plan) {
  if (plan.RemovedCount() == 0) return;
  FindCalendar(ProjectDocumentRoot(project), plan.calendar);
  std::vector<NamedSpan> spans;
  for (const PlannedHoliday& planned : plan.holidays) {
    if (planned.status != PlannedHoliday::Status::kRemove) continue;
    for (const auto& [first, last] : planned.spans) {
      spans.push_back({planned.holiday.name, first, last});
    }
  }
  try {
    RemoveCalendarExceptionSpans(project, plan.calendar, spans);
  } catch (const CalendarError& e) {
    throw HolidayError(e.what());
  }
  project.MarkChanged();
}

namespace {

constexpr std::string_view kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

std::string SpansText(const std::vector<std::pair<std::int64_t, std::int64_t>>& spans) {
  std::string text;
  for (const auto& [first, last] : spans) {
    text += (text.empty() ? "" : ", ") + IsoDayText(first) +
            (first == last ? std::string() : " to " + IsoDayText(last));
  }
  return text;
}

}  // namespace

std::string IsoDayText(std::int64_t days) {
  const host::DateTime civil = CivilFromDays(days);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", static_cast<int>(civil.year),
                static_cast<int>(civil.month), static_cast<int>(civil.day));
  return text;
}

std::string GregorianDaysText(std::int64_t first_day, std::int64_t last_day) {
  const auto day = [](std::int64_t days) {
    return std::string(kWeekdays[WeekdayOfDays(days)]) + " " + IsoDayText(days);
  };
  return first_day == last_day ? day(first_day) : day(first_day) + " to " + day(last_day);
}

std::string HijriDayText(const HijriDate& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", static_cast<int>(date.year),
                static_cast<int>(date.month), static_cast<int>(date.day));
  return text;
}

std::string HijriDaysText(const HijriDate& first, const HijriDate& last) {
  return first == last ? HijriDayText(first) : HijriDayText(first) + " to " + HijriDayText(last);
}

std::string PlannedHolidayText(const PlannedHoliday& h, bool applied) {
  switch (h.status) {
    case PlannedHoliday::Status::kAdd: {
      const std::string text = applied ? "added" : "would be added";
      const bool whole = h.spans.size() == 1 && h.spans.front().first == h.holiday.first_day &&
                         h.spans.front().second == h.holiday.last_day;
      if (whole) return text;
      return text + " on " + SpansText(h.spans) + " (its other days are exceptions already)";
    }
    case PlannedHoliday::Status::kPresent: {
      if (!h.elsewhere) return "in the calendar already";
      return "in the calendar already, on other days: " + SpansText(h.spans) +
             " (remove that exception to date it again)";
    }
    case PlannedHoliday::Status::kCovered:
      return "not added: its days are exceptions already";
    case PlannedHoliday::Status::kRemove: {
      const std::string text = applied ? "removed" : "would be removed";
      const bool whole = h.spans.size() == 1 && h.spans.front().first == h.holiday.first_day &&
                         h.spans.front().second == h.holiday.last_day;
      return whole ? text : text + " from " + SpansText(h.spans);
    }
    case PlannedHoliday::Status::kAbsent:
      return "not in the calendar";
  }
  return {};
}

std::string StatusCode(PlannedHoliday::Status status) {
  switch (status) {
    case PlannedHoliday::Status::kAdd:
      return "add";
    case PlannedHoliday::Status::kPresent:
      return "present";
    case PlannedHoliday::Status::kCovered:
      return "covered";
    case PlannedHoliday::Status::kRemove:
      return "remove";
    case PlannedHoliday::Status::kAbsent:
      return "absent";
  }
  return {};
}

}  // namespace lunavant::workbench
