// SPDX-License-Identifier: MIT
#include "desktop/desktop_session.h"

#include "addin/host/global.h"
#include "desktop/main_window.h"
#include "desktop/qt_dialogs.h"
#include "desktop/qt_services.h"
#include "workbench/addins/addin_manager.h"
#include "workbench/files/project_file.h"
#include "workbench/model/application.h"
#include "workbench/platform/region_week.h"
#include "workbench/view/hijri_days.h"

namespace lunavant::desktop {

DesktopSession::DesktopSession(std::vector<std::filesystem::path> library_folders,
                               std::filesystem::path registry_path) {
  auto messages = std::make_unique<QtMessageBoxes>();
  QtMessageBoxes* boxes = messages.get();
  auto dialogs = std::make_unique<QtDialogToolkit>();
  dialogs_ = dialogs.get();
  lunavant::workbench::FrontEndServices services;
  services.messages = std::move(messages);
  services.pointer = std::make_unique<QtMousePointer>();
  services.dialogs = std::move(dialogs);
  services.library_folders = std::move(library_folders);
  app_ = std::make_unique<lunavant::workbench::Application>(std::move(services));
  dialogs_->setBusyBars(app_->CommandBars());
  lunavant::host::SetGlobalApplication(app_.get());
  lunavant::workbench::UseProjectFiles(*app_);
  // A project made from scratch works the week of the user's region.
  app_->SetNewProjectCalendar(
      lunavant::workbench::RegionCalendar(lunavant::workbench::UserRegion()));
  hijri_ = std::make_unique<lunavant::workbench::HijriDays>(app_->Libraries());
  addins_ = std::make_unique<lunavant::workbench::AddInManager>(*app_, std::move(registry_path));
  window_ = std::make_unique<MainWindow>(*app_, *hijri_, addins_.get());
  boxes->setParent(window_.get());
  dialogs_->setParent(window_.get());
}

void DesktopSession::startUp() {
  window_->restoreToolbars();
  addins_->StartUp();
  window_->dropEmptyToolbars();
  window_->syncWithApplication();
}

DesktopSession::~DesktopSession() {
  // Add-ins leave while the window still shows what they change.
  addins_.reset();
  window_.reset();
  hijri_.reset();
  if (lunavant::host::GlobalApplication() == app_.get()) {
    lunavant::host::SetGlobalApplication(nullptr);
  }
}

}  // namespace lunavant::desktop
