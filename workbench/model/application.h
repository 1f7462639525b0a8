// SPDX-License-Identifier: MIT
// The reference host's application: the open projects in order, the active project and its
// window, application events, field names, custom-field aliases and formulas, the active view's
// commands and the platform services. Front ends (the CLI, the desktop program) and every test
// drive the host through it.
//
//   workbench::Application app;                    // recording message boxes and pointer
//   host::SetGlobalApplication(&app);
//   workbench::Project& pj = app.NewProject("Plan");   // raises NewProject, WindowActivate
//   pj.AddTask("Dig", 3);
//   app.CalculateProject();                         // raises ProjectCalculate before returning
//
// Events go to the sinks in the order they were added. A sink may remove itself or another sink
// while an event is being delivered: a removed sink hears nothing more, even of that event.
//
// Every project that joins the application, created or opened, is announced to the application's
// sinks through NewProject, as the real host does; that is how an add-in learns of an opened
// file. Opening (AdoptOpenedProject) then makes it the active project and raises the project's own
// Open event on that project object, so only sinks added to that project object hear it (a loader
// may add sinks before handing the project over); a sink bound to another project, such as the
// project that was active when the add-in connected, does not hear of the opening. The window
// activation is announced after Open.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "addin/host/events.h"
#include "addin/host/object_model.h"
#include "addin/host/services.h"
#include "workbench/model/project.h"
#include "workbench/platform/library_loader.h"
#include "workbench/platform/recording_ui.h"
#include "workbench/platform/regional_settings.h"
#include "workbench/schedule/calendar.h"
#include "workbench/ui/command_bars.h"
#include "workbench/ui/scripted_dialogs.h"

namespace lunavant::workbench {

class WorkbenchPlatform;
class PictureFileLoader;

// How the host shows dates. Dates are always written in the user's short-date order and
// separator, with a two-digit year for 1930..2029 and the full year otherwise.
enum class DateFormat {
  kWeekdayDate,      // "Mon 15/03/04" (the default)
  kWeekdayDateTime,  // "Mon 15/03/04 08:00"
  kDate,             // "15/03/04"
  kDateTime          // "15/03/04 08:00"
};

// What a front end substitutes for the workbench's recording and scripted services; null keeps
// the workbench's own. `library_folders` are searched first by the library loader.
struct FrontEndServices {
  std::unique_ptr<host::MessageBoxes> messages;
  std::unique_ptr<host::MousePointer> pointer;
  std::unique_ptr<host::DialogToolkit> dialogs;
  std::vector<std::filesystem::path> library_folders;
};

class Application final : public host::Application {
 public:
  explicit Application(FrontEndServices services = {});
  ~Application() override;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The host contract.
  Project* ActiveProject() override { return active_; }
  std::int32_t ProjectCount() const override;
  std::string DateSeparator() const override;
  // Names match without regard to letter case; a custom text field's alias in the active project
  // names that field too.
  std::string FieldConstantToFieldName(host::FieldId field) const override;
  host::FieldId FieldNameToFieldConstant(std::string_view name) const override;
  // Of the active project; fail with kHostFailure when no project is open, and for every field
  // but Text1..Text30. The formula is kept as text, not evaluated. An alias may not be the name
  // of another field.
  std::string CustomFieldGetName(host::FieldId field) const override;
  void CustomFieldRename(host::FieldId field, const std::string& alias) override;
  std::string CustomFieldGetFormula(host::FieldId field) const override;
  void CustomFieldSetFormula(host::FieldId field, const std::string& formula) override;
  // Schedules the active project (see scheduler.h) and raises ProjectCalculate before it returns.
  // Fails with kHostFailure when no project is open or the links form a cycle; then nothing
  // changes and no event is raised. The host counts as busy meanwhile.
  void CalculateProject() override;
  void TableApply(std::string_view name) override;
  // The active view is always a task sheet showing the current table. Fails with kHostFailure
  // when no project is open, the name is no field's, or the current table shows no column of it.
  void SelectTaskColumn(std::string_view field_name) override;
  // Clears the selected column's field of every task, in row order, through Task::SetField, so
  // each task raises ProjectBeforeTaskChange with the empty text (a handler may cancel one task's
  // clearing). Fails before clearing anything when no column is selected or the field cannot be
  // emptied (a calculated field, Start, Finish, ...). A column without a field clears nothing.
  void EditClearContents() override;
  void AddEventSink(host::ApplicationEvents& sink) override;
  void RemoveEventSink(host::ApplicationEvents& sink) override;
  // The host's bars; the workbench has no shell window of its own, so no explorer.
  workbench::CommandBars* CommandBars() override { return command_bars_.get(); }
  host::Explorer* ActiveExplorer() override { return nullptr; }
  host::Platform& Services() override;

  // Front-end actions.
  // Creates a project ("Project1", "Project2", ... when `name` is empty), raises NewProject,
  // then activates its window (WindowActivate).
  Project& NewProject(std::string name = "");
  // Adds a project a loader has read, raises NewProject, makes it active and raises its Open
  // event (see the top of this file), then announces its window activation (WindowActivate). The
  // project is marked saved. Fails with kHostFailure for a project made for another application.
  Project& AdoptOpenedProject(std::unique_ptr<Project> project);
  // Makes the project at `index` (from 1) active; raises WindowActivate when the active window
  // changes. Fails with kSubscriptOutOfRange outside 1..ProjectCount().
  void ActivateProject(std::int32_t index);
  // An unsaved project first asks, in a Yes/No/Cancel message box, whether to save it: Yes saves
  // it (SaveProject; a refused save keeps the project open), No closes it unsaved, Cancel keeps
  // it open without raising anything more. Then raises ProjectBeforeClose with the project still
  // counted; returns false, keeping the project open, when a handler sets Cancel (or the project
  // is already closing or closed). When the active project closes, the last of the remaining
  // projects becomes active (WindowActivate).
  bool CloseProject(std::int32_t index);
  bool CloseProject(host::Project& project);
  // For a project whose tables and custom fields were put back as they were before (an undo):
  // raises ProjectBeforeClose for it and keeps it open whatever the handlers answer, as a close
  // the host cancelled, so that an add-in lets go of what it derived from the project and
  // derives it again on its next use. False, raising nothing, when the project is not open or a
  // close is under way.
  bool AnnounceCloseCancelled(Project& project);
  // Raise ProjectBeforeSave (save_as_ui false for Save, true for Save As); return false when a
  // handler sets Cancel. Otherwise the save handler, when set, writes the project (a failure
  // propagates and the project stays unsaved), and the project is marked saved. Save As renames
  // the project first.
  bool SaveProject(Project& project);
  bool SaveProjectAs(Project& project, std::string new_name);
  using SaveHandler = std::function<void(Project&)>;
  void SetSaveHandler(SaveHandler handler) { save_handler_ = std::move(handler); }
  // What CloseProject asks of an unsaved project instead of its own Yes/No/Cancel box: true lets
  // the close go on (saved, or to be left unsaved), false keeps the project open and raises
  // nothing. A front end whose Save may first need the user to name a file sets its own.
  using SaveBeforeCloseQuery = std::function<bool(Project&)>;
  void SetSaveBeforeCloseQuery(SaveBeforeCloseQuery query) { save_query_ = std::move(query); }
  // A user's edit of a cell: the field write, then, with automatic calculation on (the
  // default), a recalculation of the active project, as the real host does after each edit.
  // Object-model writes (Task::SetField) never recalculate. False when a handler of
  // ProjectBeforeTaskChange cancelled the write (or a write it caused); nothing is recalculated
  // then.
  bool UserEdit(host::Task& task, host::FieldId field, const std::string& text);
  bool AutoCalculate() const { return auto_calculate_; }
  void SetAutoCalculate(bool on) { auto_calculate_ = on; }
  // The working week a project made from scratch starts with (Monday to Friday, 08:00 to 17:00,
  // unless a front end sets its user's region's); a project read from a file keeps its own.
  const ProjectCalendar& NewProjectCalendar() const { return new_project_calendar_; }
  void SetNewProjectCalendar(ProjectCalendar calendar) {
    new_project_calendar_ = std::move(calendar);
  }
  // A cell of the active view is being edited: the host is busy until it ends.
  void BeginCellEdit();
  void EndCellEdit();
  bool CellEditing() const { return cell_edit_.has_value(); }

  // Open projects in order (index 1 first); null outside 1..ProjectCount().
  Project* ProjectAt(std::int32_t index);
  // 0 when the project is not open.
  std::int32_t IndexOf(const Project& project) const;
  // The active project's window; null when no project is open.
  Window* ActiveWindow();

  // The active view's commands in the order they were asked for, with their arguments as given,
  // refused ones included, as a macro recorder keeps them: "TableApply(&Entry)",
  // "SelectTaskColumn(Text1)", "EditClearContents()".
  const std::vector<std::string>& ViewCommands() const { return view_commands_; }
  void ForgetViewCommands() { view_commands_.clear(); }

  DateFormat GetDateFormat() const { return date_format_; }
  void SetDateFormat(DateFormat format) { date_format_ = format; }
  // A moment as the host shows dates.
  std::string FormatDate(Moment when) const;

  PosixRegionalSettings& Regional();
  const PosixRegionalSettings& Regional() const;
  PosixLibraryLoader& Libraries();
  PictureFileLoader& Pictures();
  workbench::CommandBars& Bars() { return *command_bars_; }
  // Null when a front end substituted its own.
  RecordingMessageBoxes* RecordedMessages() { return recorded_messages_; }
  RecordingMousePointer* RecordedPointer() { return recorded_pointer_; }
  ScriptedDialogs* ScriptedDialogBoxes() { return scripted_dialogs_; }

 private:
  friend class Task;
  void RaiseBeforeTaskChange(host::Task& task, host::FieldId field, const host::Value& value,
                             bool& cancel);
  void RaiseWindowActivate();
  void Activate(Project* project);
  void CheckCustomTextField(host::FieldId field) const;
  Project& RequireActiveProject() const;
  bool IsSinkLive(const host::ApplicationEvents* sink) const;
  // False when the user keeps the project open.
  bool SaveBeforeClose(Project& project);
  template <typename Call>
  void Deliver(Call call);

  // Made before the platform, whose dialogs count the host as busy through it.
  std::unique_ptr<workbench::CommandBars> command_bars_;
  std::optional<workbench::CommandBars::BusyScope> cell_edit_;
  std::unique_ptr<WorkbenchPlatform> platform_;
  ScriptedDialogs* scripted_dialogs_ = nullptr;
  RecordingMessageBoxes* recorded_messages_ = nullptr;
  RecordingMousePointer* recorded_pointer_ = nullptr;
  std::vector<std::unique_ptr<Project>> open_;
  std::vector<std::unique_ptr<Project>> closed_;
  Project* active_ = nullptr;
  Project* closing_ = nullptr;
  std::vector<host::ApplicationEvents*> sinks_;
  std::int32_t next_project_number_ = 1;
  DateFormat date_format_ = DateFormat::kWeekdayDate;
  bool auto_calculate_ = true;
  ProjectCalendar new_project_calendar_;
  SaveHandler save_handler_;
  SaveBeforeCloseQuery save_query_;
  std::vector<std::string> view_commands_;
  std::uint64_t cancelled_changes_ = 0;  // task changes a handler cancelled, ever
};

}  // namespace lunavant::workbench
