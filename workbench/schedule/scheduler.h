// SPDX-License-Identifier: MIT
// The critical-path scheduler behind Application::CalculateProject.
//
// Works in whole working days of the project's standard calendar. A forward pass gives each task
// its early start and finish from the project start, its constraint (Start/Finish No Earlier
// Than, Must Start/Finish On), its links (finish-to-start, start-to-start, finish-to-finish,
// start-to-finish, each with a lag or lead in working days) and the links of the summary tasks
// above it; a backward pass from the project finish gives late dates, with Start/Finish No Later
// Than. Summary tasks span their subtasks. Start and Finish of each task become its early dates,
// except that a task with an actual start keeps it (and its actual finish), and an As Late As
// Possible task moves on by its free slack. Holidays and worked days of the calendar (its
// exceptions) count as the calendar says. A finish that a start-to-finish link without lag drives
// falls on the next working day's start, as the desktop scheduler shows it. A project scheduled
// from its finish runs the passes the other way round and places every task at its late dates.
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
};

}  // namespace lunavant::workbench
