// SPDX-License-Identifier: MIT
#include "workbench/ui/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addin/host/error.h"
#include "workbench/ui/messages.h"

namespace lunavant::workbench {
namespace {

const host::FormSpec kSpec{
    "Pick",
    2000,
    1000,
    host::BorderStyle::kFixedDialog,
    {{"Caption", host::ControlKind::kLabel, "Choose", "", 0, 0, 10, 10, 2},
     {"Choice", host::ControlKind::kDropDownList, "", "tip", 0, 0, 10, 10, 0},
     {"Note", host::ControlKind::kTextBox, "", "", 0, 0, 10, 10, 1},
     {"OK", host::ControlKind::kPushButton, "OK", "", 0, 0, 10, 10, 3}}};

// Writes one line per handler call; OK closes the form.
class Log final : public host::FormHandlers {
 public:
  explicit Log(CommandBars* bars = nullptr) : bars_(bars) {}
  void Load(host::Form&) override { lines.push_back("Load"); }
  void Activate(host::Form& form) override {
    lines.push_back("Activate");
    form.SetText("Choice", form.List("Choice").Entry(0));
    if (bars_ != nullptr) busy_while_shown = bars_->HostBusy();
  }
  void Click(host::Form& form, std::string_view control) override {
    lines.push_back("Click " + std::string(control) + " " + form.Text("Choice") + "/" +
                    form.Text("Note"));
    form.Hide();
  }
  void Change(host::Form&, std::string_view control) override {
    lines.push_back("Change " + std::string(control));
  }
  void CloseByWindow(host::Form&) override { lines.push_back("CloseByWindow"); }

  std::vector<std::string> lines;
  bool busy_while_shown = false;

 private:
  CommandBars* bars_;
};

TEST(ScriptedDialogs, AnswersAFormFromItsScriptAndRecordsItAsShown) {
  // Given a script that picks, types and presses OK, expect the handlers in that order, the
  // record holding the form as it was shown, and the host busy only while it was shown.
  CommandBars bars;
  ScriptedDialogs dialogs(&bars);
  Log log(&bars);
  auto form = dialogs.CreateForm(kSpec, log);
  form->List("choice").Append("Start");
  form->List("Choice").Append("Finish");
  dialogs.QueueScript({"Pick",
                       {DialogAction::Pick("Choice", 1), DialogAction::SetText("Note", "n"),
                        DialogAction::Press("OK")}});
  form->ShowModal();

  EXPECT_EQ(log.lines, (std::vector<std::string>{"Load", "Activate", "Change Choice", "Change Note",
                                                 "Click OK Finish/n"}));
  EXPECT_TRUE(log.busy_while_shown);
  EXPECT_FALSE(bars.HostBusy());
  EXPECT_FALSE(form->IsShown());
  ASSERT_EQ(dialogs.Shown().size(), 1u);
  const ShownForm& shown = dialogs.Shown()[0];
  EXPECT_EQ(shown.texts.at("Choice"), "Start");
  EXPECT_EQ(shown.texts.at("Caption"), "Choose");
  EXPECT_EQ(shown.lists.at("Choice"), (std::vector<std::string>{"Start", "Finish"}));
  EXPECT_EQ(shown.actions_run, 3);
  EXPECT_EQ(shown.script_problem, "");
}

TEST(ScriptedDialogs, AFormThatFailsToShowRunsNoHandlerAndTheNextScriptAnswersTheNextShow) {
  // Given a show failure queued before a script, expect the first show to fail with kHostFailure
  // before Activate, with nothing recorded and the host not left busy, and the second show to run
  // the script.
  CommandBars bars;
  ScriptedDialogs dialogs(&bars);
  Log log;
  auto form = dialogs.CreateForm(kSpec, log);
  form->List("Choice").Append("Start");
  dialogs.QueueShowFailure();
  dialogs.QueueScript({"Pick", {DialogAction::Press("OK")}});
  try {
    form->ShowModal();
    ADD_FAILURE() << "the form was shown";
  } catch (const host::HostError& e) {
    EXPECT_EQ(e.record().number, host::kHostFailure);
    EXPECT_EQ(e.record().description, ui_message::kFormCannotBeShown);
  }
  EXPECT_EQ(log.lines, std::vector<std::string>{"Load"});
  EXPECT_FALSE(form->IsShown());
  EXPECT_FALSE(bars.HostBusy());
  EXPECT_TRUE(dialogs.Shown().empty());
  EXPECT_EQ(dialogs.QueuedScripts(), 1);

  form->ShowModal();
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Load", "Activate", "Click OK Start/"}));
  ASSERT_EQ(dialogs.Shown().size(), 1u);
  EXPECT_EQ(dialogs.Shown()[0].script_problem, "");
}

TEST(ScriptedDialogs, AScriptThatDoesNotFitStopsAndTheWindowClosesTheForm) {
  // Given scripts that miss the form, expect each to stop at the misfit, the form closed by its
  // window, and the misfit noted; with no script the window closes it at once.
  struct Case {
    DialogScript script;
    std::int32_t run;
    std::string problem;
  };
  const std::vector<Case> cases = {
      {{"", {DialogAction::Pick("Choice", 2)}}, 0, ui_message::NoSuchEntry("Choice", 2, 1)},
      {{"", {DialogAction::SetText("Nothing", "x")}}, 0, ui_message::NoSuchControl("Nothing")},
      {{"", {DialogAction::SetText("Caption", "x")}}, 0, ui_message::NotEditable("Caption")},
      {{"", {DialogAction::Press("Note")}}, 0, ui_message::NotAButton("Note")},
      {{"Other", {DialogAction::Press("OK")}}, 0, ui_message::WrongForm("Other", "Pick")},
      {{"", {DialogAction::SetText("Note", "x")}},
       1,
       std::string(ui_message::kScriptEndedWithFormOpen)},
      {{"", {DialogAction::CloseWindow(), DialogAction::Press("OK")}},
       1,
       std::string(ui_message::kFormClosedBeforeScriptEnd)},
  };
  for (const Case& c : cases) {
    ScriptedDialogs dialogs;
    Log log;
    auto form = dialogs.CreateForm(kSpec, log);
    form->List("Choice").Append("Start");
    dialogs.QueueScript(c.script);
    form->ShowModal();
    EXPECT_EQ(log.lines.back(), "CloseByWindow");
    EXPECT_EQ(dialogs.Shown()[0].actions_run, c.run) << c.problem;
    EXPECT_EQ(dialogs.Shown()[0].script_problem, c.problem);
  }
  ScriptedDialogs dialogs;
  Log log;
  auto form = dialogs.CreateForm(kSpec, log);
  form->List("Choice").Append("Start");
  form->ShowModal();
  EXPECT_EQ(log.lines, (std::vector<std::string>{"Load", "Activate", "CloseByWindow"}));
  EXPECT_EQ(dialogs.Shown()[0].script_problem, "");
}

TEST(ScriptedDialogs, ReadsActionsWrittenAsText) {
  EXPECT_EQ(ParseDialogAction("set HijriTitle Hijri End"),
            DialogAction::SetText("HijriTitle", "Hijri End"));
  EXPECT_EQ(ParseDialogAction("set GregField"), DialogAction::SetText("GregField", ""));
  EXPECT_EQ(ParseDialogAction("pick GregField 12"), DialogAction::Pick("GregField", 12));
  EXPECT_EQ(ParseDialogAction("press OKButton"), DialogAction::Press("OKButton"));
  EXPECT_EQ(ParseDialogAction("close"), DialogAction::CloseWindow());
  for (const char* wrong : {"", "close now", "press", "press OK now", "pick GregField",
                            "pick GregField -1", "pick GregField 9999999999", "click OK", "set"}) {
    EXPECT_EQ(ParseDialogAction(wrong), std::nullopt) << wrong;
  }
}

}  // namespace
}  // namespace lunavant::workbench
