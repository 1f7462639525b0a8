// SPDX-License-Identifier: MIT
// Reading a project from its document and writing the project's state back into it. The pieces
// live beside: the document and its rows (mspdi_source), what a task element says and how a save
// rewrites it (task_state), the task tables (table_instructions), values (mspdi_values) and the
// tree (mspdi_tree).
#include "workbench/files/project_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "workbench/files/atomic_file.h"
#include "workbench/files/messages.h"
#include "workbench/files/mspdi_resources.h"
#include "workbench/files/mspdi_source.h"
#include "workbench/files/mspdi_tree.h"
#include "workbench/files/mspdi_values.h"
#include "workbench/files/project_document.h"
#include "workbench/files/table_instructions.h"
#include "workbench/files/task_spans.h"
#include "workbench/files/task_state.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant::workbench {

namespace {

using detail::DateOf;
using detail::Fail;
using detail::kMaxUid;
using detail::LoadFailure;
using detail::MspdiSource;
using detail::TaskState;
using detail::TaskText;
using detail::TextOf;
using detail::WholeNumber;

MspdiSource& SourceOf(Project& project) {
  if (auto* source = dynamic_cast<MspdiSource*>(project.Source())) return *source;
  std::unique_ptr<MspdiSource> made = detail::NewSource(project);
  MspdiSource& source = *made;
  project.SetSource(std::move(made));
  return source;
}

// The project's own settings: units, calendar, start, scheduling from the finish, new tasks'
// scheduling and the custom text fields' definitions.
void ReadProjectSettings(pugi::xml_node root, MspdiSource& source, Project& project) {
  // Some programs write 0 for the units of duration; the defaults stand in, and the user hears.
  for (const char* unit : {"MinutesPerDay", "MinutesPerWeek", "DaysPerMonth"}) {
    pugi::xml_node m = root.child(unit);
    if (m && detail::ReadWholeNumber(TextOf(m), 0, 0)) {
      source.notes.push_back(file_message::ZeroUnitTakenAsDefault(unit));
    } else if (m && std::string_view(unit) == "MinutesPerDay") {
      source.minutes_per_day = WholeNumber(m, 1, kMinutesPerDay);
    }
  }
  std::int64_t calendar_uid = 1;
  if (pugi::xml_node uid = root.child("CalendarUID")) calendar_uid = WholeNumber(uid, -1, kMaxUid);
  ProjectCalendar calendar = ReadProjectCalendar(root, calendar_uid);
  Moment start = project.ProjectStart();
  if (pugi::xml_node element = root.child("StartDate")) start = DateOf(element);
  // Scheduled from its finish: without a FinishDate, the latest task finish stands for it.
  if (TextOf(root.child("ScheduleFromStart")) == std::string_view("0")) {
    project.LoadScheduleFromFinish(root.child("FinishDate") ? DateOf(root.child("FinishDate"))
                                                            : start);
  }
  source.new_tasks_manual = TextOf(root.child("NewTasksAreManual")) == std::string_view("1");
  project.LoadSettings(source.minutes_per_day, std::move(calendar), start, source.new_tasks_manual);

  for (pugi::xml_node definition : root.child("ExtendedAttributes").children("ExtendedAttribute")) {
    const auto id = detail::ReadWholeNumber(TextOf(definition.child("FieldID")), 0, kMaxUid);
    const int index = id ? CustomTextIndex(static_cast<host::FieldId>(*id)) : -1;
    if (index < 0) continue;
    project.LoadCustomTextDefinition(index, std::string(TextOf(definition.child("Alias"))),
                                     std::string(TextOf(definition.child("Formula"))));
  }
}

// A task whose file gives no start or no finish (written by another program, or cut down by
// hand) is placed where the scheduler would first put it: from the date it has, or from the
// project's start (or finish, scheduling from the finish), by its duration.
void PlaceUndatedTask(TaskFileValues& task, bool has_start, bool has_finish,
                      const Project& project) {
  if (has_start && has_finish) return;
  const ProjectCalendar& calendar = project.Calendar();
  const auto forward = [&](Moment from) {
    if (task.duration == 0) return from;
    if (task.elapsed) return from + task.duration;
    return calendar.FinishOf(calendar.WorkAt(from) + task.duration);
  };
  const auto backward = [&](Moment to) {
    if (task.duration == 0) return to;
    if (task.elapsed) return to - task.duration;
    return calendar.StartOf(std::max<std::int64_t>(0, calendar.WorkAt(to) - task.duration));
  };
  if (has_start) {
    task.finish = forward(task.start);
  } else if (has_finish) {
    task.start = backward(task.finish);
  } else if (project.ScheduleFromFinish()) {
    task.finish = project.ProjectFinish();
    task.start = backward(task.finish);
  } else {
    task.start = calendar.StartOf(calendar.WorkAt(project.ProjectStart()));
    task.finish = forward(task.start);
  }
}

// What feeds a task's schedule in a file that the workbench does not model: the task keeps the
// file's dates, which a recalculation would otherwise move. An inactive task (which the
// scheduler passes over otherwise), a task of another project, an inserted project (see
// ReadTaskElement) and a task whose resources' work starts late keep their own.
void HoldDelayedTasks(pugi::xml_node root, const std::unordered_map<std::int64_t, Task*>& by_uid) {
  for (pugi::xml_node a : root.child("Assignments").children("Assignment")) {
    const auto delay = detail::ReadWholeNumber(TextOf(a.child("Delay")), -kMaxUid, kMaxUid);
    if (!delay || *delay == 0) continue;
    const auto uid = detail::ReadWholeNumber(TextOf(a.child("TaskUID")), 0, kMaxUid);
    const auto found = uid ? by_uid.find(*uid) : by_uid.end();
    if (found == by_uid.end() || found->second->ID() == 0) continue;
    Task& task = *found->second;
    if (task.DatesHeldBy().empty() && !task.IsManual()) task.HoldDates(detail::kHeldByDelay);
  }
}

// The task rows of a document, read into a project: rows first, links once every task is known.
class RowReader {
 public:
  RowReader(MspdiSource& source, Project& project) : source_(source), project_(project) {}

  void Read(const detail::TaskSpans& spans) {
    const std::string_view text = source_.text;
    std::size_t after_rows = spans.content_begin;
    for (const detail::TaskSpan& span : spans.tasks) {
      detail::CheckBetweenRows(text, span.begin, span.element);
      after_rows = span.end;
      TaskText row;
      row.begin = span.begin;
      row.size = span.end - span.begin;
      row.prefix = span.element - span.begin;
      const auto within = static_cast<std::ptrdiff_t>(span.element);
      try {
        ReadRow(detail::ParseElement(scratch_, text.substr(span.element, span.end - span.element)),
                within, row);
      } catch (LoadFailure& failure) {
        detail::RethrowWithin(failure, within);
      }
      source_.task_texts.push_back(std::move(row));
    }
    if (spans.has_tasks) {
      detail::CheckBetweenRows(text, after_rows, spans.content_end);
      source_.after_tasks = text.substr(after_rows, spans.content_end - after_rows);
    }
    LinkTasks();
  }

  const std::unordered_map<std::int64_t, Task*>& ByUid() const { return by_uid_; }
  const std::vector<TaskPlacement>& Placements() const { return placements_; }
  std::int32_t NextUid() const { return next_uid_; }
  // Tasks whose element holds a scheduler's results: its dates and its early dates.
  std::unordered_set<const Task*> TakeScheduled() { return std::move(scheduled_); }

  // The trial schedule takes memory of its own: what the reading needed goes first.
  void Release() {
    std::unordered_map<std::int64_t, Task*>().swap(by_uid_);
    std::vector<PendingLink>().swap(links_);
    std::vector<TaskPlacement>().swap(placements_);
    scratch_.reset();
  }

 private:
  struct PendingLink {
    Task* successor;
    std::int64_t predecessor_uid;
    std::ptrdiff_t at;  // of its PredecessorUID in the text
    LinkType type;
    std::int64_t lag;
    LagFormat format;
  };

  void ReadRow(pugi::xml_node node, std::ptrdiff_t within, TaskText& row) {
    pugi::xml_node uid_node = node.child("UID");
    if (!uid_node) Fail(node, file_message::MissingUid());
    const std::int64_t uid = WholeNumber(uid_node, 0, kMaxUid);
    if (by_uid_.count(uid) != 0 || blank_uids_.count(uid) != 0) {
      Fail(uid_node, file_message::DuplicateUid(uid));
    }
    next_uid_ = std::max<std::int32_t>(next_uid_, static_cast<std::int32_t>(uid) + 1);
    row.uid = uid;
    for (pugi::xml_node value : node.children("ExtendedAttribute")) {
      if (const auto value_uid = detail::ReadWholeNumber(TextOf(value.child("UID")), 0, kMaxUid)) {
        source_.next_value_uid = std::max(source_.next_value_uid, *value_uid + 1);
      }
    }
    if (TextOf(node.child("IsNull")) == std::string_view("1")) {
      blank_uids_.insert(uid);
      project_.LoadBlankRow();
      row.blank = true;
      row.id = static_cast<std::int32_t>(project_.Rows().size());
      return;
    }
    std::int32_t level = 1;
    if (pugi::xml_node l = node.child("OutlineLevel")) {
      level = static_cast<std::int32_t>(WholeNumber(l, 0, 10000));
    }
    // The project summary row is the first, at level 0; most writers give it UID 0, some 1.
    const bool summary_row = level == 0;
    if ((summary_row && !source_.task_texts.empty()) || (!summary_row && level > last_level_ + 1)) {
      Fail(node, file_message::BadOutlineLevel(uid, level, last_level_ + 1));
    }
    Task* task;
    if (summary_row) {
      task = &project_.LoadSummaryRow(static_cast<std::int32_t>(uid));
      source_.has_summary_row = true;
    } else {
      task = &project_.LoadTask(static_cast<std::int32_t>(uid),
                                std::string(TextOf(node.child("Name"))), level);
      row.id = task->ID();
      last_level_ = level;
    }
    by_uid_[uid] = task;
    detail::TaskElement element =
        detail::ReadTaskElement(node, summary_row, detail::Reading::kStrict,
                                source_.minutes_per_day, project_.ProjectStart());
    PlaceUndatedTask(element.values, element.has_start, element.has_finish, project_);
    Project::LoadTaskValues(*task, element.values);
    if (element.has_start && element.has_finish && element.values.early_start &&
        element.values.early_finish) {
      scheduled_.insert(task);
    }
    for (const detail::LinkElement& link : element.links) {
      links_.push_back({task, *link.predecessor_uid,
                        within + link.predecessor_uid_node.offset_debug(), link.Type(), link.Lag(),
                        link.lag_format});
    }
    row.written_unread = true;
    placements_.push_back(ReadTaskPlacement(node));
  }

  void LinkTasks() {
    for (const PendingLink& link : links_) {
      const auto found = by_uid_.find(link.predecessor_uid);
      if (found == by_uid_.end() && blank_uids_.count(link.predecessor_uid) == 0) {
        throw LoadFailure{
            link.at,
            file_message::LinkToMissingTask(link.successor->UniqueID(), link.predecessor_uid),
            true};
      }
      // A link to a blank row or to the task itself means nothing to the schedule; it stays in
      // the file as it is.
      if (found == by_uid_.end() || found->second == link.successor || found->second->ID() == 0) {
        continue;
      }
      project_.LoadLink(*found->second, *link.successor, link.type, link.lag, link.format);
    }
  }

  MspdiSource& source_;
  Project& project_;
  pugi::xml_document scratch_;
  std::unordered_map<std::int64_t, Task*> by_uid_;
  std::unordered_set<std::int64_t> blank_uids_;
  std::vector<PendingLink> links_;
  std::vector<TaskPlacement> placements_;  // by task element
  std::unordered_set<const Task*> scheduled_;
  std::int32_t last_level_ = 0;
  std::int32_t next_uid_ = 1;
};

// Reads a project from `source`, whose tree and text are made, and whose tasks lie in its text
// at `spans`. The project takes the source only once it is read.
std::unique_ptr<Project> ReadProject(Application& app, std::unique_ptr<MspdiSource>& source,
                                     const detail::TaskSpans& spans,
                                     const std::filesystem::path& path) {
  pugi::xml_document& doc = source->doc;
  detail::CheckDepth(doc);
  pugi::xml_node root = doc.document_element();
  const std::string_view root_name = root.name();
  if (root_name != "Project" && !root_name.ends_with(":Project")) {
    Fail(root, std::string(file_message::kNotAProject));
  }
  auto project = std::make_unique<Project>(app, path.filename().string());
  if (pugi::xml_node tasks = root.child("Tasks")) detail::AddMarker(tasks, source->marker);
  source->file = path;
  source->project_2003 = !root.child("SaveVersion");
  ReadProjectSettings(root, *source, *project);

  RowReader rows(*source, *project);
  rows.Read(spans);
  ApplyResourceSchedule(*project,
                        ReadResourceSchedule(root, rows.Placements(), project->Calendar()));
  HoldDelayedTasks(root, rows.ByUid());
  if (project->ScheduleFromFinish() && !root.child("FinishDate")) {
    Moment finish = project->ProjectFinish();
    for (const auto& row : project->Rows()) {
      if (row) finish = std::max(finish, row->Finish());
    }
    project->LoadScheduleFromFinish(finish);
  }
  source->project_finish = project->ProjectFinish();
  source->had_tables = detail::ReadTables(doc, *project);

  project->FinishLoading(rows.NextUid());
  const std::unordered_set<const Task*> scheduled = rows.TakeScheduled();
  rows.Release();
  for (const Task* task : project->ScheduleAsOpened(scheduled, kScheduleNotReproduced)) {
    const detail::MspdiSource::OpenedDates opened{task->EarlyStart(), task->EarlyFinish(),
                                                  task->LateStart(), task->LateFinish()};
    if (task == &project->SummaryTask()) {
      source->opened_summary_dates = opened;
    } else {
      source->opened_dates[task->UniqueID()] = opened;
    }
  }
  for (int i = 0; i < kCustomTextCount; ++i) {
    source->aliases[i] = project->CustomTextAlias(i);
    source->formulas[i] = project->CustomTextFormula(i);
  }
  source->tables =
      source->had_tables ? detail::TablesText(*project) : detail::DefaultTablesText(app);
  project->SetSource(std::move(source));
  project->MarkSaved();
  return project;
}

std::unique_ptr<Project> ReadText(Application& app, std::string text,
                                  const std::filesystem::path& path) {
  detail::ParsedText parsed = detail::ParseSourceText(std::move(text), path);
  try {
    return ReadProject(app, parsed.source, parsed.spans, path);
  } catch (const LoadFailure& failure) {
    throw detail::FailureInFile(failure, parsed, path);
  }
}

// The definition element of a custom field, made in the schema's place when asked.
pugi::xml_node FieldDefinition(pugi::xml_node root, host::FieldId field, bool make) {
  const std::string id = std::to_string(field);
  pugi::xml_node definitions = root.child("ExtendedAttributes");
  for (pugi::xml_node d : definitions.children("ExtendedAttribute")) {
    if (TextOf(d.child("FieldID")) == id) return d;
  }
  if (!make) return {};
  if (!definitions)
    definitions = detail::InsertOrdered(root, "ExtendedAttributes", detail::ProjectChildOrder());
  pugi::xml_node d = definitions.append_child("ExtendedAttribute");
  d.append_child("FieldID").text() = id.c_str();
  d.append_child("FieldName").text() = std::string(FieldOrRaise(field).name).c_str();
  return d;
}

void SetDefinitionChild(pugi::xml_node definition, std::string_view name,
                        const std::string& value) {
  if (value.empty()) {
    definition.remove_child(std::string(name).c_str());
  } else {
    detail::SetChild(definition, name, value, detail::FieldDefinitionChildOrder());
  }
}

// The project's settings a save writes when they differ from the document's: scheduling from the
// finish, the finish date, new tasks' scheduling.
void WriteProjectSettings(pugi::xml_node root, MspdiSource& source, const Project& project) {
  const bool file_from_finish = TextOf(root.child("ScheduleFromStart")) == std::string_view("0");
  if (file_from_finish != project.ScheduleFromFinish()) {
    detail::SetChild(root, "ScheduleFromStart", project.ScheduleFromFinish() ? "0" : "1",
                     detail::ProjectChildOrder());
  }
  if (project.ScheduleFromFinish() && source.project_finish != project.ProjectFinish()) {
    detail::SetChild(root, "FinishDate", detail::MspdiDateText(project.ProjectFinish()),
                     detail::ProjectChildOrder());
    source.project_finish = project.ProjectFinish();
  }
  if (source.new_tasks_manual != project.NewTasksAreManual()) {
    detail::SetChild(root, "NewTasksAreManual", project.NewTasksAreManual() ? "1" : "0",
                     detail::ProjectChildOrder());
    source.new_tasks_manual = project.NewTasksAreManual();
  }
}

// Aliases and formulas that changed, and a definition for every field that got its first value,
// as the scheduler keeps one for each field in use.
void WriteFieldDefinitions(pugi::xml_node root, MspdiSource& source, const Project& project,
                           const std::set<host::FieldId>& fields_given_value) {
  for (const host::FieldId field : fields_given_value) FieldDefinition(root, field, true);
  for (int i = 0; i < kCustomTextCount; ++i) {
    const std::string& alias = project.CustomTextAlias(i);
    const std::string& formula = project.CustomTextFormula(i);
    const bool alias_changed = alias != source.aliases[i];
    const bool formula_changed = formula != source.formulas[i];
    pugi::xml_node definition =
        FieldDefinition(root, CustomTextField(i), alias_changed || formula_changed);
    if (alias_changed) SetDefinitionChild(definition, "Alias", alias);
    if (formula_changed) SetDefinitionChild(definition, "Formula", formula);
    source.aliases[i] = alias;
    source.formulas[i] = formula;
  }
}

// The task rows a save writes: each row whose task differs from what its element says gets the
// difference written, and keeps the element as its text.
class RowWriter {
 public:
  RowWriter(MspdiSource& source, Project& project)
      : source_(source),
        project_(project),
        custom_writes_{source.project_2003, source.next_value_uid, fields_given_value_} {
    for (const auto& row : project.Rows()) {
      if (row) live_uids_.insert(row->UniqueID());
    }
  }

  void WriteAll() {
    AlignTextsWithRows();
    if (source_.has_summary_row) {
      Write(source_.task_texts.front(), detail::CaptureTask(project_.SummaryTask(), true), true, 0,
            0);
    }
    const std::size_t first_row = source_.has_summary_row ? 1 : 0;
    const auto& rows = project_.Rows();
    for (std::size_t row = 0; row < rows.size(); ++row) {
      const Task* task = rows[row].get();
      if (first_row + row >= source_.task_texts.size()) AddRow(task, row);
      const auto id = static_cast<std::int32_t>(row + 1);
      TaskText& text = source_.task_texts[first_row + row];
      if (task == nullptr) {
        Renumber(text, id);
        continue;
      }
      Write(text, detail::CaptureTask(*task, false), false, task->UniqueID(), id);
    }
  }

  const std::set<host::FieldId>& FieldsGivenValue() const { return fields_given_value_; }

 private:
  // Puts the task texts in the order of the project's rows when the user inserted, deleted or
  // moved rows since they were made: each text follows its task by UID, blank rows take the blank
  // texts in order, a task without a text gets a new element and the text of a deleted task goes.
  void AlignTextsWithRows() {
    const std::size_t first = source_.has_summary_row ? 1 : 0;
    std::vector<TaskText>& texts = source_.task_texts;
    const auto& rows = project_.Rows();
    auto matches = [](const TaskText& text, const Task* task) {
      return task == nullptr ? text.blank : !text.blank && text.uid == task->UniqueID();
    };
    bool aligned = true;
    for (std::size_t row = 0; row < rows.size() && first + row < texts.size(); ++row) {
      if (!matches(texts[first + row], rows[row].get())) {
        aligned = false;
        break;
      }
    }
    // Rows only appended are written by the save as new rows; fewer rows than texts is a deletion.
    if (aligned && texts.size() <= first + rows.size()) return;
    std::unordered_map<std::int64_t, TaskText> by_uid;
    std::deque<TaskText> blanks;
    for (std::size_t i = first; i < texts.size(); ++i) {
      if (texts[i].blank) {
        blanks.push_back(std::move(texts[i]));
      } else if (texts[i].uid) {
        by_uid.emplace(*texts[i].uid, std::move(texts[i]));
      }
    }
    texts.resize(first);
    for (std::size_t row = 0; row < rows.size(); ++row) {
      const Task* task = rows[row].get();
      if (task != nullptr) {
        if (auto found = by_uid.find(task->UniqueID()); found != by_uid.end()) {
          texts.push_back(std::move(found->second));
          by_uid.erase(found);
          continue;
        }
      } else if (!blanks.empty()) {
        texts.push_back(std::move(blanks.front()));
        blanks.pop_front();
        continue;
      }
      AddRow(task, row);
    }
    if (!by_uid.empty()) DropLinksTo(by_uid);
  }

  // The elements of deleted tasks are gone; so are the links that other elements have to them.
  void DropLinksTo(const std::unordered_map<std::int64_t, TaskText>& deleted) {
    const std::size_t first = source_.has_summary_row ? 1 : 0;
    for (std::size_t i = first; i < source_.task_texts.size(); ++i) {
      TaskText& text = source_.task_texts[i];
      if (text.blank) continue;
      const std::string_view row_text = detail::RowText(source_, text);
      pugi::xml_node node = detail::ParseElement(scratch_, row_text.substr(text.prefix));
      bool dropped = false;
      for (pugi::xml_node link = node.child("PredecessorLink"); link;) {
        const pugi::xml_node next = link.next_sibling("PredecessorLink");
        const auto uid = detail::ReadWholeNumber(TextOf(link.child("PredecessorUID")), 0, kMaxUid);
        if (uid && deleted.count(*uid) != 0) {
          node.remove_child(link);
          dropped = true;
        }
        link = next;
      }
      if (!dropped) continue;
      text.own = detail::RewrittenRow(row_text, text, node, source_.form);
      text.written.reset();
      text.written_unread = true;
    }
  }

  // A blank row moved by an insertion or deletion above it says its new ID.
  void Renumber(TaskText& text, std::int32_t id) {
    if (text.id == id) return;
    const std::string_view row_text = detail::RowText(source_, text);
    pugi::xml_node node = detail::ParseElement(scratch_, row_text.substr(text.prefix));
    detail::SetChild(node, "ID", std::to_string(id), detail::TaskChildOrder());
    text.own = detail::RewrittenRow(row_text, text, node, source_.form);
    text.id = id;
  }

  // A row for a task (or blank row) the document has not yet.
  void AddRow(const Task* task, std::size_t row) {
    scratch_.reset();
    pugi::xml_node node = scratch_.append_child("Task");
    const std::int32_t uid = task ? task->UniqueID() : project_.TakeUniqueID();
    node.append_child("UID").text() = uid;
    node.append_child("ID").text() = static_cast<int>(row + 1);
    node.append_child("IsNull").text() = task ? "0" : "1";
    if (task)
      node.append_child("CreateDate").text() = detail::MspdiDateText(task->Created()).c_str();
    source_.task_texts.push_back(detail::NewRow(node, source_.form));
    source_.task_texts.back().uid = uid;
    source_.task_texts.back().blank = task == nullptr;
    source_.task_texts.back().id = static_cast<std::int32_t>(row + 1);
  }

  TaskState Written(pugi::xml_node node, bool summary_row, std::int64_t uid) const {
    TaskState state =
        detail::DocumentState(node, summary_row, project_.MinutesPerDay(), project_.ProjectStart());
    detail::KeepLinksAmong(state, uid, live_uids_);
    return state;
  }

  void TakeOpenedDates(TaskState& written, bool summary_row, std::int64_t uid) {
    std::optional<detail::MspdiSource::OpenedDates> opened;
    if (summary_row) {
      opened.swap(source_.opened_summary_dates);
    } else if (const auto found = source_.opened_dates.find(uid);
               found != source_.opened_dates.end()) {
      opened = found->second;
      source_.opened_dates.erase(found);
    }
    if (!opened) return;
    written.early_start = opened->early_start;
    written.early_finish = opened->early_finish;
    written.late_start = opened->late_start;
    written.late_finish = opened->late_finish;
  }

  void Write(TaskText& row, const TaskState& now, bool summary_row, std::int64_t uid,
             std::int32_t id) {
    const bool renumbered = row.id != id;
    if (!renumbered && row.written && *row.written == now) return;
    const std::string_view text = detail::RowText(source_, row);
    pugi::xml_node node = detail::ParseElement(scratch_, text.substr(row.prefix));
    if (row.written_unread) {
      row.written = Written(node, summary_row, uid);
      TakeOpenedDates(*row.written, summary_row, uid);
      row.written_unread = false;
      if (!renumbered && *row.written == now) return;
    }
    const std::optional<TaskState> before = std::move(row.written);
    if (renumbered) detail::SetChild(node, "ID", std::to_string(id), detail::TaskChildOrder());
    row.id = id;
    detail::WriteTask(node, before, now, summary_row, custom_writes_);
    row.own = detail::RewrittenRow(text, row, node, source_.form);
    row.written = Written(node, summary_row, uid);
    // A date left unwritten because it stands as it was opened keeps the opened value as its
    // element's, though the element still says the file's.
    if (before) {
      const auto keep = [](std::optional<Moment>& written, const std::optional<Moment>& was,
                           const std::optional<Moment>& is) {
        if (was == is) written = is;
      };
      keep(row.written->early_start, before->early_start, now.early_start);
      keep(row.written->early_finish, before->early_finish, now.early_finish);
      keep(row.written->late_start, before->late_start, now.late_start);
      keep(row.written->late_finish, before->late_finish, now.late_finish);
    }
  }

  MspdiSource& source_;
  Project& project_;
  std::unordered_set<std::int64_t> live_uids_;
  std::set<host::FieldId> fields_given_value_;
  detail::CustomValueWrites custom_writes_;
  pugi::xml_document scratch_;
};

// Writes the project's state into its document and returns the document.
MspdiSource& Update(Project& project) {
  MspdiSource& source = SourceOf(project);
  pugi::xml_node root = source.doc.document_element();
  project.EnsureOutline();
  WriteProjectSettings(root, source, project);

  RowWriter rows(source, project);
  rows.WriteAll();
  if (!source.task_texts.empty() && !root.child("Tasks")) {
    pugi::xml_node tasks = detail::InsertOrdered(root, "Tasks", detail::ProjectChildOrder());
    detail::AddMarker(tasks, source.marker);
    source.after_tasks = detail::AfterNewRows(source.form);
  }
  WriteFieldDefinitions(root, source, project, rows.FieldsGivenValue());

  // Task tables: written when they differ from what the file had, or when the file had them.
  std::string tables = detail::TablesText(project);
  if (tables != source.tables || source.had_tables) {
    detail::WriteTables(source.doc, root, project);
    source.tables = std::move(tables);
    source.had_tables = true;
  }
  return source;
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

std::unique_ptr<Project> ReadProjectText(Application& app, std::string_view text,
                                         const std::filesystem::path& path) {
  return ReadText(app, std::string(text), path);
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
  // The file's text is held once: the project keeps it, and its tasks are read from it.
  std::string text(static_cast<std::size_t>(std::max<off_t>(status.st_size, 0)), '\0');
  const std::size_t got = std::fread(text.data(), 1, text.size(), file);
  const int error = std::ferror(file) ? errno : 0;
  std::fclose(file);
  if (error != 0) throw unreadable(error);
  text.resize(got);
  return ReadText(app, std::move(text), path);
}

Project& OpenProjectFile(Application& app, const std::filesystem::path& path,
                         host::ProjectEvents* open_sink) {
  std::unique_ptr<Project> project = ReadProjectFile(app, path);
  if (open_sink != nullptr) project->AddEventSink(*open_sink);
  return app.AdoptOpenedProject(std::move(project));
}

std::string ProjectFileText(Project& project) {
  detail::StringWriter writer;
  detail::SaveDocument(Update(project), writer);
  return std::move(writer.out);
}

bool ProjectFileKeepsField(host::FieldId field) {
  static constexpr host::FieldId kKept[] = {
      field::kName,           field::kDuration,         field::kMilestone,
      field::kStart,          field::kFinish,           field::kActualStart,
      field::kActualFinish,   field::kConstraintType,   field::kConstraintDate,
      field::kPredecessors,   field::kSuccessors,       field::kBaselineStart,
      field::kBaselineFinish, field::kBaselineDuration, field::kBaselineWork,
      field::kBaselineCost};
  return std::find(std::begin(kKept), std::end(kKept), field) != std::end(kKept) ||
         detail::CustomValueField(field) != nullptr;
}

void SaveProjectFile(Project& project, const std::filesystem::path& path) {
  MspdiSource& source = Update(project);
  WriteFileAtomically(path, [&source](const ChunkSink& sink) {
    ChunkWriter writer(sink);
    detail::SaveDocument(source, writer);
  });
  source.file = path;
  project.MarkSaved();
}

std::vector<std::string> ProjectFileNotes(const Project& project) {
  const auto* source = dynamic_cast<const MspdiSource*>(project.Source());
  return source ? source->notes : std::vector<std::string>();
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

pugi::xml_node ProjectDocumentRoot(Project& project) {
  return SourceOf(project).doc.document_element();
}

}  // namespace lunavant::workbench
