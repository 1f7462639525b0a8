// SPDX-License-Identifier: MIT
// G2HA and H2GA for any 32-bit inputs, against an independent calculation: the official month
// table read from its CSV file, and outside it the tabular calendar computed with the arithmetic
// of Reingold and Dershowitz's "Calendrical Calculations" (fixed-from-islamic), which shares no
// code with the converter's cycle arithmetic. Also: round trips, the next day, the outputs at zero
// and the inputs untouched on failure, and a result code that tells an impossible date from one
// outside the range.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "orbelune.h"

namespace {

using std::chrono::days;
using std::chrono::sys_days;

struct Ymd {
  std::int32_t y = 0;
  std::int32_t m = 0;
  std::int32_t d = 0;
  friend bool operator==(const Ymd&, const Ymd&) = default;
};

std::string Show(const Ymd& date) {
  return std::to_string(date.y) + "-" + std::to_string(date.m) + "-" + std::to_string(date.d);
}

// Day numbers count from 1970-01-01, in 64 bits so that no input can overflow them.
std::int64_t DayNumber(std::int32_t y, std::int32_t m, std::int32_t d) {
  const sys_days day = std::chrono::year{y} / std::chrono::month{static_cast<unsigned>(m)} /
                       std::chrono::day{static_cast<unsigned>(d)};
  return day.time_since_epoch().count();
}

Ymd CivilOf(std::int64_t day_number) {
  const std::chrono::year_month_day ymd{sys_days{days{day_number}}};
  return {static_cast<int>(ymd.year()),
          static_cast<std::int32_t>(static_cast<unsigned>(ymd.month())),
          static_cast<std::int32_t>(static_cast<unsigned>(ymd.day()))};
}

std::int32_t WeekdayOf(std::int64_t day_number) {
  return static_cast<std::int32_t>(std::chrono::weekday{sys_days{days{day_number}}}.c_encoding());
}

bool IsLeap(std::int64_t y) { return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0); }

bool IsPossibleGregorian(std::int32_t y, std::int32_t m, std::int32_t d) {
  static constexpr std::int32_t kLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (m < 1 || m > 12 || d < 1) return false;
  return d <= kLength[m - 1] + (m == 2 && IsLeap(y) ? 1 : 0);
}

// 1 Muharram 1 AH is Friday 16 July 622 of the Julian calendar.
const std::int64_t kIslamicEpoch = DayNumber(622, 7, 19);
const std::int64_t kFirstDay = kIslamicEpoch;
const std::int64_t kLastDay = DayNumber(9999, 12, 31);

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - (a % b != 0 && (a < 0) != (b < 0));
}

// fixed-from-islamic, with the month's first day; y may be any 32-bit number.
std::int64_t TabularMonthStart(std::int64_t y, std::int64_t m) {
  return kIslamicEpoch + (y - 1) * 354 + FloorDiv(3 + 11 * y, 30) + (59 * (m - 1) + 1) / 2;
}

struct TableMonth {
  std::int32_t year;
  std::int32_t month;
  std::int64_t start;
  std::int32_t length;
};

std::vector<TableMonth> ReadTable() {
  std::vector<TableMonth> months;
  std::ifstream in(LUNAVANT_CONVERTER_DATA "/umalqura-months.csv");
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    int y = 0, m = 0, gy = 0, gm = 0, gd = 0, length = 0;
    if (std::sscanf(line.c_str(), "%d,%d,%d-%d-%d,%d", &y, &m, &gy, &gm, &gd, &length) == 6)
      months.push_back({y, m, DayNumber(gy, gm, gd), length});
  }
  if (months.empty()) {
    std::fprintf(stderr, "cannot read %s\n", LUNAVANT_CONVERTER_DATA "/umalqura-months.csv");
    std::abort();
  }
  return months;
}

const std::vector<TableMonth>& Table() {
  static const std::vector<TableMonth> table = ReadTable();
  return table;
}

struct MonthSpan {
  std::int64_t start;
  std::int64_t length;
};

MonthSpan HijriMonth(std::int64_t y, std::int64_t m) {
  const std::vector<TableMonth>& table = Table();
  const std::int64_t index = y * 12 + m - 1 - (table[0].year * 12 + table[0].month - 1);
  if (index >= 0 && index < static_cast<std::int64_t>(table.size())) {
    const TableMonth& row = table[static_cast<std::size_t>(index)];
    return {row.start, row.length};
  }
  const std::int64_t next = m == 12 ? TabularMonthStart(y + 1, 1) : TabularMonthStart(y, m + 1);
  return {TabularMonthStart(y, m), next - TabularMonthStart(y, m)};
}

Ymd HijriOf(std::int64_t day_number) {
  const std::vector<TableMonth>& table = Table();
  const auto after =
      std::upper_bound(table.begin(), table.end(), day_number,
                       [](std::int64_t day, const TableMonth& row) { return day < row.start; });
  if (after != table.begin() && day_number < table.back().start + table.back().length) {
    const TableMonth& row = *(after - 1);
    return {row.year, row.month, static_cast<std::int32_t>(day_number - row.start + 1)};
  }
  // islamic-from-fixed
  const std::int64_t y = FloorDiv(30 * (day_number - kIslamicEpoch) + 10646, 10631);
  std::int64_t m = 1;
  while (m < 12 && TabularMonthStart(y, m + 1) <= day_number) ++m;
  return {static_cast<std::int32_t>(y), static_cast<std::int32_t>(m),
          static_cast<std::int32_t>(day_number - TabularMonthStart(y, m) + 1)};
}

struct Answer {
  std::int32_t result;
  Ymd date;
  std::int32_t weekday;
};

Answer CallG2HA(const Ymd& g) {
  Answer a{-1, {-7, -7, -7}, -7};
  a.result = G2HA(g.y, g.m, g.d, &a.date.y, &a.date.m, &a.date.d, &a.weekday);
  return a;
}

Answer CallH2GA(const Ymd& h) {
  Ymd in = h;
  Answer a{-1, {-7, -7, -7}, -7};
  a.result = H2GA(&in.y, &in.m, &in.d, &a.date.y, &a.date.m, &a.date.d, &a.weekday);
  LUNAVANT_FUZZ_CHECK(in == h, "H2GA changed its inputs " + Show(h) + " into " + Show(in));
  return a;
}

std::string Describe(const char* call, const Ymd& in, const Answer& a) {
  return std::string(call) + "(" + Show(in) + ") returned " + std::to_string(a.result) + " with " +
         Show(a.date) + ", weekday " + std::to_string(a.weekday);
}

void CheckFailureLeavesZeros(const char* call, const Ymd& in, const Answer& a) {
  LUNAVANT_FUZZ_CHECK(a.result == ORBELUNE_INVALID_DATE || a.result == ORBELUNE_OUT_OF_RANGE,
                      Describe(call, in, a));
  LUNAVANT_FUZZ_CHECK(a.date == Ymd{} && a.weekday == 0, Describe(call, in, a));
}

// The day after `h`, as the calendar itself says, given whether `h` ends its month.
Ymd NextHijriDay(const Ymd& h, bool month_ends) {
  if (!month_ends) return {h.y, h.m, h.d + 1};
  return h.m == 12 ? Ymd{h.y + 1, 1, 1} : Ymd{h.y, h.m + 1, 1};
}

void CheckGregorian(const Ymd& g) {
  const Answer a = CallG2HA(g);
  std::int32_t expected = ORBELUNE_OK;
  if (!IsPossibleGregorian(g.y, g.m, g.d)) {
    expected = ORBELUNE_INVALID_DATE;
  } else if (g.y < 1 || g.y > 9999 || DayNumber(g.y, g.m, g.d) < kFirstDay) {
    expected = ORBELUNE_OUT_OF_RANGE;
  }
  LUNAVANT_FUZZ_CHECK(a.result == expected,
                      Describe("G2HA", g, a) + ", expected " + std::to_string(expected));
  if (expected != ORBELUNE_OK) {
    CheckFailureLeavesZeros("G2HA", g, a);
    return;
  }
  const std::int64_t day = DayNumber(g.y, g.m, g.d);
  LUNAVANT_FUZZ_CHECK(a.date == HijriOf(day) && a.weekday == WeekdayOf(day),
                      Describe("G2HA", g, a) + ", expected " + Show(HijriOf(day)));
  const Answer back = CallH2GA(a.date);
  LUNAVANT_FUZZ_CHECK(back.result == ORBELUNE_OK && back.date == g && back.weekday == a.weekday,
                      Describe("H2GA", a.date, back) + ", expected " + Show(g));
  if (day < kLastDay) {
    const Ymd tomorrow = CivilOf(day + 1);
    const Answer next = CallG2HA(tomorrow);
    const bool month_ends = next.date.d == 1;
    LUNAVANT_FUZZ_CHECK(next.result == ORBELUNE_OK &&
                            next.date == NextHijriDay(a.date, month_ends) &&
                            (!month_ends || a.date.d >= 28) && next.weekday == (a.weekday + 1) % 7,
                        Describe("G2HA", tomorrow, next) + " after " + Describe("G2HA", g, a));
  }
}

void CheckHijri(const Ymd& h) {
  const Answer a = CallH2GA(h);
  std::int32_t expected = ORBELUNE_OK;
  std::int64_t day = 0;
  if (h.m < 1 || h.m > 12 || h.d < 1 || h.d > 30) {
    expected = ORBELUNE_INVALID_DATE;
  } else if (h.y < 1) {
    expected = ORBELUNE_OUT_OF_RANGE;
  } else {
    const MonthSpan month = HijriMonth(h.y, h.m);
    // A day the month lacks is the first day of the next month.
    day = month.start + std::min<std::int64_t>(h.d - 1, month.length);
    if (day > kLastDay) expected = ORBELUNE_OUT_OF_RANGE;
  }
  LUNAVANT_FUZZ_CHECK(a.result == expected,
                      Describe("H2GA", h, a) + ", expected " + std::to_string(expected));
  if (expected != ORBELUNE_OK) {
    CheckFailureLeavesZeros("H2GA", h, a);
    return;
  }
  LUNAVANT_FUZZ_CHECK(a.date == CivilOf(day) && a.weekday == WeekdayOf(day),
                      Describe("H2GA", h, a) + ", expected " + Show(CivilOf(day)));
  const Answer back = CallG2HA(a.date);
  LUNAVANT_FUZZ_CHECK(back.result == ORBELUNE_OK && back.date == HijriOf(day),
                      Describe("G2HA", a.date, back) + " after " + Describe("H2GA", h, a));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lunavant::fuzz::FuzzInput input(data, size);
  const Ymd gregorian{input.Int32(), input.Int32(), input.Int32()};
  const Ymd hijri{input.Int32(), input.Int32(), input.Int32()};
  CheckGregorian(gregorian);
  CheckHijri(hijri);
  // Most 32-bit triples are far outside the calendar, so the same bytes also pick a day inside
  // the range and a Hijri date with a plausible month and day.
  const auto span = static_cast<std::uint32_t>(kLastDay - kFirstDay + 1);
  CheckGregorian(CivilOf(kFirstDay + static_cast<std::uint32_t>(gregorian.y) % span));
  CheckHijri({static_cast<std::int32_t>(static_cast<std::uint32_t>(hijri.y) % 10100),
              static_cast<std::int32_t>(static_cast<std::uint32_t>(hijri.m) % 14),
              static_cast<std::int32_t>(static_cast<std::uint32_t>(hijri.d) % 32)});
  return 0;
}
