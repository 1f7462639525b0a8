// SPDX-License-Identifier: MIT
#include "workbench/files/project_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <optional>
#include <pugixml.hpp>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "workbench/files/atomic_file.h"
#include "workbench/files/messages.h"
#include "workbench/files/mspdi_resources.h"
#include "workbench/files/mspdi_values.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"
#include "workbench/model/table.h"
#include "workbench/model/task.h"

namespace lunavant::workbench {

namespace {

// Deeper than any project file nests (Project/Assignments/Assignment/TimephasedData/... is 5).
constexpr int kMaxDepth = 64;
// One below the largest 32-bit number, so that the next task's UID still fits.
constexpr std::int64_t kMaxUid = 0x7FFFFFFE;
constexpr std::int64_t kDefaultMinutesPerDay = 480;
constexpr const char* kTablePi = "lunavant-table";
constexpr const char* kColumnPi = "lunavant-column";
constexpr const char* kCurrentTablePi = "lunavant-current-table";
constexpr const char* kNamespace = "http://schemas.microsoft.com/project";

// MSPDI's link type codes, by LinkType (FS, SS, FF, SF).
constexpr int kLinkCodes[] = {1, 3, 0, 2};

struct LinkState {
  std::int32_t predecessor_uid;
  LinkType type;
  std::int64_t lag;
  LagFormat lag_format;
  friend bool operator==(const LinkState&, const LinkState&) = default;
};

// The modelled values of a task, as the model holds them or as the document says them; a save
// writes what differs.
struct TaskState {
  std::string name;
  std::int32_t outline_level = 1;
  std::int64_t duration = 0;  // minutes, as the file counts them
  bool milestone = false;
  Moment start = 0, finish = 0, created = 0;
  std::optional<Moment> early_start, early_finish, late_start, late_finish;
  std::optional<Moment> actual_start, actual_finish;
  ConstraintType constraint = ConstraintType::kAsSoonAsPossible;
  std::optional<Moment> constraint_date;
  std::optional<Moment> baseline_start, baseline_finish;
  std::vector<LinkState> links;
  std::vector<std::pair<int, std::string>> texts;  // custom text fields by index, in order
  friend bool operator==(const TaskState&, const TaskState&) = default;
};

// How a document's text is laid out and encoded; a save writes it the same way.
struct TextForm {
  bool indented = true;  // elements on lines of their own (2007 and later), or all on one line
  pugi::xml_encoding encoding = pugi::encoding_utf8;
  bool byte_order_mark = false;
};

// A failure with its place in the document, turned into a line once the text is at hand.
struct LoadFailure {
  std::ptrdiff_t offset;
  std::string description;
};

}  // namespace

// The document a project came from, kept with the project.
class MspdiSource final : public ProjectSource {
 public:
  pugi::xml_document doc;
  std::filesystem::path file;
  std::int64_t minutes_per_day = kDefaultMinutesPerDay;
  TextForm form;
  bool project_2003 = true;  // no SaveVersion: custom values carry their own UID
  pugi::xml_node summary_node;
  bool summary_written = true;            // false until a new document's first save
  std::vector<pugi::xml_node> row_nodes;  // by row, blank rows included
  std::array<std::string, kCustomTextCount> aliases, formulas;
  std::string tables;  // the task tables as last read or saved, in instruction form
  bool had_tables = false;
};

// The loader's and saver's way into the model's private parts.
class ProjectFileAccess {
 public:
  static std::unique_ptr<Project> Read(Application& app, pugi::xml_document doc,
                                       const std::filesystem::path& path, TextForm form);
  // Writes the project's state into its document and returns the document.
  static MspdiSource& Update(Project& project);
  static MspdiSource& SourceOf(Project& project);
};

namespace {

std::string_view TextOf(pugi::xml_node node) { return node.child_value(); }

[[noreturn]] void Fail(pugi::xml_node at, std::string description) {
  throw LoadFailure{at ? at.offset_debug() : -1, std::move(description)};
}

std::int64_t WholeNumber(pugi::xml_node node, std::int64_t low, std::int64_t high) {
  const auto value = detail::ReadWholeNumber(TextOf(node), low, high);
  if (!value) Fail(node, file_message::BadNumber(node.name(), TextOf(node)));
  return *value;
}

Moment DateOf(pugi::xml_node node) {
  const auto value = detail::ReadMspdiDate(TextOf(node));
  if (!value) Fail(node, file_message::UnknownDateForm(node.name(), TextOf(node)));
  return *value;
}

std::int64_t DurationOf(pugi::xml_node node) {
  const auto value = detail::ReadMspdiDuration(TextOf(node));
  if (!value) Fail(node, file_message::UnknownDurationForm(node.name(), TextOf(node)));
  return *value;
}

// DurationFormat and LagFormat codes: 3 minutes, 5 hours, 7 days, 9 weeks, 11 months, the next
// even code the same on the clock (elapsed), 19 and 20 percent; 32 more marks an estimate.
bool ElapsedFormat(std::int64_t code) {
  code %= 32;
  return code >= 4 && code <= 12 && code % 2 == 0;
}

LagFormat LagFormatOf(std::string_view code_text) {
  const auto code = detail::ReadWholeNumber(code_text, 0, 1000);
  if (!code) return LagFormat::kWorking;
  if (*code % 32 == 19 || *code % 32 == 20) return LagFormat::kPercent;
  return ElapsedFormat(*code) ? LagFormat::kElapsed : LagFormat::kWorking;
}

std::string_view LagFormatCode(LagFormat format) {
  switch (format) {
    case LagFormat::kElapsed:
      return "8";
    case LagFormat::kPercent:
      return "19";
    case LagFormat::kWorking:
      break;
  }
  return "7";
}

// The model's lag from `LinkLag`, which counts tenths of a minute, or whole percent for a
// percentage lag.
std::int64_t LagOf(std::int64_t link_lag, LagFormat format) {
  return format == LagFormat::kPercent ? link_lag : link_lag / 10;
}

std::int64_t LinkLagOf(std::int64_t lag, LagFormat format) {
  return format == LagFormat::kPercent ? lag : lag * 10;
}

void CheckDepth(const pugi::xml_document& doc) {
  struct Walker : pugi::xml_tree_walker {
    pugi::xml_node too_deep;
    bool for_each(pugi::xml_node& node) override {
      if (depth() < kMaxDepth) return true;
      too_deep = node;
      return false;
    }
  } walker;
  const_cast<pugi::xml_document&>(doc).traverse(walker);
  if (walker.too_deep) Fail(walker.too_deep, std::string(file_message::kNestedTooDeeply));
}

// Exceptions longer than this are no calendar's: they are left out rather than spelt out day by
// day.
constexpr std::int64_t kLongestException = 100 * 366;

// The day of month (year, month) that a relative rule picks: `item` 0 any day, 1 a weekday, 2 a
// weekend day, 3..9 Sunday..Saturday; `position` 0..3 the first to fourth, 4 the last. Nullopt
// when the month has no such day.
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

// The days of a recurring exception (2007 and later) from its first day to its last, at most its
// number of occurrences. Types: 7 every Period days; 6 the DaysOfWeek (bit 0 Sunday) of every
// Period-th week, counted from the week of the first day; 4 and 5 a day of every Period-th month,
// by MonthDay or by MonthPosition and MonthItem; 2 and 3 the same each year in Month (0 January).
std::vector<std::int64_t> RecurringDays(pugi::xml_node exception, std::int64_t from,
                                        std::int64_t to) {
  const auto number = [&exception](const char* name, std::int64_t fallback, std::int64_t low,
                                   std::int64_t high) {
    return detail::ReadWholeNumber(TextOf(exception.child(name)), low, high).value_or(fallback);
  };
  const std::int64_t type = number("Type", 0, 0, 7);
  const std::int64_t period = number("Period", 1, 1, 1000);
  const std::size_t limit = static_cast<std::size_t>(number("Occurrences", 40000, 1, 40000));
  std::vector<std::int64_t> days;
  const auto add = [&](std::optional<std::int64_t> day) {
    if (day && *day >= from && *day <= to && days.size() < limit) days.push_back(*day);
  };
  const host::DateTime start = CivilFromDays(from);
  switch (type) {
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

// The working times under `day` (a WeekDay or an Exception), in order; spans that are malformed
// or overlap an earlier one are passed over. Nullopt when the element lists none.
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

// The calendar the project schedules with: each weekday's working times, and its dated
// exceptions with theirs (2002/2003 exceptions are WeekDays of DayType 0; later files have
// Exceptions, single spans or recurring).
ProjectCalendar ReadCalendar(pugi::xml_node project) {
  std::int64_t calendar_uid = 1;
  if (pugi::xml_node uid = project.child("CalendarUID"))
    calendar_uid = WholeNumber(uid, -1, kMaxUid);
  pugi::xml_node calendar;
  for (pugi::xml_node c : project.child("Calendars").children("Calendar")) {
    const auto uid = detail::ReadWholeNumber(TextOf(c.child("UID")), -1, kMaxUid);
    if (uid && *uid == calendar_uid) calendar = c;
  }
  if (!calendar) return ProjectCalendar();
  const DayHours standard = ProjectCalendar().WeekdayHours(1);
  std::array<DayHours, 7> week;
  struct Dated {
    std::int64_t from, to;
    DayHours hours;
  };
  std::vector<Dated> dated;
  const auto hours_of_exception = [&standard](pugi::xml_node e) {
    if (TextOf(e.child("DayWorking")) != std::string_view("1")) return DayHours();
    return HoursOf(e).value_or(standard);
  };
  for (pugi::xml_node day : calendar.child("WeekDays").children("WeekDay")) {
    const auto type = detail::ReadWholeNumber(TextOf(day.child("DayType")), 0, 7);
    if (!type) continue;
    if (*type == 0) {
      const auto from = detail::ReadMspdiDate(TextOf(day.child("TimePeriod").child("FromDate")));
      const auto to = detail::ReadMspdiDate(TextOf(day.child("TimePeriod").child("ToDate")));
      if (from && to && *to >= *from && DayOf(*to) - DayOf(*from) <= kLongestException) {
        dated.push_back({DayOf(*from), DayOf(*to), hours_of_exception(day)});
      }
      continue;
    }
    week[*type - 1] = hours_of_exception(day);
  }
  for (pugi::xml_node exception : calendar.child("Exceptions").children("Exception")) {
    const auto from =
        detail::ReadMspdiDate(TextOf(exception.child("TimePeriod").child("FromDate")));
    const auto to = detail::ReadMspdiDate(TextOf(exception.child("TimePeriod").child("ToDate")));
    if (!from || !to || *to < *from || DayOf(*to) - DayOf(*from) > kLongestException) continue;
    const DayHours hours = hours_of_exception(exception);
    if (TextOf(exception.child("Type")) == std::string_view("1")) {
      dated.push_back({DayOf(*from), DayOf(*to), hours});
      continue;
    }
    for (const std::int64_t day : RecurringDays(exception, DayOf(*from), DayOf(*to))) {
      dated.push_back({day, day, hours});
    }
  }
  if (std::all_of(week.begin(), week.end(), [](const DayHours& h) { return h.empty(); })) {
    return ProjectCalendar();
  }
  ProjectCalendar out(std::move(week));
  for (const Dated& span : dated) {
    for (std::int64_t d = span.from; d <= span.to; ++d) out.SetDayHours(d, span.hours);
  }
  return out;
}

// Task tables as processing instructions: a table, then its columns, each with its values in
// attribute form; the values are escaped so that no instruction can end early.
std::string Escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  while (!text.empty()) {
    if (text.front() != '&') {
      out += text.front();
      text.remove_prefix(1);
      continue;
    }
    bool known = false;
    for (const auto& [entity, c] : {std::pair<std::string_view, char>{"&amp;", '&'},
                                    {"&quot;", '"'},
                                    {"&lt;", '<'},
                                    {"&gt;", '>'}}) {
      if (text.substr(0, entity.size()) == entity) {
        out += c;
        text.remove_prefix(entity.size());
        known = true;
        break;
      }
    }
    if (!known) return std::nullopt;
  }
  return out;
}

// `key="value" key="value"` into pairs; nullopt when the text has another form.
std::optional<std::vector<std::pair<std::string, std::string>>> ReadPairs(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> pairs;
  while (true) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    if (text.empty()) return pairs;
    const std::size_t equals = text.find("=\"");
    if (equals == std::string_view::npos || equals == 0) return std::nullopt;
    const std::size_t close = text.find('"', equals + 2);
    if (close == std::string_view::npos) return std::nullopt;
    auto value = Unescape(text.substr(equals + 2, close - equals - 2));
    if (!value) return std::nullopt;
    pairs.emplace_back(std::string(text.substr(0, equals)), std::move(*value));
    text.remove_prefix(close + 1);
  }
}

struct Instruction {
  std::string target;
  std::string value;
};

std::vector<Instruction> TableInstructions(Project& project) {
  std::vector<Instruction> out;
  for (std::int32_t t = 1; t <= project.TaskTableCount(); ++t) {
    Table& table = project.TaskTable(t);
    out.push_back({kTablePi, "name=\"" + Escape(table.Name()) + "\""});
    for (std::int32_t c = 1; c <= table.Columns().Count(); ++c) {
      const Column& column = table.Columns().Item(c);
      out.push_back({kColumnPi, "field=\"" + std::to_string(column.Field()) + "\" title=\"" +
                                    Escape(column.Title()) + "\" width=\"" +
                                    std::to_string(column.Width()) + "\" align=\"" +
                                    std::to_string(column.DataAlignment()) + "\" title-align=\"" +
                                    std::to_string(column.TitleAlignment()) + "\" wrap=\"" +
                                    (column.Wrap() ? "1" : "0") + "\""});
    }
  }
  out.push_back({kCurrentTablePi, "name=\"" + Escape(project.CurrentTable()) + "\""});
  return out;
}

std::string Joined(const std::vector<Instruction>& instructions) {
  std::string out;
  for (const Instruction& i : instructions)
    out.append(i.target).append(" ").append(i.value) += '\n';
  return out;
}

// The tables of a new project, in instruction form: a document without instructions has these.
std::string DefaultTables(Application& app) {
  Project fresh(app, "");
  return Joined(TableInstructions(fresh));
}

std::string InstructionText(pugi::xml_node node) {
  return std::string(node.name()).append(" ").append(node.value());
}

bool IsTablePi(pugi::xml_node node) {
  if (node.type() != pugi::node_pi) return false;
  const std::string_view name = node.name();
  return name == kTablePi || name == kColumnPi || name == kCurrentTablePi;
}

std::int32_t NumberPair(const std::vector<std::pair<std::string, std::string>>& pairs,
                        std::string_view key, pugi::xml_node at, std::int64_t low,
                        std::int64_t high) {
  for (const auto& [k, v] : pairs) {
    if (k == key) {
      const auto value = detail::ReadWholeNumber(v, low, high);
      if (!value) break;
      return static_cast<std::int32_t>(*value);
    }
  }
  Fail(at, file_message::BadTableInstruction(InstructionText(at)));
}

std::string TextPair(const std::vector<std::pair<std::string, std::string>>& pairs,
                     std::string_view key, pugi::xml_node at) {
  for (const auto& [k, v] : pairs) {
    if (k == key) return v;
  }
  Fail(at, file_message::BadTableInstruction(InstructionText(at)));
}

// Schema order: insert `name` before the first child that the schema puts after it; a kind that
// repeats goes after the last of its kind.
pugi::xml_node InsertOrdered(pugi::xml_node parent, std::string_view name,
                             std::span<const std::string_view> order) {
  const auto rank = [&order](std::string_view n) -> std::ptrdiff_t {
    const auto at = std::find(order.begin(), order.end(), n);
    return at == order.end() ? -1 : at - order.begin();
  };
  const std::ptrdiff_t mine = rank(name);
  pugi::xml_node last_same;
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
    if (c.type() == pugi::node_element && name == c.name()) last_same = c;
  }
  const std::string owned(name);
  if (last_same) return parent.insert_child_after(owned.c_str(), last_same);
  for (pugi::xml_node c = parent.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    const std::ptrdiff_t theirs = rank(c.name());
    if (mine >= 0 && theirs > mine) return parent.insert_child_before(owned.c_str(), c);
  }
  return parent.append_child(owned.c_str());
}

void SetChild(pugi::xml_node parent, std::string_view name, const std::string& value,
              std::span<const std::string_view> order) {
  pugi::xml_node child = parent.child(std::string(name).c_str());
  if (!child) child = InsertOrdered(parent, name, order);
  child.text().set(value.c_str());
}

void SetOptionalChild(pugi::xml_node parent, std::string_view name,
                      const std::optional<Moment>& value) {
  if (value) {
    SetChild(parent, name, detail::MspdiDateText(*value), detail::TaskChildOrder());
  } else {
    parent.remove_child(std::string(name).c_str());
  }
}

// The plain baseline's (number 0) start and finish; its other children stay as they are, and an
// element left with nothing but its number goes.
void WriteBaselineDates(pugi::xml_node task, const std::optional<Moment>& start,
                        const std::optional<Moment>& finish) {
  static constexpr std::string_view kOrder[] = {"TimephasedData", "Number", "Interim", "Start",
                                                "Finish", "Duration", "DurationFormat",
                                                "EstimatedDuration", "Work", "Cost", "BCWS",
                                                "BCWP"};
  pugi::xml_node baseline;
  for (pugi::xml_node b : task.children("Baseline")) {
    if (TextOf(b.child("Number")) == std::string_view("0")) baseline = b;
  }
  if (!baseline) {
    if (!start && !finish) return;
    baseline = InsertOrdered(task, "Baseline", detail::TaskChildOrder());
    baseline.append_child("Number").text() = "0";
  }
  for (const auto& [name, value] : {std::pair{"Start", start}, std::pair{"Finish", finish}}) {
    if (value) {
      SetChild(baseline, name, detail::MspdiDateText(*value), kOrder);
    } else {
      baseline.remove_child(name);
    }
  }
  for (pugi::xml_node c : baseline.children()) {
    if (c.type() == pugi::node_element && std::string_view(c.name()) != "Number") return;
  }
  task.remove_child(baseline);
}

TaskState CaptureTask(const Task& task, bool summary_row) {
  TaskState s;
  s.name = summary_row ? std::string() : task.Name();
  s.outline_level = task.OutlineLevel();
  s.duration = task.DurationMinutes();
  s.milestone = !summary_row && task.IsMilestone();
  s.start = task.Start();
  s.finish = task.Finish();
  s.early_start = task.EarlyStart();
  s.early_finish = task.EarlyFinish();
  s.late_start = task.LateStart();
  s.late_finish = task.LateFinish();
  s.actual_start = task.ActualStart();
  s.actual_finish = task.ActualFinish();
  s.constraint = task.Constraint();
  s.constraint_date = task.ConstraintDate();
  s.baseline_start = task.DateValue(field::kBaselineStart);
  s.baseline_finish = task.DateValue(field::kBaselineFinish);
  for (const Link& link : task.PredecessorLinks()) {
    s.links.push_back({link.task->UniqueID(), link.type, link.lag, link.lag_format});
  }
  return s;
}

// What the document says of a task, read as the loader reads it, so that a task nobody changed
// compares equal. Links count only to the tasks in `live_uids` other than the task itself: the
// loader passes over the others, and they stay in the file as they are.
TaskState DocumentState(pugi::xml_node node, bool summary_row,
                        const std::unordered_set<std::int64_t>& live_uids) {
  TaskState s;
  // A task without dates is no task the scheduler wrote: any date of the model differs.
  s.start = s.finish = std::numeric_limits<Moment>::min();
  const auto date = [](pugi::xml_node child) { return detail::ReadMspdiDate(TextOf(child)); };
  const auto own_uid = detail::ReadWholeNumber(TextOf(node.child("UID")), 0, kMaxUid);
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    const std::string_view name = child.name();
    if (name == "Name") {
      if (!summary_row) s.name = TextOf(child);
    } else if (name == "OutlineLevel") {
      s.outline_level =
          static_cast<std::int32_t>(detail::ReadWholeNumber(TextOf(child), 0, 10000).value_or(1));
    } else if (name == "Start") {
      s.start = date(child).value_or(s.start);
    } else if (name == "Finish") {
      s.finish = date(child).value_or(s.finish);
    } else if (name == "Duration") {
      const auto minutes = detail::ReadMspdiDuration(TextOf(child));
      s.duration = minutes ? std::max<std::int64_t>(0, *minutes) : -1;
    } else if (name == "Milestone") {
      s.milestone = TextOf(child) == std::string_view("1");
    } else if (name == "EarlyStart") {
      s.early_start = date(child);
    } else if (name == "EarlyFinish") {
      s.early_finish = date(child);
    } else if (name == "LateStart") {
      s.late_start = date(child);
    } else if (name == "LateFinish") {
      s.late_finish = date(child);
    } else if (name == "ActualStart") {
      s.actual_start = date(child);
    } else if (name == "ActualFinish") {
      s.actual_finish = date(child);
    } else if (name == "ConstraintType") {
      s.constraint =
          static_cast<ConstraintType>(detail::ReadWholeNumber(TextOf(child), 0, 7).value_or(0));
    } else if (name == "ConstraintDate") {
      s.constraint_date = date(child);
    } else if (name == "Baseline") {
      if (TextOf(child.child("Number")) != std::string_view("0")) continue;
      s.baseline_start = date(child.child("Start"));
      s.baseline_finish = date(child.child("Finish"));
    } else if (name == "PredecessorLink") {
      // The project summary row's links are none of the model's: they stay as they are.
      if (summary_row || TextOf(child.child("CrossProject")) == std::string_view("1")) continue;
      const auto uid = detail::ReadWholeNumber(TextOf(child.child("PredecessorUID")), 0, kMaxUid);
      if (!uid || live_uids.count(*uid) == 0 || uid == own_uid) continue;
      const auto code = child.child("Type")
                            ? detail::ReadWholeNumber(TextOf(child.child("Type")), 0, 3)
                            : std::optional<std::int64_t>(1);
      const auto type = static_cast<LinkType>(
          std::find(std::begin(kLinkCodes), std::end(kLinkCodes), code.value_or(1)) -
          std::begin(kLinkCodes));
      const auto link_lag = detail::ReadWholeNumber(TextOf(child.child("LinkLag")),
                                                    -1'000'000'000'000, 1'000'000'000'000);
      const LagFormat format = LagFormatOf(TextOf(child.child("LagFormat")));
      s.links.push_back(
          {static_cast<std::int32_t>(*uid), type, LagOf(link_lag.value_or(0), format), format});
    } else if (name == "ExtendedAttribute") {
      const auto id = detail::ReadWholeNumber(TextOf(child.child("FieldID")), 0, kMaxUid);
      const int index = id ? CustomTextIndex(static_cast<host::FieldId>(*id)) : -1;
      const std::string_view value = TextOf(child.child("Value"));
      if (index >= 0 && !value.empty()) s.texts.emplace_back(index, std::string(value));
    }
  }
  if (s.constraint == ConstraintType::kAsSoonAsPossible ||
      s.constraint == ConstraintType::kAsLateAsPossible) {
    s.constraint_date.reset();
  }
  std::sort(s.texts.begin(), s.texts.end());
  return s;
}

}  // namespace

MspdiSource& ProjectFileAccess::SourceOf(Project& project) {
  if (auto* source = dynamic_cast<MspdiSource*>(project.Source())) return *source;
  // A project made in the workbench gets a new document of the 2003 form, with nothing in it
  // yet that the project models: the first save writes all of that.
  auto made = std::make_unique<MspdiSource>();
  MspdiSource& source = *made;
  pugi::xml_node declaration = source.doc.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  declaration.append_attribute("standalone") = "yes";
  pugi::xml_node root = source.doc.append_child("Project");
  root.append_attribute("xmlns") = kNamespace;
  const ProjectCalendar& calendar = project.Calendar();
  source.minutes_per_day = project.MinutesPerDay();
  auto time_text = [](std::int32_t minute) {
    char out[32];
    std::snprintf(out, sizeof out, "%02d:%02d:00", minute / 60, minute % 60);
    return std::string(out);
  };
  root.append_child("Name").text() = project.Name().c_str();
  root.append_child("ScheduleFromStart").text() = "1";
  root.append_child("StartDate").text() = detail::MspdiDateText(project.ProjectStart()).c_str();
  root.append_child("CalendarUID").text() = "1";
  root.append_child("DefaultStartTime").text() = time_text(calendar.DayStartMinute()).c_str();
  root.append_child("DefaultFinishTime").text() = time_text(calendar.DayFinishMinute()).c_str();
  root.append_child("MinutesPerDay").text() = std::to_string(source.minutes_per_day).c_str();
  int working_days = 0;
  for (int d = 0; d < 7; ++d) working_days += (calendar.Week().Mask() >> d) & 1;
  root.append_child("MinutesPerWeek").text() =
      std::to_string(source.minutes_per_day * working_days).c_str();
  root.append_child("DaysPerMonth").text() = "20";
  pugi::xml_node c = root.append_child("Calendars").append_child("Calendar");
  c.append_child("UID").text() = "1";
  c.append_child("Name").text() = "Standard";
  c.append_child("IsBaseCalendar").text() = "1";
  c.append_child("BaseCalendarUID").text() = "-1";
  pugi::xml_node week = c.append_child("WeekDays");
  for (int d = 0; d < 7; ++d) {
    pugi::xml_node day = week.append_child("WeekDay");
    day.append_child("DayType").text() = d + 1;
    const bool working = (calendar.Week().Mask() >> d) & 1;
    day.append_child("DayWorking").text() = working ? "1" : "0";
    if (!working) continue;
    pugi::xml_node times = day.append_child("WorkingTimes");
    auto add_time = [&times, &time_text](std::int32_t from, std::int32_t to) {
      pugi::xml_node t = times.append_child("WorkingTime");
      t.append_child("FromTime").text() = time_text(from).c_str();
      t.append_child("ToTime").text() =
          time_text(static_cast<std::int32_t>(to % kMinutesPerDay)).c_str();
    };
    for (const WorkingTime& span : calendar.WeekdayHours(d)) add_time(span.from, span.to);
  }
  for (const std::int64_t day : calendar.ExceptionDays()) {
    pugi::xml_node exception = week.append_child("WeekDay");
    exception.append_child("DayType").text() = "0";
    exception.append_child("DayWorking").text() = calendar.IsWorkingDay(day) ? "1" : "0";
    pugi::xml_node period = exception.append_child("TimePeriod");
    period.append_child("FromDate").text() = detail::MspdiDateText(day * kMinutesPerDay).c_str();
    period.append_child("ToDate").text() =
        detail::MspdiDateText(day * kMinutesPerDay + kMinutesPerDay - 1).c_str();
  }
  pugi::xml_node tasks = root.append_child("Tasks");
  source.summary_node = tasks.append_child("Task");
  source.summary_node.append_child("UID").text() = "0";
  source.summary_node.append_child("ID").text() = "0";
  source.summary_node.append_child("Name").text() = project.Name().c_str();
  source.summary_node.append_child("IsNull").text() = "0";
  source.summary_node.append_child("OutlineNumber").text() = "0";
  source.summary_node.append_child("OutlineLevel").text() = "0";
  source.summary_node.append_child("Summary").text() = "1";
  source.summary_written = false;
  source.tables = DefaultTables(project.App());
  project.SetSource(std::move(made));
  return source;
}

std::unique_ptr<Project> ProjectFileAccess::Read(Application& app, pugi::xml_document doc,
                                                 const std::filesystem::path& path, TextForm form) {
  CheckDepth(doc);
  pugi::xml_node root = doc.document_element();
  const std::string_view root_name = root.name();
  if (root_name != "Project" && !root_name.ends_with(":Project")) {
    Fail(root, std::string(file_message::kNotAProject));
  }
  auto project = std::make_unique<Project>(app, path.filename().string());
  auto source = std::make_unique<MspdiSource>();
  source->file = path;
  source->form = form;
  source->project_2003 = !root.child("SaveVersion");
  if (pugi::xml_node m = root.child("MinutesPerDay")) {
    source->minutes_per_day = WholeNumber(m, 1, kMinutesPerDay);
  }
  project->minutes_per_day_ = source->minutes_per_day;
  project->calendar_ = ReadCalendar(root);
  if (pugi::xml_node start = root.child("StartDate")) project->project_start_ = DateOf(start);
  if (TextOf(root.child("ScheduleFromStart")) == std::string_view("0") &&
      root.child("FinishDate")) {
    project->schedule_from_finish_ = true;
    project->project_finish_ = DateOf(root.child("FinishDate"));
  }

  for (pugi::xml_node definition : root.child("ExtendedAttributes").children("ExtendedAttribute")) {
    const auto id = detail::ReadWholeNumber(TextOf(definition.child("FieldID")), 0, kMaxUid);
    const int index = id ? CustomTextIndex(static_cast<host::FieldId>(*id)) : -1;
    if (index < 0) continue;
    project->aliases_[index] = TextOf(definition.child("Alias"));
    project->formulas_[index] = TextOf(definition.child("Formula"));
  }

  // Rows first, links once every task is known.
  std::unordered_map<std::int64_t, Task*> by_uid;
  std::unordered_map<std::int64_t, pugi::xml_node> blank_uids;
  std::int32_t last_level = 0;
  std::int32_t next_uid = 1;
  for (pugi::xml_node node : root.child("Tasks").children("Task")) {
    pugi::xml_node uid_node = node.child("UID");
    if (!uid_node) Fail(node, file_message::MissingUid());
    const std::int64_t uid = WholeNumber(uid_node, 0, kMaxUid);
    if (by_uid.count(uid) != 0 || blank_uids.count(uid) != 0) {
      Fail(uid_node, file_message::DuplicateUid(uid));
    }
    next_uid = std::max<std::int32_t>(next_uid, static_cast<std::int32_t>(uid) + 1);
    if (TextOf(node.child("IsNull")) == std::string_view("1")) {
      blank_uids[uid] = node;
      project->rows_.push_back(nullptr);
      source->row_nodes.push_back(node);
      continue;
    }
    std::int32_t level = 1;
    if (pugi::xml_node l = node.child("OutlineLevel")) {
      level = static_cast<std::int32_t>(WholeNumber(l, 0, 10000));
    }
    const bool summary_row = level == 0;
    if (summary_row && (uid != 0 || !project->rows_.empty() || source->summary_node)) {
      Fail(node, file_message::BadOutlineLevel(uid, level, last_level + 1));
    }
    if (!summary_row && level > last_level + 1) {
      Fail(node, file_message::BadOutlineLevel(uid, level, last_level + 1));
    }
    Task* task;
    if (summary_row) {
      task = project->summary_.get();
      task->unique_id_ = 0;
      source->summary_node = node;
    } else {
      const auto id = static_cast<std::int32_t>(project->rows_.size() + 1);
      project->rows_.push_back(std::make_unique<Task>(*project, id, static_cast<std::int32_t>(uid),
                                                      std::string(TextOf(node.child("Name"))), 0,
                                                      level));
      task = project->rows_.back().get();
      last_level = level;
      source->row_nodes.push_back(node);
    }
    by_uid[uid] = task;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
      const std::string_view name = child.name();
      if (name == "Start") {
        task->start_ = DateOf(child);
      } else if (name == "Finish") {
        task->finish_ = DateOf(child);
      } else if (name == "Duration") {
        task->duration_ = std::max<std::int64_t>(0, DurationOf(child));
      } else if (name == "DurationFormat") {
        const auto code = detail::ReadWholeNumber(TextOf(child), 0, 1000);
        task->elapsed_ = code && ElapsedFormat(*code);
      } else if (name == "CreateDate") {
        task->created_ = DateOf(child);
      } else if (name == "EarlyStart") {
        task->early_start_ = DateOf(child);
      } else if (name == "EarlyFinish") {
        task->early_finish_ = DateOf(child);
      } else if (name == "LateStart") {
        task->late_start_ = DateOf(child);
      } else if (name == "LateFinish") {
        task->late_finish_ = DateOf(child);
      } else if (name == "ActualStart") {
        task->actual_start_ = DateOf(child);
      } else if (name == "ActualFinish") {
        task->actual_finish_ = DateOf(child);
      } else if (name == "ConstraintType") {
        task->constraint_ = static_cast<ConstraintType>(WholeNumber(child, 0, 7));
      } else if (name == "ConstraintDate") {
        task->constraint_date_ = DateOf(child);
      } else if (name == "Baseline") {
        // The plain baseline is number 0; an unreadable date in it counts as none.
        if (TextOf(child.child("Number")) != std::string_view("0")) continue;
        if (const auto when = detail::ReadMspdiDate(TextOf(child.child("Start")))) {
          task->stored_[field::kBaselineStart] = *when;
        }
        if (const auto when = detail::ReadMspdiDate(TextOf(child.child("Finish")))) {
          task->stored_[field::kBaselineFinish] = *when;
        }
      } else if (name == "ExtendedAttribute") {
        const auto id = detail::ReadWholeNumber(TextOf(child.child("FieldID")), 0, kMaxUid);
        const int index = id ? CustomTextIndex(static_cast<host::FieldId>(*id)) : -1;
        const std::string_view value = TextOf(child.child("Value"));
        if (index >= 0 && !value.empty())
          task->stored_[CustomTextField(index)] = std::string(value);
      }
    }
    // A task of none of the constraint types that take a date ignores a stray date, and one
    // that takes a date but has none is scheduled as soon as possible, as the scheduler does.
    if (task->constraint_ == ConstraintType::kAsSoonAsPossible ||
        task->constraint_ == ConstraintType::kAsLateAsPossible) {
      task->constraint_date_.reset();
    }
  }
  project->last_outline_level_ = last_level;
  project->next_unique_id_ = next_uid;
  project->outline_dirty_ = true;

  for (std::size_t row = 0; row < project->rows_.size(); ++row) {
    Task* task = project->rows_[row].get();
    if (task == nullptr) continue;
    for (pugi::xml_node link : source->row_nodes[row].children("PredecessorLink")) {
      if (TextOf(link.child("CrossProject")) == std::string_view("1")) continue;
      pugi::xml_node uid_node = link.child("PredecessorUID");
      const std::int64_t uid = WholeNumber(uid_node, 0, kMaxUid);
      const auto found = by_uid.find(uid);
      if (found == by_uid.end() && blank_uids.count(uid) == 0) {
        Fail(uid_node, file_message::LinkToMissingTask(task->unique_id_, uid));
      }
      // A link to a blank row or to the task itself means nothing to the schedule; it stays in
      // the file as it is.
      if (found == by_uid.end() || found->second == task || found->second->id_ == 0) continue;
      const std::int64_t code = link.child("Type") ? WholeNumber(link.child("Type"), 0, 3) : 1;
      const auto type = static_cast<LinkType>(
          std::find(std::begin(kLinkCodes), std::end(kLinkCodes), code) - std::begin(kLinkCodes));
      const LagFormat format = LagFormatOf(TextOf(link.child("LagFormat")));
      const std::int64_t link_lag =
          link.child("LinkLag")
              ? WholeNumber(link.child("LinkLag"), -1'000'000'000'000, 1'000'000'000'000)
              : 0;
      const Link to{task, type, LagOf(link_lag, format), format};
      Task* predecessor = found->second;
      predecessor->successors_.push_back(to);
      task->predecessors_.push_back(Link{predecessor, type, to.lag, to.lag_format});
    }
  }

  ApplyResourceSchedule(*project, ReadResourceSchedule(root, project->calendar_));

  // The task tables, when the file carries them.
  std::vector<std::unique_ptr<Table>> tables;
  std::optional<std::string> current;
  Project* owner = project.get();
  for (pugi::xml_node node = doc.first_child(); node; node = node.next_sibling()) {
    if (!IsTablePi(node)) continue;
    source->had_tables = true;
    const auto pairs = ReadPairs(node.value());
    if (!pairs) Fail(node, file_message::BadTableInstruction(InstructionText(node)));
    const std::string_view target = node.name();
    if (target == kTablePi) {
      tables.push_back(std::make_unique<Table>(TextPair(*pairs, "name", node),
                                               [owner] { owner->MarkChanged(); }));
    } else if (target == kColumnPi) {
      if (tables.empty()) Fail(node, file_message::BadTableInstruction(InstructionText(node)));
      const host::FieldId field = NumberPair(*pairs, "field", node, 0, kMaxUid);
      if (field != 0 && FindField(field) == nullptr) {
        Fail(node, file_message::BadTableInstruction(InstructionText(node)));
      }
      tables.back()->Columns().Append(Column(
          field, TextPair(*pairs, "title", node), NumberPair(*pairs, "width", node, 0, 1000),
          NumberPair(*pairs, "align", node, 0, 2), NumberPair(*pairs, "title-align", node, 0, 2),
          NumberPair(*pairs, "wrap", node, 0, 1) != 0));
    } else {
      current = TextPair(*pairs, "name", node);
    }
  }
  if (!tables.empty()) project->tables_ = std::move(tables);
  if (current) {
    bool known = false;
    for (const auto& table : project->tables_) known = known || NamesEqual(table->Name(), *current);
    if (known) project->current_table_ = *current;
  }

  project->EnsureOutline();
  source->aliases = project->aliases_;
  source->formulas = project->formulas_;
  source->tables = source->had_tables ? Joined(TableInstructions(*project)) : DefaultTables(app);
  source->doc = std::move(doc);
  project->SetSource(std::move(source));
  project->MarkSaved();
  return project;
}

namespace {

// Writes the custom text value of field `index` into a task element.
void WriteTextValue(pugi::xml_node task, int index, const std::string& value, bool with_uid,
                    std::int64_t& next_value_uid) {
  const std::string id = std::to_string(CustomTextField(index));
  pugi::xml_node found;
  for (pugi::xml_node attribute : task.children("ExtendedAttribute")) {
    if (TextOf(attribute.child("FieldID")) == id) found = attribute;
  }
  if (value.empty()) {
    if (found) task.remove_child(found);
    return;
  }
  if (!found) {
    found = InsertOrdered(task, "ExtendedAttribute", detail::TaskChildOrder());
    if (with_uid) found.append_child("UID").text() = next_value_uid++;
    found.append_child("FieldID").text() = id.c_str();
  }
  pugi::xml_node v = found.child("Value");
  if (!v) v = found.insert_child_after("Value", found.child("FieldID"));
  v.text() = value.c_str();
}

// Writes what differs between `before` (nothing for a new task) and `now`.
void WriteTask(pugi::xml_node node, const std::optional<TaskState>& before, const TaskState& now,
               bool summary_row) {
  const auto order = detail::TaskChildOrder();
  if (!summary_row && (!before || before->name != now.name))
    SetChild(node, "Name", now.name, order);
  if (!summary_row && (!before || before->outline_level != now.outline_level)) {
    SetChild(node, "OutlineLevel", std::to_string(now.outline_level), order);
  }
  if (!before || before->start != now.start) {
    SetChild(node, "Start", detail::MspdiDateText(now.start), order);
  }
  if (!before || before->finish != now.finish) {
    SetChild(node, "Finish", detail::MspdiDateText(now.finish), order);
  }
  if (!before || before->duration != now.duration) {
    SetChild(node, "Duration", detail::MspdiDurationText(now.duration), order);
    if (!node.child("DurationFormat")) SetChild(node, "DurationFormat", "7", order);
  }
  // The flag follows a changed duration; a file's zero-length task that is no milestone, or a
  // milestone with a length, keeps its flag.
  if (!summary_row && (!before || (before->duration != now.duration &&
                                   before->milestone != now.milestone))) {
    SetChild(node, "Milestone", now.milestone ? "1" : "0", order);
  }
  if (!before || before->early_start != now.early_start)
    SetOptionalChild(node, "EarlyStart", now.early_start);
  if (!before || before->early_finish != now.early_finish)
    SetOptionalChild(node, "EarlyFinish", now.early_finish);
  if (!before || before->late_start != now.late_start)
    SetOptionalChild(node, "LateStart", now.late_start);
  if (!before || before->late_finish != now.late_finish)
    SetOptionalChild(node, "LateFinish", now.late_finish);
  if (!before || before->actual_start != now.actual_start)
    SetOptionalChild(node, "ActualStart", now.actual_start);
  if (!before || before->actual_finish != now.actual_finish)
    SetOptionalChild(node, "ActualFinish", now.actual_finish);
  if (!before || before->constraint != now.constraint) {
    SetChild(node, "ConstraintType", std::to_string(static_cast<int>(now.constraint)), order);
  }
  if (!before || before->constraint_date != now.constraint_date) {
    SetOptionalChild(node, "ConstraintDate", now.constraint_date);
  }
  if (!before || before->baseline_start != now.baseline_start ||
      before->baseline_finish != now.baseline_finish) {
    WriteBaselineDates(node, now.baseline_start, now.baseline_finish);
  }
  if (!before || before->links != now.links) {
    // Links the file already has keep their element (and whatever the workbench does not model
    // in it); a link's type and lag are rewritten only when they changed.
    std::vector<pugi::xml_node> existing;
    for (pugi::xml_node link : node.children("PredecessorLink")) {
      if (TextOf(link.child("CrossProject")) != std::string_view("1")) existing.push_back(link);
    }
    std::vector<bool> used(existing.size(), false);
    for (const LinkState& link : now.links) {
      const std::string uid = std::to_string(link.predecessor_uid);
      pugi::xml_node element;
      for (std::size_t i = 0; i < existing.size() && !element; ++i) {
        if (!used[i] && TextOf(existing[i].child("PredecessorUID")) == uid) {
          used[i] = true;
          element = existing[i];
        }
      }
      const std::string code = std::to_string(kLinkCodes[static_cast<int>(link.type)]);
      const std::string link_lag = std::to_string(LinkLagOf(link.lag, link.lag_format));
      const std::string format(LagFormatCode(link.lag_format));
      if (!element) {
        element = InsertOrdered(node, "PredecessorLink", order);
        element.append_child("PredecessorUID").text() = uid.c_str();
        element.append_child("Type").text() = code.c_str();
        element.append_child("CrossProject").text() = "0";
        element.append_child("LinkLag").text() = link_lag.c_str();
        element.append_child("LagFormat").text() = format.c_str();
        continue;
      }
      const auto old_code = detail::ReadWholeNumber(TextOf(element.child("Type")), 0, 3);
      if (!old_code || *old_code != kLinkCodes[static_cast<int>(link.type)]) {
        SetChild(element, "Type", code, detail::LinkChildOrder());
      }
      const auto old_lag = detail::ReadWholeNumber(TextOf(element.child("LinkLag")),
                                                      -1'000'000'000'000, 1'000'000'000'000);
      const LagFormat old_format = LagFormatOf(TextOf(element.child("LagFormat")));
      if (!old_lag || LagOf(*old_lag, old_format) != link.lag ||
          old_format != link.lag_format) {
        SetChild(element, "LinkLag", link_lag, detail::LinkChildOrder());
        SetChild(element, "LagFormat", format, detail::LinkChildOrder());
      }
    }
    for (std::size_t i = 0; i < existing.size(); ++i) {
      if (!used[i]) node.remove_child(existing[i]);
    }
  }
}

// The definition element of Text1..Text30 by index, made in the schema's place when asked.
pugi::xml_node FieldDefinition(pugi::xml_node root, int index, bool make) {
  const std::string id = std::to_string(CustomTextField(index));
  pugi::xml_node definitions = root.child("ExtendedAttributes");
  for (pugi::xml_node d : definitions.children("ExtendedAttribute")) {
    if (TextOf(d.child("FieldID")) == id) return d;
  }
  if (!make) return {};
  if (!definitions)
    definitions = InsertOrdered(root, "ExtendedAttributes", detail::ProjectChildOrder());
  pugi::xml_node d = definitions.append_child("ExtendedAttribute");
  d.append_child("FieldID").text() = id.c_str();
  d.append_child("FieldName").text() = ("Text" + std::to_string(index + 1)).c_str();
  return d;
}

void SetDefinitionChild(pugi::xml_node definition, std::string_view name,
                        const std::string& value) {
  if (value.empty()) {
    definition.remove_child(std::string(name).c_str());
  } else {
    SetChild(definition, name, value, detail::FieldDefinitionChildOrder());
  }
}

struct StringWriter final : pugi::xml_writer {
  std::string out;
  void write(const void* data, std::size_t size) override {
    out.append(static_cast<const char*>(data), size);
  }
};

}  // namespace

MspdiSource& ProjectFileAccess::Update(Project& project) {
  MspdiSource& source = SourceOf(project);
  pugi::xml_node root = source.doc.document_element();
  pugi::xml_node tasks = root.child("Tasks");
  if (!tasks) tasks = InsertOrdered(root, "Tasks", detail::ProjectChildOrder());
  project.EnsureOutline();

  // Scheduling from the finish: the flag and the date, when they differ from the document's.
  const bool file_from_finish = TextOf(root.child("ScheduleFromStart")) == std::string_view("0");
  if (file_from_finish != project.ScheduleFromFinish()) {
    SetChild(root, "ScheduleFromStart", project.ScheduleFromFinish() ? "0" : "1",
             detail::ProjectChildOrder());
  }
  if (project.ScheduleFromFinish() &&
      detail::ReadMspdiDate(TextOf(root.child("FinishDate"))) != project.ProjectFinish()) {
    SetChild(root, "FinishDate", detail::MspdiDateText(project.ProjectFinish()),
             detail::ProjectChildOrder());
  }

  std::int64_t next_value_uid = 1;
  if (source.project_2003) {
    for (pugi::xml_node task : tasks.children("Task")) {
      for (pugi::xml_node value : task.children("ExtendedAttribute")) {
        const auto uid = detail::ReadWholeNumber(TextOf(value.child("UID")), 0, kMaxUid);
        if (uid) next_value_uid = std::max(next_value_uid, *uid + 1);
      }
    }
  }

  std::unordered_set<std::int64_t> live_uids;
  for (const auto& row : project.rows_) {
    if (row) live_uids.insert(row->UniqueID());
  }
  std::vector<bool> text_used(kCustomTextCount, false);
  if (source.summary_node) {
    std::optional<TaskState> before;
    if (source.summary_written) {
      before = DocumentState(source.summary_node, true, live_uids);
    }
    WriteTask(source.summary_node, before, CaptureTask(project.SummaryTask(), true), true);
    source.summary_written = true;
  }
  for (std::size_t row = 0; row < project.rows_.size(); ++row) {
    const Task* task = project.rows_[row].get();
    const bool fresh = row >= source.row_nodes.size();
    if (fresh) {
      pugi::xml_node node = tasks.append_child("Task");
      const std::int32_t uid = task ? task->UniqueID() : project.next_unique_id_++;
      node.append_child("UID").text() = uid;
      node.append_child("ID").text() = static_cast<int>(row + 1);
      node.append_child("IsNull").text() = task ? "0" : "1";
      if (task) {
        node.append_child("CreateDate").text() = detail::MspdiDateText(task->created_).c_str();
      }
      source.row_nodes.push_back(node);
    }
    if (task == nullptr) continue;
    pugi::xml_node node = source.row_nodes[row];
    TaskState now = CaptureTask(*task, false);
    for (const auto& [field, value] : task->stored_) {
      const int index = CustomTextIndex(field);
      if (index >= 0) now.texts.emplace_back(index, std::get<std::string>(value));
    }
    std::sort(now.texts.begin(), now.texts.end());
    std::optional<TaskState> before;
    if (!fresh) before = DocumentState(node, false, live_uids);
    WriteTask(node, before, now, false);
    if (!before || before->texts != now.texts) {
      std::array<std::string, kCustomTextCount> old_values, new_values;
      if (before) {
        for (const auto& [index, value] : before->texts) old_values[index] = value;
      }
      for (const auto& [index, value] : now.texts) new_values[index] = value;
      for (int i = 0; i < kCustomTextCount; ++i) {
        if (old_values[i] == new_values[i]) continue;
        WriteTextValue(node, i, new_values[i], source.project_2003, next_value_uid);
        if (!new_values[i].empty()) text_used[i] = true;
      }
    }
  }

  // Custom-field definitions: aliases and formulas that changed, and a definition for every text
  // field that got its first value, as the scheduler keeps one for each field in use.
  for (int i = 0; i < kCustomTextCount; ++i) {
    const std::string& alias = project.CustomTextAlias(i);
    const std::string& formula = project.CustomTextFormula(i);
    const bool alias_changed = alias != source.aliases[i];
    const bool formula_changed = formula != source.formulas[i];
    pugi::xml_node definition =
        FieldDefinition(root, i, alias_changed || formula_changed || text_used[i]);
    if (alias_changed) SetDefinitionChild(definition, "Alias", alias);
    if (formula_changed) SetDefinitionChild(definition, "Formula", formula);
    source.aliases[i] = alias;
    source.formulas[i] = formula;
  }

  // Task tables: written when they differ from what the file had, or when the file had them.
  const std::vector<Instruction> instructions = TableInstructions(project);
  const std::string tables = Joined(instructions);
  if (tables != source.tables || source.had_tables) {
    for (pugi::xml_node node = source.doc.first_child(); node;) {
      pugi::xml_node next = node.next_sibling();
      if (IsTablePi(node)) source.doc.remove_child(node);
      node = next;
    }
    for (const Instruction& i : instructions) {
      pugi::xml_node pi = source.doc.insert_child_before(pugi::node_pi, root);
      pi.set_name(i.target.c_str());
      pi.set_value(i.value.c_str());
    }
    source.tables = tables;
    source.had_tables = true;
  }

  return source;
}

namespace {

void SaveDocument(const MspdiSource& source, pugi::xml_writer& writer) {
  const unsigned flags = (source.form.indented ? pugi::format_indent : pugi::format_raw) |
                         (source.form.byte_order_mark ? pugi::format_write_bom : 0u);
  source.doc.save(writer, "\t", flags, source.form.encoding);
}

// Hands the document's text on as it is written, so that a save holds no copy of it.
struct ChunkWriter final : pugi::xml_writer {
  explicit ChunkWriter(const ChunkSink& sink) : sink_(sink) {}
  void write(const void* data, std::size_t size) override {
    sink_(std::string_view(static_cast<const char*>(data), size));
  }
  const ChunkSink& sink_;
};

}  // namespace

namespace {

std::int64_t LineOf(std::string_view text, std::ptrdiff_t offset) {
  if (offset < 0) return 0;
  const auto end = std::min(text.size(), static_cast<std::size_t>(offset));
  return 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '\n');
}

// The layout of a document from its first bytes, and the encoding its parsing found.
TextForm FormOf(std::string_view start, const pugi::xml_parse_result& parsed) {
  TextForm form;
  form.encoding = parsed.encoding;
  form.byte_order_mark = start.substr(0, 3) == "\xEF\xBB\xBF" || start.substr(0, 2) == "\xFF\xFE" ||
                         start.substr(0, 2) == "\xFE\xFF";
  // Only a byte-wise search is made: a document in UTF-16 or UTF-32 is saved indented.
  const std::size_t root = start.find("<Project");
  if (root == std::string_view::npos) return form;
  const std::size_t close = start.find('>', root);
  form.indented = close != std::string_view::npos && close + 1 < start.size() &&
                  (start[close + 1] == '\n' || start[close + 1] == '\r');
  return form;
}

// Text-only elements, most of a project file, keep their text in the element itself.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration | pugi::parse_pi |
                                   pugi::parse_comments | pugi::parse_doctype |
                                   pugi::parse_embed_pcdata;

std::unique_ptr<Project> ReadParsed(Application& app, pugi::xml_document doc,
                                    const pugi::xml_parse_result& parsed, std::string_view text,
                                    const std::filesystem::path& path) {
  if (!parsed) {
    const bool empty = parsed.status == pugi::status_no_document_element &&
                       text.find_first_not_of(" \t\r\n") == std::string_view::npos;
    throw ProjectFileError(
        FileStatus::kMalformed, path, empty ? 0 : LineOf(text, parsed.offset),
        empty ? std::string(file_message::kEmptyFile) : file_message::NotXml(parsed.description()));
  }
  try {
    return ProjectFileAccess::Read(app, std::move(doc), path, FormOf(text.substr(0, 4096), parsed));
  } catch (const LoadFailure& failure) {
    throw ProjectFileError(FileStatus::kMalformed, path, LineOf(text, failure.offset),
                           failure.description);
  }
}

}  // namespace

std::unique_ptr<Project> ReadProjectText(Application& app, std::string_view text,
                                         const std::filesystem::path& path) {
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer(text.data(), text.size(), kParseOptions);
  return ReadParsed(app, std::move(doc), parsed, text, path);
}

std::unique_ptr<Project> ReadProjectFile(Application& app, const std::filesystem::path& path) {
  const auto unreadable = [&path](int error) {
    return ProjectFileError(FileStatus::kUnreadable, path, 0,
                            file_message::Unreadable(std::strerror(error)));
  };
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    const int error = errno;
    if (error == ENOENT) {
      throw ProjectFileError(FileStatus::kNotFound, path, 0, std::string(file_message::kNotFound));
    }
    throw unreadable(error);
  }
  struct stat status {};
  if (::fstat(::fileno(file), &status) != 0 || S_ISDIR(status.st_mode)) {
    const int error = S_ISDIR(status.st_mode) ? EISDIR : errno;
    std::fclose(file);
    throw unreadable(error);
  }
  // Read straight into the buffer the document keeps and parses in place: the file's bytes are
  // held once.
  const auto size = static_cast<std::size_t>(std::max<off_t>(status.st_size, 0));
  char* buffer = static_cast<char*>(pugi::get_memory_allocation_function()(size == 0 ? 1 : size));
  if (buffer == nullptr) {
    std::fclose(file);
    throw std::bad_alloc();
  }
  const std::size_t got = std::fread(buffer, 1, size, file);
  const int error = std::ferror(file) ? errno : 0;
  std::fclose(file);
  if (error != 0) {
    pugi::get_memory_deallocation_function()(buffer);
    throw unreadable(error);
  }
  // The first bytes, before the parser changes the buffer in place.
  const std::string start(buffer, std::min<std::size_t>(got, 4096));
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_buffer_inplace_own(buffer, got, kParseOptions);
  // The text is read again only to place a failure on its line.
  const auto text_again = [&path] {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  if (parsed) {
    try {
      return ProjectFileAccess::Read(app, std::move(doc), path, FormOf(start, parsed));
    } catch (const LoadFailure& failure) {
      throw ProjectFileError(FileStatus::kMalformed, path, LineOf(text_again(), failure.offset),
                             failure.description);
    }
  }
  return ReadParsed(app, std::move(doc), parsed, text_again(), path);
}

Project& OpenProjectFile(Application& app, const std::filesystem::path& path,
                         host::ProjectEvents* open_sink) {
  std::unique_ptr<Project> project = ReadProjectFile(app, path);
  if (open_sink != nullptr) project->AddEventSink(*open_sink);
  return app.AdoptOpenedProject(std::move(project));
}

std::string ProjectFileText(Project& project) {
  StringWriter writer;
  SaveDocument(ProjectFileAccess::Update(project), writer);
  return std::move(writer.out);
}

bool ProjectFileKeepsField(host::FieldId field) {
  static constexpr host::FieldId kKept[] = {
      field::kName,           field::kDuration,      field::kMilestone,     field::kStart,
      field::kFinish,         field::kActualStart,   field::kActualFinish,  field::kConstraintType,
      field::kConstraintDate, field::kPredecessors,  field::kSuccessors,    field::kBaselineStart,
      field::kBaselineFinish};
  return std::find(std::begin(kKept), std::end(kKept), field) != std::end(kKept) ||
         CustomTextIndex(field) >= 0;
}

void SaveProjectFile(Project& project, const std::filesystem::path& path) {
  MspdiSource& source = ProjectFileAccess::Update(project);
  WriteFileAtomically(path, [&source](const ChunkSink& sink) {
    ChunkWriter writer(sink);
    SaveDocument(source, writer);
  });
  source.file = path;
  project.MarkSaved();
}

std::filesystem::path ProjectFilePath(const Project& project) {
  if (const auto* source = dynamic_cast<const MspdiSource*>(project.Source())) return source->file;
  return {};
}

void UseProjectFiles(Application& app) {
  app.SetSaveHandler([](Project& project) {
    // Save As renames the project first: the new name is the file to write, beside the old
    // file unless it names a folder of its own.
    std::filesystem::path path = ProjectFilePath(project);
    const std::filesystem::path named(project.Name());
    if (path.empty() || named.has_parent_path()) {
      path = named;
    } else if (path.filename() != named) {
      path = path.parent_path() / named;
    }
    if (path.filename() != named) project.Rename(path.filename().string());
    SaveProjectFile(project, path);
  });
}

}  // namespace lunavant::workbench
