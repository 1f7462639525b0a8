// SPDX-License-Identifier: MIT
#include "addin/tables/table_ops.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "addin/codec/to_hijri.h"
#include "addin/events/ms_proj_events.h"
#include "addin/pairing/pair_registry.h"
#include "addin/pairing/pick_lists.h"
#include "tests/support/addin_fixture.h"
#include "workbench/model/table.h"
#include "workbench/platform/list_box.h"

namespace lunavant::tables {
namespace {

using namespace lunavant::test_support;  // NOLINT: field identifiers and the fixture
using Strings = std::vector<std::string>;

constexpr host::FieldId kText3 = 188743737;

std::vector<host::FieldId> Fields(host::ColumnList& columns) {
  std::vector<host::FieldId> fields;
  for (std::int32_t i = 1; i <= columns.Count(); ++i) fields.push_back(columns.Item(i).Field());
  return fields;
}

// The names of the project's task tables that show `field`.
Strings TablesShowing(workbench::Project& pj, host::FieldId field) {
  Strings names;
  for (std::int32_t t = 1; t <= pj.TaskTableCount(); ++t) {
    if (FindFieldColumn(pj.TaskTable(t).Columns(), field) != -1) {
      names.push_back(pj.TaskTable(t).Name());
    }
  }
  return names;
}

// The add-in's event object is connected, as in the host, so that writes and recalculations go
// through its handlers.
class TableOpsTest : public AddinTest {
 protected:
  TableOpsTest() {
    events_ = std::make_unique<events::MSProjEvents>();
    events_->Bind(app_, app_.ActiveProject());
    app_.AddEventSink(recorder_);
  }
  ~TableOpsTest() override {
    app_.RemoveEventSink(recorder_);
    events_.reset();
  }

  Strings TaskTexts(workbench::Project& pj, host::FieldId field) {
    Strings texts;
    for (std::int32_t i = 1; i <= pj.TaskCount(); ++i) {
      host::Task* task = pj.TaskAt(i);
      texts.push_back(task != nullptr ? task->GetField(field) : "(blank row)");
    }
    return texts;
  }
  Strings TaskChanges() {
    Strings changes;
    for (const std::string& line : recorder_.log) {
      if (line.rfind("ProjectBeforeTaskChange(", 0) == 0) changes.push_back(line);
    }
    return changes;
  }

  std::unique_ptr<events::MSProjEvents> events_;
  RecordingSink recorder_;
};

// Adding -----------------------------------------------------------------------------------------

TEST_F(TableOpsTest, HijriColumnLandsRightOfItsDateColumnInEveryTableShowingIt) {
  // Given each default table in turn, expect a Finish column to get the Hijri column directly to
  // its right with width 10, alignments 1 and 1, wrap on and the typed title; tables without
  // Finish stay as they were; every table is applied as "&Name"; the alias is the default title.
  workbench::Project& pj = Plan().AddTask("Dig", 2).Build();
  Strings received;
  for (std::int32_t t = 1; t <= pj.TaskTableCount(); ++t) {
    host::ColumnList& columns = pj.TaskTable(t).Columns();
    const std::string name = pj.TaskTable(t).Name();
    std::vector<host::FieldId> expected = Fields(columns);
    const std::int32_t finish = FindFieldColumn(columns, kFinish);
    app_.ForgetViewCommands();

    AddHijriColumn(name, kText2, "Hijri F", kFinish);

    EXPECT_EQ(app_.ViewCommands(), Strings{"TableApply(&" + name + ")"});
    EXPECT_EQ(pj.CurrentTable(), name);
    if (finish != -1) {
      expected.insert(expected.begin() + finish, kText2);
      auto& added = static_cast<workbench::Column&>(columns.Item(finish + 1));
      EXPECT_EQ(added.Title(), "Hijri F") << name;
      EXPECT_EQ(added.Width(), 10);
      EXPECT_EQ(added.DataAlignment(), 1);
      EXPECT_EQ(added.TitleAlignment(), 1);
      EXPECT_TRUE(added.Wrap());
      received.push_back(name);
    }
    EXPECT_EQ(Fields(columns), expected) << name;
  }
  EXPECT_EQ(received, (Strings{"Entry", "Export", "Schedule", "Summary", "Usage", "Variance",
                               "Delay", "Rollup Table"}));
  EXPECT_EQ(app_.CustomFieldGetName(kText2), "HijriFinish");
}

TEST_F(TableOpsTest, DateFieldWithoutAColumnAddsNothingButTheTableIsApplied) {
  // Given Finish absent from the Tracking table, and a date field of 0, expect no column and no
  // alias, and the table applied by "&" and its name each time.
  workbench::Project& pj = Plan().AddTask("Dig", 2).Build();
  const std::vector<host::FieldId> tracking = Fields(pj.TaskTable("Tracking").Columns());
  const std::vector<host::FieldId> entry = Fields(pj.TaskTable("Entry").Columns());
  AddHijriColumn("Tracking", kText2, "Hijri F", kFinish);
  AddHijriColumn("Entry", kText2, "Hijri F", 0);
  EXPECT_EQ(Fields(pj.TaskTable("Tracking").Columns()), tracking);
  EXPECT_EQ(Fields(pj.TaskTable("Entry").Columns()), entry);
  EXPECT_EQ(app_.CustomFieldGetName(kText2), "");
  EXPECT_EQ(app_.ViewCommands(), (Strings{"TableApply(&Tracking)", "TableApply(&Entry)"}));
  EXPECT_EQ(pj.CurrentTable(), "Entry");
}

TEST_F(TableOpsTest, FailuresReachTheCaller) {
  // Given a table the project lacks, expect the host's error and nothing applied; given no host
  // application, expect "Object required".
  Plan().AddTask("Dig", 2).Build();
  EXPECT_EQ(ErrorOf([] { AddHijriColumn("Gantt", kText2, "", kFinish); }).number,
            host::kHostFailure);
  EXPECT_TRUE(app_.ViewCommands().empty());
  host::SetGlobalApplication(nullptr);
  EXPECT_EQ(ErrorOf([] { RemoveHijriColumn("Entry", kText1); }),
            (host::ErrorRecord{host::kObjectRequired, "Object required"}));
}

// Removing ---------------------------------------------------------------------------------------

TEST_F(TableOpsTest, RemovalLeavesNoColumnOfTheFieldAndErasesItsText) {
  // Given Text1 paired with Start, shown three times in Entry, once in Schedule and in Export,
  // and tasks around a blank row, expect the removal (after the pair went, as the remove command
  // does) to erase Text1 of every task through the view, delete every column of it, and give the
  // field its own name back; Text2 keeps its text.
  workbench::Project& pj = Plan()
                               .AddTask("Dig", 2)
                               .AddBlankRow()
                               .AddTask("Pour", 3)
                               .Column("Entry", kText1)
                               .Column("Entry", kText1)
                               .Column("Schedule", kText1)
                               .Field(1, kText2, "keep")
                               .Build();
  pairing::AddPair(kText1, kStart, pj.Index());
  AddHijriColumn("Entry", kText1, "", kStart);
  RefreshTable("Entry");
  ASSERT_EQ(TaskTexts(pj, kText1),
            (Strings{codec::ToHijriText(pj.TaskAt(1)->GetField(kStart)), "(blank row)",
                     codec::ToHijriText(pj.TaskAt(3)->GetField(kStart))}));
  ASSERT_EQ(app_.CustomFieldGetName(kText1), "HijriStart");
  pairing::RemovePair(kText1, kStart, pj.Index());
  app_.ForgetViewCommands();
  recorder_.log.clear();

  RemoveHijriColumn("Entry", kText1);

  EXPECT_EQ(TablesShowing(pj, kText1), Strings{});
  EXPECT_EQ(pj.TaskTable("Entry").Columns().Count(), 8);
  EXPECT_EQ(pj.TaskTable("Export").Columns().Count(), 83);
  EXPECT_EQ(TaskTexts(pj, kText1), (Strings{"", "(blank row)", ""}));
  EXPECT_EQ(TaskTexts(pj, kText2), (Strings{"keep", "(blank row)", ""}));
  EXPECT_EQ(TaskChanges(), (Strings{"ProjectBeforeTaskChange(1, Text1, )",
                                    "ProjectBeforeTaskChange(3, Text1, )"}));
  // Note: the column is selected by its field's name, as the host's SelectTaskColumn takes it,
  // and the view is refreshed by applying its table again.
  EXPECT_EQ(app_.ViewCommands(),
            (Strings{"SelectTaskColumn(Text1)", "EditClearContents()", "TableApply(&Entry)"}));
  EXPECT_EQ(pj.SelectedColumn(), 0);
  EXPECT_EQ(app_.CustomFieldGetName(kText1), "");  // its own name back: no alias
}

TEST_F(TableOpsTest, FieldAbsentFromTheCurrentTableOnlyGetsItsNameBack) {
  // Given Text1 shown in Schedule and Export but not in Entry, expect removal from Entry to reset
  // the alias only: no view command, no task touched, the other columns kept.
  workbench::Project& pj = Plan()
                               .AddTask("Dig", 2)
                               .Column("Schedule", kText1)
                               .Alias(kText1, "HijriStart")
                               .Field(1, kText1, "1/1/1425")
                               .Build();
  recorder_.log.clear();
  RemoveHijriColumn("Entry", kText1);
  EXPECT_EQ(app_.CustomFieldGetName(kText1), "");  // its own name back: no alias
  EXPECT_EQ(TablesShowing(pj, kText1), (Strings{"Export", "Schedule"}));
  EXPECT_EQ(TaskTexts(pj, kText1), Strings{"1/1/1425"});
  EXPECT_TRUE(app_.ViewCommands().empty());
  EXPECT_TRUE(TaskChanges().empty());
}

TEST_F(TableOpsTest, ProjectWithoutTasksClearsNothingButStillDeletes) {
  // Given no tasks and Text1 at the end of Entry, expect the column selected and deleted with no
  // clearing, and Text1 gone from Export too.
  workbench::Project& pj = Plan().Column("Entry", kText1).Build();
  RemoveHijriColumn("Entry", kText1);
  EXPECT_EQ(app_.ViewCommands(), (Strings{"SelectTaskColumn(Text1)", "TableApply(&Entry)"}));
  EXPECT_EQ(TablesShowing(pj, kText1), Strings{});
}

TEST_F(TableOpsTest, ColumnOfATableTheViewDoesNotShowGoesWithItsTexts) {
  // Given Text1 at position 9 of Schedule while the view shows Entry, whose position 9 holds the
  // user's Text3, expect Schedule's column deleted, Text1's text gone from every task, and Text3
  // left alone.
  // Note: the view's column 9 is not the field being removed, so nothing is selected or cleared
  // through the view; the texts are erased task by task.
  workbench::Project& pj = Plan()
                               .AddTask("Dig", 2)
                               .AddBlankRow()
                               .AddTask("Pour", 3)
                               .Column("Entry", kText3)
                               .Column("Schedule", kText1)
                               .Field(1, kText3, "the user's note")
                               .Field(1, kText1, "old")
                               .Field(3, kText1, "older")
                               .Build();
  recorder_.log.clear();
  RemoveHijriColumn("Schedule", kText1);
  EXPECT_EQ(TablesShowing(pj, kText1), Strings{});
  EXPECT_EQ(TaskTexts(pj, kText1), (Strings{"", "(blank row)", ""}));
  EXPECT_EQ(TaskTexts(pj, kText3), (Strings{"the user's note", "(blank row)", ""}));
  EXPECT_EQ(TaskChanges(), (Strings{"ProjectBeforeTaskChange(1, Text1, )",
                                    "ProjectBeforeTaskChange(3, Text1, )"}));
  EXPECT_EQ(app_.ViewCommands(), Strings{"TableApply(&Entry)"});
  EXPECT_EQ(pj.CurrentTable(), "Entry");
  workbench::ListBox free_fields;
  pairing::FillHijriFieldList(free_fields, pj.Index());
  EXPECT_EQ(free_fields.Entries().front(), "Text1");  // free to be paired again
}

// Refreshing -------------------------------------------------------------------------------------

TEST_F(TableOpsTest, RefreshRewritesEveryPairOfEveryTask) {
  // Given A->B linked, C alone, Start and Finish paired, and an edit of A's Start with automatic
  // calculation off (the event object then expects to refresh only A and its relatives), expect
  // the refresh to write both Hijri texts of every task, C included, and to apply "&Entry".
  workbench::Project& pj =
      Plan().AddTask("A", 2).AddTask("B", 3).AddTask("C", 1).Link(1, 2).Build();
  pairing::AddPair(kText1, kStart, pj.Index());
  pairing::AddPair(kText2, kFinish, pj.Index());
  AddHijriColumn("Entry", kText1, "", kStart);
  AddHijriColumn("Entry", kText2, "", kFinish);
  app_.SetAutoCalculate(false);
  app_.UserEdit(TaskWithId(1), kStart, "Wed 03/03/04");
  ASSERT_TRUE(events_->EditSynced);
  ASSERT_EQ(TaskWithId(3).GetField(kText1), "");
  app_.ForgetViewCommands();

  RefreshTable("Entry");

  Strings expected_start;
  Strings expected_finish;
  for (std::int32_t id = 1; id <= 3; ++id) {
    expected_start.push_back(codec::ToHijriText(TaskWithId(id).GetField(kStart)));
    expected_finish.push_back(codec::ToHijriText(TaskWithId(id).GetField(kFinish)));
  }
  EXPECT_EQ(TaskTexts(pj, kText1), expected_start);
  EXPECT_EQ(TaskTexts(pj, kText2), expected_finish);
  EXPECT_NE(expected_start[2], "");
  EXPECT_EQ(app_.ViewCommands(), Strings{"TableApply(&Entry)"});
}

}  // namespace
}  // namespace lunavant::tables
