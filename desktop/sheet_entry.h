// SPDX-License-Identifier: MIT
// Keyboard entry in the task sheet as in a spreadsheet: Tab leaves a cell for the next one with
// editing going on, and Enter leaves it for the row below, in the column where the row's entry
// began, so that a planner types a plan (name, Tab, duration, Enter, name, ...) without the
// mouse. In a sorted flat view a typed row that the sort moves elsewhere keeps the current cell:
// the row below it there is another task, not the next one the planner meant to type.
#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <optional>

class QAbstractItemDelegate;
class QTableView;

namespace lunavant::desktop {

class SheetEntry : public QObject {
  Q_OBJECT

 public:
  // Follows the sheet's item delegate as it is now; the sheet owns this object.
  explicit SheetEntry(QTableView& sheet);

 private:
  void onCommit();
  void onClose(int hint);

  QTableView& sheet_;
  QPersistentModelIndex committed_;  // the cell whose edit was last committed
  int row_before_move_ = -1;         // the current row as the rows began to move
  QPersistentModelIndex moved_to_;   // the current cell, when the last move took it elsewhere
  std::optional<int> entry_column_;  // where the row's run of Tabs began
};

}  // namespace lunavant::desktop
