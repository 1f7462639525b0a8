// SPDX-License-Identifier: MIT
// The host's global object: the application the add-in runs in, reachable at any time. The host
// sets it when it loads the add-in (the module entry point), a test fixture when it builds one.
#pragma once

#include "addin/host/error.h"
#include "addin/host/object_model.h"

namespace lunavant::host {

namespace detail {
inline Application* g_application = nullptr;
}

// Null while no host has set it.
inline Application* GlobalApplication() { return detail::g_application; }
inline void SetGlobalApplication(Application* app) { detail::g_application = app; }

// The global application; fails with kObjectRequired while no host has set it.
inline Application& RequireApplication() {
  Application* app = GlobalApplication();
  if (app == nullptr) RaiseRuntime(kObjectRequired);
  return *app;
}

// The host's active project; fails with kObjectRequired when there is no application or no
// project is open.
inline Project& RequireActiveProject() {
  Project* project = RequireApplication().ActiveProject();
  if (project == nullptr) RaiseRuntime(kObjectRequired);
  return *project;
}

}  // namespace lunavant::host
