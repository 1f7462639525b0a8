// SPDX-License-Identifier: MIT
// Tools > Holidays driven as a user drives it, on real widgets on the offscreen platform, with the
// bundled sample in the reference host and the real converter.
#include "desktop/holidays_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <functional>

#include "desktop/gantt_chart.h"
#include "desktop/holiday_tool_tips.h"
#include "desktop/main_window.h"
#include "desktop/project_view.h"
#include "tests/support/desktop_fixture.h"
#include "workbench/files/bundled_sample.h"
#include "workbench/model/application.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant::desktop {
namespace {

namespace wb = lunavant::workbench;

[[maybe_unused]] const auto* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new test_support::QtEnvironment("holidays_dialog_test"));

class HolidaysDialogTest : public test_support::DesktopSessionTest {
 protected:
  // Triggers Tools > Holidays and hands the dialog to `act` once it is up.
  void WithHolidaysDialog(const std::function<void(HolidaysDialog&)>& act) {
    bool acted = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<HolidaysDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || acted) return;
      acted = true;
      act(*dialog);
      if (dialog->isVisible()) dialog->reject();
    });
    poll.start();
    session_.window().action("toolsHolidays")->trigger();
    EXPECT_TRUE(acted);
  }
  static int RowNamed(QTableWidget& table, const QString& name) {
    for (int row = 0; row < table.rowCount(); ++row) {
      if (table.item(row, 0)->text() == name) return row;
    }
    ADD_FAILURE() << "no row " << name.toStdString();
    return 0;
  }
};

TEST_F(HolidaysDialogTest, PreviewsAddsAndNamesTheHolidaysOnTheChart) {
  // Given the sample open, expect the dialog to preview the Saudi holidays of 1446-1447 with
  // their Hijri and Gregorian days, add them so that work moves off 2 April 2025, name that day
  // on the chart, and offer nothing more to add when opened again.
  wb::Project& pj = wb::OpenBundledSample(session_.app());
  session_.window().syncWithApplication();
  session_.window().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&session_.window()));
  std::vector<wb::Moment> finishes;
  for (std::int32_t id = 1; id <= pj.TaskCount(); ++id) {
    finishes.push_back(static_cast<wb::Task*>(pj.TaskAt(id))->Finish());
  }
  const std::int64_t eid_day = wb::DaysFromCivil(2025, 4, 2);
  ASSERT_TRUE(pj.Calendar().IsWorkingDay(eid_day));

  WithHolidaysDialog([](HolidaysDialog& dialog) {
    EXPECT_EQ(dialog.findChild<QComboBox*>("setCombo")->currentText(), "sa");
    EXPECT_EQ(dialog.findChild<QSpinBox*>("firstYearSpin")->value(), 1446);  // the project's start
    EXPECT_EQ(dialog.findChild<QComboBox*>("calendarCombo")->currentText(), "Standard");
    dialog.findChild<QSpinBox*>("lastYearSpin")->setValue(1447);
    auto& table = *dialog.findChild<QTableWidget*>("previewTable");
    ASSERT_EQ(table.rowCount(), 8);
    const int fitr = RowNamed(table, "Eid al-Fitr 1446");
    EXPECT_EQ(table.item(fitr, 1)->text(), "1446-10-01 to 1446-10-04");
    EXPECT_EQ(table.item(fitr, 2)->text(), "Sun 2025-03-30 to Wed 2025-04-02");
    EXPECT_EQ(table.item(fitr, 3)->text(),
              "would be added on 2025-04-02 (its other days are exceptions already)");
    EXPECT_EQ(dialog.findChild<QLabel*>("summaryLabel")->text(),
              "6 holidays would be added to the calendar \"Standard\".");

    auto* set = dialog.findChild<QComboBox*>("setCombo");
    set->setCurrentText("nowhere");
    auto* ok = dialog.findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok);
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_EQ(dialog.findChild<QLabel*>("summaryLabel")->text(),
              "no holiday set \"nowhere\" (shipped: ae, bh, eg, jo, kw, om, qa, sa; or give a path "
              "to a .holidays file)");
    set->setCurrentText("sa");
    ASSERT_TRUE(ok->isEnabled());
    ok->click();
  });
  EXPECT_FALSE(pj.Calendar().IsWorkingDay(eid_day));
  int later = 0;
  for (std::int32_t id = 1; id <= pj.TaskCount(); ++id) {
    const wb::Moment finish = static_cast<wb::Task*>(pj.TaskAt(id))->Finish();
    EXPECT_GE(finish, finishes[static_cast<std::size_t>(id - 1)]) << id;
    later += finish > finishes[static_cast<std::size_t>(id - 1)];
  }
  EXPECT_GT(later, 0);

  // The chart shades the day as any non-working day and names it on hover.
  GanttChart& chart = session_.window().currentView()->chart();
  chart.scrollToDay(eid_day - 2);
  auto* tips = chart.findChild<HolidayToolTips*>();
  ASSERT_NE(tips, nullptr);
  const double x = chart.xOfMoment(eid_day * wb::kMinutesPerDay + 12 * 60);
  EXPECT_EQ(tips->dayAt(x), eid_day);
  EXPECT_EQ(tips->textOnDay(eid_day), "Eid al-Fitr 1446");
  EXPECT_EQ(tips->textOnDay(wb::DaysFromCivil(2025, 3, 30)), "");  // the sample's own, unnamed
  const QPoint at(static_cast<int>(x), chart.viewport()->height() / 2);
  QHelpEvent hover(QEvent::ToolTip, at, chart.viewport()->mapToGlobal(at));
  QApplication::sendEvent(chart.viewport(), &hover);
  EXPECT_EQ(QToolTip::text(), "Eid al-Fitr 1446");

  WithHolidaysDialog([](HolidaysDialog& dialog) {
    dialog.findChild<QSpinBox*>("lastYearSpin")->setValue(1447);
    EXPECT_EQ(dialog.plan().AddedCount(), 0u);
    EXPECT_FALSE(
        dialog.findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->isEnabled());
  });
}

}  // namespace
}  // namespace lunavant::desktop
