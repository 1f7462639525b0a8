// SPDX-License-Identifier: MIT
#include "datepattern/date_pattern.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace lunavant::datepattern {
namespace {

std::string Format(std::string_view pattern, std::int32_t year, std::int32_t month,
                   std::int32_t day) {
  return DatePattern(pattern).Format(year, month, day);
}

TEST(DatePattern, WritesNamesNumbersAndQuotedText) {
  EXPECT_EQ(Format("ddd d MMM yyyy", 2004, 3, 15), "Mon 15 Mar 2004");
  EXPECT_EQ(Format("dddd, MMMM dd 'of' yy", 2004, 3, 5), "Friday, March 05 of 04");
  const std::string filler(60, 'x');
  EXPECT_EQ(Format("'" + filler + "' dddd d MMMM yyyy", 2004, 3, 15),
            filler + " Monday 15 March 2004");
  // A doubled quote is one quote, inside quoted text or on its own; an unclosed quote runs to the
  // end, so its letters are text, not fields.
  EXPECT_EQ(Format("'it''s' d", 2004, 3, 5), "it's 5");
  EXPECT_EQ(Format("d''M", 2004, 3, 5), "5'3");
  EXPECT_EQ(Format("d 'dd MM", 2004, 3, 5), "5 dd MM");
  // Month letters of either case make one run; the whole year keeps four digits.
  EXPECT_EQ(Format("mM/d/yyy", 987, 11, 2), "11/2/0987");
  EXPECT_EQ(Format("y", 2007, 1, 1), "7");
}

TEST(DatePattern, NeverWritesMoreThanItSaysAndKnowsEveryWeekday) {
  // Given patterns of every kind and dates across the years, expect each text within
  // MostWritten() and each weekday one after the day before.
  const std::vector<std::string> patterns = {"dd/MM/yy",   "d.M.yyyy", "dddd d MMMM yyyy 'x'",
                                             "yyyy-MM-dd", "ddd",      "MMM y"};
  for (const std::string& pattern : patterns) {
    const DatePattern compiled(pattern);
    for (std::int32_t year : {1, 99, 1899, 2000, 2004, 9999}) {
      for (std::int32_t month = 1; month <= 12; ++month) {
        const std::string text = compiled.Format(year, month, 28);
        EXPECT_LE(text.size(), compiled.MostWritten()) << pattern << " " << year;
      }
    }
    EXPECT_LE(compiled.Format(-2147483647, -2147483647, -2147483647).size(),
              compiled.MostWritten());
  }
  EXPECT_EQ(WeekdayOf(2000, 1, 1), 6);  // a Saturday
  EXPECT_EQ(WeekdayOf(1, 1, 1), 1);     // a Monday, in the proleptic calendar
  std::int32_t expected = WeekdayOf(1900, 1, 1);
  for (std::int32_t year = 1900; year <= 2100; ++year) {
    for (std::int32_t month = 1; month <= 12; ++month) {
      for (std::int32_t day = 1; IsCalendarDate(year, month, day); ++day) {
        ASSERT_EQ(WeekdayOf(year, month, day), expected) << year << "-" << month << "-" << day;
        expected = (expected + 1) % 7;
      }
    }
  }
  EXPECT_FALSE(IsCalendarDate(1900, 2, 29));
  EXPECT_TRUE(IsCalendarDate(2000, 2, 29));
  EXPECT_FALSE(IsCalendarDate(10000, 1, 1));
}

TEST(DatePattern, YearFormsLeaveQuotedTextAlone) {
  EXPECT_EQ(WithTwoDigitYears("dd/MM/yyyy"), "dd/MM/yy");
  EXPECT_EQ(WithTwoDigitYears("yyyy yyyy 'yyyy'"), "yy yy 'yyyy'");
  EXPECT_EQ(WithTwoDigitYears("yyyyy"), "yyy");
  EXPECT_EQ(WithWholeYears("d.MMM.y"), "d.MMM.yyyy");
  EXPECT_EQ(WithWholeYears("dd/MM/yy 'yy'"), "dd/MM/yyyy 'yy'");
  EXPECT_EQ(WithWholeYears("yyy"), "yyy");
}

TEST(DatePattern, FieldsStandWhereThePatternPutsThem) {
  const std::vector<FieldRun> fields = FieldsOf("dddd', 'dd 'of' MMM yy");
  ASSERT_EQ(fields.size(), 4u);
  EXPECT_EQ(fields[0].field, Field::kWeekday);
  EXPECT_EQ(fields[1].field, Field::kDay);
  EXPECT_EQ(fields[1].position, 8u);
  EXPECT_EQ(fields[2].field, Field::kMonthName);
  EXPECT_EQ(fields[3].field, Field::kYear);
  EXPECT_EQ(fields[3].letters, 2u);
  EXPECT_TRUE(FieldsOf("'dd/MM/yy'").empty());
}

}  // namespace
}  // namespace lunavant::datepattern
