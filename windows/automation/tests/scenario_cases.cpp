// SPDX-License-Identifier: MIT
// The shared scenarios (scenario.h) run through the automation server, as a late-binding client;
// the Linux workbench runs the same ones in host_scenario_test.
#include <windows.h>

#include <cstdio>
#include <string>

#include "windows/automation/server/reference_host.h"
#include "windows/automation/tests/late_binding.h"
#include "windows/automation/tests/scenario.h"

namespace lunavant::windows::testing {
namespace {

struct NamedScenario {
  const char* name;
  const char* text;
};

// The scenario files, embedded when the build is configured.
constexpr NamedScenario kScenarios[] = {
#include "automation_scenarios.inc"
};

class AutomationHost final : public ScenarioHost {
 public:
  explicit AutomationHost(Object app) : app_(std::move(app)) {}

  void NewProject() override {
    app_.Call("FileNew");
    project_ = app_.Get("ActiveProject");
  }
  void SetProjectStart(int year, int month, int day, int hour, int minute) override {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    double date = 0;
    SystemTimeToVariantTime(&time, &date);
    project_.Put("ProjectStart", Date(date));
  }
  void AddTask(const std::string& name, const std::string& duration) override {
    project_.Get("Tasks").Get("Add", {Text(name)}).Put("Duration", Text(duration));
  }
  void Link(int from_id, int to_id, int type, int lag_days) override {
    TaskWithId(to_id)
        .Get("TaskDependencies")
        .Call("Add", {ObjectValue(TaskWithId(from_id).get()), Long(type),
                      Text(std::to_string(lag_days) + "d")});
  }
  void SetField(int task_id, const std::string& field, const std::string& text) override {
    TaskWithId(task_id).Call("SetField", {FieldConstant(field), Text(text)});
  }
  void UserEdit(int task_id, const std::string& field, const std::string& text) override {
    app_.Call("SetTaskField", {Text(field), Text(text), Variant(), Variant(), Long(task_id)});
  }
  void Calculate() override { app_.Call("CalculateProject"); }
  std::string GetField(int task_id, const std::string& field) override {
    return TaskWithId(task_id).Call("GetField", {FieldConstant(field)}).AsText();
  }
  void Close() override { app_.Call("FileClose", {Long(0)}); }

 private:
  Object TaskWithId(int id) { return project_.Get("Tasks").Get("Item", {Long(id)}); }
  Variant FieldConstant(const std::string& name) {
    return app_.Call("FieldNameToFieldConstant", {Text(name)});
  }

  Object app_;
  Object project_;
};

// "en_GB" as Windows names the locale, "en-GB".
std::wstring WindowsLocaleName(const std::string& posix) {
  std::wstring name(posix.begin(), posix.end());
  for (wchar_t& c : name) {
    if (c == L'_') c = L'-';
  }
  return name;
}

}  // namespace

int ScenarioCase(Checks& checks, const std::string& name) {
  for (const NamedScenario& scenario : kScenarios) {
    if (name != scenario.name) continue;
    // The run's environment chooses the user's locale (LC_ALL); a scenario in another locale
    // would compare texts of different regional settings.
    wchar_t user_locale[LOCALE_NAME_MAX_LENGTH] = {};
    GetUserDefaultLocaleName(user_locale, LOCALE_NAME_MAX_LENGTH);
    checks.That(WindowsLocaleName(ScenarioLocale(scenario.text)) == user_locale,
                "the user's locale is the scenario's; it is " + Utf8(user_locale));
    AutomationHost host(Object::Create(kReferenceHostProgId));
    for (const std::string& problem : RunScenario(scenario.text, host)) {
      checks.That(false, problem);
    }
    return checks.ExitCode();
  }
  checks.That(false, "no scenario " + name);
  return checks.ExitCode();
}

}  // namespace lunavant::windows::testing
