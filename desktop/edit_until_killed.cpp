// SPDX-License-Identifier: MIT
// A test's stand-in for a user whose session dies: the desktop program with the project file
// given on the command line open, one task renamed in the sheet and not saved. Once the recovery
// copy of that change is written it prints "ready" and waits to be killed.
//
//   edit_until_killed plan.xml "New name"
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#include "desktop/desktop_session.h"
#include "desktop/main_window.h"
#include "desktop/project_view.h"
#include "desktop/recovery_copies.h"
#include "workbench/model/application.h"

int main(int argc, char* argv[]) {
  QApplication qt(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: edit_until_killed FILE NEW-NAME\n");
    return 2;
  }
  QTemporaryDir registry;
  lunavant::desktop::DesktopSession session({LUNAVANT_CONVERTER_DIR},
                                            registry.filePath("registry.reg").toStdString());
  lunavant::desktop::MainWindow& window = session.window();
  window.recovery().setDelays(20, 1000);
  if (!window.openFile(QString::fromLocal8Bit(argv[1]))) return 1;
  window.show();
  lunavant::desktop::ProjectView* view = window.currentView();
  if (view == nullptr || view->model().nameColumn() < 0) return 1;
  const int name_column = view->model().nameColumn();

  // As the user renames the first task: the cell, F2, the new name, Enter.
  const QModelIndex cell = view->model().index(0, name_column);
  view->sheet().setFocus();
  view->sheet().setCurrentIndex(cell);
  QTest::keyClick(&view->sheet(), Qt::Key_F2);
  auto* editor = qobject_cast<QLineEdit*>(view->sheet().indexWidget(cell));
  if (editor == nullptr) return 1;
  editor->selectAll();
  QTest::keyClicks(editor, QString::fromLocal8Bit(argv[2]));
  QTest::keyClick(editor, Qt::Key_Return);

  const QDir copies(lunavant::desktop::RecoveryCopies::folder());
  for (int waited = 0; waited < 10000; waited += 10) {
    QTest::qWait(10);
    bool written = false;
    for (const QString& session_folder : copies.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
      written = written || !QDir(copies.filePath(session_folder))
                                .entryList({QStringLiteral("*.json")}, QDir::Files)
                                .isEmpty();
    }
    if (written && !window.application().ActiveProject()->Saved()) {
      std::printf("ready\n");
      std::fflush(stdout);
      return QApplication::exec();
    }
  }
  std::fprintf(stderr, "edit_until_killed: no recovery copy was written\n");
  return 1;
}
