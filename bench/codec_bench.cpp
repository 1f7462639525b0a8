// SPDX-License-Identifier: MIT
// Cost of one conversion through the add-in's codec, converter and host reads included.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "addin/codec/to_gregorian.h"
#include "addin/codec/to_hijri.h"
#include "addin/events/ms_proj_events.h"
#include "addin/host/global.h"
#include "workbench/model/application.h"
#include "workbench/platform/regional_settings.h"

namespace {

using namespace lunavant;

struct Host {
  Host() : app(Services()) {
    app.Regional().OverrideShortDatePattern("dd/MM/yyyy");
    app.Regional().OverrideDateSeparator("/");
    host::SetGlobalApplication(&app);
  }
  ~Host() { host::SetGlobalApplication(nullptr); }
  static workbench::FrontEndServices Services() {
    workbench::FrontEndServices services;
    services.library_folders.push_back(LUNAVANT_CONVERTER_DIR);
    return services;
  }
  workbench::Application app;
  events::MSProjEvents add_in;
};

// A year of consecutive days, as the host shows them and as Hijri text.
std::vector<std::string> HostDates() {
  static const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::vector<std::string> dates;
  int weekday = 4;  // 1 January 2004 was a Thursday
  for (int month = 1; month <= 12; ++month) {
    static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int day = 1; day <= kDays[month - 1]; ++day) {
      char text[32];
      std::snprintf(text, sizeof text, "%s %02d/%02d/04", kWeekdays[weekday], day, month);
      dates.emplace_back(text);
      weekday = (weekday + 1) % 7;
    }
  }
  return dates;
}

void BM_ToHijriText(benchmark::State& state) {
  Host host;
  const std::vector<std::string> dates = HostDates();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(codec::ToHijriText(dates[i]));
    // Stepped as the converter's benchmarks step, without a division, so that the ratios to
    // them compare the conversions and not the loops.
    if (++i == dates.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ToHijriText);

void BM_ToGregorianText(benchmark::State& state) {
  Host host;
  std::vector<std::string> hijri;
  for (int month = 1; month <= 12; ++month) {
    for (int day = 1; day <= 29; ++day) {
      hijri.push_back(std::to_string(day) + "/" + std::to_string(month) + "/1445");
    }
  }
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(codec::ToGregorianText(hijri[i]));
    if (++i == hijri.size()) i = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ToGregorianText);

}  // namespace

BENCHMARK_MAIN();
