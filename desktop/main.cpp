// SPDX-License-Identifier: MIT
// lunavant-desktop: the reference host as a desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "addin/host/error.h"
#include "desktop/desktop_session.h"
#include "desktop/interface_language.h"
#include "desktop/main_window.h"
#include "desktop/recovery_offer.h"
#include "desktop/screenshots.h"
#include "workbench/addins/addin_manager.h"
#include "workbench/addins/program_layout.h"
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

// On a user's first start, registers the add-in installed with the program, as an installer
// would; a registration the user has already (or a module that is not there) is left alone.
void RegisterInstalledAddIn(const lunavant::workbench::ProgramLayout& layout) {
  constexpr std::string_view kAddInKey =
      "Software\\Microsoft\\Office\\MS Project\\Addins\\Lunavant.Connect";
  std::error_code error;
  if (!std::filesystem::exists(layout.AddInModule(), error)) return;
  try {
    lunavant::workbench::RegistryFile registry =
        lunavant::workbench::RegistryFile::Load(lunavant::workbench::DefaultRegistryPath());
    if (!registry.HasKey(kAddInKey)) {
      lunavant::workbench::RegisterModule(layout.AddInModule(), registry);
    }
  } catch (const lunavant::host::HostError& e) {
    // The program starts all the same, as it would with no add-in registered.
    std::fprintf(stderr, "lunavant-desktop: %s\n", e.record().description.c_str());
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication qt(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Lunavant"));
  QApplication::setApplicationName(QStringLiteral("Lunavant Workbench"));
  QApplication::setApplicationDisplayName(QStringLiteral("Lunavant Workbench"));
  // Help > About and --version say which release this is.
  QApplication::setApplicationVersion(QStringLiteral(LUNAVANT_VERSION));
  // Ties the windows to the installed menu entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("lunavant-desktop"));
  lunavant::desktop::applyInterfaceLanguage();

  QCommandLineParser parser;
  parser.setApplicationDescription(QCoreApplication::translate(
      "main",
      "Project schedules with their task dates in the Hijri calendar. Opens the files given, "
      "or the bundled sample project when none is."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("files"),
                               QCoreApplication::translate("main", "Project files (MSPDI)."),
                               QStringLiteral("[files...]"));
  const QCommandLineOption register_option(
      QStringLiteral("register"),
      QCoreApplication::translate(
          "main", "Register the add-in module <module> for the current user, then start."),
      QStringLiteral("module"));
  const QCommandLineOption screenshots_option(
      QStringLiteral("screenshots"),
      QCoreApplication::translate(
          "main",
          "Write screenshots of the main window and the add-in's dialogs to <folder> and "
          "quit."),
      QStringLiteral("folder"));
  parser.addOption(register_option);
  parser.addOption(screenshots_option);
  parser.process(qt);

  const std::filesystem::path program_folder = QCoreApplication::applicationDirPath().toStdString();
  const lunavant::workbench::ProgramLayout layout = lunavant::workbench::LayoutOf(program_folder);
  if (parser.isSet(register_option)) {
    if (!RegisterAddIn(parser.value(register_option))) return 1;
  } else {
    RegisterInstalledAddIn(layout);
  }

  lunavant::desktop::DesktopSession session({program_folder},
                                            lunavant::workbench::DefaultRegistryPath());
  lunavant::workbench::SearchLayoutFirst(session.app(), layout);
  lunavant::desktop::MainWindow& window = session.window();
  session.startUp();
  const QStringList files = parser.positionalArguments();
  for (const QString& file : files) window.openFile(file);
  if (files.isEmpty()) {
    lunavant::workbench::OpenBundledSample(session.app());
    window.syncWithApplication();
  }
  window.show();
  if (parser.isSet(screenshots_option)) {
    return lunavant::desktop::writeScreenshots(session, parser.value(screenshots_option)) ? 0 : 1;
  }
  lunavant::desktop::OfferRecovery(window);
  return QApplication::exec();
}
