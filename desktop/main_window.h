// SPDX-License-Identifier: MIT
// The desktop program's main window: one tab per open project, in the host's order, the current
// tab being the host's active project; the File, View and Tools menus. Every change of project
// goes through the host (workbench::Application), so the add-in hears of it as in any host:
// switching tabs activates the project's window, closing a tab asks the host to close it.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <vector>

#include "desktop/gantt_chart.h"

class QActionGroup;
class QMenu;
class QTabWidget;

namespace lunavant::workbench {
class AddInManager;
class Application;
class HijriDays;
class Project;
}  // namespace lunavant::workbench

namespace lunavant::desktop {

class CommandToolbars;
class EditCommands;
class FileGuard;
class RecoveryCopies;
class PrintCommands;
class SortCommands;
class TaskCommands;
class ProjectView;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // The application, the Hijri days and the add-in manager (which may be null) must outlive the
  // window.
  MainWindow(lunavant::workbench::Application& app, lunavant::workbench::HijriDays& hijri,
             lunavant::workbench::AddInManager* addins = nullptr, QWidget* parent = nullptr);
  ~MainWindow() override;

  lunavant::workbench::Application& application() const { return app_; }
  QTabWidget& tabs() const { return *tabs_; }
  // The view of the active project; null when none is open.
  ProjectView* currentView() const;
  ProjectView* viewOf(const lunavant::workbench::Project& project) const;
  // The menu actions, by their object names ("fileNew", "viewZoomIn", "toolsRegional", ...).
  QAction* action(const QString& name) const;
  QMenu* tableMenu() const { return table_menu_; }
  QMenu* recentMenu() const { return recent_menu_; }
  CommandToolbars& toolbars() const { return *toolbars_; }
  PrintCommands& printing() const { return *printing_; }
  EditCommands& editing() const { return *editing_; }
  FileGuard& files() const { return *files_; }
  RecoveryCopies& recovery() const { return *recovery_; }
  TaskCommands& tasks() const { return *task_commands_; }
  SortCommands& sorting() const { return *sorting_; }

  GanttChart::HijriTiers hijriTiers() const { return hijri_tiers_; }

 public slots:
  // Makes the tabs follow the host: a tab per open project in order, the active one current.
  void syncWithApplication();
  // Reads every project again after the host or the add-in may have changed it.
  void refreshViews();
  void newProject();
  // Opens a project file through the host; a failure is shown and opens nothing.
  bool openFile(const QString& path);
  // Saves the active project to its file, or asks for one when it has none (the Save As dialog).
  // A file changed or gone outside the program since it was read or written is not written
  // over before the user chose to.
  bool saveProject();
  // Saves the active project under `path` (".xml" added when it has no suffix), which becomes
  // its file.
  bool saveProjectAs(const QString& path);
  // Asks for a file in the Save As dialog and saves the active project there; false when the
  // user cancels.
  bool saveProjectAsAsked();

  void showAddIns();
  // Follows the host's command bars (their buttons and enabled states).
  void syncToolbars();
  // The add-ins' toolbars on show are remembered for the next session and put back before the
  // add-ins connect; bars no add-in took back are then dropped.
  void rememberToolbars() const;
  void restoreToolbars();
  void dropEmptyToolbars();
  // Asks the host to close the active project; it may stay open when a handler refuses.
  bool closeCurrentProject();
  void applyTable(const QString& name);
  void setHijriTiers(GanttChart::HijriTiers placement);
  void showRegionalSettings();
  // Tools > Holidays for the active project; nothing when none is open.
  void showHolidays();
  // Tools > Change Working Time for the active project, its changes one undoable edit; nothing
  // when none is open.
  void showWorkingTime();
  void showAbout();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // A new language makes the menus again, in it; an outside change noticed while the window was
  // not active is told when it is.
  void changeEvent(QEvent* event) override;

 private:
  // Made again, in the new language, when the language changes.
  void createMenus();
  void remakeMenus();
  void fillTableMenu();
  void onCurrentTabChanged(int index);
  void updateTitles();
  void restoreSettings();
  void fillRecentMenu();
  void fillToolbarsMenu();
  void fillAddInsMenu();
  void rememberRecent(const QString& path);
  void onToolbarButton(const QString& bar, const QString& caption);
  void showHostError(const QString& message);
  bool save(lunavant::workbench::Project& project);
  bool saveAs(lunavant::workbench::Project& project, const QString& path);
  bool saveAsAsked(lunavant::workbench::Project& project);
  // Whether the project's changes may go: saved, or the user said not to keep them.
  bool askToSaveBeforeClose(lunavant::workbench::Project& project);
  // Reads the project's file again in place of the project, its unsaved changes let go.
  void reload(lunavant::workbench::Project& project);
  void onOutsideChange(const lunavant::workbench::Project* project);
  void tellPendingOutsideChanges();
  // An add-in's button as one undoable step of the active project.
  bool runButtonClick(const QString& bar, const QString& caption,
                      const std::function<bool()>& click);

  lunavant::workbench::Application& app_;
  lunavant::workbench::HijriDays& hijri_;
  QTabWidget* tabs_;
  lunavant::workbench::AddInManager* addins_;
  CommandToolbars* toolbars_ = nullptr;
  PrintCommands* printing_ = nullptr;
  EditCommands* editing_ = nullptr;
  TaskCommands* task_commands_ = nullptr;
  SortCommands* sorting_ = nullptr;
  FileGuard* files_ = nullptr;
  RecoveryCopies* recovery_ = nullptr;
  // Outside changes noticed while the window was not active, told when it is.
  std::vector<const lunavant::workbench::Project*> outside_pending_;
  bool discarding_ = false;
  QMenu* table_menu_ = nullptr;
  QMenu* recent_menu_ = nullptr;
  QMenu* toolbars_menu_ = nullptr;
  QMenu* addins_menu_ = nullptr;
  QActionGroup* hijri_group_ = nullptr;
  GanttChart::HijriTiers hijri_tiers_ = GanttChart::HijriTiers::Above;
  bool syncing_ = false;
  bool remaking_menus_ = false;
};

}  // namespace lunavant::desktop
