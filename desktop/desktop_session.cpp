// SPDX-License-Identifier: MIT
#include "desktop/desktop_session.h"

#include "addin/host/global.h"
#include "desktop/main_window.h"
#include "desktop/qt_services.h"
#include "workbench/model/application.h"
#include "workbench/view/hijri_days.h"

namespace lunavant::desktop {

DesktopSession::DesktopSession(std::vector<std::filesystem::path> library_folders) {
  auto messages = std::make_unique<QtMessageBoxes>();
  QtMessageBoxes* boxes = messages.get();
  lunavant::workbench::FrontEndServices services;
  services.messages = std::move(messages);
  services.pointer = std::make_unique<QtMousePointer>();
  services.library_folders = std::move(library_folders);
  app_ = std::make_unique<lunavant::workbench::Application>(std::move(services));
  lunavant::host::SetGlobalApplication(app_.get());
  hijri_ = std::make_unique<lunavant::workbench::HijriDays>(app_->Libraries());
  window_ = std::make_unique<MainWindow>(*app_, *hijri_);
  boxes->setParent(window_.get());
}

DesktopSession::~DesktopSession() {
  window_.reset();
  hijri_.reset();
  if (lunavant::host::GlobalApplication() == app_.get()) {
    lunavant::host::SetGlobalApplication(nullptr);
  }
}

}  // namespace lunavant::desktop
