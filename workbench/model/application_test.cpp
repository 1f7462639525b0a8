// SPDX-License-Identifier: MIT
#include "workbench/model/application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/workbench_fixture.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/messages.h"
#include "workbench/platform/recording_ui.h"
#include "workbench/platform/regional_settings.h"

namespace lunavant::workbench {
namespace {

using test_support::ErrorOf;
using test_support::RecordingSink;
using Strings = std::vector<std::string>;

class ApplicationTest : public test_support::WorkbenchTest {
 protected:
  ApplicationTest() { app_.AddEventSink(sink_); }
  ~ApplicationTest() override { app_.RemoveEventSink(sink_); }
  RecordingSink sink_;
};

// Given new projects, expect NewProject and then the window activation, each project active in
// turn and numbered by its position.
TEST_F(ApplicationTest, NewProjectRaisesNewProjectThenWindowActivate) {
  Project& a = app_.NewProject("A");
  Project& b = app_.NewProject();
  EXPECT_EQ(sink_.log, (Strings{"NewProject(A)", "WindowActivate(A)", "NewProject(Project1)",
                                "WindowActivate(Project1)"}));
  EXPECT_EQ(app_.ActiveProject(), &b);
  EXPECT_EQ(a.Index(), 1);
  EXPECT_EQ(b.Index(), 2);
  EXPECT_EQ(b.CurrentTable(), "Entry");
  EXPECT_TRUE(b.Saved());
}

// Given three projects, closing the first: the close event still counts it, the others move up,
// and the closed one keeps answering (index 0) for a holder that did not let go.
TEST_F(ApplicationTest, IndexNumbersShiftWhenAProjectCloses) {
  Project& a = app_.NewProject("A");
  Task& dig = a.AddTask("Dig");
  Project& b = app_.NewProject("B");
  Project& c = app_.NewProject("C");
  std::int32_t count_during_close = -1;
  sink_.on_close = [&](host::Project*, bool&) { count_during_close = app_.ProjectCount(); };
  sink_.log.clear();
  Messages().QueueAnswer(host::MsgBoxResult::kNo);  // A has a task nobody saved
  EXPECT_TRUE(app_.CloseProject(a));
  EXPECT_EQ(count_during_close, 3);
  EXPECT_EQ(app_.ProjectCount(), 2);
  EXPECT_EQ(b.Index(), 1);
  EXPECT_EQ(c.Index(), 2);
  EXPECT_EQ(a.Index(), 0);
  EXPECT_EQ(a.Name(), "A");
  EXPECT_EQ(ErrorOf([&] { dig.SetField(field::kName, "Fill"); }),
            (host::ErrorRecord{host::kHostFailure, std::string(message::kProjectNotOpen)}));
  EXPECT_EQ(dig.Name(), "Dig");
  // The active project was C, so no other window became active.
  EXPECT_EQ(sink_.log, (Strings{"ProjectBeforeClose(A)"}));
  EXPECT_EQ(app_.ActiveProject(), &c);
}

// Given a handler that sets Cancel, expect the project to stay open and active.
TEST_F(ApplicationTest, CancelledCloseKeepsTheProjectOpen) {
  Project& a = app_.NewProject("A");
  sink_.on_close = [](host::Project*, bool& cancel) { cancel = true; };
  EXPECT_FALSE(app_.CloseProject(1));
  EXPECT_EQ(app_.ProjectCount(), 1);
  EXPECT_EQ(a.Index(), 1);
  EXPECT_EQ(app_.ActiveProject(), &a);
}

// Given an unsaved project, expect the save prompt before any close event: Cancel keeps it open
// and tells the sinks nothing, Yes saves it (a refused save keeps it open), No closes it unsaved.
TEST_F(ApplicationTest, AnUnsavedProjectAsksWhetherToSaveBeforeItCloses) {
  Project& a = app_.NewProject("A");
  a.AddTask("Dig");
  std::vector<std::string> written;
  app_.SetSaveHandler([&](Project& saved) { written.push_back(saved.Name()); });
  bool refuse_save = true;
  sink_.on_save = [&](host::Project&, bool, bool& cancel) { cancel = refuse_save; };
  sink_.log.clear();

  Messages().QueueAnswer(host::MsgBoxResult::kCancel);
  EXPECT_FALSE(app_.CloseProject(a));
  Messages().QueueAnswer(host::MsgBoxResult::kYes);
  EXPECT_FALSE(app_.CloseProject(a));
  EXPECT_EQ(sink_.log, (Strings{"ProjectBeforeSave(A)"}));
  EXPECT_EQ(app_.ProjectCount(), 1);

  refuse_save = false;
  EXPECT_TRUE(app_.CloseProject(a));  // unscripted: Yes, the default button
  EXPECT_EQ(written, (Strings{"A"}));
  Project& b = app_.NewProject("B");
  b.AddTask("Pour");
  Messages().QueueAnswer(host::MsgBoxResult::kNo);
  EXPECT_TRUE(app_.CloseProject(b));
  EXPECT_EQ(written, (Strings{"A"}));

  const ShownMessage ask_a{"Do you want to save the changes you made to \"A\"?",
                           host::MsgBoxStyle::kYesNoCancelExclamationYesFirst, "Workbench",
                           host::MsgBoxResult::kCancel};
  ASSERT_EQ(Messages().Shown().size(), 4u);
  EXPECT_EQ(Messages().Shown()[0], ask_a);
  EXPECT_EQ(Messages().Shown()[3].answer, host::MsgBoxResult::kNo);
  EXPECT_EQ(sink_.log,
            (Strings{"ProjectBeforeSave(A)", "ProjectBeforeSave(A)", "ProjectBeforeClose(A)",
                     "NewProject(B)", "WindowActivate(B)", "ProjectBeforeClose(B)"}));
}

// Given the active project closing, expect the last remaining one to become active, with its
// window activation; closing the last one leaves no active project.
TEST_F(ApplicationTest, ClosingTheActiveProjectActivatesAnother) {
  app_.NewProject("A");
  app_.NewProject("B");
  sink_.log.clear();
  EXPECT_TRUE(app_.CloseProject(2));
  EXPECT_TRUE(app_.CloseProject(1));
  EXPECT_EQ(sink_.log,
            (Strings{"ProjectBeforeClose(B)", "WindowActivate(A)", "ProjectBeforeClose(A)"}));
  EXPECT_EQ(app_.ActiveProject(), nullptr);
  EXPECT_EQ(app_.ActiveWindow(), nullptr);
  EXPECT_EQ(ErrorOf([&] { app_.CloseProject(1); }).number, host::kSubscriptOutOfRange);
}

// Given an opened project, expect NewProject to the application, Open on that project's own
// sinks while it is already the active project, then the activation; a sink bound to the project
// active before hears nothing of it.
TEST_F(ApplicationTest, OpenGoesToTheOpenedProjectsSinks) {
  Project& first = app_.NewProject("First");
  RecordingSink bound_to_first;
  first.AddEventSink(bound_to_first);
  struct OwnSink : RecordingSink {
    explicit OwnSink(Application& application) : app(application) {}
    void Open(host::Project& pj) override {
      RecordingSink::Open(pj);
      active_during_open = app.ActiveProject();
    }
    Application& app;
    host::Project* active_during_open = nullptr;
  } own(app_);
  sink_.log.clear();
  Project& opened = Plan("Opened").AddTask("Dig").BuildOpened(&own);
  EXPECT_EQ(own.log, (Strings{"Open(Opened)"}));
  EXPECT_EQ(own.active_during_open, &opened);
  EXPECT_TRUE(bound_to_first.log.empty());
  EXPECT_EQ(sink_.log, (Strings{"NewProject(Opened)", "WindowActivate(Opened)"}));
  EXPECT_EQ(app_.ActiveProject(), &opened);
  EXPECT_TRUE(opened.Saved());
  first.RemoveEventSink(bound_to_first);
  opened.RemoveEventSink(own);
}

// Given a second application's project, expect adoption to be refused.
TEST_F(ApplicationTest, RefusesAProjectOfAnotherApplication) {
  Application other;
  EXPECT_EQ(
      ErrorOf([&] { app_.AdoptOpenedProject(std::make_unique<Project>(other, "X")); }),
      (host::ErrorRecord{host::kHostFailure, std::string(message::kProjectOfOtherApplication)}));
  EXPECT_EQ(app_.ProjectCount(), 0);
}

// Given a sink that removes another sink while an event is delivered, expect the removed sink
// to hear nothing more, not even the rest of that event.
TEST_F(ApplicationTest, SinkRemovedDuringDeliveryHearsNothingMore) {
  RecordingSink second;
  app_.AddEventSink(second);
  sink_.on_calculate = [&](host::Project&) { app_.RemoveEventSink(second); };
  app_.NewProject("A");
  app_.CalculateProject();
  app_.CalculateProject();
  EXPECT_EQ(second.log, (Strings{"NewProject(A)", "WindowActivate(A)"}));
  EXPECT_EQ(std::count(sink_.log.begin(), sink_.log.end(), "ProjectCalculate(A)"), 2);
}

// Given a recalculation, expect ProjectCalculate while CalculateProject is still running, with
// the new dates already in place.
TEST_F(ApplicationTest, ProjectCalculateArrivesBeforeCalculateReturns) {
  Project& pj = Plan().AddTask("Dig", 2).AddTask("Pour", 1).Build();
  pj.AddLink(*pj.TaskAt(1), *pj.TaskAt(2));
  bool returned = false;
  std::string finish_seen;
  sink_.on_calculate = [&](host::Project& calculated) {
    EXPECT_FALSE(returned);
    finish_seen = calculated.TaskAt(2)->GetField(field::kFinish);
  };
  app_.CalculateProject();
  returned = true;
  EXPECT_EQ(finish_seen, "Wed 03/03/04");
}

// Given no open project, expect the active-project commands to fail clearly.
TEST_F(ApplicationTest, CommandsNeedAnOpenProject) {
  const host::ErrorRecord none{host::kHostFailure, std::string(message::kNoProjectOpen)};
  EXPECT_EQ(ErrorOf([&] { app_.CalculateProject(); }), none);
  EXPECT_EQ(ErrorOf([&] { app_.TableApply("Entry"); }), none);
  EXPECT_EQ(ErrorOf([&] { app_.CustomFieldGetName(field::kText1); }), none);
  EXPECT_TRUE(sink_.log.empty());
}

// Given Save and Save As, expect ProjectBeforeSave with the right flag, a refusal on Cancel that
// leaves the project unsaved, and the save handler called otherwise.
TEST_F(ApplicationTest, SaveRaisesBeforeSaveAndHonoursCancel) {
  Project& pj = app_.NewProject("A");
  pj.AddTask("Dig");
  std::vector<std::string> written;
  app_.SetSaveHandler([&](Project& saved) { written.push_back(saved.Name()); });
  sink_.on_save = [](host::Project&, bool save_as_ui, bool& cancel) { cancel = !save_as_ui; };
  sink_.log.clear();
  EXPECT_FALSE(app_.SaveProject(pj));
  EXPECT_FALSE(pj.Saved());
  EXPECT_TRUE(app_.SaveProjectAs(pj, "B"));
  EXPECT_TRUE(pj.Saved());
  EXPECT_EQ(sink_.log, (Strings{"ProjectBeforeSave(A)", "ProjectBeforeSave(A, save as)"}));
  EXPECT_EQ(written, (Strings{"B"}));
}

// Given field names in any letter case and a custom alias, expect identifiers; an unknown name or
// identifier fails with the whole message.
TEST_F(ApplicationTest, FieldNamesAndIdentifiersBothWays) {
  Plan().Alias(field::kText1, "HijriStart").Build();
  EXPECT_EQ(app_.FieldNameToFieldConstant("start"), field::kStart);
  EXPECT_EQ(app_.FieldNameToFieldConstant("% COMPLETE"), 188743712);
  EXPECT_EQ(app_.FieldNameToFieldConstant("hijristart"), field::kText1);
  EXPECT_EQ(app_.FieldConstantToFieldName(field::kText1), "Text1");
  EXPECT_EQ(ErrorOf([&] { app_.FieldNameToFieldConstant("Startt"); }),
            (host::ErrorRecord{host::kHostFailure, "\"Startt\" is not the name of a task field."}));
  EXPECT_EQ(ErrorOf([&] { app_.FieldConstantToFieldName(42); }),
            (host::ErrorRecord{host::kHostFailure,
                               "The field identifier 42 is not a task field of this host."}));
}

// Given the custom text fields, expect alias and formula to start empty and keep what is set, per
// project; other fields fail and an alias may not take another field's name.
TEST_F(ApplicationTest, CustomTextFieldsKeepAliasAndFormula) {
  Project& a = Plan("A").Build();
  const host::FieldId text30 = CustomTextField(29);
  EXPECT_EQ(app_.CustomFieldGetName(text30), "");
  app_.CustomFieldRename(text30, "HijriFinish");
  app_.CustomFieldSetFormula(text30, "[Finish]");
  EXPECT_FALSE(a.Saved());
  EXPECT_EQ(app_.CustomFieldGetName(text30), "HijriFinish");
  EXPECT_EQ(app_.CustomFieldGetFormula(text30), "[Finish]");
  // Note: its own name back, as the remove command gives it, leaves the field without an alias.
  app_.CustomFieldRename(text30, "Text30");
  EXPECT_EQ(app_.CustomFieldGetName(text30), "");
  EXPECT_EQ(ErrorOf([&] { app_.CustomFieldRename(text30, "finish"); }),
            (host::ErrorRecord{host::kHostFailure,
                               "The name \"finish\" is already the name of the field Finish."}));
  EXPECT_EQ(ErrorOf([&] { app_.CustomFieldGetName(field::kStart); }),
            (host::ErrorRecord{host::kHostFailure,
                               "The field Start has no alias or formula: only the custom text "
                               "fields Text1 to Text30 have them."}));
  Plan("B").Build();
  EXPECT_EQ(app_.CustomFieldGetName(text30), "");
}

// Given a table name with the menu caption's "&", expect it applied by its own name; an unknown
// table fails and leaves the view as it was.
TEST_F(ApplicationTest, TableApplyIgnoresALeadingAmpersand) {
  Project& pj = Plan().Build();
  app_.TableApply("&schedule");
  EXPECT_EQ(pj.CurrentTable(), "Schedule");
  EXPECT_EQ(
      ErrorOf([&] { app_.TableApply("&Gantt"); }),
      (host::ErrorRecord{host::kHostFailure, "The project has no task table named \"Gantt\"."}));
  EXPECT_EQ(pj.CurrentTable(), "Schedule");
}

// Given a selected Text1 column and a blank row, expect one change event per task (none for the
// blank row) with the empty text, and a cancelled one keeping its text.
TEST_F(ApplicationTest, EditClearContentsClearsEachTaskThroughTheChangeEvent) {
  Project& pj = Plan()
                    .AddTask("A")
                    .AddBlankRow()
                    .AddTask("C")
                    .AddTask("D")
                    .Field(1, field::kText1, "x")
                    .Field(3, field::kText1, "y")
                    .Field(4, field::kText1, "z")
                    .Build();
  pj.TaskTable("Entry").Columns().Add(field::kText1, 1, 10, "Hijri", 1, 3, true);
  app_.SelectTaskColumn("Text1");
  sink_.on_task_change = [](host::Task& task, host::FieldId, const host::Value&, bool& cancel) {
    cancel = task.ID() == 3;
  };
  sink_.log.clear();
  app_.EditClearContents();
  EXPECT_EQ(sink_.log,
            (Strings{"ProjectBeforeTaskChange(1, Text1, )", "ProjectBeforeTaskChange(3, Text1, )",
                     "ProjectBeforeTaskChange(4, Text1, )"}));
  EXPECT_EQ(pj.TaskAt(1)->GetField(field::kText1), "");
  EXPECT_EQ(pj.TaskAt(3)->GetField(field::kText1), "y");
  EXPECT_EQ(pj.TaskAt(4)->GetField(field::kText1), "");
}

// Given a selected Start column, expect the clearing refused before any task is touched.
TEST_F(ApplicationTest, EditClearContentsRefusesAFieldThatCannotBeEmpty) {
  Plan().AddTask("A").Build();
  app_.SelectTaskColumn("Start");
  sink_.log.clear();
  EXPECT_EQ(ErrorOf([&] { app_.EditClearContents(); }),
            (host::ErrorRecord{host::kHostFailure,
                               "The contents of the field Start cannot be cleared."}));
  EXPECT_TRUE(sink_.log.empty());
}

// Given Entry in the view, expect a column selected by its field's name (also through an alias),
// and a position, a field the view does not show or no field at all refused, the selection kept.
// Note: "5" is refused although Entry has a fifth column: the host selects by field name only.
TEST_F(ApplicationTest, SelectTaskColumnTakesTheFieldNameOfAColumnTheViewShows) {
  Project& pj = Plan().AddTask("A").Build();
  pj.TaskTable("Schedule").Columns().Add(field::kText2, 1, 10, "", 1, 3, true);
  pj.TaskTable("Entry").Columns().Add(field::kText1, 1, 10, "Hijri", 1, 3, true);
  app_.CustomFieldRename(field::kText1, "HijriStart");
  app_.SelectTaskColumn("Start");
  EXPECT_EQ(pj.SelectedColumn(), 5);
  app_.SelectTaskColumn("hijristart");
  EXPECT_EQ(pj.SelectedColumn(), 6);
  EXPECT_EQ(ErrorOf([&] { app_.SelectTaskColumn("Text2"); }),
            (host::ErrorRecord{host::kHostFailure,
                               "The table Entry in the active view has no column of the field "
                               "Text2."}));
  EXPECT_EQ(ErrorOf([&] { app_.SelectTaskColumn("5"); }).number, host::kHostFailure);
  EXPECT_EQ(pj.SelectedColumn(), 6);
}

// Given scripted answers, expect Yes/No boxes to take them in turn, OK boxes to answer OK, and
// every box to be kept.
TEST_F(ApplicationTest, RecordingMessageBoxesAnswerFromTheScript) {
  host::MessageBoxes& boxes = app_.Services().Messages();
  Messages().QueueAnswer(host::MsgBoxResult::kNo);
  EXPECT_EQ(boxes.MsgBox("Oops", host::MsgBoxStyle::kOkExclamation, "Lunavant"),
            host::MsgBoxResult::kOk);
  EXPECT_EQ(boxes.MsgBox("Sure?", host::MsgBoxStyle::kYesNoExclamationYesFirst, "Lunavant"),
            host::MsgBoxResult::kNo);
  EXPECT_EQ(boxes.MsgBox("Again?", host::MsgBoxStyle::kYesNoExclamationYesFirst, "Lunavant"),
            host::MsgBoxResult::kYes);
  ASSERT_EQ(Messages().Shown().size(), 3u);
  EXPECT_EQ(Messages().Shown()[1],
            (ShownMessage{"Sure?", host::MsgBoxStyle::kYesNoExclamationYesFirst, "Lunavant",
                          host::MsgBoxResult::kNo}));
  EXPECT_EQ(ErrorOf([&] { Messages().QueueAnswer(host::MsgBoxResult::kOk); }).number,
            host::kInvalidProcedureCall);
  Messages().QueueAnswer(host::MsgBoxResult::kCancel);
  EXPECT_EQ(ErrorOf([&] {
              boxes.MsgBox("Sure?", host::MsgBoxStyle::kYesNoExclamationYesFirst, "Lunavant");
            }).number,
            host::kInvalidProcedureCall);
  EXPECT_EQ(boxes.MsgBox("Save?", host::MsgBoxStyle::kYesNoCancelExclamationYesFirst, "Lunavant"),
            host::MsgBoxResult::kCancel);
  EXPECT_EQ(Messages().Shown().size(), 4u);
  app_.Services().Pointer().SetMousePointer(host::kPointerBusy);
  app_.Services().Pointer().SetMousePointer(host::kPointerDefault);
  EXPECT_EQ(Pointer().History(), (std::vector<std::int32_t>{11, 0}));
}

// Given a front end's own message boxes, expect the platform to hand them out and no record.
TEST(ApplicationServices, FrontEndSubstitutesItsMessageBoxes) {
  class Terminal final : public host::MessageBoxes {
   public:
    host::MsgBoxResult MsgBox(const std::string&, host::MsgBoxStyle, const std::string&) override {
      ++shown;
      return host::MsgBoxResult::kNo;
    }
    int shown = 0;
  };
  auto terminal = std::make_unique<Terminal>();
  Terminal& seen = *terminal;
  FrontEndServices services;
  services.messages = std::move(terminal);
  Application app(std::move(services));
  EXPECT_EQ(app.RecordedMessages(), nullptr);
  EXPECT_NE(app.RecordedPointer(), nullptr);
  EXPECT_EQ(app.Services().Messages().MsgBox("?", host::MsgBoxStyle::kYesNoExclamationYesFirst, ""),
            host::MsgBoxResult::kNo);
  EXPECT_EQ(seen.shown, 1);
}

// Given a changed separator, expect the application to report it at the next read.
TEST_F(ApplicationTest, DateSeparatorIsReadAtEveryUse) {
  EXPECT_EQ(app_.DateSeparator(), "/");
  app_.Regional().OverrideDateSeparator("-");
  EXPECT_EQ(app_.DateSeparator(), "-");
}

}  // namespace
}  // namespace lunavant::workbench
