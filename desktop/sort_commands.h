// SPDX-License-Identifier: MIT
// Sorting the task sheet by any of its columns, as a scheduler sorts: from the column header's
// context menu (Sort Ascending, Sort Descending, Sort By..., Sort by ID) and View > Sort. With
// the outline kept (the default) the project's rows move, each summary task's subtasks sorted
// among themselves, and the tasks are renumbered: one undoable step named "Sort". Without it the
// view alone lists every task in order, as long as it stays sorted; the project and its file are
// not changed, and Sort by ID returns to the outline.
#pragma once

#include <QObject>
#include <vector>

#include "workbench/model/task_sort.h"

class QMenu;

namespace lunavant::desktop {

class MainWindow;
class ProjectView;

class SortCommands : public QObject {
  Q_OBJECT

 public:
  explicit SortCommands(MainWindow& window);

  // Sorts `view` by `keys` (see above); false when nothing moved or the sort was refused (the
  // user is told why).
  bool sort(ProjectView& view, const std::vector<lunavant::workbench::SortKey>& keys,
            bool keep_outline);
  // Back to the outline in the order of IDs; false when the view was in it.
  bool sortById(ProjectView& view);
  // Asks for the keys, starting on `column`; false when cancelled or nothing moved.
  bool sortBy(ProjectView& view, int column);

  // Gives `view`'s column headers their context menu.
  void attach(ProjectView& view);
  // The context menu of `view`'s header over `column`; the caller owns it.
  QMenu* headerMenu(ProjectView& view, int column);
  // Adds View > Sort to `menu`.
  void addMenu(QMenu& menu);

  // Whether a sort from a header keeps the outline; remembered for the next session.
  bool keepsOutline() const;
  void setKeepsOutline(bool keep);

 private:
  void sortCurrentBy(lunavant::host::FieldId field);

  MainWindow& window_;
};

}  // namespace lunavant::desktop
