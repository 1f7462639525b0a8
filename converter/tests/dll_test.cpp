// SPDX-License-Identifier: MIT
// Orbelune.dll as a Windows caller uses it, run under wine: loaded by name, called through stdcall
// pointers, and put through the same checks as the native library.
//   orbelune_dll_test [check]     runs one check by name, or all of them; exit code 0 passes
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "converter_checks.h"
#include "converter_library_win32.h"
#include "orbelune.h"
#include "test_data.h"

namespace lunavant::converter::testing {
namespace {

const std::string kMonthTable = std::string(LUNAVANT_SHARED_DATA) + "/umalqura-months.csv";

const ConverterLibrary& Library() { return ConverterLibrary::Get(); }

Faults CheckCallingConvention() {
  // Given one call of each entry, expect the right answer and, on 32-bit Windows, the stack as
  // it was before the arguments were pushed.
  Faults faults;
  const Converted hijri = Library().ToHijri({2024, 12, 2});
  if (hijri.result != 0 || !(hijri.date == Ymd{1446, 6, 1}) || hijri.weekday != 1)
    faults.push_back("G2HA 2024-12-2 gave " + ToString(hijri.date));
  const Converted gregorian = Library().ToGregorian({1446, 6, 1});
  if (gregorian.result != 0 || !(gregorian.date == Ymd{2024, 12, 2}) || gregorian.weekday != 1)
    faults.push_back("H2GA 1446-6-1 gave " + ToString(gregorian.date));
#if defined(__i386__)
  int32_t y = 1446, m = 6, d = 1, out[4] = {0, 0, 0, 0};
  const auto address = [](const void* p) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p));
  };
  const uint32_t g2ha_arguments[7] = {
      2024, 12, 2, address(&out[0]), address(&out[1]), address(&out[2]), address(&out[3])};
  const uint32_t h2ga_arguments[7] = {address(&y),      address(&m),      address(&d),
                                      address(&out[0]), address(&out[1]), address(&out[2]),
                                      address(&out[3])};
  const struct {
    const char* name;
    void* entry;
    const uint32_t (&arguments)[7];
  } entries[] = {{"G2HA", reinterpret_cast<void*>(Library().g2ha()), g2ha_arguments},
                 {"H2GA", reinterpret_cast<void*>(Library().h2ga()), h2ga_arguments}};
  for (const auto& entry : entries) {
    const uint32_t left = BytesLeftOnTheStack(entry.entry, entry.arguments);
    if (left != 0)
      faults.push_back(std::string(entry.name) + " left " + std::to_string(left) +
                       " bytes of arguments on the stack: it is not stdcall");
  }
#endif
  return faults;
}

Faults CheckEveryDayOfTheMonthTable() {
  // Given every day of the month table and 400 days either side, and the dates other converters
  // got wrong, expect the same answers as the native library gives.
  const std::vector<MonthRow> table = ReadMonthTable(kMonthTable);
  if (table.empty()) return {"no month table in " + kMonthTable};
  Faults faults = CheckEveryDayOfTheTable(Library(), table);
  for (std::string& fault : CheckKnownDates(Library())) faults.push_back(std::move(fault));
  return faults;
}

Faults CheckDayThirty() {
  // Given day 30 of every 29-day month of the table, expect the next month's first day.
  const std::vector<MonthRow> table = ReadMonthTable(kMonthTable);
  if (table.empty()) return {"no month table in " + kMonthTable};
  return CheckDaysTheMonthLacks(Library(), table);
}

Faults CheckInvalidInputs() {
  // Given impossible dates and null pointers, expect a refusal that writes zeros or nothing.
  Faults faults = CheckImpossibleDates(Library());
  for (std::string& fault : CheckNullPointers(Library())) faults.push_back(std::move(fault));
  return faults;
}

Faults CheckCorrections() {
  // Given the corrections file that ORBELUNE_CORRECTIONS names, which starts Shawwal 1446 a day
  // later, expect 30 March 2025 to be 30 Ramadan both ways, Shawwal's days a day later, the months
  // around them as the table has them, and the version text to say so.
  Faults faults;
  const struct {
    Ymd gregorian;
    Ymd hijri;
  } days[] = {{{2025, 3, 29}, {1446, 9, 29}}, {{2025, 3, 30}, {1446, 9, 30}},
              {{2025, 3, 31}, {1446, 10, 1}}, {{2025, 4, 28}, {1446, 10, 29}},
              {{2025, 4, 29}, {1446, 11, 1}}, {{2025, 2, 28}, {1446, 8, 29}},
              {{2025, 3, 1}, {1446, 9, 1}}};
  for (const auto& day : days) {
    const Converted hijri = Library().ToHijri(day.gregorian);
    if (hijri.result != 0 || !(hijri.date == day.hijri))
      faults.push_back("G2HA " + ToString(day.gregorian) + " gave " + ToString(hijri.date));
    const Converted gregorian = Library().ToGregorian(day.hijri);
    if (gregorian.result != 0 || !(gregorian.date == day.gregorian))
      faults.push_back("H2GA " + ToString(day.hijri) + " gave " + ToString(gregorian.date));
  }
  const auto version = reinterpret_cast<OrbeluneCalendarVersionProc>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"Orbelune.dll"), "OrbeluneCalendarVersion")));
  if (version == nullptr) return {"Orbelune.dll lacks OrbeluneCalendarVersion"};
  char text[1024];
  int32_t length = 0;
  const int32_t status = version(nullptr, text, sizeof text, &length);
  const std::string_view changed =
      "changed: 1446-09 2025-03-01 30 days (table 2025-03-01 29 days)\n"
      "changed: 1446-10 2025-03-31 29 days (table 2025-03-30 30 days)\n";
  if (status != 0 || std::string_view(text).find(changed) == std::string_view::npos)
    faults.push_back("OrbeluneCalendarVersion gave " + std::to_string(status) + ": " + text);
  return faults;
}

struct Check {
  std::string_view name;
  Faults (*run)();
  bool needs_corrections = false;  // runs only by name, with ORBELUNE_CORRECTIONS set
};

constexpr Check kChecks[] = {
    {"CallsThroughStdcallPointers", CheckCallingConvention},
    {"ConvertsEveryDayOfTheMonthTableBothWays", CheckEveryDayOfTheMonthTable},
    {"TakesADayItsMonthLacksAsTheNextMonthsFirstDay", CheckDayThirty},
    {"RejectsInvalidInputsAndLeavesOutputsAtZero", CheckInvalidInputs},
    {"MovesShawwal1446ADayLaterWithTheCorrectionsFile", CheckCorrections, true},
};

// Runs one check; a failure to load or bind the DLL is a fault of that check like any other.
bool Run(const Check& check) {
  Faults faults;
  try {
    faults = check.run();
  } catch (const std::exception& e) {
    faults.push_back(e.what());
  }
  std::printf("%s %.*s\n", faults.empty() ? "[  PASSED  ]" : "[  FAILED  ]",
              static_cast<int>(check.name.size()), check.name.data());
  for (const std::string& fault : faults) std::printf("    %s\n", fault.c_str());
  return faults.empty();
}

}  // namespace
}  // namespace lunavant::converter::testing

int main(int argc, char** argv) {
  using lunavant::converter::testing::kChecks;
  int passed = 0;
  int failed = 0;
  bool found = argc < 2;
  for (const auto& check : kChecks) {
    if (argc >= 2 ? check.name != argv[1] : check.needs_corrections) continue;
    found = true;
    (lunavant::converter::testing::Run(check) ? passed : failed) += 1;
  }
  if (!found) {
    std::fprintf(stderr, "no check named %s\n", argv[1]);
    return 2;
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  std::fflush(stdout);
  return failed == 0 ? 0 : 1;
}
