// SPDX-License-Identifier: MIT
#include "desktop/screenshots.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <cstdio>
#include <functional>

#include "addin/host/field_ids.h"
#include "desktop/command_toolbars.h"
#include "desktop/date_cell_editor.h"
#include "desktop/desktop_session.h"
#include "desktop/main_window.h"
#include "desktop/project_view.h"
#include "desktop/task_commands.h"
#include "workbench/model/application.h"
#include "workbench/model/task.h"
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

// A project of five linked tasks under one summary, made as a user makes it: names and
// durations typed into the row below the last, the tasks indented and linked.
bool buildProjectFromScratch(MainWindow& window) {
  window.action(QStringLiteral("fileNew"))->trigger();
  ProjectView* view = window.currentView();
  if (view == nullptr) return false;
  TaskSheetModel& model = view->model();
  const int name = model.nameColumn();
  int duration = -1;
  for (int column = 0; column < model.columnCount(); ++column) {
    if (model.fieldAt(column) == lunavant::host::field::kDuration) {
      duration = column;
    }
  }
  const QStringList names = {"Office move", "Survey", "Design", "Build", "Handover"};
  for (int row = 0; row < names.size(); ++row) {
    model.applyEdits(QStringLiteral("Typing"), {{row, name, names[row]}});
    if (row > 0)
      model.applyEdits(QStringLiteral("Typing"), {{row, duration, QString::number(row * 2)}});
  }
  auto select = [&](int top, int bottom) {
    view->sheet().setCurrentIndex(model.index(top, name));
    view->sheet().selectionModel()->select(
        QItemSelection(model.index(top, name), model.index(bottom, name)),
        QItemSelectionModel::ClearAndSelect);
  };
  select(1, 4);
  window.tasks().indent(*view);
  window.tasks().link(*view);
  view->chart().setZoom(lunavant::workbench::TimescaleZoom::kDays);
  return model.taskAt(0) != nullptr && model.taskAt(0)->IsSummary();
}

// The date picker of a Start cell of the sample, in the Hijri calendar; the edit is cancelled.
bool pictureDatePicker(MainWindow& window, const QDir& dir) {
  ProjectView* view = window.currentView();
  if (view == nullptr) return false;
  TaskSheetModel& model = view->model();
  int start = -1;
  for (int column = 0; column < model.columnCount(); ++column) {
    // By its field, not its title, which is translated.
    if (model.fieldAt(column) == lunavant::host::field::kStart) start = column;
  }
  const QModelIndex cell = model.index(2, start);
  view->sheet().setCurrentIndex(cell);
  view->sheet().edit(cell);
  auto* editor = qobject_cast<DateCellEditor*>(view->sheet().indexWidget(cell));
  if (editor == nullptr) return false;
  editor->openPicker();
  DatePicker* picker = editor->picker();
  if (picker == nullptr) return false;
  picker->setCalendar(lunavant::workbench::TierCalendar::kHijri);
  settle(400);
  const bool saved = save(*picker->window(), dir, QStringLiteral("date-picker.png"));
  picker->window()->close();
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(editor, &escape);
  settle(100);
  return saved;
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

  if (ProjectView* sample = window.currentView()) {
    sample->chart().setZoom(lunavant::workbench::TimescaleZoom::kWeeks);
  }
  ok = runWithModals(window.action(QStringLiteral("filePrintPreview")), {[&](QWidget& dialog) {
                       dialog.resize(1300, 860);
                       settle(800);
                       ok = save(dialog, dir, QStringLiteral("print-preview.png")) && ok;
                       dismiss(dialog);
                     }}) &&
       ok;
  ok = pictureDatePicker(window, dir) && ok;
  ok = buildProjectFromScratch(window) && ok;
  settle(300);
  ok = save(window, dir, QStringLiteral("new-project.png")) && ok;
  ok = runWithModals(window.action(QStringLiteral("toolsWorkingTime")), {[&](QWidget& dialog) {
                       ok = save(dialog, dir, QStringLiteral("working-time.png")) && ok;
                       dismiss(dialog);
                     }}) &&
       ok;
  if (!ok) std::fprintf(stderr, "lunavant-desktop: not every screenshot could be taken\n");
  return ok;
}

}  // namespace lunavant::desktop
