// SPDX-License-Identifier: MIT
#include "workbench/ui/scripted_dialogs.h"

#include <optional>
#include <utility>

#include "addin/host/error.h"
#include "workbench/model/field_catalog.h"
#include "workbench/platform/list_box.h"
#include "workbench/ui/messages.h"

namespace lunavant::workbench {

class ScriptedForm;

namespace {

struct LiveControl {
  const host::ControlSpec* spec;
  std::string text;
  ListBox entries;
};

}  // namespace

class ScriptedForm final : public host::Form {
 public:
  ScriptedForm(ScriptedDialogs& toolkit, const host::FormSpec& spec, host::FormHandlers& handlers)
      : toolkit_(toolkit), spec_(spec), handlers_(handlers) {
    for (const host::ControlSpec& control : spec_.controls) {
      if (Find(control.name) != nullptr) {
        host::Raise(host::kInvalidProcedureCall, ui_message::DuplicateControl(control.name));
      }
      controls_.push_back(std::make_unique<LiveControl>());
      controls_.back()->spec = &control;
      controls_.back()->text = control.text;
    }
  }

  const host::FormSpec& Spec() const override { return spec_; }
  std::string Text(std::string_view control) const override { return Require(control).text; }
  void SetText(std::string_view control, const std::string& text) override {
    LiveControl& live = Require(control);
    live.text = text;
  }
  host::ListControl& List(std::string_view control) override {
    LiveControl& live = Require(control);
    if (live.spec->kind != host::ControlKind::kDropDownList) {
      host::RaiseRuntime(host::kTypeMismatch);
    }
    return live.entries;
  }
  bool IsShown() const override { return shown_; }
  void Hide() override { shown_ = false; }

  void ShowModal() override {
    if (shown_) {
      host::Raise(host::kInvalidProcedureCall, std::string(ui_message::kFormAlreadyShown));
    }
    if (!toolkit_.scripts_.empty() && toolkit_.scripts_.front().fails_to_show) {
      toolkit_.scripts_.pop_front();
      host::Raise(host::kHostFailure, std::string(ui_message::kFormCannotBeShown));
    }
    std::optional<CommandBars::BusyScope> busy;
    if (toolkit_.bars_ != nullptr) busy.emplace(*toolkit_.bars_);
    shown_ = true;
    handlers_.Activate(*this);
    toolkit_.shown_.push_back(Snapshot());
    // The record is found again by position: handlers may show further forms meanwhile.
    const std::size_t record = toolkit_.shown_.size() - 1;
    DialogScript script;
    const bool scripted = !toolkit_.scripts_.empty();
    if (scripted) {
      script = std::move(toolkit_.scripts_.front());
      toolkit_.scripts_.pop_front();
    }
    std::string problem;
    if (scripted && !script.caption.empty() && script.caption != spec_.caption) {
      problem = ui_message::WrongForm(script.caption, spec_.caption);
    }
    std::int32_t run = 0;
    for (const DialogAction& action : script.actions) {
      if (!shown_ || !problem.empty()) break;
      problem = Perform(action);
      if (problem.empty()) ++run;
    }
    if (problem.empty() && run < std::ssize(script.actions)) {
      problem = std::string(ui_message::kFormClosedBeforeScriptEnd);
    } else if (problem.empty() && shown_ && scripted) {
      problem = std::string(ui_message::kScriptEndedWithFormOpen);
    }
    if (shown_) CloseByWindow();
    toolkit_.shown_[record].actions_run = run;
    toolkit_.shown_[record].script_problem = problem;
  }

 private:
  LiveControl* Find(std::string_view name) const {
    for (const auto& control : controls_) {
      if (NamesEqual(control->spec->name, name)) return control.get();
    }
    return nullptr;
  }
  LiveControl& Require(std::string_view name) const {
    LiveControl* found = Find(name);
    if (found == nullptr) host::Raise(host::kInvalidProcedureCall, ui_message::NoSuchControl(name));
    return *found;
  }

  ShownForm Snapshot() const {
    ShownForm shown;
    shown.spec = spec_;
    for (const auto& control : controls_) {
      shown.texts[control->spec->name] = control->text;
      if (control->spec->kind == host::ControlKind::kDropDownList) {
        shown.lists[control->spec->name] = control->entries.Entries();
      }
    }
    return shown;
  }

  void CloseByWindow() {
    handlers_.CloseByWindow(*this);
    shown_ = false;
  }

  // Empty when the action fitted the form, else what was wrong.
  std::string Perform(const DialogAction& action) {
    if (action.kind == DialogAction::Kind::kCloseWindow) {
      CloseByWindow();
      return "";
    }
    LiveControl* control = Find(action.control);
    if (control == nullptr) return ui_message::NoSuchControl(action.control);
    const host::ControlKind kind = control->spec->kind;
    switch (action.kind) {
      case DialogAction::Kind::kSetText:
        if (kind != host::ControlKind::kDropDownList && kind != host::ControlKind::kTextBox) {
          return ui_message::NotEditable(action.control);
        }
        control->text = action.text;
        handlers_.Change(*this, control->spec->name);
        return "";
      case DialogAction::Kind::kPick:
        if (kind != host::ControlKind::kDropDownList)
          return ui_message::NotEditable(action.control);
        if (action.index < 0 || action.index >= control->entries.Count()) {
          return ui_message::NoSuchEntry(action.control, action.index, control->entries.Count());
        }
        control->text = control->entries.Entry(action.index);
        handlers_.Change(*this, control->spec->name);
        return "";
      case DialogAction::Kind::kPress:
        if (kind != host::ControlKind::kPushButton) return ui_message::NotAButton(action.control);
        handlers_.Click(*this, control->spec->name);
        return "";
      case DialogAction::Kind::kCloseWindow:
        break;
    }
    return "";
  }

  ScriptedDialogs& toolkit_;
  host::FormSpec spec_;
  host::FormHandlers& handlers_;
  std::vector<std::unique_ptr<LiveControl>> controls_;
  bool shown_ = false;
};

DialogAction DialogAction::SetText(std::string control, std::string text) {
  return DialogAction{Kind::kSetText, std::move(control), std::move(text), 0};
}
DialogAction DialogAction::Pick(std::string control, std::int32_t index) {
  return DialogAction{Kind::kPick, std::move(control), "", index};
}
DialogAction DialogAction::Press(std::string control) {
  return DialogAction{Kind::kPress, std::move(control), "", 0};
}
DialogAction DialogAction::CloseWindow() { return DialogAction{Kind::kCloseWindow, "", "", 0}; }

std::optional<DialogAction> ParseDialogAction(std::string_view line) {
  const std::size_t verb_end = line.find(' ');
  const std::string_view verb = line.substr(0, verb_end);
  if (verb == "close" && verb_end == std::string_view::npos) return DialogAction::CloseWindow();
  if (verb_end == std::string_view::npos) return std::nullopt;
  std::string_view rest = line.substr(verb_end + 1);
  const std::size_t control_end = rest.find(' ');
  const std::string control(rest.substr(0, control_end));
  if (control.empty()) return std::nullopt;
  const std::string_view argument =
      control_end == std::string_view::npos ? std::string_view() : rest.substr(control_end + 1);
  const bool has_argument = control_end != std::string_view::npos;
  if (verb == "press" && !has_argument) return DialogAction::Press(control);
  if (verb == "set") return DialogAction::SetText(control, std::string(argument));
  if (verb == "pick" && has_argument && !argument.empty() && argument.size() <= 9 &&
      argument.find_first_not_of("0123456789") == std::string_view::npos) {
    return DialogAction::Pick(control, std::stoi(std::string(argument)));
  }
  return std::nullopt;
}

std::unique_ptr<host::Form> ScriptedDialogs::CreateForm(const host::FormSpec& spec,
                                                        host::FormHandlers& handlers) {
  auto form = std::make_unique<ScriptedForm>(*this, spec, handlers);
  handlers.Load(*form);
  return form;
}

void ScriptedDialogs::QueueScript(DialogScript script) { scripts_.push_back(std::move(script)); }

void ScriptedDialogs::QueueShowFailure() {
  DialogScript failure;
  failure.fails_to_show = true;
  scripts_.push_back(std::move(failure));
}

void ScriptedDialogs::Clear() {
  scripts_.clear();
  shown_.clear();
}

}  // namespace lunavant::workbench
