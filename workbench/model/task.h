// SPDX-License-Identifier: MIT
// A task of a workbench project: the fields the scheduler works with, every other task field
// stored by its kind, and the links to other tasks of the same project.
//
// Field writes (SetField) read the text first and fail, changing nothing, on text they cannot
// read; only then do they raise ProjectBeforeTaskChange, and they apply nothing when a handler
// sets Cancel. The real host validates before it raises the event, and so does the workbench:
// a handler never hears of a write that could not happen.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include "addin/host/object_model.h"
#include "workbench/schedule/calendar.h"

namespace lunavant::workbench {

class Project;
struct FieldInfo;

enum class LinkType { kFinishToStart, kStartToStart, kFinishToFinish, kStartToFinish };

// In the host's numbering (0 As Soon As Possible .. 7 Finish No Later Than).
enum class ConstraintType {
  kAsSoonAsPossible,
  kAsLateAsPossible,
  kMustStartOn,
  kMustFinishOn,
  kStartNoEarlierThan,
  kStartNoLaterThan,
  kFinishNoEarlierThan,
  kFinishNoLaterThan
};

// How a link's lag counts: working minutes of the calendar, minutes of the clock, or a percentage
// of the predecessor's duration.
enum class LagFormat : std::uint8_t { kWorking, kElapsed, kPercent };

struct Link {
  class Task* task;  // the task at the other end
  LinkType type;
  std::int64_t lag;  // minutes, or percent for kPercent; negative is a lead
  LagFormat lag_format = LagFormat::kWorking;
};

// A task field's value as the model stores it: text, a number (a flag is 1 or 0, a cost counts
// units of currency, a duration days), or a date.
using StoredValue = std::variant<std::string, double, Moment>;

// What a project file says of a task, as Project::LoadTaskValues takes it.
struct TaskFileValues {
  Moment start = 0, finish = 0;
  std::optional<Moment> created;  // none keeps the moment the task was made
  std::int64_t duration = 0;      // minutes
  bool elapsed = false;
  bool manual = false;
  bool active = true;
  std::optional<Moment> early_start, early_finish, late_start, late_finish;
  std::optional<Moment> actual_start, actual_finish;
  ConstraintType constraint = ConstraintType::kAsSoonAsPossible;
  std::optional<Moment> constraint_date;
  // Values the task stores by field, in the file's order: a later value of a field replaces an
  // earlier one.
  std::vector<std::pair<host::FieldId, StoredValue>> stored;
  std::string dates_held_by;       // see Task::DatesHeldBy
  std::int64_t calendar_uid = -1;  // see Task::OwnCalendarUid
};

class Task final : public host::Task {
 public:
  // Made by Project::AddTask; `id` 0 makes the project summary row.
  Task(Project& owner, std::int32_t id, std::int32_t unique_id, std::string name,
       std::int64_t duration_minutes, std::int32_t outline_level);

  // The host contract. Parent() is null for top-level tasks: the project summary row (ID 0) is
  // reached through Project::SummaryTask(), never through TaskAt, and its Subtasks() are the
  // top-level tasks.
  std::int32_t ID() const override { return id_; }
  std::int32_t OutlineLevel() const override { return outline_level_; }
  std::vector<host::Task*> Subtasks() const override;
  std::vector<host::Task*> PredecessorTasks() const override;
  std::vector<host::Task*> SuccessorTasks() const override;
  host::Task* Parent() const override;
  std::string Predecessors() const override;
  std::string Successors() const override;
  // Dates in the application's date format, "NA" for none; durations "5 days"; flags "Yes"/"No";
  // numbers without trailing zeros; costs with two decimals.
  std::string GetField(host::FieldId field) const override;
  // Raises ProjectBeforeTaskChange (see the top of this file). Start moves the task keeping its
  // duration and sets a Start No Earlier Than constraint; Finish changes the duration; "NA" or
  // the empty text clears a date that may be empty; Predecessors and Successors take link texts
  // ("3FS+2d;5SS") and replace the task's links on that side. A task of a closed project refuses
  // every write.
  void SetField(host::FieldId field, const std::string& text) override;

  Project& Owner() const { return *owner_; }
  std::int32_t UniqueID() const { return unique_id_; }
  const std::string& Name() const { return name_; }
  // The duration in the project's days, rounded; the scheduler counts DurationMinutes, working
  // minutes of the calendar or, for an elapsed duration, minutes of the clock.
  std::int32_t DurationDays() const;
  std::int64_t DurationMinutes() const { return duration_; }
  bool ElapsedDuration() const { return elapsed_; }
  // The calendar the task works on: -1 for the project's, else an index into
  // Project::WorkingCalendars(). Fails with kHostFailure for an index the project has not.
  std::int32_t WorkingCalendar() const { return calendar_; }
  void SetWorkingCalendar(std::int32_t index);
  // Working minutes, on the task's calendar, in which a split task stands still between its
  // start and its finish; they lengthen its span, not its duration. Negative counts as none.
  std::int64_t SplitMinutes() const { return split_; }
  void SetSplitMinutes(std::int64_t minutes);
  // How long levelling put the task off from where its links and constraints let it start:
  // minutes of the clock when `elapsed`, else working minutes of the project's calendar.
  std::int64_t LevelingDelayMinutes() const { return leveling_delay_; }
  bool LevelingDelayElapsed() const { return leveling_delay_elapsed_; }
  void SetLevelingDelay(std::int64_t minutes, bool elapsed);
  // A manually scheduled task: its start, finish and duration are the user's, which no link,
  // constraint or project start moves; it still drives its successors. A typed Start moves it
  // keeping its duration, a typed Finish or Duration changes its span, and nothing else.
  bool IsManual() const { return manual_; }
  void SetManual(bool manual);
  // Why a recalculation keeps the dates the task's file gave it: something that feeds its
  // schedule that the workbench does not model (empty for none). Typing a date, the duration,
  // the constraint or the links that lead to the task ends it: the user then asks for the
  // schedule the workbench computes.
  const std::string& DatesHeldBy() const { return dates_held_by_; }
  void HoldDates(std::string reason);
  // Whether a recalculation leaves the task's start and finish as they are.
  bool KeepsItsDates() const { return manual_ || !dates_held_by_.empty(); }
  // An inactive task stays in the plan but drives no successor and counts in no summary.
  bool IsActive() const { return active_; }
  bool IsSummary() const;
  bool IsMilestone() const { return duration_ == 0 && !IsSummary(); }
  // When the task was made.
  Moment Created() const { return created_; }
  // The values the task stores by field rather than models: custom fields, baseline amounts and
  // dates, and the like.
  const std::unordered_map<host::FieldId, StoredValue>& StoredValues() const { return stored_; }
  Moment Start() const { return start_; }
  Moment Finish() const { return finish_; }
  std::optional<Moment> EarlyStart() const { return early_start_; }
  std::optional<Moment> EarlyFinish() const { return early_finish_; }
  std::optional<Moment> LateStart() const { return late_start_; }
  std::optional<Moment> LateFinish() const { return late_finish_; }
  std::optional<Moment> ActualStart() const { return actual_start_; }
  std::optional<Moment> ActualFinish() const { return actual_finish_; }
  ConstraintType Constraint() const { return constraint_; }
  std::optional<Moment> ConstraintDate() const { return constraint_date_; }
  // The UID of the calendar the task works on instead of the project's, as its file names it; -1
  // for none. Setting it marks the project changed; the working time follows when the project's
  // calendars are read again (project_calendars.h).
  std::int64_t OwnCalendarUid() const { return own_calendar_uid_; }
  void SetOwnCalendarUid(std::int64_t uid);
  // Slack in the project's days, rounded; the scheduler counts working minutes.
  std::int32_t TotalSlackDays() const { return DaysOf(total_slack_); }
  std::int32_t FreeSlackDays() const { return DaysOf(free_slack_); }
  bool Critical() const { return critical_; }
  // The moment a date field holds, as GetField shows it; empty for "NA". Fails with kTypeMismatch
  // for a field that is not a date.
  std::optional<Moment> DateValue(host::FieldId field) const;
  const std::vector<Link>& PredecessorLinks() const { return predecessors_; }
  const std::vector<Link>& SuccessorLinks() const { return successors_; }

 private:
  friend class Project;
  friend class Scheduler;
  friend class EditHistory;
  using Stored = StoredValue;
  using Apply = std::function<void()>;

  Apply PrepareWrite(const FieldInfo& info, const std::string& text);
  // Whether PrepareWrite would only store the text as it stands (a custom text field and the
  // like); such a write needs no prepared step.
  static bool StoresTextAsIs(const FieldInfo& info);
  void StoreText(host::FieldId field, const std::string& text);
  Apply PrepareDateWrite(const FieldInfo& info, const std::string& text);
  Apply PrepareLinksWrite(const FieldInfo& info, const std::string& text, bool predecessors);
  std::optional<Moment> ReadDateValue(const FieldInfo& info, const std::string& text) const;
  std::string ShowDate(std::optional<Moment> when) const;
  std::string LinkText(const std::vector<Link>& links) const;
  void MoveStartTo(Moment start);
  void MoveManualStartTo(Moment start);
  void SetDurationKeepingStart(std::int32_t days);
  std::int64_t MinutesPerDay() const;
  std::int32_t DaysOf(std::int64_t working_minutes) const;

  Project* owner_;
  std::int32_t id_;
  std::int32_t unique_id_;
  std::string name_;
  std::int64_t duration_;
  bool elapsed_ = false;
  bool manual_ = false;
  bool active_ = true;
  std::string dates_held_by_;
  std::int32_t calendar_ = -1;
  std::int64_t split_ = 0;
  std::int64_t leveling_delay_ = 0;
  bool leveling_delay_elapsed_ = false;
  std::int32_t outline_level_;
  Moment start_ = 0;
  Moment finish_ = 0;
  Moment created_ = 0;
  std::optional<Moment> early_start_, early_finish_, late_start_, late_finish_;
  std::optional<Moment> actual_start_, actual_finish_;
  ConstraintType constraint_ = ConstraintType::kAsSoonAsPossible;
  std::optional<Moment> constraint_date_;
  std::int64_t own_calendar_uid_ = -1;
  std::int64_t total_slack_ = 0;  // working minutes
  std::int64_t free_slack_ = 0;
  bool critical_ = false;
  std::vector<Link> predecessors_;
  std::vector<Link> successors_;
  std::unordered_map<host::FieldId, Stored> stored_;
  // Outline relations, rebuilt by the project when rows change.
  Task* parent_ = nullptr;
  std::vector<Task*> children_;
  // The task's position in the scheduler's arrays during a recalculation.
  std::int32_t schedule_index_ = -1;
};

// "As Soon As Possible" and so on, as the host shows the constraint types.
std::string_view ConstraintTypeName(ConstraintType type);

}  // namespace lunavant::workbench
