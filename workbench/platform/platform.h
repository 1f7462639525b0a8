// SPDX-License-Identifier: MIT
// The platform services the workbench hands the add-in: regional settings from the POSIX locale,
// the dynamic library loader, and message boxes and a mouse pointer that a front end may
// substitute (the workbench's own ones record, see recording_ui.h).
#pragma once

#include <memory>

#include "addin/host/services.h"
#include "workbench/platform/library_loader.h"
#include "workbench/platform/regional_settings.h"

namespace lunavant::workbench {

class WorkbenchPlatform final : public host::Platform {
 public:
  // Takes ownership of all four; none may be null.
  WorkbenchPlatform(std::unique_ptr<host::MessageBoxes> messages,
                    std::unique_ptr<host::MousePointer> pointer,
                    std::unique_ptr<PosixRegionalSettings> regional,
                    std::unique_ptr<PosixLibraryLoader> libraries);

  host::MessageBoxes& Messages() override { return *messages_; }
  host::MousePointer& Pointer() override { return *pointer_; }
  PosixRegionalSettings& Regional() override { return *regional_; }
  PosixLibraryLoader& Libraries() override { return *libraries_; }
  const PosixRegionalSettings& Regional() const { return *regional_; }

 private:
  std::unique_ptr<host::MessageBoxes> messages_;
  std::unique_ptr<host::MousePointer> pointer_;
  std::unique_ptr<PosixRegionalSettings> regional_;
  std::unique_ptr<PosixLibraryLoader> libraries_;
};

}  // namespace lunavant::workbench
