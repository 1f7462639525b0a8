// SPDX-License-Identifier: MIT
// One connection of the add-in to the host: the host's Application over automation as the
// add-in's host::Application, the dispatch IDs of each kind of host object, the objects held for
// the length of a call, and those held for the whole connection (projects, command bars and
// buttons, which the add-in keeps and compares by address). Ending the session unadvises every
// event sink still advised and lets go of every host object.
//
//   HostSession session(application_dispatch, platform);
//   host::SetGlobalApplication(&session.Application());
#pragma once

#include <array>
#include <map>
#include <memory>

#include "addin/host/command_bars.h"
#include "addin/host/object_model.h"
#include "addin/host/services.h"
#include "host_binding/automation.h"
#include "host_binding/call_scope.h"

namespace lunavant::winaddin {

enum class ObjectKind {
  kApplication,
  kProjects,
  kProject,
  kTables,
  kTable,
  kTableFields,
  kTableField,
  kTasks,
  kTask,
  kWindow,
  kExplorer,
  kCommandBars,
  kCommandBar,
  kCommandBarControls,
  kCommandBarButton,
  kAddIn,
  kCount
};

class ApplicationObject;

class HostSession {
 public:
  HostSession(ComPtr<IDispatch> application, host::Platform& platform);
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;
  ~HostSession();

  host::Application& Application();
  host::Platform& Platform() { return platform_; }
  TransientObjects& Transients() { return transients_; }
  MemberIds& Ids(ObjectKind kind) { return ids_[static_cast<std::size_t>(kind)]; }
  AutomationObject Object(ComPtr<IDispatch> object, ObjectKind kind) {
    return AutomationObject(std::move(object), Ids(kind));
  }

  // The one add-in object for a host object, kept for the whole connection; null for null.
  host::Project* ProjectFor(const ComPtr<IDispatch>& project);
  host::CommandBarCollection* BarsFor(const ComPtr<IDispatch>& bars);
  host::CommandBar* BarFor(const ComPtr<IDispatch>& bar);
  host::CommandBarButton* ButtonFor(const ComPtr<IDispatch>& button);

  // Objects held for the length of the current call from the host.
  host::Task* TaskFor(const ComPtr<IDispatch>& task);
  host::Window* WindowFor(const ComPtr<IDispatch>& window);
  template <class T>
  T& Keep(std::unique_ptr<T> object) {
    return transients_.Keep(std::move(object));
  }

 private:
  template <class Made>
  Made* Kept(std::map<IUnknown*, std::unique_ptr<HeldObject>>& kept,
             const ComPtr<IDispatch>& object);

  host::Platform& platform_;
  std::array<MemberIds, static_cast<std::size_t>(ObjectKind::kCount)> ids_;
  TransientObjects transients_;
  std::map<IUnknown*, std::unique_ptr<HeldObject>> projects_;
  std::map<IUnknown*, std::unique_ptr<HeldObject>> bar_collections_;
  std::map<IUnknown*, std::unique_ptr<HeldObject>> bars_;
  std::map<IUnknown*, std::unique_ptr<HeldObject>> buttons_;
  std::unique_ptr<ApplicationObject> application_;
};

}  // namespace lunavant::winaddin
