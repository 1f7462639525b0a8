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
  host::FieldId Field() const override { return LongOf(field_.Get(L"Field")); }
  std::int32_t Index() const override { return LongOf(field_.Get(L"Index")); }
  void Delete() const { field_.Get(L"Delete"); }

 private:
  AutomationObject field_;
};

class ColumnListObject final : public host::ColumnList, public HeldObject {
 public:
  ColumnListObject(HostSession& session, ComPtr<IDispatch> fields)
      : session_(session), fields_(session.Object(std::move(fields), ObjectKind::kTableFields)) {}

  std::int32_t Count() const override { return LongOf(fields_.Get(L"Count")); }
  host::Column& Item(std::int32_t position) override { return ColumnAt(position); }
  void Add(host::FieldId field, std::int32_t data_alignment, std::int32_t width,
           const std::string& title, std::int32_t title_alignment, std::int32_t insert_position,
           bool wrap) override {
    fields_.Get(L"Add", {Variant::Long(field), Variant::Long(data_alignment), Variant::Long(width),
                         Text(title), Variant::Long(title_alignment),
                         Variant::Long(insert_position), Variant::Boolean(wrap)});
  }
  void Delete(std::int32_t position) override { ColumnAt(position).Delete(); }

 private:
  ColumnObject& ColumnAt(std::int32_t position) {
    ComPtr<IDispatch> field = ObjectOf(fields_.Get(L"Item", {Variant::Long(position)}));
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
  std::string Name() const override { return TextOf(table_.Get(L"Name")); }
  host::ColumnList& Columns() override {
    ComPtr<IDispatch> fields = ObjectOf(table_.Get(member::kTableFields));
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
  return session_.ProjectFor(ObjectOf(app_.Get(L"ActiveProject")));
}

std::int32_t ApplicationObject::ProjectCount() const {
  ComPtr<IDispatch> projects = ObjectOf(app_.Get(L"Projects"));
  if (!projects) RaiseObjectRequired();
  return LongOf(session_.Object(projects, ObjectKind::kProjects).Get(L"Count"));
}

std::string ApplicationObject::DateSeparator() const { return TextOf(app_.Get(L"DateSeparator")); }

std::string ApplicationObject::FieldConstantToFieldName(host::FieldId field) const {
  return TextOf(app_.Get(L"FieldConstantToFieldName", {Variant::Long(field)}));
}

host::FieldId ApplicationObject::FieldNameToFieldConstant(std::string_view name) const {
  return LongOf(app_.Get(L"FieldNameToFieldConstant", {Text(name)}));
}

std::string ApplicationObject::CustomFieldGetName(host::FieldId field) const {
  return TextOf(app_.Get(L"CustomFieldGetName", {Variant::Long(field)}));
}

void ApplicationObject::CustomFieldRename(host::FieldId field, const std::string& alias) {
  app_.Get(L"CustomFieldRename", {Variant::Long(field), Text(alias)});
}

std::string ApplicationObject::CustomFieldGetFormula(host::FieldId field) const {
  return TextOf(app_.Get(L"CustomFieldGetFormula", {Variant::Long(field)}));
}

void ApplicationObject::CustomFieldSetFormula(host::FieldId field, const std::string& formula) {
  app_.Get(L"CustomFieldSetFormula", {Variant::Long(field), Text(formula)});
}

void ApplicationObject::CalculateProject() { app_.Get(L"CalculateProject"); }

void ApplicationObject::TableApply(std::string_view name) { app_.Get(L"TableApply", {Text(name)}); }

void ApplicationObject::SelectTaskColumn(std::int32_t position) {
  app_.Get(L"SelectTaskColumn", {Variant::Long(position)});
}

void ApplicationObject::EditClearContents() {
  // EditClear(Contents): only the cells' contents.
  app_.Get(L"EditClear", {Variant::Boolean(true)});
}

void ApplicationObject::ViewRefreshAfterColumnDelete() {
  try {
    app_.Get(member::kViewRefresh);
  } catch (const host::HostError& error) {
    // A host without the command redraws its view by itself after a table change.
    if (error.record().number != kNoSuchMember) throw;
  }
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
  return session_.BarsFor(ObjectOf(app_.Get(L"CommandBars")));
}

namespace {

class ExplorerObject final : public host::Explorer, public HeldObject {
 public:
  ExplorerObject(HostSession& session, ComPtr<IDispatch> explorer)
      : session_(session), explorer_(session.Object(std::move(explorer), ObjectKind::kExplorer)) {}
  host::CommandBarCollection* CommandBars() override {
    return session_.BarsFor(ObjectOf(explorer_.Get(L"CommandBars")));
  }

 private:
  HostSession& session_;
  AutomationObject explorer_;
};

}  // namespace

host::Explorer* ApplicationObject::ActiveExplorer() {
  ComPtr<IDispatch> explorer = ObjectOf(app_.Get(L"ActiveExplorer"));
  if (!explorer) return nullptr;
  return &session_.Keep(std::make_unique<ExplorerObject>(session_, std::move(explorer)));
}

// Project.

ProjectObject::ProjectObject(HostSession& session, ComPtr<IDispatch> project)
    : session_(session), project_(session.Object(std::move(project), ObjectKind::kProject)) {}

ProjectObject::~ProjectObject() = default;

std::string ProjectObject::Name() const { return TextOf(project_.Get(L"Name")); }

std::int32_t ProjectObject::Index() const { return LongOf(project_.Get(L"Index")); }

std::string ProjectObject::CurrentTable() const { return TextOf(project_.Get(L"CurrentTable")); }

bool ProjectObject::Saved() const { return BoolOf(project_.Get(L"Saved")); }

std::int32_t ProjectObject::TaskTableCount() const {
  ComPtr<IDispatch> tables = ObjectOf(project_.Get(member::kTaskTables));
  if (!tables) RaiseObjectRequired();
  return LongOf(session_.Object(tables, ObjectKind::kTables).Get(L"Count"));
}

host::Table& ProjectObject::TableOf(const Variant& key) {
  ComPtr<IDispatch> tables = ObjectOf(project_.Get(member::kTaskTables));
  if (!tables) RaiseObjectRequired();
  ComPtr<IDispatch> table =
      ObjectOf(session_.Object(tables, ObjectKind::kTables).Get(L"Item", {key}));
  if (!table) host::Raise(host::kSubscriptOutOfRange, "Subscript out of range");
  return session_.Keep(std::make_unique<TableObject>(session_, std::move(table)));
}

host::Table& ProjectObject::TaskTable(std::int32_t position) {
  return TableOf(Variant::Long(position));
}

host::Table& ProjectObject::TaskTable(std::string_view name) { return TableOf(Text(name)); }

std::int32_t ProjectObject::TaskCount() const {
  ComPtr<IDispatch> tasks = ObjectOf(project_.Get(L"Tasks"));
  if (!tasks) RaiseObjectRequired();
  return LongOf(session_.Object(tasks, ObjectKind::kTasks).Get(L"Count"));
}

host::Task* ProjectObject::TaskAt(std::int32_t position) {
  ComPtr<IDispatch> tasks = ObjectOf(project_.Get(L"Tasks"));
  if (!tasks) RaiseObjectRequired();
  return session_.TaskFor(
      ObjectOf(session_.Object(tasks, ObjectKind::kTasks).Get(L"Item", {Variant::Long(position)})));
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

std::int32_t TaskObject::ID() const { return LongOf(task_.Get(L"ID")); }

std::int32_t TaskObject::OutlineLevel() const { return LongOf(task_.Get(L"OutlineLevel")); }

std::vector<host::Task*> TaskObject::TasksOf(const wchar_t* collection) const {
  std::vector<host::Task*> tasks;
  ComPtr<IDispatch> list = ObjectOf(task_.Get(collection));
  if (!list) return tasks;
  const AutomationObject items = session_.Object(list, ObjectKind::kTasks);
  const std::int32_t count = LongOf(items.Get(L"Count"));
  tasks.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  for (std::int32_t i = 1; i <= count; ++i) {
    if (host::Task* task = session_.TaskFor(ObjectOf(items.Get(L"Item", {Variant::Long(i)})))) {
      tasks.push_back(task);
    }
  }
  return tasks;
}

std::vector<host::Task*> TaskObject::Subtasks() const { return TasksOf(member::kSubtasks); }

std::vector<host::Task*> TaskObject::PredecessorTasks() const {
  return TasksOf(L"PredecessorTasks");
}

std::vector<host::Task*> TaskObject::SuccessorTasks() const { return TasksOf(L"SuccessorTasks"); }

host::Task* TaskObject::Parent() const {
  return session_.TaskFor(ObjectOf(task_.Get(member::kParent)));
}

std::string TaskObject::Predecessors() const { return TextOf(task_.Get(L"Predecessors")); }

std::string TaskObject::Successors() const { return TextOf(task_.Get(L"Successors")); }

std::string TaskObject::GetField(host::FieldId field) const {
  return TextOf(task_.Get(L"GetField", {Variant::Long(field)}));
}

void TaskObject::SetField(host::FieldId field, const std::string& text) {
  task_.Get(L"SetField", {Variant::Long(field), Text(text)});
}

std::string WindowObject::Caption() const { return TextOf(window_.Get(L"Caption")); }

std::string AddInInstanceObject::ProgId() const { return TextOf(instance_.Get(L"ProgId")); }

}  // namespace lunavant::winaddin
