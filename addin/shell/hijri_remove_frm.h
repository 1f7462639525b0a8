// SPDX-License-Identifier: MIT
// The dialog "Remove Hijri Field": the user picks one Hijri field of the current table by its
// shown name. The OK button hands it over through ChosenHijriField; F_Cancel tells the command
// whether to go on. One instance per run of the command.
//
//   HijriRemoveFrm form(app.Services().Dialogs());    // loading sets F_Cancel
//   FillAssignedHijriList(form.HijriField(), name_map, table, slot);
//   form.Show();
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "addin/base/keyed_collection.h"
#include "addin/host/dialogs.h"
#include "addin/host/list_control.h"

namespace lunavant::shell {

class HijriRemoveFrm final : public host::FormHandlers {
 public:
  // The window and its controls, in twips.
  static const host::FormSpec& Layout();

  // Makes (and so loads) the form through `toolkit`; fails as the toolkit does.
  explicit HijriRemoveFrm(host::DialogToolkit& toolkit);
  HijriRemoveFrm(const HijriRemoveFrm&) = delete;
  HijriRemoveFrm& operator=(const HijriRemoveFrm&) = delete;

  host::ListControl& HijriField() { return form_->List("HijriField"); }
  void Show() { form_->ShowModal(); }

  // True unless the dialog was accepted by OK.
  bool F_Cancel = false;
  // Each distinct entry of the list when the dialog was activated; keys ignore letter case.
  base::KeyedCollection<std::string> HijriChoices;

 private:
  void Load(host::Form& form) override;
  void Activate(host::Form& form) override;
  void Click(host::Form& form, std::string_view control) override;
  void CloseByWindow(host::Form& form) override;

  void OKButton_Click(host::Form& form);
  void CancelButton_Click(host::Form& form);

  std::unique_ptr<host::Form> form_;
};

}  // namespace lunavant::shell
