// SPDX-License-Identifier: MIT
// Opening and saving project files of 1,000, 10,000 and 100,000 tasks with two Hijri pairs, as
// throughput (bytes of the file per second) and peak memory as a multiple of the file's size.
// Goals: 100 MB/s each way, and a peak under three times the file.
//
// The files are bench/large_project.h's. Peak memory counts every allocation of the program (the
// document's own allocator included) above what was held before the open or save began.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <new>
#include <pugixml.hpp>
#include <string>

#include "bench/large_project.h"
#include "workbench/files/project_file.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/task.h"

// The replaced operator new hands out malloc's memory, so free is its match; the compiler, seeing
// new inlined into a caller, cannot tell.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {

std::atomic<std::int64_t> g_held{0};
std::atomic<std::int64_t> g_peak{0};

void* Counted(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) return nullptr;
  const std::int64_t now = g_held += static_cast<std::int64_t>(malloc_usable_size(p));
  std::int64_t peak = g_peak.load();
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
  return p;
}

void Uncounted(void* p) {
  if (p == nullptr) return;
  g_held -= static_cast<std::int64_t>(malloc_usable_size(p));
  std::free(p);
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* p = Counted(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  if (void* p = Counted(size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { Uncounted(p); }
void operator delete[](void* p) noexcept { Uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { Uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { Uncounted(p); }

namespace lunavant::workbench {
namespace {

namespace fs = std::filesystem;

struct Generated {
  fs::path path;
  std::int64_t bytes = 0;
};

fs::path Folder() {
  static const fs::path folder = [] {
    std::string pattern = (fs::temp_directory_path() / "lunavant-bench-XXXXXX").string();
    return fs::path(::mkdtemp(pattern.data()));
  }();
  return folder;
}

const Generated& FileOf(std::int64_t tasks) {
  static std::map<std::int64_t, Generated> made;
  Generated& file = made[tasks];
  if (!file.path.empty()) return file;
  file.path = Folder() / ("project-" + std::to_string(tasks) + ".xml");
  bench::WriteLargeProject(tasks, file.path);
  file.bytes = static_cast<std::int64_t>(fs::file_size(file.path));
  return file;
}

void Report(benchmark::State& state, const Generated& file, std::int64_t peak_above) {
  state.SetBytesProcessed(state.iterations() * file.bytes);
  state.counters["file_MB"] = static_cast<double>(file.bytes) / 1e6;
  state.counters["peak_x_file"] = static_cast<double>(peak_above) / static_cast<double>(file.bytes);
}

void BM_OpenProjectFile(benchmark::State& state) {
  const Generated& file = FileOf(state.range(0));
  Application app;
  std::int64_t peak_above = 0;
  for (auto _ : state) {
    const std::int64_t before = g_held.load();
    g_peak = before;
    std::unique_ptr<Project> pj = ReadProjectFile(app, file.path);
    peak_above = std::max(peak_above, g_peak.load() - before);
    state.PauseTiming();
    pj.reset();
    state.ResumeTiming();
  }
  Report(state, file, peak_above);
}

void BM_SaveProjectFile(benchmark::State& state) {
  const Generated& file = FileOf(state.range(0));
  Application app;
  std::unique_ptr<Project> pj = ReadProjectFile(app, file.path);
  const fs::path target = Folder() / ("saved-" + std::to_string(state.range(0)) + ".xml");
  std::int64_t peak_above = 0;
  std::int64_t round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // One edit per save, as a user saves after a change.
    Task& task = *static_cast<Task*>(pj->TaskAt(2));
    task.SetField(field::kText1, bench::HijriLike(++round));
    const std::int64_t before = g_held.load();
    g_peak = before;
    state.ResumeTiming();
    SaveProjectFile(*pj, target);
    peak_above = std::max(peak_above, g_peak.load() - before);
  }
  Report(state, file, peak_above);
}

BENCHMARK(BM_OpenProjectFile)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveProjectFile)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lunavant::workbench

int main(int argc, char** argv) {
  // The document's allocations count as the program's own.
  pugi::set_memory_management_functions(Counted, Uncounted);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(lunavant::workbench::Folder());
  return 0;
}
