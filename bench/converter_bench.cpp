// SPDX-License-Identifier: MIT
// Nanoseconds per conversion of the converter, loaded by name as the add-in loads it, against
// the same conversions through ICU's islamic-umalqura calendar; the ratios are printed last.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "orbelune.h"

namespace {

using G2HAFunction = OrbeluneG2HA;
using H2GAFunction = OrbeluneH2GA;

struct Orbelune {
  G2HAFunction g2ha = nullptr;
  H2GAFunction h2ga = nullptr;
};

const Orbelune& Library() {
  static const Orbelune library = [] {
    const std::string path = std::string(LUNAVANT_CONVERTER_DIR) + "/liborbelune.so";
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) throw std::runtime_error("cannot load " + path);
    Orbelune loaded;
    loaded.g2ha = reinterpret_cast<G2HAFunction>(dlsym(handle, "G2HA"));
    loaded.h2ga = reinterpret_cast<H2GAFunction>(dlsym(handle, "H2GA"));
    if (loaded.g2ha == nullptr || loaded.h2ga == nullptr)
      throw std::runtime_error(path + " lacks G2HA or H2GA");
    return loaded;
  }();
  return library;
}

struct Date {
  int32_t y;
  int32_t m;
  int32_t d;
};

// The same days in both calendars.
struct DateList {
  std::vector<Date> gregorian;
  std::vector<Date> hijri;
};

// Every day of the official table in order (14 March 1937 onwards), and a random sample of them
// small enough for the first-level cache, so that the loop's own loads do not add cache misses.
struct Dates {
  DateList successive;
  DateList random;
};

Date NextGregorianDay(Date g) {
  constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = g.y % 4 == 0 && (g.y % 100 != 0 || g.y % 400 == 0);
  if (g.d < kDays[g.m - 1] + (g.m == 2 && leap)) return {g.y, g.m, g.d + 1};
  return g.m == 12 ? Date{g.y + 1, 1, 1} : Date{g.y, g.m + 1, 1};
}

const Dates& BenchDates() {
  static const Dates dates = [] {
    Dates made;
    for (Date g{1937, 3, 14}; !(g.y == 2077 && g.m == 11 && g.d == 17); g = NextGregorianDay(g)) {
      Date h{};
      int32_t weekday = 0;
      if (Library().g2ha(g.y, g.m, g.d, &h.y, &h.m, &h.d, &weekday) != 0)
        throw std::runtime_error("G2HA failed");
      made.successive.gregorian.push_back(g);
      made.successive.hijri.push_back(h);
    }
    std::mt19937 generator(20240702);
    std::uniform_int_distribution<std::size_t> pick(0, made.successive.gregorian.size() - 1);
    for (int i = 0; i < 2048; ++i) {
      const std::size_t day = pick(generator);
      made.random.gregorian.push_back(made.successive.gregorian[day]);
      made.random.hijri.push_back(made.successive.hijri[day]);
    }
    return made;
  }();
  return dates;
}

const DateList& Pick(const benchmark::State& state) {
  return state.range(0) == 0 ? BenchDates().successive : BenchDates().random;
}

void SetLabel(benchmark::State& state) {
  state.SetLabel(state.range(0) == 0 ? "successive" : "random");
}

void OrbeluneToHijri(benchmark::State& state) {
  const DateList& dates = Pick(state);
  const G2HAFunction g2ha = Library().g2ha;
  std::size_t i = 0;
  for (auto _ : state) {
    const Date& g = dates.gregorian[i];
    int32_t hy, hm, hd, weekday;
    benchmark::DoNotOptimize(g2ha(g.y, g.m, g.d, &hy, &hm, &hd, &weekday));
    benchmark::DoNotOptimize(hy + hm + hd + weekday);
    if (++i == dates.gregorian.size()) i = 0;
  }
  SetLabel(state);
}

void OrbeluneToGregorian(benchmark::State& state) {
  const DateList& dates = Pick(state);
  const H2GAFunction h2ga = Library().h2ga;
  std::size_t i = 0;
  for (auto _ : state) {
    Date h = dates.hijri[i];
    int32_t gy, gm, gd, weekday;
    benchmark::DoNotOptimize(h2ga(&h.y, &h.m, &h.d, &gy, &gm, &gd, &weekday));
    benchmark::DoNotOptimize(gy + gm + gd + weekday);
    if (++i == dates.gregorian.size()) i = 0;
  }
  SetLabel(state);
}

// ICU's calendars work in UTC here, so that no day has a daylight-saving gap.
struct IcuCalendars {
  std::unique_ptr<icu::Calendar> gregorian;
  std::unique_ptr<icu::Calendar> hijri;

  IcuCalendars() {
    UErrorCode status = U_ZERO_ERROR;
    gregorian.reset(new icu::GregorianCalendar(*icu::TimeZone::getGMT(), status));
    hijri.reset(icu::Calendar::createInstance(*icu::TimeZone::getGMT(),
                                              icu::Locale("@calendar=islamic-umalqura"), status));
    if (U_FAILURE(status)) throw std::runtime_error(std::string("ICU: ") + u_errorName(status));
    // The whole range proleptic Gregorian, like the converter.
    static_cast<icu::GregorianCalendar*>(gregorian.get())->setGregorianChange(-8.64e15, status);
  }
};

// One date at a time set on `from` and read back from `to`, as an ICU user converts.
void IcuConvert(benchmark::State& state, bool to_hijri) {
  const DateList& dates = Pick(state);
  IcuCalendars icu_calendars;
  icu::Calendar& from = to_hijri ? *icu_calendars.gregorian : *icu_calendars.hijri;
  icu::Calendar& to = to_hijri ? *icu_calendars.hijri : *icu_calendars.gregorian;
  const std::vector<Date>& inputs = to_hijri ? dates.gregorian : dates.hijri;
  UErrorCode status = U_ZERO_ERROR;
  std::size_t i = 0;
  for (auto _ : state) {
    const Date& date = inputs[i];
    from.clear();
    from.set(date.y, date.m - 1, date.d);
    to.setTime(from.getTime(status), status);
    benchmark::DoNotOptimize(to.get(UCAL_YEAR, status) + to.get(UCAL_MONTH, status) +
                             to.get(UCAL_DATE, status) + to.get(UCAL_DAY_OF_WEEK, status));
    if (++i == inputs.size()) i = 0;
  }
  if (U_FAILURE(status)) state.SkipWithError(u_errorName(status));
  SetLabel(state);
}

void IcuToHijri(benchmark::State& state) { IcuConvert(state, true); }
void IcuToGregorian(benchmark::State& state) { IcuConvert(state, false); }

BENCHMARK(OrbeluneToHijri)->Arg(0)->Arg(1);
BENCHMARK(IcuToHijri)->Arg(0)->Arg(1);
BENCHMARK(OrbeluneToGregorian)->Arg(0)->Arg(1);
BENCHMARK(IcuToGregorian)->Arg(0)->Arg(1);

// Keeps each run's time per conversion, then prints how many times slower ICU is.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  using ConsoleReporter::ConsoleReporter;

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && !run.error_occurred)
        ns_per_conversion_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatios() const {
    const char* const kPairs[][3] = {
        {"Gregorian to Hijri, successive", "OrbeluneToHijri/0", "IcuToHijri/0"},
        {"Gregorian to Hijri, random", "OrbeluneToHijri/1", "IcuToHijri/1"},
        {"Hijri to Gregorian, successive", "OrbeluneToGregorian/0", "IcuToGregorian/0"},
        {"Hijri to Gregorian, random", "OrbeluneToGregorian/1", "IcuToGregorian/1"},
    };
    std::printf("\nns per conversion (Orbelune / ICU islamic-umalqura, ICU slower by):\n");
    for (const auto& pair : kPairs) {
      const auto ours = ns_per_conversion_.find(pair[1]);
      const auto icu = ns_per_conversion_.find(pair[2]);
      if (ours == ns_per_conversion_.end() || icu == ns_per_conversion_.end()) continue;
      std::printf("  %-32s %8.2f / %9.1f   x%.0f\n", pair[0], ours->second, icu->second,
                  icu->second / ours->second);
    }
  }

 private:
  std::map<std::string, double> ns_per_conversion_;
};

// ICU is timed only if it converts a date both calendars agree on, with the weekday, correctly.
bool IcuAgreesOnAKnownDate() {
  IcuCalendars icu_calendars;
  UErrorCode status = U_ZERO_ERROR;
  icu_calendars.gregorian->clear();
  icu_calendars.gregorian->set(2024, 11, 2);
  icu_calendars.hijri->setTime(icu_calendars.gregorian->getTime(status), status);
  const int32_t y = icu_calendars.hijri->get(UCAL_YEAR, status);
  const int32_t m = icu_calendars.hijri->get(UCAL_MONTH, status) + 1;
  const int32_t d = icu_calendars.hijri->get(UCAL_DATE, status);
  const int32_t weekday = icu_calendars.hijri->get(UCAL_DAY_OF_WEEK, status) - 1;
  if (U_SUCCESS(status) && y == 1446 && m == 6 && d == 1 && weekday == 1) return true;
  std::fprintf(stderr, "ICU converts 2024-12-02 to %d-%d-%d, weekday %d (%s)\n", y, m, d, weekday,
               u_errorName(status));
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (!IcuAgreesOnAKnownDate()) return 1;
  RatioReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_ColorTabular
                                               : benchmark::ConsoleReporter::OO_Tabular);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
