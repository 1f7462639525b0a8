// SPDX-License-Identifier: MIT
// The platform services the add-in gets from Windows, one set for the process.
#pragma once

#include "addin/host/services.h"
#include "platform/library_loader.h"
#include "platform/picture_loader.h"
#include "platform/regional_settings.h"
#include "ui/dialog_toolkit.h"
#include "ui/message_boxes.h"

namespace lunavant::winaddin {

class WindowsPlatform final : public host::Platform {
 public:
  host::MessageBoxes& Messages() override { return messages_; }
  host::MousePointer& Pointer() override { return pointer_; }
  host::RegionalSettings& Regional() override { return regional_; }
  host::LibraryLoader& Libraries() override { return libraries_; }
  host::PictureLoader& Pictures() override { return pictures_; }
  host::DialogToolkit& Dialogs() override { return dialogs_; }

 private:
  Win32MessageBoxes messages_;
  Win32MousePointer pointer_;
  WindowsRegionalSettings regional_;
  WindowsLibraryLoader libraries_;
  WindowsPictureLoader pictures_;
  Win32DialogToolkit dialogs_;
};

// The process's platform services.
WindowsPlatform& ProcessPlatform();

}  // namespace lunavant::winaddin
