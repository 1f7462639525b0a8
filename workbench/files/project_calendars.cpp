// SPDX-License-Identifier: MIT
#include "workbench/files/project_calendars.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <functional>
#include <set>
#include <sstream>
#include <utility>

#include "workbench/files/calendar_nodes.h"
#include "workbench/files/mspdi_resources.h"
#include "workbench/files/mspdi_tree.h"
#include "workbench/files/mspdi_values.h"
#include "workbench/files/project_document.h"
#include "workbench/files/project_file.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

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

constexpr std::string_view kWeekdayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::string_view kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// An exception longer than this is no calendar's (the reader leaves such spans out).
constexpr std::int64_t kLongestException = 100 * 366;

// Exception types as MSPDI numbers them.
constexpr int kTypeOnce = 1;
constexpr int kTypeYearly = 2;
constexpr int kTypeWeekly = 6;
constexpr int kTypeDaily = 7;

pugi::xml_node FindCalendar(pugi::xml_node root, std::string_view name) {
  std::string known;
  if (pugi::xml_node c = CalendarNamed(root, name, known)) return c;
  if (name.empty()) throw CalendarError("The project names no calendar of its own.");
  throw CalendarError("The project has no calendar \"" + std::string(name) +
                      "\" (it has: " + (known.empty() ? std::string("none") : known) + ").");
}

bool IsBase(pugi::xml_node calendar) { return TextOf(calendar.child("IsBaseCalendar")) == "1"; }

std::string TimeText(std::int32_t minute) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:00", static_cast<int>(minute / 60 % 24),
                static_cast<int>(minute % 60));
  return text;
}

std::string DateText(std::int64_t days, std::int32_t minute) {
  return detail::MspdiDateText(days * kMinutesPerDay + minute);
}

void CheckHours(const DayHours& hours) {
  std::int32_t last = 0;
  for (const WorkingTime& span : hours) {
    if (span.from < last || span.from >= span.to || span.to > kMinutesPerDay) {
      throw CalendarError(
          "Working hours must run forward through the day, one span after another, within "
          "00:00 to 24:00.");
    }
    last = span.to;
  }
}

void WriteWorkingTimes(pugi::xml_node day, const DayHours& hours) {
  if (hours.empty()) return;
  pugi::xml_node times = day.append_child("WorkingTimes");
  for (const WorkingTime& span : hours) {
    pugi::xml_node t = times.append_child("WorkingTime");
    t.append_child("FromTime").text() = TimeText(span.from).c_str();
    t.append_child("ToTime").text() = TimeText(span.to).c_str();
  }
}

std::optional<int> DayTypeOf(pugi::xml_node week_day) {
  const auto type = detail::ReadWholeNumber(TextOf(week_day.child("DayType")), 0, 7);
  return type ? std::optional<int>(static_cast<int>(*type)) : std::nullopt;
}

void WriteWeekday(pugi::xml_node calendar, int weekday, const DayHours& hours) {
  pugi::xml_node week = WeekDaysOf(calendar);
  pugi::xml_node day;
  for (pugi::xml_node d : week.children("WeekDay")) {
    if (DayTypeOf(d) == weekday + 1) day = d;
  }
  if (!day) {
    // After the weekdays before it, ahead of the dated days, as the scheduler orders them.
    pugi::xml_node before;
    for (pugi::xml_node d : week.children("WeekDay")) {
      const auto type = DayTypeOf(d);
      if (type && (*type == 0 || *type > weekday + 1)) {
        before = d;
        break;
      }
    }
    day = before ? week.insert_child_before("WeekDay", before) : week.append_child("WeekDay");
  }
  day.remove_children();
  day.append_child("DayType").text() = weekday + 1;
  day.append_child("DayWorking").text() = hours.empty() ? "0" : "1";
  WriteWorkingTimes(day, hours);
}

std::optional<std::int64_t> DayOfDate(pugi::xml_node node) {
  const auto when = detail::ReadMspdiDate(TextOf(node));
  return when ? std::optional<std::int64_t>(DayOf(*when)) : std::nullopt;
}

DayHours HoursUnder(pugi::xml_node day) {
  DayHours hours;
  for (pugi::xml_node time : day.child("WorkingTimes").children("WorkingTime")) {
    const auto from = detail::ReadMspdiTime(TextOf(time.child("FromTime")));
    auto to = detail::ReadMspdiTime(TextOf(time.child("ToTime")));
    if (to && *to == 0) to = static_cast<std::int32_t>(kMinutesPerDay);
    if (from && to && *from < *to) hours.push_back({*from, *to});
  }
  return hours;
}

// The days an Exception or a dated WeekDay element holds.
std::vector<std::int64_t> DaysOfElement(pugi::xml_node element) {
  const pugi::xml_node period = element.child("TimePeriod");
  const auto first = DayOfDate(period.child("FromDate"));
  const auto last = DayOfDate(period.child("ToDate"));
  if (!first || !last || *last < *first || *last - *first > kLongestException) return {};
  if (std::string_view(element.name()) == "WeekDay") {
    std::vector<std::int64_t> days;
    for (std::int64_t d = *first; d <= *last; ++d) days.push_back(d);
    return days;
  }
  return detail::ExceptionDays(element, *first, *last);
}

ExceptionRule RuleOf(pugi::xml_node element) {
  ExceptionRule rule;
  rule.name = TextOf(element.child("Name"));
  const pugi::xml_node period = element.child("TimePeriod");
  rule.first_day = DayOfDate(period.child("FromDate")).value_or(0);
  rule.last_day = DayOfDate(period.child("ToDate")).value_or(rule.first_day);
  rule.working = TextOf(element.child("DayWorking")) == "1";
  if (rule.working) rule.hours = HoursUnder(element);
  const auto number = [&element](const char* name, std::int64_t fallback, std::int64_t high) {
    return detail::ReadWholeNumber(TextOf(element.child(name)), 0, high).value_or(fallback);
  };
  if (std::string_view(element.name()) == "WeekDay") return rule;
  switch (number("Type", kTypeOnce, 7)) {
    case kTypeOnce:
      break;
    case kTypeDaily:
      rule.repeat = ExceptionRule::Repeat::kDaily;
      rule.period =
          static_cast<std::int32_t>(std::clamp<std::int64_t>(number("Period", 1, 1000), 1, 1000));
      break;
    case kTypeWeekly:
      rule.repeat = ExceptionRule::Repeat::kWeekly;
      rule.period =
          static_cast<std::int32_t>(std::clamp<std::int64_t>(number("Period", 1, 1000), 1, 1000));
      rule.days_of_week = static_cast<std::uint8_t>(number("DaysOfWeek", 0, 127));
      break;
    case kTypeYearly: {
      rule.repeat = ExceptionRule::Repeat::kYearly;
      // Its day of the year is the file's Month and MonthDay: the span may start before it.
      const std::vector<std::int64_t> days = DaysOfElement(element);
      if (!days.empty()) rule.first_day = days.front();
      break;
    }
    default:
      rule.repeat = ExceptionRule::Repeat::kOther;
      break;
  }
  return rule;
}

// Every day an exception of `calendar` holds, its own only (its base's give way to them).
std::set<std::int64_t> TakenDays(pugi::xml_node calendar) {
  std::set<std::int64_t> taken;
  for (pugi::xml_node e : calendar.child("Exceptions").children("Exception")) {
    for (const std::int64_t d : DaysOfElement(e)) taken.insert(d);
  }
  for (pugi::xml_node day : calendar.child("WeekDays").children("WeekDay")) {
    if (DayTypeOf(day) != 0) continue;
    for (const std::int64_t d : DaysOfElement(day)) taken.insert(d);
  }
  return taken;
}

// Consecutive days joined into spans, first and last inclusive.
std::vector<std::pair<std::int64_t, std::int64_t>> SpansOf(const std::vector<std::int64_t>& days) {
  std::vector<std::pair<std::int64_t, std::int64_t>> spans;
  for (const std::int64_t d : days) {
    if (!spans.empty() && spans.back().second == d - 1) {
      spans.back().second = d;
    } else {
      spans.emplace_back(d, d);
    }
  }
  return spans;
}

void AddPeriod(pugi::xml_node parent, std::int64_t first, std::int64_t last) {
  pugi::xml_node period = parent.append_child("TimePeriod");
  period.append_child("FromDate").text() = DateText(first, 0).c_str();
  period.append_child("ToDate").text() = DateText(last, 23 * 60 + 59).c_str();
}

void CheckRule(const ExceptionRule& rule) {
  if (rule.name.find_first_not_of(" \t") == std::string::npos) {
    throw CalendarError("An exception needs a name.");
  }
  if (rule.last_day < rule.first_day) {
    throw CalendarError("An exception cannot end before it starts.");
  }
  if (rule.last_day - rule.first_day > kLongestException) {
    throw CalendarError("An exception can span at most 100 years.");
  }
  const std::int64_t first_host = DaysFromCivil(kFirstHostYear, 1, 1);
  const std::int64_t last_host = DaysFromCivil(kLastHostYear, 12, 31);
  if (rule.first_day < first_host || rule.last_day > last_host) {
    throw CalendarError("An exception must lie between 1 January 1984 and 31 December 2149.");
  }
  if (rule.working && rule.hours.empty()) {
    throw CalendarError("A working exception needs its working hours.");
  }
  CheckHours(rule.hours);
  if (rule.repeat == ExceptionRule::Repeat::kOther) {
    throw CalendarError("Only exceptions repeated daily, weekly or yearly can be added.");
  }
  if (rule.period < 1 || rule.period > 1000) {
    throw CalendarError("An exception repeats every 1 to 1000 days or weeks.");
  }
  if (rule.repeat == ExceptionRule::Repeat::kWeekly && (rule.days_of_week & 0x7F) == 0) {
    throw CalendarError("A weekly exception needs at least one weekday.");
  }
}

// The calendar's node once `change` has run on it and the project's working time has been read
// again; a change that throws leaves the document as it was.
template <typename Change>
void ChangeCalendars(Project& project, Change change) {
  pugi::xml_node root = ProjectDocumentRoot(project);
  pugi::xml_document before;
  if (pugi::xml_node calendars = root.child("Calendars")) before.append_copy(calendars);
  const std::string calendar_uid(TextOf(root.child("CalendarUID")));
  try {
    change(root);
  } catch (...) {
    // Put back what a half-done change wrote.
    if (pugi::xml_node now = root.child("Calendars")) {
      if (before.first_child()) root.insert_copy_after(before.first_child(), now);
      root.remove_child(now);
    }
    throw;
  }
  ReadCalendarsAgain(project);
}

}  // namespace

std::string_view WeekdayShortName(int weekday) { return kWeekdayNames[((weekday % 7) + 7) % 7]; }

std::vector<CalendarSummary> ListCalendars(Project& project) {
  const pugi::xml_node root = ProjectDocumentRoot(project);
  const std::int64_t own = ProjectCalendarUid(root);
  std::vector<CalendarSummary> out;
  for (pugi::xml_node c : root.child("Calendars").children("Calendar")) {
    CalendarSummary summary;
    summary.uid = UidOf(c.child("UID")).value_or(-1);
    summary.name = TextOf(c.child("Name"));
    summary.is_base = IsBase(c);
    if (!summary.is_base) {
      const auto base = UidOf(c.child("BaseCalendarUID"));
      if (base) summary.base_name = TextOf(CalendarByUid(root, *base).child("Name"));
    }
    summary.is_project_calendar = summary.uid == own;
    out.push_back(std::move(summary));
  }
  return out;
}

ProjectCalendar ReadNamedCalendar(Project& project, std::string_view calendar) {
  const pugi::xml_node root = ProjectDocumentRoot(project);
  const pugi::xml_node node = FindCalendar(root, calendar);
  return ReadProjectCalendar(root, UidOf(node.child("UID")).value_or(-1));
}

std::vector<ExceptionRule> CalendarExceptionRules(Project& project, std::string_view calendar) {
  const pugi::xml_node node = FindCalendar(ProjectDocumentRoot(project), calendar);
  std::vector<ExceptionRule> rules;
  std::set<std::int64_t> named;
  for (pugi::xml_node e : node.child("Exceptions").children("Exception")) {
    rules.push_back(RuleOf(e));
    for (const std::int64_t d : DaysOfElement(e)) named.insert(d);
  }
  // The dated days a file of the 2003 form holds, which no named exception accounts for.
  for (pugi::xml_node day : node.child("WeekDays").children("WeekDay")) {
    if (DayTypeOf(day) != 0) continue;
    const std::vector<std::int64_t> days = DaysOfElement(day);
    if (days.empty() || std::all_of(days.begin(), days.end(),
                                    [&named](std::int64_t d) { return named.contains(d); })) {
      continue;
    }
    rules.push_back(RuleOf(day));
  }
  return rules;
}

std::vector<std::int64_t> DaysOfException(const ExceptionRule& rule) {
  std::vector<std::int64_t> days;
  if (rule.last_day < rule.first_day || rule.last_day - rule.first_day > kLongestException) {
    return days;
  }
  const std::int64_t step = std::max<std::int32_t>(rule.period, 1);
  switch (rule.repeat) {
    case ExceptionRule::Repeat::kOnce:
    case ExceptionRule::Repeat::kOther:
      for (std::int64_t d = rule.first_day; d <= rule.last_day; ++d) days.push_back(d);
      break;
    case ExceptionRule::Repeat::kDaily:
      for (std::int64_t d = rule.first_day; d <= rule.last_day; d += step) days.push_back(d);
      break;
    case ExceptionRule::Repeat::kWeekly:
      for (std::int64_t week = rule.first_day - WeekdayOfDays(rule.first_day);
           week <= rule.last_day; week += 7 * step) {
        for (int k = 0; k < 7; ++k) {
          const std::int64_t d = week + k;
          if (((rule.days_of_week >> k) & 1) && d >= rule.first_day && d <= rule.last_day) {
            days.push_back(d);
          }
        }
      }
      break;
    case ExceptionRule::Repeat::kYearly: {
      const host::DateTime first = CivilFromDays(rule.first_day);
      for (std::int32_t year = first.year;; ++year) {
        const std::int64_t d = DaysFromCivil(year, first.month, first.day);
        if (d > rule.last_day) break;
        // 29 February is kept in leap years only.
        if (CivilFromDays(d).day == first.day) days.push_back(d);
      }
      break;
    }
  }
  return days;
}

std::string RepeatText(const ExceptionRule& rule) {
  switch (rule.repeat) {
    case ExceptionRule::Repeat::kOnce:
      return "Once";
    case ExceptionRule::Repeat::kDaily:
      return rule.period == 1 ? "Daily" : "Every " + std::to_string(rule.period) + " days";
    case ExceptionRule::Repeat::kWeekly: {
      std::string days;
      for (int k = 0; k < 7; ++k) {
        if ((rule.days_of_week >> k) & 1) {
          days += (days.empty() ? "" : ", ") + std::string(kWeekdayNames[k]);
        }
      }
      return (rule.period == 1 ? std::string("Weekly")
                               : "Every " + std::to_string(rule.period) + " weeks") +
             " on " + days;
    }
    case ExceptionRule::Repeat::kYearly: {
      const host::DateTime first = CivilFromDays(rule.first_day);
      return "Yearly on " + std::to_string(first.day) + " " +
             std::string(kMonthNames[first.month - 1]);
    }
    case ExceptionRule::Repeat::kOther:
      return "Monthly or otherwise (as its file says)";
  }
  return {};
}

void SetWorkingWeek(Project& project, std::string_view calendar, std::uint8_t working_days,
                    const DayHours& hours) {
  if ((working_days & 0x7F) == 0)
    throw CalendarError("A working week needs at least one working day.");
  if (hours.empty()) throw CalendarError("A working day needs its working hours.");
  CheckHours(hours);
  ChangeCalendars(project, [&](pugi::xml_node root) {
    const pugi::xml_node node = FindCalendar(root, calendar);
    for (int weekday = 0; weekday < 7; ++weekday) {
      WriteWeekday(node, weekday, ((working_days >> weekday) & 1) ? hours : DayHours{});
    }
  });
}

void SetWeekdayHours(Project& project, std::string_view calendar, int weekday,
                     const DayHours& hours) {
  if (weekday < 0 || weekday > 6) throw CalendarError("A weekday is one of Sunday to Saturday.");
  CheckHours(hours);
  ChangeCalendars(project, [&](pugi::xml_node root) {
    const pugi::xml_node node = FindCalendar(root, calendar);
    const ProjectCalendar now = ReadProjectCalendar(root, UidOf(node.child("UID")).value_or(-1));
    bool any = !hours.empty();
    for (int d = 0; d < 7 && !any; ++d) any = d != weekday && !now.WeekdayHours(d).empty();
    if (!any) throw CalendarError("A working week needs at least one working day.");
    WriteWeekday(node, weekday, hours);
  });
}

void AddCalendarException(Project& project, std::string_view calendar, const ExceptionRule& rule) {
  CheckRule(rule);
  const std::vector<std::int64_t> days = DaysOfException(rule);
  if (days.empty()) throw CalendarError("The exception's repetition holds no day.");
  ChangeCalendars(project, [&](pugi::xml_node root) {
    const pugi::xml_node node = FindCalendar(root, calendar);
    for (pugi::xml_node e : node.child("Exceptions").children("Exception")) {
      if (TextOf(e.child("Name")) == rule.name) {
        throw CalendarError("The calendar has an exception \"" + rule.name + "\" already.");
      }
    }
    const std::set<std::int64_t> taken = TakenDays(node);
    for (const std::int64_t d : days) {
      if (taken.contains(d)) {
        const host::DateTime civil = CivilFromDays(d);
        char when[32];
        std::snprintf(when, sizeof when, "%04d-%02d-%02d", static_cast<int>(civil.year),
                      static_cast<int>(civil.month), static_cast<int>(civil.day));
        throw CalendarError("Another exception of the calendar holds " + std::string(when) +
                            " already: exceptions cannot overlap.");
      }
    }
    const char* working = rule.working ? "1" : "0";
    pugi::xml_node week = WeekDaysOf(node);
    for (const auto& [first, last] : SpansOf(days)) {
      pugi::xml_node day = week.append_child("WeekDay");
      day.append_child("DayType").text() = "0";
      day.append_child("DayWorking").text() = working;
      AddPeriod(day, first, last);
      if (rule.working) WriteWorkingTimes(day, rule.hours);
    }
    pugi::xml_node e = ExceptionsListOf(node).append_child("Exception");
    e.append_child("EnteredByOccurrences").text() = "0";
    AddPeriod(e, rule.first_day, rule.last_day);
    const bool once = rule.repeat == ExceptionRule::Repeat::kOnce;
    e.append_child("Occurrences").text() = once ? 1 : static_cast<long long>(days.size());
    e.append_child("Name").text() = rule.name.c_str();
    switch (rule.repeat) {
      case ExceptionRule::Repeat::kDaily:
        e.append_child("Type").text() = kTypeDaily;
        e.append_child("Period").text() = rule.period;
        break;
      case ExceptionRule::Repeat::kWeekly:
        e.append_child("Type").text() = kTypeWeekly;
        e.append_child("Period").text() = rule.period;
        e.append_child("DaysOfWeek").text() = rule.days_of_week & 0x7F;
        break;
      case ExceptionRule::Repeat::kYearly: {
        const host::DateTime first = CivilFromDays(rule.first_day);
        e.append_child("Type").text() = kTypeYearly;
        e.append_child("Month").text() = first.month - 1;
        e.append_child("MonthDay").text() = first.day;
        break;
      }
      default:
        e.append_child("Type").text() = kTypeOnce;
        break;
    }
    e.append_child("DayWorking").text() = working;
    if (rule.working) WriteWorkingTimes(e, rule.hours);
  });
}

namespace {

// Removes the Exception elements `wanted` picks, with their dated days; how many it removed.
std::size_t RemoveExceptionsWhere(Project& project, std::string_view calendar,
                                  const std::function<bool(pugi::xml_node)>& wanted) {
  pugi::xml_node node = FindCalendar(ProjectDocumentRoot(project), calendar);
  std::vector<pugi::xml_node> named;
  for (pugi::xml_node e : node.child("Exceptions").children("Exception")) {
    if (wanted(e)) named.push_back(e);
  }
  if (named.empty()) return 0;
  const std::size_t count = named.size();
  ChangeCalendars(project, [&](pugi::xml_node) {
    std::set<std::int64_t> days;
    for (pugi::xml_node e : named) {
      for (const std::int64_t d : DaysOfElement(e)) days.insert(d);
      e.parent().remove_child(e);
    }
    // A list the removal emptied goes too, as it was before its first exception came.
    if (pugi::xml_node list = node.child("Exceptions"); list && !list.first_child()) {
      node.remove_child(list);
    }
    // Its dated days for readers of the 2003 form: those that lie wholly within it (exceptions
    // of one calendar never overlap, so none of them is another's).
    std::vector<pugi::xml_node> dated;
    for (pugi::xml_node day : node.child("WeekDays").children("WeekDay")) {
      if (DayTypeOf(day) != 0) continue;
      const std::vector<std::int64_t> held = DaysOfElement(day);
      if (!held.empty() && std::all_of(held.begin(), held.end(),
                                       [&days](std::int64_t d) { return days.contains(d); })) {
        dated.push_back(day);
      }
    }
    for (pugi::xml_node day : dated) day.parent().remove_child(day);
  });
  return count;
}

}  // namespace

std::size_t RemoveCalendarExceptions(Project& project, std::string_view calendar,
                                     const std::vector<std::string>& names) {
  const std::set<std::string_view> wanted(names.begin(), names.end());
  std::set<std::string_view> found;
  RemoveExceptionsWhere(project, calendar, [&](pugi::xml_node e) {
    if (!wanted.contains(TextOf(e.child("Name")))) return false;
    found.insert(*wanted.find(TextOf(e.child("Name"))));
    return true;
  });
  return found.size();
}

std::size_t RemoveCalendarExceptionSpans(Project& project, std::string_view calendar,
                                         const std::vector<NamedSpan>& spans) {
  return RemoveExceptionsWhere(project, calendar, [&](pugi::xml_node e) {
    const pugi::xml_node period = e.child("TimePeriod");
    const auto first = DayOfDate(period.child("FromDate"));
    const auto last = DayOfDate(period.child("ToDate"));
    return std::any_of(spans.begin(), spans.end(), [&](const NamedSpan& span) {
      return TextOf(e.child("Name")) == span.name && first == span.first_day &&
             last == span.last_day;
    });
  });
}

void NewBaseCalendar(Project& project, std::string name, std::string_view copy_of) {
  if (name.find_first_not_of(" \t") == std::string::npos) {
    throw CalendarError("A calendar needs a name.");
  }
  ChangeCalendars(project, [&](pugi::xml_node root) {
    const pugi::xml_node source = FindCalendar(root, copy_of);
    std::int64_t next_uid = 1;
    for (pugi::xml_node c : root.child("Calendars").children("Calendar")) {
      if (SameCalendarName(TextOf(c.child("Name")), name)) {
        throw CalendarError("The project has a calendar \"" + name + "\" already.");
      }
      next_uid = std::max(next_uid, UidOf(c.child("UID")).value_or(0) + 1);
    }
    // The calendars it takes from, its base first, so that its own exceptions win on reading.
    std::vector<pugi::xml_node> chain = {source};
    for (pugi::xml_node at = source; !IsBase(at) && chain.size() < 8;) {
      const auto base = UidOf(at.child("BaseCalendarUID"));
      at = base ? CalendarByUid(root, *base) : pugi::xml_node();
      if (!at) break;
      chain.insert(chain.begin(), at);
    }
    const ProjectCalendar week = ReadProjectCalendar(root, UidOf(source.child("UID")).value_or(-1));
    pugi::xml_node made = root.child("Calendars").append_child("Calendar");
    made.append_child("UID").text() = static_cast<long long>(next_uid);
    made.append_child("Name").text() = name.c_str();
    made.append_child("IsBaseCalendar").text() = "1";
    made.append_child("BaseCalendarUID").text() = "-1";
    pugi::xml_node week_days = made.append_child("WeekDays");
    for (int weekday = 0; weekday < 7; ++weekday) {
      pugi::xml_node day = week_days.append_child("WeekDay");
      day.append_child("DayType").text() = weekday + 1;
      day.append_child("DayWorking").text() = week.WeekdayHours(weekday).empty() ? "0" : "1";
      WriteWorkingTimes(day, week.WeekdayHours(weekday));
    }
    pugi::xml_node exceptions;
    for (pugi::xml_node c : chain) {
      for (pugi::xml_node day : c.child("WeekDays").children("WeekDay")) {
        if (DayTypeOf(day) == 0) week_days.append_copy(day);
      }
      for (pugi::xml_node e : c.child("Exceptions").children("Exception")) {
        if (!exceptions) exceptions = made.append_child("Exceptions");
        exceptions.append_copy(e);
      }
    }
  });
}

void SetProjectCalendar(Project& project, std::string_view calendar) {
  ChangeCalendars(project, [&](pugi::xml_node root) {
    pugi::xml_node node = FindCalendar(root, calendar);
    if (!IsBase(node)) {
      throw CalendarError("\"" + std::string(TextOf(node.child("Name"))) +
                          "\" is no base calendar: a project is scheduled on a base calendar.");
    }
    detail::SetChild(root, "CalendarUID", std::string(TextOf(node.child("UID"))),
                     detail::ProjectChildOrder());
  });
}

namespace {

// What a project's document says of its calendars, as text, to copy and compare.
std::string CalendarsText(pugi::xml_node root) {
  std::ostringstream text;
  for (const char* name : {"CalendarUID", "Calendars"}) {
    if (pugi::xml_node node = root.child(name)) node.print(text, "", pugi::format_raw);
  }
  return std::move(text).str();
}

}  // namespace

std::unique_ptr<Project> CalendarsDraft(Project& project) {
  const pugi::xml_node root = ProjectDocumentRoot(project);
  pugi::xml_document doc;
  pugi::xml_node draft = doc.append_child("Project");
  if (pugi::xml_attribute space = root.attribute("xmlns")) {
    draft.append_attribute("xmlns") = space.value();
  }
  draft.append_child("Name").text() = "Calendars";
  for (const char* name : {"CalendarUID", "Calendars"}) {
    if (pugi::xml_node node = root.child(name)) draft.append_copy(node);
  }
  draft.append_child("Tasks");
  std::ostringstream text;
  doc.save(text, "", pugi::format_raw);
  return ReadProjectText(project.App(), text.str(), "calendars.xml");
}

bool TakeCalendars(Project& project, Project& draft) {
  const pugi::xml_node from = ProjectDocumentRoot(draft);
  pugi::xml_node root = ProjectDocumentRoot(project);
  if (CalendarsText(from) == CalendarsText(root)) return false;
  for (const char* name : {"Calendars", "CalendarUID"}) {
    pugi::xml_node now = root.child(name);
    const pugi::xml_node wanted = from.child(name);
    if (wanted) {
      if (!now) now = detail::InsertOrdered(root, name, detail::ProjectChildOrder());
      root.insert_copy_after(wanted, now);
    }
    if (now) root.remove_child(now);
  }
  ReadCalendarsAgain(project);
  return true;
}

void SetTaskCalendar(Project& project, Task& task, std::string_view calendar) {
  std::int64_t uid = -1;
  if (!calendar.empty()) {
    uid = UidOf(FindCalendar(ProjectDocumentRoot(project), calendar).child("UID")).value_or(-1);
  }
  if (uid == task.OwnCalendarUid()) return;
  task.SetOwnCalendarUid(uid);
  ReadCalendarsAgain(project);
}

std::string TaskCalendarName(Project& project, const Task& task) {
  if (task.OwnCalendarUid() < 0) return {};
  return std::string(
      TextOf(CalendarByUid(ProjectDocumentRoot(project), task.OwnCalendarUid()).child("Name")));
}

void ReadCalendarsAgain(Project& project) {
  const pugi::xml_node root = ProjectDocumentRoot(project);
  project.SetCalendar(ReadProjectCalendar(root, ProjectCalendarUid(root)));
  // Tasks on calendars of their own or their resources' count on working calendars made from the
  // document's calendars; they are made again from the document as it now stands. Only a project
  // with such tasks pays for writing its document out.
  const bool own_calendars =
      std::any_of(project.Rows().begin(), project.Rows().end(),
                  [](const auto& row) { return row && row->OwnCalendarUid() >= 0; });
  const bool resources = root.child("Assignments").child("Assignment");
  if (project.WorkingCalendars().empty() && !own_calendars && !resources) return;
  const std::string text = ProjectFileText(project);
  pugi::xml_document whole;
  if (!whole.load_buffer(text.data(), text.size())) return;  // the save would have failed alike
  const pugi::xml_node whole_root = whole.document_element();
  std::vector<TaskPlacement> placements;
  for (pugi::xml_node task : whole_root.child("Tasks").children("Task")) {
    placements.push_back(ReadTaskPlacement(task));
  }
  project.ClearWorkingCalendars();
  ApplyResourceSchedule(project, ReadResourceSchedule(whole_root, placements, project.Calendar()));
}

std::string DayHoursText(const DayHours& hours) {
  std::string text;
  for (const WorkingTime& span : hours) {
    char one[32];
    std::snprintf(one, sizeof one, "%02d:%02d-%02d:%02d", static_cast<int>(span.from / 60),
                  static_cast<int>(span.from % 60), static_cast<int>(span.to / 60),
                  static_cast<int>(span.to % 60));
    text += (text.empty() ? "" : ", ") + std::string(one);
  }
  return text;
}

std::optional<DayHours> ParseDayHours(std::string_view text) {
  const auto trim = [](std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    return t;
  };
  // "8", "08:30", "24:00" as minutes of the day.
  const auto minute = [&trim](std::string_view t) -> std::optional<std::int32_t> {
    t = trim(t);
    const std::size_t colon = t.find(':');
    const std::string_view hour_text = t.substr(0, colon);
    const std::string_view minute_text =
        colon == std::string_view::npos ? std::string_view("0") : t.substr(colon + 1);
    int hour = 0, minutes = 0;
    const auto h = std::from_chars(hour_text.data(), hour_text.data() + hour_text.size(), hour);
    const auto m =
        std::from_chars(minute_text.data(), minute_text.data() + minute_text.size(), minutes);
    if (hour_text.empty() || minute_text.empty() || h.ec != std::errc() ||
        h.ptr != hour_text.data() + hour_text.size() || m.ec != std::errc() ||
        m.ptr != minute_text.data() + minute_text.size() || hour < 0 || hour > 24 || minutes < 0 ||
        minutes > 59 || (hour == 24 && minutes != 0)) {
      return std::nullopt;
    }
    return hour * 60 + minutes;
  };
  DayHours hours;
  text = trim(text);
  if (text.empty()) return hours;
  while (true) {
    const std::size_t comma = text.find(',');
    const std::string_view span = text.substr(0, comma);
    const std::size_t dash = span.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const auto from = minute(span.substr(0, dash));
    const auto to = minute(span.substr(dash + 1));
    if (!from || !to || *from >= *to) return std::nullopt;
    if (!hours.empty() && *from < hours.back().to) return std::nullopt;
    hours.push_back({*from, *to});
    if (comma == std::string_view::npos) break;
    text = text.substr(comma + 1);
  }
  return hours;
}

}  // namespace lunavant::workbench
