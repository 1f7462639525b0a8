// SPDX-License-Identifier: MIT
#include "addin/shell/hijri_remove_frm.h"

#include "addin/base/error_style.h"
#include "addin/base/host_access.h"
#include "addin/base/utilities.h"
#include "addin/pairing/pair_registry.h"
#include "addin/shell/messages.h"

namespace lunavant::shell {
namespace {

using base::CollectionHasKey;
using base::ShowExclamation;
using host::ControlKind;

}  // namespace

const host::FormSpec& HijriRemoveFrm::Layout() {
  static const host::FormSpec spec{
      "Remove Hijri Field",
      3090,
      1515,
      host::BorderStyle::kFixedDialog,
      {
          {"Label1", ControlKind::kLabel, "Remove Hijri Field", "", 120, 240, 3255, 375, 3},
          {"HijriField", ControlKind::kDropDownList, "", "", 120, 480, 2655, 315, 2},
          {"OKButton", ControlKind::kPushButton, "OK", "", 120, 960, 1215, 375, 0},
          {"CancelButton", ControlKind::kPushButton, "Cancel", "", 1560, 960, 1215, 375, 1},
      }};
  return spec;
}

HijriRemoveFrm::HijriRemoveFrm(host::DialogToolkit& toolkit)
    : form_(toolkit.CreateForm(Layout(), *this)) {}

void HijriRemoveFrm::Load(host::Form& form) {
  static_cast<void>(form);
  F_Cancel = true;
}

void HijriRemoveFrm::Activate(host::Form& form) {
  base::SkipFailure([&] {
    host::ListControl& list = form.List("HijriField");
    for (std::int32_t i = 0; i < list.Count(); ++i) {
      const std::string entry = list.Entry(i);
      if (!CollectionHasKey(entry, HijriChoices)) HijriChoices.Add(entry, entry);
    }
  });
  base::SkipFailure([&] { form.SetText("HijriField", form.List("HijriField").Entry(0)); });
}

void HijriRemoveFrm::Click(host::Form& form, std::string_view control) {
  if (control == "OKButton") OKButton_Click(form);
  if (control == "CancelButton") CancelButton_Click(form);
}

// Closing the window is a cancel, also after a rejected OK: otherwise the command would ask to
// confirm a name the dialog itself refused.
void HijriRemoveFrm::CloseByWindow(host::Form& form) {
  static_cast<void>(form);
  F_Cancel = true;
}

void HijriRemoveFrm::OKButton_Click(host::Form& form) {
  base::SkipFailure([&] {
    const std::string hijri = form.Text("HijriField");
    F_Cancel = false;
    pairing::ChosenHijriField() = hijri;
    if (hijri.empty()) {
      ShowExclamation(kChooseFieldToRemove);
    } else if (CollectionHasKey(hijri, HijriChoices)) {
      form.Hide();
    } else {
      ShowExclamation(kHijriFieldNotAssigned);
    }
  });
}

void HijriRemoveFrm::CancelButton_Click(host::Form& form) {
  F_Cancel = true;
  form.Hide();
}

}  // namespace lunavant::shell
