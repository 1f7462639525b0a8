// SPDX-License-Identifier: MIT
// The critical-path scheduler behind Application::CalculateProject.
//
// Works in working minutes of the project's calendar (each weekday with its own working times,
// exceptions with theirs). A task may work on a calendar of its own (its resources', see
// Project::CalendarOf): it then starts when that calendar next works and counts its duration there,
// while the passes count on a calendar that works whenever any task does; lags count the project's
// working time. A split task's span holds its pauses besides its duration, and a levelling delay
// puts a task off from the start its links and constraints allow.
//
// A forward pass gives each task its early start and finish from the
// project start, its constraint (Start/Finish No Earlier Than, Must Start/Finish On), its links
// (finish-to-start, start-to-start, finish-to-finish, start-to-finish, each with a lag or lead in
// working time, on the clock, or as a share of the predecessor's duration) and the links of the
// summary tasks above it; a backward pass from the project finish gives late dates, with
// Start/Finish No Later Than. An elapsed duration runs on the clock from the moment work starts.
// Summary tasks span their subtasks. Start and Finish of each task become its early dates,
// except that a task with an actual start keeps it (and its actual finish), and an As Late As
// Possible task moves on by its free slack. A start falls where work resumes, a finish where the
// last minute of work ends; a milestone that a predecessor's finish drives stays at that finish,
// and a finish that a start-to-finish link without lag drives falls where the predecessor's work
// starts, as the desktop scheduler shows them. A project scheduled from its finish runs the
// passes the other way round and places every task at its late dates.
//
// A manually scheduled task, and one that keeps the dates of its file (Task::KeepsItsDates),
// stays where it stands, on working time or not, and drives its successors and summaries from
// there; only its slack and late dates are worked out. An inactive task drives nothing and counts
// in no summary. A milestone on non-working time, and the summary of a project without tasks,
// stay where they stand while the schedule puts them at the same point of working time.
//
// The passes run over a graph of tasks, links and outline (a summary task is two nodes: one that
// hands its links' bounds down to its subtasks, one that gathers their span), in the order of
// Kahn's algorithm, so the cost is linear in tasks plus links.
#pragma once

namespace lunavant::workbench {

class Project;

// Fails with kHostFailure, changing nothing, when links (or links between a summary task and its
// own subtasks) form a cycle, or when the schedule would leave the host's date range. Marks the
// project changed when a date moved. Raises no event: the application does.
void Schedule(Project& project);

class Scheduler {
 public:
  static void Run(Project& project);

 private:
  class Steps;
};

}  // namespace lunavant::workbench
