// SPDX-License-Identifier: MIT
#include "workbench/holidays/holiday_dates.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "workbench/platform/library_loader.h"
#include "workbench/schedule/calendar.h"

namespace lunavant::workbench {
namespace {

struct MonthRow {
  std::int64_t first_day;
  std::int32_t length;
};

// The converter's month table, by Hijri year and month.
std::map<std::pair<int, int>, MonthRow> ReadMonthTable() {
  std::ifstream in(std::string(LUNAVANT_SHARED_DATA) + "/umalqura-months.csv");
  std::map<std::pair<int, int>, MonthRow> table;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    int year = 0, month = 0, gy = 0, gm = 0, gd = 0, length = 0;
    if (std::sscanf(line.c_str(), "%d,%d,%d-%d-%d,%d", &year, &month, &gy, &gm, &gd, &length) ==
        6) {
      table[{year, month}] = {DaysFromCivil(gy, gm, gd), length};
    }
  }
  return table;
}

class HolidayDatesTest : public testing::Test {
 protected:
  HolidayDatesTest()
      : loader_({LUNAVANT_CONVERTER_DIR}), hijri_(loader_), table_(ReadMonthTable()) {}

  // The Hijri date of `days` by the table alone.
  HijriDate TableHijri(std::int64_t days) const {
    for (const auto& [key, row] : table_) {
      if (days >= row.first_day && days < row.first_day + row.length) {
        return {key.first, key.second, static_cast<std::int32_t>(days - row.first_day + 1)};
      }
    }
    ADD_FAILURE() << "day " << days << " is not in the table";
    return {};
  }

  PosixLibraryLoader loader_;
  ConverterHijriCalendar hijri_;
  std::map<std::pair<int, int>, MonthRow> table_;
};

constexpr std::string_view kSet = R"(# a test set
Eid al-Fitr | hijri 09-29 +1 | 4 days   # the day after 29 Ramadan
Eid al-Adha | hijri 12-9 | 4
Year end    | hijri 12-28 | 5 days     # runs into Muharram
To Shawwal  | hijri 09-29 to 10-03      # four or five days, as Ramadan has 29 or 30
Year turn   | hijri 12-29 to 01-02      # into the next Hijri year
National Day | gregorian 09-23 | 1 day
)";

TEST_F(HolidayDatesTest, EveryYearOfTheTableAgreesWithTheMonthTable) {
  // Given the set dated over every year the converter's table allows, expect each holiday where
  // the month table puts it, named after its year.
  ASSERT_GE(table_.size(), 12u * 145u);
  const HolidaySet set = ParseHolidaySet(kSet, "test");
  const std::vector<DatedHoliday> dated =
      DateHolidays(set, kFirstHolidayYear, kLastHolidayYear, hijri_);
  std::map<std::string, DatedHoliday> by_name;
  for (const DatedHoliday& h : dated) by_name.emplace(h.name, h);
  int weekend_national_days = 0;
  for (int year = kFirstHolidayYear; year <= kLastHolidayYear; ++year) {
    SCOPED_TRACE(year);
    const std::string y = std::to_string(year);
    const MonthRow ramadan = table_.at({year, 9});
    const DatedHoliday& fitr = by_name.at("Eid al-Fitr " + y);
    EXPECT_EQ(fitr.first_day, ramadan.first_day + 29);
    EXPECT_EQ(fitr.last_day, ramadan.first_day + 32);
    // Note: in a 29-day Ramadan the day after the 29th is 1 Shawwal.
    EXPECT_EQ(fitr.hijri_first,
              (ramadan.length == 29 ? HijriDate{year, 10, 1} : HijriDate{year, 9, 30}));
    EXPECT_EQ(fitr.hijri_last, TableHijri(fitr.last_day));

    const DatedHoliday& to_shawwal = by_name.at("To Shawwal " + y);
    EXPECT_EQ(to_shawwal.first_day, ramadan.first_day + 28);
    EXPECT_EQ(to_shawwal.last_day, table_.at({year, 10}).first_day + 2);
    EXPECT_EQ(to_shawwal.last_day - to_shawwal.first_day + 1, ramadan.length == 29 ? 4 : 5);
    EXPECT_EQ(to_shawwal.hijri_last, (HijriDate{year, 10, 3}));

    const MonthRow dhu_al_hijjah = table_.at({year, 12});
    if (year < kLastHolidayYear) {
      const DatedHoliday& year_turn = by_name.at("Year turn " + y);
      EXPECT_EQ(year_turn.first_day, dhu_al_hijjah.first_day + 28);
      EXPECT_EQ(year_turn.hijri_last, (HijriDate{year + 1, 1, 2}));
    }
    const DatedHoliday& adha = by_name.at("Eid al-Adha " + y);
    EXPECT_EQ(adha.first_day, dhu_al_hijjah.first_day + 8);
    EXPECT_EQ(adha.hijri_first, (HijriDate{year, 12, 9}));
    EXPECT_EQ(adha.hijri_last, (HijriDate{year, 12, 12}));

    const DatedHoliday& year_end = by_name.at("Year end " + y);
    EXPECT_EQ(year_end.first_day, dhu_al_hijjah.first_day + 27);
    EXPECT_EQ(year_end.hijri_last, (HijriDate{year + 1, 1, 5 - (dhu_al_hijjah.length - 27)}));
    // Note: the table ends with 1500; the converter's 1501 begins the day after, as checked above.
    if (year < kLastHolidayYear) {
      EXPECT_EQ(year_end.hijri_last, TableHijri(year_end.last_day));
    }
  }
  for (const DatedHoliday& h : dated) {
    if (h.rule != "National Day") continue;
    const host::DateTime civil = CivilFromDays(h.first_day);
    EXPECT_EQ(h.name, "National Day " + std::to_string(civil.year));
    EXPECT_EQ(civil.month, 9);
    EXPECT_EQ(civil.day, 23);
    EXPECT_EQ(h.hijri_first, TableHijri(h.first_day));
    if (WeekdayOfDays(h.first_day) == 5 || WeekdayOfDays(h.first_day) == 6) ++weekend_national_days;
  }
  // A holiday on a weekend is dated like any other: the calendar decides what it moves.
  EXPECT_GT(weekend_national_days, 0);
  EXPECT_TRUE(std::is_sorted(dated.begin(), dated.end(), [](const auto& a, const auto& b) {
    return a.first_day < b.first_day;
  }));
}

TEST_F(HolidayDatesTest, ShippedSaudiSetGivesTheMinistrysAnnouncedDays) {
  // Given the shipped set for 1446, expect the days MHRSD announced for the private sector.
  const HolidaySet sa = LoadHolidaySet("sa");
  const std::vector<DatedHoliday> dated = DateHolidays(sa, 1446, 1446, hijri_);
  ASSERT_EQ(dated.size(), 4u);
  const auto expect = [&](std::size_t i, std::string name, std::int64_t first, std::int64_t last) {
    EXPECT_EQ(dated[i].name, name);
    EXPECT_EQ(dated[i].first_day, first);
    EXPECT_EQ(dated[i].last_day, last);
  };
  expect(0, "National Day 2024", DaysFromCivil(2024, 9, 23), DaysFromCivil(2024, 9, 23));
  expect(1, "Founding Day 2025", DaysFromCivil(2025, 2, 22), DaysFromCivil(2025, 2, 22));
  expect(2, "Eid al-Fitr 1446", DaysFromCivil(2025, 3, 30), DaysFromCivil(2025, 4, 2));
  expect(3, "Eid al-Adha 1446", DaysFromCivil(2025, 6, 5), DaysFromCivil(2025, 6, 8));
}

TEST_F(HolidayDatesTest, AHolidayKeptSinceAYearIsLeftOutBefore) {
  // Given the shipped set over 1441-1443, expect Founding Day first in 2022 (1443), and a Hijri
  // rule kept since 1442 left out of 1441.
  std::vector<std::string> founding;
  for (const DatedHoliday& h : DateHolidays(LoadHolidaySet("sa"), 1441, 1443, hijri_)) {
    if (h.rule == "Founding Day") founding.push_back(h.name);
  }
  EXPECT_EQ(founding, std::vector<std::string>{"Founding Day 2022"});
  const HolidaySet set = ParseHolidaySet("New | hijri 1-1 since 1442 | 1\n", "test");
  const std::vector<DatedHoliday> dated = DateHolidays(set, 1441, 1442, hijri_);
  ASSERT_EQ(dated.size(), 1u);
  EXPECT_EQ(dated[0].name, "New 1442");
}

TEST_F(HolidayDatesTest, AYearsAnnouncementReplacesTheRule) {
  // Given overrides for two years, expect them used for those years and the rule for the rest.
  const HolidaySet set = ParseHolidaySet(R"(
Eid al-Fitr | hijri 09-29 +1 | 4 days
Eid al-Fitr | 1446 from 2025-03-29 | 6 days
Eid al-Fitr | 1447 none
)",
                                         "test");
  const std::vector<DatedHoliday> dated = DateHolidays(set, 1445, 1448, hijri_);
  ASSERT_EQ(dated.size(), 3u);
  EXPECT_EQ(dated[0].name, "Eid al-Fitr 1445");
  EXPECT_EQ(dated[1].name, "Eid al-Fitr 1446");
  EXPECT_EQ(dated[1].first_day, DaysFromCivil(2025, 3, 29));
  EXPECT_EQ(dated[1].last_day, DaysFromCivil(2025, 4, 3));
  EXPECT_EQ(dated[1].hijri_first, (HijriDate{1446, 9, 29}));
  EXPECT_EQ(dated[2].name, "Eid al-Fitr 1448");
}

TEST_F(HolidayDatesTest, YearsOutsideTheTableAreRefused) {
  const HolidaySet set = ParseHolidaySet(kSet, "test");
  const auto message = [&](int first, int last) {
    try {
      DateHolidays(set, first, last, hijri_);
    } catch (const HolidayError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message(1500, 1501),
            "Hijri years 1500-1501 are outside the range holidays can be dated in (1405 to 1500: "
            "the converter's Umm al-Qura table)");
  EXPECT_EQ(message(1404, 1405),
            "Hijri years 1404-1405 are outside the range holidays can be dated in (1405 to 1500: "
            "the converter's Umm al-Qura table)");
  EXPECT_EQ(message(1449, 1447), "Hijri years 1449-1447 are out of order");
  EXPECT_EQ(ParseYearRange("1447-1450"), (std::pair{1447, 1450}));
  EXPECT_EQ(ParseYearRange("1447"), (std::pair{1447, 1447}));
  EXPECT_FALSE(ParseYearRange("1447-"));
  EXPECT_FALSE(ParseYearRange("x"));
}

TEST(HolidaySet, BadLinesNameTheirLine) {
  const auto message = [](std::string_view text) {
    try {
      ParseHolidaySet(text, "mine");
    } catch (const HolidayError& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message("# nothing\n"), "mine: the set holds no holiday");
  EXPECT_EQ(message("\nEid | hijri 13-01 | 1\n"), "mine:2: \"13-01\" is no month and day (MM-DD)");
  EXPECT_EQ(message("Eid | hijri 09-31 | 1\n"), "mine:1: a Hijri month has at most 30 days");
  EXPECT_EQ(message("Eid | hijri 09-29 | 61 days\n"),
            "mine:1: \"61 days\" is no length (1 to 60 days)");
  EXPECT_EQ(message("Eid | gregorian 09-29 +1 | 1\n"),
            "mine:1: \"+1\" is no move of a Hijri day (+N or -N)");
  EXPECT_EQ(message("Eid | lunar 09-29 | 1\n"),
            "mine:1: \"lunar\" is neither \"hijri\", \"gregorian\" nor a year");
  EXPECT_EQ(message("Eid | hijri 09-29 | 1\nFitr | 1447 from 2026-03-19 | 2\n"),
            "mine:2: no rule names \"Fitr\"");
  EXPECT_EQ(message("Eid | hijri 09-29 | 1\nEid | hijri 09-30 | 1\n"),
            "mine:2: \"Eid\" has a rule already");
  EXPECT_EQ(message("Eid | hijri 09-29 | 1\nEid | 1447 from 2026-3 | 2\n"),
            "mine:2: \"2026-3\" is no date (YYYY-MM-DD)");
  EXPECT_EQ(message("Just a name\n"), "mine:1: a holiday reads \"NAME | WHEN | N days\"");
  EXPECT_EQ(message("Eid | hijri 09-29 since x | 1\n"), "mine:1: \"x\" is no year");
  EXPECT_EQ(message("Eid | hijri 09-29 +1 2 | 1\n"),
            "mine:1: the day reads \"MM-DD\", then \"+N\", \"to MM-DD\" and \"since YEAR\" when "
            "needed");
  EXPECT_EQ(message("Eid | hijri 09-29 to 10-03 | 4 days\n"),
            "mine:1: a holiday that runs \"to\" a day takes no length");
  EXPECT_EQ(message("Day | gregorian 12-02 to 12-03\n"),
            "mine:1: only a Hijri holiday runs \"to\" a day; a Gregorian one has a length");
}

}  // namespace
}  // namespace lunavant::workbench
