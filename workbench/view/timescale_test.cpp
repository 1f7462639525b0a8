// SPDX-License-Identifier: MIT
#include "workbench/view/timescale.h"

#include <gtest/gtest.h>

#include "workbench/platform/library_loader.h"
#include "workbench/schedule/calendar.h"
#include "workbench/view/hijri_days.h"

namespace lunavant::workbench {
namespace {

std::int64_t Day(std::int32_t y, std::int32_t m, std::int32_t d) { return DaysFromCivil(y, m, d); }

class TimescaleTest : public ::testing::Test {
 protected:
  TimescaleTest() : loader_({LUNAVANT_CONVERTER_DIR}), hijri_(loader_) {}
  PosixLibraryLoader loader_;
  HijriDays hijri_;
};

TEST_F(TimescaleTest, GregorianMonthsCoverTheRangeWithTheirTrueLengths) {
  // Given a range from mid-February to early April of a leap year, expect three whole months.
  const Timescale scale(TimescaleZoom::kDays);
  const std::vector<TierCell> months = scale.Cells(TierCalendar::kGregorian, TierUnit::kMonth,
                                                   Day(2004, 2, 10), Day(2004, 4, 5), nullptr);
  ASSERT_EQ(months.size(), 3u);
  EXPECT_EQ(months[0], (TierCell{Day(2004, 2, 1), Day(2004, 3, 1), "February 2004"}));
  EXPECT_EQ(months[1], (TierCell{Day(2004, 3, 1), Day(2004, 4, 1), "March 2004"}));
  EXPECT_EQ(months[2], (TierCell{Day(2004, 4, 1), Day(2004, 5, 1), "April 2004"}));
  // As the lower tier of a wider zoom the same months get short labels.
  const std::vector<TierCell> short_months =
      Timescale(TimescaleZoom::kMonths)
          .Cells(TierCalendar::kGregorian, TierUnit::kMonth, Day(2004, 2, 10), Day(2004, 2, 11),
                 nullptr);
  ASSERT_EQ(short_months.size(), 1u);
  EXPECT_EQ(short_months[0].label, "Feb");
}

TEST_F(TimescaleTest, HijriMonthsStartOnTheConvertersFirstDay) {
  // Given two Gregorian years, expect Hijri month cells that each run from day 1 to the day before
  // the next month's day 1, without gaps, named in order.
  const Timescale scale(TimescaleZoom::kDays);
  const std::int64_t first = Day(2024, 6, 15);
  const std::int64_t end = Day(2026, 6, 15);
  const std::vector<TierCell> months =
      scale.Cells(TierCalendar::kHijri, TierUnit::kMonth, first, end, &hijri_);
  ASSERT_GE(months.size(), 24u);
  EXPECT_LE(months.front().first_day, first);
  EXPECT_GE(months.back().end_day, end);
  for (std::size_t i = 0; i < months.size(); ++i) {
    const HijriDate opening = *hijri_.FromDays(months[i].first_day);
    const HijriDate closing = *hijri_.FromDays(months[i].end_day - 1);
    EXPECT_EQ(opening.day, 1) << months[i].label;
    EXPECT_GE(closing.day, 29) << months[i].label;
    EXPECT_EQ(months[i].label, HijriMonthName(opening.month) + " " + std::to_string(opening.year));
    if (i > 0) {
      EXPECT_EQ(months[i].first_day, months[i - 1].end_day);
    }
  }
  // 2 December 2024 is 1 Jumada II 1446.
  bool found = false;
  for (const TierCell& cell : months) {
    if (cell.first_day == Day(2024, 12, 2)) {
      EXPECT_EQ(cell.label, "Jumada II 1446");
      found = true;
    }
  }
  EXPECT_TRUE(found);
}

TEST_F(TimescaleTest, DaysAndWeeksOfBothCalendarsShareTheirBoundaries) {
  // Given one week at the closest zoom, expect seven Hijri day cells numbered as the converter
  // says, level with the Gregorian ones; weeks start on Sunday in both calendars.
  const Timescale days_scale(TimescaleZoom::kDays);
  const std::vector<TierCell> hijri_days = days_scale.Cells(
      TierCalendar::kHijri, TierUnit::kDay, Day(2024, 12, 1), Day(2024, 12, 8), &hijri_);
  const std::vector<TierCell> gregorian_days = days_scale.Cells(
      TierCalendar::kGregorian, TierUnit::kDay, Day(2024, 12, 1), Day(2024, 12, 8), nullptr);
  ASSERT_EQ(hijri_days.size(), 7u);
  ASSERT_EQ(gregorian_days.size(), 7u);
  EXPECT_EQ(hijri_days[0].label, "29");  // 29 Jumada I 1446
  EXPECT_EQ(hijri_days[1].label, "1");
  EXPECT_EQ(gregorian_days[1].label, "2");
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(hijri_days[i].first_day, gregorian_days[i].first_day);
  }

  const Timescale weeks_scale(TimescaleZoom::kWeeks);
  const std::vector<TierCell> hijri_weeks = weeks_scale.Cells(
      TierCalendar::kHijri, TierUnit::kWeek, Day(2024, 12, 4), Day(2024, 12, 20), &hijri_);
  const std::vector<TierCell> gregorian_weeks = weeks_scale.Cells(
      TierCalendar::kGregorian, TierUnit::kWeek, Day(2024, 12, 4), Day(2024, 12, 20), nullptr);
  ASSERT_EQ(hijri_weeks.size(), 3u);
  ASSERT_EQ(gregorian_weeks.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(hijri_weeks[i].first_day, gregorian_weeks[i].first_day);
    EXPECT_EQ(WeekdayOfDays(hijri_weeks[i].first_day), 0);
  }
  EXPECT_EQ(gregorian_weeks[0].label, "1 Dec");
  EXPECT_EQ(hijri_weeks[0].label, "29 Jm1");
}

TEST_F(TimescaleTest, WidestZoomShowsYearsOnly) {
  // Given the widest zoom, expect Hijri years with their era and no lower tier.
  const Timescale scale = Timescale().ZoomedOut().ZoomedOut().ZoomedOut().ZoomedOut().ZoomedOut();
  EXPECT_EQ(scale.Zoom(), kWidestZoom);
  EXPECT_EQ(scale.Minor(), TierUnit::kNone);
  const std::vector<TierCell> years =
      scale.Cells(TierCalendar::kHijri, scale.Major(), Day(2024, 1, 1), Day(2025, 1, 1), &hijri_);
  ASSERT_EQ(years.size(), 2u);
  EXPECT_EQ(years[0].label, "1445 AH");
  EXPECT_EQ(years[1].label, "1446 AH");
  EXPECT_EQ(years[0].end_day, years[1].first_day);
  EXPECT_EQ(hijri_.FromDays(years[1].first_day), (HijriDate{1446, 1, 1}));
}

TEST(HijriDaysLoading, MissingConverterGivesNoCellsAndSaysWhy) {
  // Given a loader that finds no converter, expect empty Hijri tiers and the loader's reason.
  PosixLibraryLoader loader({"/nonexistent-folder"});
  HijriDays hijri(loader);
  const Timescale scale;
  EXPECT_TRUE(scale.Cells(TierCalendar::kHijri, TierUnit::kMonth, 0, 100, &hijri).empty());
  EXPECT_FALSE(hijri.Available());
  EXPECT_EQ(hijri.LoadError(), "File not found: liborbelune.so");
}

}  // namespace
}  // namespace lunavant::workbench
