// SPDX-License-Identifier: MIT
// The desktop with the converter's corrections in force: its ctest entry names a file that starts
// Shawwal 1446 on 31 March 2025, a day after the table, so Ramadan has 30 days.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <optional>

#include "desktop/about_dialog.h"
#include "desktop/gantt_chart.h"
#include "desktop/main_window.h"
#include "desktop/project_view.h"
#include "tests/support/desktop_fixture.h"
#include "workbench/schedule/calendar.h"

namespace lunavant::desktop {
namespace {

namespace wb = lunavant::workbench;

[[maybe_unused]] const auto* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(
    new test_support::QtEnvironment("hijri_calendar_corrected_test"));

class HijriCalendarCorrected : public test_support::DesktopSessionTest {};

// The timescale tier of Hijri months.
int HijriMonthTier(const GanttChart& chart) {
  const std::vector<GanttChart::Tier> tiers = chart.tiers();
  for (std::size_t i = 0; i < tiers.size(); ++i) {
    if (tiers[i].calendar == wb::TierCalendar::kHijri && tiers[i].unit == wb::TierUnit::kMonth)
      return static_cast<int>(i);
  }
  return -1;
}

TEST_F(HijriCalendarCorrected, TheSheetTheTimescaleAndAboutFollowTheCorrections) {
  // Given a task on Sunday 30 March 2025 (a Sunday-to-Thursday week), expect 30 Ramadan in its
  // Hijri cell and 30/09/1446 typed to be that day again; Ramadan and Shawwal
  // 1446 marked on the timescale and no other month; Help > About to name the changed months.
  ConnectAddIn();
  OpenPairedPlan(Plan()
                     .StartingOn(2025, 3, 30)
                     .WorkingWeek(wb::WorkWeek::SundayToThursday())
                     .AddTask("Handover", 1));
  ProjectView& view = Show();
  EXPECT_EQ(Cell(view, 0, "Start"), "Sun 30/03/25");
  EXPECT_EQ(Cell(view, 0, "HijriStart"), "30/09/1446");
  TypeIntoCell(view, 0, "HijriStart", "01/10/1446");
  EXPECT_EQ(Cell(view, 0, "Start"), "Mon 31/03/25");
  TypeIntoCell(view, 0, "HijriStart", "30/09/1446");
  EXPECT_EQ(Cell(view, 0, "Start"), "Sun 30/03/25");
  EXPECT_EQ(Cell(view, 0, "HijriStart"), "30/09/1446");

  GanttChart& chart = view.chart();
  chart.setZoom(wb::TimescaleZoom::kWeeks);
  chart.scrollToDay(wb::DaysFromCivil(2025, 1, 15));
  const int tier = HijriMonthTier(chart);
  ASSERT_GE(tier, 0);
  QStringList marked;
  int unmarked = 0;
  for (const wb::TierCell& cell : chart.visibleCells(tier)) {
    if (chart.isCorrectedMonth(tier, cell)) {
      marked << QString::fromStdString(cell.label);
    } else {
      ++unmarked;
    }
  }
  EXPECT_EQ(marked, QStringList({"Ramadan 1446", "Shawwal 1446"}));
  EXPECT_GE(unmarked, 2);

  QString about;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<AboutDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    about = dialog->calendarText();
    dialog->reject();
  });
  QAction* action = window().findChild<QAction*>("helpAbout");
  ASSERT_NE(action, nullptr);
  action->trigger();
  EXPECT_TRUE(
      about.contains("changed: 1446-09 2025-03-01 30 days (table 2025-03-01 29 days)\n"
                     "changed: 1446-10 2025-03-31 29 days (table 2025-03-30 30 days)"))
      << about.toStdString();
  EXPECT_TRUE(about.contains("shawwal-1446-a-day-later.txt, 1 line")) << about.toStdString();
}

}  // namespace
}  // namespace lunavant::desktop
