// SPDX-License-Identifier: MIT
// The platform services the workbench hands the add-in: regional settings from the POSIX locale,
// the dynamic library loader, the picture loader, and message boxes, a mouse pointer and a dialog
// toolkit that a front end may substitute (the workbench's own ones record and answer from a
// script, see recording_ui.h and workbench/ui/scripted_dialogs.h).
#pragma once

#include <memory>

#include "addin/host/dialogs.h"
#include "addin/host/services.h"
#include "workbench/platform/library_loader.h"
#include "workbench/platform/picture_loader.h"
#include "workbench/platform/regional_settings.h"

namespace lunavant::workbench {

class WorkbenchPlatform final : public host::Platform {
 public:
  // Takes ownership of all; none may be null.
  WorkbenchPlatform(std::unique_ptr<host::MessageBoxes> messages,
                    std::unique_ptr<host::MousePointer> pointer,
                    std::unique_ptr<PosixRegionalSettings> regional,
                    std::unique_ptr<PosixLibraryLoader> libraries,
                    std::unique_ptr<PictureFileLoader> pictures,
                    std::unique_ptr<host::DialogToolkit> dialogs);

  host::MessageBoxes& Messages() override { return *messages_; }
  host::MousePointer& Pointer() override { return *pointer_; }
  PosixRegionalSettings& Regional() override { return *regional_; }
  PosixLibraryLoader& Libraries() override { return *libraries_; }
  PictureFileLoader& Pictures() override { return *pictures_; }
  host::DialogToolkit& Dialogs() override { return *dialogs_; }
  const PosixRegionalSettings& Regional() const { return *regional_; }

 private:
  std::unique_ptr<host::MessageBoxes> messages_;
  std::unique_ptr<host::MousePointer> pointer_;
  std::unique_ptr<PosixRegionalSettings> regional_;
  std::unique_ptr<PosixLibraryLoader> libraries_;
  std::unique_ptr<PictureFileLoader> pictures_;
  std::unique_ptr<host::DialogToolkit> dialogs_;
};

}  // namespace lunavant::workbench
