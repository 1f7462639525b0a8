// SPDX-License-Identifier: MIT
// Screenshots of the program as a user sees it, for the documentation and for a check that it
// draws: the main window with its Gantt chart, the add-in's Add dialog and the Remove
// confirmation, the print preview, the date picker, a project built from scratch and its Change
// Working Time dialog, written as PNG files into a folder.
#pragma once

#include <QString>

namespace lunavant::desktop {

class DesktopSession;

// Shows the add-in's toolbar, then writes main-window.png, add-dialog.png,
// remove-confirmation.png, print-preview.png (the sample at week zoom), date-picker.png (a Start
// cell's picker in the Hijri calendar), new-project.png (a project built from scratch) and
// working-time.png (its Change Working Time dialog) into `folder` (made when missing), cancelling
// each dialog after its picture. False, with a message on standard error, when a picture could not
// be taken.
bool writeScreenshots(DesktopSession& session, const QString& folder);

}  // namespace lunavant::desktop
