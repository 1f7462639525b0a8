// SPDX-License-Identifier: MIT
#include "corrections.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "civil.h"

namespace lunavant::converter::detail {
namespace {

struct Day {
  int32_t hy, hm, hd;
  bool operator==(const Day&) const = default;
};

Day HijriOf(const MonthTable& table, int32_t z) {
  const HijriDate h = HijriFromDays(table, z);
  return {h.year, h.month, h.day};
}

// The Gregorian days whose Hijri date differs between the two tables, over the whole table.
std::vector<int32_t> DaysThatDiffer(const MonthTable& a, const MonthTable& b) {
  std::vector<int32_t> days;
  for (int32_t z = kTableFirstDay - 10; z < kTableFirstDay + kTableSpan + 10; ++z) {
    if (!(HijriOf(a, z) == HijriOf(b, z))) days.push_back(z);
  }
  return days;
}

// The Hijri months (y * 12 + m - 1) of the table whose days have another Gregorian day in `b`.
std::vector<int32_t> MonthsThatDiffer(const MonthTable& a, const MonthTable& b) {
  std::vector<int32_t> months;
  for (int32_t index = kFirstMonthIndex; index < kEndMonthIndex; ++index) {
    const MonthSpan in_a = HijriMonthSpan(a, index / 12, index % 12 + 1);
    const MonthSpan in_b = HijriMonthSpan(b, index / 12, index % 12 + 1);
    if (in_a.start != in_b.start || in_a.length != in_b.length) months.push_back(index);
  }
  return months;
}

TEST(Corrections, MovingOneMonthStartChangesThatMonthAndTheOneBeforeItOnly) {
  // Given Shawwal 1446 starting a day later (Ramadan 30 days, Shawwal 29), expect exactly the
  // days from 30 March 2025 to the end of Shawwal to read otherwise, 30 March as 30 Ramadan; and
  // given Dhu al-Qa'dah 1446 a day earlier (Shawwal 29 days, Dhu al-Qa'dah 30), the same the
  // other way round.
  const CorrectedTable later =
      ApplyCorrections("# announced\n1446-10 | starts 2025-03-31 | Supreme Court, 29 March\n");
  ASSERT_TRUE(later.accepted) << later.reason;
  const std::vector<int32_t> moved = DaysThatDiffer(kBuiltInTable, later.table);
  ASSERT_EQ(moved.size(), 30u);  // all of Shawwal as the table has it
  EXPECT_EQ(moved.front(), DaysFromCivil(2025, 3, 30));
  EXPECT_EQ(moved.back(), DaysFromCivil(2025, 4, 28));
  EXPECT_EQ(HijriOf(later.table, DaysFromCivil(2025, 3, 30)), (Day{1446, 9, 30}));
  EXPECT_EQ(HijriOf(later.table, DaysFromCivil(2025, 3, 31)), (Day{1446, 10, 1}));
  EXPECT_EQ(HijriOf(later.table, DaysFromCivil(2025, 4, 28)), (Day{1446, 10, 29}));
  EXPECT_EQ(HijriOf(later.table, DaysFromCivil(2025, 4, 29)), (Day{1446, 11, 1}));
  EXPECT_EQ(MonthsThatDiffer(kBuiltInTable, later.table),
            (std::vector<int32_t>{1446 * 12 + 8, 1446 * 12 + 9}));
  EXPECT_EQ(ChangedMonthLines(later.table),
            "changed: 1446-09 2025-03-01 30 days (table 2025-03-01 29 days)\n"
            "changed: 1446-10 2025-03-31 29 days (table 2025-03-30 30 days)\n");

  const CorrectedTable earlier =
      ApplyCorrections("1446-11 | starts 2025-04-28 | announced\r\n1446-10 | 29 days | same\r\n");
  ASSERT_TRUE(earlier.accepted) << earlier.reason;
  const std::vector<int32_t> moved_back = DaysThatDiffer(kBuiltInTable, earlier.table);
  ASSERT_EQ(moved_back.size(), 30u);  // all of Dhu al-Qa'dah as the table has it, and one day
  EXPECT_EQ(moved_back.front(), DaysFromCivil(2025, 4, 28));
  EXPECT_EQ(HijriOf(earlier.table, DaysFromCivil(2025, 4, 28)), (Day{1446, 11, 1}));
  EXPECT_EQ(HijriOf(earlier.table, DaysFromCivil(2025, 5, 27)), (Day{1446, 11, 30}));
  EXPECT_EQ(HijriOf(earlier.table, DaysFromCivil(2025, 5, 28)), (Day{1446, 12, 1}));
  EXPECT_EQ(MonthsThatDiffer(kBuiltInTable, earlier.table),
            (std::vector<int32_t>{1446 * 12 + 9, 1446 * 12 + 10}));
}

TEST(Corrections, ALengthMovesTheNextMonthsStartAndABomAndCommentsAreNoLines) {
  // Given Ramadan 1446 as 30 days, written after a byte-order mark and comments, expect the same
  // table as Shawwal starting a day later, and the correction's own line number.
  const CorrectedTable by_length = ApplyCorrections(
      "\xEF\xBB\xBF# corrections\n\n  # indented comment\n"
      "1446-9 | 30 days | Supreme Court, 29 March 2025  \n");
  ASSERT_TRUE(by_length.accepted) << by_length.reason;
  ASSERT_EQ(by_length.corrections.size(), 1u);
  EXPECT_EQ(by_length.corrections[0].line, 4);
  EXPECT_EQ(by_length.corrections[0].source, "Supreme Court, 29 March 2025");
  const CorrectedTable by_start = ApplyCorrections("1446-10 | starts 2025-03-31 | x");
  EXPECT_EQ(by_length.table.start, by_start.table.start);
  EXPECT_EQ(by_length.table.bucket, by_start.table.bucket);
  EXPECT_TRUE(ApplyCorrections("").accepted);
  EXPECT_EQ(ApplyCorrections("# nothing\n").table.start, kBuiltInTable.start);
}

TEST(Corrections, RefusesAWholeFileForOneBadLineAndSaysWhichAndWhy) {
  // Given a file with one fault, expect it refused with the line and the reason, and the
  // built-in table in its place.
  const struct {
    const char* text;
    const char* reason;
  } cases[] = {
      {"1446-10 starts 2025-03-31 | x",
       "line 1: expected \"YEAR-MM | starts YYYY-MM-DD | source\" or \"YEAR-MM | N days | "
       "source\""},
      {"# c\n1446-10 | begins 2025-03-31 | x",
       "line 2: expected \"YEAR-MM | starts YYYY-MM-DD | source\" or \"YEAR-MM | N days | "
       "source\""},
      {"1446-10 | starts 2025-3-31-1 | x",
       "line 1: expected \"YEAR-MM | starts YYYY-MM-DD | source\" or \"YEAR-MM | N days | "
       "source\""},
      {"1446-10 | starts 2025-03-31 |  ", "line 1: no source: say where the date was announced"},
      {"1446-13 | 30 days | x", "line 1: 1446-13 is no Hijri month"},
      {"1446-10 | starts 2025-02-29 | x", "line 1: 2025-02-29 is no Gregorian day"},
      {"1501-01 | 30 days | x",
       "line 1: 1501-01 is outside the Umm al-Qura table (1356-01 to "
       "1500-12)"},
      {"1446-09 | 31 days | x", "line 1: a month of 31 days; a month has 29 or 30"},
      {"1446-09 | 28 days | x", "line 1: a month of 28 days; a month has 29 or 30"},
      {"1446-09 | 99999999999 days | x",
       "line 1: expected \"YEAR-MM | starts YYYY-MM-DD | source\" or \"YEAR-MM | N days | "
       "source\""},
      {"1446-10 | starts 2025-04-01 | x",
       "line 1: 1446-09 would have 31 days; a month has 29 or 30"},
      {"1446-10 | starts 2025-03-29 | x",
       "line 1: 1446-09 would have 28 days; a month has 29 or 30"},
      {"1446-11 | starts 2025-04-30 | x",
       "line 1: 1446-10 would have 31 days; a month has 29 or 30"},
      {"1446-10 | starts 2025-03-31 | x\n1446-10 | starts 2025-03-31 | y",
       "line 2: 1446-10 is corrected twice (line 1)"},
      {"1446-09 | 30 days | x\n1446-10 | starts 2025-04-01 | y",
       "line 2: 1446-10 starts 2025-04-01, but 1446-09 ends on 2025-03-30 (line 1): a gap of 1 "
       "day"},
      {"1446-09 | 29 days | x\n1446-10 | starts 2025-03-31 | y",
       "line 2: 1446-10 starts 2025-03-31, but 1446-09 ends on 2025-03-29 (line 1): a gap of 1 "
       "day"},
      {"1446-09 | 30 days | x\n1446-10 | starts 2025-03-30 | y",
       "line 2: 1446-10 starts 2025-03-30, but 1446-09 ends on 2025-03-30 (line 1): an overlap of "
       "1 day"},
      {"1446-10 | starts 1970-01-01 | x",
       "line 1: 1446-09 would have -20148 days; a month has 29 or 30"},
      {"1356-01 | starts 1937-03-15 | x",
       "line 1: 1356-01 starts the table; its first day cannot move"},
      {"1500-12 | 30 days | x", "line 1: 1500-12 ends the table; its length cannot change"},
  };
  for (const auto& c : cases) {
    const CorrectedTable result = ApplyCorrections(c.text);
    EXPECT_FALSE(result.accepted) << c.text;
    EXPECT_EQ(result.reason, c.reason) << c.text;
    EXPECT_EQ(result.table.start, kBuiltInTable.start) << c.text;
  }
  EXPECT_EQ(ApplyCorrections(std::string(kMaxCorrectionsBytes + 1, '#')).reason,
            "the file is longer than 1 MiB");
}

}  // namespace
}  // namespace lunavant::converter::detail
