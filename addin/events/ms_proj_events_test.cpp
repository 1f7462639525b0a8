// SPDX-License-Identifier: MIT
#include "addin/events/ms_proj_events.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "addin/base/utilities.h"
#include "addin/codec/to_hijri.h"
#include "addin/pairing/catalogues.h"
#include "addin/pairing/pair_registry.h"
#include "tests/support/addin_fixture.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"

namespace lunavant::events {
namespace {

using namespace lunavant::test_support;  // NOLINT: field identifiers and the fixture

// The Hijri text the codec gives for a date as the host shows it.
std::string ToHijriOf(const std::string& shown) { return codec::ToHijriText(shown); }

// The task changes in a recorded event log, nested ones included, in the order the host
// announced them.
std::vector<std::string> Changes(const RecordingSink& sink) {
  std::vector<std::string> changes;
  for (const std::string& line : sink.log) {
    if (line.rfind("ProjectBeforeTaskChange(", 0) == 0) changes.push_back(line);
  }
  return changes;
}

std::string Change(std::int32_t task_id, const std::string& field, const std::string& value) {
  return "ProjectBeforeTaskChange(" + std::to_string(task_id) + ", " + field + ", " + value + ")";
}

// The event object's construction alone, in a fresh process.
class EventObjectConstruction : public ::testing::Test {
 protected:
  void SetUp() override { pairing::ResetProcessState(); }
  void TearDown() override { pairing::ResetProcessState(); }
};

TEST_F(EventObjectConstruction, FillsTheCataloguesOnlyThen) {
  // Given a fresh process, expect nothing in any catalogue until the event object's construction.
  EXPECT_TRUE(pairing::GregDateFields().empty());
  EXPECT_EQ(pairing::WeekdayNames().Count(), 0);
  EXPECT_EQ(base::MsgTitle(), "");
  MSProjEvents events;
  EXPECT_EQ(base::MsgTitle(), "Lunavant");
  EXPECT_EQ(pairing::GregDateFields().size(), 12u);
  EXPECT_EQ(pairing::HijriFieldTitles().size(), 12u);
  EXPECT_EQ(pairing::CustomTextFields().size(), 30u);
  EXPECT_EQ(pairing::ReadOnlyDateFields().size(), 5u);
}

TEST_F(EventObjectConstruction, ASecondOneLeavesTheCataloguesUnchanged) {
  // Given a disconnect and reconnect in one process, expect the keyed catalogues to keep 7 and 24
  // entries and the construction not to fail.
  { MSProjEvents first; }
  MSProjEvents second;
  EXPECT_EQ(pairing::WeekdayNames().Count(), 7);
  EXPECT_EQ(pairing::HijriTitleIndex().Count(), 24);
  EXPECT_EQ(pairing::GregDateFields().size(), 12u);
}

class EventsTest : public AddinTest {
 protected:
  EventsTest() {
    add_in_ = std::make_unique<MSProjEvents>();
    add_in_->Bind(app_, app_.ActiveProject());
    app_.AddEventSink(recorder_);
  }
  ~EventsTest() override {
    app_.RemoveEventSink(recorder_);
    add_in_.reset();
  }

  // A plan of `task_count` two-day tasks whose Entry table shows each text field under its alias.
  ProjectBuilder PairedPlan(std::vector<std::pair<host::FieldId, std::string>> hijri_columns,
                            int task_count = 3) {
    ProjectBuilder plan = Plan();
    for (int i = 1; i <= task_count; ++i) plan.AddTask("Task " + std::to_string(i), 2);
    for (const auto& [field, alias] : hijri_columns) {
      plan.Column("Entry", field, alias).Alias(field, alias);
    }
    return plan;
  }

  workbench::Task& TaskOf(workbench::Project& pj, int position) {
    return *static_cast<workbench::Task*>(pj.TaskAt(position));
  }

  std::unique_ptr<MSProjEvents> add_in_;
  RecordingSink recorder_;
};

// Task edits --------------------------------------------------------------------------------

TEST_F(EventsTest, TypedHijriDateMovesStartAndTheRefreshRewritesOnlyRelatedTasks) {
  // Given A->B linked and C unrelated, Text1 paired with Start, expect typing a Hijri date into
  // A's Text1 to write A's Start (the nested event ignored), and the recalculation to rewrite A,
  // then B (moved), never C.
  workbench::Project& pj = PairedPlan({{kText1, "HijriStart"}}, 3).Link(1, 2).BuildOpened();
  app_.CalculateProject();  // the full refresh writes every Text1
  EXPECT_EQ(TaskOf(pj, 1).GetField(kText1), ToHijriOf(TaskOf(pj, 1).GetField(kStart)));
  recorder_.log.clear();

  app_.UserEdit(TaskOf(pj, 1), kText1, "01/03/1425");  // Tuesday 20 April 2004

  EXPECT_EQ(TaskOf(pj, 1).GetField(kStart), "Tue 20/04/04");
  const std::string b_start = TaskOf(pj, 2).GetField(kStart);
  EXPECT_EQ(recorder_.log,
            (std::vector<std::string>{
                Change(1, "Start", "Tue 20/04/04"), Change(1, "Text1", "01/03/1425"),
                Change(2, "Text1", ToHijriOf(b_start)), Change(1, "Text1", "01/03/1425"),
                "ProjectCalculate(Plan)"}));  // heard after the add-in
  EXPECT_EQ(TaskOf(pj, 2).GetField(kText1), ToHijriOf(b_start));
  EXPECT_FALSE(add_in_->EditSynced);
  EXPECT_EQ(add_in_->VisitedTasks.Count(), 0);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(EventsTest, EditingAPairedDateWritesItsHijriText) {
  workbench::Project& pj =
      PairedPlan({{kText1, "HijriStart"}, {kText2, "HijriBaselineStart"}}).BuildOpened();
  app_.SetAutoCalculate(false);
  workbench::Task& task = TaskOf(pj, 2);

  app_.UserEdit(task, kStart, "Mon 15/03/04");
  EXPECT_EQ(task.GetField(kText1), "24/01/1425");
  EXPECT_TRUE(add_in_->EditSynced);

  app_.UserEdit(task, kBaselineStart, "Mon 15/03/04");
  EXPECT_EQ(task.GetField(kText2), "24/01/1425");
  app_.UserEdit(task, kBaselineStart, "");  // nothing to write; the change goes through
  EXPECT_EQ(task.GetField(kText2), "24/01/1425");
  EXPECT_EQ(task.GetField(kBaselineStart), "NA");

  app_.UserEdit(task, kBaselineStart, "NA");
  EXPECT_EQ(task.GetField(kText2), "NA");
  EXPECT_TRUE(Shown().empty());
  EXPECT_EQ(add_in_->LastChangedTaskId, 2);
}

TEST_F(EventsTest, RefusesADateTheCodecCannotReadWithItsMessage) {
  workbench::Project& pj = PairedPlan({{kText1, "HijriStart"}}).BuildOpened();
  app_.SetAutoCalculate(false);
  workbench::Task& task = TaskOf(pj, 1);
  app_.UserEdit(task, kStart, "Mon 15/03/04");
  ASSERT_EQ(task.GetField(kText1), "24/01/1425");

  EXPECT_NO_THROW(app_.UserEdit(task, kStart, "Fri  05/03/04"));  // two blanks

  EXPECT_EQ(task.GetField(kStart), "Mon 15/03/04");
  EXPECT_EQ(task.GetField(kText1), "24/01/1425");
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_NE(Shown()[0].prompt.find("Error Number : 13\r\n"), std::string::npos);
  EXPECT_TRUE(add_in_->SyncEnabled);
}

TEST_F(EventsTest, RefusesHijriEditsOfSummaryTasksAndOfComputedDatesSilently) {
  // Given a summary task, expect its Hijri edit refused without a message; given Text2 paired with
  // Early Start, expect any edit, even clearing, refused and nothing converted.
  workbench::Project& pj = Plan()
                               .AddTask("Summary", 1, 1)
                               .AddTask("Child", 2, 2)
                               .Column("Entry", kText1, "HijriStart")
                               .Alias(kText1, "HijriStart")
                               .Column("Entry", kText2, "HijriEarlyStart")
                               .Alias(kText2, "HijriEarlyStart")
                               .BuildOpened();
  app_.SetAutoCalculate(false);
  const std::string summary_start = TaskOf(pj, 1).GetField(kStart);
  const std::string child_early = TaskOf(pj, 2).GetField(kEarlyStart);

  app_.UserEdit(TaskOf(pj, 1), kText1, "01/03/1425");
  app_.UserEdit(TaskOf(pj, 2), kText2, "01/03/1425");
  app_.UserEdit(TaskOf(pj, 2), kText2, "");

  EXPECT_EQ(TaskOf(pj, 1).GetField(kStart), summary_start);
  EXPECT_EQ(TaskOf(pj, 1).GetField(kText1), "");
  EXPECT_EQ(TaskOf(pj, 2).GetField(kEarlyStart), child_early);
  EXPECT_EQ(TaskOf(pj, 2).GetField(kText2), "");
  EXPECT_TRUE(Shown().empty());
  EXPECT_FALSE(add_in_->EditSynced);
}

TEST_F(EventsTest, HandlesClearedAndNAHijriTextForAWritableDate) {
  workbench::Project& pj =
      PairedPlan({{kText1, "HijriStart"}, {kText2, "HijriBaselineStart"}}).BuildOpened();
  app_.SetAutoCalculate(false);
  workbench::Task& task = TaskOf(pj, 1);
  app_.UserEdit(task, kText1, "01/03/1425");
  app_.UserEdit(task, kText1, "");  // goes through; Start keeps its date
  EXPECT_EQ(task.GetField(kText1), "");
  EXPECT_EQ(task.GetField(kStart), "Tue 20/04/04");

  app_.UserEdit(task, kBaselineStart, "Tue 20/04/04");
  app_.UserEdit(task, kText2, "na");  // written into the date as typed
  EXPECT_EQ(task.GetField(kBaselineStart), "NA");
  EXPECT_EQ(task.GetField(kText2), "na");
  EXPECT_TRUE(Shown().empty());
}

TEST_F(EventsTest, AWriteTheHostRefusesIsReportedAndRefusesTheEditWithoutPausingSync) {
  // Given Start, which takes no "NA", expect the refused write reported once and the edit refused
  // with it, so the pair stays as it was; under manual calculation the next edit still syncs.
  workbench::Project& pj = PairedPlan({{kText1, "HijriStart"}}).BuildOpened();
  app_.SetAutoCalculate(false);
  workbench::Task& task = TaskOf(pj, 1);
  const std::string start = task.GetField(kStart);
  app_.UserEdit(task, kStart, start);  // gives Text1 its Hijri text
  const std::string hijri = task.GetField(kText1);
  ASSERT_FALSE(hijri.empty());

  app_.UserEdit(task, kText1, "NA");
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_NE(Shown()[0].prompt.find("Error Number : 1004\r\n"), std::string::npos);
  EXPECT_EQ(task.GetField(kText1), hijri);
  EXPECT_EQ(task.GetField(kStart), start);
  EXPECT_TRUE(add_in_->SyncEnabled);

  app_.UserEdit(task, kText1, "01/03/1425");
  EXPECT_EQ(task.GetField(kStart), "Tue 20/04/04");
  EXPECT_EQ(Shown().size(), 1u);
}

TEST_F(EventsTest, RefusesInvalidHijriTextWithTheCodecsMessage) {
  workbench::Project& pj = PairedPlan({{kText1, "HijriStart"}}).BuildOpened();
  app_.SetAutoCalculate(false);
  workbench::Task& task = TaskOf(pj, 1);
  const std::string start = task.GetField(kStart);
  app_.UserEdit(task, kText1, "31/1/1425");
  EXPECT_EQ(task.GetField(kText1), "");
  EXPECT_EQ(task.GetField(kStart), start);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_NE(Shown()[0].prompt.find("Error Number : 103\r\n"), std::string::npos);
  EXPECT_TRUE(add_in_->SyncEnabled);
}

TEST_F(EventsTest, TreatsAFieldInBothMapsAsHijriText) {
  // Note: Start paired with Text1 and Text1 (as a date key) with Start cannot come from the
  // dialogs; the registry allows it, and the Hijri side wins.
  workbench::Project& pj = PairedPlan({}).BuildOpened();
  app_.SetAutoCalculate(false);
  pairing::AddPair(kText1, kStart, pj.Index());
  pairing::AddPair(kStart, kText1, pj.Index());
  app_.UserEdit(TaskOf(pj, 1), kText1, "01/03/1425");
  EXPECT_EQ(TaskOf(pj, 1).GetField(kStart), "Tue 20/04/04");
}

TEST_F(EventsTest, AChangeRefusedBeforeTheAddInIsNeverConverted) {
  RecordingSink refuser;
  refuser.on_task_change = [](host::Task&, host::FieldId, const host::Value&, bool& cancel) {
    cancel = true;
  };
  add_in_.reset();
  app_.AddEventSink(refuser);
  add_in_ = std::make_unique<MSProjEvents>();
  add_in_->Bind(app_, app_.ActiveProject());
  workbench::Project& pj = PairedPlan({{kText1, "HijriStart"}}).BuildOpened();
  app_.SetAutoCalculate(false);
  const std::string start = TaskOf(pj, 3).GetField(kStart);

  app_.UserEdit(TaskOf(pj, 3), kText1, "01/03/1425");

  EXPECT_EQ(TaskOf(pj, 3).GetField(kStart), start);
  EXPECT_TRUE(add_in_->SyncEnabled);
  EXPECT_EQ(add_in_->LastChangedTaskId, 3);
  EXPECT_FALSE(add_in_->EditSynced);
  app_.RemoveEventSink(refuser);
}

TEST_F(EventsTest, AnUnpairedFieldOnlyRecordsTheTask) {
  workbench::Project& pj = PairedPlan({{kText1, "HijriStart"}}).BuildOpened();
  app_.SetAutoCalculate(false);
  recorder_.log.clear();
  app_.UserEdit(TaskOf(pj, 2), kName, "Pour");
  EXPECT_EQ(recorder_.log, (std::vector<std::string>{Change(2, "Name", "Pour")}));
  EXPECT_EQ(add_in_->LastChangedTaskId, 2);
  EXPECT_FALSE(add_in_->EditSynced);
}

TEST_F(EventsTest, ConnectingWithAProjectOpenUsesItsSlotAtOnce) {
  // Given pairs stored under the project's own slot of a project open before the object was
  // bound, expect the binding to make the project known, so edits find them.
  workbench::Project& pj = app_.NewProject("Early");
  add_in_ = std::make_unique<MSProjEvents>();
  add_in_->Bind(app_, &pj);
  EXPECT_FALSE(add_in_->NoProjectOpen);
  pairing::AddPair(kText1, kStart, pj.Index());
  app_.SetAutoCalculate(false);
  pj.SetProjectStart(workbench::MomentOf(2004, 3, 1, 8, 0));
  workbench::Task& task = pj.AddTask("Dig", 2);
  app_.UserEdit(task, kText1, "01/03/1425");
  EXPECT_EQ(task.GetField(kStart), "Tue 20/04/04");
}

// Recalculation ----------------------------------------------------------------------------

TEST_F(EventsTest, FullRefreshRewritesEveryPairAndSkipsBlankRows) {
  workbench::Project& pj = Plan()
                               .AddTask("A", 2)
                               .AddBlankRow()
                               .AddTask("C", 3)
                               .Column("Entry", kText1, "HijriStart")
                               .Alias(kText1, "HijriStart")
                               .Column("Entry", kText2, "HijriFinish")
                               .Alias(kText2, "HijriFinish")
                               .BuildOpened();
  recorder_.log.clear();

  app_.CalculateProject();

  EXPECT_EQ(Changes(recorder_).size(), 4u);
  for (int position : {1, 3}) {
    workbench::Task& task = TaskOf(pj, position);
    EXPECT_EQ(task.GetField(kText1), ToHijriOf(task.GetField(kStart)));
    EXPECT_EQ(task.GetField(kText2), ToHijriOf(task.GetField(kFinish)));
  }
  EXPECT_EQ(Pointer().History(),
            (std::vector<std::int32_t>{host::kPointerBusy, host::kPointerDefault}));
}

TEST_F(EventsTest, AFullRefreshWritesWithTheRegionalSettingsOfItsOwnTime) {
  // Given a refresh under dd/MM/yyyy with "/", then the user's switch to yyyy-MM-dd with "-",
  // expect the next full refresh to show the dates in the new order and to write every Hijri text
  // anew with "-": the same Hijri dates, nothing kept from the first settings.
  PinRegionalSettings("dd/MM/yyyy", "/");
  workbench::Project& pj =
      PairedPlan({{kText1, "HijriStart"}, {kText2, "HijriFinish"}}, 3).Link(1, 2).BuildOpened();
  app_.CalculateProject();
  std::vector<std::string> first;
  for (int position = 1; position <= 3; ++position) {
    first.push_back(TaskOf(pj, position).GetField(kText1));
    EXPECT_NE(first.back().find('/'), std::string::npos) << first.back();
  }

  PinRegionalSettings("yyyy-MM-dd", "-");
  recorder_.log.clear();
  pairing::SetForceRefresh(true);
  app_.CalculateProject();

  EXPECT_EQ(Changes(recorder_).size(), 6u);
  for (int position = 1; position <= 3; ++position) {
    workbench::Task& task = TaskOf(pj, position);
    const std::string shown = task.GetField(kStart);
    EXPECT_EQ(shown.substr(4, 3), "04-") << shown;  // "Mon 04-03-01": the year comes first
    std::string hijri = task.GetField(kText1);
    EXPECT_EQ(hijri, ToHijriOf(shown));
    EXPECT_EQ(task.GetField(kText2), ToHijriOf(task.GetField(kFinish)));
    EXPECT_EQ(hijri.find('/'), std::string::npos) << hijri;
    std::replace(hijri.begin(), hijri.end(), '-', '/');
    EXPECT_EQ(hijri, first[static_cast<std::size_t>(position - 1)]);
  }
}

TEST_F(EventsTest, TheFourCombinationsOfForceRefreshAndEditSynced) {
  workbench::Project& pj = PairedPlan({{kText1, "HijriStart"}}, 4).BuildOpened();
  app_.SetAutoCalculate(false);
  const auto text1_writes = [&] {
    int writes = 0;
    for (const std::string& change : Changes(recorder_)) {
      writes += change.find(", Text1, ") != std::string::npos ? 1 : 0;
    }
    return writes;
  };
  const struct {
    bool force;
    bool synced_edit;
    int expected_writes;  // of Text1 by the recalculation
  } cases[] = {{false, false, 4}, {true, false, 4}, {false, true, 1}, {true, true, 5}};
  for (const auto& c : cases) {
    if (c.synced_edit) app_.UserEdit(TaskOf(pj, 3), kStart, "Mon 15/03/04");
    pairing::SetForceRefresh(c.force);
    recorder_.log.clear();
    app_.CalculateProject();
    EXPECT_EQ(text1_writes(), c.expected_writes) << c.force << c.synced_edit;
    EXPECT_FALSE(pairing::ForceRefresh());
    EXPECT_FALSE(add_in_->EditSynced);
    EXPECT_TRUE(add_in_->SyncEnabled);
    EXPECT_EQ(add_in_->VisitedTasks.Count(), 0);
  }
}

TEST_F(EventsTest, TheTargetedRefreshVisitsEachLinkedTaskOnce) {
  // Given a chain 1->2->3->4->5, each link seen from both ends, expect an edit of task 3 to
  // rewrite every task of the chain exactly once, the edited task last.
  workbench::Project& pj = PairedPlan({{kText1, "HijriStart"}}, 5)
                               .Link(1, 2)
                               .Link(2, 3)
                               .Link(3, 4)
                               .Link(4, 5)
                               .BuildOpened();
  app_.CalculateProject();
  recorder_.log.clear();
  app_.UserEdit(TaskOf(pj, 3), kStart, "Mon 15/03/04");
  const std::vector<std::string> log = recorder_.log;
  // Between the edit itself and the recalculation, which the recorder hears after the add-in.
  const auto edit = std::find(log.begin(), log.end(), Change(3, "Start", "Mon 15/03/04"));
  const auto calculation = std::find(log.begin(), log.end(), "ProjectCalculate(Plan)");
  ASSERT_LT(edit, calculation);
  std::vector<std::int32_t> refreshed;
  for (auto line = edit + 1; line != calculation; ++line) {
    if (line->find(", Text1, ") != std::string::npos) {
      refreshed.push_back(std::stoi(line->substr(line->find('(') + 1)));
    }
  }
  // 2's relatives first (1), then 2, then 4's (5), then 4, then the edited task.
  EXPECT_EQ(refreshed, (std::vector<std::int32_t>{1, 2, 5, 4, 3}));
  EXPECT_EQ(add_in_->VisitedTasks.Count(), 0);
}

TEST_F(EventsTest, ATargetedRefreshOfAnAbsentTaskRewritesNothing) {
  workbench::Project& pj = PairedPlan({{kText1, "HijriStart"}}).BuildOpened();
  app_.SetAutoCalculate(false);
  app_.UserEdit(TaskOf(pj, 1), kStart, "Mon 15/03/04");
  add_in_->LastChangedTaskId = 99;
  recorder_.log.clear();
  app_.CalculateProject();
  EXPECT_TRUE(Changes(recorder_).empty());
  EXPECT_EQ(add_in_->VisitedTasks.Count(), 0);
}

// Project lifecycle -------------------------------------------------------------------------

TEST_F(EventsTest, OpeningRestoresPairsFromExactDefaultTitlesOfTextFields) {
  // Given HijriFinish on Text1 and hijrifinish on Text2, expect only Text1 paired, with Finish.
  workbench::Project& pj =
      PairedPlan({{kText1, "HijriFinish"}, {kText2, "hijrifinish"}}).BuildOpened();
  const std::int32_t slot = pj.Index();
  EXPECT_EQ(pairing::HijriToGreg(slot).Count(), 1);
  EXPECT_EQ(pairing::HijriToGreg(slot).Item(base::KeyText(kText1)), kFinish);
  EXPECT_EQ(pairing::GregToHijri(slot).Item(base::KeyText(kFinish)), kText1);
  EXPECT_FALSE(add_in_->ProjectOpening);
  EXPECT_FALSE(add_in_->NoProjectOpen);
}

TEST_F(EventsTest, TheFirstTextFieldFoundWinsTheDateField) {
  workbench::Project& pj =
      PairedPlan({{kText2, "HijriStart"}, {kText1, "HijriStart"}}).BuildOpened();
  // Text2's column stands before Text1's, so Text2 is found first.
  const std::int32_t slot = pj.Index();
  EXPECT_EQ(pairing::HijriToGreg(slot).Count(), 2);
  EXPECT_EQ(pairing::GregToHijri(slot).Count(), 1);
  EXPECT_EQ(pairing::GregToHijri(slot).Item(base::KeyText(kStart)), kText2);
}

TEST_F(EventsTest, ClosingDropsThePairsOfTheActiveProjectAndTheLastOneResetsTheSlot) {
  workbench::Project& first = PairedPlan({{kText1, "HijriStart"}}).BuildOpened();
  workbench::Project& second = PairedPlan({{kText2, "HijriFinish"}}).BuildOpened();
  ASSERT_EQ(first.Index(), 1);
  ASSERT_EQ(second.Index(), 2);
  EXPECT_TRUE(app_.CloseProject(second));
  EXPECT_EQ(pairing::HijriToGreg(2).Count(), 0);
  EXPECT_EQ(pairing::HijriToGreg(1).Count(), 1);
  EXPECT_FALSE(add_in_->NoProjectOpen);
  EXPECT_EQ(add_in_->ClosedProjectSlot, 2);
  EXPECT_TRUE(app_.CloseProject(first));
  EXPECT_TRUE(add_in_->NoProjectOpen);
  EXPECT_EQ(pairing::HijriToGreg(1).Count(), 0);
}

TEST_F(EventsTest, SavingChangesNothingAndActivationWithoutOpeningRestoresNothing) {
  workbench::Project& pj = PairedPlan({{kText1, "HijriStart"}}).BuildOpened();
  pairing::ClearSlot(pj.Index());
  EXPECT_TRUE(app_.SaveProject(pj));
  app_.ActivateProject(pj.Index());
  EXPECT_EQ(pairing::HijriToGreg(pj.Index()).Count(), 0);
  EXPECT_FALSE(add_in_->ProjectOpening);
}

TEST_F(EventsTest, TheEndedObjectHearsNoMoreEvents) {
  workbench::Project& pj = PairedPlan({{kText1, "HijriStart"}}).BuildOpened();
  add_in_.reset();
  app_.UserEdit(TaskOf(pj, 1), kText1, "01/03/1425");
  EXPECT_NE(TaskOf(pj, 1).GetField(kStart), "Tue 20/04/04");
}

// Large projects ----------------------------------------------------------------------------

TEST_F(EventsTest, RefreshesFortyThousandTasksAndSyncsAnEditBeyondSixteenBits) {
  workbench::Project& pj = PairedPlan({{kText1, "HijriStart"}}, 40000).BuildOpened();
  app_.CalculateProject();
  EXPECT_EQ(TaskOf(pj, 40000).GetField(kText1), ToHijriOf(TaskOf(pj, 40000).GetField(kStart)));
  app_.UserEdit(TaskOf(pj, 39000), kText1, "01/03/1425");
  EXPECT_EQ(TaskOf(pj, 39000).GetField(kStart), "Tue 20/04/04");
  EXPECT_EQ(add_in_->LastChangedTaskId, 39000);
  EXPECT_EQ(TaskOf(pj, 39000).GetField(kText1), "01/03/1425");
  EXPECT_TRUE(Shown().empty());
}

}  // namespace
}  // namespace lunavant::events
