// SPDX-License-Identifier: MIT
// The base fixture of every test that runs against the workbench, and a builder that makes a
// small project in a few lines. The fixture pins the short-date pattern (dd/MM/yyyy) and the date
// separator ("/"), so dates read and show as "Mon 15/03/04" whatever the machine's locale, and it
// makes its application the global one for the length of the test.
//
//   class HijriSync : public test_support::WorkbenchTest {};
//   TEST_F(HijriSync, Example) {
//     workbench::Project& pj = Plan()
//                                  .StartingOn(2004, 3, 15)
//                                  .AddTask("Design", 3)
//                                  .AddTask("Build", 5)
//                                  .Link(1, 2)
//                                  .Build();           // Build starts on Thu 18/03/04
//   }
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "addin/host/host.h"
#include "tests/support/error_of.h"
#include "workbench/model/application.h"
#include "workbench/model/project.h"
#include "workbench/platform/recording_ui.h"
#include "workbench/schedule/calendar.h"

namespace lunavant::host {
// Lets GoogleTest show an error record as its number and text.
inline void PrintTo(const ErrorRecord& record, std::ostream* out) {
  *out << "{" << record.number << ", \"" << record.description << "\"}";
}
}  // namespace lunavant::host

namespace lunavant::test_support {

inline constexpr const char* kPinnedShortDatePattern = "dd/MM/yyyy";
inline constexpr const char* kPinnedDateSeparator = "/";

// Collects a project's rows, links and field values, then makes it in one go. Task numbers in
// Link and Field are task IDs (blank rows count).
class ProjectBuilder {
 public:
  ProjectBuilder(workbench::Application& app, std::string name);

  // The project start (at the start of the working day); default 1 March 2004, a Monday.
  ProjectBuilder& StartingOn(std::int32_t year, std::int32_t month, std::int32_t day);
  // The standard calendar's working week; default Monday to Friday.
  ProjectBuilder& WorkingWeek(workbench::WorkWeek week);
  ProjectBuilder& AddTask(std::string name, std::int32_t duration_days = 1,
                          std::int32_t outline_level = 1);
  ProjectBuilder& AddBlankRow();
  ProjectBuilder& Link(std::int32_t predecessor_id, std::int32_t successor_id,
                       workbench::LinkType type = workbench::LinkType::kFinishToStart,
                       std::int32_t lag_days = 0);
  // A field written through Task::SetField once the rows exist, before scheduling.
  ProjectBuilder& Field(std::int32_t task_id, host::FieldId field, std::string text);
  // A custom text field's alias, set through the application once the project is active.
  ProjectBuilder& Alias(host::FieldId field, std::string alias);
  // A column showing `field`, added at the end of the named task table before the project is
  // handed over.
  ProjectBuilder& Column(std::string table, host::FieldId field, std::string title = "");

  // Creates the project as the user does (NewProject, then WindowActivate), fills it, schedules it
  // without raising ProjectCalculate, and marks it saved. Fails as the workbench call that fails.
  workbench::Project& Build();
  // The same project, handed over as a file loader does (the project's Open, then
  // WindowActivate); sinks added with `open_sink` hear Open.
  workbench::Project& BuildOpened(host::ProjectEvents* open_sink = nullptr);

 private:
  struct Row {
    bool blank;
    std::string name;
    std::int32_t duration_days;
    std::int32_t outline_level;
  };
  struct LinkRow {
    std::int32_t predecessor, successor;
    workbench::LinkType type;
    std::int32_t lag_days;
  };
  struct FieldRow {
    std::int32_t task_id;
    host::FieldId field;
    std::string text;
  };
  struct ColumnRow {
    std::string table;
    host::FieldId field;
    std::string title;
  };
  void Fill(workbench::Project& project) const;
  void Finish(workbench::Project& project) const;

  workbench::Application& app_;
  std::string name_;
  workbench::Moment start_ = workbench::MomentOf(2004, 3, 1, 8, 0);
  workbench::WorkWeek week_ = workbench::WorkWeek::MondayToFriday();
  std::vector<Row> rows_;
  std::vector<LinkRow> links_;
  std::vector<FieldRow> fields_;
  std::vector<ColumnRow> columns_;
  std::vector<std::pair<host::FieldId, std::string>> aliases_;
};

// An application and project event sink that writes one line per event it hears and can act on
// an event through a hook, for tests that compare the whole sequence of events:
//   "NewProject(Plan)", "WindowActivate(Plan)", "ProjectBeforeTaskChange(2, Text1, abc)",
//   "ProjectCalculate(Plan)", "ProjectBeforeClose(Plan)", "ProjectBeforeSave(Plan, save as)",
//   "Open(Plan)". A null project or window shows as "-".
class RecordingSink : public host::ApplicationEvents, public host::ProjectEvents {
 public:
  void ProjectBeforeTaskChange(host::Task& tsk, host::FieldId field, const host::Value& new_value,
                               bool& cancel) override;
  void ProjectCalculate(host::Project& pj) override;
  void NewProject(host::Project& pj) override;
  void ProjectBeforeClose(host::Project* pj, bool& cancel) override;
  void ProjectBeforeSave(host::Project& pj, bool save_as_ui, bool& cancel) override;
  void WindowActivate(host::Window* activated_window) override;
  void Open(host::Project& pj) override;

  std::vector<std::string> log;
  std::function<void(host::Task&, host::FieldId, const host::Value&, bool&)> on_task_change;
  std::function<void(host::Project&)> on_calculate;
  std::function<void(host::Project*, bool&)> on_close;
  std::function<void(host::Project&, bool, bool&)> on_save;
};

class WorkbenchTest : public ::testing::Test {
 protected:
  WorkbenchTest();
  ~WorkbenchTest() override;

  ProjectBuilder Plan(std::string name = "Plan") { return ProjectBuilder(app_, std::move(name)); }
  // The message boxes and pointer codes shown so far.
  workbench::RecordingMessageBoxes& Messages() { return *app_.RecordedMessages(); }
  workbench::RecordingMousePointer& Pointer() { return *app_.RecordedPointer(); }
  // The task with `id` of the active project; fails the test when absent.
  workbench::Task& TaskWithId(std::int32_t id);

  workbench::Application app_;
};

}  // namespace lunavant::test_support
