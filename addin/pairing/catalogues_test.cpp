// SPDX-License-Identifier: MIT
#include "addin/pairing/catalogues.h"

#include <gtest/gtest.h>

#include "addin/base/utilities.h"
#include "addin/pairing/pair_registry.h"

namespace lunavant::pairing {
namespace {

class Catalogues : public ::testing::Test {
 protected:
  void SetUp() override { ResetProcessState(); }
  void TearDown() override { ResetProcessState(); }
};

TEST_F(Catalogues, TitleIndexWorksInBothDirections) {
  // Given the built index, expect title -> number and decimal identifier -> title, keys in any
  // letter case, while the lower-case title is no member of the title list.
  InitCatalogues();
  EXPECT_EQ(DateFieldOfTitle("HijriEarlyStart"), 188743717);
  EXPECT_EQ(TitleOfDateField(188743717), "HijriEarlyStart");
  EXPECT_EQ(DateFieldOfTitle("hijristart"), 188743715);
  EXPECT_FALSE(base::ArrayContains("hijristart", HijriFieldTitles()));
  EXPECT_EQ(TitleOfDateField(188743698), "HijriConstraintDate");
  EXPECT_EQ(TitleOfDateField(188743773), "HijriCreated");
  // Entries go in as title 0, identifier 0, title 1, ...
  EXPECT_EQ(std::get<host::FieldId>(HijriTitleIndex().Item(1)), 188743715);
  EXPECT_EQ(std::get<std::string>(HijriTitleIndex().Item(2)), "HijriStart");
  EXPECT_EQ(std::get<std::string>(HijriTitleIndex().Item(24)), "HijriCreated");
}

TEST_F(Catalogues, TellDateFieldsTextFieldsAndComputedDatesApart) {
  InitCatalogues();
  EXPECT_TRUE(base::ArrayContains(188743698, GregDateFields()));       // Constraint Date
  EXPECT_FALSE(base::ArrayContains(188743731, GregDateFields()));      // Text1
  EXPECT_TRUE(base::ArrayContains(188743773, ReadOnlyDateFields()));   // Created
  EXPECT_FALSE(base::ArrayContains(188743715, ReadOnlyDateFields()));  // Start
  EXPECT_EQ(CustomTextFields()[9], 188743750);
  EXPECT_EQ(CustomTextFields()[10], 188743997);
  EXPECT_EQ(CustomTextFields()[29], 188744016);
  EXPECT_EQ(WeekdayNames().Item("0"), "Sun");
  EXPECT_EQ(WeekdayNames().Item("6"), "Sat");
  EXPECT_FALSE(base::CollectionHasKey("7", WeekdayNames()));
}

TEST_F(Catalogues, BuildingTheTitleIndexTwiceAddsNothing) {
  base::KeyedCollection<TitleIndexItem> index;
  BuildTitleIndex({1, 2}, {"A", "B"}, index);
  BuildTitleIndex({1, 2}, {"a", "b"}, index);
  EXPECT_EQ(index.Count(), 4);
  EXPECT_EQ(std::get<std::string>(index.Item("1")), "A");
}

TEST_F(Catalogues, BuildingTheTitleIndexFailsOnAShortTitleList) {
  // Given fewer titles than date fields, expect 9 after the entries of the matched indexes.
  base::KeyedCollection<TitleIndexItem> index;
  try {
    BuildTitleIndex({1, 2}, {"A"}, index);
    FAIL() << "expected a failure";
  } catch (const host::HostError& e) {
    EXPECT_EQ(e.record().number, host::kSubscriptOutOfRange);
  }
  EXPECT_EQ(index.Count(), 2);
}

}  // namespace
}  // namespace lunavant::pairing
