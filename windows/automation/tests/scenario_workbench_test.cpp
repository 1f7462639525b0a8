// SPDX-License-Identifier: MIT
// The scenarios the automation server runs under wine (automation_scenario_*), run here against
// the Linux workbench itself: what they expect is what the workbench shows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "windows/automation/tests/scenario.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"

namespace lunavant::windows::testing {
namespace {

class WorkbenchHost final : public ScenarioHost {
 public:
  void NewProject() override { app_.NewProject(); }
  void SetProjectStart(int year, int month, int day, int hour, int minute) override {
    Active().SetProjectStart(workbench::MomentOf(year, month, day, hour, minute));
  }
  void AddTask(const std::string& name, const std::string& duration) override {
    Active().AddTask(name).SetField(workbench::field::kDuration, duration);
  }
  void Link(int from_id, int to_id, int type, int lag_days) override {
    static constexpr workbench::LinkType kTypes[] = {
        workbench::LinkType::kFinishToFinish, workbench::LinkType::kFinishToStart,
        workbench::LinkType::kStartToFinish, workbench::LinkType::kStartToStart};
    Active().AddLink(TaskWithId(from_id), TaskWithId(to_id), kTypes[type], lag_days);
  }
  void SetField(int task_id, const std::string& field, const std::string& text) override {
    TaskWithId(task_id).SetField(app_.FieldNameToFieldConstant(field), text);
  }
  void UserEdit(int task_id, const std::string& field, const std::string& text) override {
    app_.UserEdit(TaskWithId(task_id), app_.FieldNameToFieldConstant(field), text);
  }
  void Calculate() override { app_.CalculateProject(); }
  std::string GetField(int task_id, const std::string& field) override {
    return TaskWithId(task_id).GetField(app_.FieldNameToFieldConstant(field));
  }
  void Close() override {
    // As FileClose with pjDoNotSave: no question asked.
    Active().MarkSaved();
    app_.CloseProject(Active());
  }

 private:
  workbench::Project& Active() { return *app_.ActiveProject(); }
  workbench::Task& TaskWithId(int id) {
    for (const auto& row : Active().Rows()) {
      if (row != nullptr && row->ID() == id) return *row;
    }
    throw std::out_of_range("no task " + std::to_string(id));
  }

  workbench::Application app_;
};

// LC_ALL for the life of a scope.
class LocaleScope {
 public:
  explicit LocaleScope(const std::string& name) {
    if (const char* old = std::getenv("LC_ALL")) saved_ = old;
    setenv("LC_ALL", name.c_str(), 1);
  }
  ~LocaleScope() {
    if (saved_) {
      setenv("LC_ALL", saved_->c_str(), 1);
    } else {
      unsetenv("LC_ALL");
    }
  }
  LocaleScope(const LocaleScope&) = delete;
  LocaleScope& operator=(const LocaleScope&) = delete;

 private:
  std::optional<std::string> saved_;
};

TEST(HostScenario, TheWorkbenchShowsWhatEveryScenarioExpects) {
  int scenarios = 0;
  for (const auto& entry : std::filesystem::directory_iterator(LUNAVANT_SCENARIOS_DIR)) {
    if (entry.path().extension() != ".scenario") continue;
    SCOPED_TRACE(entry.path().filename().string());
    std::ifstream file(entry.path());
    std::stringstream text;
    text << file.rdbuf();
    const std::string locale = ScenarioLocale(text.str());
    ASSERT_FALSE(locale.empty());
    const LocaleScope scope(locale + ".UTF-8");
    WorkbenchHost host;
    for (const std::string& problem : RunScenario(text.str(), host)) ADD_FAILURE() << problem;
    ++scenarios;
  }
  EXPECT_GE(scenarios, 2);
}

}  // namespace
}  // namespace lunavant::windows::testing
