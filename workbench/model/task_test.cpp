// SPDX-License-Identifier: MIT
#include "workbench/model/task.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/workbench_fixture.h"
#include "workbench/model/field_catalog.h"
#include "workbench/platform/regional_settings.h"

namespace lunavant::workbench {
namespace {

using test_support::ErrorOf;
using test_support::RecordingSink;
using Strings = std::vector<std::string>;

class TaskTest : public test_support::WorkbenchTest {
 protected:
  TaskTest() { app_.AddEventSink(sink_); }
  ~TaskTest() override { app_.RemoveEventSink(sink_); }
  // Rows: 1 Dig (3 days), 2 blank, 3 Pour (2 days, after Dig), from Monday 1 March 2004.
  Project& Site() {
    Project& pj = Plan().AddTask("Dig", 3).AddBlankRow().AddTask("Pour", 2).Link(1, 3).Build();
    sink_.log.clear();
    return pj;
  }
  RecordingSink sink_;
};

// Given the date formats, expect Start as the host shows it, and NA for a date never set.
TEST_F(TaskTest, DateFieldsShowInTheHostsDateFormat) {
  Task& pour = *Site().TaskAt(3);
  EXPECT_EQ(pour.GetField(field::kStart), "Thu 04/03/04");
  EXPECT_EQ(pour.GetField(field::kActualStart), "NA");
  EXPECT_EQ(pour.GetField(188743732 /* Start1 */), "NA");
  app_.SetDateFormat(DateFormat::kWeekdayDateTime);
  EXPECT_EQ(pour.GetField(field::kFinish), "Fri 05/03/04 17:00");
  app_.SetDateFormat(DateFormat::kDate);
  EXPECT_EQ(pour.GetField(field::kStart), "04/03/04");
  app_.SetDateFormat(DateFormat::kDateTime);
  EXPECT_EQ(pour.GetField(field::kStart), "04/03/04 08:00");
  app_.SetDateFormat(DateFormat::kWeekdayDate);
  app_.Regional().OverrideShortDatePattern("M/d/yyyy");
  app_.Regional().OverrideDateSeparator("/");
  EXPECT_EQ(pour.GetField(field::kStart), "Thu 3/4/04");
}

// Given other kinds of field, expect their shown texts.
TEST_F(TaskTest, OtherFieldsShowAsTheHostShowsThem) {
  Task& pour = *Site().TaskAt(3);
  EXPECT_EQ(pour.GetField(field::kName), "Pour");
  EXPECT_EQ(pour.GetField(field::kDuration), "2 days");
  EXPECT_EQ(pour.GetField(field::kId), "3");
  EXPECT_EQ(pour.GetField(field::kMilestone), "No");
  EXPECT_EQ(pour.GetField(field::kPredecessors), "1");
  EXPECT_EQ(pour.GetField(field::kConstraintType), "As Soon As Possible");
  EXPECT_EQ(pour.GetField(field::kText1), "");
  pour.SetField(188743767 /* Number1 */, "2.5");
  pour.SetField(188743752 /* Flag1 */, "yes");
  pour.SetField(188743786 /* Cost1 */, "12");
  pour.SetField(field::kDuration, "1 day");
  EXPECT_EQ(pour.GetField(188743767), "2.5");
  EXPECT_EQ(pour.GetField(188743752), "Yes");
  EXPECT_EQ(pour.GetField(188743786), "12.00");
  EXPECT_EQ(pour.GetField(field::kDuration), "1 day");
}

// Given a handler that writes Text2 while Text1 changes, expect the nested event inside the
// outer one, before the outer write is applied.
TEST_F(TaskTest, AWriteFromAHandlerRaisesTheEventAgainNested) {
  Task& dig = *Site().TaskAt(1);
  std::vector<std::string> text1_seen;
  sink_.on_task_change = [&](host::Task& task, host::FieldId field, const host::Value&, bool&) {
    text1_seen.push_back(task.GetField(field::kText1));
    if (field == field::kText1) task.SetField(188743734 /* Text2 */, "partner");
  };
  dig.SetField(field::kText1, "typed");
  EXPECT_EQ(sink_.log, (Strings{"ProjectBeforeTaskChange(1, Text1, typed)",
                                "ProjectBeforeTaskChange(1, Text2, partner)"}));
  EXPECT_EQ(text1_seen, (Strings{"", ""}));
  EXPECT_EQ(dig.GetField(field::kText1), "typed");
  EXPECT_EQ(dig.GetField(188743734), "partner");
}

// Given a handler that cancels, expect the task and the restore flag untouched.
TEST_F(TaskTest, ACancelledChangeLeavesTheTaskUnchanged) {
  Project& pj = Site();
  Task& pour = *pj.TaskAt(3);
  sink_.on_task_change = [](host::Task&, host::FieldId, const host::Value&, bool& cancel) {
    cancel = true;
  };
  pour.SetField(field::kStart, "Wed 10/03/04");
  pour.SetField(field::kName, "Paint");
  EXPECT_EQ(sink_.log.size(), 2u);
  EXPECT_EQ(pour.GetField(field::kStart), "Thu 04/03/04");
  EXPECT_EQ(pour.GetField(field::kConstraintType), "As Soon As Possible");
  EXPECT_EQ(pour.Name(), "Pour");
  EXPECT_TRUE(pj.Saved());
}

// Given text that is no date, or a date outside 1984..2149, expect a whole message, no event and
// no change; the range's own ends are accepted.
TEST_F(TaskTest, UnreadableOrOutOfRangeDatesFailAndChangeNothing) {
  Project& pj = Site();
  Task& pour = *pj.TaskAt(3);
  EXPECT_EQ(ErrorOf([&] { pour.SetField(field::kStart, "31/02/04"); }),
            (host::ErrorRecord{host::kHostFailure,
                               "\"31/02/04\" is not a date the field Start can take."}));
  EXPECT_EQ(ErrorOf([&] { pour.SetField(field::kStart, "Mon 15/03/04 25:00"); }).number,
            host::kHostFailure);
  EXPECT_EQ(ErrorOf([&] { pour.SetField(field::kStart, "08:00"); }),
            (host::ErrorRecord{host::kHostFailure,
                               "\"08:00\" is a time of day without a date; the field Start needs "
                               "a date."}));
  EXPECT_EQ(ErrorOf([&] { pour.SetField(field::kStart, "31/12/1983"); }),
            (host::ErrorRecord{host::kHostFailure,
                               "The date \"31/12/1983\" for the field Start lies outside the range "
                               "the host accepts, 1 January 1984 to 31 December 2149."}));
  EXPECT_EQ(ErrorOf([&] { pour.SetField(188743732, "1/1/2150"); }).number, host::kHostFailure);
  EXPECT_TRUE(sink_.log.empty());
  EXPECT_EQ(pour.GetField(field::kStart), "Thu 04/03/04");
  EXPECT_TRUE(pj.Saved());
  pour.SetField(188743732 /* Start1 */, "01/01/1984");
  pour.SetField(188743733 /* Finish1 */, "31/12/2149");
  app_.SetDateFormat(DateFormat::kDateTime);
  EXPECT_EQ(pour.GetField(188743732), "01/01/84 08:00");
  EXPECT_EQ(pour.GetField(188743733), "31/12/2149 17:00");
}

// Given "NA" or the empty text, expect an optional date cleared and a required one refused.
TEST_F(TaskTest, NaClearsOptionalDatesOnly) {
  Task& dig = *Site().TaskAt(1);
  dig.SetField(field::kBaselineStart, "Mon 01/03/04");
  EXPECT_EQ(dig.GetField(field::kBaselineStart), "Mon 01/03/04");
  dig.SetField(field::kBaselineStart, "na");
  EXPECT_EQ(dig.GetField(field::kBaselineStart), "NA");
  dig.SetField(field::kConstraintDate, "Tue 02/03/04");
  EXPECT_EQ(dig.GetField(field::kConstraintType), "Start No Earlier Than");
  dig.SetField(field::kConstraintDate, "");
  EXPECT_EQ(dig.GetField(field::kConstraintType), "As Soon As Possible");
  EXPECT_EQ(ErrorOf([&] { dig.SetField(field::kFinish, "NA"); }),
            (host::ErrorRecord{host::kHostFailure,
                               "The field Finish always holds a date; it cannot be NA."}));
}

// Given a Start edit, expect the task moved keeping its duration with a constraint; a Finish edit
// changes the duration, and a finish before the start is refused.
TEST_F(TaskTest, StartAndFinishEditsBehaveAsAUserExpects) {
  Task& dig = *Site().TaskAt(1);
  dig.SetField(field::kStart, "Fri 05/03/04");
  EXPECT_EQ(dig.GetField(field::kFinish), "Tue 09/03/04");
  EXPECT_EQ(dig.GetField(field::kDuration), "3 days");
  EXPECT_EQ(dig.GetField(field::kConstraintType), "Start No Earlier Than");
  EXPECT_EQ(dig.GetField(field::kConstraintDate), "Fri 05/03/04");
  dig.SetField(field::kFinish, "15/03/04");
  EXPECT_EQ(dig.GetField(field::kDuration), "7 days");
  EXPECT_EQ(ErrorOf([&] { dig.SetField(field::kFinish, "04/03/04"); }),
            (host::ErrorRecord{host::kHostFailure,
                               "The finish \"04/03/04\" lies before the task's start."}));
  EXPECT_EQ(dig.GetField(field::kDuration), "7 days");
}

// Given a month-first pattern, expect a day of 12 or less read in the user's order.
TEST_F(TaskTest, DatesAreReadInTheUsersRegionalOrder) {
  Task& dig = *Site().TaskAt(1);
  app_.Regional().OverrideShortDatePattern("MM/dd/yyyy");
  dig.SetField(field::kBaselineFinish, "03/04/04");
  app_.SetDateFormat(DateFormat::kWeekdayDateTime);
  EXPECT_EQ(dig.GetField(field::kBaselineFinish), "Thu 03/04/04 17:00");
  app_.Regional().OverrideShortDatePattern("dd/MM/yyyy");
  EXPECT_EQ(dig.GetField(field::kBaselineFinish), "Thu 04/03/04 17:00");
}

// Given link texts, expect the links replaced on both ends and shown back in the usual form;
// a missing task or an unreadable text changes nothing.
TEST_F(TaskTest, PredecessorTextsReplaceTheLinks) {
  Project& pj = Plan().AddTask("A").AddTask("B").AddTask("C").AddTask("D").Link(1, 4).Build();
  Task& d = *pj.TaskAt(4);
  d.SetField(field::kPredecessors, "2FS+2d; 3ss;1fs-1 day");
  EXPECT_EQ(d.Predecessors(), "2FS+2d;3SS;1FS-1d");
  EXPECT_EQ(pj.TaskAt(3)->Successors(), "4SS");
  EXPECT_EQ(pj.TaskAt(1)->SuccessorTasks(), (std::vector<host::Task*>{&d}));
  d.SetField(field::kPredecessors, "3");
  EXPECT_EQ(pj.TaskAt(1)->Successors(), "");
  EXPECT_EQ(pj.TaskAt(3)->Successors(), "4");
  EXPECT_EQ(ErrorOf([&] { d.SetField(field::kPredecessors, "9"); }),
            (host::ErrorRecord{host::kHostFailure,
                               "The field Predecessors names task 9, which the project does not "
                               "have."}));
  EXPECT_EQ(ErrorOf([&] { d.SetField(field::kPredecessors, "2XX"); }).number, host::kHostFailure);
  EXPECT_EQ(ErrorOf([&] { d.SetField(field::kSuccessors, "4"); }),
            (host::ErrorRecord{host::kHostFailure, "Task 4 cannot be linked to itself."}));
  EXPECT_EQ(d.Predecessors(), "3");
}

// Given an outline with a blank row, expect parents, subtasks and the summary row as the host
// gives them, and null for the blank row.
TEST_F(TaskTest, OutlineRelationsSkipBlankRows) {
  Project& pj = Plan()
                    .AddTask("Phase", 1, 1)
                    .AddTask("Dig", 2, 2)
                    .AddBlankRow()
                    .AddTask("Pour", 1, 2)
                    .AddTask("Handover", 0, 1)
                    .Build();
  EXPECT_EQ(pj.TaskCount(), 5);
  EXPECT_EQ(pj.TaskAt(3), nullptr);
  Task& phase = *pj.TaskAt(1);
  EXPECT_EQ(phase.Subtasks(), (std::vector<host::Task*>{pj.TaskAt(2), pj.TaskAt(4)}));
  EXPECT_EQ(pj.TaskAt(4)->Parent(), &phase);
  EXPECT_EQ(phase.Parent(), nullptr);
  EXPECT_EQ(pj.TaskAt(4)->GetField(field::kOutlineNumber), "1.2");
  EXPECT_EQ(pj.SummaryTask().ID(), 0);
  EXPECT_EQ(pj.SummaryTask().OutlineLevel(), 0);
  EXPECT_EQ(pj.SummaryTask().Subtasks(), (std::vector<host::Task*>{&phase, pj.TaskAt(5)}));
  EXPECT_EQ(ErrorOf([&] { pj.TaskAt(6); }).number, host::kSubscriptOutOfRange);
  EXPECT_EQ(ErrorOf([&] { pj.TaskAt(0); }).number, host::kSubscriptOutOfRange);
  EXPECT_EQ(ErrorOf([&] { pj.AddTask("Deep", 1, 3); }),
            (host::ErrorRecord{host::kHostFailure,
                               "The outline level 3 is not valid here; it must lie in 1..2."}));
}

// Given fields the host calculates, and dates of a summary task, expect the write refused.
TEST_F(TaskTest, CalculatedFieldsRefuseWrites) {
  Project& pj = Plan().AddTask("Phase").AddTask("Dig", 2, 2).Build();
  EXPECT_EQ(
      ErrorOf([&] { pj.TaskAt(2)->SetField(field::kEarlyStart, "01/03/04"); }),
      (host::ErrorRecord{host::kHostFailure,
                         "The field Early Start is calculated by the host and cannot be set."}));
  EXPECT_EQ(ErrorOf([&] { pj.TaskAt(1)->SetField(field::kStart, "01/03/04"); }),
            (host::ErrorRecord{host::kHostFailure,
                               "The field Start of a summary task is calculated from its subtasks "
                               "and cannot be set."}));
  EXPECT_EQ(ErrorOf([&] { pj.TaskAt(2)->SetField(123, "x"); }).number, host::kHostFailure);
  EXPECT_EQ(ErrorOf([&] { pj.TaskAt(2)->GetField(123); }).number, host::kHostFailure);
}

}  // namespace
}  // namespace lunavant::workbench
