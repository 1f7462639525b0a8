// SPDX-License-Identifier: MIT
#include "desktop/holiday_tool_tips.h"

#include <QHelpEvent>
#include <QToolTip>
#include <cmath>

#include "desktop/gantt_chart.h"
#include "workbench/files/calendar_holidays.h"
#include "workbench/model/project.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

HolidayToolTips::HolidayToolTips(GanttChart& chart, wb::Project& project)
    : QObject(&chart), chart_(chart), project_(project) {
  chart.viewport()->installEventFilter(this);
}

std::int64_t HolidayToolTips::dayAt(double x) const {
  return static_cast<std::int64_t>(
      std::floor((x - chart_.xOfMoment(0)) / chart_.timescale().PixelsPerDay()));
}

QString HolidayToolTips::textOnDay(std::int64_t day) const {
  // Only a project read from a file, or one holidays were added to, has names to show; asking a
  // project made here would make it a document.
  if (project_.Source() == nullptr) return {};
  QStringList names;
  try {
    for (const wb::CalendarException& e : wb::CalendarExceptionsOf(project_)) {
      if (!e.working && !e.name.empty() && day >= e.first_day && day <= e.last_day) {
        names << QString::fromStdString(e.name);
      }
    }
  } catch (const wb::HolidayError&) {
    return {};  // a file whose project names no calendar of its own
  }
  names.removeDuplicates();
  return names.join(QLatin1Char('\n'));
}

bool HolidayToolTips::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QObject::eventFilter(watched, event);
  auto* help = static_cast<QHelpEvent*>(event);
  const QString text = textOnDay(dayAt(help->pos().x()));
  if (text.isEmpty()) {
    QToolTip::hideText();
    event->ignore();
  } else {
    QToolTip::showText(help->globalPos(), text, chart_.viewport());
  }
  return true;
}

}  // namespace lunavant::desktop
