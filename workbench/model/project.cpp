// SPDX-License-Identifier: MIT
#include "workbench/model/project.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "addin/host/error.h"
#include "workbench/model/application.h"
#include "workbench/model/messages.h"

namespace lunavant::workbench {

namespace {

// Today at the start of the working day, on the next working day; the default project start.
Moment Today(const ProjectCalendar& calendar) {
  const auto now = std::chrono::system_clock::now();
  const auto days = std::chrono::duration_cast<std::chrono::days>(now.time_since_epoch()).count();
  return calendar.StartOf(calendar.WorkAt(days * kMinutesPerDay));
}

}  // namespace

std::string Window::Caption() const { return project_.Name(); }

Project::Project(Application& app, std::string name)
    : app_(&app),
      name_(std::move(name)),
      window_(*this),
      summary_(std::make_unique<Task>(*this, 0, 0, name_, 0, 0)),
      calendar_(app.NewProjectCalendar()),
      project_start_(Today(calendar_)),
      tables_(MakeDefaultTaskTables([this] { MarkChanged(); })) {
  summary_->MoveStartTo(project_start_);
}

Project::~Project() = default;

std::int32_t Project::Index() const { return open_ ? app_->IndexOf(*this) : 0; }

void Project::Rename(std::string name) {
  name_ = std::move(name);
  MarkChanged();
}

std::int32_t Project::TaskTableCount() const { return static_cast<std::int32_t>(tables_.size()); }

Table& Project::TaskTable(std::int32_t position) {
  if (position < 1 || position > TaskTableCount()) {
    host::Raise(host::kSubscriptOutOfRange,
                message::NoSuchItem("task table", position, TaskTableCount()));
  }
  return *tables_[static_cast<std::size_t>(position - 1)];
}

Table& Project::TaskTable(std::string_view name) {
  for (const auto& table : tables_) {
    if (NamesEqual(table->Name(), name)) return *table;
  }
  host::Raise(host::kHostFailure, message::UnknownTable(name));
}

void Project::RenameTaskTable(std::string_view name, std::string new_name) {
  Table& renamed = TaskTable(name);
  if (new_name.empty()) host::Raise(host::kHostFailure, std::string(message::kEmptyTableName));
  for (const auto& table : tables_) {
    if (table.get() != &renamed && NamesEqual(table->Name(), new_name)) {
      host::Raise(host::kHostFailure, message::TableNameTaken(new_name));
    }
  }
  if (NamesEqual(current_table_, renamed.Name())) current_table_ = new_name;
  renamed.name_ = std::move(new_name);
  MarkChanged();
}

std::int32_t Project::TaskCount() const { return static_cast<std::int32_t>(rows_.size()); }

Task* Project::TaskAt(std::int32_t position) {
  if (position < 1 || position > TaskCount()) {
    host::Raise(host::kSubscriptOutOfRange, message::NoSuchItem("task", position, TaskCount()));
  }
  return rows_[static_cast<std::size_t>(position - 1)].get();
}

void Project::AddEventSink(host::ProjectEvents& sink) {
  if (std::find(sinks_.begin(), sinks_.end(), &sink) == sinks_.end()) sinks_.push_back(&sink);
}

void Project::RemoveEventSink(host::ProjectEvents& sink) {
  sinks_.erase(std::remove(sinks_.begin(), sinks_.end(), &sink), sinks_.end());
}

void Project::RaiseOpen() {
  const std::vector<host::ProjectEvents*> snapshot = sinks_;
  for (host::ProjectEvents* sink : snapshot) {
    if (std::find(sinks_.begin(), sinks_.end(), sink) != sinks_.end()) sink->Open(*this);
  }
}

void Project::Detach() {
  open_ = false;
  closed_ = true;
  sinks_.clear();
}

Task& Project::AddTask(std::string name, std::int32_t duration_days, std::int32_t outline_level) {
  const std::int32_t allowed = last_outline_level_ + 1;
  if (outline_level < 1 || outline_level > allowed) {
    host::Raise(host::kHostFailure, message::BadOutlineLevel(outline_level, allowed));
  }
  if (duration_days < 0) {
    host::Raise(host::kHostFailure,
                message::UnreadableDuration("Duration", std::to_string(duration_days)));
  }
  const auto id = static_cast<std::int32_t>(rows_.size() + 1);
  rows_.push_back(std::make_unique<Task>(*this, id, next_unique_id_++, std::move(name),
                                         duration_days * minutes_per_day_, outline_level));
  last_outline_level_ = outline_level;
  outline_dirty_ = true;
  Task& task = *rows_.back();
  task.MoveStartTo(project_start_);
  task.manual_ = new_tasks_manual_;
  MarkChanged();
  return task;
}

void Project::SetNewTasksAreManual(bool manual) {
  if (new_tasks_manual_ == manual) return;
  new_tasks_manual_ = manual;
  MarkChanged();
}

void Project::AddBlankRow() {
  rows_.push_back(nullptr);
  outline_dirty_ = true;
  MarkChanged();
}

void Project::AddLink(Task& predecessor, Task& successor, LinkType type, std::int32_t lag_days) {
  if (&predecessor.Owner() != this || &successor.Owner() != this || predecessor.ID() == 0 ||
      successor.ID() == 0) {
    host::Raise(host::kHostFailure, message::LinkToMissingTask("Predecessors", successor.ID()));
  }
  if (&predecessor == &successor) {
    host::Raise(host::kHostFailure, message::LinkToItself(predecessor.ID()));
  }
  const std::int64_t lag = static_cast<std::int64_t>(lag_days) * minutes_per_day_;
  predecessor.successors_.push_back(Link{&successor, type, lag});
  successor.predecessors_.push_back(Link{&predecessor, type, lag});
  MarkChanged();
}

void Project::SetCalendar(ProjectCalendar calendar) {
  calendar_ = calendar;
  MarkChanged();
}

std::int32_t Project::AddWorkingCalendar(ProjectCalendar calendar) {
  working_calendars_.push_back(std::move(calendar));
  MarkChanged();
  return static_cast<std::int32_t>(working_calendars_.size() - 1);
}

void Project::ClearWorkingCalendars() {
  for (const auto& row : rows_) {
    if (row) row->SetWorkingCalendar(-1);
  }
  for (const auto& row : removed_rows_) {
    if (row) row->SetWorkingCalendar(-1);
  }
  working_calendars_.clear();
  MarkChanged();
}

const ProjectCalendar& Project::CalendarOf(const Task& task) const {
  const std::int32_t index = task.WorkingCalendar();
  return index < 0 ? calendar_ : working_calendars_[static_cast<std::size_t>(index)];
}

void Project::SetProjectStart(Moment start) {
  if (!InHostRange(start)) {
    host::Raise(host::kHostFailure,
                message::DateOutOfRange("Project Start", app_->FormatDate(start)));
  }
  project_start_ = start;
  MarkChanged();
}

void Project::SetScheduleFromFinish(Moment finish) {
  if (!InHostRange(finish)) {
    host::Raise(host::kHostFailure,
                message::DateOutOfRange("Project Finish", app_->FormatDate(finish)));
  }
  schedule_from_finish_ = true;
  project_finish_ = finish;
  MarkChanged();
}

void Project::SetScheduleFromStart() {
  schedule_from_finish_ = false;
  MarkChanged();
}

const std::string& Project::CustomTextAlias(int index) const {
  return aliases_.at(static_cast<std::size_t>(index));
}

const std::string& Project::CustomTextFormula(int index) const {
  return formulas_.at(static_cast<std::size_t>(index));
}

void Project::SetCustomTextAlias(int index, std::string alias) {
  aliases_.at(static_cast<std::size_t>(index)) = std::move(alias);
  MarkChanged();
}

void Project::SetCustomTextFormula(int index, std::string formula) {
  formulas_.at(static_cast<std::size_t>(index)) = std::move(formula);
  MarkChanged();
}

void Project::ApplyTable(std::string_view name) {
  const Table& table = TaskTable(name);
  current_table_ = table.Name();
  selected_column_ = 0;
  RedrawView();
}

void Project::SelectColumn(std::int32_t position) {
  const std::int32_t count = TaskTable(current_table_).Columns().Count();
  if (position < 0 || position > count) {
    host::Raise(host::kHostFailure, message::NoSuchColumn(current_table_, position));
  }
  selected_column_ = position;
}

void Project::RedrawView() { ++redraw_count_; }

void Project::EnsureOutline() const {
  if (!outline_dirty_) return;
  // Each row's parent is the nearest row above with a lower outline level; a stack of the open
  // summary candidates gives that in one pass.
  std::vector<Task*> open_levels;
  summary_->children_.clear();
  for (const auto& row : rows_) {
    if (!row) continue;
    Task& task = *row;
    task.children_.clear();
    while (!open_levels.empty() && open_levels.back()->outline_level_ >= task.outline_level_) {
      open_levels.pop_back();
    }
    task.parent_ = open_levels.empty() ? nullptr : open_levels.back();
    (task.parent_ != nullptr ? task.parent_->children_ : summary_->children_).push_back(&task);
    open_levels.push_back(&task);
  }
  outline_dirty_ = false;
}

}  // namespace lunavant::workbench
