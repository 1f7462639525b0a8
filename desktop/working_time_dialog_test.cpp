// SPDX-License-Identifier: MIT
// Tools > Change Working Time and Tools > Holidays driven as a planner in Riyadh drives them, on
// real widgets on the offscreen platform, with the reference host and the real converter.
#include "desktop/working_time_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "desktop/date_picker.h"
#include "desktop/holidays_dialog.h"
#include "desktop/main_window.h"
#include "desktop/project_view.h"
#include "tests/support/desktop_fixture.h"
#include "workbench/files/calendar_holidays.h"
#include "workbench/files/project_calendars.h"
#include "workbench/files/project_file.h"
#include "workbench/model/application.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant::desktop {
namespace {

namespace wb = lunavant::workbench;

[[maybe_unused]] const auto* const kQtEnvironment = ::testing::AddGlobalTestEnvironment(
    new test_support::QtEnvironment("working_time_dialog_test"));

// The user's locale for the whole test, set before the desktop session starts, as a user in
// Riyadh starts the program.
class SaudiLocale {
 public:
  SaudiLocale() {
    if (const char* was = std::getenv("LC_ALL")) was_ = was;
    setenv("LC_ALL", "ar_SA.UTF-8", 1);
  }
  ~SaudiLocale() {
    if (was_) {
      setenv("LC_ALL", was_->c_str(), 1);
    } else {
      unsetenv("LC_ALL");
    }
  }
  SaudiLocale(const SaudiLocale&) = delete;
  SaudiLocale& operator=(const SaudiLocale&) = delete;

 private:
  std::optional<std::string> was_;
};

class WorkingTimeTest : private SaudiLocale, public test_support::DesktopSessionTest {
 protected:
  // Triggers the menu action and hands its modal dialog to `act` once it is up.
  template <typename Dialog>
  void WithDialog(const char* action, const std::function<void(Dialog&)>& act) {
    bool acted = false;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || acted) return;
      acted = true;
      act(*dialog);
      if (dialog->isVisible()) dialog->reject();
    });
    poll.start();
    window().action(action)->trigger();
    EXPECT_TRUE(acted) << action;
  }
  static QPushButton* Ok(QDialog& dialog) {
    return dialog.findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok);
  }
  static std::vector<std::string> HolidayNames(wb::Project& project) {
    std::vector<std::string> names;
    for (const wb::ExceptionRule& rule : wb::CalendarExceptionRules(project)) {
      names.push_back(rule.name);
    }
    return names;
  }
  static bool Has(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
  }
  void AddOrRemoveHolidays(const QString& set, bool remove) {
    WithDialog<HolidaysDialog>("toolsHolidays", [&](HolidaysDialog& dialog) {
      dialog.findChild<QComboBox*>("setCombo")->setCurrentText(set);
      dialog.findChild<QSpinBox*>("firstYearSpin")->setValue(1447);
      dialog.findChild<QSpinBox*>("lastYearSpin")->setValue(1448);
      if (remove) dialog.findChild<QRadioButton*>("removeRadio")->setChecked(true);
      ASSERT_TRUE(Ok(dialog)->isEnabled()) << set.toStdString();
      Ok(dialog)->click();
    });
  }
};

TEST_F(WorkingTimeTest, ARiyadhPlanFromScratchWithItsWeekHoursAndHolidays) {
  // Given a user in ar_SA who makes a project with File > New, expect a Sunday-to-Thursday week;
  // the working-time dialog sets 8:00-16:00 as one undoable edit; the Saudi and UAE holidays of
  // 1447-1448 are added, the UAE ones taken off again (each one Undo step), and the file keeps
  // exactly the Saudi ones with the week.
  window().show();
  window().action("fileNew")->trigger();
  ProjectView* view = window().currentView();
  ASSERT_NE(view, nullptr);
  wb::Project& pj = view->project();
  EXPECT_EQ(pj.Calendar().Week(), wb::WorkWeek::SundayToThursday());
  pj.AddTask("Survey", 10);
  app().CalculateProject();
  view->model().refresh();

  WithDialog<WorkingTimeDialog>("toolsWorkingTime", [](WorkingTimeDialog& dialog) {
    EXPECT_EQ(dialog.calendarShown(), "Standard");
    EXPECT_EQ(dialog.findChild<QComboBox*>("regionCombo")->currentData().toString(), "SA");
    auto& week = *dialog.findChild<QTableWidget*>("weekTable");
    EXPECT_EQ(week.item(5, 0)->checkState(), Qt::Unchecked);  // Friday
    EXPECT_EQ(week.item(0, 1)->text(), "08:00-12:00, 13:00-17:00");
    auto* hours = dialog.findChild<QLineEdit*>("hoursEdit");
    hours->setText("16:00-8:00");
    dialog.findChild<QPushButton*>("setHoursButton")->click();
    EXPECT_EQ(dialog.findChild<QLabel*>("messageLabel")->text(),
              "\"16:00-8:00\" is not working hours such as 08:00-16:00 or 08:00-12:00, "
              "13:00-17:00.");
    hours->setText("08:00-16:00");
    dialog.findChild<QPushButton*>("setHoursButton")->click();
    EXPECT_EQ(dialog.findChild<QLabel*>("messageLabel")->text(), "");
    EXPECT_EQ(week.item(4, 1)->text(), "08:00-16:00");  // Thursday
    EXPECT_EQ(week.item(5, 1)->text(), "");
    Ok(dialog)->click();
  });
  const std::int64_t sunday = wb::DaysFromCivil(2026, 3, 1);
  ASSERT_EQ(wb::WeekdayOfDays(sunday), 0);
  EXPECT_EQ(pj.Calendar().HoursOn(sunday), (wb::DayHours{{8 * 60, 16 * 60}}));
  EXPECT_FALSE(pj.Calendar().IsWorkingDay(sunday + 5));
  const wb::Moment finish_on_new_hours = static_cast<wb::Task*>(pj.TaskAt(1))->Finish();
  EXPECT_EQ(wb::DateTimeOf(finish_on_new_hours).hour, 16);

  // One Undo takes the hours back, schedule and file alike; Redo brings them again.
  window().action("editUndo")->trigger();
  EXPECT_EQ(pj.Calendar().HoursOn(sunday), (wb::DayHours{{8 * 60, 12 * 60}, {13 * 60, 17 * 60}}));
  EXPECT_EQ(wb::ReadNamedCalendar(pj).HoursOn(sunday), pj.Calendar().HoursOn(sunday));
  window().action("editRedo")->trigger();
  EXPECT_EQ(wb::ReadNamedCalendar(pj).HoursOn(sunday), (wb::DayHours{{8 * 60, 16 * 60}}));

  AddOrRemoveHolidays("sa", false);
  AddOrRemoveHolidays("ae", false);
  std::vector<std::string> names = HolidayNames(pj);
  EXPECT_TRUE(Has(names, "Eid al-Fitr 1447"));
  EXPECT_TRUE(Has(names, "National Day 2026"));
  EXPECT_TRUE(Has(names, "UAE National Day 2026"));
  // The UAE's Eid al-Fitr 1447 starts on 29 Ramadan, two days before Saudi Arabia's: those two
  // days are added under the shared name.
  const std::int64_t uae_eid = wb::DaysFromCivil(2026, 3, 18);
  const std::int64_t saudi_eid = wb::DaysFromCivil(2026, 3, 20);
  EXPECT_FALSE(pj.Calendar().IsWorkingDay(uae_eid));
  AddOrRemoveHolidays("ae", true);
  names = HolidayNames(pj);
  EXPECT_FALSE(Has(names, "UAE National Day 2026"));
  EXPECT_TRUE(Has(names, "National Day 2026"));  // Saudi Arabia's, 23 September, stays
  EXPECT_TRUE(Has(names, "Eid al-Adha 1448"));   // the Saudi one, from the day of Arafah
  EXPECT_TRUE(pj.Calendar().IsWorkingDay(uae_eid));
  EXPECT_FALSE(pj.Calendar().IsWorkingDay(saudi_eid));
  // Taken off twice: nothing is left to take off.
  WithDialog<HolidaysDialog>("toolsHolidays", [](HolidaysDialog& dialog) {
    dialog.findChild<QComboBox*>("setCombo")->setCurrentText("ae");
    dialog.findChild<QSpinBox*>("firstYearSpin")->setValue(1447);
    dialog.findChild<QSpinBox*>("lastYearSpin")->setValue(1448);
    dialog.findChild<QRadioButton*>("removeRadio")->setChecked(true);
    EXPECT_EQ(dialog.plan().RemovedCount(), 0u);
    EXPECT_FALSE(Ok(dialog)->isEnabled());
  });
  // The removal is one Undo step: the UAE's holidays come back.
  window().action("editUndo")->trigger();
  EXPECT_TRUE(Has(HolidayNames(pj), "UAE National Day 2026"));
  EXPECT_FALSE(pj.Calendar().IsWorkingDay(uae_eid));
  window().action("editRedo")->trigger();
  EXPECT_FALSE(Has(HolidayNames(pj), "UAE National Day 2026"));

  // The file keeps the week, the hours and the Saudi holidays.
  QTemporaryDir folder;
  const std::string path = folder.filePath("riyadh.xml").toStdString();
  wb::SaveProjectFile(pj, path);
  wb::Application& host = app();
  std::unique_ptr<wb::Project> back = wb::ReadProjectFile(host, path);
  EXPECT_EQ(back->Calendar(), pj.Calendar());
  EXPECT_EQ(HolidayNames(*back), HolidayNames(pj));
}

TEST_F(WorkingTimeTest, ExceptionsAndANewCalendarStayInTheDraftUntilOk) {
  // Given a new project, expect an exception, a copied calendar, the choice to schedule on it and
  // the selected task's own calendar to change nothing while the dialog is open or when it is
  // cancelled, and a refused exception (overlapping another) to say why; OK then schedules the
  // project on the new calendar and the task on the old one, as one Undo step.
  window().show();
  window().action("fileNew")->trigger();
  ProjectView* view = window().currentView();
  wb::Project& pj = view->project();
  wb::Task& pour = pj.AddTask("Pour", 3);
  view->model().refresh();
  view->sheet().setCurrentIndex(view->model().index(0, view->model().nameColumn()));
  const wb::ProjectCalendar before = pj.Calendar();
  const std::int64_t closed = wb::DaysFromCivil(2026, 4, 5);

  const auto make_changes = [](WorkingTimeDialog& dialog) {
    dialog.findChild<QLineEdit*>("newCalendarEdit")->setText("Site crew");
    dialog.findChild<QPushButton*>("newCalendarButton")->click();
    EXPECT_EQ(dialog.calendarShown(), "Site crew");
    dialog.findChild<QCheckBox*>("projectCalendarCheck")->setChecked(true);
    dialog.findChild<QLineEdit*>("exceptionNameEdit")->setText("Site closed");
    dialog.findChild<QDateEdit*>("fromDate")->setDate(QDate(2026, 4, 5));
    dialog.findChild<QDateEdit*>("toDate")->setDate(QDate(2026, 4, 6));
    dialog.findChild<QPushButton*>("addExceptionButton")->click();
    dialog.findChild<QLineEdit*>("exceptionNameEdit")->setText("Inventory");
    dialog.findChild<QDateEdit*>("fromDate")->setDate(QDate(2026, 4, 6));
    dialog.findChild<QDateEdit*>("toDate")->setDate(QDate(2026, 4, 6));
    dialog.findChild<QPushButton*>("addExceptionButton")->click();
    EXPECT_EQ(dialog.findChild<QLabel*>("messageLabel")->text(),
              "Another exception of the calendar holds 2026-04-06 already: exceptions cannot "
              "overlap.");
    auto& exceptions = *dialog.findChild<QTableWidget*>("exceptionsTable");
    ASSERT_EQ(exceptions.rowCount(), 1);
    EXPECT_EQ(exceptions.item(0, 0)->text(), "Site closed");
    EXPECT_EQ(exceptions.item(0, 1)->text(), "Sun 2026-04-05 to Mon 2026-04-06");
  };
  WithDialog<WorkingTimeDialog>("toolsWorkingTime", [&](WorkingTimeDialog& dialog) {
    make_changes(dialog);
    dialog.reject();
  });
  EXPECT_EQ(pj.Calendar(), before);
  EXPECT_EQ(wb::ListCalendars(pj).size(), 1u);

  EXPECT_EQ(wb::TaskCalendarName(pj, pour), "");
  WithDialog<WorkingTimeDialog>("toolsWorkingTime", [&](WorkingTimeDialog& dialog) {
    make_changes(dialog);
    auto* task_calendar = dialog.findChild<QComboBox*>("taskCalendarCombo");
    ASSERT_TRUE(task_calendar->isEnabled());
    EXPECT_EQ(task_calendar->currentText(), "(the project's calendar)");
    task_calendar->setCurrentText("Standard");
    Ok(dialog)->click();
  });
  EXPECT_EQ(wb::ProjectCalendarName(pj), "Site crew");
  EXPECT_FALSE(pj.Calendar().IsWorkingDay(closed));
  EXPECT_TRUE(pj.Calendar().IsWorkingDay(closed + 2));
  EXPECT_EQ(wb::TaskCalendarName(pj, pour), "Standard");
  EXPECT_TRUE(pj.CalendarOf(pour).IsWorkingDay(closed));  // Standard has no "Site closed"
  window().action("editUndo")->trigger();
  EXPECT_EQ(wb::ProjectCalendarName(pj), "Standard");
  EXPECT_EQ(wb::TaskCalendarName(pj, pour), "");
  EXPECT_EQ(pj.Calendar(), before);
  EXPECT_EQ(&pj.CalendarOf(pour), &pj.Calendar());
}

TEST_F(WorkingTimeTest, AnExceptionsDaysArePickedInTheHijriCalendar) {
  // Given a copied calendar with an exception added in the dialog, expect the picker opened from
  // the From field (Alt+Down) to show that exception and the weekend as days off while the copy is
  // shown, and not once Standard is shown again; in the Hijri calendar, 10 Shawwal 1447 picked
  // sets From to 29 March 2026. The To field's picker (F4) opens in the Hijri calendar picked in
  // last; 11 Shawwal sets To, and after OK the project's calendar has the exception on those two
  // days, as one Undo step.
  window().show();
  window().action("fileNew")->trigger();
  ProjectView* view = window().currentView();
  ASSERT_NE(view, nullptr);
  wb::Project& pj = view->project();
  const std::int64_t shawwal_10 = wb::DaysFromCivil(2026, 3, 29);
  WithDialog<WorkingTimeDialog>("toolsWorkingTime", [&](WorkingTimeDialog& dialog) {
    auto* from = dialog.findChild<QDateEdit*>("fromDate");
    auto* to = dialog.findChild<QDateEdit*>("toDate");
    auto* name = dialog.findChild<QLineEdit*>("exceptionNameEdit");
    auto* add = dialog.findChild<QPushButton*>("addExceptionButton");
    dialog.findChild<QLineEdit*>("newCalendarEdit")->setText("Night shift");
    dialog.findChild<QPushButton*>("newCalendarButton")->click();
    ASSERT_EQ(dialog.calendarShown(), "Night shift");
    name->setText("Site closed");
    from->setDate(QDate(2026, 4, 5));
    to->setDate(QDate(2026, 4, 6));
    add->click();

    const std::int64_t april_6 = wb::DaysFromCivil(2026, 4, 6);
    QTest::keyClick(from, Qt::Key_Down, Qt::AltModifier);
    DatePicker* picker = dialog.picker();
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->isVisible());
    picker->findChild<QToolButton*>("gregorianCalendar")->click();
    ASSERT_NE(picker->dayButton(april_6), nullptr);
    EXPECT_TRUE(picker->dayButton(april_6 - 1)->isChecked());
    EXPECT_EQ(picker->dayButton(april_6)->property("holiday").toString(), "Site closed");
    EXPECT_TRUE(picker->dayButton(april_6)->property("nonWorking").toBool());
    EXPECT_TRUE(picker->dayButton(april_6 + 4)->property("nonWorking").toBool());  // Friday
    EXPECT_FALSE(picker->dayButton(april_6 + 2)->property("nonWorking").toBool());
    picker->window()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(dialog.picker(), nullptr);

    dialog.findChild<QComboBox*>("calendarCombo")->setCurrentText("Standard");
    dialog.findChild<QToolButton*>("fromPickButton")->click();
    picker = dialog.picker();
    ASSERT_NE(picker, nullptr);
    ASSERT_NE(picker->dayButton(april_6), nullptr);
    EXPECT_EQ(picker->dayButton(april_6)->property("holiday").toString(), "");
    EXPECT_FALSE(picker->dayButton(april_6)->property("nonWorking").toBool());
    picker->findChild<QToolButton*>("hijriCalendar")->click();
    ASSERT_EQ(picker->calendar(), wb::TierCalendar::kHijri);
    EXPECT_EQ(picker->month().year, 1447);
    EXPECT_EQ(picker->month().month, 10);  // Shawwal
    ASSERT_NE(picker->dayButton(shawwal_10), nullptr);
    EXPECT_TRUE(picker->dayButton(shawwal_10)->text().startsWith("10\n"));
    picker->dayButton(shawwal_10)->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(dialog.picker(), nullptr);
    EXPECT_EQ(from->date(), QDate(2026, 3, 29));
    EXPECT_EQ(to->date(), QDate(2026, 4, 6));

    QTest::keyClick(to, Qt::Key_F4);
    picker = dialog.picker();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->calendar(), wb::TierCalendar::kHijri);
    ASSERT_NE(picker->dayButton(shawwal_10 + 1), nullptr);
    picker->dayButton(shawwal_10 + 1)->click();
    EXPECT_EQ(to->date(), QDate(2026, 3, 30));
    name->setText("Eid visit");
    add->click();
    EXPECT_EQ(dialog.findChild<QLabel*>("messageLabel")->text(), "");
    // Nothing reaches the project before OK.
    EXPECT_TRUE(pj.Calendar().IsWorkingDay(shawwal_10));
    Ok(dialog)->click();
  });
  EXPECT_FALSE(pj.Calendar().IsWorkingDay(shawwal_10));
  EXPECT_FALSE(pj.Calendar().IsWorkingDay(shawwal_10 + 1));
  EXPECT_TRUE(pj.Calendar().IsWorkingDay(shawwal_10 + 2));
  bool found = false;
  for (const wb::ExceptionRule& rule : wb::CalendarExceptionRules(pj)) {
    if (rule.name != "Eid visit") continue;
    found = true;
    EXPECT_EQ(rule.first_day, shawwal_10);
    EXPECT_EQ(rule.last_day, shawwal_10 + 1);
  }
  EXPECT_TRUE(found);
  window().action("editUndo")->trigger();
  EXPECT_TRUE(pj.Calendar().IsWorkingDay(shawwal_10));
}

}  // namespace
}  // namespace lunavant::desktop
