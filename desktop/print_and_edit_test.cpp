// SPDX-License-Identifier: MIT
// The schedule leaving the screen (Print Preview, Export PDF) and the sheet's Edit commands (Cut,
// Copy, Paste, Undo, Redo), driven as a user drives them: real widgets on the offscreen platform,
// the reference host, the add-in and the real converter; PDFs are read back with poppler's tools.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QSettings>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <map>
#include <set>

#include "desktop/command_toolbars.h"
#include "desktop/desktop_session.h"
#include "desktop/edit_commands.h"
#include "desktop/main_window.h"
#include "desktop/print_commands.h"
#include "desktop/project_view.h"
#include "desktop/schedule_printout.h"
#include "desktop/task_commands.h"
#include "tests/support/desktop_fixture.h"
#include "workbench/files/bundled_sample.h"
#include "workbench/files/project_file.h"
#include "workbench/ui/command_bars.h"
#include "workbench/view/hijri_days.h"

namespace lunavant::desktop {
namespace {

namespace wb = lunavant::workbench;

[[maybe_unused]] const auto* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new test_support::QtEnvironment("print_and_edit_test"));

// Runs a poppler tool; its standard output, or a failure of the test.
QString RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(30000) || process.exitCode() != 0) {
    ADD_FAILURE() << program.toStdString()
                  << " failed: " << process.readAllStandardError().toStdString();
    return {};
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The share of a picture's pixels that are not white.
double InkShare(const QImage& image) {
  qint64 ink = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 200) ++ink;
    }
  }
  return static_cast<double>(ink) / (static_cast<double>(image.width()) * image.height());
}

class PrintAndEditTest : public test_support::DesktopSessionTest {
 protected:
  static void SelectBlock(ProjectView& view, int top, int bottom, const QString& first_title,
                          const QString& last_title) {
    const QModelIndex from = view.model().index(top, ColumnTitled(view, first_title));
    const QModelIndex to = view.model().index(bottom, ColumnTitled(view, last_title));
    view.sheet().setFocus();
    view.sheet().setCurrentIndex(from);
    view.sheet().selectionModel()->select(QItemSelection(from, to),
                                          QItemSelectionModel::ClearAndSelect);
  }
  static QStringList Column(ProjectView& view, const QString& title) {
    QStringList cells;
    for (int row = 0; row < view.model().outline().RowCount(); ++row)
      cells << Cell(view, row, title);
    return cells;
  }
  void Press(QKeySequence keys) {
    window().activateWindow();
    QApplication::setActiveWindow(&window());
    ProjectView* view = window().currentView();
    QTest::keySequence(view != nullptr ? view->sheet().viewport() : &window(), keys);
    QApplication::processEvents();
  }
};

TEST_F(PrintAndEditTest, ThePdfOfTheSampleShowsSheetAndHijriGanttOnEveryPage) {
  // Given the bundled sample at week zoom on A4 landscape, expect Export PDF to write the pages
  // the layout plans (rows and time both split), each drawn, each with the project's name, its
  // page number, the print date in both calendars and Hijri month names on the timescale; the
  // first page with the sheet's Hijri dates. Portrait Letter and A3 plan other page counts and
  // print as many.
  StartWithTheAddInModule();
  wb::OpenBundledSample(app());
  ProjectView& view = Show();
  view.chart().setZoom(wb::TimescaleZoom::kWeeks);
  QTemporaryDir out;
  const QString pdf = out.filePath("sample.pdf");
  QString error;
  ASSERT_TRUE(window().printing().writePdf(view, pdf, &error)) << error.toStdString();

  SchedulePrintout printout(view.model(), session_.hijri(), view.chart(),
                            window().printing().timescale());
  const std::vector<SchedulePrintout::Page> pages =
      printout.pages(window().printing().pageLayout());
  std::set<int> bands;
  std::set<std::int64_t> slices;
  for (const auto& page : pages) {
    bands.insert(page.first_row);
    slices.insert(page.first_day);
  }
  EXPECT_GT(bands.size(), 1u);
  EXPECT_GT(slices.size(), 1u);
  EXPECT_EQ(pages.size(), bands.size() * slices.size());
  // Every row is on exactly one band, whole.
  int next_row = 0;
  for (int first : bands) {
    EXPECT_EQ(first, next_row);
    next_row = std::find_if(pages.begin(), pages.end(), [first](const auto& p) {
                 return p.first_row == first;
               })->end_row;
  }
  EXPECT_EQ(next_row, view.model().outline().RowCount());

  // Ligatures ("ﬃ") print as one letter; compatibility normalisation reads them as letters.
  const QStringList texts = RunTool("pdftotext", {"-layout", pdf, "-"})
                                .normalized(QString::NormalizationForm_KC)
                                .split(QChar('\f'), Qt::SkipEmptyParts);
  ASSERT_EQ(texts.size(), static_cast<qsizetype>(pages.size()));
  QStringList hijri_months;
  for (int month = 1; month <= 12; ++month) {
    hijri_months << QString::fromStdString(wb::HijriMonthName(month));
  }
  for (qsizetype i = 0; i < texts.size(); ++i) {
    SCOPED_TRACE("page " + std::to_string(i + 1));
    const QString& text = texts[i];
    EXPECT_TRUE(text.contains("riyadh-office-fit-out"));
    EXPECT_TRUE(text.contains(QString("Page %1 of %2").arg(i + 1).arg(pages.size())));
    EXPECT_TRUE(text.contains(printout.printDateText().left(30)));
    EXPECT_TRUE(text.contains(" AH)"));
    EXPECT_TRUE(std::any_of(hijri_months.begin(), hijri_months.end(),
                            [&text](const QString& month) { return text.contains(month); }))
        << text.left(400).toStdString();
    EXPECT_TRUE(text.contains("HijriStart"));
  }
  EXPECT_TRUE(texts.front().contains(Cell(view, 1, "HijriStart")));
  EXPECT_TRUE(texts.front().contains(Cell(view, 1, "Task Name")));

  RunTool("pdftoppm", {"-r", "40", "-png", pdf, out.filePath("page")});
  const QStringList pictures = QDir(out.path()).entryList({"page*.png"}, QDir::Files, QDir::Name);
  ASSERT_EQ(pictures.size(), static_cast<qsizetype>(pages.size()));
  for (const QString& picture : pictures) {
    const QImage image(out.filePath(picture));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), image.height());  // landscape
    EXPECT_GT(InkShare(image), 0.02) << picture.toStdString();
  }

  for (auto size : {QPageSize::Letter, QPageSize::A3}) {
    window().printing().setPageLayout(QPageLayout(
        QPageSize(size), size == QPageSize::Letter ? QPageLayout::Portrait : QPageLayout::Landscape,
        QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    const QString other = out.filePath("other.pdf");
    ASSERT_TRUE(window().printing().writePdf(view, other));
    const qsizetype printed =
        RunTool("pdftotext", {other, "-"}).split(QChar('\f'), Qt::SkipEmptyParts).size();
    EXPECT_EQ(printed,
              static_cast<qsizetype>(printout.pages(window().printing().pageLayout()).size()));
    EXPECT_NE(printed, static_cast<qsizetype>(pages.size()));
  }
  // A file that cannot be written is reported and leaves nothing behind.
  EXPECT_FALSE(window().printing().writePdf(view, out.filePath("missing/folder/x.pdf"), &error));
  EXPECT_TRUE(error.contains("missing/folder/x.pdf"));
}

TEST_F(PrintAndEditTest, PrintPreviewOpensFromTheMenuTheKeyboardAndTheStandardBar) {
  // Given the sample, expect Print Preview from the Standard bar and from Ctrl+Alt+I to show the
  // pages the layout plans; and every button of the Standard bar to be wired to a command.
  StartWithTheAddInModule();
  wb::OpenBundledSample(app());
  ProjectView& view = Show();
  view.chart().setZoom(wb::TimescaleZoom::kMonths);
  const std::size_t planned = SchedulePrintout(view.model(), session_.hijri(), view.chart(),
                                               window().printing().timescale())
                                  .pages(window().printing().pageLayout())
                                  .size();
  int previews = 0;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal->objectName() != "printPreview") return;
    auto* preview = modal->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(preview, nullptr);
    preview->updatePreview();
    EXPECT_EQ(preview->pageCount(), static_cast<int>(planned));
    ++previews;
    modal->close();
  });
  poll.start();
  QAction* button = window().toolbars().buttonAction("Standard", "Print Preview");
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(window().toolbars().toolbar("Standard")->widgetForAction(button),
                    Qt::LeftButton);
  EXPECT_EQ(previews, 1);
  Press(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_I));
  EXPECT_EQ(previews, 2);

  // The Database bar, whose commands this program lacks, is offered nowhere.
  QMenu* popup = window().createPopupMenu();
  for (QAction* item : popup->actions()) {
    EXPECT_FALSE(item->isVisible() && item->text() == "Database");
  }
  delete popup;
  QMenu* toolbars = window().findChild<QMenu*>("viewToolbars");
  emit toolbars->aboutToShow();
  for (QAction* item : toolbars->actions()) EXPECT_NE(item->text(), "Database");

  const std::set<std::string> wired = {"New", "Open", "Save",  "Print", "Print Preview",
                                       "Cut", "Copy", "Paste", "Undo",  "Redo"};
  for (wb::CommandBarButton* standard : app().CommandBars()->Item("Standard")->Buttons()) {
    EXPECT_TRUE(wired.count(standard->Caption())) << standard->Caption();
  }
}

TEST_F(PrintAndEditTest, APastedColumnOfHijriDatesMovesTheTasksAndUndoesInOneStep) {
  // Given Start paired with Text1 and the add-in listening, expect three Hijri dates pasted from a
  // spreadsheet into the Hijri column to reach the add-in as typed text, each moving its task;
  // Ctrl+Z to put all of it back in one step, Ctrl+Y to do it again; Copy to put the block on the
  // clipboard as tab-separated text; Cut to empty the names and the Standard bar's Undo to bring
  // them back.
  ConnectAddIn();
  OpenPairedPlan(Plan()
                     .StartingOn(2024, 11, 4)
                     .AddTask("Survey", 3)
                     .AddTask("Design", 2)
                     .AddTask("Build", 5)
                     .Link(2, 3));
  ProjectView& view = Show();
  const QStringList starts = {Cell(view, 0, "Start"), Cell(view, 1, "Start"),
                              Cell(view, 2, "Start")};
  const QStringList hijri = {Cell(view, 0, "HijriStart"), Cell(view, 1, "HijriStart"),
                             Cell(view, 2, "HijriStart")};
  ASSERT_EQ(starts[0], "Mon 04/11/24");

  SelectBlock(view, 0, 0, "HijriStart", "HijriStart");
  QApplication::clipboard()->setText("01/06/1446\r\n08/06/1446\r\n\"15/06/1446\"\r\n");
  Press(QKeySequence::Paste);
  EXPECT_EQ(Cell(view, 0, "Start"), "Mon 02/12/24");
  EXPECT_EQ(Cell(view, 1, "Start"), "Mon 09/12/24");
  EXPECT_EQ(Cell(view, 2, "Start"), "Mon 16/12/24");
  EXPECT_EQ(Cell(view, 2, "HijriStart"), "15/06/1446");
  EXPECT_EQ(window().action("editUndo")->isEnabled(), true);
  // A typed date pins the task: the Indicators column says so.
  const QModelIndex indicators = view.model().index(0, ColumnTitled(view, "Indicators"));
  EXPECT_FALSE(indicators.data().toString().isEmpty());
  EXPECT_EQ(indicators.data(Qt::ToolTipRole).toString(),
            "This task has a 'Start No Earlier Than' constraint on Mon 02/12/24.");

  Press(QKeySequence(Qt::CTRL | Qt::Key_Z));
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(Cell(view, row, "Start"), starts[row]);
    EXPECT_EQ(Cell(view, row, "HijriStart"), hijri[row]);
    EXPECT_EQ(Cell(view, row, "Indicators"), "");
  }
  EXPECT_FALSE(view.model().history().CanUndo());
  Press(QKeySequence(Qt::CTRL | Qt::Key_Y));
  EXPECT_EQ(Cell(view, 1, "Start"), "Mon 09/12/24");
  EXPECT_EQ(Cell(view, 2, "HijriStart"), "15/06/1446");
  // The add-in keeps the pair in step after the step came back: a Gregorian edit still flows.
  SelectBlock(view, 0, 0, "Duration", "Duration");
  QApplication::clipboard()->setText("4");
  Press(QKeySequence::Paste);
  EXPECT_EQ(Cell(view, 0, "Duration"), "4 days");

  SelectBlock(view, 0, 1, "Task Name", "Duration");
  Press(QKeySequence::Copy);
  EXPECT_EQ(QApplication::clipboard()->text(), "Survey\t4 days\nDesign\t2 days\n");
  SelectBlock(view, 0, 1, "Task Name", "Task Name");
  Press(QKeySequence::Cut);
  EXPECT_EQ(Cell(view, 0, "Task Name"), "");
  EXPECT_EQ(Cell(view, 1, "Task Name"), "");
  EXPECT_EQ(QApplication::clipboard()->text(), "Survey\nDesign\n");
  // Find goes from cell to cell, from the top again after the last.
  SelectBlock(view, 0, 0, "Task Name", "Task Name");
  EXPECT_TRUE(window().editing().findNext(view, "days"));
  EXPECT_EQ(view.sheet().currentIndex(), view.model().index(0, ColumnTitled(view, "Duration")));
  EXPECT_TRUE(window().editing().findNext(view, "BUILD"));
  EXPECT_EQ(view.sheet().currentIndex().row(), 2);
  EXPECT_FALSE(window().editing().findNext(view, "nowhere"));
  QAction* undo = window().toolbars().buttonAction("Standard", "Undo");
  QTest::mouseClick(window().toolbars().toolbar("Standard")->widgetForAction(undo), Qt::LeftButton);
  EXPECT_EQ(Cell(view, 0, "Task Name"), "Survey");
  EXPECT_EQ(Cell(view, 1, "Task Name"), "Design");
  EXPECT_EQ(Cell(view, 0, "Duration"), "4 days");
}

TEST_F(PrintAndEditTest, ANewProjectIsBuiltFromTheKeyboardAndKeepsItsShapeThroughAFile) {
  // Given a new project and the add-in listening, expect tasks typed into the row below the last,
  // indented under a summary, linked and given a "3FS+2d" predecessor from the keyboard; Insert
  // and Delete to add and take out a row with IDs and links following, Ctrl+Z to undo each; the
  // project to read back the same from its file.
  ConnectAddIn();
  window().show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
  Press(QKeySequence::New);
  ProjectView* view = window().currentView();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->model().newTaskRow(), 0);
  const QStringList names = {"Fit-out", "Survey", "Design", "Build", "Handover"};
  for (int row = 0; row < names.size(); ++row) {
    TypeIntoCell(*view, row, "Task Name", names[row]);
    if (row > 0) TypeIntoCell(*view, row, "Duration", QString::number(row + 1));
  }
  ASSERT_EQ(Column(*view, "Task Name"), names);
  SelectBlock(*view, 1, 4, "Task Name", "Task Name");
  Press(QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Right));
  EXPECT_TRUE(view->model().taskAt(0)->IsSummary());
  // The selection stays for the next command.
  EXPECT_EQ(TaskCommands::selectedTasks(*view, false).size(), 4u);
  SelectBlock(*view, 1, 3, "Task Name", "Task Name");
  Press(QKeySequence(Qt::CTRL | Qt::Key_F2));
  TypeIntoCell(*view, 4, "Predecessors", "3FS+2d");
  EXPECT_EQ(Column(*view, "Predecessors"), (QStringList{"", "", "2", "3", "3FS+2d"}));
  // Survey 2 days, Design 3, then Handover (5 days) two working days after Design: the phase
  // spans 2 + 3 + 2 + 5 working days; Build (4 days) runs beside the lag and Handover.
  const wb::Task* design = view->model().taskAt(2);
  const wb::Task* handover = view->model().taskAt(4);
  EXPECT_GT(handover->Start(), design->Finish());
  EXPECT_EQ(Cell(*view, 0, "Duration"), "12 days");

  // Insert while a cell is being typed into belongs to the cell.
  SelectBlock(*view, 2, 2, "Task Name", "Task Name");
  QTest::keyClick(&view->sheet(), Qt::Key_F2);
  Press(QKeySequence(Qt::Key_Insert));
  EXPECT_EQ(view->model().outline().RowCount(), 5);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  SelectBlock(*view, 2, 2, "Task Name", "Task Name");
  Press(QKeySequence(Qt::Key_Insert));
  EXPECT_EQ(Column(*view, "Task Name"),
            (QStringList{"Fit-out", "Survey", "", "Design", "Build", "Handover"}));
  EXPECT_EQ(Column(*view, "Predecessors"), (QStringList{"", "", "", "2", "4", "4FS+2d"}));
  Press(QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(Column(*view, "Task Name"), names);
  SelectBlock(*view, 2, 2, "Task Name", "Task Name");
  Press(QKeySequence(Qt::Key_Delete));
  EXPECT_EQ(Column(*view, "Task Name"), (QStringList{"Fit-out", "Survey", "Build", "Handover"}));
  EXPECT_EQ(Column(*view, "Predecessors"), (QStringList{"", "", "", ""}));
  Press(QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(Column(*view, "Predecessors"), (QStringList{"", "", "2", "3", "3FS+2d"}));
  SelectBlock(*view, 2, 3, "Task Name", "Task Name");
  Press(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F2));
  EXPECT_EQ(Column(*view, "Predecessors"), (QStringList{"", "", "2", "", "3FS+2d"}));
  SelectBlock(*view, 4, 4, "Task Name", "Task Name");
  Press(QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_Left));
  EXPECT_EQ(view->model().taskAt(4)->OutlineLevel(), 1);

  QTemporaryDir folder;
  const QString file = folder.filePath("built.xml");
  // Saved without a suffix, the file gets the one the Open dialog looks for.
  ASSERT_TRUE(window().saveProjectAs(folder.filePath("built")));
  ASSERT_TRUE(QFileInfo::exists(file));
  const QStringList predecessors = Column(*view, "Predecessors");
  const QStringList starts = Column(*view, "Start");
  ASSERT_TRUE(window().closeCurrentProject());
  ASSERT_TRUE(window().openFile(file));
  view = window().currentView();
  EXPECT_EQ(Column(*view, "Task Name"), names);
  EXPECT_EQ(Column(*view, "Predecessors"), predecessors);
  EXPECT_EQ(Column(*view, "Start"), starts);
  EXPECT_TRUE(view->model().taskAt(0)->IsSummary());

  // Open Recent offers the file while it is there, and no more once it is gone.
  auto recent = [this] {
    QStringList items;
    emit window().recentMenu()->aboutToShow();
    for (QAction* item : window().recentMenu()->actions()) items << item->text();
    return items;
  };
  EXPECT_TRUE(recent().contains("built.xml"));
  QFile::remove(file);
  EXPECT_FALSE(recent().contains("built.xml"));
}

TEST_F(PrintAndEditTest, EveryZoomLabelsItsHijriAndGregorianTiersAndTheMonthAtTheEdge) {
  // Given the sample, expect at every zoom from days to years most cells of every tier, Hijri and
  // Gregorian, to carry a label (shortened where the whole one does not fit), and a Hijri month
  // only partly in view at the left edge to be named.
  StartWithTheAddInModule();
  wb::OpenBundledSample(app());
  ProjectView& view = Show();
  GanttChart& chart = view.chart();
  for (auto zoom : {wb::TimescaleZoom::kDays, wb::TimescaleZoom::kWeeks, wb::TimescaleZoom::kMonths,
                    wb::TimescaleZoom::kQuarters, wb::TimescaleZoom::kYears}) {
    chart.setZoom(zoom);
    chart.scrollToDay(view.model().taskAt(0)->Start() / wb::kMinutesPerDay);
    for (int tier = 0; tier < static_cast<int>(chart.tiers().size()); ++tier) {
      SCOPED_TRACE("zoom " + std::to_string(static_cast<int>(zoom)) + ", tier " +
                   std::to_string(tier));
      const QStringList shown = chart.shownLabels(tier);
      ASSERT_FALSE(shown.isEmpty());
      const auto labelled = std::count_if(shown.begin(), shown.end(),
                                          [](const QString& label) { return !label.isEmpty(); });
      // The cells at both edges may be slivers too narrow for a digit.
      EXPECT_GE(labelled, std::max<qsizetype>(1, shown.size() - 2))
          << shown.join("|").toStdString();
    }
  }
  chart.setZoom(wb::TimescaleZoom::kDays);
  // 20 Ramadan 1446 at the left edge: the month's last ten days are in view.
  chart.scrollToDay(wb::DaysFromCivil(2025, 3, 20));
  const QStringList months = chart.shownLabels(0);
  ASSERT_FALSE(months.isEmpty());
  EXPECT_EQ(months.front(), "Ramadan 1446");
}

TEST_F(PrintAndEditTest, TheAddInIsWithinReachAndAnOpenedFileShowsItsSlack) {
  // Given the add-in's toolbar on show when the last session ended, expect it on show again when
  // the add-in rebuilds it at start-up, and a remembered bar whose add-in is gone dropped; hiding
  // it to be remembered; the Add-Ins menu to list the add-in's buttons and run them with the
  // toolbar hidden; and a file opened to show the slack the scheduler computes, unchanged.
  QSettings().setValue("toolbars/shown", QStringList{"Lunavant", "Gone"});
  StartWithTheAddInModule();
  EXPECT_TRUE(app().CommandBars()->Item("Lunavant")->Visible());
  EXPECT_EQ(app().CommandBars()->Item("Gone"), nullptr);
  QMenu* toolbars = window().findChild<QMenu*>("viewToolbars");
  emit toolbars->aboutToShow();
  for (QAction* item : toolbars->actions()) {
    if (item->text() == "Lunavant") item->trigger();
  }
  EXPECT_FALSE(app().CommandBars()->Item("Lunavant")->Visible());
  EXPECT_EQ(QSettings().value("toolbars/shown").toStringList(), QStringList{});

  QTemporaryDir folder;
  const QString file = folder.filePath("sample.xml");
  wb::SaveProjectFile(wb::OpenBundledSample(app()), file.toStdString());
  app().CloseProject(*app().ActiveProject());
  ASSERT_TRUE(window().openFile(file));
  ProjectView& view = Show();
  EXPECT_TRUE(app().ActiveProject()->Saved());
  int with_slack = 0;
  for (int row = 0; row < view.model().outline().RowCount(); ++row) {
    if (const wb::Task* task = view.model().taskAt(row); task && task->TotalSlackDays() > 0) {
      ++with_slack;
    }
  }
  EXPECT_GT(with_slack, 0);

  QMenu* addins = window().findChild<QMenu*>("addInsMenu");
  ASSERT_NE(addins, nullptr);
  emit addins->aboutToShow();
  QStringList captions;
  QAction* add = nullptr;
  for (QAction* item : addins->actions()) {
    if (item->isSeparator()) continue;
    captions << item->text();
    if (item->text() == "Add Hijri") add = item;
  }
  EXPECT_EQ(captions, (QStringList{"Add Hijri", "Remove Hijri", "Refresh Hijri"}));
  ASSERT_NE(add, nullptr);
  QString opened;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !opened.isEmpty()) return;
    opened = modal->windowTitle();
    // From the keyboard alone: a title typed, then Enter for OK.
    auto* title = modal->findChild<QLineEdit*>("HijriTitle");
    if (title == nullptr) {
      modal->close();
      return;
    }
    title->setFocus();
    QTest::keyClicks(title, "Hijri Late");
    QTest::keyClick(title, Qt::Key_Return);
  });
  poll.start();
  // The sample's Entry table has its dates paired already; the Schedule table has late dates.
  window().applyTable("Schedule");
  add->trigger();
  EXPECT_EQ(opened, "Add Hijri Field");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(window().statusBar()->currentMessage(), "Add Hijri: finished.");
  const int hijri_late = ColumnTitled(view, "Hijri Late");
  ASSERT_GE(hijri_late, 0);
  EXPECT_FALSE(view.model().index(1, hijri_late).data().toString().isEmpty());
}

TEST_F(PrintAndEditTest, AHijriDateTheAddInRefusesSilentlyIsExplained) {
  // Given Start paired with Text1 and a summary task, expect a Hijri date typed on the summary to
  // be refused with a message that says why, the cell keeping its text; a date the add-in cannot
  // read to get the add-in's own message only.
  ConnectAddIn();
  OpenPairedPlan(Plan().StartingOn(2024, 11, 4).AddTask("Phase", 1, 1).AddTask("Survey", 3, 2));
  ProjectView& view = Show();
  const QString before = Cell(view, 0, "HijriStart");
  QStringList shown;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown << box->text();
      box->close();
    }
  });
  poll.start();
  TypeIntoCell(view, 0, "HijriStart", "01/06/1446");
  QTest::qWait(50);
  ASSERT_EQ(shown.size(), 1);
  EXPECT_TRUE(shown[0].contains("summary task")) << shown[0].toStdString();
  EXPECT_EQ(Cell(view, 0, "HijriStart"), before);
  shown.clear();
  TypeIntoCell(view, 1, "HijriStart", "45/45/1446");
  QTest::qWait(50);
  ASSERT_EQ(shown.size(), 1);
  EXPECT_FALSE(shown[0].contains("summary task"));
  EXPECT_FALSE(view.model().history().CanUndo());
}

TEST_F(PrintAndEditTest, ArabicTaskNamesPrintInAFaceThatHasTheirLetters) {
  // Given a task named in Arabic, expect the PDF to hold the name as text (in reading or in
  // visual order), drawn in an embedded face rather than as boxes, on one portrait page.
  const QString arabic = QStringLiteral("تركيب الأبواب");
  Plan().AddTask(arabic.toStdString(), 3).Build();
  ProjectView& view = Show();
  window().printing().setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                                QMarginsF(10, 10, 10, 10),
                                                QPageLayout::Millimeter));
  QTemporaryDir out;
  const QString pdf = out.filePath("arabic.pdf");
  ASSERT_TRUE(window().printing().writePdf(view, pdf));
  const QString text = RunTool("pdftotext", {pdf, "-"}).normalized(QString::NormalizationForm_KC);
  QString reversed = arabic;
  std::reverse(reversed.begin(), reversed.end());
  const QString letters = QString(arabic).remove(' ');
  QString found = QString(text).remove(' ').remove('\n');
  EXPECT_TRUE(found.contains(letters) || found.contains(QString(reversed).remove(' ')))
      << text.toStdString();
  EXPECT_EQ(text.count(QChar('\f')), 1);
  // Every face embedded: the "emb" column, fifth from the right, of each line under the rule.
  const QStringList fonts = RunTool("pdffonts", {pdf}).split('\n', Qt::SkipEmptyParts).mid(2);
  ASSERT_FALSE(fonts.isEmpty());
  for (const QString& font : fonts) {
    const QStringList columns = font.split(' ', Qt::SkipEmptyParts);
    ASSERT_GE(columns.size(), 5);
    EXPECT_EQ(columns[columns.size() - 5], "yes") << font.toStdString();
  }
}

TEST_F(PrintAndEditTest, PageSetupFitsTheTimescaleToTwoPagesWideAndCutsNoShape) {
  // Given the sample on screen at day zoom, expect Page Setup's "Fit timescale to 2 pages wide"
  // to print every band of rows on exactly two pages across whatever the screen's zoom, the
  // tiers those of a zoom with room for them, and every milestone (Contract signed at the first
  // page's left edge among them) whole on exactly one page of its band. Without the fit, the
  // print's own zoom holds, not the screen's.
  StartWithTheAddInModule();
  wb::OpenBundledSample(app());
  ProjectView& view = Show();
  view.chart().setZoom(wb::TimescaleZoom::kDays);
  window().printing().setTimescale({wb::TimescaleZoom::kWeeks, 0});

  QTimer answer;
  answer.setInterval(10);
  bool answered = false;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || dialog->objectName() != "pageSetup") return;
    answer.stop();
    dialog->findChild<QCheckBox*>("fitBox")->setChecked(true);
    dialog->findChild<QSpinBox*>("pagesWideSpin")->setValue(2);
    answered = true;
    dialog->accept();
  });
  answer.start();
  window().action("filePageSetup")->trigger();
  ASSERT_TRUE(answered);
  EXPECT_EQ(window().printing().timescale(), (PrintTimescale{wb::TimescaleZoom::kWeeks, 2}));

  const QPageLayout& layout = window().printing().pageLayout();
  auto plan = [&] {
    return SchedulePrintout(view.model(), session_.hijri(), view.chart(),
                            window().printing().timescale());
  };
  const std::vector<SchedulePrintout::Page> pages = plan().pages(layout);
  std::map<int, std::set<std::int64_t>> slices_of_band;
  for (const auto& page : pages) slices_of_band[page.first_row].insert(page.first_day);
  ASSERT_FALSE(slices_of_band.empty());
  for (const auto& [band, slices] : slices_of_band) EXPECT_EQ(slices.size(), 2u) << band;
  EXPECT_NE(plan().zoomOn(layout), wb::TimescaleZoom::kDays);
  view.chart().setZoom(wb::TimescaleZoom::kMonths);
  EXPECT_EQ(plan().pages(layout).size(), pages.size());

  const SchedulePrintout printout = plan();
  std::map<const wb::Task*, int> milestone_pages;
  for (int row = 0; row < view.model().outline().RowCount(); ++row) {
    const wb::Task* task = view.model().taskAt(row);
    if (task != nullptr && task->IsMilestone()) milestone_pages[task] = 0;
  }
  ASSERT_TRUE(milestone_pages.count(view.model().taskAt(1)));  // Contract signed, on day one
  for (const auto& page : pages) {
    for (const SchedulePrintout::PrintedShape& shape : printout.shapesOn(layout, page)) {
      if (!shape.task->IsMilestone()) continue;
      ++milestone_pages[shape.task];
      EXPECT_TRUE(shape.visible.contains(shape.rect)) << shape.task->Name();
    }
  }
  for (const auto& [task, count] : milestone_pages) EXPECT_EQ(count, 1) << task->Name();

  QTemporaryDir out;
  const QString pdf = out.filePath("two-wide.pdf");
  ASSERT_TRUE(window().printing().writePdf(view, pdf));
  EXPECT_EQ(RunTool("pdftotext", {pdf, "-"}).split(QChar('\f'), Qt::SkipEmptyParts).size(),
            static_cast<qsizetype>(pages.size()));

  // Unfitted, the print's own zoom decides: weeks print on more pages than months, whatever the
  // screen shows.
  window().printing().setTimescale({wb::TimescaleZoom::kWeeks, 0});
  const std::size_t weekly = plan().pages(layout).size();
  view.chart().setZoom(wb::TimescaleZoom::kDays);
  EXPECT_EQ(plan().pages(layout).size(), weekly);
  window().printing().setTimescale({wb::TimescaleZoom::kMonths, 0});
  EXPECT_LT(plan().pages(layout).size(), weekly);
  EXPECT_EQ(plan().zoomOn(layout), wb::TimescaleZoom::kMonths);
}

TEST(TabSeparatedText, RoundTripsQuotedCellsAndLineEnds) {
  // Given spreadsheet text with Windows line ends, a quoted cell holding a tab and a quote, and an
  // Arabic cell, expect the rows and cells back, and the same text written again.
  const QString text = QString::fromUtf8("a\t\"b\tc \"\"q\"\"\"\r\nتاريخ\t\r\n");
  const std::vector<QStringList> rows = ParseTabSeparated(text);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (QStringList{"a", "b\tc \"q\""}));
  EXPECT_EQ(rows[1], (QStringList{QString::fromUtf8("تاريخ"), ""}));
  EXPECT_EQ(ParseTabSeparated(ToTabSeparated(rows)), rows);
  EXPECT_TRUE(ParseTabSeparated("").empty());
}

}  // namespace
}  // namespace lunavant::desktop
