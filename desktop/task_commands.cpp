// SPDX-License-Identifier: MIT
#include "desktop/task_commands.h"

#include <QItemSelectionModel>
#include <QRect>
#include <QStringList>
#include <algorithm>
#include <set>

#include "desktop/host_text.h"
#include "desktop/main_window.h"
#include "desktop/project_view.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

namespace {

std::set<int> SelectedRows(ProjectView& view) {
  std::set<int> rows;
  for (const QModelIndex& index : view.sheet().selectionModel()->selectedIndexes()) {
    rows.insert(index.row());
  }
  if (rows.empty() && view.sheet().currentIndex().isValid()) {
    rows.insert(view.sheet().currentIndex().row());
  }
  return rows;
}

bool Inside(const wb::Task& task, const std::vector<wb::Task*>& candidates) {
  for (const host::Task* up = task.Parent(); up != nullptr; up = up->Parent()) {
    if (std::find(candidates.begin(), candidates.end(), up) != candidates.end()) return true;
  }
  return false;
}

// The ID a link text's entry names ("3FS+2d" names 3); 0 for none.
int LinkedId(const QString& entry) {
  int digits = 0;
  while (digits < entry.size() && entry[digits].isDigit()) ++digits;
  return entry.left(digits).toInt();
}

// Keeps the selected block and the current cell across a change that rebuilds the sheet but
// leaves its rows where they were (indent, outdent, link, unlink).
class KeptSelection {
 public:
  explicit KeptSelection(ProjectView& view)
      : view_(view),
        current_row_(view.sheet().currentIndex().row()),
        current_column_(view.sheet().currentIndex().column()),
        selection_(Blocks(view.sheet().selectionModel()->selection())),
        rows_(view.model().rowCount()) {}
  ~KeptSelection() {
    TaskSheetModel& model = view_.model();
    if (model.rowCount() != rows_) return;
    if (current_row_ >= 0) {
      view_.sheet().setCurrentIndex(model.index(current_row_, current_column_));
    }
    QItemSelection again;
    for (const QRect& block : selection_) {
      again.select(model.index(block.top(), block.left()),
                   model.index(block.bottom(), block.right()));
    }
    view_.sheet().selectionModel()->select(again, QItemSelectionModel::ClearAndSelect);
  }

 private:
  ProjectView& view_;
  int current_row_;
  int current_column_;
  // As rows and columns: a reset of the sheet invalidates the selection's own indexes.
  static std::vector<QRect> Blocks(const QItemSelection& selection) {
    std::vector<QRect> blocks;
    for (const QItemSelectionRange& range : selection) {
      blocks.push_back(
          QRect(QPoint(range.left(), range.top()), QPoint(range.right(), range.bottom())));
    }
    return blocks;
  }
  std::vector<QRect> selection_;
  int rows_;
};

void SelectRow(ProjectView& view, int row) {
  const int column = std::max(0, view.model().nameColumn());
  view.sheet().setCurrentIndex(view.model().index(row, column));
}

}  // namespace

TaskCommands::TaskCommands(MainWindow& window) : QObject(&window), window_(window) {}

std::vector<wb::Task*> TaskCommands::selectedTasks(ProjectView& view, bool outermost_only) {
  std::vector<wb::Task*> tasks;
  for (int row : SelectedRows(view)) {
    if (wb::Task* task = view.model().taskAt(row)) tasks.push_back(task);
  }
  if (!outermost_only) return tasks;
  std::vector<wb::Task*> outermost;
  for (wb::Task* task : tasks) {
    if (!Inside(*task, tasks)) outermost.push_back(task);
  }
  return outermost;
}

bool TaskCommands::insertTask(ProjectView& view) {
  TaskSheetModel& model = view.model();
  const QModelIndex current = view.sheet().currentIndex();
  const int row = current.isValid() ? current.row() : model.newTaskRow();
  const std::int32_t position = row < model.outline().RowCount()
                                    ? model.outline().PositionOfRow(row)
                                    : model.project().TaskCount() + 1;
  const bool done =
      model.editRows(tr("Insert Task"), [&] { model.project().InsertTask(position, ""); });
  if (done) SelectRow(view, model.outline().RowOfPosition(position));
  return done;
}

bool TaskCommands::deleteTasks(ProjectView& view) {
  std::vector<wb::Task*> tasks = selectedTasks(view, true);
  if (tasks.empty()) return false;
  const int first_row = view.model().outline().RowOfTask(*tasks.front());
  // From the bottom up, so that each row is where the last step left it.
  const bool done = view.model().editRows(tr("Delete Task"), [&] {
    for (auto it = tasks.rbegin(); it != tasks.rend(); ++it) {
      view.model().project().DeleteRow((*it)->ID());
    }
  });
  SelectRow(view, std::min(first_row, view.model().rowCount() - 1));
  return done;
}

bool TaskCommands::indent(ProjectView& view) {
  const std::vector<wb::Task*> tasks = selectedTasks(view, true);
  if (tasks.empty()) return false;
  const KeptSelection kept(view);
  return view.model().editRows(tr("Indent"), [&] {
    for (wb::Task* task : tasks) view.model().project().Indent(*task);
  });
}

bool TaskCommands::outdent(ProjectView& view) {
  const std::vector<wb::Task*> tasks = selectedTasks(view, true);
  if (tasks.empty()) return false;
  const KeptSelection kept(view);
  // From the bottom up: a task outdented first would take the ones below it as subtasks.
  return view.model().editRows(tr("Outdent"), [&] {
    for (auto it = tasks.rbegin(); it != tasks.rend(); ++it) {
      view.model().project().Outdent(**it);
    }
  });
}

bool TaskCommands::link(ProjectView& view) {
  const std::vector<wb::Task*> tasks = selectedTasks(view, false);
  if (tasks.size() < 2) return false;
  const KeptSelection kept(view);
  return view.model().editRows(tr("Link Tasks"), [&] {
    for (std::size_t i = 1; i < tasks.size(); ++i) {
      QStringList entries = fromHost(tasks[i]->Predecessors()).split(';', Qt::SkipEmptyParts);
      const bool linked = std::any_of(entries.begin(), entries.end(), [&](const QString& entry) {
        return LinkedId(entry) == tasks[i - 1]->ID();
      });
      if (linked) continue;
      entries << QString::number(tasks[i - 1]->ID());
      tasks[i]->SetField(wb::field::kPredecessors, toHost(entries.join(';')));
    }
  });
}

bool TaskCommands::unlink(ProjectView& view) {
  const std::vector<wb::Task*> tasks = selectedTasks(view, false);
  if (tasks.empty()) return false;
  std::set<int> ids;
  for (const wb::Task* task : tasks) ids.insert(task->ID());
  const bool alone = tasks.size() == 1;
  const KeptSelection kept(view);
  return view.model().editRows(tr("Unlink Tasks"), [&] {
    auto keep_only = [&](wb::Task& task, auto&& drop) {
      const QStringList entries = fromHost(task.Predecessors()).split(';', Qt::SkipEmptyParts);
      QStringList remaining;
      for (const QString& entry : entries) {
        if (!drop(LinkedId(entry))) remaining << entry;
      }
      if (remaining.size() != entries.size()) {
        task.SetField(wb::field::kPredecessors, toHost(remaining.join(';')));
      }
    };
    for (wb::Task* task : tasks) {
      keep_only(*task, [&](int id) { return alone || ids.count(id) != 0; });
    }
    if (!alone) return;
    // A task alone loses its successor links too, each typed out of its successor's cell.
    const int own = tasks.front()->ID();
    std::vector<wb::Task*> successors;
    for (const wb::Link& link : tasks.front()->SuccessorLinks()) successors.push_back(link.task);
    for (wb::Task* successor : successors)
      keep_only(*successor, [own](int id) { return id == own; });
  });
}

ProjectView* TaskCommands::idleView() const {
  ProjectView* view = window_.currentView();
  // While a cell is being typed into, its keys (Insert, Delete) belong to the cell.
  if (view == nullptr || view->project().App().CellEditing()) return nullptr;
  return view;
}

void TaskCommands::insertCurrent() {
  if (ProjectView* view = idleView()) insertTask(*view);
}
void TaskCommands::deleteCurrent() {
  if (ProjectView* view = idleView()) deleteTasks(*view);
}
void TaskCommands::indentCurrent() {
  if (ProjectView* view = idleView()) indent(*view);
}
void TaskCommands::outdentCurrent() {
  if (ProjectView* view = idleView()) outdent(*view);
}
void TaskCommands::linkCurrent() {
  if (ProjectView* view = idleView()) link(*view);
}
void TaskCommands::unlinkCurrent() {
  if (ProjectView* view = idleView()) unlink(*view);
}

}  // namespace lunavant::desktop
