// SPDX-License-Identifier: MIT
// A workbench project: its rows of tasks (blank rows included), the project summary row, links,
// the standard calendar, the task tables and the active view, and the custom text fields' aliases
// and formulas.
//
// The restore flag (Saved) is whether the project has no unsaved change: true for a new project
// and right after it was opened or saved; false after any change to tasks, links, tables,
// aliases, formulas, the calendar, or after a recalculation that moved a date.
//
// A project is made for one Application and handed to it (Application::NewProject or
// AdoptOpenedProject). When it closes, the application keeps it, detached (Index() 0, no events),
// until the application ends, so that a reference the add-in still holds never dangles.
//
//   Project& pj = app.NewProject("Plan");
//   Task& dig = pj.AddTask("Dig", 3);
//   Task& pour = pj.AddTask("Pour", 2);
//   pj.AddLink(dig, pour);                         // "1" in Pour's Predecessors
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "addin/host/events.h"
#include "addin/host/object_model.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/table.h"
#include "workbench/model/task.h"
#include "workbench/schedule/calendar.h"

namespace lunavant::workbench {

class Application;
class Project;

// What a file loader keeps of the document a project came from, so that a save can write back
// what the workbench does not model. The model holds it and never looks inside.
class ProjectSource {
 public:
  virtual ~ProjectSource() = default;

  // What the document holds of the project's calendars, which edits change through it, kept by
  // the edit history so that Undo puts the calendars back with the rows.
  class Snapshot {
   public:
    virtual ~Snapshot() = default;
  };
  // Null when the source holds nothing of the kind.
  virtual std::shared_ptr<const Snapshot> TakeSnapshot() const { return nullptr; }
  // Puts back what TakeSnapshot of this source gave.
  virtual void RestoreSnapshot(const Snapshot& /*snapshot*/) {}
};

class Window final : public host::Window {
 public:
  explicit Window(const Project& project) : project_(project) {}
  // The project's name.
  std::string Caption() const override;
  const Project& ProjectShown() const { return project_; }

 private:
  const Project& project_;
};

class Project final : public host::Project {
 public:
  Project(Application& app, std::string name);
  ~Project() override;
  Project(const Project&) = delete;
  Project& operator=(const Project&) = delete;

  // The host contract. Task tables are found by name without regard to letter case.
  std::string Name() const override { return name_; }
  // 0 once the project is closed.
  std::int32_t Index() const override;
  std::string CurrentTable() const override { return current_table_; }
  bool Saved() const override { return saved_; }
  std::int32_t TaskTableCount() const override;
  Table& TaskTable(std::int32_t position) override;
  Table& TaskTable(std::string_view name) override;
  std::int32_t TaskCount() const override;
  Task* TaskAt(std::int32_t position) override;
  void AddEventSink(host::ProjectEvents& sink) override;
  void RemoveEventSink(host::ProjectEvents& sink) override;

  Application& App() const { return *app_; }
  Window& ProjectWindow() { return window_; }
  bool IsOpen() const { return open_; }
  // True once the project has closed; its tasks then refuse writes.
  bool IsClosed() const { return closed_; }
  void Rename(std::string name);

  // The project summary row: ID 0, outline level 0, spanning the whole project.
  Task& SummaryTask() { return *summary_; }
  const Task& SummaryTask() const { return *summary_; }

  // Appends a task row, starting at the project start. Fails with kHostFailure, adding nothing,
  // when `outline_level` is not in 1..(previous task's level + 1) or `duration_days` is negative.
  // The task is scheduled manually when NewTasksAreManual says so.
  Task& AddTask(std::string name, std::int32_t duration_days = 1, std::int32_t outline_level = 1);
  // Whether tasks added from now on are scheduled manually (see Task::IsManual); not by default.
  bool NewTasksAreManual() const { return new_tasks_manual_; }
  void SetNewTasksAreManual(bool manual);
  // Appends a blank row: TaskAt gives null for it, and the next task's ID counts it.
  void AddBlankRow();

  // Editing the rows as a user does in a task sheet (project_rows.cpp). IDs follow the rows'
  // new places; tasks taken out are kept, detached, so that a reference never dangles.
  // Inserts a task before row `position` (from 1; one past the last row appends), at the outline
  // level of the task it pushes down, or of the task above when there is none; a blank row at
  // `position` becomes the task instead. Fails with kHostFailure outside 1..row count + 1.
  Task& InsertTask(std::int32_t position, std::string name, std::int32_t duration_days = 1);
  // Takes out the row at `position` (a summary task with its subtasks) and every link to and
  // from the tasks taken out. Fails with kHostFailure outside 1..row count.
  void DeleteRow(std::int32_t position);
  // One outline level in or out, with the task's subtasks. Fails with kHostFailure, changing
  // nothing, when the task would be more than one level below the task above it, or outdented
  // from level 1.
  void Indent(Task& task);
  void Outdent(Task& task);
  // Puts the rows in the order `before` gives (a strict weak order; null for a blank row), the
  // outline kept: siblings are sorted among themselves and each moves with its subtasks; ties
  // keep their order. Renumbers and marks the project changed only when a row moved; returns
  // whether one did. See task_sort.h for the order by fields.
  bool SortRows(const std::function<bool(const Task*, const Task*)>& before);
  // Removes the links from `predecessor` to `successor`; false when there were none.
  bool RemoveLink(Task& predecessor, Task& successor);
  // Links two tasks of this project. Fails with kHostFailure for a task of another project or a
  // task linked to itself. Cycles are found by the next recalculation.
  void AddLink(Task& predecessor, Task& successor, LinkType type = LinkType::kFinishToStart,
               std::int32_t lag_days = 0);  // working days of MinutesPerDay

  const ProjectCalendar& Calendar() const { return calendar_; }
  // Working minutes in a day of duration or lag (480 unless a file says otherwise); a task's
  // duration in days, as shown and typed, counts these.
  std::int64_t MinutesPerDay() const { return minutes_per_day_; }
  void SetCalendar(ProjectCalendar calendar);
  // Calendars that tasks work on instead of the project's (their resources', their own), by the
  // index AddWorkingCalendar gave; CalendarOf gives a task's, the project's for most.
  std::int32_t AddWorkingCalendar(ProjectCalendar calendar);
  const std::vector<ProjectCalendar>& WorkingCalendars() const { return working_calendars_; }
  const ProjectCalendar& CalendarOf(const Task& task) const;
  // Every task back on the project's calendar and no working calendar left, before they are made
  // again from changed calendars.
  void ClearWorkingCalendars();
  // When work on the project starts; tasks without constraints and predecessors start then.
  // Fails with kHostFailure outside the host's date range.
  Moment ProjectStart() const { return project_start_; }
  void SetProjectStart(Moment start);
  // Whether the project is scheduled back from its finish date, every task as late as it can
  // go, rather than forward from its start (the default). Setting the finish fails with
  // kHostFailure outside the host's date range.
  bool ScheduleFromFinish() const { return schedule_from_finish_; }
  Moment ProjectFinish() const { return project_finish_; }
  void SetScheduleFromFinish(Moment finish);
  void SetScheduleFromStart();

  // Renames the task table `name` (found without regard to letter case), as the user does in the
  // table definition; the active view keeps showing it. Fails with kHostFailure, renaming nothing,
  // when there is no such table, `new_name` is empty or another table already has that name.
  void RenameTaskTable(std::string_view name, std::string new_name);

  // Aliases and formulas of Text1..Text30 by index 0..29; empty when none.
  const std::string& CustomTextAlias(int index) const;
  const std::string& CustomTextFormula(int index) const;
  void SetCustomTextAlias(int index, std::string alias);
  void SetCustomTextFormula(int index, std::string formula);

  // The active view: the applied table (by its own name), the selected column (0 for none), and
  // how many times the view was redrawn (a front end repaints when it changes).
  void ApplyTable(std::string_view name);
  std::int32_t SelectedColumn() const { return selected_column_; }
  void SelectColumn(std::int32_t position);
  void RedrawView();
  std::int64_t RedrawCount() const { return redraw_count_; }

  void MarkSaved() { saved_ = true; }
  void MarkChanged() {
    saved_ = false;
    ++change_count_;
  }
  // Goes up with every change; an action that leaves it as it was changed nothing.
  std::uint64_t ChangeCount() const { return change_count_; }

  // The document the project was read from; null for a project made in the workbench.
  ProjectSource* Source() const { return source_.get(); }
  void SetSource(std::unique_ptr<ProjectSource> source) { source_ = std::move(source); }

  // All task rows (null for blank rows), in ID order.
  const std::vector<std::unique_ptr<Task>>& Rows() const { return rows_; }
  // Rebuilds the parent and subtask relations when rows changed since the last call.
  void EnsureOutline() const;
  // A unique ID no task has yet, for a row made outside AddTask (a blank row a save writes).
  std::int32_t TakeUniqueID() { return next_unique_id_++; }

  // Loading: how a file reader builds the project it read, before the project is handed to the
  // application. Rows come in their order, values and links once every row is known; nothing
  // here checks, raises an event or marks the project changed. FinishLoading ends it.
  void LoadSettings(std::int64_t minutes_per_day, ProjectCalendar calendar, Moment start,
                    bool new_tasks_manual);
  // Scheduled back from `finish`, as SetScheduleFromFinish without its checks.
  void LoadScheduleFromFinish(Moment finish);
  void LoadCustomTextDefinition(int index, std::string alias, std::string formula);
  // The project summary row takes the file's UID; a task row is appended at `outline_level`.
  Task& LoadSummaryRow(std::int32_t unique_id);
  Task& LoadTask(std::int32_t unique_id, std::string name, std::int32_t outline_level);
  void LoadBlankRow();
  static void LoadTaskValues(Task& task, const TaskFileValues& values);
  void LoadLink(Task& predecessor, Task& successor, LinkType type, std::int64_t lag,
                LagFormat lag_format);
  // The task tables replace the default ones when there are any; `current` is applied when a
  // table has that name.
  void LoadTables(std::vector<std::unique_ptr<Table>> tables,
                  const std::optional<std::string>& current);
  void FinishLoading(std::int32_t next_unique_id);
  // Schedules the loaded project once, so that every front end reads its late dates, slack and
  // critical flags without recalculating. Each task of `scheduled` (whose file holds a
  // scheduler's results) that the schedule would move keeps its file's dates for `reason`
  // (Task::DatesHeldBy), and the schedule is worked out again around those it holds. Start,
  // Finish and Duration stay the file's on every task; a task the schedule still places elsewhere
  // (its file holds no scheduler results) keeps every value of its file until the user
  // recalculates, and so does the whole project when the schedule fails. Returns the tasks (the
  // project summary row among them) whose early or late dates now differ from their file's.
  std::vector<const Task*> ScheduleAsOpened(const std::unordered_set<const Task*>& scheduled,
                                            std::string_view reason);

 private:
  friend class Application;
  friend class Scheduler;
  friend class EditHistory;
  void RaiseOpen();
  void Detach();
  // After rows moved: IDs by place, the last level, the outline to rebuild.
  void RenumberRows();
  // The rows of `task` and its subtasks: [first, end) indexes into rows_.
  std::pair<std::size_t, std::size_t> BlockOf(const Task& task) const;

  Application* app_;
  std::string name_;
  Window window_;
  bool open_ = false;
  bool closed_ = false;
  bool saved_ = true;
  std::uint64_t change_count_ = 0;
  std::unique_ptr<Task> summary_;
  std::vector<std::unique_ptr<Task>> rows_;
  // Tasks taken out of the rows (an undone insertion), kept so that a reference never dangles.
  std::vector<std::unique_ptr<Task>> removed_rows_;
  std::int32_t next_unique_id_ = 1;
  mutable bool outline_dirty_ = true;
  std::int32_t last_outline_level_ = 0;
  ProjectCalendar calendar_;
  std::vector<ProjectCalendar> working_calendars_;
  std::int64_t minutes_per_day_ = 8 * 60;
  Moment project_start_;
  bool schedule_from_finish_ = false;
  bool new_tasks_manual_ = false;
  Moment project_finish_ = 0;
  std::vector<std::unique_ptr<Table>> tables_;
  std::string current_table_ = "Entry";
  std::int32_t selected_column_ = 0;
  std::int64_t redraw_count_ = 0;
  std::array<std::string, kCustomTextCount> aliases_;
  std::array<std::string, kCustomTextCount> formulas_;
  std::vector<host::ProjectEvents*> sinks_;
  std::unique_ptr<ProjectSource> source_;
};

}  // namespace lunavant::workbench
