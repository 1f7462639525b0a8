// SPDX-License-Identifier: MIT
// The Application object, its Projects collection, and the session the objects share.
#include <algorithm>
#include <array>
#include <string>

#include "addin/host/error.h"
#include "windows/automation/objects/host_objects.h"
#include "windows/automation/objects/interface_ids.h"
#include "windows/automation/server/dispids.h"
#include "windows/automation/server/reference_host.h"
#include "windows/com/text.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/messages.h"
#include "workbench/model/table.h"

namespace lunavant::windows {
namespace {

// FileClose's Save argument (PjSaveType).
constexpr std::int32_t kDoNotSave = 0;
constexpr std::int32_t kSave = 1;
constexpr std::int32_t kPromptSave = 2;

// The object model version of the host whose members these are; add-ins read it to pick members.
constexpr const char* kObjectModelVersion = "11.0";

// A by-reference VARIANT_BOOL event argument, read back after the sinks.
class CancelArgument {
 public:
  explicit CancelArgument(bool cancel) : flag_(cancel ? VARIANT_TRUE : VARIANT_FALSE) {}
  VARIANT Variant() {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BOOL | VT_BYREF;
    value.pboolVal = &flag_;
    return value;
  }
  bool Cancelled() const { return flag_ != VARIANT_FALSE; }

 private:
  VARIANT_BOOL flag_;
};

// An object event argument; the caller keeps the object alive for the call.
VARIANT ObjectArgument(IDispatch* object) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_DISPATCH;
  value.pdispVal = object;
  return value;
}

workbench::Project* ProjectByName(workbench::Application& app, const std::string& name) {
  for (std::int32_t i = 1; i <= app.ProjectCount(); ++i) {
    workbench::Project* project = app.ProjectAt(i);
    if (project != nullptr && com::EqualNoCase(com::Widen(project->Name()), com::Widen(name))) {
      return project;
    }
  }
  return nullptr;
}

workbench::Project& RequireActive(workbench::Application& app) {
  workbench::Project* project = app.ActiveProject();
  if (project == nullptr) {
    host::Raise(host::kHostFailure, std::string(workbench::message::kNoProjectOpen));
  }
  return *project;
}

class ApplicationObject final : public HostObject, private host::ApplicationEvents {
 public:
  explicit ApplicationObject(std::shared_ptr<Session> session)
      : HostObject(session, ObjectKind::kApplication, &session->App(), kApplicationIid,
                   &kApplicationEventsIid) {
    App().AddEventSink(*this);
  }

 protected:
  ~ApplicationObject() override { App().RemoveEventSink(*this); }
  ComPtr<IDispatch> ParentObject() override { return ComPtr<IDispatch>::Share(this); }

  void Call(DISPID member, WORD flags, const Arguments& args, Result& result) override {
    if (CallCommon(member, flags, result)) return;
    workbench::Application& app = App();
    if (!Reads(flags)) NoSuchMember();
    switch (member) {
      case DISPID_APP_NAME:
        return result.Text(com::Narrow(kReferenceHostDescription));
      case DISPID_APP_VERSION:
        return result.Text(kObjectModelVersion);
      case DISPID_APP_PROJECTS:
        return result.Object(ProjectsOf(shared_session()).get());
      case DISPID_APP_ACTIVEPROJECT:
        return result.Object(ProjectOf(shared_session(), app.ActiveProject()).get());
      case DISPID_APP_ACTIVEWINDOW:
        return result.Object(WindowOf(shared_session(), app.ActiveProject()).get());
      case DISPID_APP_WINDOWS:
        return result.Object(WindowsOf(shared_session()).get());
      case DISPID_APP_COMMANDBARS:
        return result.Object(CommandBarsOf(shared_session()).get());
      case DISPID_APP_DATESEPARATOR:
        return result.Text(app.DateSeparator());
      case DISPID_APP_FIELDNAMETOFIELDCONSTANT:
        return result.Long(app.FieldNameToFieldConstant(args.Text(0)));
      case DISPID_APP_FIELDCONSTANTTOFIELDNAME:
        return result.Text(app.FieldConstantToFieldName(args.Long(0)));
      case DISPID_APP_CUSTOMFIELDRENAME:
        app.CustomFieldRename(args.Long(0), args.Text(1));
        return result.Bool(true);
      case DISPID_APP_CUSTOMFIELDGETNAME:
        return result.Text(app.CustomFieldGetName(args.Long(0)));
      case DISPID_APP_CUSTOMFIELDGETFORMULA:
        return result.Text(app.CustomFieldGetFormula(args.Long(0)));
      case DISPID_APP_CUSTOMFIELDSETFORMULA:
        app.CustomFieldSetFormula(args.Long(0), args.Text(1));
        return result.Bool(true);
      case DISPID_APP_CALCULATEPROJECT:
        app.CalculateProject();
        return result.Bool(true);
      case DISPID_APP_CALCULATEALL:
        // The workbench schedules one project at a time: the active one, when there is one.
        if (app.ActiveProject() != nullptr) app.CalculateProject();
        return result.Bool(true);
      case DISPID_APP_TABLEAPPLY:
        app.TableApply(args.Text(0));
        return result.Bool(true);
      case DISPID_APP_TABLEEDIT:
        TableEdit(args);
        return result.Bool(true);
      case DISPID_APP_COLUMNDELETE:
        ColumnDelete();
        return result.Bool(true);
      case DISPID_APP_SELECTTASKCOLUMN:
        SelectTaskColumn(args);
        return result.Bool(true);
      case DISPID_APP_EDITCLEAR:
        if (args.OptionalBool(0).value_or(true)) app.EditClearContents();
        return result.Bool(true);
      case DISPID_APP_FILENEW:
        app.NewProject();
        return result.Bool(true);
      case DISPID_APP_FILECLOSE:
        return result.Bool(FileClose(args.OptionalLong(0).value_or(kPromptSave)));
      case DISPID_APP_FILESAVE:
        return result.Bool(app.SaveProject(RequireActive(app)));
      case DISPID_APP_SETTASKFIELD:
        return result.Bool(SetTaskField(args));
      default:
        NoSuchMember();
    }
  }

 private:
  bool FileClose(std::int32_t save) {
    workbench::Application& app = App();
    workbench::Project& project = RequireActive(app);
    switch (save) {
      case kDoNotSave: {
        // Closing unsaved asks no question; a handler that keeps the project open keeps its
        // changes too.
        const bool was_saved = project.Saved();
        project.MarkSaved();
        const bool closed = app.CloseProject(project);
        if (!closed && !was_saved) project.MarkChanged();
        return closed;
      }
      case kSave:
        if (!project.Saved() && !app.SaveProject(project)) return false;
        return app.CloseProject(project);
      case kPromptSave:
        return app.CloseProject(project);
      default:
        host::Raise(host::kInvalidProcedureCall, "Invalid procedure call or argument");
    }
  }

  // TableEdit's parameters by position.
  enum TableEditParameter {
    kTableName,
    kTaskTable,
    kCreate,
    kOverwriteExisting,
    kNewName,
    kFieldName,
    kNewFieldName,
    kTitle,
    kWidth,
    kAlign,
    kShowInMenu,
    kLockFirstColumn,
    kDateFormat,
    kRowHeight,
    kColumnPosition,
    kAlignTitle
  };

  // The two edits of a task table the workbench makes: a new name, or a new column showing
  // NewFieldName inserted at ColumnPosition (counted as the column list counts insertions).
  void TableEdit(const Arguments& args) {
    workbench::Project& project = RequireActive(App());
    const std::string name = args.Text(kTableName);
    if (!args.Bool(kTaskTable) || args.OptionalBool(kCreate).value_or(false) ||
        !args.OptionalText(kFieldName).value_or("").empty()) {
      host::Raise(host::kHostFailure,
                  "The workbench edits task tables only by renaming them or "
                  "inserting a column.");
    }
    const std::string new_field = args.OptionalText(kNewFieldName).value_or("");
    if (!new_field.empty()) {
      workbench::ColumnList& columns = project.TaskTable(name).Columns();
      columns.Add(App().FieldNameToFieldConstant(new_field), args.OptionalLong(kAlign).value_or(2),
                  args.OptionalLong(kWidth).value_or(10), args.OptionalText(kTitle).value_or(""),
                  args.OptionalLong(kAlignTitle).value_or(1),
                  args.OptionalLong(kColumnPosition).value_or(columns.Count() - 2), false);
      return;
    }
    const std::string new_name = args.OptionalText(kNewName).value_or("");
    if (new_name.empty()) {
      host::Raise(host::kHostFailure, "TableEdit needs a new name or a new field.");
    }
    project.RenameTaskTable(name, new_name);
  }

  // SelectTaskColumn(Column, Additional, Extend, Add) in the workbench's one view, a task sheet:
  // Column is the field name of a column it shows, and any other value (a position) is looked up
  // as a name too, so it fails as it does in the real host. Without Column the column of the
  // active cell stays selected, the first when there is none. The view selects one column only.
  void SelectTaskColumn(const Arguments& args) {
    workbench::Application& app = App();
    workbench::Project& project = RequireActive(app);
    if (const std::optional<std::string> column = args.OptionalText(0)) {
      app.SelectTaskColumn(*column);
    } else if (project.SelectedColumn() == 0) {
      project.SelectColumn(1);
    }
  }

  // Deletes the active view's selected column from its table; the view, redrawn, selects none.
  void ColumnDelete() {
    workbench::Project& project = RequireActive(App());
    if (project.SelectedColumn() == 0) {
      host::Raise(host::kHostFailure, std::string(workbench::message::kNoColumnSelected));
    }
    project.TaskTable(project.CurrentTable()).Columns().Delete(project.SelectedColumn());
    project.SelectColumn(0);
    project.RedrawView();
  }

  // A user's typing into a cell: the task by its ID in the named project (the active one by
  // default), then the recalculation automatic calculation makes.
  // False when a handler of ProjectBeforeTaskChange cancelled the edit.
  bool SetTaskField(const Arguments& args) {
    workbench::Application& app = App();
    const host::FieldId field = app.FieldNameToFieldConstant(args.Text(0));
    const std::string value = args.Text(1);
    const std::optional<std::string> project_name = args.OptionalText(5);
    workbench::Project* project =
        project_name ? ProjectByName(app, *project_name) : &RequireActive(app);
    if (project == nullptr) {
      host::Raise(host::kHostFailure, std::string(workbench::message::kProjectNotOpen));
    }
    const std::int32_t id = args.Long(4);
    for (const auto& row : project->Rows()) {
      if (row != nullptr && row->ID() == id) return app.UserEdit(*row, field, value);
    }
    host::Raise(host::kSubscriptOutOfRange,
                workbench::message::NoSuchItem("task", id, project->TaskCount()));
  }

  // The workbench's events, raised on to the advised sinks.
  void ProjectBeforeTaskChange(host::Task& tsk, host::FieldId field, const host::Value& new_value,
                               bool& cancel) override {
    if (!HasSinks()) return;
    const ComPtr<IDispatch> task = TaskOf(shared_session(), &tsk);
    CancelArgument cancel_argument(cancel);
    VARIANT value;
    VariantOfHostValue(new_value, value);
    VARIANT field_argument;
    VariantInit(&field_argument);
    field_argument.vt = VT_I4;
    field_argument.lVal = field;
    std::array<VARIANT, 4> arguments = {cancel_argument.Variant(), value, field_argument,
                                        ObjectArgument(task.get())};
    Fire(DISPID_EVENT_PROJECTBEFORETASKCHANGE, arguments);
    VariantClear(&value);
    cancel = cancel_argument.Cancelled();
  }

  void ProjectCalculate(host::Project& pj) override {
    FireProject(DISPID_EVENT_PROJECTCALCULATE, pj);
  }
  void NewProject(host::Project& pj) override { FireProject(DISPID_EVENT_NEWPROJECT, pj); }

  void ProjectBeforeClose(host::Project* pj, bool& cancel) override {
    if (!HasSinks()) return;
    const ComPtr<IDispatch> project =
        ProjectOf(shared_session(), dynamic_cast<workbench::Project*>(pj));
    CancelArgument cancel_argument(cancel);
    std::array<VARIANT, 2> arguments = {cancel_argument.Variant(), ObjectArgument(project.get())};
    Fire(DISPID_EVENT_PROJECTBEFORECLOSE, arguments);
    cancel = cancel_argument.Cancelled();
  }

  void ProjectBeforeSave(host::Project& pj, bool save_as_ui, bool& cancel) override {
    if (!HasSinks()) return;
    const ComPtr<IDispatch> project =
        ProjectOf(shared_session(), dynamic_cast<workbench::Project*>(&pj));
    CancelArgument cancel_argument(cancel);
    VARIANT save_as;
    VariantInit(&save_as);
    save_as.vt = VT_BOOL;
    save_as.boolVal = save_as_ui ? VARIANT_TRUE : VARIANT_FALSE;
    std::array<VARIANT, 3> arguments = {cancel_argument.Variant(), save_as,
                                        ObjectArgument(project.get())};
    Fire(DISPID_EVENT_PROJECTBEFORESAVE, arguments);
    cancel = cancel_argument.Cancelled();
  }

  void WindowActivate(host::Window* activated_window) override {
    if (!HasSinks()) return;
    auto* window = dynamic_cast<workbench::Window*>(activated_window);
    const ComPtr<IDispatch> object = WindowOf(
        shared_session(),
        window != nullptr ? const_cast<workbench::Project*>(&window->ProjectShown()) : nullptr);
    std::array<VARIANT, 1> arguments = {ObjectArgument(object.get())};
    Fire(DISPID_EVENT_WINDOWACTIVATE, arguments);
  }

  void FireProject(DISPID member, host::Project& pj) {
    if (!HasSinks()) return;
    const ComPtr<IDispatch> project =
        ProjectOf(shared_session(), dynamic_cast<workbench::Project*>(&pj));
    std::array<VARIANT, 1> arguments = {ObjectArgument(project.get())};
    Fire(member, arguments);
  }
};

class ProjectsObject final : public HostObject {
 public:
  explicit ProjectsObject(std::shared_ptr<Session> session)
      : HostObject(session, ObjectKind::kProjects, &session->App(), kProjectsIid) {}

 protected:
  void Call(DISPID member, WORD flags, const Arguments& args, Result& result) override {
    workbench::Application& app = App();
    if (CallCollectionCommon(member, flags, result, DISPID_COLLECTION_COUNT,
                             [&] { return app.ProjectCount(); }))
      return;
    switch (member) {
      case DISPID_LV_ITEM:
        return result.Object(ProjectOf(shared_session(), Item(args.Required(0))).get());
      case DISPID_COLLECTION_ADD:
        return result.Object(ProjectOf(shared_session(), &app.NewProject()).get());
      default:
        NoSuchMember();
    }
  }

 private:
  // By position from 1 or by name.
  workbench::Project* Item(const VARIANT& index) {
    workbench::Application& app = App();
    if (Arguments::IsText(index)) {
      workbench::Project* project = ProjectByName(app, Arguments::TextOf(index));
      if (project == nullptr) {
        host::Raise(host::kSubscriptOutOfRange, "Subscript out of range");
      }
      return project;
    }
    return &ProjectAtPosition(app, Arguments::LongOf(index), "project");
  }
};

}  // namespace

std::shared_ptr<Session> Session::Current() {
  static std::weak_ptr<Session> current;
  std::shared_ptr<Session> session = current.lock();
  if (!session) {
    session = std::make_shared<Session>();
    current = session;
  }
  return session;
}

bool HostObject::CallCommon(DISPID member, WORD flags, Result& result) {
  if (member != DISPID_LV_APPLICATION && member != DISPID_LV_PARENT) return false;
  if (!Reads(flags)) NoSuchMember();
  if (member == DISPID_LV_APPLICATION) {
    result.Object(ApplicationOf(shared_session()).get());
  } else {
    result.Object(ParentObject().get());
  }
  return true;
}

workbench::Project& ProjectAtPosition(workbench::Application& app, std::int32_t position,
                                      std::string_view item) {
  workbench::Project* project = app.ProjectAt(position);
  if (project == nullptr) {
    host::Raise(host::kSubscriptOutOfRange,
                workbench::message::NoSuchItem(item, position, app.ProjectCount()));
  }
  return *project;
}

ComPtr<IDispatch> HostObject::ParentObject() { return ApplicationOf(shared_session()); }

ComPtr<IDispatch> ApplicationOf(const std::shared_ptr<Session>& session) {
  return session->Find<ApplicationObject>(ObjectKind::kApplication, &session->App(),
                                          [&] { return MakeObject<ApplicationObject>(session); });
}

ComPtr<IDispatch> CurrentApplication() { return ApplicationOf(Session::Current()); }

ComPtr<IDispatch> ProjectsOf(const std::shared_ptr<Session>& session) {
  return session->Find<ProjectsObject>(ObjectKind::kProjects, &session->App(),
                                       [&] { return MakeObject<ProjectsObject>(session); });
}

}  // namespace lunavant::windows
