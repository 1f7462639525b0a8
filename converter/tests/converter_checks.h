// SPDX-License-Identifier: MIT
// The checks that every build of the converter has to pass, whichever way it is loaded: the native
// tests run them through dlopen, the Windows test program through LoadLibrary under wine. Each
// returns what went wrong, one line per fault, so each runner reports them its own way.
#pragma once

#include <chrono>
#include <climits>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "test_data.h"

namespace lunavant::converter::testing {

using Faults = std::vector<std::string>;

// The day after `hijri`, given that it is the last day of its month or not.
inline Ymd NextHijriDay(const Ymd& hijri, bool month_ends) {
  if (!month_ends) return {hijri.y, hijri.m, hijri.d + 1};
  return hijri.m == 12 ? Ymd{hijri.y + 1, 1, 1} : Ymd{hijri.y, hijri.m + 1, 1};
}

struct WalkResult {
  std::vector<std::pair<Ymd, int32_t>> months;  // (year, month, 1) and length
  Faults faults;
};

// Walks [first, last] a day at a time and checks both directions on every day: consecutive Hijri
// days, exact round trips, weekdays moving on by one. Also returns the length of every Hijri month
// that starts and ends inside the walk, keyed by its first day. Stops after ten faults.
template <class Library>
WalkResult WalkDays(const Library& library, std::chrono::sys_days first,
                    std::chrono::sys_days last) {
  WalkResult walk;
  Converted previous = library.ToHijri(FromDays(first));
  if (previous.result != 0) walk.faults.push_back(ToString(FromDays(first)) + " fails");
  Ymd month_start{};
  for (std::chrono::sys_days day = first; day <= last && walk.faults.size() < 10;
       day += std::chrono::days{1}) {
    const Ymd gregorian = FromDays(day);
    const Converted hijri = library.ToHijri(gregorian);
    const Converted back = library.ToGregorian(hijri.date);
    bool ok = hijri.result == 0 && back.result == 0 && back.date == gregorian &&
              hijri.weekday == WeekdayOf(day) && back.weekday == hijri.weekday;
    if (day != first) {
      const bool month_ends = hijri.date.d == 1;
      ok = ok && hijri.date == NextHijriDay(previous.date, month_ends) &&
           (!month_ends || previous.date.d >= 28);
      if (month_ends && month_start.y != 0) walk.months.push_back({month_start, previous.date.d});
    }
    if (hijri.date.d == 1) month_start = hijri.date;
    if (!ok) {
      walk.faults.push_back(ToString(gregorian) + " -> " + ToString(hijri.date) + " (result " +
                            std::to_string(hijri.result) + ", weekday " +
                            std::to_string(hijri.weekday) + ") -> " + ToString(back.date) +
                            " (result " + std::to_string(back.result) + "), previous day " +
                            ToString(previous.date));
    }
    previous = hijri;
  }
  return walk;
}

// Every day of the month table and 400 days either side, both ways, and every month of the table
// starting on its day and as long as the table says.
template <class Library>
Faults CheckEveryDayOfTheTable(const Library& library, const std::vector<MonthRow>& table) {
  using std::chrono::days;
  if (table.empty()) return {"the month table is empty"};
  const std::chrono::sys_days table_first = ToDays(table.front().first_day);
  const std::chrono::sys_days table_end =
      ToDays(table.back().first_day) + days{table.back().length};
  WalkResult walk = WalkDays(library, table_first - days{400}, table_end + days{400});
  if (!walk.faults.empty()) return std::move(walk.faults);

  Faults faults;
  std::size_t next = 0;
  for (const auto& [start, length] : walk.months) {
    if (next == table.size() || !(start == Ymd{table[next].year, table[next].month, 1})) continue;
    const MonthRow& row = table[next++];
    const Ymd first_day = library.ToGregorian(start).date;
    if (!(first_day == row.first_day))
      faults.push_back(ToString(start) + " starts on " + ToString(first_day) + ", table says " +
                       ToString(row.first_day));
    if (length != row.length)
      faults.push_back(ToString(start) + " has " + std::to_string(length) + " days, table says " +
                       std::to_string(row.length));
  }
  if (next != table.size())
    faults.push_back("only " + std::to_string(next) + " of the table's " +
                     std::to_string(table.size()) + " months were walked through");
  return faults;
}

// Day 30 of every 29-day month of the table (and 29 and 30 of its 28-day month) gives the first
// day of the following month.
template <class Library>
Faults CheckDaysTheMonthLacks(const Library& library, const std::vector<MonthRow>& table) {
  Faults faults;
  int short_months = 0;
  for (const MonthRow& row : table) {
    const Ymd next_month_first =
        library.ToGregorian(NextHijriDay({row.year, row.month, row.length}, true)).date;
    for (int32_t day = row.length + 1; day <= 30; ++day) {
      const Converted lenient = library.ToGregorian({row.year, row.month, day});
      if (lenient.result != 0 || !(lenient.date == next_month_first))
        faults.push_back(ToString({row.year, row.month, day}) + " gives " + ToString(lenient.date) +
                         " (result " + std::to_string(lenient.result) + "), expected " +
                         ToString(next_month_first));
      ++short_months;
    }
  }
  if (short_months == 0) faults.push_back("the month table has no month shorter than 30 days");
  return faults;
}

// Dates that other converters have been reported to get a day wrong, with their official date.
struct KnownDate {
  Ymd gregorian;
  Ymd hijri;
  int32_t weekday;
};
inline constexpr KnownDate kKnownDates[] = {
    {{2024, 12, 2}, {1446, 6, 1}, 1},   {{2021, 7, 10}, {1442, 11, 30}, 6},
    {{2019, 10, 28}, {1441, 2, 29}, 1}, {{1984, 1, 1}, {1404, 3, 28}, 0},
    {{2050, 1, 1}, {1472, 4, 7}, 6},
};

template <class Library>
Faults CheckKnownDates(const Library& library) {
  Faults faults;
  for (const KnownDate& known : kKnownDates) {
    const Converted hijri = library.ToHijri(known.gregorian);
    if (hijri.result != 0 || !(hijri.date == known.hijri) || hijri.weekday != known.weekday)
      faults.push_back(ToString(known.gregorian) + " gave " + ToString(hijri.date) + " weekday " +
                       std::to_string(hijri.weekday) + " (result " + std::to_string(hijri.result) +
                       ")");
    const Converted gregorian = library.ToGregorian(known.hijri);
    if (gregorian.result != 0 || !(gregorian.date == known.gregorian) ||
        gregorian.weekday != known.weekday)
      faults.push_back(ToString(known.hijri) + " gave " + ToString(gregorian.date) + " weekday " +
                       std::to_string(gregorian.weekday) + " (result " +
                       std::to_string(gregorian.result) + ")");
  }
  return faults;
}

// Impossible or far-off Gregorian dates, and Hijri dates no month can have or outside the range.
inline constexpr Ymd kImpossibleGregorianDates[] = {{2023, 2, 29},
                                                    {2024, 2, 30},
                                                    {1900, 2, 29},
                                                    {2024, 4, 31},
                                                    {2024, 13, 1},
                                                    {2024, 0, 1},
                                                    {2024, 1, 0},
                                                    {2024, 1, 32},
                                                    {2024, -1, 1},
                                                    {0, 1, 1},
                                                    {10000, 1, 1},
                                                    {-1, 12, 31},
                                                    {INT32_MIN, INT32_MIN, INT32_MIN},
                                                    {INT32_MAX, INT32_MAX, INT32_MAX},
                                                    {2024, INT32_MAX, 1},
                                                    {2024, 1, INT32_MIN}};
inline constexpr Ymd kImpossibleHijriDates[] = {{1446, 0, 1},
                                                {1446, 13, 1},
                                                {1446, 1, 0},
                                                {1446, 1, 31},
                                                {1446, -1, 1},
                                                {1446, 1, -1},
                                                {0, 1, 1},
                                                {-1, 1, 1},
                                                {10000, 1, 1},
                                                {INT32_MAX, 12, 30},
                                                {INT32_MIN, 1, 1},
                                                {1446, INT32_MAX, 1},
                                                {1446, 1, INT32_MAX},
                                                {1446, INT32_MIN, INT32_MIN}};

// Each impossible date gives a non-zero result, every output at 0 and H2GA's inputs untouched.
template <class Library>
Faults CheckImpossibleDates(const Library& library) {
  Faults faults;
  for (const Ymd& gregorian : kImpossibleGregorianDates) {
    int32_t hy = -7, hm = -7, hd = -7, weekday = -7;
    const int32_t result =
        library.g2ha()(gregorian.y, gregorian.m, gregorian.d, &hy, &hm, &hd, &weekday);
    if (result == 0 || !(Ymd{hy, hm, hd} == Ymd{}) || weekday != 0)
      faults.push_back("G2HA " + ToString(gregorian) + " gave result " + std::to_string(result) +
                       ", " + ToString({hy, hm, hd}) + " weekday " + std::to_string(weekday));
  }
  for (const Ymd& hijri : kImpossibleHijriDates) {
    Ymd input = hijri;
    int32_t gy = -7, gm = -7, gd = -7, weekday = -7;
    const int32_t result = library.h2ga()(&input.y, &input.m, &input.d, &gy, &gm, &gd, &weekday);
    if (result == 0 || !(Ymd{gy, gm, gd} == Ymd{}) || weekday != 0 || !(input == hijri))
      faults.push_back("H2GA " + ToString(hijri) + " gave result " + std::to_string(result) + ", " +
                       ToString({gy, gm, gd}) + " weekday " + std::to_string(weekday) +
                       ", inputs now " + ToString(input));
  }
  return faults;
}

// A null pointer in any position gives a non-zero result and leaves the other outputs untouched.
template <class Library>
Faults CheckNullPointers(const Library& library) {
  Faults faults;
  for (int null_at = 0; null_at < 4; ++null_at) {
    int32_t out[4] = {-7, -7, -7, -7};
    int32_t* p[4] = {&out[0], &out[1], &out[2], &out[3]};
    p[null_at] = nullptr;
    const bool refused = library.g2ha()(2024, 12, 2, p[0], p[1], p[2], p[3]) != 0;
    bool untouched = true;
    for (int32_t value : out) untouched = untouched && value == -7;
    if (!refused || !untouched)
      faults.push_back("G2HA with a null pointer at " + std::to_string(null_at + 4));
  }
  for (int null_at = 0; null_at < 7; ++null_at) {
    int32_t args[7] = {1446, 6, 1, -7, -7, -7, -7};
    int32_t* p[7] = {&args[0], &args[1], &args[2], &args[3], &args[4], &args[5], &args[6]};
    p[null_at] = nullptr;
    const bool refused = library.h2ga()(p[0], p[1], p[2], p[3], p[4], p[5], p[6]) != 0;
    bool untouched = true;
    for (int i = 3; i < 7; ++i) untouched = untouched && args[i] == -7;
    if (!refused || !untouched)
      faults.push_back("H2GA with a null pointer at " + std::to_string(null_at + 1));
  }
  return faults;
}

}  // namespace lunavant::converter::testing
