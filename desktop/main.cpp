// SPDX-License-Identifier: MIT
// lunavant-desktop: the reference host as a desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <cstdio>

#include "addin/host/error.h"
#include "desktop/desktop_session.h"
#include "desktop/main_window.h"
#include "desktop/screenshots.h"
#include "workbench/addins/addin_manager.h"
#include "workbench/addins/registry_file.h"
#include "workbench/files/bundled_sample.h"

namespace {

// Registers the add-in module at `module` in the user's registry; false, with a message on
// standard error, when it cannot.
bool RegisterAddIn(const QString& module) {
  try {
    lunavant::workbench::RegistryFile registry =
        lunavant::workbench::RegistryFile::Load(lunavant::workbench::DefaultRegistryPath());
    lunavant::workbench::RegisterModule(QDir(module).absolutePath().toStdString(), registry);
    return true;
  } catch (const lunavant::host::HostError& e) {
    std::fprintf(stderr, "lunavant-desktop: %s\n", e.record().description.c_str());
    return false;
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication qt(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Lunavant"));
  QApplication::setApplicationName(QStringLiteral("Lunavant Workbench"));
  QApplication::setApplicationDisplayName(QStringLiteral("Lunavant Workbench"));

  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Project schedules with their task dates in the Hijri calendar. Opens the "
                     "files given, or the bundled sample project when none is."));
  parser.addHelpOption();
  parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Project files (MSPDI)."),
                               QStringLiteral("[files...]"));
  const QCommandLineOption register_option(
      QStringLiteral("register"),
      QStringLiteral("Register the add-in module <module> for the current user, then start."),
      QStringLiteral("module"));
  const QCommandLineOption screenshots_option(
      QStringLiteral("screenshots"),
      QStringLiteral("Write screenshots of the main window and the add-in's dialogs to <folder> "
                     "and quit."),
      QStringLiteral("folder"));
  parser.addOption(register_option);
  parser.addOption(screenshots_option);
  parser.process(qt);

  if (parser.isSet(register_option) && !RegisterAddIn(parser.value(register_option))) return 1;

  lunavant::desktop::DesktopSession session({QCoreApplication::applicationDirPath().toStdString()},
                                            lunavant::workbench::DefaultRegistryPath());
  lunavant::desktop::MainWindow& window = session.window();
  session.startUp();
  const QStringList files = parser.positionalArguments();
  for (const QString& file : files) window.openFile(file);
  if (files.isEmpty()) {
    lunavant::workbench::OpenBundledSample(session.app());
    window.scheduleOpenedProject();
    window.syncWithApplication();
  }
  window.show();
  if (parser.isSet(screenshots_option)) {
    return lunavant::desktop::writeScreenshots(session, parser.value(screenshots_option)) ? 0 : 1;
  }
  return QApplication::exec();
}
