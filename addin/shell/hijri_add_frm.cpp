// SPDX-License-Identifier: MIT
#include "addin/shell/hijri_add_frm.h"

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

// Every distinct entry of the list, letter case ignored, as item and key.
void CollectChoices(host::ListControl& list, base::KeyedCollection<std::string>& choices) {
  for (std::int32_t i = 0; i < list.Count(); ++i) {
    const std::string entry = list.Entry(i);
    if (!CollectionHasKey(entry, choices)) choices.Add(entry, entry);
  }
}

std::string FirstEntry(host::ListControl& list) { return list.Count() > 0 ? list.Entry(0) : ""; }

bool Offered(const std::string& text, const base::KeyedCollection<std::string>& choices) {
  return !text.empty() && CollectionHasKey(text, choices);
}

}  // namespace

const host::FormSpec& HijriAddFrm::Layout() {
  static const host::FormSpec spec{
      "Add Hijri Field",
      3510,
      3480,
      host::BorderStyle::kFixedDialog,
      {
          {"Label3", ControlKind::kLabel,
           "Choose the date field that you would like to pair with your custom hijri field", "",
           120, 120, 3615, 495, 4},
          {"Label1", ControlKind::kLabel, "Date Field", "", 120, 720, 1935, 255, 2},
          {"GregField", ControlKind::kDropDownList, "",
           "Gregorian date fields for your current table", 120, 960, 3255, 315, 0},
          {"Label2", ControlKind::kLabel, " Hijri Field", "", 120, 1440, 1815, 255, 3},
          {"HijriField", ControlKind::kDropDownList, "",
           "Choose a Text Field to host your Hijri Field", 120, 1680, 3255, 315, 1},
          {"Label4", ControlKind::kLabel, "Hijri Title", "", 120, 2160, 1455, 255, 6},
          {"HijriTitle", ControlKind::kTextBox, "", "Title for your Hijri Field", 120, 2400, 3255,
           285, 5},
          {"OKButton", ControlKind::kPushButton, "OK", "", 240, 2880, 1335, 375, 8},
          {"CancelButton", ControlKind::kPushButton, "Cancel", "", 1920, 2880, 1335, 375, 7},
      }};
  return spec;
}

HijriAddFrm::HijriAddFrm(host::DialogToolkit& toolkit)
    : form_(toolkit.CreateForm(Layout(), *this)) {}

void HijriAddFrm::Activate(host::Form& form) {
  F_Cancel = true;
  base::SkipFailure([&] { CollectChoices(form.List("HijriField"), HijriChoices); });
  base::SkipFailure([&] { CollectChoices(form.List("GregField"), GregChoices); });
  base::SkipFailure([&] { form.SetText("HijriField", FirstEntry(form.List("HijriField"))); });
  base::SkipFailure([&] { form.SetText("GregField", FirstEntry(form.List("GregField"))); });
}

void HijriAddFrm::Click(host::Form& form, std::string_view control) {
  if (control == "OKButton") OKButton_Click(form);
  if (control == "CancelButton") CancelButton_Click(form);
}

// A change of the date text needs nothing: the OK button checks the texts.
void HijriAddFrm::Change(host::Form& form, std::string_view control) {
  static_cast<void>(form);
  static_cast<void>(control);
}

// Closing the window is a cancel, also after a rejected OK: the command must not go on with
// texts the dialog itself refused.
void HijriAddFrm::CloseByWindow(host::Form& form) {
  static_cast<void>(form);
  F_Cancel = true;
}

void HijriAddFrm::OKButton_Click(host::Form& form) {
  base::SkipFailure([&] {
    const std::string greg = form.Text("GregField");
    const std::string hijri = form.Text("HijriField");
    const std::string title = form.Text("HijriTitle");
    pairing::ChosenGregField() = greg;
    pairing::ChosenHijriField() = hijri;
    pairing::ChosenHijriTitle() = title;
    F_Cancel = false;

    const bool greg_offered = Offered(greg, GregChoices);
    const bool hijri_offered = Offered(hijri, HijriChoices);
    if ((greg.empty() && (hijri.empty() || hijri_offered)) ||
        (hijri.empty() && (greg.empty() || greg_offered))) {
      ShowExclamation(kRequiredFieldEmpty);
    } else if (greg_offered && hijri_offered) {
      form.Hide();
    } else {
      if (!hijri.empty() && !hijri_offered) ShowExclamation(kHijriFieldNotOffered);
      if (!greg.empty() && !greg_offered) ShowExclamation(kGregorianFieldNotOffered);
    }
  });
}

void HijriAddFrm::CancelButton_Click(host::Form& form) {
  F_Cancel = true;
  form.Hide();
}

}  // namespace lunavant::shell
