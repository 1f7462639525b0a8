// SPDX-License-Identifier: MIT
// A dialog toolkit that shows nothing and answers each form from a script of the user's actions:
// set a control's text, pick entry i of a list, press a button, close the window. Tests and the
// command line use it; it keeps a record of every form shown, as it looked when it was shown.
//
//   ScriptedDialogs dialogs;
//   dialogs.QueueScript({"Add Hijri Field",
//                        {DialogAction::Pick("GregField", 1), DialogAction::Press("OKButton")}});
//   ... the add-in shows the form; the script runs while it is shown ...
//   dialogs.Shown().back().texts.at("GregField");   // the text when the form was shown
//
// A form shown with no script queued is closed by its window at once. A script that ends with
// the form still open closes it by its window too; a script that does not fit the form (an
// unknown control, an entry the list lacks) stops there and closes the form by its window. Both
// are noted in the record. While a form is shown the host counts as busy.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "addin/host/dialogs.h"
#include "workbench/ui/command_bars.h"

namespace lunavant::workbench {

struct DialogAction {
  enum class Kind { kSetText, kPick, kPress, kCloseWindow };
  Kind kind = Kind::kCloseWindow;
  std::string control;
  std::string text;
  std::int32_t index = 0;

  // Types `text` into a drop-down list or text box, replacing its text.
  static DialogAction SetText(std::string control, std::string text);
  // Picks entry `index` (from 0) of a drop-down list.
  static DialogAction Pick(std::string control, std::int32_t index);
  static DialogAction Press(std::string control);
  static DialogAction CloseWindow();
  friend bool operator==(const DialogAction&, const DialogAction&) = default;
};

// One action written as a line of text, for scripts a person writes (the command line):
//   set CONTROL TEXT     (TEXT is the rest of the line, blanks included; may be empty)
//   pick CONTROL INDEX   (INDEX from 0)
//   press CONTROL
//   close
// Words are separated by single blanks. Empty when the line is none of these.
std::optional<DialogAction> ParseDialogAction(std::string_view line);

struct DialogScript {
  // The caption of the form it answers; empty answers any form.
  std::string caption;
  std::vector<DialogAction> actions;
  // The form does not open: ShowModal fails before its Activate handler, as a toolkit that
  // cannot make the window does.
  bool fails_to_show = false;
};

// A form as it was when it was shown (after its Activate handler), and how the script went.
struct ShownForm {
  host::FormSpec spec;
  std::map<std::string, std::string> texts;               // by control name
  std::map<std::string, std::vector<std::string>> lists;  // entries of each drop-down list
  std::int32_t actions_run = 0;
  // Empty when the script fitted the form and closed it.
  std::string script_problem;
};

class ScriptedDialogs final : public host::DialogToolkit {
 public:
  // `bars` (may be null) counts as busy while a form is shown; it must outlive the toolkit.
  explicit ScriptedDialogs(CommandBars* bars = nullptr) : bars_(bars) {}

  std::unique_ptr<host::Form> CreateForm(const host::FormSpec& spec,
                                         host::FormHandlers& handlers) override;

  // The next form shown runs this script.
  void QueueScript(DialogScript script);
  // The next form shown fails to open, with kHostFailure; nothing is recorded for it.
  void QueueShowFailure();
  std::int32_t QueuedScripts() const { return static_cast<std::int32_t>(scripts_.size()); }
  const std::vector<ShownForm>& Shown() const { return shown_; }
  void Clear();

 private:
  friend class ScriptedForm;
  CommandBars* bars_;
  std::deque<DialogScript> scripts_;
  std::vector<ShownForm> shown_;
};

}  // namespace lunavant::workbench
