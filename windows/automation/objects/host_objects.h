// SPDX-License-Identifier: MIT
// The reference host's automation objects over one workbench Application (a session). Each
// object wraps one workbench object and keeps the session alive; while it lives, asking for the
// same workbench object again gives the same automation object, so clients may compare them.
//
//   ComPtr<ApplicationObject> app = ApplicationObject::Instance();   // the process's host
//   // a client then calls app->Invoke(...) by the names of the type library
//
// The application object forwards the workbench's application events to the sinks advised on
// it, a project object the project's Open, a button object its Click: argument shapes and
// dispatch IDs as the event interfaces of reference_host.h declare them, Cancel by reference and
// read back after each sink.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "addin/host/events.h"
#include "windows/automation/com/dispatch_object.h"
#include "windows/automation/server/dispids.h"
#include "workbench/model/application.h"

namespace lunavant::windows {

enum class ObjectKind {
  kApplication,
  kProjects,
  kProject,
  kWindows,
  kWindow,
  kTasks,
  kTask,
  kTaskDependencies,
  kTables,
  kTable,
  kTableFields,
  kTableField,
  kList,
  kCommandBars,
  kCommandBar,
  kCommandBarControls,
  kCommandBarButton
};

class HostObject;

// One workbench Application and the automation objects alive over it.
class Session {
 public:
  // The process's session, made when none is alive.
  static std::shared_ptr<Session> Current();

  workbench::Application& App() { return app_; }

  // The live object for (kind, model), or a new one made by `make` and remembered.
  template <typename T, typename Make>
  ComPtr<T> Find(ObjectKind kind, const void* model, Make make) {
    const auto found = objects_.find({kind, model});
    if (found != objects_.end()) return ComPtr<T>::Share(static_cast<T*>(found->second));
    ComPtr<T> made = make();
    objects_[{kind, model}] = made.get();
    return made;
  }
  void Forget(ObjectKind kind, const void* model) { objects_.erase({kind, model}); }

 private:
  workbench::Application app_;
  std::map<std::pair<ObjectKind, const void*>, HostObject*> objects_;
};

class HostObject : public DispatchObject {
 public:
  Session& session() const { return *session_; }
  const std::shared_ptr<Session>& shared_session() const { return session_; }
  workbench::Application& App() const { return session_->App(); }

 protected:
  HostObject(std::shared_ptr<Session> session, ObjectKind kind, const void* model, const IID& iid,
             const IID* events_iid = nullptr)
      : DispatchObject(iid, events_iid), session_(std::move(session)), kind_(kind), model_(model) {}
  ~HostObject() override {
    if (model_ != nullptr) session_->Forget(kind_, model_);
  }
  // Application and Parent, which every object answers; false for other members.
  bool CallCommon(DISPID member, WORD flags, Result& result);
  // What every collection answers, and only reads: Application, Parent, _NewEnum, and its count
  // (`count_member`, which `count` gives). False for the collection's own members, which a client
  // may only read as well.
  template <typename CountOf>
  bool CallCollectionCommon(DISPID member, WORD flags, Result& result, DISPID count_member,
                            CountOf count) {
    if (CallCommon(member, flags, result)) return true;
    if (!Reads(flags)) NoSuchMember();
    if (member == DISPID_LV_NEWENUM) {
      Enumerate(count_member, result);
    } else if (member == count_member) {
      result.Long(count());
    } else {
      return false;
    }
    return true;
  }
  // The object Parent answers: the application unless an object belongs to another.
  virtual ComPtr<IDispatch> ParentObject();

 private:
  std::shared_ptr<Session> session_;
  ObjectKind kind_;
  const void* model_;  // null for an object made afresh on each request
};

// The automation objects of a session's workbench objects.
ComPtr<IDispatch> ApplicationOf(const std::shared_ptr<Session>& session);
ComPtr<IDispatch> ProjectsOf(const std::shared_ptr<Session>& session);
ComPtr<IDispatch> ProjectOf(const std::shared_ptr<Session>& session, workbench::Project* project);
ComPtr<IDispatch> WindowsOf(const std::shared_ptr<Session>& session);
ComPtr<IDispatch> WindowOf(const std::shared_ptr<Session>& session, workbench::Project* project);
ComPtr<IDispatch> TasksOf(const std::shared_ptr<Session>& session, workbench::Project& project);
ComPtr<IDispatch> TaskListOf(const std::shared_ptr<Session>& session,
                             std::vector<host::Task*> tasks);
ComPtr<IDispatch> TaskOf(const std::shared_ptr<Session>& session, host::Task* task);
ComPtr<IDispatch> TextListOf(const std::shared_ptr<Session>& session,
                             std::vector<std::string> items);
ComPtr<IDispatch> TaskTablesOf(const std::shared_ptr<Session>& session,
                               workbench::Project& project);
ComPtr<IDispatch> CommandBarsOf(const std::shared_ptr<Session>& session);
ComPtr<IDispatch> CommandBarOf(const std::shared_ptr<Session>& session, workbench::CommandBar* bar);
ComPtr<IDispatch> ButtonOf(const std::shared_ptr<Session>& session,
                           workbench::CommandBarButton* button);

// The application's project at `position` from 1, for Projects and Windows; fails with
// kSubscriptOutOfRange, naming what the collection holds (`item`), when there is none.
workbench::Project& ProjectAtPosition(workbench::Application& app, std::int32_t position,
                                      std::string_view item);

// The workbench task behind a Task object a client hands back; null for any other object.
workbench::Task* TaskBehind(IDispatch* object);

// The application object of the process's session.
ComPtr<IDispatch> CurrentApplication();

}  // namespace lunavant::windows
