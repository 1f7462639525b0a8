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

void TestToolbar::Install(IDispatch* application, IDispatch* addin) {
  using com::Call;
  using com::Variant;
  application_ = com::ComPtr<IDispatch>::Share(application);
  addin_ = com::ComPtr<IDispatch>::Share(addin);
  const auto bars = com::ObjectOf(Call(application, L"CommandBars"), L"CommandBars");
  // Add(Name, Position, MenuBar, Temporary): a temporary bar, gone when the host closes.
  bar_ = com::ObjectOf(Call(bars.get(), L"Add",
                            {Variant::Text(kToolbarName), Variant::Missing(), Variant::Missing(),
                             Variant::Boolean(true)}),
                       L"CommandBars.Add");
  const auto controls = com::ObjectOf(Call(bar_.get(), L"Controls"), L"Controls");
  AddButton(controls.get(), kMarkCaption, &TestToolbar::OnMark);
  AddButton(controls.get(), kLeaveCaption, &TestToolbar::OnLeave);
  com::Put(bar_.get(), L"Visible", Variant::Boolean(true));
}

void TestToolbar::AddButton(IDispatch* controls, const wchar_t* caption,
                            void (TestToolbar::*on_click)()) {
  auto button = com::ObjectOf(com::Call(controls, L"Add", {com::Variant::Long(kControlButton)}),
                              L"Controls.Add");
  com::Put(button.get(), L"Caption", com::Variant::Text(caption));
  auto sink = com::EventSink::Make(kButtonEvents,
                                   [this, on_click](DISPID event, DISPPARAMS* /*arguments*/) {
                                     if (event == kClick) (this->*on_click)();
                                     return S_OK;
                                   });
  click_advices_.emplace_back(button.get(), kButtonEvents, sink.get());
  buttons_.push_back(std::move(button));
}

void TestToolbar::Remove() {
  click_advices_.clear();
  buttons_.clear();
  if (bar_) {
    try {
      com::Call(bar_.get(), L"Delete");
    } catch (const std::exception& error) {
      LogCall(L"toolbar not removed: " + com::Widen(error.what()));
    }
  }
  bar_.reset();
  addin_.reset();
  application_.reset();
}

void TestToolbar::OnLeave() {
  LogCall(std::wstring(L"Click ") + kLeaveCaption);
  try {
    com::Put(addin_.get(), L"Connect", com::Variant::Boolean(false));
  } catch (const std::exception& error) {
    LogCall(L"Leave failed: " + com::Widen(error.what()));
  }
}

void TestToolbar::OnMark() {
  LogCall(std::wstring(L"Click ") + kMarkCaption);
  try {
    using com::Call;
    using com::Variant;
    const auto project =
        com::ObjectOf(Call(application_.get(), L"ActiveProject"), L"ActiveProject");
    const auto tasks = com::ObjectOf(Call(project.get(), L"Tasks"), L"Tasks");
    const auto task = com::ObjectOf(Call(tasks.get(), L"Item", {Variant::Long(1)}), L"Tasks.Item");
    const Variant field =
        Call(application_.get(), L"FieldNameToFieldConstant", {Variant::Text(kMarkField)});
    Call(task.get(), L"SetField", {field, Variant::Text(kMarkText)});
  } catch (const std::exception& error) {
    LogCall(L"Click failed: " + com::Widen(error.what()));
  }
}

}  // namespace lunavant::test_addin
