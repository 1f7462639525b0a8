// SPDX-License-Identifier: MIT
// The task sheet of one project: the rows its outline shows and the columns of its current task
// table, with their titles, widths and alignments. An edit goes to the host exactly as a typed
// edit does (Application::UserEdit), so the add-in hears it and may refuse it; the cell then
// shows what the task holds, which is its old value.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <vector>

#include "workbench/model/edit_history.h"
#include "workbench/view/outline_rows.h"

namespace lunavant::workbench {
class Application;
class Project;
class Task;
}  // namespace lunavant::workbench

namespace lunavant::desktop {

class TaskSheetModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Roles beyond Qt's, for the delegate that draws the outline.
  enum Role {
    OutlineLevelRole = Qt::UserRole + 1,  // int; 0 for a blank row
    SummaryRole,                          // bool
    CollapsedRole,                        // bool
  };

  // The project must outlive the model.
  explicit TaskSheetModel(lunavant::workbench::Project& project, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Returns false, changing nothing, when the text is the cell's own; otherwise true whether the
  // host took the edit or not (every cell is read again afterwards).
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  lunavant::workbench::Project& project() const { return project_; }
  const lunavant::workbench::OutlineRows& outline() const { return outline_; }
  // Null for a blank row or a row outside the sheet.
  lunavant::workbench::Task* taskAt(int row) const;
  // The host's field identifier of a column; 0 outside the table.
  int fieldAt(int column) const;
  // The column that shows the task names; -1 when the table has none.
  int nameColumn() const;
  // The column's width in characters, as the table gives it.
  int widthInCharacters(int column) const;

  // Ignored in a flat view, which shows every task.
  void setCollapsed(int row, bool collapsed);
  // Lists every task in the order of `keys`, outline aside, without changing the project
  // (OutlineRows::SetFlatSort); no keys return to the outline. Fails with the host's error for a
  // field it lacks, the view then left as it was.
  void setFlatSort(std::vector<lunavant::workbench::SortKey> keys);

  // One cell's new text, as the user typed or pasted it.
  struct CellEdit {
    int row;
    int column;
    QString text;
  };
  // Types every edit into its cell through the host, in order, as one undoable step named
  // `name`; cells that take no typing and texts a cell already holds are passed over. A refusal
  // does not stop the others; the first one's message is reported (editFailed) with how many
  // cells were refused. Returns how many cells were typed into.
  int applyEdits(const QString& name, const std::vector<CellEdit>& edits);
  // The project's edits as steps; Undo and Redo read every row again.
  lunavant::workbench::EditHistory& history() { return history_; }
  // Changes rows as one undoable step named `name`, then recalculates as after a typed edit
  // and reads every row again; a refusal is reported (editFailed). False when refused.
  bool editRows(const QString& name, const std::function<void()>& action);
  // Runs a command that changes the project in its own way (an add-in's button, holidays added)
  // as one undoable step named `name`, then reads every row again. The command recalculates
  // if it needs to; a failure it throws goes on, its changes kept as the step.
  void runCommand(const QString& name, const std::function<void()>& command);
  // The blank row after the last one, where typing makes a new task; -1 when the project is
  // closed.
  int newTaskRow() const;
  // A step that put tables or custom fields back is announced to the add-ins as a close the
  // host cancelled, so that they derive their pairs from the project again (see
  // Application::AnnounceCloseCancelled).
  bool undo();
  bool redo();

 public slots:
  // Reads the project again: the sheet is rebuilt when the current table or the rows changed,
  // otherwise every cell is read again.
  void refresh();

 signals:
  // The host refused a typed edit with an error of its own (text it cannot read, for example).
  void editFailed(const QString& message);
  // A typed edit went through the host (taken or refused); dates may have moved anywhere.
  void projectEdited();

 private:
  struct ColumnShown {
    int field;
    QString title;
    int width;
    Qt::Alignment data_alignment;
    Qt::Alignment title_alignment;
    friend bool operator==(const ColumnShown&, const ColumnShown&) = default;
  };
  std::vector<ColumnShown> readColumns() const;
  // Writes one cell through the host; false when refused, with the reason in `error`, which is
  // left empty when the host or an add-in has already told the user.
  bool typeInto(lunavant::workbench::Task& task, int field, const QString& text, QString& error);
  void rebuild();
  // A flat view's rows in their order again after an edit moved their values.
  void sortFlatViewAgain();
  void afterHistoryStep();

  lunavant::workbench::Project& project_;
  lunavant::workbench::OutlineRows outline_;
  std::vector<ColumnShown> columns_;
  std::size_t row_total_ = 0;
  lunavant::workbench::EditHistory history_;
};

}  // namespace lunavant::desktop
