// SPDX-License-Identifier: MIT
// The names of a project's holidays on the Gantt chart: hovering over a day that a named exception
// of the project's calendar makes non-working shows its name ("Eid al-Fitr 1447"). The chart shades
// such days already, as every non-working day.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

namespace lunavant::workbench {
class Project;
}

namespace lunavant::desktop {

class GanttChart;

class HolidayToolTips : public QObject {
  Q_OBJECT

 public:
  // Watches the chart's viewport; owned by the chart. The project must outlive the chart.
  HolidayToolTips(GanttChart& chart, lunavant::workbench::Project& project);

  // The day under x, in the chart's viewport coordinates.
  std::int64_t dayAt(double x) const;
  // The names of the named non-working exceptions on `day`, one a line; empty when none.
  QString textOnDay(std::int64_t day) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  GanttChart& chart_;
  lunavant::workbench::Project& project_;
};

}  // namespace lunavant::desktop
