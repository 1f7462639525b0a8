// SPDX-License-Identifier: MIT
// What the desktop program is made of, put together once for the program, its tests and its
// benchmark alike: the reference host with Qt message boxes and the wait cursor as its platform
// services, the Hijri days the charts draw, and the main window. The host becomes the global
// application for the session's life.
//
//   DesktopSession session({QCoreApplication::applicationDirPath().toStdString()});
//   session.window().show();
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

namespace lunavant::workbench {
class AddInManager;
class Application;
class HijriDays;
}  // namespace lunavant::workbench

namespace lunavant::desktop {

class MainWindow;
class QtDialogToolkit;

class DesktopSession {
 public:
  // `library_folders` are searched first for the converter (the program's own folder); the
  // add-ins are those of the registry file at `registry_path`. Connects no add-in yet.
  DesktopSession(std::vector<std::filesystem::path> library_folders,
                 std::filesystem::path registry_path);
  ~DesktopSession();
  DesktopSession(const DesktopSession&) = delete;
  DesktopSession& operator=(const DesktopSession&) = delete;

  lunavant::workbench::Application& app() { return *app_; }
  lunavant::workbench::HijriDays& hijri() { return *hijri_; }
  MainWindow& window() { return *window_; }
  lunavant::workbench::AddInManager& addIns() { return *addins_; }
  QtDialogToolkit& dialogs() { return *dialogs_; }
  // Connects the add-ins the registry loads at start-up, as the host does when it starts.
  void startUp();

 private:
  std::unique_ptr<lunavant::workbench::Application> app_;
  std::unique_ptr<lunavant::workbench::HijriDays> hijri_;
  QtDialogToolkit* dialogs_ = nullptr;  // owned by the application
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<lunavant::workbench::AddInManager> addins_;
};

}  // namespace lunavant::desktop
