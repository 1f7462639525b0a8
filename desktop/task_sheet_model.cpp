// SPDX-License-Identifier: MIT
#include "desktop/task_sheet_model.h"

#include <string>

#include "addin/host/error.h"
#include "desktop/display_text.h"
#include "desktop/host_messages.h"
#include "desktop/host_names.h"
#include "desktop/host_text.h"
#include "desktop/qt_services.h"
#include "desktop/task_indicators.h"
#include "workbench/files/project_file.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

namespace {

Qt::Alignment AlignmentOf(std::int32_t code) {
  switch (code) {
    case 1:
      return Qt::AlignHCenter | Qt::AlignVCenter;
    case 2:
      return Qt::AlignRight | Qt::AlignVCenter;
    default:
      return Qt::AlignLeft | Qt::AlignVCenter;
  }
}

}  // namespace

TaskSheetModel::TaskSheetModel(wb::Project& project, QObject* parent)
    : QAbstractTableModel(parent), project_(project), outline_(project), history_(project) {
  columns_ = readColumns();
  row_total_ = project_.Rows().size();
}

std::vector<TaskSheetModel::ColumnShown> TaskSheetModel::readColumns() const {
  std::vector<ColumnShown> shown;
  if (project_.IsClosed()) return shown;
  try {
    wb::ColumnList& columns = project_.TaskTable(project_.CurrentTable()).Columns();
    for (std::int32_t position = 1; position <= columns.Count(); ++position) {
      const wb::Column& column = columns.Item(position);
      // A column without its own title shows the field's alias, else the field's name. The
      // host's own names are shown in the user's language; an alias or a title given to a
      // column is the user's (or an add-in's) text.
      QString title = fromHost(column.Title());
      if (isDefaultTitle(column.Title())) title = shownHostName(column.Title());
      if (title.isEmpty()) {
        const int custom = wb::CustomTextIndex(column.Field());
        if (custom >= 0) title = fromHost(project_.CustomTextAlias(custom));
      }
      if (title.isEmpty()) {
        if (const wb::FieldInfo* info = wb::FindField(column.Field())) {
          title = shownHostName(info->name);
        }
      }
      shown.push_back(ColumnShown{column.Field(), title, column.Width(),
                                  AlignmentOf(column.DataAlignment()),
                                  AlignmentOf(column.TitleAlignment())});
    }
  } catch (const lunavant::host::HostError&) {
    // A current table the project lacks shows no columns rather than failing the view.
  }
  return shown;
}

int TaskSheetModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return outline_.RowCount() + (newTaskRow() >= 0 ? 1 : 0);
}

int TaskSheetModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

wb::Task* TaskSheetModel::taskAt(int row) const { return outline_.TaskOfRow(row); }

int TaskSheetModel::fieldAt(int column) const {
  if (column < 0 || column >= columnCount()) return 0;
  return columns_[static_cast<std::size_t>(column)].field;
}

int TaskSheetModel::nameColumn() const {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i].field == wb::field::kName) return static_cast<int>(i);
  }
  return -1;
}

int TaskSheetModel::widthInCharacters(int column) const {
  if (column < 0 || column >= columnCount()) return 0;
  return columns_[static_cast<std::size_t>(column)].width;
}

QVariant TaskSheetModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.column() >= columnCount()) return {};
  const ColumnShown& column = columns_[static_cast<std::size_t>(index.column())];
  const wb::Task* task = taskAt(index.row());
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
      if (task == nullptr || column.field == 0) return QString();
      if (column.field == kIndicatorsField) return IndicatorsOf(*task).marks;
      try {
        const QString text = fromHost(task->GetField(column.field));
        if (role == Qt::EditRole) return text;
        // What is typed is the host's text; what is shown is in the user's language and digits.
        const wb::FieldInfo* info = wb::FindField(column.field);
        return info == nullptr ? text : cellTextShown(text, info->kind);
      } catch (const lunavant::host::HostError&) {
        return QString();
      }
    }
    case Qt::ToolTipRole: {
      if (task == nullptr || column.field != kIndicatorsField) return {};
      const TaskIndicators shown = IndicatorsOf(*task);
      if (shown.tips.isEmpty()) return {};  // no empty tip box over an unmarked task
      return shown.tips.join(QLatin1Char('\n'));
    }
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(column.data_alignment);
    case OutlineLevelRole:
      // A flat view shows no outline: every task at the first level.
      if (task == nullptr) return 0;
      return outline_.IsFlat() ? 1 : task->OutlineLevel();
    case SummaryRole:
      return task != nullptr && task->IsSummary();
    case CollapsedRole:
      return task != nullptr && !outline_.IsFlat() && outline_.IsCollapsed(*task);
    default:
      return {};
  }
}

QVariant TaskSheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  const ColumnShown& column = columns_[static_cast<std::size_t>(section)];
  if (role == Qt::DisplayRole) return column.title;
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(column.title_alignment);
  return {};
}

Qt::ItemFlags TaskSheetModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  const int field = fieldAt(index.column());
  // A field that project files do not keep is shown but not typed into: a save would lose it.
  const bool task_row = taskAt(index.row()) != nullptr || index.row() == newTaskRow();
  if (task_row && field != 0 && !project_.IsClosed() && !wb::IsCalculatedField(field) &&
      wb::ProjectFileKeepsField(field)) {
    flags |= Qt::ItemIsEditable;
  }
  return flags;
}

bool TaskSheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
  const QString text = value.toString();
  if (data(index, Qt::EditRole).toString() == text) return false;
  applyEdits(tr("Typing"), {CellEdit{index.row(), index.column(), text}});
  return true;
}

bool TaskSheetModel::typeInto(wb::Task& task, int field, const QString& text, QString& error) {
  const int boxes_before = QtMessageBoxes::shownCount();
  try {
    if (project_.App().UserEdit(task, field, toHost(text))) return true;
  } catch (const lunavant::host::HostError& e) {
    error = shownHostMessage(e.record().description);
    return false;
  }
  // An add-in that refused with a message of its own has said why.
  if (QtMessageBoxes::shownCount() != boxes_before) return false;
  // One that refused without a word: the user is told why, as the host tells its own reasons.
  error = task.IsSummary()
              ? tr("Task %1 is a summary task: its dates follow its subtasks, so \"%2\" was not "
                   "changed.")
                    .arg(task.ID())
                    .arg(text)
              : tr("\"%1\" was not taken for task %2: an add-in refused the change (a date the "
                   "scheduler calculates cannot be typed).")
                    .arg(text)
                    .arg(task.ID());
  return false;
}

int TaskSheetModel::applyEdits(const QString& name, const std::vector<CellEdit>& edits) {
  int typed = 0;
  int refused = 0;
  QString first_refusal;
  bool reread_rows = false;
  history_.Record(toHost(name), [&] {
    for (const CellEdit& edit : edits) {
      const QModelIndex cell = index(edit.row, edit.column);
      if (!cell.isValid() || !(flags(cell) & Qt::ItemIsEditable)) continue;
      if (data(cell, Qt::EditRole).toString() == edit.text) continue;
      wb::Task* task = taskAt(edit.row);
      if (task == nullptr && edit.row == newTaskRow()) {
        // Typing into the row below the last makes a task there, and a blank row comes below it;
        // a pasted block grows the project row by row. The rows are inserted, not the sheet
        // rebuilt, so that its cursor and an editor the user moves on to stay.
        const int blank = newTaskRow();
        beginInsertRows({}, blank + 1, blank + 1);
        task = &project_.InsertTask(project_.TaskCount() + 1, "");
        outline_.Rebuild();
        row_total_ = project_.Rows().size();
        endInsertRows();
        // A task that joins a collapsed summary shows no row of its own.
        reread_rows = reread_rows || newTaskRow() != blank + 1;
      }
      if (task == nullptr) continue;
      QString error;
      if (typeInto(*task, fieldAt(edit.column), edit.text, error)) {
        ++typed;
      } else if (!error.isEmpty() && refused++ == 0) {
        first_refusal = error;
      }
    }
  });
  if (reread_rows || project_.Rows().size() != row_total_) {
    rebuild();
  } else {
    refresh();
  }
  if (refused == 1) emit editFailed(first_refusal);
  if (refused > 1) {
    emit editFailed(tr("%1 cells were not changed. The first: %2").arg(refused).arg(first_refusal));
  }
  emit projectEdited();
  return typed;
}

int TaskSheetModel::newTaskRow() const { return project_.IsClosed() ? -1 : outline_.RowCount(); }

bool TaskSheetModel::editRows(const QString& name, const std::function<void()>& action) {
  QString refusal;
  try {
    history_.Record(toHost(name), [&] {
      action();
      if (project_.App().AutoCalculate() && project_.App().ActiveProject() == &project_) {
        project_.App().CalculateProject();
      }
    });
  } catch (const lunavant::host::HostError& e) {
    refusal = shownHostMessage(e.record().description);
  }
  rebuild();
  if (!refusal.isEmpty()) emit editFailed(refusal);
  emit projectEdited();
  return refusal.isEmpty();
}

void TaskSheetModel::runCommand(const QString& name, const std::function<void()>& command) {
  struct Reread {
    TaskSheetModel& model;
    ~Reread() {
      model.rebuild();
      emit model.projectEdited();
    }
  } reread{*this};
  history_.Record(toHost(name), command);
}

bool TaskSheetModel::undo() {
  if (!history_.Undo()) return false;
  afterHistoryStep();
  return true;
}

bool TaskSheetModel::redo() {
  if (!history_.Redo()) return false;
  afterHistoryStep();
  return true;
}

void TaskSheetModel::afterHistoryStep() {
  if (history_.LastStepChangedDefinitions()) {
    try {
      project_.App().AnnounceCloseCancelled(project_);
    } catch (const lunavant::host::HostError& e) {
      emit editFailed(shownHostMessage(e.record().description));
    }
  }
  rebuild();
  emit projectEdited();
}

void TaskSheetModel::rebuild() {
  beginResetModel();
  columns_ = readColumns();
  row_total_ = project_.Rows().size();
  outline_.Rebuild();
  endResetModel();
}

void TaskSheetModel::setCollapsed(int row, bool collapsed) {
  const wb::Task* task = taskAt(row);
  if (task == nullptr || !task->IsSummary() || outline_.IsFlat() ||
      outline_.IsCollapsed(*task) == collapsed) {
    return;
  }
  beginResetModel();
  outline_.SetCollapsed(*task, collapsed);
  endResetModel();
}

void TaskSheetModel::setFlatSort(std::vector<wb::SortKey> keys) {
  const std::vector<wb::SortKey> was = outline_.FlatSortKeys();
  beginResetModel();
  try {
    outline_.SetFlatSort(std::move(keys));
  } catch (...) {
    outline_.SetFlatSort(was);
    endResetModel();
    throw;
  }
  endResetModel();
}

void TaskSheetModel::sortFlatViewAgain() {
  // The rows move under the view without a reset, so the current cell and the selection stay
  // on their tasks.
  emit layoutAboutToBeChanged();
  const QModelIndexList before = persistentIndexList();
  std::vector<const wb::Task*> tasks;
  tasks.reserve(static_cast<std::size_t>(before.size()));
  for (const QModelIndex& cell : before) tasks.push_back(taskAt(cell.row()));
  outline_.Rebuild();
  QModelIndexList after;
  for (qsizetype i = 0; i < before.size(); ++i) {
    const wb::Task* task = tasks[static_cast<std::size_t>(i)];
    const int row = task != nullptr ? outline_.RowOfTask(*task) : newTaskRow();
    after << index(row, before[i].column());
  }
  changePersistentIndexList(before, after);
  emit layoutChanged();
}

void TaskSheetModel::refresh() {
  std::vector<ColumnShown> columns = readColumns();
  if (columns != columns_ || project_.Rows().size() != row_total_) {
    beginResetModel();
    columns_ = std::move(columns);
    row_total_ = project_.Rows().size();
    outline_.Rebuild();
    endResetModel();
    return;
  }
  if (outline_.IsFlat()) sortFlatViewAgain();
  if (rowCount() > 0 && columnCount() > 0) {
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
  }
  if (columnCount() > 0) emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

}  // namespace lunavant::desktop
