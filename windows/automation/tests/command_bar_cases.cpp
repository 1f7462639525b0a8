// SPDX-License-Identifier: MIT
// A toolbar built through the host's command bars, as an add-in builds it, and its buttons'
// Click events.
#include <string>

#include "windows/automation/server/dispids.h"
#include "windows/automation/server/reference_host.h"
#include "windows/automation/tests/late_binding.h"

namespace lunavant::windows::testing {
namespace {

constexpr std::int32_t kControlButton = 1;
constexpr std::int32_t kBarTop = 1;
constexpr std::int32_t kHostFailure = 1004;

Object AddButton(const Object& bar, const std::string& caption, const std::string& tag) {
  Object button = bar.Get("Controls").Get("Add", {Long(kControlButton)});
  button.Put("Caption", Text(caption));
  button.Put("Tag", Text(tag));
  button.Put("OnAction", Text("!Lunavant.Test"));
  button.Put("TooltipText", Text(caption + " tip"));
  return button;
}

}  // namespace

int CommandBarCases(Checks& checks) {
  const Object app = Object::Create(kReferenceHostProgId);
  const Object bars = app.Get("CommandBars");
  const std::int32_t bars_before = bars.Call("Count").AsLong();
  const Object bar = bars.Get("Add", {Text("Lunavant"), Long(kBarTop), Bool(false), Bool(true)});
  bar.Put("Visible", Bool(true));
  checks.Equal(bars.Call("Count").AsLong(), bars_before + 1, "CommandBars.Add adds a bar");
  checks.That(SameObject(bars.Get("Item", {Text("LUNAVANT")}), bar), "a bar by its name");
  checks.Equal(bar.Call("Name").AsText(), "Lunavant", "CommandBar.Name");
  ExpectHostError(checks, kHostFailure, "a second bar of the same name",
                  [&] { bars.Get("Add", {Text("lunavant")}); });

  const Object add = AddButton(bar, "Add", "Add Hijri");
  const Object remove = AddButton(bar, "Remove", "Remove Hijri");
  checks.Equal(bar.Get("Controls").Call("Count").AsLong(), 2, "two buttons");
  const std::vector<Variant> buttons = bar.Get("Controls").Items();
  checks.That(buttons.size() == 2 && SameObject(buttons[1].AsObject(), remove.get()),
              "For Each over the controls");
  bool found = false;
  for (const Variant& each : bars.Items()) found = found || SameObject(each.AsObject(), bar.get());
  checks.That(found, "For Each over the bars finds the new one");
  checks.That(
      SameObject(bar.Get("FindControl", {Variant(), Variant(), Text("Remove Hijri")}), remove),
      "FindControl by tag");
  checks.That(!bar.Get("FindControl", {Variant(), Variant(), Text("None")}),
              "FindControl of an absent tag gives Nothing");
  checks.Equal(add.Call("TooltipText").AsText(), "Add tip", "TooltipText");
  checks.Equal(add.Call("OnAction").AsText(), "!Lunavant.Test", "OnAction");
  // Office declares Picture with an ordinary put only: a put-by-reference is no member of it.
  try {
    add.PutRef("Picture", ObjectValue(app.get()));
    checks.That(false, "a put-by-reference of Picture fails");
  } catch (const CallFailed& failure) {
    checks.Equal(failure.result, DISP_E_MEMBERNOTFOUND, "Picture by reference");
  }
  checks.That(!add.Get("Picture"), "a refused put leaves no face");
  add.Put("Picture", ObjectValue(app.get()));
  checks.That(SameObject(add.Get("Picture"), app), "the face is kept");
  try {
    add.Put("Picture", Text("face.bmp"));
    checks.That(false, "text for a picture fails");
  } catch (const CallFailed& failure) {
    checks.Equal(failure.result, DISP_E_TYPEMISMATCH, "Picture from text");
  }

  // Click(Ctrl, CancelDefault) to both sinks, arguments reversed in rgvarg.
  const ComPtr<Sink> first = Sink::Make(kCommandBarButtonEventsIid);
  const ComPtr<Sink> second = Sink::Make(kCommandBarButtonEventsIid);
  first->Advise(add);
  second->Advise(add);
  first->SetHandler(
      [](DISPID /*member*/, DISPPARAMS& params) { *params.rgvarg[0].pboolVal = VARIANT_TRUE; });
  add.Call("Execute");
  checks.Equal(static_cast<std::int64_t>(first->Events().size()), 1, "one Click to the first");
  checks.Equal(static_cast<std::int64_t>(second->Events().size()), 1, "one Click to the second");
  if (!first->Events().empty() && !second->Events().empty()) {
    const Sink::Event& click = first->Events()[0];
    checks.Equal(click.member, DISPID_EVENT_CLICK, "Click's dispatch ID");
    checks.That(click.types == std::vector<VARTYPE>{VT_BOOL | VT_BYREF, VT_DISPATCH},
                "CancelDefault by reference in rgvarg[0], Ctrl in rgvarg[1]");
    checks.That(SameObject(click.reversed_args[1].AsObject(), add.get()), "Ctrl is the button");
    checks.That(!click.reversed_args[0].AsBool(), "CancelDefault arrives false");
    checks.That(second->Events()[0].reversed_args[0].AsBool(),
                "the second sink sees the first sink's CancelDefault");
  }
  second->Unadvise();
  remove.Call("Execute");
  add.Put("Enabled", Bool(false));
  add.Call("Execute");
  checks.Equal(static_cast<std::int64_t>(first->Events().size()), 1,
               "no Click from another button or a disabled one");
  first->Unadvise();

  remove.Call("Delete");
  checks.Equal(bar.Get("Controls").Call("Count").AsLong(), 1, "a deleted button leaves the bar");
  ExpectHostError(checks, kHostFailure, "a deleted button refuses calls",
                  [&] { remove.Call("Caption"); });
  bar.Call("Delete");
  checks.Equal(bars.Call("Count").AsLong(), bars_before, "a deleted bar leaves the host");
  return checks.ExitCode();
}

}  // namespace lunavant::windows::testing
