// SPDX-License-Identifier: MIT
#include "desktop/sort_commands.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>

#include "addin/host/error.h"
#include "desktop/host_messages.h"
#include "desktop/main_window.h"
#include "desktop/project_view.h"
#include "desktop/sort_dialog.h"
#include "desktop/task_indicators.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

namespace {

const char* const kKeepOutlineKey = "sort/keepOutline";

}  // namespace

SortCommands::SortCommands(MainWindow& window) : QObject(&window), window_(window) {}

bool SortCommands::keepsOutline() const {
  return QSettings().value(kKeepOutlineKey, true).toBool();
}

void SortCommands::setKeepsOutline(bool keep) { QSettings().setValue(kKeepOutlineKey, keep); }

bool SortCommands::sort(ProjectView& view, const std::vector<wb::SortKey>& keys,
                        bool keep_outline) {
  if (keys.empty() || view.project().IsClosed()) return false;
  TaskSheetModel& model = view.model();
  wb::Task* current = model.taskAt(view.sheet().currentIndex().row());
  bool moved = false;
  if (keep_outline) {
    const bool was_flat = model.outline().IsFlat();
    model.setFlatSort({});
    const std::string separator = view.project().App().DateSeparator();
    bool rows_moved = false;
    const bool taken = model.editRows(
        tr("Sort"), [&] { rows_moved = wb::SortTasks(view.project(), keys, separator); });
    moved = taken && (rows_moved || was_flat);
  } else {
    try {
      model.setFlatSort(keys);
      moved = true;
    } catch (const lunavant::host::HostError& e) {
      model.setFlatSort({});
      QMessageBox::warning(&window_, QApplication::applicationDisplayName(),
                           shownHostMessage(e.record().description));
    }
  }
  // The task the user was on stays the current one, wherever it went.
  if (current != nullptr) {
    const int row = model.outline().RowOfTask(*current);
    if (row >= 0)
      view.sheet().setCurrentIndex(model.index(row, view.sheet().currentIndex().column()));
  }
  view.chart().refresh();
  return moved;
}

bool SortCommands::sortById(ProjectView& view) {
  if (!view.model().outline().IsFlat()) return false;
  view.model().setFlatSort({});
  view.chart().refresh();
  return true;
}

bool SortCommands::sortBy(ProjectView& view, int column) {
  SortDialog dialog(view.model(), column, keepsOutline(), &window_);
  if (dialog.exec() != QDialog::Accepted) return false;
  setKeepsOutline(dialog.keepOutline());
  return sort(view, dialog.keys(), dialog.keepOutline());
}

void SortCommands::attach(ProjectView& view) {
  QHeaderView* header = view.sheet().horizontalHeader();
  header->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(header, &QHeaderView::customContextMenuRequested, &view,
          [this, &view, header](const QPoint& at) {
            QMenu* menu = headerMenu(view, header->logicalIndexAt(at));
            menu->exec(header->viewport()->mapToGlobal(at));
            delete menu;
          });
}

QMenu* SortCommands::headerMenu(ProjectView& view, int column) {
  auto* menu = new QMenu(&view);
  menu->setObjectName(QStringLiteral("sheetHeaderMenu"));
  const int field = view.model().fieldAt(column);
  const bool sortable = field != 0 && field != kIndicatorsField && !view.project().IsClosed();
  auto add = [menu](const char* name, const QString& text) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    return action;
  };
  QAction* ascending = add("sortAscending", tr("Sort &Ascending"));
  QAction* descending = add("sortDescending", tr("Sort &Descending"));
  ascending->setEnabled(sortable);
  descending->setEnabled(sortable);
  connect(ascending, &QAction::triggered, this, [this, &view, field] {
    sort(view, {{field, true}}, keepsOutline());
  });
  connect(descending, &QAction::triggered, this, [this, &view, field] {
    sort(view, {{field, false}}, keepsOutline());
  });
  QAction* keep = add("sortKeepOutline", tr("&Keep Outline Structure"));
  keep->setCheckable(true);
  keep->setChecked(keepsOutline());
  connect(keep, &QAction::toggled, this, &SortCommands::setKeepsOutline);
  menu->addSeparator();
  QAction* by = add("sortBy", tr("Sort &By..."));
  by->setEnabled(!view.project().IsClosed());
  connect(by, &QAction::triggered, this, [this, &view, column] { sortBy(view, column); });
  QAction* by_id = add("sortById", tr("Sort by &ID"));
  by_id->setEnabled(view.model().outline().IsFlat());
  connect(by_id, &QAction::triggered, this, [this, &view] { sortById(view); });
  return menu;
}

void SortCommands::sortCurrentBy(lunavant::host::FieldId field) {
  if (ProjectView* view = window_.currentView()) sort(*view, {{field, true}}, keepsOutline());
}

void SortCommands::addMenu(QMenu& parent) {
  QMenu* menu = parent.addMenu(tr("&Sort"));
  menu->setObjectName(QStringLiteral("viewSort"));
  auto add = [menu](const char* name, const QString& text) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    return action;
  };
  connect(add("viewSortByStart", tr("by &Start Date")), &QAction::triggered, this,
          [this] { sortCurrentBy(wb::field::kStart); });
  connect(add("viewSortByFinish", tr("by &Finish Date")), &QAction::triggered, this,
          [this] { sortCurrentBy(wb::field::kFinish); });
  connect(add("viewSortById", tr("by &ID")), &QAction::triggered, this, [this] {
    if (ProjectView* view = window_.currentView()) sortById(*view);
  });
  menu->addSeparator();
  connect(add("viewSortBy", tr("Sort &By...")), &QAction::triggered, this, [this] {
    ProjectView* view = window_.currentView();
    if (view != nullptr) sortBy(*view, std::max(0, view->sheet().currentIndex().column()));
  });
}

}  // namespace lunavant::desktop
