// SPDX-License-Identifier: MIT
// One project's window content: the task sheet on the left and the Gantt chart on the right,
// scrolling together row for row.
#pragma once

#include <QTableView>
#include <QWidget>

#include "desktop/gantt_chart.h"
#include "desktop/task_sheet_model.h"

class QSplitter;

namespace lunavant::workbench {
class HijriDays;
class Project;
}  // namespace lunavant::workbench

namespace lunavant::desktop {

class ProjectView : public QWidget {
  Q_OBJECT

 public:
  // The project and the Hijri days must outlive the view.
  ProjectView(lunavant::workbench::Project& project, lunavant::workbench::HijriDays& hijri,
              QWidget* parent = nullptr);

  lunavant::workbench::Project& project() const { return model_.project(); }
  TaskSheetModel& model() { return model_; }
  QTableView& sheet() { return *sheet_; }
  GanttChart& chart() { return *chart_; }

  // Where the outline marker of a summary row is, in the sheet's viewport; empty for other rows.
  QRect outlineMarkerRect(int row) const;

 public slots:
  // Reads the project again (columns, rows, values) after the host or the add-in changed it.
  void refresh();

 signals:
  // The project changed through this view (an edit); the window updates its title.
  void projectEdited();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void applyColumnWidths();
  void showEditFailure(const QString& message);

  TaskSheetModel model_;
  QSplitter* splitter_;
  QTableView* sheet_;
  GanttChart* chart_;
  bool split_set_ = false;
};

}  // namespace lunavant::desktop
