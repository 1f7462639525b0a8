// SPDX-License-Identifier: MIT
// The reference host's costs: reading and writing a task's date field, a recalculation and a sort
// of the sheet, for projects of 1,000 to 100,000 tasks. Recalculation must grow linearly with tasks
// plus links; a sort as n log n.
//
// The projects: groups of 20 tasks under a summary task; inside a group each task follows the one
// before (finish-to-start), every fifth also starts with the task three rows up (start-to-start +1
// day); each summary follows the one before, in runs of eight groups, so that the schedule stays
// within the host's years. About 1.2 links per task.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "addin/host/host.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/task_sort.h"
#include "workbench/platform/regional_settings.h"
#include "workbench/schedule/scheduler.h"

namespace lunavant::workbench {
namespace {

constexpr std::int32_t kGroup = 20;

struct Fixture {
  Application app;
  Project* project = nullptr;
  std::int64_t links = 0;
};

Fixture& ProjectOf(std::int64_t tasks) {
  static std::map<std::int64_t, std::unique_ptr<Fixture>> made;
  auto& slot = made[tasks];
  if (slot) return *slot;
  slot = std::make_unique<Fixture>();
  Fixture& fixture = *slot;
  fixture.app.Regional().OverrideShortDatePattern("dd/MM/yyyy");
  fixture.app.Regional().OverrideDateSeparator("/");
  Project& pj = fixture.app.NewProject("Bench");
  pj.SetProjectStart(MomentOf(2004, 3, 1, 8, 0));
  Task* previous_summary = nullptr;
  for (std::int64_t made_tasks = 0, group = 0; made_tasks < tasks; ++group) {
    Task& summary = pj.AddTask("Group", 1, 1);
    ++made_tasks;
    if (previous_summary != nullptr && group % 8 != 0) {
      pj.AddLink(*previous_summary, summary);
      ++fixture.links;
    }
    previous_summary = &summary;
    for (std::int32_t k = 1; k < kGroup && made_tasks < tasks; ++k, ++made_tasks) {
      Task& task = pj.AddTask("Work", 1 + k % 4, 2);
      if (k > 1) {
        pj.AddLink(*pj.TaskAt(task.ID() - 1), task);
        ++fixture.links;
      }
      if (k > 3 && k % 5 == 0) {
        pj.AddLink(*pj.TaskAt(task.ID() - 3), task, LinkType::kStartToStart, 1);
        ++fixture.links;
      }
    }
  }
  fixture.project = &pj;
  Schedule(pj);
  return fixture;
}

// A task spread over the project, so that reads do not stay in one cache line.
Task& Pick(Project& pj, std::int64_t step) {
  const std::int32_t count = pj.TaskCount();
  return *pj.TaskAt(static_cast<std::int32_t>((step * 7919) % count) + 1);
}

void ReadDateField(benchmark::State& state) {
  Fixture& fixture = ProjectOf(state.range(0));
  std::int64_t step = 0;
  for (auto _ : state) {
    std::string shown = Pick(*fixture.project, step++).GetField(field::kStart);
    benchmark::DoNotOptimize(shown);
  }
}

void WriteDateField(benchmark::State& state) {
  Fixture& fixture = ProjectOf(state.range(0));
  const host::FieldId start1 = 188743732;
  std::int64_t step = 0;
  for (auto _ : state) {
    Pick(*fixture.project, step++).SetField(start1, "Mon 15/03/04");
  }
}

void Recalculate(benchmark::State& state) {
  Fixture& fixture = ProjectOf(state.range(0));
  for (auto _ : state) fixture.app.CalculateProject();
  state.SetComplexityN(state.range(0) + fixture.links);
  state.counters["links"] = static_cast<double>(fixture.links);
}

// The rows sorted by Start with the outline kept, latest first and back again in turn, so that
// every sort moves rows and renumbers them.
void SortByStart(benchmark::State& state) {
  Fixture& fixture = ProjectOf(state.range(0));
  bool ascending = false;
  for (auto _ : state) {
    const SortKey keys[] = {{field::kStart, ascending}};
    benchmark::DoNotOptimize(SortTasks(*fixture.project, keys, "/"));
    ascending = !ascending;
  }
  state.SetComplexityN(state.range(0));
}

// What a flat view sorted by Start does again after every edit.
void FlatOrderByStart(benchmark::State& state) {
  Fixture& fixture = ProjectOf(state.range(0));
  const SortKey keys[] = {{field::kStart, false}};
  for (auto _ : state) {
    std::vector<std::int32_t> order = FlatOrder(*fixture.project, keys, "/");
    benchmark::DoNotOptimize(order);
  }
  state.SetComplexityN(state.range(0));
}

BENCHMARK(ReadDateField)->Arg(1000)->Arg(10000)->Arg(100000);
BENCHMARK(WriteDateField)->Arg(1000)->Arg(10000)->Arg(100000);
BENCHMARK(Recalculate)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(SortByStart)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);
BENCHMARK(FlatOrderByStart)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

}  // namespace
}  // namespace lunavant::workbench

BENCHMARK_MAIN();
