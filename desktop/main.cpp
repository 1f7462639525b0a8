// SPDX-License-Identifier: MIT
// lunavant-desktop: the reference host as a desktop program.
#include <QApplication>
#include <QCommandLineParser>

#include "desktop/desktop_session.h"
#include "desktop/main_window.h"

int main(int argc, char* argv[]) {
  QApplication qt(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Lunavant"));
  QApplication::setApplicationName(QStringLiteral("Lunavant Workbench"));
  QApplication::setApplicationDisplayName(QStringLiteral("Lunavant Workbench"));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Project schedules with their task dates in the Hijri calendar."));
  parser.addHelpOption();
  parser.process(qt);

  lunavant::desktop::DesktopSession session({QCoreApplication::applicationDirPath().toStdString()});
  session.window().newProject();
  session.window().show();
  return QApplication::exec();
}
