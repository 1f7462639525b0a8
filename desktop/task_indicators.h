// SPDX-License-Identifier: MIT
// What the Indicators column shows of a task: a mark for each thing a planner should know that
// the other columns do not show (a manual task, dates kept from the file, a date constraint, a
// note), with a tooltip that says what it means.
#pragma once

#include <QString>
#include <QStringList>

namespace lunavant::workbench {
class Task;
}

namespace lunavant::desktop {

// The Indicators field's identifier.
inline constexpr int kIndicatorsField = 188743885;

struct TaskIndicators {
  QString marks;     // one character each, with a space between
  QStringList tips;  // one sentence each, in the same order
};

TaskIndicators IndicatorsOf(const lunavant::workbench::Task& task);

}  // namespace lunavant::desktop
