// SPDX-License-Identifier: MIT
// A planner's work is never lost: files are named by the user, outside changes are noticed
// before a save, every command is one Undo step, a plan can be typed from the keyboard alone and
// a killed session's edits come back. Driven as a user drives the program, on real widgets on
// the offscreen platform, with the reference host, the built add-in and the real converter.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "desktop/command_toolbars.h"
#include "desktop/edit_commands.h"
#include "desktop/file_guard.h"
#include "desktop/holidays_dialog.h"
#include "desktop/main_window.h"
#include "desktop/project_view.h"
#include "desktop/recovery_copies.h"
#include "desktop/recovery_offer.h"
#include "tests/support/desktop_fixture.h"
#include "tests/support/modal_watcher.h"
#include "workbench/files/bundled_sample.h"
#include "workbench/files/project_file.h"
#include "workbench/model/application.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant::desktop {
namespace {

namespace wb = lunavant::workbench;
using test_support::ModalWatcher;
using test_support::ShownBox;

[[maybe_unused]] const auto* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new test_support::QtEnvironment("keeping_work_test"));

class KeepingWork : public test_support::DesktopSessionTest {
 protected:
  ProjectView& ShowActive() {
    ProjectView& view = Show();
    window().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window()));
    return view;
  }

  // Keys as a user types them: each goes to the widget that has the focus at that moment.
  static void Type(const QString& text) {
    for (const QChar c : text) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
  }
  static void Press(Qt::Key key) {
    QTest::keyClick(QApplication::focusWidget(), key);
    // The sheet commits an edit ended with Enter from its event loop.
    QTest::qWait(20);
  }

  // Presses the button captioned `caption` on the next message box, recording what it showed.
  static void PressOnBox(ModalWatcher& watcher, std::vector<ShownBox>& shown,
                         const QString& caption) {
    watcher.Then([&shown, caption](QWidget& widget) {
      auto* box = qobject_cast<QMessageBox*>(&widget);
      ASSERT_NE(box, nullptr) << widget.metaObject()->className();
      shown.push_back(ShownBox{box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                               box->standardButton(box->defaultButton())});
      for (QAbstractButton* button : box->buttons()) {
        if (button->text() == caption) {
          button->click();
          return;
        }
      }
      ADD_FAILURE() << "no button " << caption.toStdString() << " on " << box->text().toStdString();
      box->reject();
    });
  }
  // Names `path` in the next Save As dialog and accepts it; an empty path cancels the dialog.
  static void NameInSaveAs(ModalWatcher& watcher, const QString& path) {
    watcher.Then([path](QWidget& widget) {
      auto* dialog = qobject_cast<QFileDialog*>(&widget);
      ASSERT_NE(dialog, nullptr) << widget.metaObject()->className();
      EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
      if (path.isEmpty()) {
        dialog->reject();
        return;
      }
      dialog->selectFile(path);
      QMetaObject::invokeMethod(dialog, "accept");
    });
  }

  // The add-in's toolbar shown, then its button pressed.
  void TriggerAddInButton(const QString& tag) {
    app().CommandBars()->Item("Lunavant")->SetVisible(true);
    window().syncToolbars();
    QAction* action = window().toolbars().buttonAction("Lunavant", tag);
    ASSERT_NE(action, nullptr) << tag.toStdString();
    action->trigger();
  }
  QString UndoText() {
    window().editing().updateActions();
    return window().action("editUndo")->text();
  }

  static bool HasColumn(ProjectView& view, const QString& title) {
    for (int column = 0; column < view.model().columnCount(); ++column) {
      if (view.model().headerData(column, Qt::Horizontal, Qt::DisplayRole) == title) return true;
    }
    return false;
  }
  static QStringList FilesIn(const QString& folder) {
    QStringList found;
    QDirIterator walk(folder, QDir::Files, QDirIterator::Subdirectories);
    while (walk.hasNext()) found << QDir(folder).relativeFilePath(walk.next());
    found.sort();
    return found;
  }
  static QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
};

TEST_F(KeepingWork, ANeverNamedProjectIsSavedOnlyWhereTheUserSays) {
  // Given a new project with a task typed in, expect Yes to "save changes?" on closing it to ask
  // where (the Save As dialog): cancelling that keeps it open on Close and on quitting, and no
  // file appears anywhere; Save then writes it where the user named it, ".xml" added.
  QTemporaryDir started_in;
  QTemporaryDir chosen;
  const QString previous_folder = QDir::currentPath();
  QDir::setCurrent(started_in.path());
  window().newProject();
  ProjectView& view = ShowActive();
  TypeIntoCell(view, 0, "Task Name", "Survey");
  wb::Project& project = view.project();
  ASSERT_FALSE(project.Saved());

  ModalWatcher watcher;
  std::vector<ShownBox> shown;
  watcher.AnswerBox(shown, QMessageBox::Yes);
  NameInSaveAs(watcher, QString());
  EXPECT_FALSE(window().closeCurrentProject());
  EXPECT_TRUE(watcher.Done());
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(window().tabs().count(), 1);

  watcher.AnswerBox(shown, QMessageBox::Yes);
  NameInSaveAs(watcher, QString());
  window().close();
  EXPECT_TRUE(watcher.Done());
  EXPECT_TRUE(window().isVisible());
  EXPECT_EQ(app().ActiveProject(), &project);
  EXPECT_EQ(FilesIn(started_in.path()), QStringList());

  NameInSaveAs(watcher, chosen.filePath("survey"));
  window().action("fileSave")->trigger();
  EXPECT_TRUE(watcher.Done());
  EXPECT_TRUE(project.Saved());
  EXPECT_EQ(FilesIn(chosen.path()), QStringList{"survey.xml"});
  EXPECT_TRUE(Contents(chosen.filePath("survey.xml")).contains("<Name>Survey</Name>"));
  EXPECT_EQ(FilesIn(started_in.path()), QStringList());
  QDir::setCurrent(previous_folder);
}

TEST_F(KeepingWork, AnOutsideChangeIsNeverOverwrittenWithoutTheUsersChoice) {
  // Given a saved plan edited here, then rewritten by another program, expect the user told at
  // once; Save to ask first (Cancel writes nothing, Overwrite writes ours); a deletion told too
  // and Save to write the file again; and Reload to read the other program's version.
  QTemporaryDir folder;
  const QString path = folder.filePath("plan.xml");
  Plan().AddTask("Survey", 3).AddTask("Design", 2).Build();
  ProjectView* view = &ShowActive();
  ASSERT_TRUE(window().saveProjectAs(path));
  TypeIntoCell(*view, 1, "Task Name", "Design here");

  auto write_as_a_colleague = [&path](const QByteArray& from, const QByteArray& to) {
    QByteArray text = Contents(path);
    text.replace(from, to);
    QSaveFile file(path);  // renamed over the old file, as careful programs save
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    ASSERT_TRUE(file.commit());
  };
  ModalWatcher watcher;
  std::vector<ShownBox> shown;
  PressOnBox(watcher, shown, "&Keep Mine");
  write_as_a_colleague("<Name>Survey</Name>", "<Name>Survey by a colleague</Name>");
  watcher.WaitUntilDone();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, QString("\"%1\" was changed by another program.").arg(path));
  EXPECT_EQ(Cell(*view, 1, "Task Name"), "Design here");

  PressOnBox(watcher, shown, "Cancel");
  EXPECT_FALSE(window().saveProject());
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text,
            QString("\"%1\" was changed by another program since it was opened or saved here.")
                .arg(path));
  EXPECT_EQ(shown[1].default_button, QMessageBox::Cancel);
  EXPECT_TRUE(Contents(path).contains("Survey by a colleague"));

  PressOnBox(watcher, shown, "&Overwrite");
  EXPECT_TRUE(window().saveProject());
  EXPECT_TRUE(Contents(path).contains("<Name>Design here</Name>"));
  EXPECT_FALSE(Contents(path).contains("Survey by a colleague"));
  EXPECT_TRUE(window().saveProject());  // our own save is no outside change
  EXPECT_EQ(shown.size(), 3u);

  // The user comes back to the window after the boxes (the offscreen platform does not).
  QApplication::setActiveWindow(&window());
  PressOnBox(watcher, shown, "OK");
  ASSERT_TRUE(QFile::remove(path));
  watcher.WaitUntilDone();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[3].text,
            QString("\"%1\" was deleted or moved away by another program.").arg(path));
  PressOnBox(watcher, shown, "&Save");
  EXPECT_TRUE(window().saveProject());
  EXPECT_TRUE(Contents(path).contains("<Name>Design here</Name>"));

  QApplication::setActiveWindow(&window());
  PressOnBox(watcher, shown, "&Reload");
  write_as_a_colleague("<Name>Design here</Name>", "<Name>Design by a colleague</Name>");
  watcher.WaitUntilDone();
  EXPECT_EQ(shown.size(), 6u);
  view = window().currentView();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(Cell(*view, 1, "Task Name"), "Design by a colleague");
  EXPECT_TRUE(view->project().Saved());
}

TEST_F(KeepingWork, AddAndRemoveHijriAreOneUndoStepEachAndThePairsFollow) {
  // Given the add-in connected and a typed edit in the history, expect Add Hijri and Remove Hijri
  // each to be one Undo step that keeps the history before it; undoing Add takes the column, the
  // alias and the texts away, so that a later Start edit writes no Hijri text; Redo and the undo
  // of Remove bring the pair back, so that a later Start edit writes it again.
  StartWithTheAddInModule();
  Plan().StartingOn(2024, 11, 4).AddTask("Survey", 3).AddTask("Design", 2).Link(1, 2).Build();
  ProjectView& view = ShowActive();
  wb::Project& project = view.project();
  TypeIntoCell(view, 1, "Task Name", "Design and review");

  ModalWatcher watcher;
  auto add_start = [&] {
    watcher.Then([](QWidget& dialog) {
      QTest::mouseClick(dialog.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
    });
    TriggerAddInButton("Add Hijri");
    ASSERT_TRUE(watcher.Done());
    ASSERT_TRUE(HasColumn(view, "HijriStart"));
    EXPECT_EQ(UndoText(), "&Undo Add Hijri");
  };
  add_start();
  EXPECT_EQ(Cell(view, 0, "HijriStart"), "02/05/1446");
  window().action("editUndo")->trigger();
  EXPECT_FALSE(HasColumn(view, "HijriStart"));
  EXPECT_EQ(project.CustomTextAlias(0), "");
  EXPECT_EQ(project.TaskAt(1)->GetField(wb::field::kText1), "");
  EXPECT_EQ(UndoText(), "&Undo Typing");
  TypeIntoCell(view, 0, "Start", "11/11/2024");
  EXPECT_EQ(project.TaskAt(1)->GetField(wb::field::kText1), "");

  add_start();
  window().action("editUndo")->trigger();
  window().action("editRedo")->trigger();
  EXPECT_EQ(project.CustomTextAlias(0), "HijriStart");
  EXPECT_EQ(Cell(view, 0, "HijriStart"), "09/05/1446");
  TypeIntoCell(view, 0, "Start", "18/11/2024");
  EXPECT_EQ(Cell(view, 0, "HijriStart"), "16/05/1446");

  std::vector<ShownBox> shown;
  watcher.Then([](QWidget& dialog) {
    QTest::mouseClick(dialog.findChild<QPushButton*>("OKButton"), Qt::LeftButton);
  });
  watcher.AnswerBox(shown, QMessageBox::Yes);
  TriggerAddInButton("Remove Hijri");
  watcher.WaitUntilDone();
  ASSERT_FALSE(HasColumn(view, "HijriStart"));
  EXPECT_EQ(UndoText(), "&Undo Remove Hijri");
  window().action("editUndo")->trigger();
  EXPECT_EQ(project.CustomTextAlias(0), "HijriStart");
  EXPECT_EQ(Cell(view, 0, "HijriStart"), "16/05/1446");
  TypeIntoCell(view, 0, "Start", "25/11/2024");
  EXPECT_EQ(Cell(view, 0, "HijriStart"), "23/05/1446");
  // Every step back to the first typing is still there (the undone Remove gave way to the
  // typing after it).
  for (const char* step :
       {"&Undo Typing", "&Undo Typing", "&Undo Add Hijri", "&Undo Typing", "&Undo Typing"}) {
    EXPECT_EQ(UndoText(), step);
    window().action("editUndo")->trigger();
  }
  EXPECT_EQ(Cell(view, 1, "Task Name"), "Design");
}

TEST_F(KeepingWork, HolidaysAddedAreOneUndoStepThatTakesThemOffAgain) {
  // Given the sample with the Saudi holidays of 1446 added through Tools > Holidays, expect one
  // Undo step named for them that makes the Eid day a working day again, in the project and in
  // the file it saves, and Redo to add them again.
  wb::Project& project = wb::OpenBundledSample(app());
  ShowActive();
  const std::int64_t eid_day = wb::DaysFromCivil(2025, 4, 2);
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [] {
    if (auto* dialog = qobject_cast<HolidaysDialog*>(QApplication::activeModalWidget())) {
      dialog->findChild<QDialogButtonBox*>("buttons")->button(QDialogButtonBox::Ok)->click();
    }
  });
  poll.start();
  window().action("toolsHolidays")->trigger();
  poll.stop();
  ASSERT_FALSE(project.Calendar().IsWorkingDay(eid_day));
  EXPECT_EQ(UndoText(), "&Undo Holidays");

  window().action("editUndo")->trigger();
  EXPECT_TRUE(project.Calendar().IsWorkingDay(eid_day));
  QTemporaryDir folder;
  ASSERT_TRUE(window().saveProjectAs(folder.filePath("sample.xml")));
  EXPECT_FALSE(Contents(folder.filePath("sample.xml")).contains("Eid al-Fitr 1446"));

  window().action("editRedo")->trigger();
  EXPECT_FALSE(project.Calendar().IsWorkingDay(eid_day));
  ASSERT_TRUE(window().saveProject());
  EXPECT_TRUE(Contents(folder.filePath("sample.xml")).contains("Eid al-Fitr 1446"));
}

TEST_F(KeepingWork, APlanIsTypedFromTheKeyboardAlone) {
  // Given an empty project, expect name, Tab, duration, Enter, name, Tab, duration, Enter typed
  // on the blank row to make both tasks with their durations, the cursor ending below them in
  // the name column.
  Plan("Typed").Build();
  ProjectView& view = ShowActive();
  const int name_column = view.model().nameColumn();
  view.sheet().setFocus();
  view.sheet().setCurrentIndex(view.model().index(0, name_column));
  Type("Alpha");
  Press(Qt::Key_Tab);
  Type("4");
  Press(Qt::Key_Return);
  Type("Beta");
  Press(Qt::Key_Tab);
  Type("2");
  Press(Qt::Key_Return);

  ASSERT_EQ(view.project().TaskCount(), 2);
  EXPECT_EQ(Cell(view, 0, "Task Name"), "Alpha");
  EXPECT_EQ(Cell(view, 0, "Duration"), "4 days");
  EXPECT_EQ(Cell(view, 1, "Task Name"), "Beta");
  EXPECT_EQ(Cell(view, 1, "Duration"), "2 days");
  EXPECT_EQ(view.sheet().currentIndex(), view.model().index(2, name_column));
}

TEST_F(KeepingWork, EnterInTheAddDialogsDateFieldPressesOK) {
  // Given the Add dialog open with the focus in its editable "Date Field" box, expect the first
  // Enter to press OK: the dialog closes and the pair is added.
  StartWithTheAddInModule();
  Plan().StartingOn(2024, 11, 4).AddTask("Survey", 3).Build();
  ProjectView& view = ShowActive();
  ModalWatcher watcher;
  watcher.Then([](QWidget& dialog) {
    auto* greg = dialog.findChild<QComboBox*>("GregField");
    ASSERT_NE(greg, nullptr);
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    greg->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), greg);  // which hands the keys to its text
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    // A dialog that took no notice is cancelled, so the test fails rather than waits.
    QTimer::singleShot(500, &dialog, [&dialog] {
      if (auto* cancel = dialog.findChild<QPushButton*>("CancelButton")) cancel->click();
    });
  });
  TriggerAddInButton("Add Hijri");
  EXPECT_TRUE(watcher.Done());
  EXPECT_EQ(Cell(view, 0, "HijriStart"), "02/05/1446");
}

TEST_F(KeepingWork, AKilledSessionsEditsComeBackAtTheNextStart) {
  // Given the program killed after a task was renamed and not saved, expect the next start to
  // offer the recovery copy it left in the state folder (not beside the user's file), Recover to
  // open the project with the edit, unsaved, its file as before and untouched until saved; and
  // a clean close of the recovered project to leave no copy behind.
  QTemporaryDir folder;
  const QString path = folder.filePath("plan.xml");
  wb::SaveProjectFile(Plan("plan").AddTask("Survey", 3).AddTask("Design", 2).Build(),
                      path.toStdString());
  ASSERT_TRUE(window().closeCurrentProject());
  const QByteArray before_kill = Contents(path);

  QProcess killed;
  killed.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
  killed.start(QStringLiteral(LUNAVANT_EDIT_UNTIL_KILLED),
               {path, QStringLiteral("Survey renamed before the kill")});
  ASSERT_TRUE(killed.waitForStarted());
  QByteArray said;
  while (!said.contains("ready") && killed.waitForReadyRead(30000)) said += killed.readAll();
  ASSERT_TRUE(said.contains("ready")) << killed.readAllStandardError().toStdString();
  killed.kill();
  ASSERT_TRUE(killed.waitForFinished());
  EXPECT_EQ(killed.exitStatus(), QProcess::CrashExit);
  EXPECT_EQ(FilesIn(folder.path()), QStringList{"plan.xml"});
  EXPECT_EQ(Contents(path), before_kill);

  window().show();
  window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  ModalWatcher watcher;
  std::vector<ShownBox> shown;
  PressOnBox(watcher, shown, "&Recover");
  OfferRecovery(window());
  EXPECT_TRUE(watcher.Done());
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text,
            "The program stopped last time without closing these projects; their unsaved changes "
            "were kept:");
  ProjectView* view = window().currentView();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(Cell(*view, 0, "Task Name"), "Survey renamed before the kill");
  EXPECT_FALSE(view->project().Saved());
  EXPECT_EQ(QString::fromStdString(wb::ProjectFilePath(view->project()).string()), path);
  EXPECT_TRUE(RecoveryCopies::leftBehind().empty());
  EXPECT_EQ(Contents(path), before_kill);

  EXPECT_TRUE(window().saveProject());  // no outside change: the file is as the killed one knew it
  EXPECT_TRUE(Contents(path).contains("<Name>Survey renamed before the kill</Name>"));
  TypeIntoCell(*view, 1, "Task Name", "Design, unsaved");
  window().recovery().writeNow();
  EXPECT_EQ(FilesIn(RecoveryCopies::folder()).filter(".xml").size(), 1);
  watcher.AnswerBox(shown, QMessageBox::No);
  ASSERT_TRUE(window().closeCurrentProject());
  window().recovery().writeNow();
  EXPECT_EQ(FilesIn(RecoveryCopies::folder()).filter(".xml"), QStringList());
}

}  // namespace
}  // namespace lunavant::desktop
