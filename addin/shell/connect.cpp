// SPDX-License-Identifier: MIT
#include "addin/shell/connect.h"

#include "addin/base/error_style.h"
#include "addin/host/error.h"
#include "addin/host/global.h"
#include "addin/host/services.h"
#include "addin/shell/commands.h"

namespace lunavant::shell {
namespace {

using base::SkipFailure;

constexpr int kButtonCount = 3;

[[noreturn]] void RaiseObjectRequired() { host::RaiseRuntime(host::kObjectRequired); }

template <class T>
T& Require(T* object) {
  if (object == nullptr) RaiseObjectRequired();
  return *object;
}

// The application's bars, else those of its active shell window.
host::CommandBarCollection* BarsOf(host::Application& app) {
  host::CommandBarCollection* bars = app.CommandBars();
  if (bars == nullptr) {
    if (host::Explorer* explorer = app.ActiveExplorer()) bars = explorer->CommandBars();
  }
  return bars;
}

}  // namespace

Connect::Connect() = default;

Connect::~Connect() {
  for (int which = 0; which < kButtonCount; ++which) Hold(Slots(which), nullptr);
  ProjEvents.reset();
  HostBars = nullptr;
}

Connect::ButtonSlot Connect::Slots(int which) {
  switch (which) {
    case 0:
      return {&Connect::Add_Btn, &add_sink_, &kAddButton};
    case 1:
      return {&Connect::Remove_Btn, &remove_sink_, &kRemoveButton};
    default:
      return {&Connect::Refresh_Btn, &refresh_sink_, &kRefreshButton};
  }
}

void Connect::Hold(const ButtonSlot& slot, host::CommandBarButton* button) {
  host::CommandBarButton*& member = this->*slot.member;
  if (member == button) return;
  if (member != nullptr) SkipFailure([&] { member->RemoveEventSink(*slot.sink); });
  member = button;
  if (member != nullptr) SkipFailure([&] { member->AddEventSink(*slot.sink); });
}

void Connect::OnConnection(host::Application& Application, std::int32_t ConnectMode,
                           host::AddInInstance& AddInInst) {
  SkipFailure([&] { prog_id_ = AddInInst.ProgId(); });
  HostApp = &Application;
  if (!ProjEvents) {
    SkipFailure([&] {
      ProjEvents = std::make_unique<events::MSProjEvents>();
      ProjEvents->Bind(Application, Application.ActiveProject());
    });
  }
  SkipFailure([&] { HostBars = BarsOf(Application); });

  // The toolbar is built anew; only a bar still on show from before keeps it on show.
  bool was_visible = false;
  SkipFailure(
      [&] { was_visible = Require(Require(HostApp->CommandBars()).Item(kBarName)).Visible(); });
  SkipFailure([&] { Require(Require(HostApp->CommandBars()).Item(kBarName)).Delete(); });
  // What an earlier connection of this object held is deleted by now: a bar that cannot be
  // added, or buttons that cannot be found, must leave nothing of it held.
  AddInBar = nullptr;
  SkipFailure([&] { AddInBar = &Require(HostBars).Add(kBarName, host::kBarTop); });
  SkipFailure([&] {
    Require(AddInBar).SetVisible(was_visible || ConnectMode == host::kConnectAfterStartup);
  });

  for (int which = 0; which < kButtonCount; ++which) {
    const ButtonSlot slot = Slots(which);
    host::CommandBarButton* found = nullptr;
    SkipFailure([&] { found = Require(AddInBar).FindControl(slot.text->tag); });
    Hold(slot, found);
  }
  for (int which = 0; which < kButtonCount; ++which) {
    const ButtonSlot slot = Slots(which);
    if (this->*slot.member == nullptr) MakeButton(slot);
  }
}

void Connect::MakeButton(const ButtonSlot& slot) {
  SkipFailure([&] { Hold(slot, &Require(AddInBar).Controls().Add(host::kControlButton)); });
  std::shared_ptr<const host::Picture> face;
  SkipFailure([&] { face = Require(HostApp).Services().Pictures().LoadPicture(slot.text->face); });
  host::CommandBarButton* button = this->*slot.member;
  SkipFailure([&] { Require(button).SetTag(std::string(slot.text->tag)); });
  SkipFailure([&] { Require(button).SetCaption(std::string(slot.text->caption)); });
  SkipFailure([&] { Require(button).SetTooltipText(std::string(slot.text->tooltip)); });
  SkipFailure([&] { Require(button).SetPicture(face); });
  SkipFailure([&] { Require(button).SetOnAction("!<" + prog_id_ + ">"); });
  SkipFailure([&] { Require(button).SetVisible(true); });
  SkipFailure([&] { Require(button).SetEnabled(true); });
}

void Connect::OnDisconnection(std::int32_t /*RemoveMode*/) {
  for (int which = 0; which < kButtonCount; ++which) {
    const ButtonSlot slot = Slots(which);
    host::CommandBarButton* button = this->*slot.member;
    if (button == nullptr) continue;
    SkipFailure([&] { button->Delete(); });
    Hold(slot, nullptr);
  }
  if (AddInBar != nullptr) {
    SkipFailure([&] {
      Require(Require(Require(host::GlobalApplication()).CommandBars()).Item(kBarName)).Delete();
    });
    AddInBar = nullptr;
  }
  ProjEvents.reset();
  HostApp = nullptr;
}

bool Connect::HostIsBusy() {
  std::int32_t disabled = 0;
  std::int32_t enabled = 0;
  SkipFailure([&] {
    host::CommandBarCollection& bars = Require(BarsOf(Require(HostApp)));
    host::CommandBar* bar = bars.Item(kStandardBar);
    if (bar == nullptr || bar->Controls().Count() == 0) bar = bars.Item(kDatabaseBar);
    host::CommandBarControls& controls = Require(bar).Controls();
    for (std::int32_t i = 1; i <= controls.Count(); ++i) {
      if (controls.Item(i).Enabled()) {
        ++enabled;
      } else {
        ++disabled;
      }
    }
  });
  return disabled > enabled;
}

void Connect::Add_Btn_Click(host::CommandBarButton& /*Ctrl*/, bool& /*CancelDefault*/) {
  if (HostIsBusy()) return;
  RunAddCommand(ProjEvents.get());
}

void Connect::Remove_Btn_Click(host::CommandBarButton& /*Ctrl*/, bool& /*CancelDefault*/) {
  if (HostIsBusy()) return;
  RunRemoveCommand(ProjEvents.get());
}

void Connect::Refresh_Btn_Click(host::CommandBarButton& /*Ctrl*/, bool& /*CancelDefault*/) {
  if (HostIsBusy()) return;
  RunRefreshCommand();
}

}  // namespace lunavant::shell
