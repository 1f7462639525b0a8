// SPDX-License-Identifier: MIT
#include "workbench/files/mspdi_resources.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "workbench/files/mspdi_values.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant::workbench {

namespace {

constexpr std::int64_t kMaxUid = 0x7FFFFFFF;
// Tenths of a minute: a levelling delay longer than the host's range of dates is no delay.
constexpr std::int64_t kMaxDelay = 10LL * 200 * 366 * kMinutesPerDay;
// Base calendars build on base calendars only a few levels deep; a longer chain is a loop.
constexpr int kMaxBaseDepth = 8;
// Exceptions longer than this are no calendar's: they are left out rather than spelt out day by
// day.
constexpr std::int64_t kLongestException = 100 * 366;
// Only days the host can show matter to a schedule, and the calendars of a file list each at most
// a few times over; nor do tasks work on thousands of different calendars. A hostile file gets no
// further.
const std::int64_t kFirstHostDay = DaysFromCivil(kFirstHostYear, 1, 1);
const std::int64_t kLastHostDay = DaysFromCivil(kLastHostYear, 12, 31);
constexpr std::size_t kMostExceptionDays = 16 * 60'000;
constexpr std::size_t kMostWorkingCalendars = 1024;
// Resource types: 0 material, 1 work, 2 cost. Only work resources have working time.
constexpr std::int64_t kWorkResource = 1;
// Timephased data types: 1 remaining work, 2 actual work of an assignment.
constexpr std::int64_t kRemainingWork = 1;
constexpr std::int64_t kActualWork = 2;

std::string_view TextOf(pugi::xml_node node) { return node.child_value(); }

std::optional<std::int64_t> NumberOf(pugi::xml_node node, std::int64_t low, std::int64_t high) {
  return detail::ReadWholeNumber(TextOf(node), low, high);
}

std::optional<std::int64_t> UidOf(pugi::xml_node node) { return NumberOf(node, -1, kMaxUid); }

// The working times under `day` (a WeekDay or an Exception), in order, overlaps passed over;
// nullopt when it lists none.
std::optional<DayHours> HoursOf(pugi::xml_node day) {
  DayHours hours;
  for (pugi::xml_node time : day.child("WorkingTimes").children("WorkingTime")) {
    const auto from = detail::ReadMspdiTime(TextOf(time.child("FromTime")));
    auto to = detail::ReadMspdiTime(TextOf(time.child("ToTime")));
    if (to && *to == 0) to = static_cast<std::int32_t>(kMinutesPerDay);
    if (from && to && *from < *to) hours.push_back({*from, *to});
  }
  if (hours.empty()) return std::nullopt;
  std::sort(hours.begin(), hours.end(),
            [](const WorkingTime& a, const WorkingTime& b) { return a.from < b.from; });
  DayHours out;
  for (const WorkingTime& span : hours) {
    if (out.empty() || span.from >= out.back().to) out.push_back(span);
  }
  return out;
}

DayHours HoursOfDay(pugi::xml_node day) {
  if (TextOf(day.child("DayWorking")) != std::string_view("1")) return {};
  return HoursOf(day).value_or(ProjectCalendar().WeekdayHours(1));
}

// The day of month (year, month) that a relative rule picks: `item` 0 any day, 1 a weekday, 2 a
// weekend day, 3..9 Sunday..Saturday; `position` 0..3 the first to fourth, 4 the last.
std::optional<std::int64_t> RelativeDay(std::int32_t year, std::int32_t month, std::int64_t item,
                                        std::int64_t position) {
  const std::int64_t first = DaysFromCivil(year, month, 1);
  const std::int64_t next =
      month == 12 ? DaysFromCivil(year + 1, 1, 1) : DaysFromCivil(year, month + 1, 1);
  std::vector<std::int64_t> matching;
  for (std::int64_t d = first; d < next; ++d) {
    const int weekday = WeekdayOfDays(d);
    const bool weekend = weekday == 0 || weekday == 6;
    if (item == 0 || (item == 1 && !weekend) || (item == 2 && weekend) || item == weekday + 3) {
      matching.push_back(d);
    }
  }
  if (matching.empty()) return std::nullopt;
  if (position >= 4) return matching.back();
  if (static_cast<std::size_t>(position) >= matching.size()) return std::nullopt;
  return matching[static_cast<std::size_t>(position)];
}

std::optional<std::int64_t> MonthDay(std::int32_t year, std::int32_t month, std::int64_t day) {
  const host::DateTime civil = CivilFromDays(DaysFromCivil(year, month, 1) + day - 1);
  if (civil.month != month) return std::nullopt;
  return DaysFromCivil(year, month, static_cast<std::int32_t>(day));
}

}  // namespace

std::vector<std::int64_t> detail::ExceptionDays(pugi::xml_node exception, std::int64_t from,
                                                std::int64_t to) {
  const auto number = [&exception](const char* name, std::int64_t fallback, std::int64_t low,
                                   std::int64_t high) {
    return NumberOf(exception.child(name), low, high).value_or(fallback);
  };
  const std::int64_t type = number("Type", 1, 0, 7);
  const std::int64_t period = number("Period", 1, 1, 1000);
  const auto limit = static_cast<std::size_t>(number("Occurrences", 40000, 1, 40000));
  std::vector<std::int64_t> days;
  const auto add = [&](std::optional<std::int64_t> day) {
    if (day && *day >= from && *day <= to && days.size() < limit) days.push_back(*day);
  };
  const host::DateTime start = CivilFromDays(from);
  switch (type) {
    case 1:
      for (std::int64_t d = from; d <= to; ++d) days.push_back(d);
      break;
    case 7:
      for (std::int64_t d = from; d <= to && days.size() < limit; d += period) add(d);
      break;
    case 6: {
      const std::int64_t mask = number("DaysOfWeek", 0, 0, 127);
      for (std::int64_t week = from - WeekdayOfDays(from); week <= to && days.size() < limit;
           week += 7 * period) {
        for (int k = 0; k < 7; ++k) {
          if ((mask >> k) & 1) add(week + k);
        }
      }
      break;
    }
    case 4:
    case 5:
      for (std::int64_t i = 0;; i += period) {
        const std::int64_t index = start.month - 1 + i;
        const auto year = static_cast<std::int32_t>(start.year + index / 12);
        const auto month = static_cast<std::int32_t>(index % 12 + 1);
        if (DaysFromCivil(year, month, 1) > to || days.size() >= limit) break;
        add(type == 4 ? MonthDay(year, month, number("MonthDay", 1, 1, 31))
                      : RelativeDay(year, month, number("MonthItem", 0, 0, 9),
                                    number("MonthPosition", 0, 0, 4)));
      }
      break;
    case 2:
    case 3: {
      const auto month = static_cast<std::int32_t>(number("Month", 0, 0, 11) + 1);
      for (std::int32_t year = start.year; DaysFromCivil(year, 1, 1) <= to && days.size() < limit;
           ++year) {
        add(type == 2 ? MonthDay(year, month, number("MonthDay", 1, 1, 31))
                      : RelativeDay(year, month, number("MonthItem", 0, 0, 9),
                                    number("MonthPosition", 0, 0, 4)));
      }
      break;
    }
    default:
      break;
  }
  return days;
}

namespace {

// A period of the file's time line, [from, to).
struct Period {
  Moment from, to;
};

std::optional<Period> PeriodOf(pugi::xml_node node, const char* from, const char* to) {
  const auto a = detail::ReadMspdiDate(TextOf(node.child(from)));
  const auto b = detail::ReadMspdiDate(TextOf(node.child(to)));
  if (!a || !b || *b <= *a) return std::nullopt;
  return Period{*a, *b};
}

// Periods in order, overlapping and touching ones joined.
std::vector<Period> Joined(std::vector<Period> periods) {
  std::sort(periods.begin(), periods.end(),
            [](const Period& a, const Period& b) { return a.from < b.from; });
  std::vector<Period> out;
  for (const Period& p : periods) {
    if (!out.empty() && p.from <= out.back().to) {
      out.back().to = std::max(out.back().to, p.to);
    } else {
      out.push_back(p);
    }
  }
  return out;
}

std::vector<Period> Common(const std::vector<Period>& a, const std::vector<Period>& b) {
  std::vector<Period> out;
  for (std::size_t i = 0, j = 0; i < a.size() && j < b.size();) {
    const Moment from = std::max(a[i].from, b[j].from), to = std::min(a[i].to, b[j].to);
    if (from < to) out.push_back({from, to});
    (a[i].to < b[j].to) ? ++i : ++j;
  }
  return out;
}

// The periods in which an assignment stands still between work: timephased periods of remaining
// or actual work that hold none, after its first work and before its last, and the time between
// its Stop and a later Resume.
std::vector<Period> StillPeriods(pugi::xml_node assignment) {
  std::vector<Period> still;
  std::optional<Moment> first_work, last_work;
  for (pugi::xml_node data : assignment.children("TimephasedData")) {
    const auto type = NumberOf(data.child("Type"), 0, 1000);
    if (!type || (*type != kRemainingWork && *type != kActualWork)) continue;
    const auto period = PeriodOf(data, "Start", "Finish");
    const std::string_view value = TextOf(data.child("Value"));
    const auto minutes = detail::ReadMspdiDuration(value);
    if (!period || !minutes) continue;
    if (value.find_first_of("123456789") == std::string_view::npos) {
      still.push_back(*period);
    } else {
      first_work = std::min(first_work.value_or(period->from), period->from);
      last_work = std::max(last_work.value_or(period->to), period->to);
    }
  }
  if (const auto stopped = PeriodOf(assignment, "Stop", "Resume")) still.push_back(*stopped);
  if (!first_work) return {};
  std::vector<Period> inside;
  for (const Period& p : Joined(std::move(still))) {
    const Moment from = std::max(p.from, *first_work), to = std::min(p.to, *last_work);
    if (from < to) inside.push_back({from, to});
  }
  return inside;
}

// The calendars of the document by UID, each read once, with what it takes from its base.
class Calendars {
 public:
  explicit Calendars(pugi::xml_node project) {
    for (pugi::xml_node c : project.child("Calendars").children("Calendar")) {
      if (const auto uid = UidOf(c.child("UID"))) nodes_.emplace(*uid, c);
    }
  }

  // Null for a UID no calendar has, or a calendar without a working weekday.
  const ProjectCalendar* Find(std::int64_t uid) { return Read(uid, 0); }

 private:
  const ProjectCalendar* Read(std::int64_t uid, int depth) {
    if (const auto done = read_.find(uid); done != read_.end()) {
      return done->second ? &*done->second : nullptr;
    }
    const auto node = nodes_.find(uid);
    if (node == nodes_.end() || depth > kMaxBaseDepth) return nullptr;
    std::optional<ProjectCalendar>& out = read_[uid];
    out = Build(node->second, depth);
    return out ? &*out : nullptr;
  }

  std::optional<ProjectCalendar> Build(pugi::xml_node calendar, int depth) {
    const ProjectCalendar* base = nullptr;
    if (TextOf(calendar.child("IsBaseCalendar")) != std::string_view("1")) {
      const auto base_uid = UidOf(calendar.child("BaseCalendarUID"));
      if (base_uid && *base_uid >= 0) base = Read(*base_uid, depth + 1);
    }
    std::array<DayHours, 7> week;
    if (base != nullptr) {
      for (int d = 0; d < 7; ++d) week[d] = base->WeekdayHours(d);
    }
    // The base's exceptions first, so that the calendar's own win.
    std::vector<std::pair<std::int64_t, DayHours>> days;
    if (base != nullptr) {
      for (const std::int64_t day : base->ExceptionDays()) {
        days.emplace_back(day, base->HoursOn(day));
      }
    }
    const auto add_dated = [&](pugi::xml_node e, pugi::xml_node span) {
      const auto period = PeriodOf(span, "FromDate", "ToDate");
      if (!period || DayOf(period->to) - DayOf(period->from) > kLongestException) return;
      if (days.size() >= days_left_) return;
      const DayHours hours = HoursOfDay(e);
      for (const std::int64_t day :
           detail::ExceptionDays(e, DayOf(period->from), DayOf(period->to))) {
        if (day >= kFirstHostDay && day <= kLastHostDay) days.emplace_back(day, hours);
      }
    };
    for (pugi::xml_node day : calendar.child("WeekDays").children("WeekDay")) {
      const auto type = NumberOf(day.child("DayType"), 0, 7);
      if (!type) continue;
      if (*type == 0) {
        add_dated(day, day.child("TimePeriod"));
      } else {
        week[*type - 1] = HoursOfDay(day);
      }
    }
    for (pugi::xml_node e : calendar.child("Exceptions").children("Exception")) {
      add_dated(e, e.child("TimePeriod"));
    }
    if (std::all_of(week.begin(), week.end(), [](const DayHours& h) { return h.empty(); })) {
      return std::nullopt;
    }
    days_left_ -= std::min(days_left_, days.size());
    ProjectCalendar out(std::move(week));
    out.SetDaysHours(std::move(days));
    return out;
  }

  std::unordered_map<std::int64_t, pugi::xml_node> nodes_;
  std::unordered_map<std::int64_t, std::optional<ProjectCalendar>> read_;
  std::size_t days_left_ = kMostExceptionDays;  // exception days all calendars may still list
};

struct TaskFacts {
  std::optional<std::int64_t> calendar_uid;
  std::int64_t leveling_delay = 0;
  bool leveling_delay_elapsed = false;
  bool ignores_resources = false;
  std::vector<std::int64_t> resource_calendars;  // -1 for a resource on the project's calendar
  std::optional<std::vector<Period>> still;      // where every assignment so far stands still
};

}  // namespace

ProjectCalendar ReadProjectCalendar(pugi::xml_node project, std::int64_t calendar_uid) {
  Calendars calendars(project);
  const ProjectCalendar* found = calendars.Find(calendar_uid);
  return found != nullptr ? *found : ProjectCalendar();
}

TaskPlacement ReadTaskPlacement(pugi::xml_node t) {
  // One walk over the children, the first of each name counting as child() would find it: a
  // task has some forty children, and most of these five are absent from it.
  pugi::xml_node uid, calendar, delay, delay_format, ignores_resources;
  for (pugi::xml_node c = t.first_child(); c; c = c.next_sibling()) {
    const std::string_view name = c.name();
    pugi::xml_node* slot = name == "UID"                      ? &uid
                           : name == "CalendarUID"            ? &calendar
                           : name == "LevelingDelay"          ? &delay
                           : name == "LevelingDelayFormat"    ? &delay_format
                           : name == "IgnoreResourceCalendar" ? &ignores_resources
                                                              : nullptr;
    if (slot != nullptr && !*slot) *slot = c;
  }
  TaskPlacement placement;
  placement.uid = UidOf(uid).value_or(-1);
  placement.calendar_uid = UidOf(calendar);
  placement.leveling_delay = NumberOf(delay, -kMaxDelay, kMaxDelay).value_or(0) / 10;
  placement.leveling_delay_elapsed =
      detail::IsElapsedFormat(NumberOf(delay_format, 0, 1000).value_or(8));
  placement.ignores_resources = TextOf(ignores_resources) == std::string_view("1");
  return placement;
}

ResourceSchedule ReadResourceSchedule(pugi::xml_node project,
                                      const std::vector<TaskPlacement>& tasks,
                                      const ProjectCalendar& project_calendar) {
  std::unordered_map<std::int64_t, std::int64_t> work_resources;  // UID -> calendar UID or -1
  for (pugi::xml_node r : project.child("Resources").children("Resource")) {
    const auto uid = UidOf(r.child("UID"));
    if (!uid || *uid < 0) continue;
    if (r.child("Type") && NumberOf(r.child("Type"), 0, 2) != kWorkResource) continue;
    work_resources[*uid] = UidOf(r.child("CalendarUID")).value_or(-1);
  }

  // Only tasks with assignments or a calendar of their own: most tasks of a large plan have
  // neither.
  std::map<std::int64_t, TaskFacts> facts;  // by task UID
  for (pugi::xml_node a : project.child("Assignments").children("Assignment")) {
    const auto task = UidOf(a.child("TaskUID"));
    if (!task) continue;
    TaskFacts& f = facts[*task];
    if (const auto resource = UidOf(a.child("ResourceUID"))) {
      const auto r = work_resources.find(*resource);
      if (r != work_resources.end()) f.resource_calendars.push_back(r->second);
    }
    std::vector<Period> mine = StillPeriods(a);
    f.still = f.still ? Common(*f.still, mine) : std::move(mine);
  }
  for (const TaskPlacement& t : tasks) {
    if (t.uid < 0) continue;
    const bool own = t.calendar_uid && *t.calendar_uid >= 0;
    const std::int64_t delay = t.leveling_delay;
    const auto found = own || delay != 0 ? facts.try_emplace(t.uid).first : facts.find(t.uid);
    if (found == facts.end()) continue;
    if (own) found->second.calendar_uid = *t.calendar_uid;
    found->second.leveling_delay = delay;
    found->second.leveling_delay_elapsed = t.leveling_delay_elapsed;
    found->second.ignores_resources = t.ignores_resources;
  }

  Calendars calendars(project);
  ResourceSchedule out;
  // Calendars by what they say: -1 for the project's, else an index into `distinct`. Most
  // resource calendars are the project's under a UID of their own.
  std::vector<const ProjectCalendar*> distinct;
  std::unordered_map<std::int64_t, std::int32_t> content_of;  // by calendar UID
  const auto content = [&](std::int64_t uid) -> std::int32_t {
    if (const auto known = content_of.find(uid); known != content_of.end()) return known->second;
    const ProjectCalendar* found = uid < 0 ? nullptr : calendars.Find(uid);
    std::int32_t id = -1;
    if (found != nullptr && !(*found == project_calendar)) {
      const auto same = std::find_if(distinct.begin(), distinct.end(),
                                     [found](const ProjectCalendar* c) { return *c == *found; });
      if (same != distinct.end()) {
        id = static_cast<std::int32_t>(same - distinct.begin());
      } else if (distinct.size() < kMostWorkingCalendars) {
        id = static_cast<std::int32_t>(distinct.size());
        distinct.push_back(found);
      }
    }
    content_of.emplace(uid, id);
    return id;
  };
  const auto calendar_with = [&](std::int32_t id) {
    return id < 0 ? &project_calendar : distinct[static_cast<std::size_t>(id)];
  };
  const auto index_of = [&](ProjectCalendar calendar) -> std::int32_t {
    if (calendar == project_calendar) return -1;
    for (std::size_t i = 0; i < out.calendars.size(); ++i) {
      if (out.calendars[i] == calendar) return static_cast<std::int32_t>(i);
    }
    out.calendars.push_back(std::move(calendar));
    return static_cast<std::int32_t>(out.calendars.size() - 1);
  };
  // Tasks on the same calendars share one working calendar, keyed by what made it: the task's own
  // calendar (when it has one) and its resources'.
  std::map<std::pair<std::optional<std::int32_t>, std::vector<std::int32_t>>, std::int32_t> made;
  for (auto& [uid, f] : facts) {
    std::vector<std::int32_t> resources;
    // A calendar UID that names no calendar is no calendar of the task's own.
    std::optional<std::int32_t> own;
    if (f.calendar_uid && calendars.Find(*f.calendar_uid) != nullptr) {
      own = content(*f.calendar_uid);
    }
    if (!f.ignores_resources || !own) {
      for (const std::int64_t r : f.resource_calendars) resources.push_back(content(r));
    }
    std::sort(resources.begin(), resources.end());
    resources.erase(std::unique(resources.begin(), resources.end()), resources.end());
    const bool plain = own.value_or(-1) < 0 && (resources.empty() || resources == std::vector{-1});
    std::int32_t index = -1;
    if (!plain) {
      auto key = std::make_pair(own, std::move(resources));
      if (const auto known = made.find(key); known != made.end()) {
        index = known->second;
      } else if (made.size() < kMostWorkingCalendars) {
        std::vector<const ProjectCalendar*> of_resources;
        for (const std::int32_t r : key.second) of_resources.push_back(calendar_with(r));
        ProjectCalendar working =
            of_resources.empty() ? *calendar_with(*own) : UnionOf(of_resources);
        if (own && !of_resources.empty()) {
          working = IntersectionOf({calendar_with(*own), &working});
        }
        index = index_of(std::move(working));
        made.emplace(std::move(key), index);
      }
    }
    const ProjectCalendar& working =
        index < 0 ? project_calendar : out.calendars[static_cast<std::size_t>(index)];
    std::int64_t split = 0;
    for (const Period& p : f.still.value_or(std::vector<Period>())) {
      split += working.WorkAt(p.to) - working.WorkAt(p.from);
    }
    if (index >= 0 || split > 0 || f.leveling_delay != 0) {
      out.tasks.push_back({uid, index, split, f.leveling_delay, f.leveling_delay_elapsed});
    }
  }
  return out;
}

void ApplyResourceSchedule(Project& project, const ResourceSchedule& schedule) {
  if (schedule.tasks.empty()) return;
  std::vector<std::int32_t> index;
  index.reserve(schedule.calendars.size());
  for (const ProjectCalendar& calendar : schedule.calendars) {
    index.push_back(project.AddWorkingCalendar(calendar));
  }
  std::unordered_map<std::int64_t, const ResourceSchedule::TaskTime*> by_uid;
  for (const ResourceSchedule::TaskTime& t : schedule.tasks) by_uid[t.uid] = &t;
  for (const auto& row : project.Rows()) {
    if (!row) continue;
    const auto found = by_uid.find(row->UniqueID());
    if (found == by_uid.end()) continue;
    const ResourceSchedule::TaskTime& t = *found->second;
    if (t.calendar >= 0) row->SetWorkingCalendar(index[static_cast<std::size_t>(t.calendar)]);
    row->SetSplitMinutes(t.split_minutes);
    row->SetLevelingDelay(t.leveling_delay, t.leveling_delay_elapsed);
  }
}

}  // namespace lunavant::workbench
