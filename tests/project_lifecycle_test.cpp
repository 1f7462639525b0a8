// SPDX-License-Identifier: MIT
// Projects opening, activating and closing while the add-in keeps their Hijri pairs: each
// project's pairs act on that project only, whatever closes before it, and a typed Hijri date
// is never let through unconverted.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "addin/base/utilities.h"
#include "addin/codec/to_hijri.h"
#include "addin/events/ms_proj_events.h"
#include "addin/pairing/pair_registry.h"
#include "tests/support/addin_fixture.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant {
namespace {

using namespace lunavant::test_support;  // NOLINT: field identifiers and the fixture

// 01/03/1425 is Tuesday 20 April 2004.
constexpr const char* kTypedHijri = "01/03/1425";
constexpr const char* kItsStart = "Tue 20/04/04";

class ProjectLifecycle : public AddinTest {
 protected:
  ~ProjectLifecycle() override {
    app_.RemoveEventSink(after_add_in_);
    add_in_.reset();
  }

  // The add-in connecting, as the host's add-in manager does: bound to the active project.
  void Connect() {
    add_in_ = std::make_unique<events::MSProjEvents>();
    add_in_->Bind(app_, app_.ActiveProject());
    app_.AddEventSink(after_add_in_);
  }

  // A project file with three tasks whose Entry table shows `field` under `alias`, opened.
  workbench::Project& OpenPaired(const std::string& name, host::FieldId field,
                                 const std::string& alias) {
    return Plan(name)
        .AddTask("Dig", 2)
        .AddTask("Pour", 3)
        .AddTask("Cure", 1)
        .Column("Entry", field, alias)
        .Alias(field, alias)
        .BuildOpened();
  }

  static workbench::Task& TaskOf(workbench::Project& pj, int position) {
    return *static_cast<workbench::Task*>(pj.TaskAt(position));
  }

  std::unique_ptr<events::MSProjEvents> add_in_;
  RecordingSink after_add_in_;  // hears every event after the add-in
};

TEST_F(ProjectLifecycle, AfterAnEarlierProjectClosesEachProjectKeepsOnlyItsOwnPairs) {
  // Given A (Text1 with Start) and B (Text2 with Start) open, expect closing A to leave B's pairs
  // working at its new position, and a new project C, taking B's old position, to inherit none:
  // its Text2 takes any text, and the recalculation leaves it alone.
  Connect();
  workbench::Project& a = OpenPaired("A", kText1, "HijriStart");
  workbench::Project& b = OpenPaired("B", kText2, "HijriStart");
  app_.ActivateProject(a.Index());
  ASSERT_TRUE(app_.CloseProject(a));
  ASSERT_EQ(b.Index(), 1);

  app_.UserEdit(TaskOf(b, 2), kText2, kTypedHijri);
  EXPECT_EQ(TaskOf(b, 2).GetField(kStart), kItsStart);
  app_.CalculateProject();
  EXPECT_EQ(TaskOf(b, 1).GetField(kText2), codec::ToHijriText(TaskOf(b, 1).GetField(kStart)));

  workbench::Project& c = Plan("C").AddTask("Plan", 2).Build();
  ASSERT_EQ(c.Index(), 2);
  app_.UserEdit(TaskOf(c, 1), kText2, "call the council");
  EXPECT_EQ(TaskOf(c, 1).GetField(kText2), "call the council");
  app_.CalculateProject();
  EXPECT_EQ(TaskOf(c, 1).GetField(kText2), "call the council");
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(pairing::HijriToGreg(2).Count(), 0);
}

TEST_F(ProjectLifecycle, ClosingAProjectThatIsNotActiveDropsItsOwnPairsOnly) {
  // Given A (Text1 with Start) and the active B (Text2 with Finish), expect closing A to keep B's
  // pair and to leave nothing of A's acting on B.
  Connect();
  workbench::Project& a = OpenPaired("A", kText1, "HijriStart");
  workbench::Project& b = OpenPaired("B", kText2, "HijriFinish");
  ASSERT_EQ(app_.ActiveProject(), &b);
  ASSERT_TRUE(app_.CloseProject(a));
  EXPECT_EQ(add_in_->ClosedProjectSlot, 1);

  app_.UserEdit(TaskOf(b, 1), kText1, "not a date");
  EXPECT_EQ(TaskOf(b, 1).GetField(kText1), "not a date");
  app_.UserEdit(TaskOf(b, 1), kText2, kTypedHijri);
  EXPECT_EQ(TaskOf(b, 1).GetField(kFinish), "Tue 20/04/04");
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ProjectLifecycle, ACancelledCloseLeavesThePairsWorking) {
  // Given a close refused by another handler, and then one the user cancels at the save prompt,
  // expect the project's pairs to keep working; the add-in never hears of the second.
  Connect();
  workbench::Project& a = OpenPaired("A", kText1, "HijriStart");
  after_add_in_.on_close = [](host::Project*, bool& cancel) { cancel = true; };
  EXPECT_FALSE(app_.CloseProject(a));
  after_add_in_.on_close = nullptr;

  app_.UserEdit(TaskOf(a, 1), kText1, kTypedHijri);
  EXPECT_EQ(TaskOf(a, 1).GetField(kStart), kItsStart);

  after_add_in_.log.clear();
  Messages().QueueAnswer(host::MsgBoxResult::kCancel);  // the edit left A unsaved
  EXPECT_FALSE(app_.CloseProject(a));
  EXPECT_TRUE(after_add_in_.log.empty());
  app_.UserEdit(TaskOf(a, 2), kText1, kTypedHijri);
  EXPECT_EQ(TaskOf(a, 2).GetField(kStart), kItsStart);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].style, host::MsgBoxStyle::kYesNoCancelExclamationYesFirst);
}

TEST_F(ProjectLifecycle, ACancelledCloseOfOneOfTwoProjectsKeepsBothPairs) {
  Connect();
  workbench::Project& a = OpenPaired("A", kText1, "HijriStart");
  workbench::Project& b = OpenPaired("B", kText2, "HijriFinish");
  after_add_in_.on_close = [](host::Project*, bool& cancel) { cancel = true; };
  EXPECT_FALSE(app_.CloseProject(a));
  app_.UserEdit(TaskOf(b, 1), kText2, kTypedHijri);
  EXPECT_EQ(TaskOf(b, 1).GetField(kFinish), "Tue 20/04/04");
  app_.ActivateProject(a.Index());
  app_.UserEdit(TaskOf(a, 1), kText1, kTypedHijri);
  EXPECT_EQ(TaskOf(a, 1).GetField(kStart), kItsStart);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ProjectLifecycle, ConnectingWithAProjectOpenRestoresItsPairsAtOnce) {
  // Given a project opened before the add-in connects, expect its pairs restored at connection:
  // a typed Hijri date is converted, never let through as it is.
  workbench::Project& a = OpenPaired("A", kText1, "HijriStart");
  Connect();
  EXPECT_FALSE(add_in_->NoProjectOpen);

  app_.UserEdit(TaskOf(a, 3), kText1, kTypedHijri);
  EXPECT_EQ(TaskOf(a, 3).GetField(kStart), kItsStart);
  EXPECT_EQ(TaskOf(a, 3).GetField(kText1), kTypedHijri);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ProjectLifecycle, TheOpenEventRestoresAtOnceAndTheActivationAddsNothing) {
  // Given a project file opened with the add-in listening to its Open event, expect its pairs
  // restored during Open, the project still opening, and the window activation ending the
  // opening without adding anything. Note: the workbench raises Open only to sinks a loader adds
  // to the project object it hands over, so the watch passes the event on to the add-in.
  Connect();
  bool restored_during_open = false;
  struct OpenWatch : host::ProjectEvents {
    void Open(host::Project& pj) override {
      add_in->Proj_Open(pj);
      *restored = pairing::HijriToGreg(pj.Index()).Count() == 1;
      opening_after_open = add_in->ProjectOpening;
    }
    events::MSProjEvents* add_in;
    bool* restored;
    bool opening_after_open = false;
  } watch;
  watch.add_in = add_in_.get();
  watch.restored = &restored_during_open;
  workbench::Project& pj = Plan("A")
                               .AddTask("Dig", 2)
                               .Column("Entry", kText1, "HijriFinish")
                               .Alias(kText1, "HijriFinish")
                               .BuildOpened(&watch);
  EXPECT_TRUE(restored_during_open);
  EXPECT_TRUE(watch.opening_after_open);
  EXPECT_FALSE(add_in_->ProjectOpening);
  EXPECT_EQ(pairing::HijriToGreg(pj.Index()).Count(), 1);
  EXPECT_EQ(pairing::GregToHijri(pj.Index()).Item(base::KeyText(kFinish)), kText1);
  pj.RemoveEventSink(watch);
}

TEST_F(ProjectLifecycle, EditsLookInSlotZeroWhileAProjectOpensAndAfterTheLastCloses) {
  // Given pairs stored in slot 0 as well, expect them to act only while the add-in knows no
  // project: while a new project's window is not yet active, and after the last project closed.
  Connect();
  app_.SetAutoCalculate(false);  // a new project starts today: scheduling would move the task
  pairing::AddPair(kText2, kStart, 0);
  struct Opening : RecordingSink {
    void NewProject(host::Project& pj) override {
      RecordingSink::NewProject(pj);
      auto& project = static_cast<workbench::Project&>(pj);
      if (project.TaskCount() > 0) return;
      workbench::Task& task = project.AddTask("Early", 1);
      app->UserEdit(task, kText2, kTypedHijri);
      start_while_opening = task.GetField(kStart);
    }
    workbench::Application* app = nullptr;
    std::string start_while_opening;
  } opening;
  opening.app = &app_;
  app_.AddEventSink(opening);
  workbench::Project& a = app_.NewProject("A");
  EXPECT_EQ(opening.start_while_opening, kItsStart);
  app_.RemoveEventSink(opening);
  EXPECT_FALSE(add_in_->ProjectOpening);

  app_.UserEdit(TaskOf(a, 1), kText2, "03/03/1425");  // A's own slot: unpaired
  EXPECT_EQ(TaskOf(a, 1).GetField(kStart), kItsStart);

  Messages().QueueAnswer(host::MsgBoxResult::kNo);
  ASSERT_TRUE(app_.CloseProject(a));
  EXPECT_TRUE(add_in_->NoProjectOpen);
  EXPECT_EQ(pairing::HijriToGreg(0).Count(), 1);
}

TEST_F(ProjectLifecycle, AWindowActivationEndsOpeningOnlyForASavedOrMovedProject) {
  // Given a new project that changed before its window came up (restore flag false) at the
  // position of the last closed project, expect its activation to leave it opening, so edits
  // look in slot 0; then the activation of a project elsewhere ends the opening, and a saved new
  // project at the closed position ends it at once.
  Connect();
  workbench::Project& a = OpenPaired("A", kText1, "HijriStart");
  workbench::Project& b = OpenPaired("B", kText1, "HijriStart");
  ASSERT_TRUE(app_.CloseProject(b));
  ASSERT_EQ(add_in_->ClosedProjectSlot, 2);
  struct Changing : RecordingSink {
    void NewProject(host::Project& pj) override {
      auto& project = static_cast<workbench::Project&>(pj);
      project.AddTask("Dig", 2);
      project.SetCustomTextAlias(0, "HijriStart");
      project.TaskTable("Entry").Columns().Add(kText1, 1, 10, "HijriStart", 1, 0, true);
    }
  } changing;
  app_.AddEventSink(changing);
  workbench::Project& c = app_.NewProject("C");
  app_.RemoveEventSink(changing);
  ASSERT_EQ(c.Index(), 2);
  ASSERT_FALSE(c.Saved());
  EXPECT_TRUE(add_in_->ProjectOpening);
  app_.SetAutoCalculate(false);
  app_.UserEdit(TaskOf(c, 1), kText1, kTypedHijri);
  EXPECT_NE(TaskOf(c, 1).GetField(kStart), kItsStart);

  app_.ActivateProject(a.Index());
  EXPECT_FALSE(add_in_->ProjectOpening);
  app_.ActivateProject(c.Index());
  app_.UserEdit(TaskOf(c, 1), kText1, kTypedHijri);
  EXPECT_EQ(TaskOf(c, 1).GetField(kStart), kItsStart);

  Messages().QueueAnswer(host::MsgBoxResult::kNo);
  ASSERT_TRUE(app_.CloseProject(c));
  ASSERT_EQ(add_in_->ClosedProjectSlot, 2);
  Plan("D").AddTask("Dig").Build();
  EXPECT_FALSE(add_in_->ProjectOpening);
  EXPECT_EQ(Shown().size(), 1u);  // the save prompt of C
}

}  // namespace
}  // namespace lunavant
