// SPDX-License-Identifier: MIT
// The Win32 dialog toolkit as binding-test checks it: a form shows at its size in twips, its
// controls in tab order, labels inside the window; texts set by the program raise no Change,
// typed ones do; a button's Click reaches the handlers; the close box closes the form as
// CloseByWindow; what was typed is still readable after it closed.
#include "dialog_cases.h"

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "addin/host/error.h"
#include "text.h"
#include "ui/dialog_template.h"
#include "ui/dialog_toolkit.h"

namespace lunavant::winaddin::test {
namespace {

host::FormSpec TestSpec() {
  using host::ControlKind;
  return host::FormSpec{
      "Toolkit Test Form",
      3510,
      1800,
      host::BorderStyle::kFixedDialog,
      {{"Caption", ControlKind::kLabel, "A label wider than its form, whose text must wrap", "",
        120, 120, 3615, 495, 3},
       {"Choice", ControlKind::kDropDownList, "", "Pick one", 120, 720, 3255, 315, 1},
       {"Typed", ControlKind::kTextBox, "", "Type here", 120, 1080, 3255, 285, 0},
       {"OKButton", ControlKind::kPushButton, "OK", "", 240, 1400, 1335, 375, 2}}};
}

// What the handlers saw, and the checks they made while the form was on screen.
class Recorder final : public host::FormHandlers {
 public:
  explicit Recorder(CheckFunction check) : check_(std::move(check)) {}
  void Load(host::Form& /*form*/) override { events.push_back("Load"); }
  void Activate(host::Form& form) override {
    events.push_back("Activate");
    HWND dialog = FindWindowW(nullptr, L"Toolkit Test Form");
    check_(dialog != nullptr, "the dialog is found by its caption");
    if (dialog == nullptr) return form.Hide();
    MeasureAndAct(form, dialog);
  }
  void Click(host::Form& form, std::string_view control) override {
    events.push_back("Click " + std::string(control));
    form.Hide();
  }
  void Change(host::Form& /*form*/, std::string_view control) override {
    events.push_back("Change " + std::string(control));
  }
  void CloseByWindow(host::Form& /*form*/) override { events.push_back("CloseByWindow"); }

  std::vector<std::string> events;
  bool press_ok = true;

 private:
  void MeasureAndAct(host::Form& form, HWND dialog) {
    const ScreenScale scale = CurrentScreenScale();
    RECT client{};
    GetClientRect(dialog, &client);
    // Dialog units round to whole units of the font: within a few pixels of the twips.
    check_(std::abs(client.right - scale.PixelsX(3510)) <= 4 &&
               std::abs(client.bottom - scale.PixelsY(1800)) <= 8,
           "the client area is 3510 x 1800 twips: " + std::to_string(client.right) + " x " +
               std::to_string(client.bottom) + " pixels");
    RECT label{};
    HWND caption = GetDlgItem(dialog, kFirstControlId + 0);
    GetWindowRect(caption, &label);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&label), 2);
    check_(label.right <= client.right, "the label ends inside the window");
    // Tab order: the text box (0), the list (1), the button (2).
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    check_(first == GetDlgItem(dialog, kFirstControlId + 2), "the text box comes first");
    check_(GetNextDlgTabItem(dialog, first, FALSE) == GetDlgItem(dialog, kFirstControlId + 1),
           "the list comes second");

    form.SetText("Typed", "set by the program");
    form.List("Choice").Append("Finish");
    check_(SendMessageW(GetDlgItem(dialog, kFirstControlId + 1), CB_GETCOUNT, 0, 0) == 1,
           "an entry appended while shown is in the list");
    // Typing, as the keyboard delivers it.
    HWND typed = GetDlgItem(dialog, kFirstControlId + 2);
    SendMessageW(typed, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed"));
    if (press_ok) {
      PostMessageW(GetDlgItem(dialog, kFirstControlId + 3), BM_CLICK, 0, 0);
    } else {
      PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
  }

  CheckFunction check_;
};

}  // namespace

void DialogsShowAtTheirSize(const CheckFunction& check) {
  Win32DialogToolkit toolkit;
  for (const bool press_ok : {true, false}) {
    Recorder handlers(check);
    handlers.press_ok = press_ok;
    auto form = toolkit.CreateForm(TestSpec(), handlers);
    check(!form->IsShown() && handlers.events == std::vector<std::string>{"Load"},
          "a made form is loaded, not shown");
    form->ShowModal();
    check(!form->IsShown(), "the form is closed once ShowModal returns");
    const std::vector<std::string> expected =
        press_ok ? std::vector<std::string>{"Load", "Activate", "Change Typed", "Click OKButton"}
                 : std::vector<std::string>{"Load", "Activate", "Change Typed", "CloseByWindow"};
    std::string seen;
    for (const std::string& event : handlers.events) seen += event + "; ";
    check(handlers.events == expected, "the handlers saw " + seen);
    check(form->Text("typed") == "typed", "what was typed is kept after the form closed");
  }
  Recorder unused(check);
  auto form = toolkit.CreateForm(TestSpec(), unused);
  bool refused = false;
  try {
    form->Text("NoSuchControl");
  } catch (const host::HostError& error) {
    refused = error.record().number == host::kInvalidProcedureCall;
  }
  check(refused, "a control the form lacks fails with 5");
}

}  // namespace lunavant::winaddin::test
