// SPDX-License-Identifier: MIT
#include "workbench/model/field_catalog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace lunavant::workbench {
namespace {

// Given the shared reference list of task fields, expect the embedded table to hold exactly its
// rows, in its order, so that a revised list that was not copied in fails here.
TEST(FieldCatalog, MatchesTheReferenceList) {
  std::ifstream csv(std::string(LUNAVANT_SHARED_DATA) + "/task-fields.csv");
  ASSERT_TRUE(csv) << "reference list not found";
  std::string line;
  std::getline(csv, line);  // header
  std::size_t row = 0;
  const auto fields = AllTaskFields();
  const char* kinds[] = {"text", "date", "number", "flag", "duration", "cost", "other"};
  while (std::getline(csv, line)) {
    if (line.empty()) continue;
    std::stringstream cells(line);
    std::string id, name, kind;
    std::getline(cells, id, ',');
    std::getline(cells, name, ',');
    std::getline(cells, kind, ',');
    ASSERT_LT(row, fields.size());
    EXPECT_EQ(fields[row].id, std::stoi(id)) << "row " << row;
    EXPECT_EQ(fields[row].name, name);
    EXPECT_EQ(kinds[static_cast<int>(fields[row].kind)], kind) << name;
    ++row;
  }
  EXPECT_EQ(row, fields.size());
}

// Given names in any letter case, expect the field; unknown names and identifiers give null.
TEST(FieldCatalog, FindsNamesWithoutRegardToCase) {
  ASSERT_NE(FindFieldByName("baseline FINISH"), nullptr);
  EXPECT_EQ(FindFieldByName("baseline FINISH")->id, field::kBaselineFinish);
  EXPECT_EQ(FindFieldByName("Text 1"), nullptr);
  EXPECT_EQ(FindFieldByName(""), nullptr);
  EXPECT_EQ(FindField(0), nullptr);
  EXPECT_EQ(FindField(field::kStart)->name, "Start");
}

// Given the identifiers of the custom text fields, expect their slots, both ways; Text11 does not
// follow Text10 in number. Note: Start1 sits between Text1 and Text2, so it is no text field.
TEST(FieldCatalog, NumbersTheThirtyCustomTextFields) {
  EXPECT_EQ(CustomTextIndex(field::kText1), 0);
  EXPECT_EQ(CustomTextIndex(188743750), 9);
  EXPECT_EQ(CustomTextIndex(188743997), 10);
  EXPECT_EQ(CustomTextIndex(188744016), 29);
  EXPECT_EQ(CustomTextIndex(188743732), -1);
  for (int i = 0; i < kCustomTextCount; ++i) {
    EXPECT_EQ(FindField(CustomTextField(i))->name, "Text" + std::to_string(i + 1));
  }
}

}  // namespace
}  // namespace lunavant::workbench
