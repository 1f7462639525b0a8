// SPDX-License-Identifier: MIT
#include "host_binding/host_session.h"

#include "host_binding/command_bar_objects.h"
#include "host_binding/project_objects.h"

namespace lunavant::winaddin {

HostSession::HostSession(ComPtr<IDispatch> application, host::Platform& platform)
    : platform_(platform),
      application_(std::make_unique<ApplicationObject>(*this, std::move(application))) {}

HostSession::~HostSession() {
  // Sinks first, while every object they were advised on is still held.
  application_.reset();
  buttons_.clear();
  bars_.clear();
  bar_collections_.clear();
  projects_.clear();
}

host::Application& HostSession::Application() { return *application_; }

template <class Made>
Made* HostSession::Kept(std::map<IUnknown*, std::unique_ptr<HeldObject>>& kept,
                        const ComPtr<IDispatch>& object) {
  if (!object) return nullptr;
  IUnknown* identity = IdentityOf(object.get());
  if (const auto found = kept.find(identity); found != kept.end()) {
    return static_cast<Made*>(found->second.get());
  }
  auto made = std::make_unique<Made>(*this, object);
  Made* result = made.get();
  kept.emplace(identity, std::move(made));
  return result;
}

host::Project* HostSession::ProjectFor(const ComPtr<IDispatch>& project) {
  return Kept<ProjectObject>(projects_, project);
}

host::CommandBarCollection* HostSession::BarsFor(const ComPtr<IDispatch>& bars) {
  return Kept<CommandBarsObject>(bar_collections_, bars);
}

host::CommandBar* HostSession::BarFor(const ComPtr<IDispatch>& bar) {
  return Kept<CommandBarObject>(bars_, bar);
}

host::CommandBarButton* HostSession::ButtonFor(const ComPtr<IDispatch>& button) {
  return Kept<CommandBarButtonObject>(buttons_, button);
}

host::Task* HostSession::TaskFor(const ComPtr<IDispatch>& task) {
  if (!task) return nullptr;
  return &Keep(std::make_unique<TaskObject>(*this, task));
}

host::Window* HostSession::WindowFor(const ComPtr<IDispatch>& window) {
  if (!window) return nullptr;
  return &Keep(std::make_unique<WindowObject>(*this, window));
}

}  // namespace lunavant::winaddin
