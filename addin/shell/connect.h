// SPDX-License-Identifier: MIT
// The add-in's entry object: the host creates it from the registration record and drives it
// through the five connection entries. A connection keeps the host application, makes the one
// event object and binds it, and builds the toolbar "Lunavant" with the buttons Add Hijri, Remove
// Hijri and Refresh Hijri; a disconnection deletes them and lets go of everything. Every step of
// both runs with errors ignored: a failing step stops where it failed and the next one runs, and
// the host always gets success.
//
//   Connect addin;
//   addin.OnConnection(app, host::kConnectStartup, instance);   // toolbar built, hidden
//   ... the user clicks the buttons ...
//   addin.OnDisconnection(host::kDisconnectUserClosed);
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "addin/events/ms_proj_events.h"
#include "addin/host/command_bars.h"
#include "addin/host/extensibility.h"
#include "addin/shell/messages.h"

namespace lunavant::shell {

class Connect final : public host::IDTExtensibility2 {
 public:
  Connect();
  // Detaches from the buttons and ends the event object if a disconnection did not.
  ~Connect() override;
  Connect(const Connect&) = delete;
  Connect& operator=(const Connect&) = delete;

  void OnConnection(host::Application& Application, std::int32_t ConnectMode,
                    host::AddInInstance& AddInInst) override;
  void OnDisconnection(std::int32_t RemoveMode) override;
  void OnAddInsUpdate() override {}
  void OnStartupComplete() override {}
  void OnBeginShutdown() override {}

  // True when the host's "Standard" bar (else "Database") shows strictly more disabled controls
  // than enabled ones: the host is in a state in which the commands must not run. False when no
  // bar can be read.
  bool HostIsBusy();

  // The buttons' Click events. `Ctrl` is not used and `CancelDefault` is left as it is.
  void Add_Btn_Click(host::CommandBarButton& Ctrl, bool& CancelDefault);
  void Remove_Btn_Click(host::CommandBarButton& Ctrl, bool& CancelDefault);
  void Refresh_Btn_Click(host::CommandBarButton& Ctrl, bool& CancelDefault);

  host::Application* HostApp = nullptr;
  host::CommandBarCollection* HostBars = nullptr;
  host::CommandBar* AddInBar = nullptr;
  std::unique_ptr<events::MSProjEvents> ProjEvents;
  host::CommandBarButton* Add_Btn = nullptr;
  host::CommandBarButton* Remove_Btn = nullptr;
  host::CommandBarButton* Refresh_Btn = nullptr;

 private:
  // Forwards one button's Click to its handler.
  class ClickSink final : public host::CommandBarButtonEvents {
   public:
    using Handler = void (Connect::*)(host::CommandBarButton&, bool&);
    ClickSink(Connect& owner, Handler handler) : owner_(owner), handler_(handler) {}
    void Click(host::CommandBarButton& Ctrl, bool& CancelDefault) override {
      (owner_.*handler_)(Ctrl, CancelDefault);
    }

   private:
    Connect& owner_;
    Handler handler_;
  };
  struct ButtonSlot {
    host::CommandBarButton* Connect::*member;
    ClickSink* sink;
    const ButtonText* text;
  };

  ButtonSlot Slots(int which);
  // Stores `button` in the slot's member, moving the slot's Click events to it.
  void Hold(const ButtonSlot& slot, host::CommandBarButton* button);
  void MakeButton(const ButtonSlot& slot);

  std::string prog_id_;
  ClickSink add_sink_{*this, &Connect::Add_Btn_Click};
  ClickSink remove_sink_{*this, &Connect::Remove_Btn_Click};
  ClickSink refresh_sink_{*this, &Connect::Refresh_Btn_Click};
};

}  // namespace lunavant::shell
