// SPDX-License-Identifier: MIT
// The desktop program driven as a user drives it: real widgets on the offscreen platform, the
// reference host behind them, the add-in's event object and the real converter.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

#include "addin/shell/hijri_add_frm.h"
#include "addin/shell/hijri_remove_frm.h"
#include "desktop/command_toolbars.h"
#include "desktop/desktop_session.h"
#include "desktop/main_window.h"
#include "desktop/project_view.h"
#include "desktop/qt_dialogs.h"
#include "desktop/qt_services.h"
#include "tests/support/desktop_fixture.h"
#include "tests/support/modal_watcher.h"
#include "workbench/files/bundled_sample.h"
#include "workbench/files/project_file.h"
#include "workbench/model/field_catalog.h"
#include "workbench/view/hijri_days.h"

namespace lunavant::desktop {
namespace {

namespace wb = lunavant::workbench;

[[maybe_unused]] const auto* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new test_support::QtEnvironment("desktop_test"));

using test_support::ModalWatcher;
using test_support::ShownBox;

class DesktopTest : public test_support::DesktopSessionTest {};

constexpr wb::TimescaleZoom kDays = wb::TimescaleZoom::kDays;

TEST_F(DesktopTest, SheetShowsTheCurrentTableWithItsOutline) {
  // Given a phase with subtasks, a blank row, an Arabic task name and an Arabic alias, expect the
  // Entry table's columns in order with their titles, alignments and widths, the outline
  // collapsing from its marker in sheet and chart alike, and View > Table switching tables.
  const QString arabic_name = QStringLiteral("تركيب الأبواب");
  const QString arabic_alias = QStringLiteral("التاريخ الهجري");
  Plan()
      .AddTask("Fit-out", 1, 1)
      .AddTask("Partitions", 3, 2)
      .AddTask(arabic_name.toStdString(), 2, 2)
      .AddBlankRow()
      .AddTask("Handover", 0, 1)
      .Link(2, 3)
      .Column("Entry", wb::field::kText1)
      .Alias(wb::field::kText1, arabic_alias.toStdString())
      .Build();
  ProjectView& view = Show();
  TaskSheetModel& model = view.model();

  QStringList titles;
  for (int column = 0; column < model.columnCount(); ++column) {
    titles << model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
  }
  EXPECT_EQ(titles, (QStringList{"ID", "Indicators", "Task Name", "Duration", "Start", "Finish",
                                 "Predecessors", "Resource Names", arabic_alias}));
  const int duration = ColumnTitled(view, "Duration");
  EXPECT_EQ(model.index(0, duration).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignHorizontal_Mask,
            Qt::AlignRight);
  EXPECT_EQ(
      model.headerData(duration, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
          Qt::AlignHorizontal_Mask,
      Qt::AlignHCenter);
  // Widths keep the table's proportions: Task Name is 24 characters, Start 12.
  const int name_width = view.sheet().columnWidth(ColumnTitled(view, "Task Name"));
  const int start_width = view.sheet().columnWidth(ColumnTitled(view, "Start"));
  EXPECT_EQ(name_width - 8, 2 * (start_width - 8));

  EXPECT_EQ(Cell(view, 2, "Task Name"), arabic_name);
  EXPECT_TRUE(Cell(view, 2, "Task Name").isRightToLeft());
  EXPECT_EQ(Cell(view, 2, "Predecessors"), "2");
  EXPECT_EQ(Cell(view, 3, "Task Name"), "");
  EXPECT_FALSE(model.flags(model.index(3, ColumnTitled(view, "Task Name"))) & Qt::ItemIsEditable);
  // A field that project files do not keep takes no typing: a save would lose it.
  EXPECT_TRUE(model.flags(model.index(2, ColumnTitled(view, "Task Name"))) & Qt::ItemIsEditable);
  EXPECT_FALSE(model.flags(model.index(2, ColumnTitled(view, "Resource Names"))) &
               Qt::ItemIsEditable);
  EXPECT_TRUE(view.chart().barRect(3).isNull());

  // The summary's marker collapses the phase: the blank row inside it goes too.
  const QRect marker = view.outlineMarkerRect(0);
  ASSERT_FALSE(marker.isEmpty());
  const double handover_bar_y = view.chart().barRect(4).center().y();
  QTest::mouseClick(view.sheet().viewport(), Qt::LeftButton, {}, marker.center());
  ASSERT_EQ(model.outline().RowCount(), 2);
  EXPECT_EQ(Cell(view, 1, "Task Name"), "Handover");
  EXPECT_EQ(view.chart().barRect(1).center().y(), handover_bar_y - 3 * view.chart().rowHeight());
  QTest::mouseClick(view.sheet().viewport(), Qt::LeftButton, {}, marker.center());
  EXPECT_EQ(model.outline().RowCount(), 5);

  // View > Table lists the project's tables and applies the one picked.
  QMenu* tables = window().tableMenu();
  emit tables->aboutToShow();
  QAction* schedule = nullptr;
  for (QAction* item : tables->actions()) {
    if (item->text() == "Schedule") schedule = item;
    if (item->text() == "Entry") {
      EXPECT_TRUE(item->isChecked());
    }
  }
  ASSERT_NE(schedule, nullptr);
  schedule->trigger();
  EXPECT_EQ(app().ActiveProject()->CurrentTable(), "Schedule");
  EXPECT_EQ(model.headerData(4, Qt::Horizontal, Qt::DisplayRole).toString(), "Late Start");
}

TEST_F(DesktopTest, TheIndicatorsMarkAManualTaskAndSayWhy) {
  // Given a manual task beside an automatic one, expect the Indicators column to mark the manual
  // one, its tip to say that links do not move it, and the other to have neither.
  wb::Project& pj = Plan().AddTask("By hand", 2).AddTask("Automatic", 1).Build();
  static_cast<wb::Task*>(pj.TaskAt(1))->SetManual(true);
  ProjectView& view = Show();
  EXPECT_EQ(Cell(view, 0, "Indicators"), QString(QChar(0x270B)));
  const QModelIndex marked = view.model().index(0, ColumnTitled(view, "Indicators"));
  EXPECT_TRUE(marked.data(Qt::ToolTipRole).toString().startsWith("Manually scheduled"));
  EXPECT_EQ(Cell(view, 1, "Indicators"), "");
  EXPECT_FALSE(
      view.model().index(1, ColumnTitled(view, "Indicators")).data(Qt::ToolTipRole).isValid());
}

TEST_F(DesktopTest, TypedHijriTextMovesStartAndTheBar) {
  // Given Start paired with Text1 and the add-in listening, expect a Hijri date typed into the
  // Hijri column to move the task's Start, its successor and both bars, and the typed text to
  // stay. 1 Jumada II 1446 is Monday 2 December 2024, 28 days after the project start.
  ConnectAddIn();
  OpenPairedPlan(
      Plan().StartingOn(2024, 11, 4).AddTask("Survey", 3).AddTask("Design", 2).Link(1, 2));
  ProjectView& view = Show();
  view.chart().setZoom(kDays);
  const QRectF survey_before = view.chart().barRect(0);
  const QRectF design_before = view.chart().barRect(1);
  ASSERT_EQ(Cell(view, 0, "Start"), "Mon 04/11/24");

  TypeIntoCell(view, 0, "HijriStart", "01/06/1446");

  EXPECT_EQ(Cell(view, 0, "Start"), "Mon 02/12/24");
  EXPECT_EQ(Cell(view, 0, "HijriStart"), "01/06/1446");
  EXPECT_EQ(Cell(view, 1, "Start"), "Thu 05/12/24");
  const double shift = 28 * view.chart().timescale().PixelsPerDay();
  EXPECT_DOUBLE_EQ(view.chart().barRect(0).left(), survey_before.left() + shift);
  EXPECT_DOUBLE_EQ(view.chart().barRect(1).left(), design_before.left() + shift);
  EXPECT_EQ(window().tabs().tabText(0), "Plan*");
  // The add-in's busy pointer is back to normal once the recalculation is over.
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(DesktopTest, RefusedEditsKeepTheOldValue) {
  // Given the add-in listening, expect a Hijri text it cannot read to be refused with its own
  // message box, and a duration the host cannot read with the host's; both cells keep their
  // values and nothing moves.
  ConnectAddIn();
  OpenPairedPlan(Plan().AddTask("Survey", 3));
  ProjectView& view = Show();
  const QString hijri_before = Cell(view, 0, "HijriStart");
  ASSERT_FALSE(hijri_before.isEmpty());

  std::vector<ShownBox> shown;
  ModalWatcher watcher;
  watcher.AnswerBox(shown, QMessageBox::Ok);
  TypeIntoCell(view, 0, "HijriStart", "45/13/1425");
  watcher.WaitUntilDone();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].title, "Lunavant");
  EXPECT_TRUE(shown[0].text.contains("Invalid Hijri Date")) << shown[0].text.toStdString();
  EXPECT_EQ(shown[0].icon, QMessageBox::Warning);
  EXPECT_EQ(shown[0].buttons, QMessageBox::Ok);
  EXPECT_EQ(Cell(view, 0, "HijriStart"), hijri_before);
  EXPECT_EQ(Cell(view, 0, "Start"), "Mon 01/03/04");

  watcher.AnswerBox(shown, QMessageBox::Ok);
  TypeIntoCell(view, 0, "Duration", "soon");
  watcher.WaitUntilDone();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_FALSE(shown[1].text.isEmpty());
  EXPECT_EQ(Cell(view, 0, "Duration"), "3 days");
  EXPECT_EQ(Cell(view, 0, "Finish"), "Wed 03/03/04");
}

TEST_F(DesktopTest, MessageBoxesAndThePointerFollowTheHostsRequests) {
  // Given the host's message boxes and pointer, expect a Yes/No box with the exclamation icon and
  // Yes as its default, the answer handed back, and the busy pointer shown as the wait cursor.
  Plan().AddTask("Survey", 3).Build();
  Show();
  std::vector<ShownBox> shown;
  ModalWatcher watcher;
  watcher.AnswerBox(shown, QMessageBox::No);
  host::Platform& platform = app().Services();
  EXPECT_EQ(
      platform.Messages().MsgBox("Sure?", host::MsgBoxStyle::kYesNoExclamationYesFirst, "Lunavant"),
      host::MsgBoxResult::kNo);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(shown[0].default_button, QMessageBox::Yes);
  EXPECT_EQ(shown[0].icon, QMessageBox::Warning);
  EXPECT_EQ(shown[0].text, "Sure?");

  platform.Pointer().SetMousePointer(host::kPointerBusy);
  platform.Pointer().SetMousePointer(host::kPointerBusy);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  platform.Pointer().SetMousePointer(host::kPointerDefault);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(DesktopTest, SwitchingTabsActivatesProjectsAndClosingAsksTheHost) {
  // Given two open projects, expect a click on a tab to activate that project's window through
  // the host, and a tab's close button to close it unless a handler keeps it open.
  Plan("First").AddTask("A", 1).Build();
  Plan("Second").AddTask("B", 2).Build();
  test_support::RecordingSink sink;
  app().AddEventSink(sink);
  Show();
  QTabBar* bar = window().tabs().tabBar();
  ASSERT_EQ(bar->count(), 2);
  EXPECT_EQ(bar->currentIndex(), 1);

  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
  EXPECT_EQ(app().ActiveProject()->Name(), "First");
  EXPECT_EQ(sink.log, (std::vector<std::string>{"WindowActivate(First)"}));
  EXPECT_EQ(window().currentView()->model().index(0, 2).data().toString(), "A");
  EXPECT_EQ(window().windowTitle().left(5), "First");

  sink.on_close = [](host::Project*, bool& cancel) { cancel = true; };
  auto* close_button = bar->tabButton(0, QTabBar::RightSide);
  ASSERT_NE(close_button, nullptr);
  QTest::mouseClick(close_button, Qt::LeftButton);
  EXPECT_EQ(bar->count(), 2);
  sink.on_close = nullptr;
  QTest::mouseClick(bar->tabButton(0, QTabBar::RightSide), Qt::LeftButton);
  ASSERT_EQ(bar->count(), 1);
  EXPECT_EQ(app().ActiveProject()->Name(), "Second");
  EXPECT_EQ(window().currentView()->model().index(0, 2).data().toString(), "B");
  app().RemoveEventSink(sink);
}

TEST_F(DesktopTest, TimescaleShowsHijriTiersAboveOrBelowAndZooms) {
  // Given a project starting on 1 March 2004 (10 Muharram 1425), expect the Hijri month of the
  // start in the timescale, the Hijri tiers placed as the user chooses with the sheet's header as
  // tall as the timescale, and zooming down to years keeping one tier per calendar.
  Plan().StartingOn(2004, 3, 1).AddTask("Survey", 3).Build();
  ProjectView& view = Show();
  GanttChart& chart = view.chart();
  chart.setZoom(kDays);
  using wb::TierCalendar;
  auto calendars = [&chart] {
    std::vector<TierCalendar> order;
    for (const GanttChart::Tier& tier : chart.tiers()) order.push_back(tier.calendar);
    return order;
  };
  auto labels = [&chart](int tier) {
    QStringList shown;
    for (const wb::TierCell& cell : chart.visibleCells(tier)) {
      shown << QString::fromStdString(cell.label);
    }
    return shown;
  };
  EXPECT_EQ(calendars(),
            (std::vector<TierCalendar>{TierCalendar::kHijri, TierCalendar::kHijri,
                                       TierCalendar::kGregorian, TierCalendar::kGregorian}));
  EXPECT_TRUE(labels(0).contains("Muharram 1425")) << labels(0).join(",").toStdString();
  EXPECT_TRUE(labels(2).contains("March 2004"));

  window().action("viewHijriBelow")->trigger();
  EXPECT_EQ(calendars().front(), TierCalendar::kGregorian);
  EXPECT_TRUE(labels(2).contains("Muharram 1425"));
  window().action("viewHijriHidden")->trigger();
  EXPECT_EQ(calendars(),
            (std::vector<TierCalendar>{TierCalendar::kGregorian, TierCalendar::kGregorian}));
  EXPECT_EQ(view.sheet().horizontalHeader()->height(), chart.headerHeight());
  window().action("viewHijriAbove")->trigger();
  EXPECT_EQ(view.sheet().horizontalHeader()->height(), chart.headerHeight());

  const double close_width = chart.barRect(0).width();
  for (int step = 0; step < 6; ++step) window().action("viewZoomOut")->trigger();
  EXPECT_EQ(chart.timescale().Zoom(), wb::kWidestZoom);
  EXPECT_LT(chart.barRect(0).width(), close_width / 50);
  EXPECT_EQ(calendars(),
            (std::vector<TierCalendar>{TierCalendar::kHijri, TierCalendar::kGregorian}));
  EXPECT_TRUE(labels(0).contains("1425 AH"));
  EXPECT_EQ(view.sheet().horizontalHeader()->height(), chart.headerHeight());
}

TEST_F(DesktopTest, RegionalSettingsChangeHowDatesShow) {
  // Given the Regional Settings dialog, expect a new short-date pattern and separator to show in
  // the sheet at once, and clearing the override to go back to the locale's.
  Plan().StartingOn(2004, 3, 1).AddTask("Survey", 3).Build();
  ProjectView& view = Show();
  ModalWatcher watcher;
  watcher.Then([](QWidget& dialog) {
    dialog.findChild<QCheckBox*>("overrideBox")->setChecked(true);
    auto* pattern = dialog.findChild<QLineEdit*>("patternEdit");
    pattern->clear();
    QTest::keyClicks(pattern, "yyyy-MM-dd");
    auto* separator = dialog.findChild<QLineEdit*>("separatorEdit");
    separator->clear();
    QTest::keyClicks(separator, "-");
    dialog.findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
  });
  window().action("toolsRegional")->trigger();
  EXPECT_TRUE(watcher.Done());
  EXPECT_EQ(app().DateSeparator(), "-");
  EXPECT_EQ(Cell(view, 0, "Start"), "Mon 04-03-01");

  // An empty pattern cannot be taken.
  watcher.Then([](QWidget& dialog) {
    auto* pattern = dialog.findChild<QLineEdit*>("patternEdit");
    pattern->clear();
    auto* buttons = dialog.findChild<QDialogButtonBox*>("buttons");
    EXPECT_FALSE(buttons->button(QDialogButtonBox::Ok)->isEnabled());
    dialog.findChild<QCheckBox*>("overrideBox")->setChecked(false);
    buttons->button(QDialogButtonBox::Ok)->click();
  });
  window().action("toolsRegional")->trigger();
  EXPECT_TRUE(watcher.Done());
  EXPECT_EQ(app().Regional().ShortDatePattern(), wb::PosixRegionalSettings().ShortDatePattern());
}

// Clicks the toolbar button of the add-in's bar tagged `tag`, as the user does.
void ClickAddInButton(MainWindow& window, const QString& tag) {
  QAction* action = window.toolbars().buttonAction("Lunavant", tag);
  ASSERT_NE(action, nullptr) << tag.toStdString();
  QWidget* button = window.toolbars().toolbar("Lunavant")->widgetForAction(action);
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
}

TEST_F(DesktopTest, AddRemoveSaveAndReopenThroughTheAddInsToolbar) {
  // Given the built add-in registered and loaded at start-up, expect its toolbar hidden until the
  // user shows it; Add with its dialog filled and OK to show the Hijri column in the sheet; the
  // pair to survive Save As, Close and Open; Remove with No to keep it and with Yes to drop it.
  StartWithTheAddInModule();
  ASSERT_NE(window().toolbars().toolbar("Lunavant"), nullptr);
  EXPECT_FALSE(app().CommandBars()->Item("Lunavant")->Visible());
  Plan().StartingOn(2024, 11, 4).AddTask("Survey", 3).AddTask("Design", 2).Link(1, 2).Build();
  ProjectView* view = &Show();
  EXPECT_TRUE(window().toolbars().toolbar("Lunavant")->isHidden());
  QMenu* toolbars = window().findChild<QMenu*>("viewToolbars");
  emit toolbars->aboutToShow();
  for (QAction* item : toolbars->actions()) {
    if (item->text() == "Lunavant") item->trigger();
  }
  EXPECT_TRUE(window().toolbars().toolbar("Lunavant")->isVisible());

  // While a cell is being edited the host is busy: its own buttons are disabled, the add-in's
  // are left as the add-in set them.
  const QModelIndex name_cell = view->model().index(0, ColumnTitled(*view, "Task Name"));
  view->sheet().setCurrentIndex(name_cell);
  view->sheet().edit(name_cell);
  window().syncToolbars();
  EXPECT_FALSE(window().toolbars().buttonAction("Standard", "New")->isEnabled());
  EXPECT_TRUE(window().toolbars().buttonAction("Lunavant", "Add Hijri")->isEnabled());
  QTest::keyClick(view->sheet().indexWidget(name_cell), Qt::Key_Escape);
  window().syncToolbars();
  EXPECT_TRUE(window().toolbars().buttonAction("Standard", "New")->isEnabled());

  ModalWatcher watcher;
  QStringList offered_dates;
  watcher.Then([&offered_dates](QWidget& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Add Hijri Field");
    auto* greg = dialog.findChild<QComboBox*>("GregField");
    for (int i = 0; i < greg->count(); ++i) offered_dates << greg->itemText(i);
    auto* title = dialog.findChild<QLineEdit*>("HijriTitle");
    QTest::keyClicks(title, "Hijri Start");
    QTest::mouseClick(dialog.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
  });
  ClickAddInButton(window(), "Add Hijri");
  EXPECT_TRUE(watcher.Done());
  EXPECT_EQ(offered_dates, (QStringList{"Start", "Finish"}));
  EXPECT_EQ(Cell(*view, 0, "Hijri Start"), "02/05/1446");
  EXPECT_EQ(Cell(*view, 1, "Hijri Start"), "05/05/1446");
  EXPECT_EQ(ColumnTitled(*view, "Hijri Start"), ColumnTitled(*view, "Start") + 1);

  QTemporaryDir files;
  const QString path = files.filePath("plan.xml");
  ASSERT_TRUE(window().saveProjectAs(path));
  ASSERT_TRUE(window().closeCurrentProject());
  EXPECT_EQ(window().tabs().count(), 0);
  ASSERT_TRUE(window().openFile(path));
  view = window().currentView();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(Cell(*view, 0, "Hijri Start"), "02/05/1446");
  emit window().recentMenu()->aboutToShow();
  EXPECT_EQ(window().recentMenu()->actions().front()->data().toString(),
            QFileInfo(path).absoluteFilePath());

  // The reopened pair is live: typed Hijri text moves the task.
  TypeIntoCell(*view, 0, "Hijri Start", "01/06/1446");
  EXPECT_EQ(Cell(*view, 0, "Start"), "Mon 02/12/24");

  std::vector<ShownBox> shown;
  auto pick_and_confirm = [&](QMessageBox::StandardButton answer) {
    watcher.Then([](QWidget& dialog) {
      EXPECT_EQ(dialog.windowTitle(), "Remove Hijri Field");
      EXPECT_EQ(dialog.findChild<QComboBox*>("HijriField")->currentText(), "HijriStart");
      QTest::mouseClick(dialog.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    });
    watcher.AnswerBox(shown, answer);
    ClickAddInButton(window(), "Remove Hijri");
    watcher.WaitUntilDone();
  };
  pick_and_confirm(QMessageBox::No);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text,
            "You are about to remove the Hijri field HijriStart entirely from your active "
            "project, are you sure you want to continue?");
  EXPECT_EQ(shown[0].title, "Lunavant");
  EXPECT_EQ(shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
  EXPECT_EQ(shown[0].default_button, QMessageBox::Yes);
  EXPECT_EQ(ColumnTitled(*view, "Hijri Start"), 5);

  pick_and_confirm(QMessageBox::Yes);
  ASSERT_EQ(shown.size(), 2u);
  QStringList titles;
  for (int column = 0; column < view->model().columnCount(); ++column) {
    titles << view->model().headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
  }
  EXPECT_FALSE(titles.contains("Hijri Start"));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(DesktopTest, TheSampleTakesAnotherPairAndTheAddInComesAndGoes) {
  // Given the bundled sample with Start and Finish paired, expect its Hijri columns filled from
  // the converter; Add on the Schedule table to pair Late Start with the next free text field and
  // show its Hijri dates; Tools > Add-Ins to disconnect the add-in (its toolbar goes) and connect
  // it again (its toolbar shows, as a connection made by the user does).
  StartWithTheAddInModule();
  wb::OpenBundledSample(app());
  ProjectView& view = Show();
  app().CommandBars()->Item("Lunavant")->SetVisible(true);
  window().syncToolbars();
  auto hijri_text = [this](wb::Moment when) {
    const wb::HijriDate date = *session_.hijri().FromDays(wb::DayOf(when));
    return QString("%1/%2/%3")
        .arg(date.day, 2, 10, QChar('0'))
        .arg(date.month, 2, 10, QChar('0'))
        .arg(date.year);
  };
  const wb::Task* first = view.model().taskAt(0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(Cell(view, 0, "HijriStart"), hijri_text(first->Start()));

  window().applyTable("Schedule");
  ModalWatcher watcher;
  watcher.Then([](QWidget& dialog) {
    EXPECT_EQ(dialog.findChild<QComboBox*>("GregField")->currentText(), "Late Start");
    QTest::mouseClick(dialog.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
  });
  ClickAddInButton(window(), "Add Hijri");
  ASSERT_TRUE(watcher.Done());
  const int late_start = ColumnTitled(view, "HijriLate Start");
  ASSERT_GE(late_start, 0);
  for (int row = 0; row < 5; ++row) {
    const wb::Task* task = view.model().taskAt(row);
    ASSERT_NE(task, nullptr);
    ASSERT_TRUE(task->LateStart().has_value());
    EXPECT_EQ(view.model().index(row, late_start).data().toString(),
              hijri_text(*task->LateStart()));
  }

  auto tick_lunavant = [&watcher](bool connected) {
    watcher.Then([connected](QWidget& dialog) {
      auto* list = dialog.findChild<QListWidget*>("addInList");
      ASSERT_EQ(list->count(), 1);
      EXPECT_EQ(list->item(0)->text(), "Lunavant");
      EXPECT_EQ(dialog.findChild<QLabel*>("descriptionLabel")->text(),
                "COM Add-In for Microsoft Office Project 2003");
      list->item(0)->setCheckState(connected ? Qt::Checked : Qt::Unchecked);
      dialog.findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
    });
  };
  tick_lunavant(false);
  window().action("toolsAddIns")->trigger();
  ASSERT_TRUE(watcher.Done());
  EXPECT_EQ(window().toolbars().toolbar("Lunavant"), nullptr);
  tick_lunavant(true);
  window().action("toolsAddIns")->trigger();
  ASSERT_TRUE(watcher.Done());
  ASSERT_NE(window().toolbars().toolbar("Lunavant"), nullptr);
  EXPECT_TRUE(window().toolbars().toolbar("Lunavant")->isVisible());
  EXPECT_NE(window().toolbars().buttonAction("Lunavant", "Refresh Hijri"), nullptr);
}

// The last top-level dialog made with the caption `caption`; null when there is none.
QDialog* DialogTitled(const std::string& caption) {
  QDialog* dialog = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (auto* candidate = qobject_cast<QDialog*>(top);
        candidate != nullptr && candidate->windowTitle() == QString::fromStdString(caption)) {
      dialog = candidate;
    }
  }
  return dialog;
}

TEST_F(DesktopTest, DialogGeometryFollowsTwipsAtTheLogicalResolution) {
  // Given the add-in's two forms, expect at 96 and at 120 logical dots per inch a fixed client
  // area and controls placed at their twips converted to pixels, focus moving by tab index, and
  // no minimise or maximise button.
  QtDialogToolkit& toolkit = session_.dialogs();
  host::FormHandlers nothing;
  for (const host::FormSpec* spec :
       {&shell::HijriAddFrm::Layout(), &shell::HijriRemoveFrm::Layout()}) {
    for (double dpi : {96.0, 120.0}) {
      SCOPED_TRACE(spec->caption + " at " + std::to_string(dpi));
      toolkit.setDotsPerInch(dpi);
      std::unique_ptr<host::Form> form = toolkit.CreateForm(*spec, nothing);
      QDialog* dialog = DialogTitled(spec->caption);
      ASSERT_NE(dialog, nullptr);
      const QSize client(static_cast<int>(std::lround(spec->client_width * dpi / 1440)),
                         static_cast<int>(std::lround(spec->client_height * dpi / 1440)));
      EXPECT_EQ(dialog->size(), client);
      EXPECT_EQ(dialog->minimumSize(), client);
      EXPECT_EQ(dialog->maximumSize(), client);
      EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMinimizeButtonHint);
      EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
      EXPECT_TRUE(dialog->windowFlags() & Qt::WindowCloseButtonHint);
      std::vector<const host::ControlSpec*> focus_order;
      for (const host::ControlSpec& control : spec->controls) {
        auto* widget = dialog->findChild<QWidget*>(QString::fromStdString(control.name));
        ASSERT_NE(widget, nullptr) << control.name;
        auto px = [dpi](std::int32_t twips) {
          return static_cast<int>(std::lround(twips * dpi / 1440));
        };
        if (control.kind == host::ControlKind::kLabel) {
          // Labels may be fitted to the client area (see the next test).
          EXPECT_EQ(widget->geometry().topLeft(), QPoint(px(control.left), px(control.top)))
              << control.name;
          EXPECT_LE(widget->width(), px(control.width)) << control.name;
        } else {
          EXPECT_EQ(widget->geometry(),
                    QRect(px(control.left), px(control.top), px(control.width), px(control.height)))
              << control.name;
        }
        if (!control.tooltip.empty()) {
          EXPECT_EQ(widget->toolTip().toStdString(), control.tooltip);
        }
        if (control.kind != host::ControlKind::kLabel) focus_order.push_back(&control);
        EXPECT_EQ(widget->focusPolicy() == Qt::NoFocus, control.kind == host::ControlKind::kLabel)
            << control.name;
      }
      std::stable_sort(focus_order.begin(), focus_order.end(),
                       [](auto* a, auto* b) { return a->tab_index < b->tab_index; });
      for (std::size_t i = 1; i < focus_order.size(); ++i) {
        QWidget* from =
            dialog->findChild<QWidget*>(QString::fromStdString(focus_order[i - 1]->name));
        QWidget* next = from->nextInFocusChain();
        // Labels stay in Qt's chain without taking focus, and a drop-down list's line edit follows
        // its list there.
        while (next != nullptr &&
               (next->parentWidget() != dialog || next->focusPolicy() == Qt::NoFocus)) {
          next = next->nextInFocusChain();
        }
        ASSERT_NE(next, nullptr);
        EXPECT_EQ(next->objectName().toStdString(), focus_order[i]->name);
      }
    }
  }
  toolkit.setDotsPerInch(std::nullopt);
  EXPECT_EQ(toolkit.dotsPerInch(), QGuiApplication::primaryScreen()->logicalDotsPerInchY());
}

TEST_F(DesktopTest, DialogLabelsWrapWithinTheClientAreaAndShowTheirWholeText) {
  // Given the add-in's two forms at 96 and at 120 logical dots per inch, in the usual font and in
  // a large one, expect every label inside the client area, its text wrapped and tall enough to be
  // read whole. The Add form's first label is specified wider than the client area.
  QtDialogToolkit& toolkit = session_.dialogs();
  host::FormHandlers nothing;
  const QFont usual = QApplication::font();
  QFont large = usual;
  large.setPointSizeF(12);
  for (const QFont& font : {usual, large}) {
    QApplication::setFont(font);
    for (const host::FormSpec* spec :
         {&shell::HijriAddFrm::Layout(), &shell::HijriRemoveFrm::Layout()}) {
      for (double dpi : {96.0, 120.0}) {
        SCOPED_TRACE(spec->caption + " at " + std::to_string(dpi) + " in " +
                     std::to_string(font.pointSizeF()) + " points");
        toolkit.setDotsPerInch(dpi);
        std::unique_ptr<host::Form> form = toolkit.CreateForm(*spec, nothing);
        QDialog* dialog = DialogTitled(spec->caption);
        ASSERT_NE(dialog, nullptr);
        for (const host::ControlSpec& control : spec->controls) {
          if (control.kind != host::ControlKind::kLabel) continue;
          auto* label = dialog->findChild<QLabel*>(QString::fromStdString(control.name));
          ASSERT_NE(label, nullptr) << control.name;
          const QRect area = label->geometry();
          EXPECT_TRUE(dialog->rect().contains(area)) << control.name;
          EXPECT_TRUE(label->wordWrap()) << control.name;
          EXPECT_LE(label->heightForWidth(area.width()), area.height()) << control.name;
          EXPECT_EQ(label->text().toStdString(), control.text);
        }
      }
    }
  }
  QApplication::setFont(usual);
  toolkit.setDotsPerInch(std::nullopt);
}

}  // namespace
}  // namespace lunavant::desktop
