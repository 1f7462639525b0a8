// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "converter_library.h"
#include "orbelune.h"
#include "test_data.h"

namespace lunavant::converter::testing {
namespace {

using std::chrono::days;
using std::chrono::sys_days;

const std::string kSharedData = LUNAVANT_SHARED_DATA;

const ConverterLibrary& Library() { return ConverterLibrary::Get(); }

// The day after `hijri`, given that it is the last day of its month or not.
Ymd NextHijriDay(const Ymd& hijri, bool month_ends) {
  if (!month_ends) return {hijri.y, hijri.m, hijri.d + 1};
  return hijri.m == 12 ? Ymd{hijri.y + 1, 1, 1} : Ymd{hijri.y, hijri.m + 1, 1};
}

// Walks [first, last] a day at a time and checks both directions on every day; returns the
// length of every Hijri month that starts and ends inside the walk, keyed by its first day.
struct WalkResult {
  std::vector<std::pair<Ymd, int32_t>> months;  // (year, month, 1) and length
  int failures = 0;
};

WalkResult WalkDays(sys_days first, sys_days last) {
  WalkResult walk;
  Converted previous = Library().ToHijri(FromDays(first));
  EXPECT_EQ(previous.result, 0) << ToString(FromDays(first));
  Ymd month_start{};
  for (sys_days day = first; day <= last && walk.failures < 10; day += days{1}) {
    const Ymd gregorian = FromDays(day);
    const Converted hijri = Library().ToHijri(gregorian);
    const Converted back = Library().ToGregorian(hijri.date);
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
      ++walk.failures;
      ADD_FAILURE() << ToString(gregorian) << " -> " << ToString(hijri.date) << " (result "
                    << hijri.result << ", weekday " << hijri.weekday << ") -> "
                    << ToString(back.date) << " (result " << back.result << "), previous day "
                    << ToString(previous.date);
    }
    previous = hijri;
  }
  return walk;
}

sys_days Day(int32_t y, int32_t m, int32_t d) { return ToDays({y, m, d}); }

TEST(Converter, WalksEveryDayOfTheTableAndItsSeams) {
  // Given every day of the official table and 400 days either side, expect consecutive Hijri
  // days, exact round trips, weekdays moving on by one, and months as long as the table says.
  const std::vector<MonthRow> table = ReadMonthTable(kSharedData + "/umalqura-months.csv");
  if (table.empty()) GTEST_SKIP() << "no month table in " << kSharedData;
  const sys_days table_first = ToDays(table.front().first_day);
  const sys_days table_end = ToDays(table.back().first_day) + days{table.back().length};
  const WalkResult walk = WalkDays(table_first - days{400}, table_end + days{400});
  ASSERT_EQ(walk.failures, 0);

  std::size_t next = 0;
  std::size_t matched = 0;
  for (const auto& [start, length] : walk.months) {
    if (next == table.size() || !(start == Ymd{table[next].year, table[next].month, 1})) continue;
    const MonthRow& row = table[next++];
    EXPECT_EQ(Library().ToGregorian(start).date, row.first_day) << ToString(start);
    EXPECT_EQ(length, row.length) << ToString(start);
    ++matched;
  }
  EXPECT_EQ(matched, table.size());
}

TEST(Converter, JoinsTheTabularCalendarAtBothEndsOfTheTable) {
  // Given the days either side of the table's ends, expect the tabular calendar's neighbours.
  // Note: 1355 is a leap year of the tabular calendar, so its last month has 30 days.
  const struct {
    Ymd gregorian;
    Ymd hijri;
  } cases[] = {
      {{1937, 3, 13}, {1355, 12, 30}},
      {{1937, 3, 14}, {1356, 1, 1}},
      {{2077, 11, 16}, {1500, 12, 30}},
      {{2077, 11, 17}, {1501, 1, 1}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Library().ToHijri(c.gregorian).date, c.hijri) << ToString(c.gregorian);
    EXPECT_EQ(Library().ToGregorian(c.hijri).date, c.gregorian) << ToString(c.hijri);
  }
}

TEST(Converter, RoundTripsEveryDayOfTheWholeRange) {
  // Given every day from 1 Muharram 1 AH to 31 December 9999, expect the same checks as in the
  // table.
  const WalkResult walk = WalkDays(Day(622, 7, 19), Day(9999, 12, 31));
  EXPECT_EQ(walk.failures, 0);
  EXPECT_EQ(Library().ToHijri({622, 7, 19}).date, (Ymd{1, 1, 1}));
}

TEST(Converter, RejectsDaysOutsideTheRange) {
  // Given the days just outside the range, expect a non-zero result and outputs at 0.
  const Converted before = Library().ToHijri({622, 7, 18});
  EXPECT_NE(before.result, 0);
  EXPECT_EQ(before.date, Ymd{});
  const Ymd last_hijri = Library().ToHijri({9999, 12, 31}).date;
  ASSERT_GT(last_hijri.y, 9000);
  ASSERT_LT(last_hijri.d, 29);
  const Converted after = Library().ToGregorian({last_hijri.y, last_hijri.m, last_hijri.d + 1});
  EXPECT_NE(after.result, 0) << ToString(last_hijri);
  EXPECT_EQ(after.date, Ymd{});
  EXPECT_NE(Library().ToGregorian({last_hijri.y + 1, 1, 1}).result, 0);
}

TEST(Converter, ConvertsDatesReportedAsConversionBugsElsewhere) {
  // Given dates that other converters have been reported to get a day wrong, expect the official
  // date.
  const struct {
    Ymd gregorian;
    Ymd hijri;
    int32_t weekday;
  } cases[] = {
      {{2024, 12, 2}, {1446, 6, 1}, 1},   {{2021, 7, 10}, {1442, 11, 30}, 6},
      {{2019, 10, 28}, {1441, 2, 29}, 1}, {{1984, 1, 1}, {1404, 3, 28}, 0},
      {{2050, 1, 1}, {1472, 4, 7}, 6},
  };
  for (const auto& c : cases) {
    const Converted hijri = Library().ToHijri(c.gregorian);
    EXPECT_EQ(hijri.result, 0);
    EXPECT_EQ(hijri.date, c.hijri) << ToString(c.gregorian) << " gave " << ToString(hijri.date);
    EXPECT_EQ(hijri.weekday, c.weekday) << ToString(c.gregorian);
    const Converted gregorian = Library().ToGregorian(c.hijri);
    EXPECT_EQ(gregorian.result, 0);
    EXPECT_EQ(gregorian.date, c.gregorian)
        << ToString(c.hijri) << " gave " << ToString(gregorian.date);
    EXPECT_EQ(gregorian.weekday, c.weekday) << ToString(c.hijri);
  }
}

TEST(Converter, GivesTheOfficialDateForTheReportedThirtiethOfShawwal1400) {
  // Given 10 September 1980, reported elsewhere as 30/10/1400, expect 1/11/1400 one way and
  // 30/10/1400 to land on 10 September 1980 the other way.
  // Note: the official table and the university's comparison calendar give Shawwal 1400 only
  // 29 days, so 30/10/1400 is a day the month lacks and is read as the next month's first day.
  const Converted hijri = Library().ToHijri({1980, 9, 10});
  EXPECT_EQ(hijri.date, (Ymd{1400, 11, 1}));
  EXPECT_EQ(hijri.weekday, 3);
  const Converted gregorian = Library().ToGregorian({1400, 10, 30});
  EXPECT_EQ(gregorian.result, 0);
  EXPECT_EQ(gregorian.date, (Ymd{1980, 9, 10}));
  EXPECT_EQ(Library().ToGregorian({1400, 10, 29}).date, (Ymd{1980, 9, 9}));
}

TEST(Converter, HonoursTheTwentyEightDayMonth) {
  // Given 1364-08, the official record's only 28-day month, expect 28 days and then 1364-09.
  EXPECT_EQ(Library().ToHijri({1945, 8, 7}).date, (Ymd{1364, 8, 28}));
  EXPECT_EQ(Library().ToHijri({1945, 8, 8}).date, (Ymd{1364, 9, 1}));
  EXPECT_EQ(Library().ToGregorian({1364, 8, 28}).date, (Ymd{1945, 8, 7}));
}

TEST(Converter, TakesADayItsMonthLacksAsTheNextMonthsFirstDay) {
  // Given day 30 of every 29-day month (and 29 of the 28-day month), inside the table and in
  // the tabular calendar, expect the first day of the following month.
  const std::vector<MonthRow> table = ReadMonthTable(kSharedData + "/umalqura-months.csv");
  if (table.empty()) GTEST_SKIP() << "no month table in " << kSharedData;
  int short_months = 0;
  for (const MonthRow& row : table) {
    const Ymd next_month_first =
        Library().ToGregorian(NextHijriDay({row.year, row.month, row.length}, true)).date;
    for (int32_t day = row.length + 1; day <= 30; ++day) {
      const Converted lenient = Library().ToGregorian({row.year, row.month, day});
      EXPECT_EQ(lenient.result, 0);
      EXPECT_EQ(lenient.date, next_month_first) << row.year << "-" << row.month << "-" << day;
      ++short_months;
    }
  }
  EXPECT_GT(short_months, 0);
  // Note: 1355 is a tabular leap year, so its 12th month has a day 30 and 1354's does not.
  EXPECT_EQ(Library().ToGregorian({1354, 12, 30}).date, Library().ToGregorian({1355, 1, 1}).date);
  EXPECT_EQ(Library().ToGregorian({1600, 2, 30}).date, Library().ToGregorian({1600, 3, 1}).date);
}

TEST(Converter, RejectsImpossibleGregorianDatesAndLeavesOutputsAtZero) {
  // Given impossible or far-off Gregorian dates, expect a non-zero result and every output at 0.
  const Ymd cases[] = {{2023, 2, 29},
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
  for (const Ymd& gregorian : cases) {
    int32_t hy = -7, hm = -7, hd = -7, weekday = -7;
    EXPECT_NE(Library().g2ha()(gregorian.y, gregorian.m, gregorian.d, &hy, &hm, &hd, &weekday), 0)
        << ToString(gregorian);
    EXPECT_EQ((Ymd{hy, hm, hd}), Ymd{}) << ToString(gregorian);
    EXPECT_EQ(weekday, 0) << ToString(gregorian);
  }
  EXPECT_EQ(Library().ToHijri({2000, 2, 29}).result, 0);
}

TEST(Converter, TellsAnImpossibleGregorianDateFromOneOutsideTheRange) {
  // Given impossible dates in years inside and outside 1..9999, expect "invalid date" for all of
  // them; given possible dates outside the range, expect "out of range".
  // Note: 29 February 0 and 29 February -4 exist: the proleptic calendar's year 0 is a leap year.
  for (const Ymd& impossible : std::vector<Ymd>{
           {0, 0, 0}, {0, 2, 30}, {10000, 13, 1}, {-1, 2, 29}, {INT32_MAX, 1, 32}, {2023, 2, 29}}) {
    EXPECT_EQ(Library().ToHijri(impossible).result, ORBELUNE_INVALID_DATE) << ToString(impossible);
  }
  for (const Ymd& outside :
       std::vector<Ymd>{{0, 2, 29}, {-4, 2, 29}, {10000, 1, 1}, {622, 7, 18}, {INT32_MIN, 1, 1}}) {
    EXPECT_EQ(Library().ToHijri(outside).result, ORBELUNE_OUT_OF_RANGE) << ToString(outside);
  }
}

TEST(Converter, RejectsImpossibleHijriDatesAndLeavesOutputsAtZero) {
  // Given Hijri dates no month can have, or years outside the range, expect a non-zero result,
  // every output at 0 and the inputs untouched.
  const Ymd cases[] = {{1446, 0, 1},
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
  for (const Ymd& hijri : cases) {
    Ymd input = hijri;
    int32_t gy = -7, gm = -7, gd = -7, weekday = -7;
    EXPECT_NE(Library().h2ga()(&input.y, &input.m, &input.d, &gy, &gm, &gd, &weekday), 0)
        << ToString(hijri);
    EXPECT_EQ((Ymd{gy, gm, gd}), Ymd{}) << ToString(hijri);
    EXPECT_EQ(weekday, 0) << ToString(hijri);
    EXPECT_EQ(input, hijri);
  }
}

TEST(Converter, RefusesNullPointersAndWritesNothing) {
  // Given a null pointer in any position, expect a non-zero result and the other outputs untouched.
  for (int null_at = 0; null_at < 4; ++null_at) {
    int32_t out[4] = {-7, -7, -7, -7};
    int32_t* p[4] = {&out[0], &out[1], &out[2], &out[3]};
    p[null_at] = nullptr;
    EXPECT_NE(Library().g2ha()(2024, 12, 2, p[0], p[1], p[2], p[3]), 0) << null_at;
    for (int32_t value : out) EXPECT_EQ(value, -7) << null_at;
  }
  for (int null_at = 0; null_at < 7; ++null_at) {
    int32_t args[7] = {1446, 6, 1, -7, -7, -7, -7};
    int32_t* p[7] = {&args[0], &args[1], &args[2], &args[3], &args[4], &args[5], &args[6]};
    p[null_at] = nullptr;
    EXPECT_NE(Library().h2ga()(p[0], p[1], p[2], p[3], p[4], p[5], p[6]), 0) << null_at;
    for (int i = 3; i < 7; ++i) EXPECT_EQ(args[i], -7) << null_at;
  }
}

TEST(Converter, ReadsTheHijriDateBeforeWritingIntoTheSameVariables) {
  // Given H2GA's outputs in the very variables that hold its inputs, expect the right result.
  int32_t y = 1446, m = 6, d = 1, weekday = -1;
  EXPECT_EQ(Library().h2ga()(&y, &m, &d, &y, &m, &d, &weekday), 0);
  EXPECT_EQ((Ymd{y, m, d}), (Ymd{2024, 12, 2}));
  EXPECT_EQ(weekday, 1);
}

}  // namespace
}  // namespace lunavant::converter::testing
