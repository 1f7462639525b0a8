// SPDX-License-Identifier: MIT
// The user's choices of how the desktop speaks and writes, in the main window's menus: the
// interface's language (View > Language), the digits of the host's display (View > Digits) and
// the direction of the Gantt's time axis (View > Time Axis). Each is kept for the user and applies
// at once.
#pragma once

#include <QObject>

class QActionGroup;
class QMenu;

namespace lunavant::desktop {

class MainWindow;

class DisplayChoices : public QObject {
  Q_OBJECT

 public:
  // Adds the choices to `view`, which owns this object; the window must outlive it.
  DisplayChoices(MainWindow& window, QMenu& view);

 private:
  void showChoices();
  void applyToViews();

  MainWindow& window_;
  QActionGroup* languages_;
  QActionGroup* digits_;
  QActionGroup* time_axis_;
};

}  // namespace lunavant::desktop
