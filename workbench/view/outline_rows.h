// SPDX-License-Identifier: MIT
// Which rows of a project a task sheet shows when the user has collapsed some summary tasks: every
// row but those inside a collapsed summary (blank rows inside it too). The sheet and the Gantt
// chart beside it share one OutlineRows, so their rows stay level.
//
//   OutlineRows rows(project);
//   rows.SetCollapsed(*summary, true);     // its subtasks leave the view
//   Task* shown = rows.TaskOfRow(0);       // null for a blank row
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "workbench/model/task_sort.h"

namespace lunavant::workbench {

class Project;
class Task;

class OutlineRows {
 public:
  // Keeps a reference to `project`; call Rebuild() after rows were added or removed.
  explicit OutlineRows(Project& project);

  void Rebuild();

  // The rows shown, counted from 0.
  std::int32_t RowCount() const { return static_cast<std::int32_t>(shown_.size()); }
  // The project position (from 1) of shown row `row`; 0 outside 0..RowCount() - 1.
  std::int32_t PositionOfRow(std::int32_t row) const;
  // Null for a blank row or a row outside the range.
  Task* TaskOfRow(std::int32_t row) const;
  // The shown row of the task at project `position`, -1 when it is hidden or absent.
  std::int32_t RowOfPosition(std::int32_t position) const;
  std::int32_t RowOfTask(const Task& task) const;

  // A flat view in the order of `keys` (see FlatOrder in task_sort.h), as a scheduler shows a sort
  // without the outline: every task, at any level, collapsed or not, and no blank rows. The
  // project is not changed. No keys return to the outline. Rebuilds the rows, and every Rebuild
  // sorts again, so the view stays sorted through edits.
  void SetFlatSort(std::vector<SortKey> keys);
  bool IsFlat() const { return !flat_keys_.empty(); }
  const std::vector<SortKey>& FlatSortKeys() const { return flat_keys_; }

  // A task that is no summary cannot be collapsed; the call is then ignored. Rebuilds the rows.
  void SetCollapsed(const Task& task, bool collapsed);
  bool IsCollapsed(const Task& task) const;

 private:
  Project& project_;
  std::vector<SortKey> flat_keys_;
  std::unordered_set<std::int32_t> collapsed_;  // unique IDs of collapsed summary tasks
  std::vector<std::int32_t> shown_;             // project positions, from 1
  std::vector<std::int32_t> row_of_position_;   // by position - 1; -1 when hidden
};

}  // namespace lunavant::workbench
