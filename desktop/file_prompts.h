// SPDX-License-Identifier: MIT
// What the main window asks before a project's file is written over or read again: the user
// decides about an outside change, and about a project with no file yet.
#pragma once

#include <QString>

class QWidget;

namespace lunavant::desktop {

// The answer to a file that changed (or went) outside the program since it was read or written.
enum class OutsideChangeChoice {
  kReload,     // read the file again, leaving the program's unsaved changes
  kSaveAs,     // keep the other file and save under another name
  kOverwrite,  // write over it knowingly (or write it again where it went missing)
  kKeep,       // go on with the project as it is here, the file untouched for now
  kCancel,     // do not save now
};

// Told as soon as the change is noticed: Reload or Keep (the default). `gone` for a file
// deleted or moved away, which can only be noted (Keep).
OutsideChangeChoice TellOutsideChange(QWidget* parent, const QString& path, bool gone,
                                      bool unsaved_here);
// Asked before a save over a file changed or gone outside: Reload (not for a gone file), Save
// As, Overwrite (Save again, for a gone file) or Cancel (the default).
OutsideChangeChoice AskBeforeSavingOver(QWidget* parent, const QString& path, bool gone);
// Whether the unsaved changes of `name` may go for a reload.
bool ConfirmReloadLosingChanges(QWidget* parent, const QString& name);

// The suffix project files get when the user names one without any.
QString WithProjectSuffix(const QString& path);

}  // namespace lunavant::desktop
