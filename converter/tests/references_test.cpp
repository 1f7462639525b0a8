// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "converter_library.h"
#include "test_data.h"

namespace lunavant::converter::testing {
namespace {

const std::string kSharedData = LUNAVANT_SHARED_DATA;
const std::string kReferences = kSharedData + "/umalqura-references";

const ConverterLibrary& Library() { return ConverterLibrary::Get(); }

// The Hijri years the library's own copy of the table covers.
struct TableYears {
  int32_t first = 0;
  int32_t last = 0;
  bool Contains(int32_t year) const { return year >= first && year <= last; }
};

TableYears LibraryTableYears() {
  const std::vector<MonthRow> table =
      ReadMonthTable(LUNAVANT_CONVERTER_DATA "/umalqura-months.csv");
  if (table.empty()) return {};
  return {table.front().year, table.back().year};
}

// Every pair inside the table converts exactly both ways; returns the pairs outside it.
std::vector<ReferencePair> CheckPairsInsideTheTable(const std::string& file) {
  const std::vector<ReferencePair> pairs = ReadReferencePairs(kReferences + "/" + file);
  EXPECT_FALSE(pairs.empty()) << file;
  const TableYears years = LibraryTableYears();
  EXPECT_GT(years.first, 0);
  std::vector<ReferencePair> outside;
  for (const ReferencePair& pair : pairs) {
    if (!years.Contains(pair.hijri.y)) {
      outside.push_back(pair);
      continue;
    }
    EXPECT_EQ(Library().ToHijri(pair.gregorian).date, pair.hijri)
        << file << ": " << ToString(pair.gregorian);
    EXPECT_EQ(Library().ToGregorian(pair.hijri).date, pair.gregorian)
        << file << ": " << ToString(pair.hijri);
  }
  return outside;
}

TEST(References, TheLibrarysTableIsTheSharedOne) {
  // Given the library's checked-in month table, expect it to be byte for byte the shared one.
  const std::optional<std::string> shared = ReadFile(kSharedData + "/umalqura-months.csv");
  if (!shared) GTEST_SKIP() << "no shared data in " << kSharedData;
  const std::optional<std::string> copy = ReadFile(LUNAVANT_CONVERTER_DATA "/umalqura-months.csv");
  ASSERT_TRUE(copy.has_value());
  EXPECT_TRUE(*copy == *shared) << "converter/data/umalqura-months.csv differs from "
                                << kSharedData;
}

TEST(References, ConvertsTheUniversityComparisonCalendarExactly) {
  // Given the month starts of the KFUPM comparison calendar, expect each to convert exactly both
  // ways.
  if (!ReadFile(kReferences + "/README.md")) GTEST_SKIP() << "no references in " << kReferences;
  EXPECT_TRUE(CheckPairsInsideTheTable("kfupm_comparison_calendar.json").empty());
}

TEST(References, ConvertsTheOfficialWebsitesMonthStartsExactly) {
  // Given the month starts of the official calendar's website, expect each to convert exactly both
  // ways.
  if (!ReadFile(kReferences + "/README.md")) GTEST_SKIP() << "no references in " << kReferences;
  EXPECT_TRUE(CheckPairsInsideTheTable("ummalqura_calendar_website.json").empty());
}

TEST(References, ConvertsTheGazetteIssuesOfTheTableYearsExactly) {
  // Given the dates printed on the official gazette's issues, expect those of the table's years
  // to convert exactly both ways, and the earlier ones to lie within two days of the tabular
  // calendar that continues the table backwards.
  // Note: before 1356 the calendar was not yet tabulated. The printed dates of AH 1343-1355
  // follow no arithmetic rule: consecutive issues disagree with any fixed month pattern by a
  // day or two in both directions, so no continuation of the table can match them all. The
  // library gives the tabular calendar there, and only the closeness is checked.
  if (!ReadFile(kReferences + "/README.md")) GTEST_SKIP() << "no references in " << kReferences;
  const std::vector<ReferencePair> outside =
      CheckPairsInsideTheTable("ummalqura_newspaper_issues.json");
  int exact = 0;
  for (const ReferencePair& pair : outside) {
    ASSERT_LT(pair.hijri.y, LibraryTableYears().first) << ToString(pair.hijri);
    const Converted ours = Library().ToGregorian(pair.hijri);
    ASSERT_EQ(ours.result, 0) << ToString(pair.hijri);
    const auto difference = (ToDays(ours.date) - ToDays(pair.gregorian)).count();
    EXPECT_LE(std::abs(difference), 2)
        << ToString(pair.hijri) << " printed as " << ToString(pair.gregorian);
    exact += difference == 0;
  }
  std::printf("gazette issues before the table: %d of %zu match the tabular calendar exactly\n",
              exact, outside.size());
}

}  // namespace
}  // namespace lunavant::converter::testing
