// SPDX-License-Identifier: MIT
#include "bench/large_project.h"

#include "addin/host/host.h"
#include "workbench/files/project_file.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/task.h"
#include "workbench/schedule/scheduler.h"

namespace lunavant::bench {
namespace {

namespace wb = lunavant::workbench;
constexpr std::int32_t kGroup = 20;
constexpr host::FieldId kText2 = 188743734;

}  // namespace

std::string HijriLike(std::int64_t n) {
  std::string text = std::to_string(10 + n % 19);
  text.append("/0").append(std::to_string(1 + n % 9)).append("/1446");
  return text;
}

void WriteLargeProject(std::int64_t tasks, const std::filesystem::path& path) {
  wb::Application app;
  wb::Project& pj = app.NewProject("Bench.xml");
  pj.SetProjectStart(wb::MomentOf(2004, 3, 1, 8, 0));
  for (std::int64_t made_tasks = 0; made_tasks < tasks;) {
    pj.AddTask("Group of work", 1, 1);
    ++made_tasks;
    for (std::int32_t k = 1; k < kGroup && made_tasks < tasks; ++k, ++made_tasks) {
      wb::Task& task = pj.AddTask("Work package with a name", 1 + k % 4, 2);
      if (k > 1) pj.AddLink(*static_cast<wb::Task*>(pj.TaskAt(task.ID() - 1)), task);
    }
  }
  wb::Schedule(pj);
  host::SetGlobalApplication(&app);
  app.CustomFieldRename(wb::field::kText1, "HijriStart");
  app.CustomFieldRename(kText2, "HijriFinish");
  pj.TaskTable("Entry").Columns().Add(wb::field::kText1, 2, 12, "HijriStart", 1, 3, false);
  pj.TaskTable("Entry").Columns().Add(kText2, 2, 12, "HijriFinish", 1, 5, false);
  for (std::int32_t id = 1; id <= pj.TaskCount(); ++id) {
    wb::Task& task = *static_cast<wb::Task*>(pj.TaskAt(id));
    task.SetField(wb::field::kText1, HijriLike(id));
    task.SetField(kText2, HijriLike(id + 7));
  }
  host::SetGlobalApplication(nullptr);
  wb::SaveProjectFile(pj, path);
}

}  // namespace lunavant::bench
