// SPDX-License-Identifier: MIT
// The date picker's months through the real converter, against the Umm al-Qura month table the
// converter is built from, and the Hijri text a picked day becomes.
#include "workbench/view/calendar_month.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "workbench/holidays/holiday_dates.h"
#include "workbench/platform/library_loader.h"
#include "workbench/schedule/calendar.h"
#include "workbench/view/hijri_days.h"

namespace lunavant::workbench {
namespace {

class CalendarMonthTest : public ::testing::Test {
 protected:
  CalendarMonthTest() : loader_({LUNAVANT_CONVERTER_DIR}), hijri_(loader_) {}
  PosixLibraryLoader loader_;
  ConverterHijriCalendar hijri_;
};

TEST_F(CalendarMonthTest, StepsThroughEveryMonthOfTheUmmAlQuraTable) {
  // Given the table's rows (year, month, first day, length), expect MonthOf each first day and
  // MonthAfter from the month before to give that row, from 1356-01 to 1500-12, the 28-day month
  // 1364-08 and every year's turn among them; and a step back to undo a step on.
  std::ifstream csv(LUNAVANT_MONTH_TABLE);
  ASSERT_TRUE(csv.good()) << LUNAVANT_MONTH_TABLE;
  std::string line;
  std::getline(csv, line);  // the header
  std::optional<CalendarMonth> previous;
  int rows = 0;
  while (std::getline(csv, line)) {
    std::istringstream fields(line);
    std::string year, month, first, length;
    std::getline(fields, year, ',');
    std::getline(fields, month, ',');
    std::getline(fields, first, ',');
    std::getline(fields, length, ',');
    const CalendarMonth expected{
        TierCalendar::kHijri, std::stoi(year), std::stoi(month),
        DaysFromCivil(std::stoi(first.substr(0, 4)), std::stoi(first.substr(5, 2)),
                      std::stoi(first.substr(8, 2))),
        std::stoi(length)};
    SCOPED_TRACE(line);
    EXPECT_EQ(MonthOf(TierCalendar::kHijri, expected.first_day + expected.length - 1, hijri_),
              expected);
    if (previous) {
      EXPECT_EQ(MonthAfter(*previous, 1, hijri_), expected);
      EXPECT_EQ(MonthAfter(expected, -1, hijri_), previous);
    }
    previous = expected;
    ++rows;
  }
  EXPECT_EQ(rows, (1500 - 1356 + 1) * 12);
  EXPECT_EQ(MonthAfter(*previous, -12 * 144 - 11, hijri_)->first_day, DaysFromCivil(1937, 3, 14));
}

TEST_F(CalendarMonthTest, GregorianMonthsKeepTheirLeapYearsAndStopAtTheRangeEnds) {
  const auto february = [this](std::int32_t year) {
    return MonthOf(TierCalendar::kGregorian, DaysFromCivil(year, 2, 10), hijri_)->length;
  };
  EXPECT_EQ(february(2024), 29);
  EXPECT_EQ(february(2100), 28);
  EXPECT_EQ(february(2000), 29);
  const CalendarMonth december =
      *MonthOf(TierCalendar::kGregorian, DaysFromCivil(2025, 12, 31), hijri_);
  EXPECT_EQ(*MonthAfter(december, 1, hijri_),
            (CalendarMonth{TierCalendar::kGregorian, 2026, 1, DaysFromCivil(2026, 1, 1), 31}));
  EXPECT_EQ(MonthAfter(december, -23, hijri_)->year, 2024);
  EXPECT_EQ(MonthAfter(december, -23, hijri_)->month, 1);
  EXPECT_FALSE(MonthAfter(december, 12 * 8000, hijri_));
  EXPECT_FALSE(MonthAfter(december, -12 * 2025, hijri_));
}

TEST(HijriText, ReadsWhatItWritesAndRefusesTheRest) {
  // Given the add-in's form (two-digit day and month), expect it read back, one-digit parts and
  // another separator too; "NA", empty text, month 13, day 31 and a missing part to be refused.
  EXPECT_EQ(HijriText({1446, 9, 5}, "/"), "05/09/1446");
  EXPECT_EQ(ReadHijriText("05/09/1446", "/"), (HijriDate{1446, 9, 5}));
  EXPECT_EQ(ReadHijriText("5-9-1446", "-"), (HijriDate{1446, 9, 5}));
  EXPECT_EQ(ReadHijriText("30/12/1446", "/"), (HijriDate{1446, 12, 30}));
  for (const char* refused : {"NA", "", "05/13/1446", "31/01/1446", "05/09", "05/09/", "a/09/1446",
                              "05.09.1446", "00/09/1446"}) {
    EXPECT_FALSE(ReadHijriText(refused, "/")) << refused;
  }
  EXPECT_EQ(DateFieldOfHijriAlias("HijriFinish"), host::field::kFinish);
  EXPECT_FALSE(DateFieldOfHijriAlias("hijrifinish"));
}

}  // namespace
}  // namespace lunavant::workbench
