// SPDX-License-Identifier: MIT
#include "test_toolbar.h"

#include <exception>
#include <string>

#include "call_log.h"
#include "late_binding.h"
#include "text.h"

namespace lunavant::test_addin {
namespace {

// _CommandBarButtonEvents: Click is dispatch ID 1.
constexpr IID kButtonEvents = {
    0x000C0351, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr DISPID kClick = 1;
constexpr long kControlButton = 1;  // msoControlButton

}  // namespace

void TestToolbar::Install(IDispatch* application) {
  using com::Call;
  using com::Variant;
  application_ = com::ComPtr<IDispatch>::Share(application);
  const auto bars = com::ObjectOf(Call(application, L"CommandBars"), L"CommandBars");
  // Add(Name, Position, MenuBar, Temporary): a temporary bar, gone when the host closes.
  bar_ = com::ObjectOf(Call(bars.get(), L"Add",
                            {Variant::Text(kToolbarName), Variant::Missing(), Variant::Missing(),
                             Variant::Boolean(true)}),
                       L"CommandBars.Add");
  const auto controls = com::ObjectOf(Call(bar_.get(), L"Controls"), L"Controls");
  button_ = com::ObjectOf(Call(controls.get(), L"Add", {Variant::Long(kControlButton)}),
                          L"Controls.Add");
  com::Put(button_.get(), L"Caption", Variant::Text(kButtonCaption));
  com::Put(bar_.get(), L"Visible", Variant::Boolean(true));

  auto sink = com::EventSink::Make(kButtonEvents, [this](DISPID event, DISPPARAMS*) {
    if (event == kClick) OnClick();
    return S_OK;
  });
  click_advice_ = com::Advice(button_.get(), kButtonEvents, sink.get());
}

void TestToolbar::Remove() {
  click_advice_.disconnect();
  if (bar_) {
    try {
      com::Call(bar_.get(), L"Delete");
    } catch (const std::exception& error) {
      LogCall(L"toolbar not removed: " + com::Widen(error.what()));
    }
  }
  button_.reset();
  bar_.reset();
  application_.reset();
}

void TestToolbar::OnClick() {
  LogCall(std::wstring(L"Click ") + kButtonCaption);
  try {
    using com::Call;
    using com::Variant;
    const auto project = com::ObjectOf(Call(application_.get(), L"ActiveProject"),
                                       L"ActiveProject");
    const auto tasks = com::ObjectOf(Call(project.get(), L"Tasks"), L"Tasks");
    const auto task = com::ObjectOf(Call(tasks.get(), L"Item", {Variant::Long(1)}), L"Tasks.Item");
    const Variant field = Call(application_.get(), L"FieldNameToFieldConstant",
                               {Variant::Text(kMarkField)});
    Call(task.get(), L"SetField", {field, Variant::Text(kMarkText)});
  } catch (const std::exception& error) {
    LogCall(L"Click failed: " + com::Widen(error.what()));
  }
}

}  // namespace lunavant::test_addin
