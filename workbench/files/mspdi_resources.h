// SPDX-License-Identifier: MIT
// What a project file's resources and assignments tell the scheduler: on which working time each
// task works, and how long a split task stands still between its start and its finish.
//
// A task with work resources works when any of them does (each on its resource calendar, which
// may build on a base calendar); with a calendar of its own as well, when both do, or on its own
// calendar alone when it ignores its resources' calendars. A split shows in the timephased work
// of the task's assignments: periods that hold no work between periods that do (and the time
// between an assignment's Stop and its Resume), where every assignment of the task stands still.
//
// Levelling delays (LevelingDelay, in tenths of a minute, with LevelingDelayFormat) put tasks off.
//
// The file's own dates are never read here: only what places a task, not where it was placed.
// Nothing here fails: what cannot be read counts as absent and stays in the file as it is.
//
//   std::vector<TaskPlacement> tasks;
//   for (pugi::xml_node task : ...) tasks.push_back(ReadTaskPlacement(task));
//   ApplyResourceSchedule(project, ReadResourceSchedule(root, tasks, project.Calendar()));
#pragma once

#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <vector>

#include "workbench/schedule/calendar.h"

namespace lunavant::workbench {

class Project;

struct ResourceSchedule {
  struct TaskTime {
    std::int64_t uid;
    std::int32_t calendar;            // index into `calendars`, -1 for the project's
    std::int64_t split_minutes;       // working minutes of that calendar
    std::int64_t leveling_delay = 0;  // minutes
    bool leveling_delay_elapsed = false;
  };
  std::vector<ProjectCalendar> calendars;  // each differs from the project's and the others
  std::vector<TaskTime> tasks;             // only tasks that differ from the plain case
};

// The calendar with `calendar_uid` among the document's, with what it takes from its base
// calendar: the one the project schedules with. The default calendar when there is no such
// calendar or it has no working weekday.
ProjectCalendar ReadProjectCalendar(pugi::xml_node project, std::int64_t calendar_uid);

// What a Task element says of where its task works: its own calendar, its levelling delay and
// whether it ignores its resources' calendars.
struct TaskPlacement {
  std::int64_t uid = -1;  // -1 when the element has none that can be read
  std::optional<std::int64_t> calendar_uid;
  std::int64_t leveling_delay = 0;  // minutes
  bool leveling_delay_elapsed = false;
  bool ignores_resources = false;
};
TaskPlacement ReadTaskPlacement(pugi::xml_node task);

// `project` is the document's Project element (its Tasks are read from `tasks`, one for each of
// its Task elements); `project_calendar` the calendar read from it.
ResourceSchedule ReadResourceSchedule(pugi::xml_node project,
                                      const std::vector<TaskPlacement>& tasks,
                                      const ProjectCalendar& project_calendar);
// Hands the calendars and splits to the project's tasks by UID; UIDs the project has no task for
// are passed over.
void ApplyResourceSchedule(Project& project, const ResourceSchedule& schedule);

namespace detail {

// The days of an Exception element from its first day to its last: every day for type 1, else
// the days its recurrence picks (7 daily, 6 weekly, 4 and 5 monthly, 2 and 3 yearly), at most its
// number of occurrences.
std::vector<std::int64_t> ExceptionDays(pugi::xml_node exception, std::int64_t from,
                                        std::int64_t to);

}  // namespace detail

}  // namespace lunavant::workbench
