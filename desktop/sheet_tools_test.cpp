// SPDX-License-Identifier: MIT
// The sheet's tools beyond typing, driven as a user drives them on the offscreen platform with
// the reference host, the add-in and the real converter: the date picker of a date cell, in both
// calendars, and sorting by a column from its header.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include "desktop/date_cell_editor.h"
#include "desktop/date_picker.h"
#include "desktop/main_window.h"
#include "desktop/project_view.h"
#include "desktop/sort_commands.h"
#include "tests/support/desktop_fixture.h"
#include "workbench/files/calendar_holidays.h"
#include "workbench/holidays/holiday_dates.h"
#include "workbench/holidays/holiday_set.h"
#include "workbench/model/project.h"
#include "workbench/schedule/calendar.h"

namespace lunavant::desktop {
namespace {

namespace wb = lunavant::workbench;

[[maybe_unused]] const auto* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new test_support::QtEnvironment("sheet_tools_test"));

class SheetToolsTest : public test_support::DesktopSessionTest {
 protected:
  // Opens the cell's editor with F2 and its picker with Alt+Down, as a user does.
  static DateCellEditor* OpenPicker(ProjectView& view, int row, const QString& title) {
    const QModelIndex index = view.model().index(row, ColumnTitled(view, title));
    view.window()->activateWindow();
    view.sheet().setFocus();
    view.sheet().setCurrentIndex(index);
    QTest::keyClick(&view.sheet(), Qt::Key_F2);
    auto* editor = qobject_cast<DateCellEditor*>(view.sheet().indexWidget(index));
    if (editor == nullptr) {
      ADD_FAILURE() << "no date editor on " << title.toStdString();
      return nullptr;
    }
    QTest::keyClick(editor, Qt::Key_Down, Qt::AltModifier);
    if (editor->picker() == nullptr || !editor->picker()->isVisible()) {
      ADD_FAILURE() << "no picker opened";
      return nullptr;
    }
    return editor;
  }
  static void Click(DatePicker& picker, const char* button) {
    auto* found = picker.findChild<QToolButton*>(QString::fromLatin1(button));
    ASSERT_NE(found, nullptr) << button;
    QTest::mouseClick(found, Qt::LeftButton);
  }
};

TEST_F(SheetToolsTest, ADayPickedInTheHijriCalendarMovesTheStartAsATypedDateAndUndoes) {
  // Given Start paired with HijriStart and the Saudi holidays of 1446 in the calendar, expect the
  // Start cell's picker to open on the task's day, to switch to the Hijri month that holds it
  // (Jumada I 1446), to show the weekend and Eid al-Fitr on the way to Shawwal, and the day
  // picked there (10 Shawwal 1446) to reach the host as a typed date: Start moves, the add-in
  // writes its Hijri text, and one Undo puts both back. A Hijri column's picker, driven from the
  // keyboard, writes the Hijri text the add-in reads.
  ConnectAddIn();
  OpenPairedPlan(Plan().StartingOn(2024, 11, 4).AddTask("Survey", 3).AddTask("Design", 2));
  wb::Project& project = *app().ActiveProject();
  wb::ConverterHijriCalendar hijri(app().Libraries());
  ApplyHolidayPlan(project, PlanHolidays(project, wb::DateHolidays(wb::LoadHolidaySet("sa"), 1446,
                                                                   1446, hijri)));
  ProjectView& view = Show();
  ASSERT_EQ(Cell(view, 0, "Start"), "Mon 04/11/24");
  ASSERT_EQ(Cell(view, 0, "HijriStart"), "02/05/1446");

  DateCellEditor* editor = OpenPicker(view, 0, "Start");
  ASSERT_NE(editor, nullptr);
  DatePicker& picker = *editor->picker();
  EXPECT_EQ(picker.selectedDay(), wb::DaysFromCivil(2024, 11, 4));
  EXPECT_EQ(picker.caption(), "November 2024");
  Click(picker, "hijriCalendar");
  EXPECT_EQ(picker.caption(), "Jumada I 1446 AH");
  // 1446-05 of the Umm al-Qura table: from 3 November 2024, 29 days.
  EXPECT_EQ(picker.month().first_day, wb::DaysFromCivil(2024, 11, 3));
  EXPECT_EQ(picker.month().length, 29);
  ASSERT_NE(picker.dayButton(wb::DaysFromCivil(2024, 11, 4)), nullptr);
  EXPECT_TRUE(picker.dayButton(wb::DaysFromCivil(2024, 11, 4))->isChecked());
  // The project's weekend is Saturday and Sunday.
  EXPECT_TRUE(picker.dayButton(wb::DaysFromCivil(2024, 11, 9))->property("nonWorking").toBool());
  EXPECT_FALSE(picker.dayButton(wb::DaysFromCivil(2024, 11, 11))->property("nonWorking").toBool());

  for (int month = 0; month < 5; ++month) Click(picker, "nextMonth");
  EXPECT_EQ(picker.caption(), "Shawwal 1446 AH");
  const std::int64_t eid = *hijri.DaysOf({1446, 10, 1});
  EXPECT_EQ(picker.dayButton(eid)->property("holiday").toString(), "Eid al-Fitr 1446");
  EXPECT_TRUE(picker.dayButton(eid)->property("nonWorking").toBool());
  Click(picker, "previousMonth");
  EXPECT_EQ(picker.caption(), "Ramadan 1446 AH");
  EXPECT_EQ(picker.month().length, 29);
  Click(picker, "nextMonth");

  const std::int64_t tenth = *hijri.DaysOf({1446, 10, 10});
  ASSERT_NE(picker.dayButton(tenth), nullptr);
  QTest::mouseClick(picker.dayButton(tenth), Qt::LeftButton);
  QTest::qWait(20);
  EXPECT_EQ(Cell(view, 0, "Start"), "Tue 08/04/25");
  EXPECT_EQ(Cell(view, 0, "HijriStart"), "10/10/1446");
  EXPECT_FALSE(project.Saved());

  ASSERT_TRUE(view.model().undo());
  EXPECT_EQ(Cell(view, 0, "Start"), "Mon 04/11/24");
  EXPECT_EQ(Cell(view, 0, "HijriStart"), "02/05/1446");

  // The Hijri column's picker opens in the Hijri calendar and writes Hijri text; the Start
  // cell's opens in the calendar last picked in.
  editor = OpenPicker(view, 1, "HijriStart");
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->picker()->calendar(), wb::TierCalendar::kHijri);
  // From the keyboard: the next month, onto its first day, a week on and back, Enter.
  DatePicker* keyboard = editor->picker();
  for (Qt::Key key : {Qt::Key_PageDown, Qt::Key_Right, Qt::Key_Down, Qt::Key_Up}) {
    QTest::keyClick(keyboard, key);
  }
  EXPECT_EQ(keyboard->caption(), "Jumada II 1446 AH");
  EXPECT_EQ(keyboard->selectedDay(), hijri.DaysOf({1446, 6, 1}));
  QTest::keyClick(keyboard, Qt::Key_Return);
  QTest::qWait(20);
  EXPECT_EQ(Cell(view, 1, "HijriStart"), "01/06/1446");
  EXPECT_EQ(Cell(view, 1, "Start"), "Mon 02/12/24");
  editor = OpenPicker(view, 1, "Start");
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->picker()->calendar(), wb::TierCalendar::kHijri);
  EXPECT_EQ(editor->picker()->caption(), "Jumada II 1446 AH");
  QTest::keyClick(editor->picker(), Qt::Key_Escape);
}

TEST_F(SheetToolsTest, SortingByHijriStartGoesByDateKeepsTheOutlineAndUndoes) {
  // Given a summary whose subtasks start on 02/05/1446 and 28/04/1446 (as text the first comes
  // first), the second the predecessor of the first and of a later task, expect the header's Sort
  // Ascending on HijriStart to put them in date order within their summary, the summary before the
  // later task, IDs and the link's predecessor renumbered, as one undoable step; Sort Descending
  // without the outline to list the view alone in reverse date order, the project untouched, and
  // Sort by ID to return.
  ConnectAddIn();
  OpenPairedPlan(Plan()
                     .StartingOn(2024, 10, 31)
                     .AddTask("Fit-out", 1, 1)
                     .AddTask("Ceilings", 1, 2)
                     .AddTask("Survey", 2, 2)
                     .AddTask("Handover", 1, 1)
                     .Link(3, 2)
                     .Link(3, 4));
  ProjectView& view = Show();
  auto names = [&view] {
    QStringList shown;
    for (int row = 0; row < view.model().outline().RowCount(); ++row) {
      shown << Cell(view, row, "Task Name") + " " + Cell(view, row, "HijriStart");
    }
    return shown.join(", ").toStdString();
  };
  const std::string as_built =
      "Fit-out 28/04/1446, Ceilings 02/05/1446, Survey 28/04/1446, Handover 02/05/1446";
  ASSERT_EQ(names(), as_built);
  const int hijri_column = ColumnTitled(view, "HijriStart");
  SortCommands& sorting = window().sorting();

  std::unique_ptr<QMenu> menu(sorting.headerMenu(view, hijri_column));
  ASSERT_TRUE(menu->findChild<QAction*>("sortKeepOutline")->isChecked());
  menu->findChild<QAction*>("sortAscending")->trigger();
  EXPECT_EQ(names(),
            "Fit-out 28/04/1446, Survey 28/04/1446, Ceilings 02/05/1446, Handover 02/05/1446");
  EXPECT_EQ(Cell(view, 1, "ID"), "2");
  EXPECT_EQ(Cell(view, 2, "Predecessors"), "2");
  EXPECT_EQ(Cell(view, 3, "Predecessors"), "2");
  EXPECT_EQ(view.model().outline().TaskOfRow(2)->OutlineLevel(), 2);
  EXPECT_EQ(view.model().history().UndoName(), "Sort");

  ASSERT_TRUE(view.model().undo());
  EXPECT_EQ(names(), as_built);
  EXPECT_EQ(Cell(view, 3, "Predecessors"), "3");

  const std::uint64_t changes = app().ActiveProject()->ChangeCount();
  menu.reset(sorting.headerMenu(view, hijri_column));
  menu->findChild<QAction*>("sortKeepOutline")->setChecked(false);
  menu->findChild<QAction*>("sortDescending")->trigger();
  EXPECT_EQ(names(),
            "Ceilings 02/05/1446, Handover 02/05/1446, Fit-out 28/04/1446, Survey 28/04/1446");
  EXPECT_EQ(view.model().index(1, 0).data(TaskSheetModel::OutlineLevelRole).toInt(), 1);
  EXPECT_EQ(app().ActiveProject()->ChangeCount(), changes);
  EXPECT_EQ(Cell(view, 0, "ID"), "2");
  // An edit in the flat view is sorted in, and the cell typed into stays the current one.
  TypeIntoCell(view, 1, "HijriStart", "20/05/1446");
  EXPECT_EQ(names(),
            "Handover 20/05/1446, Ceilings 02/05/1446, Fit-out 28/04/1446, Survey 28/04/1446");
  EXPECT_EQ(view.sheet().currentIndex().row(), 0);
  // An edit that leaves its row in place goes on to the row below, as Enter does elsewhere.
  TypeIntoCell(view, 2, "Task Name", "Fit-out");
  EXPECT_EQ(Cell(view, 2, "Task Name"), "Fit-out");
  EXPECT_EQ(view.sheet().currentIndex().row(), 3);

  menu.reset(sorting.headerMenu(view, hijri_column));
  menu->findChild<QAction*>("sortById")->trigger();
  EXPECT_FALSE(view.model().outline().IsFlat());
  EXPECT_EQ(Cell(view, 2, "Task Name"), "Survey");
  EXPECT_EQ(Cell(view, 3, "HijriStart"), "20/05/1446");
  sorting.setKeepsOutline(true);
}

}  // namespace
}  // namespace lunavant::desktop
