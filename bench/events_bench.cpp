// SPDX-License-Identifier: MIT
// Cost of the recalculation refresh: the full refresh of every pair of every task, and the
// targeted refresh after one synchronised edit, whose cost must not grow with the project.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "addin/events/ms_proj_events.h"
#include "addin/host/global.h"
#include "addin/pairing/catalogues.h"
#include "addin/pairing/pair_registry.h"
#include "workbench/model/application.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"
#include "workbench/platform/regional_settings.h"

namespace {

using namespace lunavant;

constexpr int kPairs = 12;

// A project of `task_count` tasks in linked pairs (1->2, 3->4, ...), with all twelve date fields
// paired with Text1..Text12 through their default titles, opened so the add-in restores them.
struct PairedProject {
  explicit PairedProject(std::int32_t task_count) : app(Services()) {
    app.Regional().OverrideShortDatePattern("dd/MM/yyyy");
    app.Regional().OverrideDateSeparator("/");
    host::SetGlobalApplication(&app);
    add_in = std::make_unique<events::MSProjEvents>();
    add_in->Bind(app, nullptr);

    auto project = std::make_unique<workbench::Project>(app, "Bench");
    for (std::int32_t i = 1; i <= task_count; ++i)
      project->AddTask(std::string("T").append(std::to_string(i)), 3);
    for (std::int32_t i = 1; i + 1 <= task_count; i += 2) {
      project->AddLink(*static_cast<workbench::Task*>(project->TaskAt(i)),
                       *static_cast<workbench::Task*>(project->TaskAt(i + 1)));
    }
    for (int k = 0; k < kPairs; ++k) {
      const host::FieldId text_field = pairing::CustomTextFields()[static_cast<std::size_t>(k)];
      project->TaskTable("Entry").Columns().Add(text_field, 1, 10, "", 1, 3, true);
      project->SetCustomTextAlias(k, pairing::HijriFieldTitles()[static_cast<std::size_t>(k)]);
    }
    pj = &app.AdoptOpenedProject(std::move(project));
    app.SetAutoCalculate(false);
    app.CalculateProject();
  }
  ~PairedProject() {
    add_in.reset();
    host::SetGlobalApplication(nullptr);
    pairing::ResetProcessState();
  }
  static workbench::FrontEndServices Services() {
    workbench::FrontEndServices services;
    services.library_folders.push_back(LUNAVANT_CONVERTER_DIR);
    return services;
  }

  workbench::Application app;
  std::unique_ptr<events::MSProjEvents> add_in;
  workbench::Project* pj = nullptr;
};

void BM_FullRefresh(benchmark::State& state) {
  PairedProject project(static_cast<std::int32_t>(state.range(0)));
  for (auto _ : state) {
    pairing::SetForceRefresh(true);
    project.add_in->objProjectApp_ProjectCalculate(*project.pj);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * kPairs);
  state.counters["tasks"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_FullRefresh)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TargetedRefreshAfterOneEdit(benchmark::State& state) {
  const auto task_count = static_cast<std::int32_t>(state.range(0));
  PairedProject project(task_count);
  for (auto _ : state) {
    project.add_in->EditSynced = true;
    project.add_in->LastChangedTaskId = task_count / 2 + 1;
    project.add_in->objProjectApp_ProjectCalculate(*project.pj);
  }
  state.counters["tasks"] = static_cast<double>(task_count);
}
BENCHMARK(BM_TargetedRefreshAfterOneEdit)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
