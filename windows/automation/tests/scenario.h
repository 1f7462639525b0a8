// SPDX-License-Identifier: MIT
// A user session with the reference host written down once and run against two hosts: the Linux
// workbench directly, and the Windows automation server through IDispatch. Both must give the
// texts the scenario expects, so both give the same texts. Portable: no Windows headers.
//
//   # comment
//   locale en_GB                      the regional settings both hosts run in
//   new                               a new project
//   project-start 2024-03-11 08:00
//   task Survey = 3                   a task with its name and duration text
//   link 1 -> 2 FS 1                  a link by task IDs, type FS/SS/FF/SF, lag in days
//   set 3 Text1 = fragile             an object-model field write
//   edit 2 Duration = 4               a user's typing into a cell (recalculates)
//   calculate
//   expect 2 Start = Thu 14/03/24     a field's text as the host shows it
//   close                             closes the active project without saving
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lunavant::windows::testing {

class ScenarioHost {
 public:
  virtual ~ScenarioHost() = default;
  virtual void NewProject() = 0;
  virtual void SetProjectStart(int year, int month, int day, int hour, int minute) = 0;
  virtual void AddTask(const std::string& name, const std::string& duration) = 0;
  // `type` in the host's numbering: 0 FF, 1 FS, 2 SF, 3 SS.
  virtual void Link(int from_id, int to_id, int type, int lag_days) = 0;
  virtual void SetField(int task_id, const std::string& field, const std::string& text) = 0;
  virtual void UserEdit(int task_id, const std::string& field, const std::string& text) = 0;
  virtual void Calculate() = 0;
  virtual std::string GetField(int task_id, const std::string& field) = 0;
  virtual void Close() = 0;
};

// The locale of a scenario ("en_GB"); empty when it names none.
std::string ScenarioLocale(std::string_view scenario);
// Runs every step; gives one line per expectation not met, or per line it cannot read.
std::vector<std::string> RunScenario(std::string_view scenario, ScenarioHost& host);

}  // namespace lunavant::windows::testing
