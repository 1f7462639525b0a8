// SPDX-License-Identifier: MIT
// The host's object model (addin/host/object_model.h) over the host's automation: application,
// projects, task tables and their fields, tasks, windows, by the member names of the host's type
// library. Events of the application and of a project reach the add-in's sinks through
// event_sinks.h.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addin/host/events.h"
#include "addin/host/extensibility.h"
#include "addin/host/object_model.h"
#include "host_binding/event_sinks.h"
#include "host_binding/host_members.h"
#include "host_binding/host_session.h"

namespace lunavant::winaddin {

class ApplicationObject final : public host::Application, public HeldObject {
 public:
  ApplicationObject(HostSession& session, ComPtr<IDispatch> application);
  ~ApplicationObject() override;

  host::Project* ActiveProject() override;
  std::int32_t ProjectCount() const override;
  std::string DateSeparator() const override;
  std::string FieldConstantToFieldName(host::FieldId field) const override;
  host::FieldId FieldNameToFieldConstant(std::string_view name) const override;
  std::string CustomFieldGetName(host::FieldId field) const override;
  void CustomFieldRename(host::FieldId field, const std::string& alias) override;
  std::string CustomFieldGetFormula(host::FieldId field) const override;
  void CustomFieldSetFormula(host::FieldId field, const std::string& formula) override;
  void CalculateProject() override;
  void TableApply(std::string_view name) override;
  void SelectTaskColumn(std::string_view field_name) override;
  void EditClearContents() override;
  void AddEventSink(host::ApplicationEvents& sink) override;
  void RemoveEventSink(host::ApplicationEvents& sink) override;
  host::CommandBarCollection* CommandBars() override;
  host::Explorer* ActiveExplorer() override;
  host::Platform& Services() override { return session_.Platform(); }

  IDispatch* Dispatch() const { return app_.get(); }

 private:
  EventTable EventsFor(host::ApplicationEvents& sink);

  HostSession& session_;
  AutomationObject app_;
  std::map<host::ApplicationEvents*, std::unique_ptr<EventConnection>> sinks_;
};

class ProjectObject final : public host::Project, public HeldObject {
 public:
  ProjectObject(HostSession& session, ComPtr<IDispatch> project);
  ~ProjectObject() override;

  std::string Name() const override;
  std::int32_t Index() const override;
  std::string CurrentTable() const override;
  bool Saved() const override;
  std::int32_t TaskTableCount() const override;
  host::Table& TaskTable(std::int32_t position) override;
  host::Table& TaskTable(std::string_view name) override;
  std::int32_t TaskCount() const override;
  host::Task* TaskAt(std::int32_t position) override;
  void AddEventSink(host::ProjectEvents& sink) override;
  void RemoveEventSink(host::ProjectEvents& sink) override;

 private:
  host::Table& TableOf(const Variant& key);

  HostSession& session_;
  AutomationObject project_;
  std::map<host::ProjectEvents*, std::unique_ptr<EventConnection>> sinks_;
};

class TaskObject final : public host::Task, public HeldObject {
 public:
  TaskObject(HostSession& session, ComPtr<IDispatch> task);

  std::int32_t ID() const override;
  std::int32_t OutlineLevel() const override;
  std::vector<host::Task*> Subtasks() const override;
  std::vector<host::Task*> PredecessorTasks() const override;
  std::vector<host::Task*> SuccessorTasks() const override;
  host::Task* Parent() const override;
  std::string Predecessors() const override;
  std::string Successors() const override;
  std::string GetField(host::FieldId field) const override;
  void SetField(host::FieldId field, const std::string& text) override;

 private:
  std::vector<host::Task*> TasksOf(const HostMember& collection) const;

  HostSession& session_;
  AutomationObject task_;
};

class WindowObject final : public host::Window, public HeldObject {
 public:
  WindowObject(HostSession& session, ComPtr<IDispatch> window)
      : window_(session.Object(std::move(window), ObjectKind::kWindow)) {}
  std::string Caption() const override;

 private:
  AutomationObject window_;
};

// The add-in's record as the host hands it to OnConnection.
class AddInInstanceObject final : public host::AddInInstance {
 public:
  AddInInstanceObject(HostSession& session, ComPtr<IDispatch> instance)
      : instance_(session.Object(std::move(instance), ObjectKind::kAddIn)) {}
  // The host's PROGID property; fails as the host does when there is no instance.
  std::string ProgId() const override;

 private:
  AutomationObject instance_;
};

}  // namespace lunavant::winaddin
