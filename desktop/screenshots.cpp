// SPDX-License-Identifier: MIT
#include "desktop/screenshots.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <cstdio>
#include <functional>

#include "desktop/command_toolbars.h"
#include "desktop/desktop_session.h"
#include "desktop/main_window.h"
#include "workbench/model/application.h"
#include "workbench/ui/command_bars.h"

namespace lunavant::desktop {

namespace {

void settle(int milliseconds) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < milliseconds) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
}

bool save(QWidget& widget, const QDir& folder, const QString& name) {
  const QString path = folder.filePath(name);
  if (!widget.grab().save(path, "PNG")) {
    std::fprintf(stderr, "lunavant-desktop: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::fprintf(stdout, "%s\n", qPrintable(path));
  return true;
}

// Answers a message box with No (or its only button), or closes a dialog by its window.
void dismiss(QWidget& widget) {
  if (auto* box = qobject_cast<QMessageBox*>(&widget)) {
    QAbstractButton* no = box->button(QMessageBox::No);
    (no != nullptr ? no : box->buttons().front())->click();
    return;
  }
  widget.close();
}

// Triggers `action`; each modal widget that opens meanwhile goes to the next step, in order.
bool runWithModals(QAction* action, std::vector<std::function<void(QWidget&)>> steps) {
  if (action == nullptr) return false;
  std::size_t next = 0;
  QWidget* last = nullptr;
  QTimer poll;
  poll.setInterval(50);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == last || next >= steps.size()) return;
    last = modal;
    settle(200);  // let it paint before the picture
    steps[next++](*modal);
  });
  poll.start();
  action->trigger();
  return next == steps.size();
}

}  // namespace

bool writeScreenshots(DesktopSession& session, const QString& folder) {
  const QDir dir(folder);
  if (!dir.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "lunavant-desktop: cannot make %s\n", qPrintable(folder));
    return false;
  }
  MainWindow& window = session.window();
  if (lunavant::workbench::CommandBar* bar = session.app().CommandBars()->Item("Lunavant")) {
    bar->SetVisible(true);
  }
  window.syncToolbars();
  window.resize(1400, 760);
  settle(500);
  bool ok = save(window, dir, QStringLiteral("main-window.png"));

  // The sample pairs Start and Finish in the Entry table: Remove offers them there, and Add
  // offers the late dates of the Schedule table.
  QAction* remove =
      window.toolbars().buttonAction(QStringLiteral("Lunavant"), QStringLiteral("Remove Hijri"));
  ok = runWithModals(remove, {[](QWidget& dialog) {
                                if (auto* button = dialog.findChild<QPushButton*>("OKButton")) {
                                  button->click();
                                } else {
                                  dismiss(dialog);
                                }
                              },
                              [&](QWidget& box) {
                                ok =
                                    save(box, dir, QStringLiteral("remove-confirmation.png")) && ok;
                                dismiss(box);
                              }}) &&
       ok;

  window.applyTable(QStringLiteral("Schedule"));
  QAction* add =
      window.toolbars().buttonAction(QStringLiteral("Lunavant"), QStringLiteral("Add Hijri"));
  ok = runWithModals(add, {[&](QWidget& dialog) {
                       ok = save(dialog, dir, QStringLiteral("add-dialog.png")) && ok;
                       dismiss(dialog);
                     }}) &&
       ok;
  window.applyTable(QStringLiteral("Entry"));
  if (!ok) std::fprintf(stderr, "lunavant-desktop: not every screenshot could be taken\n");
  return ok;
}

}  // namespace lunavant::desktop
