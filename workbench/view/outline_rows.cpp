// SPDX-License-Identifier: MIT
#include "workbench/view/outline_rows.h"

#include <utility>

#include "workbench/model/application.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant::workbench {

OutlineRows::OutlineRows(Project& project) : project_(project) { Rebuild(); }

void OutlineRows::Rebuild() {
  const auto& rows = project_.Rows();
  shown_.clear();
  shown_.reserve(rows.size());
  row_of_position_.assign(rows.size(), -1);
  if (IsFlat()) {
    shown_ = FlatOrder(project_, flat_keys_, project_.App().DateSeparator());
    for (std::size_t row = 0; row < shown_.size(); ++row) {
      row_of_position_[static_cast<std::size_t>(shown_[row] - 1)] = static_cast<std::int32_t>(row);
    }
    return;
  }
  // While inside a collapsed summary, the rows hide until one at or above its level comes.
  std::int32_t hiding_below_level = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const Task* task = rows[i].get();
    if (hiding_below_level > 0) {
      if (task == nullptr || task->OutlineLevel() > hiding_below_level) continue;
      hiding_below_level = 0;
    }
    row_of_position_[i] = static_cast<std::int32_t>(shown_.size());
    shown_.push_back(static_cast<std::int32_t>(i + 1));
    if (task != nullptr && collapsed_.contains(task->UniqueID())) {
      hiding_below_level = task->OutlineLevel();
    }
  }
}

std::int32_t OutlineRows::PositionOfRow(std::int32_t row) const {
  if (row < 0 || row >= RowCount()) return 0;
  return shown_[static_cast<std::size_t>(row)];
}

Task* OutlineRows::TaskOfRow(std::int32_t row) const {
  const std::int32_t position = PositionOfRow(row);
  if (position == 0) return nullptr;
  return project_.Rows()[static_cast<std::size_t>(position - 1)].get();
}

std::int32_t OutlineRows::RowOfPosition(std::int32_t position) const {
  if (position < 1 || position > static_cast<std::int32_t>(row_of_position_.size())) return -1;
  return row_of_position_[static_cast<std::size_t>(position - 1)];
}

std::int32_t OutlineRows::RowOfTask(const Task& task) const {
  // A task's ID is its row position: blank rows count.
  return RowOfPosition(task.ID());
}

void OutlineRows::SetFlatSort(std::vector<SortKey> keys) {
  flat_keys_ = std::move(keys);
  Rebuild();
}

void OutlineRows::SetCollapsed(const Task& task, bool collapsed) {
  if (!task.IsSummary()) return;
  if (collapsed) {
    collapsed_.insert(task.UniqueID());
  } else {
    collapsed_.erase(task.UniqueID());
  }
  Rebuild();
}

bool OutlineRows::IsCollapsed(const Task& task) const {
  return collapsed_.contains(task.UniqueID());
}

}  // namespace lunavant::workbench
