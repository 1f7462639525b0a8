// SPDX-License-Identifier: MIT
// A task element of an MSPDI document and the modelled values of a task: each element is read
// once into what it says (TaskElement), which the loader applies to the model and a save compares
// with what the model holds now (TaskState), writing only what differs.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <set>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "addin/host/object_model.h"
#include "workbench/model/task.h"
#include "workbench/schedule/calendar.h"

namespace lunavant::workbench::detail {

// Why a task keeps the dates of its file (Task::DatesHeldBy): what feeds its schedule there that
// the workbench does not model.
inline constexpr const char* kHeldByInactive = "inactive task";
inline constexpr const char* kHeldByExternal = "task of another project";
inline constexpr const char* kHeldBySubproject = "inserted project";
inline constexpr const char* kHeldByDelay = "assignment delay";

// How a value that cannot be read counts: a failure at its element (when a file is opened), or
// no value (when a save compares an element it read before, or wrote itself).
enum class Reading { kStrict, kLenient };

// A PredecessorLink element as the file has it.
struct LinkElement {
  pugi::xml_node predecessor_uid_node;
  std::optional<std::int64_t> predecessor_uid;
  std::optional<std::int64_t> type_code;  // none when missing or unreadable: finish-to-start
  std::optional<std::int64_t> link_lag;   // none when missing or unreadable: no lag
  LagFormat lag_format = LagFormat::kWorking;

  LinkType Type() const;
  std::int64_t Lag() const;  // as the model counts it
};
LinkElement ReadLinkElement(pugi::xml_node link, Reading reading);

// What a task element says of the task, read in one pass.
struct TaskElement {
  TaskFileValues values;   // the stored values hold the custom values and the plain baseline's
  bool has_start = false;  // a Start (Finish) was read; values.start (finish) is it
  bool has_finish = false;
  std::string name;
  std::int32_t outline_level = 1;
  bool milestone = false;
  // The last plain baseline (number 0) as it stands, for the comparison a save makes.
  struct Baseline {
    std::optional<Moment> start, finish;
    std::array<std::optional<StoredValue>, 3> amounts;  // by kBaselineAmounts
  };
  std::optional<Baseline> baseline;
  // The links to tasks of this project; none on the project summary row, whose links are none
  // of the model's.
  std::vector<LinkElement> links;
};
TaskElement ReadTaskElement(pugi::xml_node node, bool summary_row, Reading reading,
                            std::int64_t minutes_per_day, Moment project_start);

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
  bool manual = false;
  std::int64_t duration = 0;  // minutes, as the file counts them
  bool milestone = false;
  Moment start = 0, finish = 0, created = 0;
  std::optional<Moment> early_start, early_finish, late_start, late_finish;
  std::optional<Moment> actual_start, actual_finish;
  ConstraintType constraint = ConstraintType::kAsSoonAsPossible;
  std::optional<Moment> constraint_date;
  std::int64_t calendar_uid = -1;  // the task's own calendar; -1 for none
  std::optional<Moment> baseline_start, baseline_finish;
  std::array<std::string, 3> baseline_amounts;  // by kBaselineAmounts, as a save writes them
  std::vector<LinkState> links;
  // Custom field values (text, date, number, flag, cost, duration) as a save writes them, by
  // field identifier; a field without a value has none.
  std::vector<std::pair<host::FieldId, std::string>> custom;
  friend bool operator==(const TaskState&, const TaskState&) = default;
};

// The state of a task of the model. The project summary row has no name, manual flag,
// milestone flag or custom values of the model's.
TaskState CaptureTask(const Task& task, bool summary_row);
// What the document says of a task, read as the loader reads it, so that a task nobody changed
// compares equal. Its links are all the element's own; KeepLinksAmong leaves those the model has.
TaskState DocumentState(pugi::xml_node node, bool summary_row, std::int64_t minutes_per_day,
                        Moment project_start);
// Links count only to the tasks in `live_uids` other than the task itself: the loader passes over
// the others, and they stay in the file as they are.
void KeepLinksAmong(TaskState& state, std::int64_t own_uid,
                    const std::unordered_set<std::int64_t>& live_uids);

// How a save numbers the custom values it adds, and which fields it gave a value.
struct CustomValueWrites {
  bool with_uid;  // the 2003 form: each value carries a UID of its own
  std::int64_t& next_value_uid;
  std::set<host::FieldId>& fields_given_value;
};
// Writes into a task element what differs between `before` (nothing for a new element) and
// `now`; everything else in the element stays as it is.
void WriteTask(pugi::xml_node node, const std::optional<TaskState>& before, const TaskState& now,
               bool summary_row, CustomValueWrites& custom_writes);

}  // namespace lunavant::workbench::detail
