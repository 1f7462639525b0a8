// SPDX-License-Identifier: MIT
// The dialog toolkit: the add-in describes a form (caption, size, controls) and its handlers, and
// the platform shows it modally. Abstract because each front end draws dialogs its own way (Qt
// widgets, a script of answers for tests and the command line).
//
//   host::FormSpec spec{"Add Hijri Field", 3510, 3480, host::BorderStyle::kFixedDialog, {...}};
//   std::unique_ptr<host::Form> form = toolkit.CreateForm(spec, handlers);  // handlers.Load
//   form->List("GregField").Append("Start");
//   form->ShowModal();   // handlers.Activate, then clicks and changes until the form closes
//
// Sizes and positions are in twips (1/1440 inch). Control names match without regard to letter
// case; a name the form lacks fails with kInvalidProcedureCall.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addin/host/list_control.h"

namespace lunavant::host {

enum class ControlKind {
  kLabel,         // text only; takes no focus
  kDropDownList,  // a list of entries with an editable text
  kTextBox,       // one line of text
  kPushButton
};

enum class BorderStyle {
  kFixedDialog,  // no resizing, no minimise or maximise button, not in the task bar
  kSizable
};

struct ControlSpec {
  std::string name;
  ControlKind kind = ControlKind::kLabel;
  std::string text;
  std::string tooltip;  // empty for none
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t tab_index = 0;
};

struct FormSpec {
  std::string caption;
  std::int32_t client_width = 0;
  std::int32_t client_height = 0;
  BorderStyle border = BorderStyle::kFixedDialog;
  std::vector<ControlSpec> controls;
};

class Form {
 public:
  virtual ~Form() = default;
  virtual const FormSpec& Spec() const = 0;
  // The control's current text.
  virtual std::string Text(std::string_view control) const = 0;
  // Sets the text as a program does; raises no Change handler.
  virtual void SetText(std::string_view control, const std::string& text) = 0;
  // The entries of a drop-down list; fails with kTypeMismatch for a control of another kind.
  virtual ListControl& List(std::string_view control) = 0;
  // Shows the form and returns when it has closed. Runs the Activate handler as it is shown.
  // Fails with kInvalidProcedureCall while it is already shown.
  virtual void ShowModal() = 0;
  // Closes the form; ShowModal then returns. Does nothing while it is not shown.
  virtual void Hide() = 0;
  virtual bool IsShown() const = 0;
};

// What a form does when the user acts on it. Every handler runs on the host's user-interface
// thread, inside ShowModal (Load inside CreateForm), and must not throw.
class FormHandlers {
 public:
  virtual ~FormHandlers() = default;
  // The form was made; it is not shown yet.
  virtual void Load(Form& form) { static_cast<void>(form); }
  // The form is being shown.
  virtual void Activate(Form& form) { static_cast<void>(form); }
  // A push button was pressed.
  virtual void Click(Form& form, std::string_view control) {
    static_cast<void>(form);
    static_cast<void>(control);
  }
  // The user changed the text of a drop-down list or text box, by typing or by a pick.
  virtual void Change(Form& form, std::string_view control) {
    static_cast<void>(form);
    static_cast<void>(control);
  }
  // The user closed the window with its close button; the form closes after this returns.
  virtual void CloseByWindow(Form& form) { static_cast<void>(form); }
};

class DialogToolkit {
 public:
  virtual ~DialogToolkit() = default;
  // Makes the form with every control's text as specified and runs handlers.Load. `handlers`
  // must outlive the form. Fails with kInvalidProcedureCall when two controls share a name.
  virtual std::unique_ptr<Form> CreateForm(const FormSpec& spec, FormHandlers& handlers) = 0;
};

}  // namespace lunavant::host
