// SPDX-License-Identifier: MIT
#include "workbench/files/task_state.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <map>
#include <string_view>

#include "workbench/files/mspdi_tree.h"
#include "workbench/files/mspdi_values.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"

namespace lunavant::workbench::detail {

namespace {

// Reads an element's value: strictly a value that cannot be read fails at its element,
// leniently it is none.
class ValueReader {
 public:
  explicit ValueReader(Reading reading) : strict_(reading == Reading::kStrict) {}

  std::optional<Moment> Date(pugi::xml_node node) const {
    if (strict_) return DateOf(node);
    return ReadMspdiDate(TextOf(node));
  }
  std::optional<std::int64_t> Duration(pugi::xml_node node) const {
    if (strict_) return DurationOf(node);
    return ReadMspdiDuration(TextOf(node));
  }
  std::optional<std::int64_t> Number(pugi::xml_node node, std::int64_t low,
                                     std::int64_t high) const {
    if (strict_) return WholeNumber(node, low, high);
    return ReadWholeNumber(TextOf(node), low, high);
  }

 private:
  bool strict_;
};

bool IsOne(pugi::xml_node node) { return TextOf(node) == std::string_view("1"); }

// Some writers give a task that has not started an actual date long before the project as their
// "no date". An actual date before the project start on a task of 0% complete is taken for none:
// a task that has not started has no actual dates, and one that would overwrite its Start and
// Finish with a date from before the project began is no schedule a user made.
bool StandsForNoDate(pugi::xml_node task, const std::optional<Moment>& actual,
                     Moment project_start) {
  if (!actual || *actual >= project_start) return false;
  const auto percent = ReadWholeNumber(TextOf(task.child("PercentComplete")), 0, 100);
  return percent.value_or(0) == 0;
}

// The plain baseline's dates and amounts; an unreadable value in it counts as none.
TaskElement::Baseline ReadBaseline(pugi::xml_node baseline, std::int64_t minutes_per_day,
                                   TaskFileValues& values) {
  TaskElement::Baseline b;
  b.start = ReadMspdiDate(TextOf(baseline.child("Start")));
  b.finish = ReadMspdiDate(TextOf(baseline.child("Finish")));
  if (b.start) values.stored.emplace_back(field::kBaselineStart, *b.start);
  if (b.finish) values.stored.emplace_back(field::kBaselineFinish, *b.finish);
  for (std::size_t i = 0; i < std::size(kBaselineAmounts); ++i) {
    const BaselineAmount& amount = kBaselineAmounts[i];
    const std::string_view text = TextOf(baseline.child(amount.element));
    if (text.empty()) continue;
    b.amounts[i] = ReadCustomValue(amount.kind, text, minutes_per_day);
    if (b.amounts[i]) values.stored.emplace_back(amount.field, *b.amounts[i]);
  }
  return b;
}

void ReadCustomValueElement(pugi::xml_node attribute, std::int64_t minutes_per_day,
                            TaskFileValues& values) {
  const auto id = ReadWholeNumber(TextOf(attribute.child("FieldID")), 0, kMaxUid);
  const FieldInfo* info = id ? CustomValueField(*id) : nullptr;
  const std::string_view text = TextOf(attribute.child("Value"));
  if (info == nullptr || text.empty()) return;
  if (auto value = ReadCustomValue(info->kind, text, minutes_per_day)) {
    values.stored.emplace_back(info->id, std::move(*value));
  }
}

void SetOptionalChild(pugi::xml_node parent, std::string_view name,
                      const std::optional<Moment>& value) {
  if (value) {
    SetChild(parent, name, MspdiDateText(*value), TaskChildOrder());
  } else {
    parent.remove_child(std::string(name).c_str());
  }
}

// The plain baseline's (number 0) dates and amounts where they differ from `before`; its other
// children stay as they are, and an element left with nothing but its number goes.
void WriteBaseline(pugi::xml_node task, const std::optional<TaskState>& before,
                   const TaskState& now) {
  static constexpr std::string_view kOrder[] = {
      "TimephasedData",    "Number", "Interim", "Start", "Finish", "Duration", "DurationFormat",
      "EstimatedDuration", "Work",   "Cost",    "BCWS",  "BCWP"};
  pugi::xml_node baseline;
  for (pugi::xml_node b : task.children("Baseline")) {
    if (TextOf(b.child("Number")) == std::string_view("0")) baseline = b;
  }
  if (!baseline) {
    const bool empty = !now.baseline_start && !now.baseline_finish &&
                       std::all_of(now.baseline_amounts.begin(), now.baseline_amounts.end(),
                                   [](const std::string& amount) { return amount.empty(); });
    if (empty) return;
    baseline = InsertOrdered(task, "Baseline", TaskChildOrder());
    baseline.append_child("Number").text() = "0";
  }
  const auto set = [&](const char* name, const std::string& text) {
    if (text.empty()) {
      baseline.remove_child(name);
    } else {
      SetChild(baseline, name, text, kOrder);
    }
  };
  const auto date_text = [](const std::optional<Moment>& when) {
    return when ? MspdiDateText(*when) : std::string();
  };
  if (!before || before->baseline_start != now.baseline_start) {
    set("Start", date_text(now.baseline_start));
  }
  if (!before || before->baseline_finish != now.baseline_finish) {
    set("Finish", date_text(now.baseline_finish));
  }
  for (std::size_t i = 0; i < std::size(kBaselineAmounts); ++i) {
    if (!before || before->baseline_amounts[i] != now.baseline_amounts[i]) {
      set(kBaselineAmounts[i].element, now.baseline_amounts[i]);
    }
  }
  for (pugi::xml_node c : baseline.children()) {
    if (c.type() == pugi::node_element && std::string_view(c.name()) != "Number") return;
  }
  task.remove_child(baseline);
}

// Links the file already has keep their element (and whatever the workbench does not model in
// it); a link's type and lag are rewritten only when they changed.
void WriteLinks(pugi::xml_node node, const std::vector<LinkState>& links) {
  std::vector<pugi::xml_node> existing;
  for (pugi::xml_node link : node.children("PredecessorLink")) {
    if (!IsOne(link.child("CrossProject"))) existing.push_back(link);
  }
  std::vector<bool> used(existing.size(), false);
  for (const LinkState& link : links) {
    const std::string uid = std::to_string(link.predecessor_uid);
    pugi::xml_node element;
    for (std::size_t i = 0; i < existing.size() && !element; ++i) {
      if (!used[i] && TextOf(existing[i].child("PredecessorUID")) == uid) {
        used[i] = true;
        element = existing[i];
      }
    }
    const std::string code = std::to_string(LinkTypeCode(link.type));
    const std::string link_lag = std::to_string(LinkLagOf(link.lag, link.lag_format));
    const std::string format(LagFormatCode(link.lag_format));
    if (!element) {
      element = InsertOrdered(node, "PredecessorLink", TaskChildOrder());
      element.append_child("PredecessorUID").text() = uid.c_str();
      element.append_child("Type").text() = code.c_str();
      element.append_child("CrossProject").text() = "0";
      element.append_child("LinkLag").text() = link_lag.c_str();
      element.append_child("LagFormat").text() = format.c_str();
      continue;
    }
    const LinkElement old = ReadLinkElement(element, Reading::kLenient);
    if (!old.type_code || *old.type_code != LinkTypeCode(link.type)) {
      SetChild(element, "Type", code, LinkChildOrder());
    }
    if (!old.link_lag || old.Lag() != link.lag || old.lag_format != link.lag_format) {
      SetChild(element, "LinkLag", link_lag, LinkChildOrder());
      SetChild(element, "LagFormat", format, LinkChildOrder());
    }
  }
  for (std::size_t i = 0; i < existing.size(); ++i) {
    if (!used[i]) node.remove_child(existing[i]);
  }
}

// Writes the value of custom field `field` into a task element; an empty value removes it.
void WriteCustomValue(pugi::xml_node task, host::FieldId field, const std::string& value,
                      bool with_uid, std::int64_t& next_value_uid) {
  const std::string id = std::to_string(field);
  pugi::xml_node found;
  for (pugi::xml_node attribute : task.children("ExtendedAttribute")) {
    if (TextOf(attribute.child("FieldID")) == id) found = attribute;
  }
  if (value.empty()) {
    if (found) task.remove_child(found);
    return;
  }
  if (!found) {
    found = InsertOrdered(task, "ExtendedAttribute", TaskChildOrder());
    if (with_uid) found.append_child("UID").text() = next_value_uid++;
    found.append_child("FieldID").text() = id.c_str();
  }
  pugi::xml_node v = found.child("Value");
  if (!v) v = found.insert_child_after("Value", found.child("FieldID"));
  v.text() = value.c_str();
}

void WriteCustomValues(pugi::xml_node node, const std::optional<TaskState>& before,
                       const TaskState& now, CustomValueWrites& writes) {
  std::map<host::FieldId, std::pair<std::string, std::string>> changes;  // old, new
  if (before) {
    for (const auto& [field, value] : before->custom) changes[field].first = value;
  }
  for (const auto& [field, value] : now.custom) changes[field].second = value;
  for (const auto& [field, values] : changes) {
    if (values.first == values.second) continue;
    WriteCustomValue(node, field, values.second, writes.with_uid, writes.next_value_uid);
    if (!values.second.empty()) writes.fields_given_value.insert(field);
  }
}

}  // namespace

LinkType LinkElement::Type() const { return LinkTypeOf(type_code); }

std::int64_t LinkElement::Lag() const { return LagOf(link_lag.value_or(0), lag_format); }

LinkElement ReadLinkElement(pugi::xml_node link, Reading reading) {
  const ValueReader read(reading);
  LinkElement out;
  out.predecessor_uid_node = link.child("PredecessorUID");
  if (pugi::xml_node type = link.child("Type")) out.type_code = read.Number(type, 0, 3);
  if (pugi::xml_node lag = link.child("LinkLag")) {
    out.link_lag = read.Number(lag, -kMaxLinkLag, kMaxLinkLag);
  }
  out.lag_format = LagFormatOf(TextOf(link.child("LagFormat")));
  out.predecessor_uid = read.Number(out.predecessor_uid_node, 0, kMaxUid);
  return out;
}

TaskElement ReadTaskElement(pugi::xml_node node, bool summary_row, Reading reading,
                            std::int64_t minutes_per_day, Moment project_start) {
  const ValueReader read(reading);
  TaskElement e;
  TaskFileValues& v = e.values;
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    const std::string_view name = child.name();
    if (name == "Name") {
      e.name = TextOf(child);
    } else if (name == "OutlineLevel") {
      e.outline_level =
          static_cast<std::int32_t>(ReadWholeNumber(TextOf(child), 0, 10000).value_or(1));
    } else if (name == "Start") {
      if (const auto when = read.Date(child)) {
        v.start = *when;
        e.has_start = true;
      }
    } else if (name == "Finish") {
      if (const auto when = read.Date(child)) {
        v.finish = *when;
        e.has_finish = true;
      }
    } else if (name == "Duration") {
      const auto minutes = read.Duration(child);
      v.duration = minutes ? std::max<std::int64_t>(0, *minutes) : -1;
    } else if (name == "DurationFormat") {
      const auto code = ReadWholeNumber(TextOf(child), 0, 1000);
      v.elapsed = code && IsElapsedFormat(*code);
    } else if (name == "Milestone") {
      e.milestone = IsOne(child);
    } else if (name == "Manual") {
      v.manual = !summary_row && IsOne(child);
    } else if (name == "CreateDate") {
      v.created = read.Date(child);
    } else if (name == "EarlyStart") {
      v.early_start = read.Date(child);
    } else if (name == "EarlyFinish") {
      v.early_finish = read.Date(child);
    } else if (name == "LateStart") {
      v.late_start = read.Date(child);
    } else if (name == "LateFinish") {
      v.late_finish = read.Date(child);
    } else if (name == "ActualStart") {
      v.actual_start = read.Date(child);
    } else if (name == "ActualFinish") {
      v.actual_finish = read.Date(child);
    } else if (name == "ConstraintType") {
      v.constraint = static_cast<ConstraintType>(read.Number(child, 0, 7).value_or(0));
    } else if (name == "ConstraintDate") {
      v.constraint_date = read.Date(child);
    } else if (name == "CalendarUID") {
      // Not a reason to refuse a file: what cannot be read is no calendar of the task's own.
      v.calendar_uid = ReadWholeNumber(TextOf(child), -1, kMaxUid).value_or(-1);
    } else if (name == "Baseline") {
      if (TextOf(child.child("Number")) != std::string_view("0")) continue;
      e.baseline = ReadBaseline(child, minutes_per_day, v);
    } else if (name == "ExtendedAttribute") {
      ReadCustomValueElement(child, minutes_per_day, v);
    }
  }
  // A task of none of the constraint types that take a date ignores a stray date, and one
  // that takes a date but has none is scheduled as soon as possible, as the scheduler does.
  if (v.constraint == ConstraintType::kAsSoonAsPossible ||
      v.constraint == ConstraintType::kAsLateAsPossible) {
    v.constraint_date.reset();
  }
  if (StandsForNoDate(node, v.actual_start, project_start)) v.actual_start.reset();
  if (StandsForNoDate(node, v.actual_finish, project_start)) v.actual_finish.reset();
  if (summary_row) return e;
  v.active = TextOf(node.child("Active")) != std::string_view("0");
  if (!v.manual) {
    if (!v.active) {
      v.dates_held_by = kHeldByInactive;
    } else if (IsOne(node.child("ExternalTask"))) {
      v.dates_held_by = kHeldByExternal;
    } else if (IsOne(node.child("IsSubproject"))) {
      v.dates_held_by = kHeldBySubproject;
    }
  }
  // Links last, so that a task's values fail before its links do.
  for (pugi::xml_node link : node.children("PredecessorLink")) {
    if (IsOne(link.child("CrossProject"))) continue;
    e.links.push_back(ReadLinkElement(link, reading));
  }
  return e;
}

TaskState CaptureTask(const Task& task, bool summary_row) {
  TaskState s;
  s.name = summary_row ? std::string() : task.Name();
  s.outline_level = task.OutlineLevel();
  s.manual = !summary_row && task.IsManual();
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
  s.calendar_uid = task.OwnCalendarUid();
  s.baseline_start = task.DateValue(field::kBaselineStart);
  s.baseline_finish = task.DateValue(field::kBaselineFinish);
  for (const Link& link : task.PredecessorLinks()) {
    s.links.push_back({link.task->UniqueID(), link.type, link.lag, link.lag_format});
  }
  const std::int64_t minutes_per_day = task.Owner().MinutesPerDay();
  const auto& stored = task.StoredValues();
  for (std::size_t i = 0; i < std::size(kBaselineAmounts); ++i) {
    const BaselineAmount& amount = kBaselineAmounts[i];
    const auto found = stored.find(amount.field);
    if (found != stored.end()) {
      s.baseline_amounts[i] = CustomValueText(amount.kind, found->second, minutes_per_day);
    }
  }
  if (summary_row) return s;
  for (const auto& [field, value] : stored) {
    const FieldInfo* info = CustomValueField(field);
    if (info == nullptr) continue;
    std::string text = CustomValueText(info->kind, value, minutes_per_day);
    if (!text.empty()) s.custom.emplace_back(field, std::move(text));
  }
  std::sort(s.custom.begin(), s.custom.end());
  return s;
}

TaskState DocumentState(pugi::xml_node node, bool summary_row, std::int64_t minutes_per_day,
                        Moment project_start) {
  const TaskElement e =
      ReadTaskElement(node, summary_row, Reading::kLenient, minutes_per_day, project_start);
  const TaskFileValues& v = e.values;
  // A task without dates is no task the scheduler wrote: any date of the model differs.
  constexpr Moment kUndated = std::numeric_limits<Moment>::min();
  TaskState s;
  if (!summary_row) s.name = e.name;
  s.outline_level = e.outline_level;
  s.start = e.has_start ? v.start : kUndated;
  s.finish = e.has_finish ? v.finish : kUndated;
  s.duration = v.duration;
  s.milestone = e.milestone;
  s.manual = v.manual;
  s.early_start = v.early_start;
  s.early_finish = v.early_finish;
  s.late_start = v.late_start;
  s.late_finish = v.late_finish;
  s.actual_start = v.actual_start;
  s.actual_finish = v.actual_finish;
  s.constraint = v.constraint;
  s.constraint_date = v.constraint_date;
  s.calendar_uid = v.calendar_uid;
  if (e.baseline) {
    s.baseline_start = e.baseline->start;
    s.baseline_finish = e.baseline->finish;
    for (std::size_t i = 0; i < std::size(kBaselineAmounts); ++i) {
      if (const auto& amount = e.baseline->amounts[i]) {
        s.baseline_amounts[i] = CustomValueText(kBaselineAmounts[i].kind, *amount, minutes_per_day);
      }
    }
  }
  for (const LinkElement& link : e.links) {
    if (!link.predecessor_uid) continue;
    s.links.push_back({static_cast<std::int32_t>(*link.predecessor_uid), link.Type(), link.Lag(),
                       link.lag_format});
  }
  // The project summary row's values are none of the model's either.
  if (!summary_row) {
    for (const auto& [field, value] : v.stored) {
      const FieldInfo* info = CustomValueField(field);
      if (info == nullptr) continue;
      std::string text = CustomValueText(info->kind, value, minutes_per_day);
      if (!text.empty()) s.custom.emplace_back(info->id, std::move(text));
    }
  }
  std::sort(s.custom.begin(), s.custom.end());
  return s;
}

void KeepLinksAmong(TaskState& state, std::int64_t own_uid,
                    const std::unordered_set<std::int64_t>& live_uids) {
  std::erase_if(state.links, [&](const LinkState& link) {
    return link.predecessor_uid == own_uid || live_uids.count(link.predecessor_uid) == 0;
  });
}

void WriteTask(pugi::xml_node node, const std::optional<TaskState>& before, const TaskState& now,
               bool summary_row, CustomValueWrites& custom_writes) {
  const auto order = TaskChildOrder();
  if (!summary_row && (!before || before->name != now.name))
    SetChild(node, "Name", now.name, order);
  if (!summary_row && (!before || before->outline_level != now.outline_level)) {
    SetChild(node, "OutlineLevel", std::to_string(now.outline_level), order);
  }
  if (!before || before->start != now.start) {
    SetChild(node, "Start", MspdiDateText(now.start), order);
  }
  if (!before || before->finish != now.finish) {
    SetChild(node, "Finish", MspdiDateText(now.finish), order);
  }
  if (!before || before->duration != now.duration) {
    SetChild(node, "Duration", MspdiDurationText(now.duration), order);
    if (!node.child("DurationFormat")) SetChild(node, "DurationFormat", "7", order);
  }
  if (!summary_row && (before ? before->manual != now.manual : now.manual)) {
    SetChild(node, "Manual", now.manual ? "1" : "0", order);
  }
  // A manual task's own dates are what the user gave it, which the desktop scheduler reads
  // back from these; a value typed over a text placeholder ("after the permit") replaces it,
  // and an untouched placeholder stays.
  if (now.manual) {
    // A file's task without a date got one where it was read: no value was typed over it.
    constexpr Moment kUndated = std::numeric_limits<Moment>::min();
    const bool start_typed = before && before->start != now.start && before->start != kUndated;
    if (start_typed || !node.child("ManualStart"))
      SetChild(node, "ManualStart", MspdiDateText(now.start), order);
    if (start_typed) node.remove_child("StartText");
    const bool finish_typed = before && before->finish != now.finish && before->finish != kUndated;
    if (finish_typed || !node.child("ManualFinish"))
      SetChild(node, "ManualFinish", MspdiDateText(now.finish), order);
    if (finish_typed) node.remove_child("FinishText");
    const bool duration_typed = before && before->duration != now.duration;
    if (duration_typed || !node.child("ManualDuration"))
      SetChild(node, "ManualDuration", MspdiDurationText(now.duration), order);
    if (duration_typed) node.remove_child("DurationText");
  }
  // The flag follows a changed duration; a file's zero-length task that is no milestone, or a
  // milestone with a length, keeps its flag.
  if (!summary_row &&
      (!before || (before->duration != now.duration && before->milestone != now.milestone))) {
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
  if (before ? before->calendar_uid != now.calendar_uid : now.calendar_uid >= 0) {
    SetChild(node, "CalendarUID", std::to_string(now.calendar_uid), order);
  }
  if (!before || before->baseline_start != now.baseline_start ||
      before->baseline_finish != now.baseline_finish ||
      before->baseline_amounts != now.baseline_amounts) {
    WriteBaseline(node, before, now);
  }
  if (!before || before->links != now.links) WriteLinks(node, now.links);
  if (!summary_row && (!before || before->custom != now.custom)) {
    WriteCustomValues(node, before, now, custom_writes);
  }
}

}  // namespace lunavant::workbench::detail
