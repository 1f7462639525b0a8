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

struct Check {
  std::string_view name;
  Faults (*run)();
};

constexpr Check kChecks[] = {
    {"CallsThroughStdcallPointers", CheckCallingConvention},
    {"ConvertsEveryDayOfTheMonthTableBothWays", CheckEveryDayOfTheMonthTable},
    {"TakesADayItsMonthLacksAsTheNextMonthsFirstDay", CheckDayThirty},
    {"RejectsInvalidInputsAndLeavesOutputsAtZero", CheckInvalidInputs},
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
    if (argc >= 2 && check.name != argv[1]) continue;
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
