// SPDX-License-Identifier: MIT
#include "workbench/platform/date_reading.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "addin/host/error.h"
#include "workbench/platform/date_writing.h"

namespace lunavant::workbench {
namespace {

using host::DateTime;

constexpr auto kDmy = DateOrder::kDayMonthYear;
constexpr auto kMdy = DateOrder::kMonthDayYear;
constexpr auto kYmd = DateOrder::kYearMonthDay;

DateTime Date(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour = 0,
              std::int32_t minute = 0, std::int32_t second = 0) {
  return DateTime{year, month, day, hour, minute, second};
}

DateTime Time(std::int32_t hour, std::int32_t minute, std::int32_t second = 0) {
  return Date(0, 0, 0, hour, minute, second);
}

// The error that reading `text` raises; number 0 when it reads.
host::ErrorRecord ErrorOf(std::string_view text, DateOrder order = kDmy,
                          std::string_view separator = "/") {
  try {
    ReadDateText(text, order, separator);
  } catch (const host::HostError& error) {
    return error.record();
  }
  return {};
}

const host::ErrorRecord kMismatch{host::kTypeMismatch, "Type mismatch"};

TEST(DateReading, ReadsDayFirst) {
  // Given a day-month-year order, expect the elements taken in that order.
  EXPECT_EQ(ReadDateText("15/03/04", kDmy, "/"), Date(2004, 3, 15));
  EXPECT_EQ(ReadDateText("5/3/2004", kDmy, "/"), Date(2004, 3, 5));
  EXPECT_EQ(ReadDateText("05/03/2004", kDmy, "/"), Date(2004, 3, 5));
}

TEST(DateReading, MonthFirstDoesNotSwapDayAndMonth) {
  // Given a month-first order, expect a day of 12 or less to stay the day, and a day above 12 in
  // the month's place to fail rather than be swapped.
  EXPECT_EQ(ReadDateText("3/5/2004", kMdy, "/"), Date(2004, 3, 5));
  EXPECT_EQ(ReadDateText("5/3/2004", kMdy, "/"), Date(2004, 5, 3));
  EXPECT_EQ(ReadDateText("3/15/04", kMdy, "/"), Date(2004, 3, 15));
  EXPECT_EQ(ErrorOf("15/3/2004", kMdy), kMismatch);
  EXPECT_EQ(ErrorOf("3/15/2004", kDmy), kMismatch);
}

TEST(DateReading, ReadsYearFirst) {
  // Given a year-first order, expect a two-digit first element to be the year; given any order,
  // expect a four-digit first element to be the year.
  EXPECT_EQ(ReadDateText("04/03/15", kYmd, "/"), Date(2004, 3, 15));
  EXPECT_EQ(ReadDateText("2004-03-15", kYmd, "/"), Date(2004, 3, 15));
  EXPECT_EQ(ReadDateText("2004-03-15", kDmy, "/"), Date(2004, 3, 15));
  EXPECT_EQ(ReadDateText("2004/3/5", kMdy, "/"), Date(2004, 3, 5));
}

TEST(DateReading, LongerSeparatorGetsItsChance) {
  // Given a user separator that starts with another separator, expect the longer one read where
  // the text has it and the shorter where it has only that.
  EXPECT_EQ(ReadDateText("15. 03. 2004", kDmy, ". "), Date(2004, 3, 15));
  EXPECT_EQ(ReadDateText("15.03.2004", kDmy, ". "), Date(2004, 3, 15));
  EXPECT_EQ(ReadDateText("15//03//2004", kDmy, "//"), Date(2004, 3, 15));
  EXPECT_EQ(ReadDateText("15/03/2004", kDmy, "//"), Date(2004, 3, 15));
  // Note: "15.-3.-04" reads with ".-", never as "15" "." "-3".
  EXPECT_EQ(ReadDateText("15.-3.-04", kDmy, ".-"), Date(2004, 3, 15));
  EXPECT_EQ(ErrorOf("15. 03.2004", kDmy, ". "), kMismatch);
}

TEST(DateReading, TimeColonComesBeforeTheUsersSeparator) {
  // Given the user separator ":", expect a text shaped as a time read as the time, and a date read
  // as a date where it cannot be a time (a weekday before it, a four-digit year).
  EXPECT_EQ(ReadDateText("10:11:12", kDmy, ":"), Time(10, 11, 12));
  EXPECT_EQ(ReadDateText("15:03:2004 10:11:12", kDmy, ":"), Date(2004, 3, 15, 10, 11, 12));
  EXPECT_EQ(ReadDateText("Mon 15:03:04", kDmy, ":"), Date(2004, 3, 15));
  EXPECT_TRUE(ReadsAsTimeOfDay(" 10:11 PM "));
  EXPECT_FALSE(ReadsAsTimeOfDay("15:03:2004"));
}

TEST(DateReading, ReadsYearDayMonth) {
  // Given the year-day-month order (ce_RU), expect a four-digit year first not to force the month
  // into second place.
  EXPECT_EQ(DateOrderOfPattern("yyyy.dd.MM"), DateOrder::kYearDayMonth);
  EXPECT_EQ(ReadDateText("2004.05.03", DateOrder::kYearDayMonth, "."), Date(2004, 3, 5));
  EXPECT_EQ(ReadDateText("04.15.03", DateOrder::kYearDayMonth, "."), Date(2004, 3, 15));
  EXPECT_EQ(ErrorOf("2004.03.15", DateOrder::kYearDayMonth, "."), kMismatch);
}

TEST(DateReading, AcceptsTheUsualSeparatorsAndTheUsersOwn) {
  // Given "/", "-", "." or the user's separator, used twice the same, expect the same date.
  EXPECT_EQ(ReadDateText("15-03-04", kDmy, "/"), Date(2004, 3, 15));
  EXPECT_EQ(ReadDateText("15.03.04", kDmy, "/"), Date(2004, 3, 15));
  EXPECT_EQ(ReadDateText("15_03_04", kDmy, "_"), Date(2004, 3, 15));
  EXPECT_EQ(ReadDateText("2004. 03. 15", kYmd, ". "), Date(2004, 3, 15));
  EXPECT_EQ(ReadDateText("2004.03.15", kYmd, ". "), Date(2004, 3, 15));
  EXPECT_EQ(ErrorOf("15_03_04", kDmy, "/"), kMismatch);
  EXPECT_EQ(ErrorOf("15/03-04"), kMismatch);
  EXPECT_EQ(ErrorOf("15 / 03 / 04"), kMismatch);
}

TEST(DateReading, ExpandsTwoDigitYearsInto1930To2029) {
  // Given one or two year digits, expect 00..29 in the 2000s and 30..99 in the 1900s.
  EXPECT_EQ(ReadDateText("01/01/29", kDmy, "/").year, 2029);
  EXPECT_EQ(ReadDateText("01/01/30", kDmy, "/").year, 1930);
  EXPECT_EQ(ReadDateText("01/01/00", kDmy, "/").year, 2000);
  EXPECT_EQ(ReadDateText("31/12/99", kDmy, "/").year, 1999);
  EXPECT_EQ(ReadDateText("01/01/4", kDmy, "/").year, 2004);
  // Note: three or four digits are the year as written, and below 100 it is out of range.
  EXPECT_EQ(ReadDateText("01/01/0100", kDmy, "/").year, 100);
  EXPECT_EQ(ReadDateText("01/01/130", kDmy, "/").year, 130);
  EXPECT_EQ(ReadDateText("31/12/9999", kDmy, "/").year, 9999);
  EXPECT_EQ(ErrorOf("01/01/0029"), kMismatch);
  EXPECT_EQ(ErrorOf("01/01/10000"), kMismatch);
}

TEST(DateReading, RequiresARealDate) {
  // Given an impossible day or month, expect a type mismatch; leap days only in leap years.
  EXPECT_EQ(ReadDateText("29/02/2004", kDmy, "/"), Date(2004, 2, 29));
  EXPECT_EQ(ReadDateText("29/02/2000", kDmy, "/"), Date(2000, 2, 29));
  EXPECT_EQ(ErrorOf("29/02/1900"), kMismatch);
  EXPECT_EQ(ErrorOf("29/02/2003"), kMismatch);
  EXPECT_EQ(ErrorOf("31/02/2004"), kMismatch);
  EXPECT_EQ(ErrorOf("31/04/2004"), kMismatch);
  EXPECT_EQ(ErrorOf("00/01/2004"), kMismatch);
  EXPECT_EQ(ErrorOf("15/13/2004"), kMismatch);
  EXPECT_EQ(ErrorOf("15/00/2004"), kMismatch);
}

TEST(DateReading, SkipsAWeekdayNameBeforeTheDate) {
  // Given an English weekday name in any letter case, short or full, with a comma or blanks,
  // expect the date that follows.
  const DateTime march15 = Date(2004, 3, 15);
  EXPECT_EQ(ReadDateText("Mon 15/03/04", kDmy, "/"), march15);
  EXPECT_EQ(ReadDateText("monday 15/03/04", kDmy, "/"), march15);
  EXPECT_EQ(ReadDateText("MON, 15/03/04", kDmy, "/"), march15);
  EXPECT_EQ(ReadDateText("Monday,15/03/04", kDmy, "/"), march15);
  EXPECT_EQ(ReadDateText("  Mon   15/03/04  ", kDmy, "/"), march15);
  // Note: the name is not checked against the date; the user who edited the date means the date.
  EXPECT_EQ(ReadDateText("Tue 15/03/04", kDmy, "/"), march15);
  EXPECT_EQ(ErrorOf("Mon15/03/04"), kMismatch);
  EXPECT_EQ(ErrorOf("Mo 15/03/04"), kMismatch);
  EXPECT_EQ(ErrorOf("Mond 15/03/04"), kMismatch);
  EXPECT_EQ(ErrorOf("15/03/04 Mon"), kMismatch);
  EXPECT_EQ(ErrorOf("Mon Mon 15/03/04"), kMismatch);
}

TEST(DateReading, ReadsEnglishMonthNames) {
  // Given a month name in the month's place, expect its number.
  EXPECT_EQ(ReadDateText("15/Mar/2004", kDmy, "/"), Date(2004, 3, 15));
  EXPECT_EQ(ReadDateText("Monday 15 March 2004", kDmy, " "), Date(2004, 3, 15));
  EXPECT_EQ(ReadDateText("SEPTEMBER-1-2004", kMdy, "/"), Date(2004, 9, 1));
  EXPECT_EQ(ErrorOf("15/Mars/2004"), kMismatch);
  EXPECT_EQ(ErrorOf("Mar/15/2004"), kMismatch);
}

TEST(DateReading, ReadsATimeAloneWithNoDate) {
  // Given only a time of day, expect year, month and day 0.
  EXPECT_EQ(ReadDateText("08:00", kDmy, "/"), Time(8, 0));
  EXPECT_EQ(ReadDateText("8:5", kDmy, "/"), Time(8, 5));
  EXPECT_EQ(ReadDateText("17:30:15", kDmy, "/"), Time(17, 30, 15));
  EXPECT_EQ(ReadDateText("0:00", kDmy, "/"), Time(0, 0));
  EXPECT_EQ(ReadDateText("23:59:59", kDmy, "/"), Time(23, 59, 59));
}

TEST(DateReading, ReadsTwelveHourTimes) {
  // Given AM or PM, with or without a blank and minutes, expect the 24-hour time.
  EXPECT_EQ(ReadDateText("8:00 AM", kDmy, "/"), Time(8, 0));
  EXPECT_EQ(ReadDateText("8:00 pm", kDmy, "/"), Time(20, 0));
  EXPECT_EQ(ReadDateText("8 PM", kDmy, "/"), Time(20, 0));
  EXPECT_EQ(ReadDateText("8pm", kDmy, "/"), Time(20, 0));
  EXPECT_EQ(ReadDateText("11:30:05PM", kDmy, "/"), Time(23, 30, 5));
  // Note: 12 AM is midnight and 12 PM noon.
  EXPECT_EQ(ReadDateText("12:00 AM", kDmy, "/"), Time(0, 0));
  EXPECT_EQ(ReadDateText("12:00 PM", kDmy, "/"), Time(12, 0));
  EXPECT_EQ(ErrorOf("13:00 PM"), kMismatch);
  EXPECT_EQ(ErrorOf("0:30 AM"), kMismatch);
  EXPECT_EQ(ErrorOf("8:00 AMX"), kMismatch);
  EXPECT_EQ(ErrorOf("8:00 A"), kMismatch);
}

TEST(DateReading, RefusesImpossibleTimes) {
  // Given an hour, minute or second out of range, or a time cut short, expect a type mismatch.
  EXPECT_EQ(ErrorOf("24:00"), kMismatch);
  EXPECT_EQ(ErrorOf("8:60"), kMismatch);
  EXPECT_EQ(ErrorOf("8:00:60"), kMismatch);
  EXPECT_EQ(ErrorOf("8:"), kMismatch);
  EXPECT_EQ(ErrorOf("8:00:"), kMismatch);
  EXPECT_EQ(ErrorOf(":30"), kMismatch);
  EXPECT_EQ(ErrorOf("8:000"), kMismatch);
  EXPECT_EQ(ErrorOf("008:00"), kMismatch);
  EXPECT_EQ(ErrorOf("8:00:00:00"), kMismatch);
}

TEST(DateReading, ReadsDateAndTimeInEitherOrder) {
  // Given a date and a time apart by blanks, in either order, expect both.
  const DateTime expected = Date(2004, 3, 15, 8, 0);
  EXPECT_EQ(ReadDateText("15/03/04 08:00", kDmy, "/"), expected);
  EXPECT_EQ(ReadDateText("08:00 15/03/04", kDmy, "/"), expected);
  EXPECT_EQ(ReadDateText(" \t15/03/04   8:00 AM \n", kDmy, "/"), expected);
  EXPECT_EQ(ReadDateText("Mon 15/03/04 8 PM", kDmy, "/"), Date(2004, 3, 15, 20, 0));
  EXPECT_EQ(ReadDateText("8:00 Mon, 15/03/04", kDmy, "/"), expected);
  EXPECT_EQ(ReadDateText("15/03/04 00:00", kDmy, "/"), Date(2004, 3, 15));
  EXPECT_EQ(ErrorOf("15/03/0408:00"), kMismatch);
  EXPECT_EQ(ErrorOf("15/03/04 08:00 09:00"), kMismatch);
  EXPECT_EQ(ErrorOf("15/03/04 16/03/04"), kMismatch);
  EXPECT_EQ(ErrorOf("15/03/04 8"), kMismatch);
}

TEST(DateReading, RefusesTextThatIsNoDate) {
  // Given text that holds neither a whole date nor a time, expect a type mismatch with the
  // runtime's exact description.
  for (std::string_view text :
       {"",          " ",         "x",         "2004",    "na",        "NA",       "15",
        "15/03",     "15/03/",    "/03/04",    "1/2/3/4", "15//04",    "Mon",      "Mon,",
        "Mon 08:00", "15/03/04x", "+15/03/04", "-8:00",   "15/03/04,", "1e3/03/04"}) {
    EXPECT_EQ(ErrorOf(text), kMismatch) << '"' << text << '"';
  }
}

TEST(DateReading, SurvivesHostileText) {
  // Given embedded zeros, huge numbers and very long text, expect a clean type mismatch.
  using namespace std::string_literals;
  EXPECT_EQ(ErrorOf("15/03/04\0"s), kMismatch);
  EXPECT_EQ(ErrorOf("15\0/03/04"s), kMismatch);
  EXPECT_EQ(ErrorOf("\0"s), kMismatch);
  EXPECT_EQ(ErrorOf("99999999999999999999/03/04"), kMismatch);
  EXPECT_EQ(ErrorOf("15/03/99999999999999999999"), kMismatch);
  EXPECT_EQ(ErrorOf("99999999999999999999:00"), kMismatch);
  EXPECT_EQ(ErrorOf("15/03/04" + std::string(1'000'000, ' ') + "x"), kMismatch);
  EXPECT_EQ(ErrorOf(std::string(1'000'000, '1')), kMismatch);
  EXPECT_EQ(ErrorOf(std::string(1'000'000, 'M')), kMismatch);
  EXPECT_EQ(ErrorOf("\xff\xfe/03/04"), kMismatch);
  EXPECT_EQ(ReadDateText(std::string(100'000, ' ') + "15/03/04", kDmy, "/"), Date(2004, 3, 15));
}

TEST(DateReading, RandomTextReadsOrFailsCleanly) {
  // Given many random texts over an alphabet of the reader's own pieces, expect each either to
  // fail with a type mismatch or to give a value within range that reads back the same.
  std::mt19937 random(20040315);
  constexpr std::string_view kPieces[] = {
      "1",   "2", "9", "0",  "12", "31",  "2004", "/",   "-",
      ".",   ":", " ", "AM", "pm", "Mon", ",",    "Mar", std::string_view("\0", 1),
      "\xc3"};
  std::uniform_int_distribution<std::size_t> piece(0, std::size(kPieces) - 1);
  std::uniform_int_distribution<int> count(0, 12);
  int read = 0;
  for (int i = 0; i < 200'000; ++i) {
    std::string text;
    for (int n = count(random); n > 0; --n) text += kPieces[piece(random)];
    const DateOrder order = static_cast<DateOrder>(i % 3);
    DateTime when;
    try {
      when = ReadDateText(text, order, "/");
    } catch (const host::HostError& error) {
      ASSERT_EQ(error.record(), kMismatch) << text;
      continue;
    }
    ++read;
    const bool time_only = when.year == 0 && when.month == 0 && when.day == 0;
    ASSERT_TRUE(time_only || IsReadableDate(when.year, when.month, when.day)) << text;
    ASSERT_TRUE(when.hour >= 0 && when.hour <= 23 && when.minute >= 0 && when.minute <= 59 &&
                when.second >= 0 && when.second <= 59)
        << text;
    std::string again = FormatTimeOfDay(when.hour, when.minute, when.second);
    if (!time_only) {
      const std::string_view pattern = order == DateOrder::kDayMonthYear   ? "dd/MM/yyyy"
                                       : order == DateOrder::kMonthDayYear ? "MM/dd/yyyy"
                                                                           : "yyyy/MM/dd";
      again = FormatDateWithPattern(pattern, when.year, when.month, when.day, false) + " " + again;
    }
    ASSERT_EQ(ReadDateText(again, order, "/"), when) << text;
  }
  EXPECT_GT(read, 100);
}

TEST(DateReading, OrderOfPattern) {
  // Given a pattern, expect the order of its day, month and year fields; weekday names and quoted
  // text do not count, and a pattern lacking a field gives month-day-year.
  EXPECT_EQ(DateOrderOfPattern("dd/MM/yyyy"), kDmy);
  EXPECT_EQ(DateOrderOfPattern("d.M.yy"), kDmy);
  EXPECT_EQ(DateOrderOfPattern("M/d/yyyy"), kMdy);
  EXPECT_EQ(DateOrderOfPattern("mm/dd/yy"), kMdy);
  EXPECT_EQ(DateOrderOfPattern("yyyy-MM-dd"), kYmd);
  EXPECT_EQ(DateOrderOfPattern("yyyy\xe5\xb9\xb4MM\xe6\x9c\x88"
                               "dd\xe6\x97\xa5"),
            kYmd);
  EXPECT_EQ(DateOrderOfPattern("dddd d MMMM yyyy"), kDmy);
  EXPECT_EQ(DateOrderOfPattern("ddd MM/dd/yy"), kMdy);
  EXPECT_EQ(DateOrderOfPattern("'d' MM/yy"), kMdy);
  EXPECT_EQ(DateOrderOfPattern(""), kMdy);
  EXPECT_EQ(DateOrderOfPattern("dd/MM"), kMdy);
}

}  // namespace
}  // namespace lunavant::workbench
