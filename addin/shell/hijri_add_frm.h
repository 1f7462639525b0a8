// SPDX-License-Identifier: MIT
// The dialog "Add Hijri Field": the user picks a date column of the current table and a free
// custom text field, and may type a column title. The OK button hands the three texts over through
// ChosenGregField, ChosenHijriField and ChosenHijriTitle; F_Cancel tells the command whether to go
// on. One instance per run of the command.
//
//   HijriAddFrm form(app.Services().Dialogs());
//   FillGregFieldList(form.GregField(), table, slot);
//   form.Show();                      // modal
//   if (!form.F_Cancel) ...
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "addin/base/keyed_collection.h"
#include "addin/host/dialogs.h"
#include "addin/host/list_control.h"

namespace lunavant::shell {

class HijriAddFrm final : public host::FormHandlers {
 public:
  // The window and its controls, in twips.
  static const host::FormSpec& Layout();

  // Makes the form through `toolkit`; fails as the toolkit does.
  explicit HijriAddFrm(host::DialogToolkit& toolkit);
  HijriAddFrm(const HijriAddFrm&) = delete;
  HijriAddFrm& operator=(const HijriAddFrm&) = delete;

  host::ListControl& GregField() { return form_->List("GregField"); }
  host::ListControl& HijriField() { return form_->List("HijriField"); }
  // Shows the form modally; returns when it has closed.
  void Show() { form_->ShowModal(); }

  // True unless the dialog was accepted by OK; a dialog that could not be shown counts as
  // cancelled, so the command never goes on with an earlier run's texts.
  bool F_Cancel = true;
  // Each distinct entry of the two lists when the dialog was activated; keys ignore letter case.
  base::KeyedCollection<std::string> GregChoices;
  base::KeyedCollection<std::string> HijriChoices;

 private:
  void Activate(host::Form& form) override;
  void Click(host::Form& form, std::string_view control) override;
  void Change(host::Form& form, std::string_view control) override;
  void CloseByWindow(host::Form& form) override;

  void OKButton_Click(host::Form& form);
  void CancelButton_Click(host::Form& form);

  std::unique_ptr<host::Form> form_;
};

}  // namespace lunavant::shell
