// SPDX-License-Identifier: MIT
#include "host_binding/project_objects.h"

#include "addin/host/error.h"
#include "addin/host/global.h"
#include "host_binding/values.h"
#include "text.h"

namespace lunavant::winaddin {
namespace {

// The host's application events (_EProjectApp2) and a project's own (_EProjectDoc).
constexpr IID kApplicationEvents = {
    0x5066D7C4, 0x1ED7, 0x48C4, {0xAC, 0xE7, 0x29, 0x9E, 0x10, 0x9D, 0x36, 0x8C}};
constexpr IID kProjectEvents = {
    0xF81DD3C0, 0x5089, 0x11CF, {0xA4, 0x9D, 0x00, 0xAA, 0x00, 0x57, 0x4C, 0x74}};
constexpr DISPID kNewProject = 1;
constexpr DISPID kProjectBeforeClose = 2;
constexpr DISPID kProjectBeforeSave = 3;
constexpr DISPID kProjectCalculate = 5;
constexpr DISPID kProjectBeforeTaskChange = 9;
constexpr DISPID kWindowActivate = 19;
constexpr DISPID kOpen = 1;

Variant Text(std::string_view text) { return Variant::Text(com::Widen(text)); }

[[noreturn]] void RaiseObjectRequired() { host::RaiseRuntime(host::kObjectRequired); }

class ColumnObject final : public host::Column, public HeldObject {
 public:
  ColumnObject(HostSession& session, ComPtr<IDispatch> field)
      : field_(session.Object(std::move(field), ObjectKind::kTableField)) {}
  host::FieldId Field() const override { return LongOf(Call(field_, member::kTableFieldField)); }
  std::int32_t Index() const override { return LongOf(Call(field_, member::kTableFieldIndex)); }
  void Delete() const { Call(field_, member::kTableFieldDelete); }

 private:
  AutomationObject field_;
};

class ColumnListObject final : public host::ColumnList, public HeldObject {
 public:
  ColumnListObject(HostSession& session, ComPtr<IDispatch> fields)
      : session_(session), fields_(session.Object(std::move(fields), ObjectKind::kTableFields)) {}

  std::int32_t Count() const override { return LongOf(Call(fields_, member::kTableFieldsCount)); }
  host::Column& Item(std::int32_t position) override { return ColumnAt(position); }
  void Add(host::FieldId field, std::int32_t data_alignment, std::int32_t width,
           const std::string& title, std::int32_t title_alignment, std::int32_t insert_position,
           bool wrap) override {
    Call(fields_, member::kTableFieldsAdd,
         {Variant::Long(field), Variant::Long(data_alignment), Variant::Long(width), Text(title),
          Variant::Long(title_alignment), Variant::Long(insert_position), Variant::Boolean(wrap)});
  }
  void Delete(std::int32_t position) override { ColumnAt(position).Delete(); }

 private:
  ColumnObject& ColumnAt(std::int32_t position) {
    ComPtr<IDispatch> field =
        ObjectOf(Call(fields_, member::kTableFieldsItem, {Variant::Long(position)}));
    if (!field) host::Raise(host::kSubscriptOutOfRange, "Subscript out of range");
    return session_.Keep(std::make_unique<ColumnObject>(session_, std::move(field)));
  }

  HostSession& session_;
  AutomationObject fields_;
};

class TableObject final : public host::Table, public HeldObject {
 public:
  TableObject(HostSession& session, ComPtr<IDispatch> table)
      : session_(session), table_(session.Object(std::move(table), ObjectKind::kTable)) {}
  std::string Name() const override { return TextOf(Call(table_, member::kTableName)); }
  host::ColumnList& Columns() override {
    ComPtr<IDispatch> fields = ObjectOf(Call(table_, member::kTableColumns));
    if (!fields) RaiseObjectRequired();
    return session_.Keep(std::make_unique<ColumnListObject>(session_, std::move(fields)));
  }

 private:
  HostSession& session_;
  AutomationObject table_;
};

}  // namespace

// Application.

ApplicationObject::ApplicationObject(HostSession& session, ComPtr<IDispatch> application)
    : session_(session), app_(session.Object(std::move(application), ObjectKind::kApplication)) {}

ApplicationObject::~ApplicationObject() = default;

host::Project* ApplicationObject::ActiveProject() {
  return session_.ProjectFor(ObjectOf(Call(app_, member::kActiveProject)));
}

std::int32_t ApplicationObject::ProjectCount() const {
  ComPtr<IDispatch> projects = ObjectOf(Call(app_, member::kOpenProjects));
  if (!projects) RaiseObjectRequired();
  return LongOf(Call(session_.Object(projects, ObjectKind::kProjects), member::kProjectsCount));
}

std::string ApplicationObject::DateSeparator() const {
  return TextOf(Call(app_, member::kDateSeparator));
}

std::string ApplicationObject::FieldConstantToFieldName(host::FieldId field) const {
  return TextOf(Call(app_, member::kFieldConstantToFieldName, {Variant::Long(field)}));
}

host::FieldId ApplicationObject::FieldNameToFieldConstant(std::string_view name) const {
  return LongOf(Call(app_, member::kFieldNameToFieldConstant, {Text(name)}));
}

std::string ApplicationObject::CustomFieldGetName(host::FieldId field) const {
  return TextOf(Call(app_, member::kCustomFieldGetName, {Variant::Long(field)}));
}

void ApplicationObject::CustomFieldRename(host::FieldId field, const std::string& alias) {
  Call(app_, member::kCustomFieldRename, {Variant::Long(field), Text(alias)});
}

std::string ApplicationObject::CustomFieldGetFormula(host::FieldId field) const {
  return TextOf(Call(app_, member::kCustomFieldGetFormula, {Variant::Long(field)}));
}

void ApplicationObject::CustomFieldSetFormula(host::FieldId field, const std::string& formula) {
  Call(app_, member::kCustomFieldSetFormula, {Variant::Long(field), Text(formula)});
}

void ApplicationObject::CalculateProject() { Call(app_, member::kCalculateProject); }

void ApplicationObject::TableApply(std::string_view name) {
  Call(app_, member::kTableApply, {Text(name)});
}

void ApplicationObject::SelectTaskColumn(std::string_view field_name) {
  Call(app_, member::kSelectTaskColumn, {Text(field_name)});
}

void ApplicationObject::EditClearContents() {
  // EditClear(Contents): only the cells' contents.
  Call(app_, member::kEditClear, {Variant::Boolean(true)});
}

EventTable ApplicationObject::EventsFor(host::ApplicationEvents& sink) {
  HostSession& session = session_;
  EventTable table;
  table[kProjectBeforeTaskChange] = [&session, &sink](EventArguments& args) {
    host::Task* task = session.TaskFor(args.Object(0));
    if (task == nullptr) return;
    const host::FieldId field = args.Long(1);
    const host::Value new_value = ValueOf(args.At(2));
    bool cancel = args.Bool(3);
    sink.ProjectBeforeTaskChange(*task, field, new_value, cancel);
    args.SetBool(3, cancel);
  };
  table[kProjectCalculate] = [&session, &sink](EventArguments& args) {
    if (host::Project* project = session.ProjectFor(args.Object(0)))
      sink.ProjectCalculate(*project);
  };
  table[kNewProject] = [&session, &sink](EventArguments& args) {
    if (host::Project* project = session.ProjectFor(args.Object(0))) sink.NewProject(*project);
  };
  table[kProjectBeforeClose] = [&session, &sink](EventArguments& args) {
    host::Project* project = session.ProjectFor(args.Object(0));
    bool cancel = args.Bool(1);
    sink.ProjectBeforeClose(project, cancel);
    args.SetBool(1, cancel);
  };
  table[kProjectBeforeSave] = [&session, &sink](EventArguments& args) {
    host::Project* project = session.ProjectFor(args.Object(0));
    if (project == nullptr) return;
    bool cancel = args.Bool(2);
    sink.ProjectBeforeSave(*project, args.Bool(1), cancel);
    args.SetBool(2, cancel);
  };
  table[kWindowActivate] = [&session, &sink](EventArguments& args) {
    sink.WindowActivate(session.WindowFor(args.Object(0)));
  };
  return table;
}

void ApplicationObject::AddEventSink(host::ApplicationEvents& sink) {
  if (sinks_.contains(&sink)) return;
  sinks_[&sink] = std::make_unique<EventConnection>(app_.get(), kApplicationEvents, EventsFor(sink),
                                                    session_.Transients());
}

void ApplicationObject::RemoveEventSink(host::ApplicationEvents& sink) { sinks_.erase(&sink); }

host::CommandBarCollection* ApplicationObject::CommandBars() {
  return session_.BarsFor(ObjectOf(Call(app_, member::kApplicationCommandBars)));
}

namespace {

class ExplorerObject final : public host::Explorer, public HeldObject {
 public:
  ExplorerObject(HostSession& session, ComPtr<IDispatch> explorer)
      : session_(session), explorer_(session.Object(std::move(explorer), ObjectKind::kExplorer)) {}
  host::CommandBarCollection* CommandBars() override {
    return session_.BarsFor(ObjectOf(Call(explorer_, member::kExplorerCommandBars)));
  }

 private:
  HostSession& session_;
  AutomationObject explorer_;
};

}  // namespace

host::Explorer* ApplicationObject::ActiveExplorer() {
  ComPtr<IDispatch> explorer = ObjectOf(Call(app_, member::kActiveExplorer));
  if (!explorer) return nullptr;
  return &session_.Keep(std::make_unique<ExplorerObject>(session_, std::move(explorer)));
}

// Project.

ProjectObject::ProjectObject(HostSession& session, ComPtr<IDispatch> project)
    : session_(session), project_(session.Object(std::move(project), ObjectKind::kProject)) {}

ProjectObject::~ProjectObject() = default;

std::string ProjectObject::Name() const { return TextOf(Call(project_, member::kProjectName)); }

std::int32_t ProjectObject::Index() const { return LongOf(Call(project_, member::kProjectIndex)); }

std::string ProjectObject::CurrentTable() const {
  return TextOf(Call(project_, member::kCurrentTable));
}

bool ProjectObject::Saved() const { return BoolOf(Call(project_, member::kSaved)); }

std::int32_t ProjectObject::TaskTableCount() const {
  ComPtr<IDispatch> tables = ObjectOf(Call(project_, member::kTaskTables));
  if (!tables) RaiseObjectRequired();
  return LongOf(Call(session_.Object(tables, ObjectKind::kTables), member::kTablesCount));
}

host::Table& ProjectObject::TableOf(const Variant& key) {
  ComPtr<IDispatch> tables = ObjectOf(Call(project_, member::kTaskTables));
  if (!tables) RaiseObjectRequired();
  ComPtr<IDispatch> table =
      ObjectOf(Call(session_.Object(tables, ObjectKind::kTables), member::kTablesItem, {key}));
  if (!table) host::Raise(host::kSubscriptOutOfRange, "Subscript out of range");
  return session_.Keep(std::make_unique<TableObject>(session_, std::move(table)));
}

host::Table& ProjectObject::TaskTable(std::int32_t position) {
  return TableOf(Variant::Long(position));
}

host::Table& ProjectObject::TaskTable(std::string_view name) { return TableOf(Text(name)); }

std::int32_t ProjectObject::TaskCount() const {
  ComPtr<IDispatch> tasks = ObjectOf(Call(project_, member::kProjectTasks));
  if (!tasks) RaiseObjectRequired();
  return LongOf(Call(session_.Object(tasks, ObjectKind::kTasks), member::kTasksCount));
}

host::Task* ProjectObject::TaskAt(std::int32_t position) {
  ComPtr<IDispatch> tasks = ObjectOf(Call(project_, member::kProjectTasks));
  if (!tasks) RaiseObjectRequired();
  return session_.TaskFor(ObjectOf(Call(session_.Object(tasks, ObjectKind::kTasks),
                                        member::kTasksItem, {Variant::Long(position)})));
}

void ProjectObject::AddEventSink(host::ProjectEvents& sink) {
  if (sinks_.contains(&sink)) return;
  HostSession& session = session_;
  EventTable table;
  table[kOpen] = [&session, &sink](EventArguments& args) {
    if (host::Project* project = session.ProjectFor(args.Object(0))) sink.Open(*project);
  };
  sinks_[&sink] = std::make_unique<EventConnection>(project_.get(), kProjectEvents,
                                                    std::move(table), session_.Transients());
}

void ProjectObject::RemoveEventSink(host::ProjectEvents& sink) { sinks_.erase(&sink); }

// Task.

TaskObject::TaskObject(HostSession& session, ComPtr<IDispatch> task)
    : session_(session), task_(session.Object(std::move(task), ObjectKind::kTask)) {}

std::int32_t TaskObject::ID() const { return LongOf(Call(task_, member::kTaskID)); }

std::int32_t TaskObject::OutlineLevel() const { return LongOf(Call(task_, member::kOutlineLevel)); }

std::vector<host::Task*> TaskObject::TasksOf(const HostMember& collection) const {
  std::vector<host::Task*> tasks;
  ComPtr<IDispatch> list = ObjectOf(Call(task_, collection));
  if (!list) return tasks;
  const AutomationObject items = session_.Object(list, ObjectKind::kTasks);
  const std::int32_t count = LongOf(Call(items, member::kTasksCount));
  tasks.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  for (std::int32_t i = 1; i <= count; ++i) {
    if (host::Task* task =
            session_.TaskFor(ObjectOf(Call(items, member::kTasksItem, {Variant::Long(i)})))) {
      tasks.push_back(task);
    }
  }
  return tasks;
}

std::vector<host::Task*> TaskObject::Subtasks() const { return TasksOf(member::kOutlineChildren); }

std::vector<host::Task*> TaskObject::PredecessorTasks() const {
  return TasksOf(member::kPredecessorTasks);
}

std::vector<host::Task*> TaskObject::SuccessorTasks() const {
  return TasksOf(member::kSuccessorTasks);
}

host::Task* TaskObject::Parent() const {
  return session_.TaskFor(ObjectOf(Call(task_, member::kOutlineParent)));
}

std::string TaskObject::Predecessors() const { return TextOf(Call(task_, member::kPredecessors)); }

std::string TaskObject::Successors() const { return TextOf(Call(task_, member::kSuccessors)); }

std::string TaskObject::GetField(host::FieldId field) const {
  return TextOf(Call(task_, member::kGetField, {Variant::Long(field)}));
}

void TaskObject::SetField(host::FieldId field, const std::string& text) {
  Call(task_, member::kSetField, {Variant::Long(field), Text(text)});
}

std::string WindowObject::Caption() const { return TextOf(Call(window_, member::kWindowCaption)); }

std::string AddInInstanceObject::ProgId() const { return TextOf(Call(instance_, member::kProgId)); }

}  // namespace lunavant::winaddin
