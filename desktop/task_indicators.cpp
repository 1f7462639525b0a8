// SPDX-License-Identifier: MIT
#include "desktop/task_indicators.h"

#include <QCoreApplication>

#include "addin/host/error.h"
#include "desktop/host_names.h"
#include "desktop/host_text.h"
#include "workbench/model/application.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

namespace {

constexpr int kNotesField = 188743695;
// Marks from the symbol blocks every desktop font with Arabic letters also has.
const QChar kConstraintMark(0x2691);  // a flag
const QChar kNoteMark(0x270E);        // a pencil
const QChar kManualMark(0x270B);      // a raised hand
const QChar kFileDatesMark(0x2693);   // an anchor

// The tips in the user's language.
struct IndicatorTips {
  Q_DECLARE_TR_FUNCTIONS(TaskIndicators)
};

// Whether the constraint pins the task: As Soon As Possible in a project scheduled from its
// start (and As Late As Possible from its finish) is no constraint.
bool Constrains(const wb::Task& task) {
  const wb::ConstraintType type = task.Constraint();
  const bool from_finish = task.Owner().ScheduleFromFinish();
  if (type == wb::ConstraintType::kAsSoonAsPossible) return from_finish;
  if (type == wb::ConstraintType::kAsLateAsPossible) return !from_finish;
  return true;
}

}  // namespace

TaskIndicators IndicatorsOf(const wb::Task& task) {
  TaskIndicators shown;
  auto add = [&shown](QChar mark, const QString& tip) {
    if (!shown.marks.isEmpty()) shown.marks += QLatin1Char(' ');
    shown.marks += mark;
    shown.tips << tip;
  };
  if (task.IsManual()) {
    add(kManualMark, IndicatorTips::tr(
                         "Manually scheduled: links, constraints and the project start do not move "
                         "this task."));
  } else if (!task.DatesHeldBy().empty()) {
    add(kFileDatesMark,
        IndicatorTips::tr("The dates the file gave this task are kept (%1): a recalculation does "
                          "not model it.")
            .arg(fromHost(task.DatesHeldBy())));
  }
  if (task.ID() != 0 && Constrains(task)) {
    const QString type = shownHostName(wb::ConstraintTypeName(task.Constraint()));
    const std::optional<wb::Moment> date = task.ConstraintDate();
    add(kConstraintMark, date ? IndicatorTips::tr("This task has a '%1' constraint on %2.")
                                    .arg(type, fromHost(task.Owner().App().FormatDate(*date)))
                              : IndicatorTips::tr("This task has a '%1' constraint.").arg(type));
  }
  try {
    const std::string note = task.GetField(kNotesField);
    if (!note.empty()) add(kNoteMark, IndicatorTips::tr("Notes: %1").arg(fromHost(note)));
  } catch (const lunavant::host::HostError&) {
    // A task that keeps no notes shows no mark.
  }
  return shown;
}

}  // namespace lunavant::desktop
