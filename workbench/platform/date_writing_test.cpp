// SPDX-License-Identifier: MIT
#include "workbench/platform/date_writing.h"

#include <gtest/gtest.h>

namespace lunavant::workbench {
namespace {

TEST(DateFormatting, WritesTheFieldsOfThePattern) {
  // Given 5 March 2004, expect each field written as the platform's short-date formatting does.
  EXPECT_EQ(FormatDateWithPattern("dd/MM/yyyy", 2004, 3, 5, false), "05/03/2004");
  EXPECT_EQ(FormatDateWithPattern("d/M/yy", 2004, 3, 5, false), "5/3/04");
  EXPECT_EQ(FormatDateWithPattern("dd.mm.y", 2004, 3, 5, false), "05.03.4");
  EXPECT_EQ(FormatDateWithPattern("ddd dd MMM yyyy", 2004, 3, 5, false), "Fri 05 Mar 2004");
  EXPECT_EQ(FormatDateWithPattern("dddd, MMMM d", 2004, 3, 5, false), "Friday, March 5");
  EXPECT_EQ(FormatDateWithPattern("dd 'de' MMMM 'de' yyyy", 2004, 3, 5, false),
            "05 de March de 2004");
  EXPECT_EQ(FormatDateWithPattern("dd''MM", 2004, 3, 5, false), "05'03");
  EXPECT_EQ(FormatDateWithPattern("yyyy", 999, 3, 5, false), "0999");
  EXPECT_EQ(FormatDateWithPattern("", 2004, 3, 5, false), "03/05/04");
}

TEST(DateFormatting, TwoDigitYearReplacesEveryFourDigitYear) {
  // Given two_digit_year, expect every yyyy written as yy and the day and month never exchanged.
  EXPECT_EQ(FormatDateWithPattern("dd/MM/yyyy", 2004, 3, 5, true), "05/03/04");
  EXPECT_EQ(FormatDateWithPattern("M/d/yyyy", 2004, 3, 5, true), "3/5/04");
  EXPECT_EQ(FormatDateWithPattern("M/d/yyyy", 2004, 3, 15, true), "3/15/04");
  EXPECT_EQ(FormatDateWithPattern("dd-MM-yy", 2004, 3, 5, true), "05-03-04");
  EXPECT_EQ(FormatDateWithPattern("yyyy/MM/dd", 2004, 3, 5, true), "04/03/05");
  EXPECT_EQ(FormatDateWithPattern("yyyy yyyy", 1999, 12, 31, true), "99 99");
}

TEST(DateFormatting, WritesImpossibleDatesAsNumbers) {
  // Given values out of range, expect numbers as they are and names left out.
  EXPECT_EQ(FormatDateWithPattern("dd/MM/yyyy", 2004, 2, 31, false), "31/02/2004");
  EXPECT_EQ(FormatDateWithPattern("ddd dd MMM", 2004, 13, 0, false), " 00 ");
  EXPECT_EQ(FormatDateWithPattern("dd/MM/yy", -1, -2, 100, false), "100/-2/99");
}

TEST(DateFormatting, TimeOfDayHasTwoDigitsEach) {
  // Given a time of day, expect HH:MM:SS on the 24-hour clock.
  EXPECT_EQ(FormatTimeOfDay(8, 5, 0), "08:05:00");
  EXPECT_EQ(FormatTimeOfDay(23, 59, 59), "23:59:59");
}

}  // namespace
}  // namespace lunavant::workbench
