// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "converter_checks.h"
#include "converter_library.h"
#include "test_data.h"

namespace lunavant::converter::testing {
namespace {

using std::chrono::sys_days;

const std::string kSharedData = LUNAVANT_SHARED_DATA;

const ConverterLibrary& Library() { return ConverterLibrary::Get(); }

void ExpectNoFaults(const Faults& faults) {
  for (const std::string& fault : faults) ADD_FAILURE() << fault;
}

sys_days Day(int32_t y, int32_t m, int32_t d) { return ToDays({y, m, d}); }

TEST(Converter, WalksEveryDayOfTheTableAndItsSeams) {
  // Given every day of the official table and 400 days either side, expect consecutive Hijri
  // days, exact round trips, weekdays moving on by one, and months as long as the table says.
  const std::vector<MonthRow> table = ReadMonthTable(kSharedData + "/umalqura-months.csv");
  if (table.empty()) GTEST_SKIP() << "no month table in " << kSharedData;
  ExpectNoFaults(CheckEveryDayOfTheTable(Library(), table));
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
  ExpectNoFaults(WalkDays(Library(), Day(622, 7, 19), Day(9999, 12, 31)).faults);
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
  ExpectNoFaults(CheckKnownDates(Library()));
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
  ExpectNoFaults(CheckDaysTheMonthLacks(Library(), table));
  // Note: 1355 is a tabular leap year, so its 12th month has a day 30 and 1354's does not.
  EXPECT_EQ(Library().ToGregorian({1354, 12, 30}).date, Library().ToGregorian({1355, 1, 1}).date);
  EXPECT_EQ(Library().ToGregorian({1600, 2, 30}).date, Library().ToGregorian({1600, 3, 1}).date);
}

TEST(Converter, RejectsImpossibleDatesAndLeavesOutputsAtZero) {
  // Given impossible or far-off dates in either calendar, expect a non-zero result, every output
  // at 0 and H2GA's inputs untouched.
  ExpectNoFaults(CheckImpossibleDates(Library()));
  EXPECT_EQ(Library().ToHijri({2000, 2, 29}).result, 0);
}

TEST(Converter, RefusesNullPointersAndWritesNothing) {
  // Given a null pointer in any position, expect a non-zero result and the other outputs untouched.
  ExpectNoFaults(CheckNullPointers(Library()));
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
