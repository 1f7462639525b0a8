// SPDX-License-Identifier: MIT
// The task sheet of one project: the rows its outline shows and the columns of its current task
// table, with their titles, widths and alignments. An edit goes to the host exactly as a typed
// edit does (Application::UserEdit), so the add-in hears it and may refuse it; the cell then
// shows what the task holds, which is its old value.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

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

  void setCollapsed(int row, bool collapsed);

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
  // Why the indicators column marks a task, in words; none for a task it does not mark.
  static QVariant indicatorTip(const lunavant::workbench::Task* task);

  lunavant::workbench::Project& project_;
  lunavant::workbench::OutlineRows outline_;
  std::vector<ColumnShown> columns_;
  std::size_t row_total_ = 0;
};

}  // namespace lunavant::desktop
