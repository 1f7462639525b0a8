// SPDX-License-Identifier: MIT
// The command line on a large project file: a refresh of 100,000 tasks with two Hijri pairs
// (open, click "Refresh Hijri", save) and the independent verify of the result, each with the
// progress line drawn as on a terminal.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "workbench/files/project_file.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"

namespace {

using namespace lunavant;
namespace fs = std::filesystem;

constexpr std::int32_t kTasks = 100000;

// A folder with the project file, its Hijri text still empty, and a registry of its own.
struct LargeProject {
  LargeProject() {
    char name[] = "/tmp/lunavant-bench-XXXXXX";
    if (mkdtemp(name) == nullptr) std::abort();
    dir = name;
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    workbench::Application app;
    auto project = std::make_unique<workbench::Project>(app, "large.xml");
    for (std::int32_t i = 1; i <= kTasks; ++i) {
      project->AddTask("Task " + std::to_string(i), 1 + i % 5);
    }
    for (std::int32_t i = 1; i + 1 <= kTasks; i += 2) {
      project->AddLink(*project->TaskAt(i), *project->TaskAt(i + 1));
    }
    auto& columns = project->TaskTable("Entry").Columns();
    columns.Add(workbench::CustomTextField(0), 1, 10, "", 1, 3, true);  // after Start
    columns.Add(workbench::CustomTextField(1), 1, 10, "", 1, 5, true);  // after Finish
    project->SetCustomTextAlias(0, "HijriStart");
    project->SetCustomTextAlias(1, "HijriFinish");
    workbench::Project& opened = app.AdoptOpenedProject(std::move(project));
    app.CalculateProject();
    workbench::SaveProjectFile(opened, dir / "large.xml");
  }
  ~LargeProject() {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }

  int Run(std::vector<const char*> args) {
    args.insert(args.begin(), {"lunavant", "--short-date", "dd/MM/yyyy", "--date-separator", "/"});
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    cli::Terminal terminal{in, out, err, false, true};
    const int status =
        cli::RunLunavant(static_cast<int>(args.size()), args.data(), terminal, LUNAVANT_CLI_DIR);
    last_err = err.str();
    return status;
  }

  fs::path dir;
  std::string last_err;
};

LargeProject& Project() {
  static LargeProject project;
  return project;
}

void BM_RefreshLargeProject(benchmark::State& state) {
  LargeProject& project = Project();
  const std::string file = (project.dir / "large.xml").string();
  const std::string out = (project.dir / "refreshed.xml").string();
  for (auto _ : state) {
    if (project.Run({"refresh", file.c_str(), "-o", out.c_str()}) != cli::kExitOk) {
      state.SkipWithError(project.last_err.c_str());
      return;
    }
  }
  state.counters["tasks"] = kTasks;
  state.counters["progress_shown"] = project.last_err.find("100%") != std::string::npos;
}

void BM_VerifyLargeProject(benchmark::State& state) {
  LargeProject& project = Project();
  const std::string file = (project.dir / "refreshed.xml").string();
  if (!fs::exists(file)) {
    state.SkipWithError("the refresh benchmark did not run first");
    return;
  }
  for (auto _ : state) {
    if (project.Run({"verify", file.c_str()}) != cli::kExitOk) {
      state.SkipWithError("verify found cells that do not match");
      return;
    }
  }
  state.counters["tasks"] = kTasks;
  state.counters["progress_shown"] = project.last_err.find("Verifying") != std::string::npos;
}

BENCHMARK(BM_RefreshLargeProject)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_VerifyLargeProject)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
