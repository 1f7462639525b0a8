// SPDX-License-Identifier: MIT
#include "desktop/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
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
#include "desktop/display_choices.h"
#include "desktop/edit_commands.h"
#include "desktop/file_guard.h"
#include "desktop/file_prompts.h"
#include "desktop/holidays_dialog.h"
#include "desktop/host_messages.h"
#include "desktop/host_names.h"
#include "desktop/host_text.h"
#include "desktop/print_commands.h"
#include "desktop/project_view.h"
#include "desktop/recovery_copies.h"
#include "desktop/regional_settings_dialog.h"
#include "desktop/sort_commands.h"
#include "desktop/task_commands.h"
#include "desktop/working_time_dialog.h"
#include "workbench/files/file_error.h"
#include "workbench/files/project_file.h"
#include "workbench/model/application.h"
#include "workbench/model/messages.h"
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
QString fileFilter() { return MainWindow::tr("Project files (*.xml);;All files (*)"); }

}  // namespace

MainWindow::MainWindow(wb::Application& app, wb::HijriDays& hijri, wb::AddInManager* addins,
                       QWidget* parent)
    : QMainWindow(parent), app_(app), hijri_(hijri), tabs_(new QTabWidget(this)), addins_(addins) {
  printing_ = new PrintCommands(*this, hijri_);
  editing_ = new EditCommands(*this);
  task_commands_ = new TaskCommands(*this);
  sorting_ = new SortCommands(*this);
  files_ = new FileGuard(this);
  connect(files_, &FileGuard::outsideChange, this, &MainWindow::onOutsideChange);
  recovery_ = new RecoveryCopies(app_, *files_, this);
  connect(recovery_, &RecoveryCopies::writeFailed, this, [this](const QString& message) {
    statusBar()->showMessage(tr("No recovery copy could be written: %1").arg(message));
  });
  // Closing asks here: a project without a file is saved only where the user names one.
  app_.SetSaveBeforeCloseQuery(
      [this](wb::Project& project) { return askToSaveBeforeClose(project); });
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
  toolbars_->setClickRunner(
      [this](const QString& bar, const QString& caption, const std::function<bool()>& click) {
        return runButtonClick(bar, caption, click);
      });
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

MainWindow::~MainWindow() { app_.SetSaveBeforeCloseQuery({}); }

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
            const QString path = QFileDialog::getOpenFileName(this, tr("Open"), {}, fileFilter());
            if (!path.isEmpty()) openFile(path);
          });
  recent_menu_ = file->addMenu(tr("Open &Recent"));
  recent_menu_->setObjectName("fileRecent");
  connect(recent_menu_, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
  connect(add(file, "fileSave", tr("&Save"), QKeySequence::Save), &QAction::triggered, this,
          &MainWindow::saveProject);
  connect(add(file, "fileSaveAs", tr("Save &As..."), QKeySequence::SaveAs), &QAction::triggered,
          this, &MainWindow::saveProjectAsAsked);
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
  sorting_->addMenu(*view);
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
  hijri_group_ = new QActionGroup(hijri);
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
  new DisplayChoices(*this, *view);

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
    showHostError(shownHostMessage(e.record().description));
    syncWithApplication();
    return false;
  }
  rememberRecent(QFileInfo(path).absoluteFilePath());
  if (wb::Project* opened = app_.ActiveProject()) files_->remember(*opened);
  syncWithApplication();
  return true;
}

bool MainWindow::saveProject() {
  wb::Project* active = app_.ActiveProject();
  return active != nullptr && save(*active);
}

bool MainWindow::saveProjectAs(const QString& path) {
  wb::Project* active = app_.ActiveProject();
  return active != nullptr && saveAs(*active, path);
}

bool MainWindow::saveProjectAsAsked() {
  wb::Project* active = app_.ActiveProject();
  return active != nullptr && saveAsAsked(*active);
}

bool MainWindow::save(wb::Project& project) {
  if (wb::ProjectFilePath(project).empty()) return saveAsAsked(project);
  if (files_->changedOutside(project)) {
    switch (AskBeforeSavingOver(this, files_->pathOf(project), files_->goneOutside(project))) {
      case OutsideChangeChoice::kOverwrite:
        break;
      case OutsideChangeChoice::kSaveAs:
        return saveAsAsked(project);
      case OutsideChangeChoice::kReload:
        if (project.Saved() || ConfirmReloadLosingChanges(this, fromHost(project.Name()))) {
          reload(project);
        }
        return false;
      default:
        return false;
    }
  }
  bool saved = false;
  try {
    saved = app_.SaveProject(project);
  } catch (const std::exception& e) {
    showHostError(QString::fromUtf8(e.what()));
  }
  if (saved) {
    files_->remember(project);
    rememberRecent(QString::fromStdString(wb::ProjectFilePath(project).string()));
  }
  updateTitles();
  return saved;
}

bool MainWindow::saveAsAsked(wb::Project& project) {
  const std::filesystem::path file = wb::ProjectFilePath(project);
  QFileDialog dialog(this, tr("Save As"), QString(), fileFilter());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The dialog adds the suffix itself, so that its question about overwriting asks about the
  // file that would really be written.
  dialog.setDefaultSuffix(QStringLiteral("xml"));
  if (!file.empty()) {
    dialog.selectFile(QString::fromStdString(file.string()));
  } else {
    // Where the user last kept a project, else the home folder: never merely wherever the
    // program happened to be started from.
    const QStringList recent = QSettings().value(kRecentKey).toStringList();
    const QString last_folder =
        recent.isEmpty() ? QString() : QFileInfo(recent.front()).absolutePath();
    dialog.setDirectory(
        !last_folder.isEmpty() && QFileInfo::exists(last_folder) ? last_folder : QDir::homePath());
    dialog.selectFile(WithProjectSuffix(fromHost(project.Name())));
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  return saveAs(project, dialog.selectedFiles().front());
}

bool MainWindow::saveAs(wb::Project& project, const QString& path) {
  const QString named = WithProjectSuffix(path);
  bool saved = false;
  try {
    auto save_as = [&] {
      saved = app_.SaveProjectAs(project, QFileInfo(named).absoluteFilePath().toStdString());
    };
    // The new name is no edit: Undo goes on across it.
    if (ProjectView* view = viewOf(project)) {
      view->model().history().RunBesideSteps(save_as);
    } else {
      save_as();
    }
  } catch (const std::exception& e) {
    showHostError(QString::fromUtf8(e.what()));
  }
  if (saved) {
    files_->remember(project);
    rememberRecent(QString::fromStdString(wb::ProjectFilePath(project).string()));
  }
  updateTitles();
  return saved;
}

bool MainWindow::askToSaveBeforeClose(wb::Project& project) {
  if (discarding_) return true;
  const QMessageBox::StandardButton answer = QMessageBox::warning(
      // Worded and titled as the host's own question, in the interface's language.
      this, shownMessageTitle(std::string(wb::message::kWorkbenchTitle)),
      shownHostMessage(wb::message::SaveChangesBeforeClose(project.Name())),
      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
  if (answer == QMessageBox::No) return true;
  if (answer != QMessageBox::Yes) return false;
  // The save marks the project saved, so the host's close goes on without asking again.
  return save(project);
}

void MainWindow::reload(wb::Project& project) {
  const QString path = QString::fromStdString(wb::ProjectFilePath(project).string());
  discarding_ = true;
  bool closed = false;
  try {
    closed = app_.CloseProject(project);
  } catch (const lunavant::host::HostError& e) {
    showHostError(shownHostMessage(e.record().description));
  }
  discarding_ = false;
  syncWithApplication();
  if (closed) openFile(path);
}

void MainWindow::onOutsideChange(const wb::Project* project) {
  if (std::find(outside_pending_.begin(), outside_pending_.end(), project) ==
      outside_pending_.end()) {
    outside_pending_.push_back(project);
  }
  // Told at once only to a user who is looking, and never over another question.
  if (isActiveWindow() && QApplication::activeModalWidget() == nullptr) {
    tellPendingOutsideChanges();
  }
}

void MainWindow::tellPendingOutsideChanges() {
  while (!outside_pending_.empty()) {
    const wb::Project* noticed = outside_pending_.front();
    outside_pending_.erase(outside_pending_.begin());
    wb::Project* project = nullptr;
    for (std::int32_t index = 1; index <= app_.ProjectCount(); ++index) {
      if (app_.ProjectAt(index) == noticed) project = app_.ProjectAt(index);
    }
    if (project == nullptr || !files_->changedOutside(*project)) continue;
    const OutsideChangeChoice choice = TellOutsideChange(
        this, files_->pathOf(*project), files_->goneOutside(*project), !project->Saved());
    if (choice == OutsideChangeChoice::kReload) reload(*project);
  }
}

bool MainWindow::runButtonClick(const QString& bar, const QString& caption,
                                const std::function<bool()>& click) {
  ProjectView* view = currentView();
  // The host's own buttons do what its menus do, each its own step or none.
  if (view == nullptr || bar == QLatin1String("Standard")) return click();
  bool clicked = false;
  view->model().runCommand(QString(caption).remove(QLatin1Char('&')), [&] { clicked = click(); });
  return clicked;
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
    QAction* item = toolbars_menu_->addAction(bar->BuiltIn() ? shownHostName(bar->Name())
                                                             : fromHost(bar->Name()));
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
        if (runButtonClick(bar_name, caption, [button] { return button->Choose(); })) {
          onToolbarButton(bar_name, caption);
        }
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
  // An add-in that changes the project as it connects or leaves does so in one undo step.
  if (ProjectView* view = currentView()) {
    view->model().runCommand(tr("Add-Ins"), [&dialog] { dialog.exec(); });
  } else {
    dialog.exec();
  }
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
      if (view != nullptr) files_->forget(view->project());
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
      sorting_->attach(*view);
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
    QAction* item = table_menu_->addAction(shownHostName(active->TaskTable(position).Name()));
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
                         shownHostMessage(e.record().description));
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

void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  // Once the action that chose the language has finished: its menu goes with the others.
  if (event->type() == QEvent::LanguageChange && !remaking_menus_) {
    remaking_menus_ = true;
    QTimer::singleShot(0, this, &MainWindow::remakeMenus);
  }
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && !outside_pending_.empty()) {
    QTimer::singleShot(0, this, [this] {
      if (isActiveWindow() && QApplication::activeModalWidget() == nullptr) {
        tellPendingOutsideChanges();
      }
    });
  }
}

void MainWindow::remakeMenus() {
  // Not under a dialog: the views are read again, which an edit being refused must not see.
  if (QApplication::activeModalWidget() != nullptr) {
    QTimer::singleShot(100, this, &MainWindow::remakeMenus);
    return;
  }
  remaking_menus_ = false;
  const QList<QAction*> menus = menuBar()->actions();
  menuBar()->clear();
  for (QAction* menu : menus) delete menu->menu();
  createMenus();
  setHijriTiers(hijri_tiers_);
  syncToolbars();
  refreshViews();
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
