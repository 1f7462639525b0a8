// SPDX-License-Identifier: MIT
// The host's events, one virtual each, named after the event. The host calls them on its
// user-interface thread; a handler may call back into the host, and a task-field write made inside
// a handler raises ProjectBeforeTaskChange again, nested.
#pragma once

#include "addin/host/object_model.h"

namespace lunavant::host {

class ApplicationEvents {
 public:
  virtual ~ApplicationEvents() = default;

  // Before a task field changes. `new_value` is what the user typed or the object model wrote.
  // Setting `cancel` to true refuses the change; it may arrive already true.
  virtual void ProjectBeforeTaskChange(Task& tsk, FieldId field, const Value& new_value,
                                       bool& cancel) = 0;
  // After the host has scheduled `pj`.
  virtual void ProjectCalculate(Project& pj) = 0;
  // A project was created; it is open but its window may not be active yet.
  virtual void NewProject(Project& pj) = 0;
  // Before a project closes; it is still counted among the open projects. `pj` may be null when
  // the host cannot name it. Setting `cancel` to true keeps the project open.
  virtual void ProjectBeforeClose(Project* pj, bool& cancel) = 0;
  virtual void ProjectBeforeSave(Project& pj, bool save_as_ui, bool& cancel) = 0;
  // A project window became active; `activated_window` may be null.
  virtual void WindowActivate(Window* activated_window) = 0;
};

class ProjectEvents {
 public:
  virtual ~ProjectEvents() = default;
  // The project was opened from a file.
  virtual void Open(Project& pj) = 0;
};

}  // namespace lunavant::host
