// SPDX-License-Identifier: MIT
// The desktop program opening a project file, as its main does, until the window answers: the
// main window shown with the file's sheet and chart, every event that opening and showing posted
// handled, and then the program ends. The whole process is timed beside `lunavant show` of the
// same file. Runs on Qt's offscreen platform unless QT_QPA_PLATFORM names another.
//   desktop_open FILE
#include <stdlib.h>

#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "desktop/desktop_session.h"
#include "desktop/main_window.h"
#include "workbench/addins/registry_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: desktop_open FILE\n");
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication qt(argc, argv);
  lunavant::desktop::DesktopSession session({LUNAVANT_CONVERTER_DIR},
                                            lunavant::workbench::DefaultRegistryPath());
  lunavant::desktop::MainWindow& window = session.window();
  session.startUp();
  if (!window.openFile(QString::fromLocal8Bit(argv[1]))) return 1;
  window.show();
  // Queued behind what opening and showing posted: it runs once the window has answered them.
  QTimer::singleShot(0, &qt, &QCoreApplication::quit);
  return QApplication::exec();
}
