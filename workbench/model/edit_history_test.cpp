// SPDX-License-Identifier: MIT
#include "workbench/model/edit_history.h"

#include <gtest/gtest.h>

#include "tests/support/workbench_fixture.h"
#include "workbench/model/field_catalog.h"

namespace lunavant::workbench {
namespace {

using test_support::ProjectBuilder;
using test_support::RecordingSink;

class EditHistoryTest : public test_support::WorkbenchTest {
 protected:
  EditHistoryTest() { app_.AddEventSink(sink_); }
  ~EditHistoryTest() override { app_.RemoveEventSink(sink_); }
  RecordingSink sink_;
};

// Given a user edit whose handler writes a partner field and whose recalculation moves the
// successor, expect Undo to put every field back in one step, on the same task objects, with no
// event raised, and Redo to bring the whole step back.
TEST_F(EditHistoryTest, OneUserEditWithWhatItCausedIsOneStep) {
  Project& pj = Plan().AddTask("Dig", 3).AddTask("Pour", 2).Link(1, 2).Build();
  Task& dig = *pj.TaskAt(1);
  Task& pour = *pj.TaskAt(2);
  sink_.on_task_change = [&](host::Task& task, host::FieldId field, const host::Value&, bool&) {
    if (field == field::kDuration) {
      sink_.on_task_change = nullptr;  // the partner write is no user edit
      task.SetField(field::kText1, "changed with the duration");
    }
  };
  const std::string pour_start = pour.GetField(field::kStart);
  EditHistory history(pj);
  history.Record("Typing", [&] { app_.UserEdit(dig, field::kDuration, "5"); });
  ASSERT_EQ(dig.GetField(field::kDuration), "5 days");
  ASSERT_NE(pour.GetField(field::kStart), pour_start);
  ASSERT_TRUE(history.CanUndo());
  EXPECT_EQ(history.UndoName(), "Typing");

  sink_.log.clear();
  EXPECT_TRUE(history.Undo());
  EXPECT_EQ(pj.TaskAt(1), &dig);
  EXPECT_EQ(dig.GetField(field::kDuration), "3 days");
  EXPECT_EQ(dig.GetField(field::kText1), "");
  EXPECT_EQ(pour.GetField(field::kStart), pour_start);
  EXPECT_EQ(pour.Predecessors(), "1");
  EXPECT_EQ(dig.SuccessorTasks(), std::vector<host::Task*>{&pour});
  EXPECT_TRUE(sink_.log.empty());
  EXPECT_FALSE(pj.Saved());
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.Undo());

  EXPECT_TRUE(history.Redo());
  EXPECT_EQ(dig.GetField(field::kDuration), "5 days");
  EXPECT_EQ(dig.GetField(field::kText1), "changed with the duration");
  EXPECT_NE(pour.GetField(field::kStart), pour_start);
  EXPECT_FALSE(history.CanRedo());

  // A new step after an undo leaves nothing to redo.
  history.Undo();
  history.Record("Typing", [&] { app_.UserEdit(pour, field::kName, "Pour slab"); });
  EXPECT_FALSE(history.CanRedo());
  EXPECT_EQ(pj.TaskAt(2)->Name(), "Pour slab");

  // A change outside the steps (an add-in's command) cannot be undone across: the steps go.
  pj.TaskAt(1)->SetField(field::kText1, "written by a command");
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.Undo());
  EXPECT_EQ(pj.TaskAt(2)->Name(), "Pour slab");
  history.Record("Typing", [&] { app_.UserEdit(pour, field::kName, "Pour"); });
  EXPECT_TRUE(history.Undo());
  EXPECT_EQ(dig.GetField(field::kText1), "written by a command");
}

// Given edits the host or a handler refuses as a whole, expect no step to undo; given an action
// that changed a field and then failed, expect the step kept and the failure passed on.
TEST_F(EditHistoryTest, RefusedActionsLeaveNoStepAndPartlyDoneOnesCanBeUndone) {
  Project& pj = Plan().AddTask("Dig", 3).AddTask("Pour", 2).Build();
  Task& dig = *pj.TaskAt(1);
  EditHistory history(pj);
  EXPECT_THROW(history.Record("Typing", [&] { app_.UserEdit(dig, field::kDuration, "soon"); }),
               host::HostError);
  EXPECT_FALSE(history.CanUndo());
  sink_.on_task_change = [](host::Task&, host::FieldId, const host::Value&, bool& cancel) {
    cancel = true;
  };
  history.Record("Typing", [&] { app_.UserEdit(dig, field::kName, "Excavate"); });
  EXPECT_FALSE(history.CanUndo());
  sink_.on_task_change = nullptr;

  EXPECT_THROW(history.Record("Paste",
                              [&] {
                                app_.UserEdit(dig, field::kName, "Excavate");
                                app_.UserEdit(*pj.TaskAt(2), field::kDuration, "never");
                              }),
               host::HostError);
  ASSERT_TRUE(history.CanUndo());
  history.Undo();
  EXPECT_EQ(dig.Name(), "Dig");
}

// Given many steps on a large project, expect the oldest dropped once the copies they keep pass
// the budget, the newest always kept.
TEST_F(EditHistoryTest, OldStepsGoWhenTheirCopiesPassTheBudget) {
  ProjectBuilder builder = Plan();
  for (int i = 0; i < 20000; ++i) builder.AddTask("Task " + std::to_string(i), 1);
  Project& pj = builder.Build();
  EditHistory history(pj);
  for (int i = 0; i < 4; ++i) {
    history.Record("Typing", [&] { pj.TaskAt(1)->SetField(field::kName, std::to_string(i)); });
  }
  int steps = 0;
  while (history.Undo()) ++steps;
  EXPECT_EQ(steps, static_cast<int>(EditHistory::kTaskCopyBudget / (2 * 20001)));
  EXPECT_EQ(pj.TaskAt(1)->Name(), "1");
}

}  // namespace
}  // namespace lunavant::workbench
