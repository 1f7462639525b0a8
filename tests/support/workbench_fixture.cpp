// SPDX-License-Identifier: MIT
#include "tests/support/workbench_fixture.h"

#include <memory>

#include "workbench/model/field_catalog.h"
#include "workbench/platform/regional_settings.h"
#include "workbench/schedule/scheduler.h"

namespace lunavant::test_support {

ProjectBuilder::ProjectBuilder(workbench::Application& app, std::string name)
    : app_(app), name_(std::move(name)) {}

ProjectBuilder& ProjectBuilder::StartingOn(std::int32_t year, std::int32_t month,
                                           std::int32_t day) {
  start_ = workbench::MomentOf(year, month, day, 8, 0);
  return *this;
}

ProjectBuilder& ProjectBuilder::WorkingWeek(workbench::WorkWeek week) {
  week_ = week;
  return *this;
}

ProjectBuilder& ProjectBuilder::AddTask(std::string name, std::int32_t duration_days,
                                        std::int32_t outline_level) {
  rows_.push_back(Row{false, std::move(name), duration_days, outline_level});
  return *this;
}

ProjectBuilder& ProjectBuilder::AddBlankRow() {
  rows_.push_back(Row{true, {}, 0, 0});
  return *this;
}

ProjectBuilder& ProjectBuilder::Link(std::int32_t predecessor_id, std::int32_t successor_id,
                                     workbench::LinkType type, std::int32_t lag_days) {
  links_.push_back(LinkRow{predecessor_id, successor_id, type, lag_days});
  return *this;
}

ProjectBuilder& ProjectBuilder::Field(std::int32_t task_id, host::FieldId field, std::string text) {
  fields_.push_back(FieldRow{task_id, field, std::move(text)});
  return *this;
}

ProjectBuilder& ProjectBuilder::Alias(host::FieldId field, std::string alias) {
  aliases_.emplace_back(field, std::move(alias));
  return *this;
}

ProjectBuilder& ProjectBuilder::Column(std::string table, host::FieldId field, std::string title) {
  columns_.push_back(ColumnRow{std::move(table), field, std::move(title)});
  return *this;
}

void ProjectBuilder::Fill(workbench::Project& project) const {
  project.SetCalendar(workbench::ProjectCalendar(week_, 8 * 60, 17 * 60));
  project.SetProjectStart(start_);
  for (const Row& row : rows_) {
    if (row.blank) {
      project.AddBlankRow();
    } else {
      project.AddTask(row.name, row.duration_days, row.outline_level);
    }
  }
  auto task = [&project](std::int32_t id) -> workbench::Task& {
    workbench::Task* found = project.TaskAt(id);
    if (found == nullptr) {
      host::Raise(host::kHostFailure, "The builder names blank row " + std::to_string(id) + ".");
    }
    return *found;
  };
  for (const LinkRow& link : links_) {
    project.AddLink(task(link.predecessor), task(link.successor), link.type, link.lag_days);
  }
  for (const ColumnRow& column : columns_) {
    host::ColumnList& list = project.TaskTable(column.table).Columns();
    list.Add(column.field, 1, 10, column.title, 1, list.Count() - 2, true);
  }
}

void ProjectBuilder::Finish(workbench::Project& project) const {
  for (const FieldRow& row : fields_) project.TaskAt(row.task_id)->SetField(row.field, row.text);
  workbench::Schedule(project);
  project.MarkSaved();
}

workbench::Project& ProjectBuilder::Build() {
  workbench::Project& project = app_.NewProject(name_);
  Fill(project);
  for (const auto& [field, alias] : aliases_) app_.CustomFieldRename(field, alias);
  Finish(project);
  return project;
}

workbench::Project& ProjectBuilder::BuildOpened(host::ProjectEvents* open_sink) {
  auto made = std::make_unique<workbench::Project>(app_, name_);
  Fill(*made);
  for (const auto& [field, alias] : aliases_) {
    made->SetCustomTextAlias(workbench::CustomTextIndex(field), alias);
  }
  if (open_sink != nullptr) made->AddEventSink(*open_sink);
  workbench::Project& project = app_.AdoptOpenedProject(std::move(made));
  Finish(project);
  return project;
}

void RecordingSink::ProjectBeforeTaskChange(host::Task& tsk, host::FieldId field,
                                            const host::Value& new_value, bool& cancel) {
  const workbench::FieldInfo* info = workbench::FindField(field);
  std::string shown = new_value.IsText() ? new_value.Text() : "(not text)";
  log.push_back("ProjectBeforeTaskChange(" + std::to_string(tsk.ID()) + ", " +
                (info ? std::string(info->name) : std::to_string(field)) + ", " + shown + ")");
  if (on_task_change) on_task_change(tsk, field, new_value, cancel);
}

void RecordingSink::ProjectCalculate(host::Project& pj) {
  log.push_back("ProjectCalculate(" + pj.Name() + ")");
  if (on_calculate) on_calculate(pj);
}

void RecordingSink::NewProject(host::Project& pj) {
  log.push_back("NewProject(" + pj.Name() + ")");
}

void RecordingSink::ProjectBeforeClose(host::Project* pj, bool& cancel) {
  log.push_back("ProjectBeforeClose(" + (pj ? pj->Name() : std::string("-")) + ")");
  if (on_close) on_close(pj, cancel);
}

void RecordingSink::ProjectBeforeSave(host::Project& pj, bool save_as_ui, bool& cancel) {
  log.push_back("ProjectBeforeSave(" + pj.Name() + (save_as_ui ? ", save as)" : ")"));
  if (on_save) on_save(pj, save_as_ui, cancel);
}

void RecordingSink::WindowActivate(host::Window* activated_window) {
  log.push_back("WindowActivate(" +
                (activated_window ? activated_window->Caption() : std::string("-")) + ")");
}

void RecordingSink::Open(host::Project& pj) { log.push_back("Open(" + pj.Name() + ")"); }

WorkbenchTest::WorkbenchTest() {
  app_.Regional().OverrideShortDatePattern(kPinnedShortDatePattern);
  app_.Regional().OverrideDateSeparator(kPinnedDateSeparator);
  host::SetGlobalApplication(&app_);
}

WorkbenchTest::~WorkbenchTest() { host::SetGlobalApplication(nullptr); }

workbench::Task& WorkbenchTest::TaskWithId(std::int32_t id) {
  workbench::Project* project = app_.ActiveProject();
  if (project == nullptr || id < 1 || id > project->TaskCount() || project->TaskAt(id) == nullptr) {
    ADD_FAILURE() << "the active project has no task " << id;
    host::Raise(host::kHostFailure, "no task " + std::to_string(id));
  }
  return *project->TaskAt(id);
}

}  // namespace lunavant::test_support
