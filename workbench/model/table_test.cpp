// SPDX-License-Identifier: MIT
#include "workbench/model/table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/workbench_fixture.h"
#include "workbench/model/field_catalog.h"

namespace lunavant::workbench {
namespace {

using test_support::ErrorOf;

class TableTest : public test_support::WorkbenchTest {
 protected:
  std::vector<host::FieldId> Fields(host::ColumnList& columns) {
    std::vector<host::FieldId> out;
    for (std::int32_t i = 1; i <= columns.Count(); ++i) {
      EXPECT_EQ(columns.Item(i).Index(), i);
      out.push_back(columns.Item(i).Field());
    }
    return out;
  }
};

// Given a new project, expect the host's default task tables in their order, found by position or
// by name in any letter case; the server-only table is not among them.
TEST_F(TableTest, NewProjectsHaveTheDefaultTaskTables) {
  Project& pj = Plan().Build();
  ASSERT_EQ(pj.TaskTableCount(), 17);
  EXPECT_EQ(pj.TaskTable(1).Name(), "Entry");
  EXPECT_EQ(pj.TaskTable(2).Name(), "Export");
  EXPECT_EQ(pj.TaskTable(17).Name(), "Rollup Table");
  EXPECT_EQ(pj.TaskTable("export").Columns().Count(), 84);
  EXPECT_EQ(pj.TaskTable("EXPORT").Columns().Item(41).Field(), field::kText1);
  auto& name_column = static_cast<Column&>(pj.TaskTable("Entry").Columns().Item(3));
  EXPECT_EQ(name_column.Title(), "Task Name");
  EXPECT_EQ(ErrorOf([&] { pj.TaskTable("Enterprise Entry"); }).number, host::kHostFailure);
  EXPECT_EQ(ErrorOf([&] { pj.TaskTable(18); }).number, host::kSubscriptOutOfRange);
}

// Given a date column at position p, expect insertion position p - 2 to put the new column
// directly to its right, and the ends of the range to put it first and last.
TEST_F(TableTest, InsertionPositionMinusTwoLandsRightOfTheDateColumn) {
  Project& pj = Plan().Build();
  host::ColumnList& entry = pj.TaskTable("Entry").Columns();
  ASSERT_EQ(entry.Item(6).Field(), field::kFinish);
  entry.Add(field::kText1, 1, 10, "HijriFinish", 1, 6 - 2, true);
  EXPECT_EQ(entry.Item(7).Field(), field::kText1);
  EXPECT_EQ(entry.Item(8).Field(), field::kPredecessors);
  auto& added = static_cast<Column&>(entry.Item(7));
  EXPECT_EQ(added.Title(), "HijriFinish");
  EXPECT_EQ(added.Width(), 10);
  EXPECT_TRUE(added.Wrap());
  entry.Add(field::kText1 + 3, 0, 10, "", 0, -2, false);
  entry.Add(field::kText1 + 6, 0, 10, "", 0, entry.Count() - 2, false);
  const auto fields = Fields(entry);
  EXPECT_EQ(fields.front(), field::kText1 + 3);
  EXPECT_EQ(fields.back(), field::kText1 + 6);
  EXPECT_EQ(fields.size(), 11u);
  EXPECT_FALSE(pj.Saved());
}

// Given positions outside -2..Count() - 2, or bad layout values, expect a whole message and the
// column list unchanged.
TEST_F(TableTest, BadInsertionsChangeNothing) {
  Project& pj = Plan().Build();
  host::ColumnList& entry = pj.TaskTable("Entry").Columns();
  const auto before = Fields(entry);
  EXPECT_EQ(ErrorOf([&] { entry.Add(field::kText1, 1, 10, "", 1, 7, true); }),
            (host::ErrorRecord{host::kHostFailure,
                               "The insertion position 7 is not valid for a table of 8 columns."}));
  EXPECT_EQ(ErrorOf([&] { entry.Add(field::kText1, 1, 10, "", 1, -3, true); }).number,
            host::kHostFailure);
  EXPECT_EQ(ErrorOf([&] { entry.Add(42, 1, 10, "", 1, 0, true); }).number, host::kHostFailure);
  EXPECT_EQ(ErrorOf([&] { entry.Add(field::kText1, 3, 10, "", 1, 0, true); }).number,
            host::kHostFailure);
  EXPECT_EQ(Fields(entry), before);
  EXPECT_TRUE(pj.Saved());
}

// Given a deletion, expect the columns after it renumbered; outside 1..Count() it fails.
TEST_F(TableTest, DeleteRenumbersTheFollowingColumns) {
  Project& pj = Plan().Build();
  host::ColumnList& entry = pj.TaskTable("Entry").Columns();
  host::Column& finish = entry.Item(6);
  entry.Delete(5);
  EXPECT_EQ(finish.Index(), 5);
  EXPECT_EQ(entry.Count(), 7);
  EXPECT_EQ(ErrorOf([&] { entry.Delete(8); }).number, host::kSubscriptOutOfRange);
  EXPECT_EQ(ErrorOf([&] { entry.Item(0); }).number, host::kSubscriptOutOfRange);
}

// Given a rename, expect the table found under its new name (the active view following it), and a
// name another table has, in any letter case, or an empty one refused with nothing renamed.
TEST_F(TableTest, RenamedTablesKeepTheirNamesDistinct) {
  Project& pj = Plan().Build();
  pj.RenameTaskTable("ENTRY", "entry");
  EXPECT_EQ(pj.TaskTable(1).Name(), "entry");
  EXPECT_EQ(pj.CurrentTable(), "entry");
  pj.RenameTaskTable("Export", "My Export");
  EXPECT_EQ(pj.TaskTable(2).Name(), "My Export");
  EXPECT_EQ(ErrorOf([&] { pj.RenameTaskTable("Schedule", "my export"); }),
            (host::ErrorRecord{host::kHostFailure,
                               "The project already has a task table named \"my export\"."}));
  EXPECT_EQ(ErrorOf([&] { pj.RenameTaskTable("Schedule", ""); }).number, host::kHostFailure);
  EXPECT_EQ(ErrorOf([&] { pj.RenameTaskTable("Export", "x"); }).number, host::kHostFailure);
  EXPECT_EQ(pj.TaskTable(3).Name(), "Schedule");
  EXPECT_FALSE(pj.Saved());
}

}  // namespace
}  // namespace lunavant::workbench
