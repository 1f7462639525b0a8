// SPDX-License-Identifier: MIT
#include "desktop/edit_commands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableView>
#include <algorithm>

#include "desktop/host_text.h"
#include "desktop/main_window.h"
#include "desktop/project_view.h"
#include "desktop/task_sheet_model.h"

namespace lunavant::desktop {

namespace {

// The selected block: the rectangle from the first to the last selected row and column; the
// current cell when nothing is selected. Invalid when the sheet has no current cell.
struct Block {
  int top = -1;
  int left = -1;
  int bottom = -1;
  int right = -1;
  bool valid() const { return top >= 0 && left >= 0; }
};

Block SelectedBlock(const QTableView& sheet) {
  Block block;
  const QModelIndexList selected = sheet.selectionModel()->selectedIndexes();
  if (selected.isEmpty()) {
    const QModelIndex current = sheet.currentIndex();
    if (!current.isValid()) return block;
    return Block{current.row(), current.column(), current.row(), current.column()};
  }
  block = Block{selected.front().row(), selected.front().column(), selected.front().row(),
                selected.front().column()};
  for (const QModelIndex& index : selected) {
    block.top = std::min(block.top, index.row());
    block.bottom = std::max(block.bottom, index.row());
    block.left = std::min(block.left, index.column());
    block.right = std::max(block.right, index.column());
  }
  return block;
}

QString Unquoted(const QString& cell) {
  if (cell.size() >= 2 && cell.startsWith(QLatin1Char('"')) && cell.endsWith(QLatin1Char('"'))) {
    QString inner = cell.mid(1, cell.size() - 2);
    inner.replace(QStringLiteral("\"\""), QStringLiteral("\""));
    return inner;
  }
  return cell;
}

// Takes one step back or forward in the sheet's history (`step` is the model's undo or redo),
// keeping the cursor on the cell it was on; whether there was a step to take.
bool StepHistory(ProjectView& view, bool (TaskSheetModel::*step)()) {
  const QModelIndex current = view.sheet().currentIndex();
  const bool stepped = (view.model().*step)();
  if (stepped) view.chart().refresh();
  if (current.isValid())
    view.sheet().setCurrentIndex(view.model().index(current.row(), current.column()));
  return stepped;
}

}  // namespace

std::vector<QStringList> ParseTabSeparated(const QString& text) {
  std::vector<QStringList> rows;
  QStringList row;
  QString cell;
  bool quoted = false;
  auto end_cell = [&] {
    row << Unquoted(cell);
    cell.clear();
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == QLatin1Char('"') && (cell.isEmpty() || quoted)) {
      // A quote opens a quoted cell at its start; inside one, a doubled quote is a quote.
      if (!quoted) {
        quoted = true;
      } else if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
        cell += c;
        ++i;
      } else {
        quoted = false;
      }
      cell += c;
      continue;
    }
    if (!quoted && c == QLatin1Char('\t')) {
      end_cell();
    } else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r'))) {
      if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
      end_cell();
      rows.push_back(row);
      row.clear();
    } else {
      cell += c;
    }
  }
  if (!cell.isEmpty() || !row.isEmpty()) {
    end_cell();
    rows.push_back(row);
  }
  return rows;
}

QString ToTabSeparated(const std::vector<QStringList>& rows) {
  QString text;
  for (const QStringList& row : rows) {
    QStringList cells;
    for (QString cell : row) {
      if (cell.contains(QLatin1Char('\t')) || cell.contains(QLatin1Char('\n')) ||
          cell.contains(QLatin1Char('"'))) {
        cell.replace(QStringLiteral("\""), QStringLiteral("\"\""));
        cell = QLatin1Char('"') + cell + QLatin1Char('"');
      }
      cells << cell;
    }
    text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
  }
  return text;
}

EditCommands::EditCommands(MainWindow& window) : QObject(&window), window_(window) {}

bool EditCommands::copy(ProjectView& view) const {
  const Block block = SelectedBlock(view.sheet());
  if (!block.valid()) return false;
  std::vector<QStringList> rows;
  for (int row = block.top; row <= block.bottom; ++row) {
    QStringList cells;
    for (int column = block.left; column <= block.right; ++column) {
      // The host's own text, which pastes back as it was, whatever language the cells show.
      cells << view.model().index(row, column).data(Qt::EditRole).toString();
    }
    rows.push_back(cells);
  }
  QApplication::clipboard()->setText(ToTabSeparated(rows));
  return true;
}

bool EditCommands::cut(ProjectView& view) {
  if (!copy(view)) return false;
  const Block block = SelectedBlock(view.sheet());
  std::vector<TaskSheetModel::CellEdit> edits;
  for (int row = block.top; row <= block.bottom; ++row) {
    for (int column = block.left; column <= block.right; ++column) {
      edits.push_back({row, column, QString()});
    }
  }
  const QModelIndex current = view.sheet().currentIndex();
  view.model().applyEdits(tr("Cut"), edits);
  view.sheet().setCurrentIndex(current);
  updateActions();
  return true;
}

bool EditCommands::paste(ProjectView& view, const QString& text) {
  const Block block = SelectedBlock(view.sheet());
  const std::vector<QStringList> rows = ParseTabSeparated(text);
  if (!block.valid() || rows.empty()) return false;
  std::vector<TaskSheetModel::CellEdit> edits;
  if (rows.size() == 1 && rows.front().size() == 1) {
    // One cell fills the whole selection, as in a spreadsheet.
    for (int row = block.top; row <= block.bottom; ++row) {
      for (int column = block.left; column <= block.right; ++column) {
        edits.push_back({row, column, rows.front().front()});
      }
    }
  } else {
    for (std::size_t r = 0; r < rows.size(); ++r) {
      for (qsizetype c = 0; c < rows[r].size(); ++c) {
        edits.push_back(
            {block.top + static_cast<int>(r), block.left + static_cast<int>(c), rows[r][c]});
      }
    }
  }
  const QModelIndex current = view.sheet().currentIndex();
  view.model().applyEdits(tr("Paste"), edits);
  view.sheet().setCurrentIndex(current);
  updateActions();
  return true;
}

bool EditCommands::undo(ProjectView& view) {
  const bool undone = StepHistory(view, &TaskSheetModel::undo);
  updateActions();
  return undone;
}

bool EditCommands::redo(ProjectView& view) {
  const bool redone = StepHistory(view, &TaskSheetModel::redo);
  updateActions();
  return redone;
}

bool EditCommands::findNext(ProjectView& view, const QString& text) {
  TaskSheetModel& model = view.model();
  const int rows = model.outline().RowCount();
  const int columns = model.columnCount();
  if (text.isEmpty() || rows == 0 || columns == 0) return false;
  const QModelIndex current = view.sheet().currentIndex();
  const int start = current.isValid() ? current.row() * columns + current.column() : -1;
  for (int step = 1; step <= rows * columns; ++step) {
    const int at = (start + step) % (rows * columns);
    const QModelIndex cell = model.index(at / columns, at % columns);
    // What the cell shows, or the host's text behind it ("Sun" finds an Arabic weekday too).
    if (cell.data(Qt::DisplayRole).toString().contains(text, Qt::CaseInsensitive) ||
        cell.data(Qt::EditRole).toString().contains(text, Qt::CaseInsensitive)) {
      view.sheet().setCurrentIndex(cell);
      view.sheet().scrollTo(cell);
      return true;
    }
  }
  return false;
}

void EditCommands::findCurrent() {
  ProjectView* view = window_.currentView();
  if (view == nullptr) return;
  bool ok = false;
  const QString text = QInputDialog::getText(&window_, tr("Find"), tr("Find what:"),
                                             QLineEdit::Normal, sought_, &ok);
  if (!ok || text.isEmpty()) return;
  sought_ = text;
  findNextCurrent();
}

void EditCommands::findNextCurrent() {
  ProjectView* view = window_.currentView();
  if (view == nullptr) return;
  if (sought_.isEmpty()) {
    findCurrent();
    return;
  }
  if (!findNext(*view, sought_)) {
    QMessageBox::information(&window_, QApplication::applicationDisplayName(),
                             tr("\"%1\" was not found.").arg(sought_));
  }
}

void EditCommands::copyCurrent() {
  if (ProjectView* view = window_.currentView()) copy(*view);
}
void EditCommands::cutCurrent() {
  if (ProjectView* view = window_.currentView()) cut(*view);
}
void EditCommands::pasteCurrent() {
  if (ProjectView* view = window_.currentView()) paste(*view, QApplication::clipboard()->text());
}
void EditCommands::undoCurrent() {
  if (ProjectView* view = window_.currentView()) undo(*view);
}
void EditCommands::redoCurrent() {
  if (ProjectView* view = window_.currentView()) redo(*view);
}

void EditCommands::updateActions() {
  ProjectView* view = window_.currentView();
  QAction* undo_action = window_.action(QStringLiteral("editUndo"));
  QAction* redo_action = window_.action(QStringLiteral("editRedo"));
  if (undo_action != nullptr) {
    const bool can = view != nullptr && view->model().history().CanUndo();
    undo_action->setEnabled(can);
    undo_action->setText(can ? tr("&Undo %1").arg(fromHost(view->model().history().UndoName()))
                             : tr("&Undo"));
  }
  if (redo_action != nullptr) {
    const bool can = view != nullptr && view->model().history().CanRedo();
    redo_action->setEnabled(can);
    redo_action->setText(can ? tr("&Redo %1").arg(fromHost(view->model().history().RedoName()))
                             : tr("&Redo"));
  }
}

}  // namespace lunavant::desktop
