// SPDX-License-Identifier: MIT
// The Task menu: insert, delete, indent, outdent, link and unlink the tasks selected in the
// active project's sheet. Each is one undoable step through the workbench, followed by the
// recalculation a scheduler runs after an edit; links are typed into the Predecessors field, so
// the add-in hears them as the user's edits.
#pragma once

#include <QObject>
#include <vector>

namespace lunavant::workbench {
class Task;
}

namespace lunavant::desktop {

class MainWindow;
class ProjectView;

class TaskCommands : public QObject {
  Q_OBJECT

 public:
  explicit TaskCommands(MainWindow& window);

  // Each acts on `view`'s selected rows (or its current row); false when nothing changed.
  bool insertTask(ProjectView& view);
  bool deleteTasks(ProjectView& view);
  bool indent(ProjectView& view);
  bool outdent(ProjectView& view);
  // Links each selected task to the next one selected, finish to start.
  bool link(ProjectView& view);
  // Removes the links among the selected tasks; with one task selected, all of its links.
  bool unlink(ProjectView& view);

  // The selected tasks in row order, without those inside another selected task.
  static std::vector<lunavant::workbench::Task*> selectedTasks(ProjectView& view,
                                                               bool outermost_only);

 public slots:
  void insertCurrent();
  void deleteCurrent();
  void indentCurrent();
  void outdentCurrent();
  void linkCurrent();
  void unlinkCurrent();

 private:
  // The active project's view, unless none is open or a cell is being edited.
  ProjectView* idleView() const;

  MainWindow& window_;
};

}  // namespace lunavant::desktop
