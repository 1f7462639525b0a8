// SPDX-License-Identifier: MIT
// The desktop program's drawing: the time from a project's sheet and chart being made to their
// first paint, and the time of one repaint after a scroll to anywhere in the project, for
// projects of 1,000 to 100,000 tasks. Both should stay flat as the project grows: the sheet and
// the chart draw only the rows and days in view.
//
// The projects: groups of 20 tasks under a summary task, each task following the one before.
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM names another.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <cstdint>
#include <map>
#include <memory>

#include "desktop/gantt_chart.h"
#include "desktop/project_view.h"
#include "workbench/model/application.h"
#include "workbench/schedule/scheduler.h"
#include "workbench/view/hijri_days.h"

namespace lunavant::desktop {
namespace {

namespace wb = lunavant::workbench;

struct Fixture {
  wb::Application app{wb::FrontEndServices{nullptr, nullptr, nullptr, {LUNAVANT_CONVERTER_DIR}}};
  std::unique_ptr<wb::HijriDays> hijri;
  wb::Project* project = nullptr;
};

Fixture& ProjectOf(std::int64_t tasks) {
  static std::map<std::int64_t, std::unique_ptr<Fixture>> made;
  auto& slot = made[tasks];
  if (slot) return *slot;
  slot = std::make_unique<Fixture>();
  Fixture& fixture = *slot;
  fixture.app.Regional().OverrideShortDatePattern("dd/MM/yyyy");
  fixture.app.Regional().OverrideDateSeparator("/");
  fixture.hijri = std::make_unique<wb::HijriDays>(fixture.app.Libraries());
  wb::Project& pj = fixture.app.NewProject("Bench");
  pj.SetProjectStart(wb::MomentOf(2004, 3, 1, 8, 0));
  for (std::int64_t count = 0; count < tasks;) {
    pj.AddTask("Group", 1, 1);
    ++count;
    for (int k = 1; k < 20 && count < tasks; ++k, ++count) {
      wb::Task& task = pj.AddTask("Work", 1 + k % 4, 2);
      if (k > 1) pj.AddLink(*static_cast<wb::Task*>(pj.TaskAt(task.ID() - 1)), task);
    }
  }
  wb::Schedule(pj);
  fixture.project = &pj;
  return fixture;
}

void FirstPaint(benchmark::State& state) {
  Fixture& fixture = ProjectOf(state.range(0));
  for (auto _ : state) {
    ProjectView view(*fixture.project, *fixture.hijri);
    view.resize(1400, 760);
    QPixmap painted = view.grab();
    benchmark::DoNotOptimize(painted);
  }
  state.SetLabel(std::to_string(state.range(0)) + " tasks");
}
BENCHMARK(FirstPaint)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void ScrollAndRepaint(benchmark::State& state) {
  Fixture& fixture = ProjectOf(state.range(0));
  ProjectView view(*fixture.project, *fixture.hijri);
  view.resize(1400, 760);
  view.grab();
  QScrollBar* rows = view.sheet().verticalScrollBar();
  QScrollBar* days = view.chart().horizontalScrollBar();
  std::int64_t step = 0;
  for (auto _ : state) {
    // Somewhere else in the project each time, rows and days alike.
    ++step;
    rows->setValue(static_cast<int>((step * 7919) % (rows->maximum() + 1)));
    days->setValue(static_cast<int>((step * 104729) % (days->maximum() + 1)));
    QPixmap painted = view.grab();
    benchmark::DoNotOptimize(painted);
  }
}
BENCHMARK(ScrollAndRepaint)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lunavant::desktop

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
