// SPDX-License-Identifier: MIT
// Plays a script's steps as the host's user would act, each through the host's automation by
// name: FileNew, Tasks.Add, SetField, a command bar button's Execute, and so on.
#pragma once

#include <oaidl.h>

#include <stdexcept>

#include "addin_manager.h"
#include "com_ptr.h"
#include "script.h"

namespace lunavant::driver {

// A step the host could not carry out, or whose object is not there (no such task, button or
// window); the message says which.
class StepFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ScriptRunner {
 public:
  // `addins` carries out the steps that connect and disconnect add-ins.
  ScriptRunner(IDispatch* application, AddInManager& addins);

  // Carries out `step`. Returns false, after reporting on standard error, when an expectation
  // does not hold. Throws StepFailure or com::ComError when the host fails the step.
  bool Run(const ScriptStep& step);

 private:
  com::ComPtr<IDispatch> ActiveProject();
  com::ComPtr<IDispatch> Tasks();
  com::ComPtr<IDispatch> FindTask(const std::wstring& id_or_name);
  com::ComPtr<IDispatch> FindButton(const std::wstring& caption);
  com::ComPtr<IDispatch> FindWindow(const std::wstring& index_or_caption);
  // The command bar named `name`; empty when there is none.
  com::ComPtr<IDispatch> FindBar(const std::wstring& name);

  void AddTask(const ScriptStep& step);
  void Link(const ScriptStep& step);
  bool ExpectText(const ScriptStep& step);
  bool ExpectDate(const ScriptStep& step);
  bool ExpectCount(const ScriptStep& step);
  bool ExpectBar(const ScriptStep& step);
  bool ExpectView(const ScriptStep& step);
  bool ExpectColumn(const ScriptStep& step);
  bool ExpectFace(const ScriptStep& step);

  com::ComPtr<IDispatch> application_;
  AddInManager& addins_;
};

}  // namespace lunavant::driver
