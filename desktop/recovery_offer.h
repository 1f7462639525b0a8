// SPDX-License-Identifier: MIT
// At start-up: the recovery copies that a program which stopped without closing its projects
// left behind (see recovery_copies.h) are offered to the user.
#pragma once

namespace lunavant::desktop {

class MainWindow;

// Offers every copy left behind, in one question: Recover opens each as a project with unsaved
// changes, its file as before (a file changed since is told as an outside change); Discard
// removes them; Not Now keeps them for the next start. Shows nothing when there are none.
void OfferRecovery(MainWindow& window);

}  // namespace lunavant::desktop
