// SPDX-License-Identifier: MIT
// The host's command bars shown as the main window's toolbars: "Standard" and every bar an add-in
// adds, each button with its caption, tooltip and face, its enabled state as the host has it
// (disabled while the host is busy). A click goes to the host's button, whose Click event reaches
// the add-in.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <vector>

class QAction;
class QMainWindow;
class QToolBar;

namespace lunavant::workbench {
class CommandBar;
class CommandBarButton;
class CommandBars;
}  // namespace lunavant::workbench

namespace lunavant::desktop {

class CommandToolbars : public QObject {
  Q_OBJECT

 public:
  // Both must outlive this object.
  CommandToolbars(QMainWindow& window, lunavant::workbench::CommandBars& bars);

  // The toolbar of the bar named `name`; null when the host has no such bar.
  QToolBar* toolbar(const QString& name) const;
  // The action of the button tagged `tag` on bar `bar`; null when there is none.
  QAction* buttonAction(const QString& bar, const QString& tag) const;
  // Runs a button's click (`click`, which says whether the button took it): the window makes an
  // add-in's command one undoable step. Without one, the click just runs.
  using ClickRunner =
      std::function<bool(const QString& bar, const QString& caption, const std::function<bool()>&)>;
  void setClickRunner(ClickRunner runner) { run_click_ = std::move(runner); }

 public slots:
  // Follows the host's bars: adds and removes toolbars and buttons, updates every state.
  void sync();

 signals:
  // A button was clicked and its Click event has run; `caption` names it.
  void buttonClicked(const QString& bar, const QString& caption);

 private:
  struct Shown {
    QPointer<QToolBar> toolbar;
    std::vector<lunavant::workbench::CommandBarButton*> buttons;
    std::vector<QPointer<QAction>> actions;
  };
  void rebuildButtons(lunavant::workbench::CommandBar& bar, Shown& shown);

  QMainWindow& window_;
  lunavant::workbench::CommandBars& bars_;
  std::map<lunavant::workbench::CommandBar*, Shown> shown_;
  bool syncing_ = false;
  ClickRunner run_click_;
};

}  // namespace lunavant::desktop
