// SPDX-License-Identifier: MIT
#include "workbench/view/outline_rows.h"

#include <gtest/gtest.h>

#include "tests/support/workbench_fixture.h"

namespace lunavant::workbench {
namespace {

class OutlineRowsTest : public test_support::WorkbenchTest {};

TEST_F(OutlineRowsTest, CollapsedSummariesHideTheirRowsBlankOnesToo) {
  // Given a phase with a nested phase and a blank row inside, expect collapsing to hide every row
  // up to the next task of the phase's level, and expanding to bring them back.
  Project& pj = Plan()
                    .AddTask("Phase", 1, 1)      // 1
                    .AddTask("Design", 2, 2)     // 2
                    .AddTask("Sub-phase", 1, 2)  // 3
                    .AddTask("Detail", 1, 3)     // 4
                    .AddBlankRow()               // 5
                    .AddTask("Handover", 0, 1)   // 6
                    .Build();
  OutlineRows rows(pj);
  ASSERT_EQ(rows.RowCount(), 6);
  EXPECT_EQ(rows.TaskOfRow(4), nullptr);

  rows.SetCollapsed(TaskWithId(3), true);
  EXPECT_EQ(rows.RowCount(), 4);  // Detail and the blank row are inside Sub-phase
  EXPECT_EQ(rows.TaskOfRow(3), &TaskWithId(6));
  EXPECT_EQ(rows.RowOfTask(TaskWithId(4)), -1);

  rows.SetCollapsed(TaskWithId(1), true);
  EXPECT_EQ(rows.RowCount(), 2);
  EXPECT_EQ(rows.RowOfTask(TaskWithId(6)), 1);

  rows.SetCollapsed(TaskWithId(1), false);
  EXPECT_EQ(rows.RowCount(), 4);  // Sub-phase stays collapsed
  EXPECT_TRUE(rows.IsCollapsed(TaskWithId(3)));

  // A task that is no summary cannot be collapsed.
  rows.SetCollapsed(TaskWithId(6), true);
  EXPECT_FALSE(rows.IsCollapsed(TaskWithId(6)));
  EXPECT_EQ(rows.PositionOfRow(99), 0);
  EXPECT_EQ(rows.TaskOfRow(-1), nullptr);
}

}  // namespace
}  // namespace lunavant::workbench
