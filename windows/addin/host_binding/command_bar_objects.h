// SPDX-License-Identifier: MIT
// The host's command bars (addin/host/command_bars.h) over the Office command-bar automation:
// the collection, a bar, its controls and a button, whose Click reaches the add-in's sinks. A
// button is held, with its sinks advised, for the whole connection: the host keeps calling a sink
// only while someone holds the button.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "addin/host/command_bars.h"
#include "host_binding/event_sinks.h"
#include "host_binding/host_members.h"
#include "host_binding/host_session.h"

namespace lunavant::winaddin {

class CommandBarsObject final : public host::CommandBarCollection, public HeldObject {
 public:
  CommandBarsObject(HostSession& session, ComPtr<IDispatch> bars)
      : session_(session), bars_(session.Object(std::move(bars), ObjectKind::kCommandBars)) {}
  host::CommandBar& Add(std::string_view name, std::int32_t position) override;
  // Null when the host has no bar of that name (it fails the look-up).
  host::CommandBar* Item(std::string_view name) override;

 private:
  HostSession& session_;
  AutomationObject bars_;
};

class CommandBarObject final : public host::CommandBar, public HeldObject {
 public:
  CommandBarObject(HostSession& session, ComPtr<IDispatch> bar);
  ~CommandBarObject() override;
  std::string Name() const override;
  std::int32_t Position() const override;
  bool Visible() const override;
  void SetVisible(bool visible) override;
  host::CommandBarButton* FindControl(std::string_view tag) override;
  host::CommandBarControls& Controls() override;
  void Delete() override;

 private:
  HostSession& session_;
  AutomationObject bar_;
  std::unique_ptr<host::CommandBarControls> controls_;
};

class CommandBarButtonObject final : public host::CommandBarButton, public HeldObject {
 public:
  CommandBarButtonObject(HostSession& session, ComPtr<IDispatch> button);
  ~CommandBarButtonObject() override;

  std::string Tag() const override { return Text(member::kButtonTag); }
  void SetTag(const std::string& tag) override { SetText(member::kSetButtonTag, tag); }
  std::string Caption() const override { return Text(member::kButtonCaption); }
  void SetCaption(const std::string& caption) override {
    SetText(member::kSetButtonCaption, caption);
  }
  std::string TooltipText() const override { return Text(member::kButtonTooltipText); }
  void SetTooltipText(const std::string& text) override {
    SetText(member::kSetButtonTooltipText, text);
  }
  std::string OnAction() const override { return Text(member::kButtonOnAction); }
  void SetOnAction(const std::string& action) override {
    SetText(member::kSetButtonOnAction, action);
  }
  bool Visible() const override;
  void SetVisible(bool visible) override;
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  std::shared_ptr<const host::Picture> GetPicture() const override { return picture_; }
  // By an ordinary put of Picture, as Office declares it; by reference only when the host refuses
  // that as a member it lacks. Fails with the host's error when it refuses both.
  void SetPicture(std::shared_ptr<const host::Picture> picture) override;
  void Delete() override;
  void AddEventSink(host::CommandBarButtonEvents& sink) override;
  void RemoveEventSink(host::CommandBarButtonEvents& sink) override;

 private:
  std::string Text(const HostMember& property) const;
  void SetText(const HostMember& property, const std::string& text);

  HostSession& session_;
  AutomationObject button_;
  std::shared_ptr<const host::Picture> picture_;
  std::map<host::CommandBarButtonEvents*, std::unique_ptr<EventConnection>> sinks_;
};

}  // namespace lunavant::winaddin
