// SPDX-License-Identifier: MIT
// The loading interface of Project (see project.h): what a file reader uses to build the project
// it read.
#include <algorithm>
#include <utility>

#include "addin/host/error.h"
#include "workbench/model/project.h"
#include "workbench/schedule/scheduler.h"

namespace lunavant::workbench {

void Project::LoadSettings(std::int64_t minutes_per_day, ProjectCalendar calendar, Moment start,
                           bool new_tasks_manual) {
  minutes_per_day_ = minutes_per_day;
  calendar_ = std::move(calendar);
  project_start_ = start;
  new_tasks_manual_ = new_tasks_manual;
}

void Project::LoadScheduleFromFinish(Moment finish) {
  schedule_from_finish_ = true;
  project_finish_ = finish;
}

void Project::LoadCustomTextDefinition(int index, std::string alias, std::string formula) {
  aliases_[static_cast<std::size_t>(index)] = std::move(alias);
  formulas_[static_cast<std::size_t>(index)] = std::move(formula);
}

Task& Project::LoadSummaryRow(std::int32_t unique_id) {
  summary_->unique_id_ = unique_id;
  return *summary_;
}

Task& Project::LoadTask(std::int32_t unique_id, std::string name, std::int32_t outline_level) {
  const auto id = static_cast<std::int32_t>(rows_.size() + 1);
  rows_.push_back(std::make_unique<Task>(*this, id, unique_id, std::move(name), 0, outline_level));
  last_outline_level_ = outline_level;
  outline_dirty_ = true;
  return *rows_.back();
}

void Project::LoadBlankRow() { rows_.push_back(nullptr); }

void Project::LoadTaskValues(Task& task, const TaskFileValues& values) {
  task.start_ = values.start;
  task.finish_ = values.finish;
  if (values.created) task.created_ = *values.created;
  task.duration_ = values.duration;
  task.elapsed_ = values.elapsed;
  task.manual_ = values.manual;
  task.active_ = values.active;
  task.early_start_ = values.early_start;
  task.early_finish_ = values.early_finish;
  task.late_start_ = values.late_start;
  task.late_finish_ = values.late_finish;
  task.actual_start_ = values.actual_start;
  task.actual_finish_ = values.actual_finish;
  task.constraint_ = values.constraint;
  task.constraint_date_ = values.constraint_date;
  task.own_calendar_uid_ = values.calendar_uid;
  for (const auto& [field, value] : values.stored) task.stored_[field] = value;
  if (!values.dates_held_by.empty()) task.dates_held_by_ = values.dates_held_by;
}

void Project::LoadLink(Task& predecessor, Task& successor, LinkType type, std::int64_t lag,
                       LagFormat lag_format) {
  predecessor.successors_.push_back(Link{&successor, type, lag, lag_format});
  successor.predecessors_.push_back(Link{&predecessor, type, lag, lag_format});
}

void Project::LoadTables(std::vector<std::unique_ptr<Table>> tables,
                         const std::optional<std::string>& current) {
  if (!tables.empty()) tables_ = std::move(tables);
  if (!current) return;
  bool known = false;
  for (const auto& table : tables_) known = known || NamesEqual(table->Name(), *current);
  if (known) current_table_ = *current;
}

void Project::FinishLoading(std::int32_t next_unique_id) {
  next_unique_id_ = next_unique_id;
  outline_dirty_ = true;
  EnsureOutline();
}

namespace {

// What a file says of a task's schedule, to be put back where the schedule may not overrule it.
struct FileSchedule {
  Task* task;
  Moment start, finish;
  std::optional<Moment> early_start, early_finish, late_start, late_finish;
  std::int64_t duration, total_slack, free_slack;
  bool critical;
};

bool TryToSchedule(Project& project) {
  try {
    Schedule(project);
    return true;
  } catch (const host::HostError&) {
    return false;  // the recalculation the user asks for will say why
  }
}

}  // namespace

std::vector<const Task*> Project::ScheduleAsOpened(const std::unordered_set<const Task*>& scheduled,
                                                   std::string_view reason) {
  std::vector<FileSchedule> file;
  file.reserve(rows_.size() + 1);
  const auto keep = [&file](Task& t) {
    file.push_back({&t, t.start_, t.finish_, t.early_start_, t.early_finish_, t.late_start_,
                    t.late_finish_, t.duration_, t.total_slack_, t.free_slack_, t.critical_});
  };
  keep(*summary_);
  for (const auto& row : rows_) {
    if (row) keep(*row);
  }
  const auto moved = [](const FileSchedule& f) {
    return f.task->start_ != f.start || f.task->finish_ != f.finish;
  };
  const auto put_back = [](const FileSchedule& f) {
    Task& t = *f.task;
    t.start_ = f.start;
    t.finish_ = f.finish;
    t.early_start_ = f.early_start;
    t.early_finish_ = f.early_finish;
    t.late_start_ = f.late_start;
    t.late_finish_ = f.late_finish;
    t.duration_ = f.duration;
    t.total_slack_ = f.total_slack;
    t.free_slack_ = f.free_slack;
    t.critical_ = f.critical;
  };
  const auto put_all_back = [&] {
    for (const FileSchedule& f : file) put_back(f);
    return std::vector<const Task*>();
  };

  if (!TryToSchedule(*this)) return put_all_back();
  bool held_more = false;
  for (const FileSchedule& f : file) {
    Task& t = *f.task;
    if (moved(f) && t.id_ != 0 && !t.KeepsItsDates() && scheduled.count(&t) != 0) {
      t.dates_held_by_ = std::string(reason);
      held_more = true;
    }
  }
  // The tasks just held drive their successors and summaries from their file's dates, not from
  // where this schedule put them: their slack and everyone else's come from a schedule around
  // them.
  if (held_more) {
    put_all_back();
    if (!TryToSchedule(*this)) return put_all_back();
  }
  std::vector<const Task*> dates_differ;
  for (const FileSchedule& f : file) {
    Task& t = *f.task;
    if (moved(f)) {
      put_back(f);
      continue;
    }
    t.duration_ = f.duration;
    if (t.early_start_ != f.early_start || t.early_finish_ != f.early_finish ||
        t.late_start_ != f.late_start || t.late_finish_ != f.late_finish) {
      dates_differ.push_back(&t);
    }
  }
  return dates_differ;
}

}  // namespace lunavant::workbench
