// SPDX-License-Identifier: MIT
#include "desktop/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

#include "addin/host/error.h"
#include "desktop/about_dialog.h"
#include "desktop/add_ins_dialog.h"
#include "desktop/command_toolbars.h"
#include "desktop/edit_commands.h"
#include "desktop/holidays_dialog.h"
#include "desktop/host_text.h"
#include "desktop/print_commands.h"
#include "desktop/project_view.h"
#include "desktop/regional_settings_dialog.h"
#include "desktop/task_commands.h"
#include "desktop/working_time_dialog.h"
#include "workbench/files/file_error.h"
#include "workbench/files/project_file.h"
#include "workbench/model/application.h"
#include "workbench/model/project.h"
#include "workbench/ui/command_bars.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

namespace {

const char* const kHijriTiersKey = "chart/hijriTiers";
const char* const kPatternKey = "regional/shortDatePattern";
const char* const kSeparatorKey = "regional/dateSeparator";
const char* const kRecentKey = "files/recent";
const char* const kShownBarsKey = "toolbars/shown";
constexpr int kRecentCount = 6;
const QString kFileFilter = QStringLiteral("Project files (*.xml);;All files (*)");

}  // namespace

MainWindow::MainWindow(wb::Application& app, wb::HijriDays& hijri, wb::AddInManager* addins,
                       QWidget* parent)
    : QMainWindow(parent), app_(app), hijri_(hijri), tabs_(new QTabWidget(this)), addins_(addins) {
  printing_ = new PrintCommands(*this, hijri_);
  editing_ = new EditCommands(*this);
  task_commands_ = new TaskCommands(*this);
  tabs_->setDocumentMode(true);
  tabs_->setTabsClosable(true);
  tabs_->setMovable(false);
  setCentralWidget(tabs_);
  connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::onCurrentTabChanged);
  connect(tabs_, &QTabWidget::tabCloseRequested, this, [this](int index) {
    if (auto* view = qobject_cast<ProjectView*>(tabs_->widget(index))) {
      app_.CloseProject(view->project());
      syncWithApplication();
    }
  });
  createMenus();
  toolbars_ = new CommandToolbars(*this, *app_.CommandBars());
  connect(toolbars_, &CommandToolbars::buttonClicked, this, &MainWindow::onToolbarButton);
  // Enabled states follow the host's busy state, which changes under the user's hands (a cell
  // being edited); a light poll keeps the toolbars honest between actions.
  auto* live_states = new QTimer(this);
  live_states->setInterval(250);
  connect(live_states, &QTimer::timeout, this, &MainWindow::syncToolbars);
  live_states->start();
  restoreSettings();
  resize(1200, 720);
  syncWithApplication();
}

MainWindow::~MainWindow() = default;

void MainWindow::createMenus() {
  auto add = [this](QMenu* menu, const QString& name, const QString& text,
                    const QKeySequence& keys = {}) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    if (!keys.isEmpty()) action->setShortcut(keys);
    return action;
  };

  QMenu* file = menuBar()->addMenu(tr("&File"));
  connect(add(file, "fileNew", tr("&New"), QKeySequence::New), &QAction::triggered, this,
          &MainWindow::newProject);
  connect(add(file, "fileOpen", tr("&Open..."), QKeySequence::Open), &QAction::triggered, this,
          [this] {
            const QString path = QFileDialog::getOpenFileName(this, tr("Open"), {}, kFileFilter);
            if (!path.isEmpty()) openFile(path);
          });
  recent_menu_ = file->addMenu(tr("Open &Recent"));
  recent_menu_->setObjectName("fileRecent");
  connect(recent_menu_, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
  connect(add(file, "fileSave", tr("&Save"), QKeySequence::Save), &QAction::triggered, this,
          &MainWindow::saveProject);
  connect(add(file, "fileSaveAs", tr("Save &As..."), QKeySequence::SaveAs), &QAction::triggered,
          this, [this] {
            const QString path = QFileDialog::getSaveFileName(this, tr("Save As"), {}, kFileFilter);
            if (!path.isEmpty()) saveProjectAs(path);
          });
  connect(add(file, "fileClose", tr("&Close"), QKeySequence::Close), &QAction::triggered, this,
          &MainWindow::closeCurrentProject);
  file->addSeparator();
  connect(add(file, "filePageSetup", tr("Page Set&up...")), &QAction::triggered, printing_,
          &PrintCommands::pageSetup);
  connect(add(file, "filePrintPreview", tr("Print Pre&view"), Qt::CTRL | Qt::ALT | Qt::Key_I),
          &QAction::triggered, this, [this] {
            if (ProjectView* current = currentView()) printing_->printPreview(*current);
          });
  connect(add(file, "filePrint", tr("&Print..."), QKeySequence::Print), &QAction::triggered, this,
          [this] {
            if (ProjectView* current = currentView()) printing_->print(*current);
          });
  connect(add(file, "fileExportPdf", tr("&Export PDF..."), Qt::CTRL | Qt::SHIFT | Qt::Key_E),
          &QAction::triggered, this, [this] {
            if (ProjectView* current = currentView()) printing_->exportPdf(*current);
          });
  file->addSeparator();
  connect(add(file, "fileExit", tr("E&xit"), QKeySequence::Quit), &QAction::triggered, this,
          &QWidget::close);

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  connect(edit, &QMenu::aboutToShow, editing_, &EditCommands::updateActions);
  connect(add(edit, "editUndo", tr("&Undo"), QKeySequence::Undo), &QAction::triggered, editing_,
          &EditCommands::undoCurrent);
  QAction* redo = add(edit, "editRedo", tr("&Redo"));
  // Ctrl+Y as office programs have it, and the platform's own key as well.
  QList<QKeySequence> redo_keys = QKeySequence::keyBindings(QKeySequence::Redo);
  if (!redo_keys.contains(QKeySequence(Qt::CTRL | Qt::Key_Y))) {
    redo_keys.prepend(QKeySequence(Qt::CTRL | Qt::Key_Y));
  }
  redo->setShortcuts(redo_keys);
  connect(redo, &QAction::triggered, editing_, &EditCommands::redoCurrent);
  edit->addSeparator();
  connect(add(edit, "editCut", tr("Cu&t"), QKeySequence::Cut), &QAction::triggered, editing_,
          &EditCommands::cutCurrent);
  connect(add(edit, "editCopy", tr("&Copy"), QKeySequence::Copy), &QAction::triggered, editing_,
          &EditCommands::copyCurrent);
  connect(add(edit, "editPaste", tr("&Paste"), QKeySequence::Paste), &QAction::triggered, editing_,
          &EditCommands::pasteCurrent);
  edit->addSeparator();
  connect(add(edit, "editFind", tr("&Find..."), QKeySequence::Find), &QAction::triggered, editing_,
          &EditCommands::findCurrent);
  connect(add(edit, "editFindNext", tr("Find &Next"), QKeySequence::FindNext), &QAction::triggered,
          editing_, &EditCommands::findNextCurrent);

  QMenu* task = menuBar()->addMenu(tr("T&ask"));
  connect(add(task, "taskInsert", tr("&Insert Task"), Qt::Key_Insert), &QAction::triggered,
          task_commands_, &TaskCommands::insertCurrent);
  connect(add(task, "taskDelete", tr("&Delete Task"), Qt::Key_Delete), &QAction::triggered,
          task_commands_, &TaskCommands::deleteCurrent);
  task->addSeparator();
  connect(add(task, "taskIndent", tr("I&ndent"), Qt::ALT | Qt::SHIFT | Qt::Key_Right),
          &QAction::triggered, task_commands_, &TaskCommands::indentCurrent);
  connect(add(task, "taskOutdent", tr("&Outdent"), Qt::ALT | Qt::SHIFT | Qt::Key_Left),
          &QAction::triggered, task_commands_, &TaskCommands::outdentCurrent);
  task->addSeparator();
  connect(add(task, "taskLink", tr("&Link Tasks"), Qt::CTRL | Qt::Key_F2), &QAction::triggered,
          task_commands_, &TaskCommands::linkCurrent);
  connect(add(task, "taskUnlink", tr("&Unlink Tasks"), Qt::CTRL | Qt::SHIFT | Qt::Key_F2),
          &QAction::triggered, task_commands_, &TaskCommands::unlinkCurrent);

  QMenu* view = menuBar()->addMenu(tr("&View"));
  table_menu_ = view->addMenu(tr("&Table"));
  table_menu_->setObjectName("viewTable");
  connect(table_menu_, &QMenu::aboutToShow, this, &MainWindow::fillTableMenu);
  view->addSeparator();
  connect(add(view, "viewZoomIn", tr("Zoom &In"), QKeySequence::ZoomIn), &QAction::triggered, this,
          [this] {
            if (ProjectView* current = currentView()) current->chart().zoomIn();
          });
  connect(add(view, "viewZoomOut", tr("Zoom &Out"), QKeySequence::ZoomOut), &QAction::triggered,
          this, [this] {
            if (ProjectView* current = currentView()) current->chart().zoomOut();
          });
  toolbars_menu_ = view->addMenu(tr("Tool&bars"));
  toolbars_menu_->setObjectName("viewToolbars");
  connect(toolbars_menu_, &QMenu::aboutToShow, this, &MainWindow::fillToolbarsMenu);
  QMenu* hijri = view->addMenu(tr("&Hijri Timescale"));
  hijri_group_ = new QActionGroup(this);
  const std::pair<const char*, GanttChart::HijriTiers> placements[] = {
      {"viewHijriAbove", GanttChart::HijriTiers::Above},
      {"viewHijriBelow", GanttChart::HijriTiers::Below},
      {"viewHijriHidden", GanttChart::HijriTiers::Hidden}};
  const QString captions[] = {tr("&Above the Gregorian Tiers"), tr("&Below the Gregorian Tiers"),
                              tr("&Hidden")};
  for (int i = 0; i < 3; ++i) {
    QAction* action = add(hijri, placements[i].first, captions[i]);
    action->setCheckable(true);
    action->setData(static_cast<int>(placements[i].second));
    hijri_group_->addAction(action);
    const GanttChart::HijriTiers placement = placements[i].second;
    connect(action, &QAction::triggered, this, [this, placement] { setHijriTiers(placement); });
  }

  // Every connected add-in's buttons, reachable from the keyboard whether its toolbar shows or
  // not.
  addins_menu_ = menuBar()->addMenu(tr("Add-&Ins"));
  addins_menu_->setObjectName("addInsMenu");
  connect(addins_menu_, &QMenu::aboutToShow, this, &MainWindow::fillAddInsMenu);
  fillAddInsMenu();

  QMenu* tools = menuBar()->addMenu(tr("&Tools"));
  connect(add(tools, "toolsAddIns", tr("&Add-Ins...")), &QAction::triggered, this,
          &MainWindow::showAddIns);
  connect(add(tools, "toolsRegional", tr("&Regional Settings...")), &QAction::triggered, this,
          &MainWindow::showRegionalSettings);
  connect(add(tools, "toolsWorkingTime", tr("Change &Working Time...")), &QAction::triggered, this,
          &MainWindow::showWorkingTime);
  connect(add(tools, "toolsHolidays", tr("&Holidays...")), &QAction::triggered, this,
          &MainWindow::showHolidays);

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  connect(add(help, "helpAbout", tr("&About Lunavant...")), &QAction::triggered, this,
          &MainWindow::showAbout);
}

void MainWindow::showHostError(const QString& message) {
  QMessageBox::warning(this, QApplication::applicationDisplayName(), message);
}

bool MainWindow::openFile(const QString& path) {
  try {
    wb::OpenProjectFile(app_, path.toStdString());
  } catch (const wb::ProjectFileError& e) {
    showHostError(QString::fromUtf8(e.what()));
    syncWithApplication();
    return false;
  } catch (const lunavant::host::HostError& e) {
    showHostError(fromHost(e.record().description));
    syncWithApplication();
    return false;
  }
  rememberRecent(QFileInfo(path).absoluteFilePath());
  scheduleOpenedProject();
  syncWithApplication();
  return true;
}

void MainWindow::scheduleOpenedProject() {
  wb::Project* project = app_.ActiveProject();
  if (project == nullptr) return;
  // What the sheet shows of every task: when scheduling changes none of it, the project is
  // still the file's.
  auto shown = [project] {
    std::vector<std::string> cells;
    wb::ColumnList& columns = project->TaskTable(project->CurrentTable()).Columns();
    for (const auto& row : project->Rows()) {
      if (!row) continue;
      for (std::int32_t position = 1; position <= columns.Count(); ++position) {
        try {
          cells.push_back(row->GetField(columns.Item(position).Field()));
        } catch (const lunavant::host::HostError&) {
          cells.emplace_back();
        }
      }
    }
    return cells;
  };
  const bool saved = project->Saved();
  try {
    const std::vector<std::string> before = shown();
    // A file keeps no slack the scheduler agrees with, or none at all: the project is scheduled
    // once, so that slack and the other calculated fields read true from the start.
    app_.CalculateProject();
    if (saved && shown() == before) project->MarkSaved();
  } catch (const lunavant::host::HostError& e) {
    showHostError(fromHost(e.record().description));
  }
}

bool MainWindow::saveProject() {
  wb::Project* active = app_.ActiveProject();
  if (active == nullptr) return false;
  if (wb::ProjectFilePath(*active).empty()) {
    const QString path = QFileDialog::getSaveFileName(this, tr("Save As"), {}, kFileFilter);
    return !path.isEmpty() && saveProjectAs(path);
  }
  bool saved = false;
  try {
    saved = app_.SaveProject(*active);
  } catch (const std::exception& e) {
    showHostError(QString::fromUtf8(e.what()));
  }
  if (saved) rememberRecent(QString::fromStdString(wb::ProjectFilePath(*active).string()));
  updateTitles();
  return saved;
}

bool MainWindow::saveProjectAs(const QString& path) {
  wb::Project* active = app_.ActiveProject();
  if (active == nullptr) return false;
  // A name without a suffix gets the one the Open dialog looks for.
  const QString named = QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".xml") : path;
  bool saved = false;
  try {
    saved = app_.SaveProjectAs(*active, QFileInfo(named).absoluteFilePath().toStdString());
  } catch (const std::exception& e) {
    showHostError(QString::fromUtf8(e.what()));
  }
  if (saved) rememberRecent(QString::fromStdString(wb::ProjectFilePath(*active).string()));
  updateTitles();
  return saved;
}

void MainWindow::rememberRecent(const QString& path) {
  QSettings settings;
  QStringList recent = settings.value(kRecentKey).toStringList();
  recent.removeAll(path);
  recent.prepend(path);
  while (recent.size() > kRecentCount) recent.removeLast();
  settings.setValue(kRecentKey, recent);
}

void MainWindow::fillRecentMenu() {
  recent_menu_->clear();
  // Files that are gone are offered no more.
  QStringList recent = QSettings().value(kRecentKey).toStringList();
  const qsizetype listed = recent.size();
  recent.removeIf([](const QString& path) { return !QFileInfo::exists(path); });
  if (recent.size() != listed) QSettings().setValue(kRecentKey, recent);
  for (const QString& path : recent) {
    QAction* item = recent_menu_->addAction(QFileInfo(path).fileName());
    item->setToolTip(path);
    item->setData(path);
    connect(item, &QAction::triggered, this, [this, path] { openFile(path); });
  }
  recent_menu_->setEnabled(true);
  if (recent.isEmpty()) recent_menu_->addAction(tr("(none)"))->setEnabled(false);
}

void MainWindow::fillToolbarsMenu() {
  toolbars_menu_->clear();
  for (wb::CommandBar* bar : app_.CommandBars()->Bars()) {
    // The host's Database bar (sorting, filtering) has no commands in this program; Edit > Find
    // is its one that has.
    if (bar->BuiltIn() && bar->Name() == "Database") continue;
    QAction* item = toolbars_menu_->addAction(fromHost(bar->Name()));
    item->setCheckable(true);
    item->setChecked(bar->Visible());
    connect(item, &QAction::toggled, this, [this, bar](bool on) {
      if (!bar->IsDeleted()) bar->SetVisible(on);
      syncToolbars();
      rememberToolbars();
    });
  }
}

void MainWindow::syncToolbars() { toolbars_->sync(); }

void MainWindow::fillAddInsMenu() {
  addins_menu_->clear();
  for (wb::CommandBar* bar : app_.CommandBars()->Bars()) {
    if (bar->BuiltIn() || bar->IsDeleted()) continue;
    addins_menu_->addSection(fromHost(bar->Name()));
    const QString bar_name = fromHost(bar->Name());
    for (wb::CommandBarButton* button : bar->Buttons()) {
      if (!button->Visible()) continue;
      QAction* item = addins_menu_->addAction(fromHost(button->Caption()));
      item->setToolTip(fromHost(button->TooltipText()));
      item->setEnabled(button->Enabled());
      connect(item, &QAction::triggered, this, [this, button, bar_name] {
        if (button->IsDeleted()) return;
        const QString caption = fromHost(button->Caption());
        if (button->Choose()) onToolbarButton(bar_name, caption);
        syncToolbars();
      });
    }
  }
  if (addins_menu_->actions().isEmpty()) {
    addins_menu_->addAction(tr("(no add-in connected)"))->setEnabled(false);
  }
}

void MainWindow::rememberToolbars() const {
  QStringList shown;
  for (wb::CommandBar* bar : app_.CommandBars()->Bars()) {
    if (!bar->BuiltIn() && bar->Visible()) shown << fromHost(bar->Name());
  }
  QSettings().setValue(kShownBarsKey, shown);
}

void MainWindow::restoreToolbars() {
  // As a host keeps its toolbars between sessions: an add-in that rebuilds its bar at start-up
  // finds the old one and shows the new one if the old one was on show.
  for (const QString& name : QSettings().value(kShownBarsKey).toStringList()) {
    if (app_.CommandBars()->Item(toHost(name)) != nullptr) continue;
    app_.CommandBars()->Add(toHost(name), lunavant::host::kBarTop).SetVisible(true);
  }
}

void MainWindow::dropEmptyToolbars() {
  // A bar kept from the last session whose add-in did not come back has nothing to offer.
  for (wb::CommandBar* bar : app_.CommandBars()->Bars()) {
    if (!bar->BuiltIn() && bar->Buttons().empty()) bar->Delete();
  }
  syncToolbars();
}

void MainWindow::onToolbarButton(const QString& bar, const QString& caption) {
  // The host's own buttons of its Standard bar do what its menu does.
  if (bar == QLatin1String("Standard")) {
    static const std::pair<const char*, const char*> kMenuOfButton[] = {
        {"New", "fileNew"},     {"Open", "fileOpen"},
        {"Save", "fileSave"},   {"Print", "filePrint"},
        {"Cut", "editCut"},     {"Copy", "editCopy"},
        {"Paste", "editPaste"}, {"Undo", "editUndo"},
        {"Redo", "editRedo"},   {"Print Preview", "filePrintPreview"}};
    for (const auto& [button, menu_action] : kMenuOfButton) {
      if (caption == QLatin1String(button)) action(QLatin1String(menu_action))->trigger();
    }
  }
  // An add-in's command may have changed columns, aliases, texts or dates anywhere.
  syncWithApplication();
  refreshViews();
  if (bar != QLatin1String("Standard")) {
    statusBar()->showMessage(tr("%1: finished.").arg(QString(caption).remove(QLatin1Char('&'))),
                             4000);
  }
}

void MainWindow::showAddIns() {
  if (addins_ == nullptr) return;
  AddInsDialog dialog(*addins_, this);
  dialog.exec();
  syncWithApplication();
  refreshViews();
  syncToolbars();
}

QAction* MainWindow::action(const QString& name) const { return findChild<QAction*>(name); }

ProjectView* MainWindow::currentView() const {
  wb::Project* active = app_.ActiveProject();
  return active == nullptr ? nullptr : viewOf(*active);
}

ProjectView* MainWindow::viewOf(const wb::Project& project) const {
  for (int i = 0; i < tabs_->count(); ++i) {
    auto* view = qobject_cast<ProjectView*>(tabs_->widget(i));
    if (view != nullptr && &view->project() == &project) return view;
  }
  return nullptr;
}

void MainWindow::syncWithApplication() {
  syncing_ = true;
  // Tabs of projects that closed go; the others are put in the host's order.
  for (int i = tabs_->count() - 1; i >= 0; --i) {
    auto* view = qobject_cast<ProjectView*>(tabs_->widget(i));
    if (view == nullptr || app_.IndexOf(view->project()) == 0) {
      tabs_->removeTab(i);
      delete view;
    }
  }
  for (std::int32_t index = 1; index <= app_.ProjectCount(); ++index) {
    wb::Project* project = app_.ProjectAt(index);
    ProjectView* view = viewOf(*project);
    if (view == nullptr) {
      view = new ProjectView(*project, hijri_, tabs_);
      view->chart().setHijriTiers(hijri_tiers_);
      connect(view, &ProjectView::projectEdited, this, &MainWindow::updateTitles);
      tabs_->insertTab(index - 1, view, QString());
    } else if (tabs_->indexOf(view) != index - 1) {
      tabs_->tabBar()->moveTab(tabs_->indexOf(view), index - 1);
    }
  }
  if (ProjectView* current = currentView()) tabs_->setCurrentWidget(current);
  syncing_ = false;
  updateTitles();
  if (toolbars_ != nullptr) toolbars_->sync();
}

void MainWindow::onCurrentTabChanged(int index) {
  if (syncing_ || index < 0) return;
  auto* view = qobject_cast<ProjectView*>(tabs_->widget(index));
  if (view == nullptr) return;
  const std::int32_t host_index = app_.IndexOf(view->project());
  if (host_index == 0 || app_.ActiveProject() == &view->project()) return;
  // The host raises WindowActivate; the add-in may restore the project's pairs then.
  app_.ActivateProject(host_index);
  view->refresh();
  updateTitles();
}

void MainWindow::updateTitles() {
  for (int i = 0; i < tabs_->count(); ++i) {
    auto* view = qobject_cast<ProjectView*>(tabs_->widget(i));
    if (view == nullptr) continue;
    QString title = fromHost(view->project().Name());
    if (!view->project().Saved()) title += QLatin1Char('*');
    tabs_->setTabText(i, title);
  }
  const wb::Project* active = app_.ActiveProject();
  setWindowTitle(active == nullptr ? QApplication::applicationDisplayName()
                                   : fromHost(active->Name()) + QStringLiteral(" - ") +
                                         QApplication::applicationDisplayName());
}

void MainWindow::refreshViews() {
  for (int i = 0; i < tabs_->count(); ++i) {
    if (auto* view = qobject_cast<ProjectView*>(tabs_->widget(i))) view->refresh();
  }
  updateTitles();
}

void MainWindow::newProject() {
  app_.NewProject();
  syncWithApplication();
}

bool MainWindow::closeCurrentProject() {
  wb::Project* active = app_.ActiveProject();
  if (active == nullptr) return true;
  const bool closed = app_.CloseProject(*active);
  syncWithApplication();
  return closed;
}

void MainWindow::fillTableMenu() {
  table_menu_->clear();
  wb::Project* active = app_.ActiveProject();
  if (active == nullptr) return;
  for (std::int32_t position = 1; position <= active->TaskTableCount(); ++position) {
    const QString name = fromHost(active->TaskTable(position).Name());
    QAction* item = table_menu_->addAction(name);
    item->setCheckable(true);
    item->setChecked(name == fromHost(active->CurrentTable()));
    connect(item, &QAction::triggered, this, [this, name] { applyTable(name); });
  }
}

void MainWindow::applyTable(const QString& name) {
  try {
    app_.TableApply(name.toStdString());
  } catch (const lunavant::host::HostError& e) {
    QMessageBox::warning(this, QApplication::applicationDisplayName(),
                         fromHost(e.record().description));
  }
  if (ProjectView* current = currentView()) current->refresh();
}

void MainWindow::setHijriTiers(GanttChart::HijriTiers placement) {
  hijri_tiers_ = placement;
  for (QAction* item : hijri_group_->actions()) {
    item->setChecked(item->data().toInt() == static_cast<int>(placement));
  }
  for (int i = 0; i < tabs_->count(); ++i) {
    if (auto* view = qobject_cast<ProjectView*>(tabs_->widget(i))) {
      view->chart().setHijriTiers(placement);
    }
  }
  QSettings().setValue(kHijriTiersKey, static_cast<int>(placement));
}

void MainWindow::showRegionalSettings() {
  RegionalSettingsDialog dialog(app_.Regional(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  QSettings settings;
  // Kept only while they differ from the locale's: a user who goes back to the locale follows it.
  wb::PosixRegionalSettings locale_only;
  if (locale_only.ShortDatePattern() == app_.Regional().ShortDatePattern() &&
      locale_only.DateSeparator() == app_.Regional().DateSeparator()) {
    settings.remove(kPatternKey);
    settings.remove(kSeparatorKey);
  } else {
    settings.setValue(kPatternKey, QString::fromStdString(app_.Regional().ShortDatePattern()));
    settings.setValue(kSeparatorKey, QString::fromStdString(app_.Regional().DateSeparator()));
  }
  refreshViews();
}

void MainWindow::showHolidays() {
  wb::Project* project = app_.ActiveProject();
  if (project == nullptr) return;
  HolidaysDialog dialog(app_, *project, this);
  if (ProjectView* view = currentView(); view != nullptr && &view->project() == project) {
    dialog.setEditRunner([view](const QString& name, const std::function<void()>& change) {
      return view->model().editRows(name, change);
    });
  }
  if (dialog.exec() == QDialog::Accepted) refreshViews();
}

void MainWindow::showWorkingTime() {
  ProjectView* view = currentView();
  if (view == nullptr || app_.ActiveProject() != &view->project()) return;
  wb::Project& project = view->project();
  wb::Task* task = view->model().taskAt(view->sheet().currentIndex().row());
  WorkingTimeDialog dialog(project, task, this);
  if (dialog.exec() != QDialog::Accepted) return;
  try {
    view->model().editRows(tr("Change Working Time"), [&] {
      wb::TakeCalendars(project, dialog.draft());
      if (const auto chosen = dialog.taskCalendarChoice()) {
        wb::SetTaskCalendar(project, *task, chosen->toStdString());
      }
    });
  } catch (const wb::CalendarError& e) {
    // What was taken in is one step of the history, as far as it went.
    QMessageBox::warning(this, QApplication::applicationDisplayName(), QString::fromUtf8(e.what()));
  }
  refreshViews();
}

void MainWindow::showAbout() {
  AboutDialog dialog(hijri_, this);
  dialog.exec();
}

void MainWindow::restoreSettings() {
  QSettings settings;
  const int placement = settings.value(kHijriTiersKey, 0).toInt();
  setHijriTiers(placement >= 0 && placement <= 2 ? static_cast<GanttChart::HijriTiers>(placement)
                                                 : GanttChart::HijriTiers::Above);
  const QString pattern = settings.value(kPatternKey).toString();
  const QString separator = settings.value(kSeparatorKey).toString();
  if (!pattern.isEmpty() && !separator.isEmpty()) {
    app_.Regional().OverrideShortDatePattern(pattern.toStdString());
    app_.Regional().OverrideDateSeparator(separator.toStdString());
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  rememberToolbars();
  while (app_.ActiveProject() != nullptr) {
    if (!closeCurrentProject()) {
      event->ignore();
      return;
    }
  }
  event->accept();
}

}  // namespace lunavant::desktop
