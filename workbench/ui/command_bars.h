// SPDX-License-Identifier: MIT
// The workbench's command bars: the built-in "Standard" bar with the host's usual ten buttons and
// the "Database" bar, and every bar an add-in adds. A front end draws them from Bars() and clicks
// through CommandBarButton::Click. While the host is busy (a cell being edited, a modal dialog
// open, a recalculation running) the built-in bars show every button disabled; an add-in's own
// bars are left as the add-in set them.
//
//   CommandBars bars;
//   {
//     CommandBars::BusyScope busy(bars);        // "Standard" now shows 10 of 10 disabled
//   }
//   bars.Item("Lunavant")->FindControl("Add Hijri");
//
// Deleted bars and buttons are kept, detached, until the collection ends, so a reference an
// add-in still holds never dangles; every call on them fails with kHostFailure.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addin/host/command_bars.h"
#include "addin/host/services.h"

namespace lunavant::workbench {

class CommandBar;
class CommandBars;

class CommandBarButton final : public host::CommandBarButton {
 public:
  explicit CommandBarButton(CommandBar& bar) : bar_(&bar) {}

  std::string Tag() const override;
  void SetTag(const std::string& tag) override;
  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  std::string TooltipText() const override;
  void SetTooltipText(const std::string& text) override;
  std::string OnAction() const override;
  void SetOnAction(const std::string& action) override;
  bool Visible() const override;
  void SetVisible(bool visible) override;
  bool Enabled() const override;
  void SetEnabled(bool enabled) override;
  std::shared_ptr<const host::Picture> GetPicture() const override;
  void SetPicture(std::shared_ptr<const host::Picture> picture) override;
  void Delete() override;
  void AddEventSink(host::CommandBarButtonEvents& sink) override;
  void RemoveEventSink(host::CommandBarButtonEvents& sink) override;

  // The user's click: raises Click on every sink, in the order they were added. Returns false,
  // raising nothing, when the button is deleted, hidden, disabled or on a hidden bar.
  bool Click();
  // The user's choice of the button's entry in a menu: as Click, whether the bar is shown or not.
  bool Choose();
  bool IsDeleted() const { return deleted_; }

 private:
  friend class CommandBar;
  void Check() const;

  CommandBar* bar_;
  bool deleted_ = false;
  std::string tag_, caption_, tooltip_, on_action_;
  bool visible_ = true;
  bool enabled_ = true;
  std::shared_ptr<const host::Picture> picture_;
  std::vector<host::CommandBarButtonEvents*> sinks_;
};

class CommandBar final : public host::CommandBar, private host::CommandBarControls {
 public:
  CommandBar(CommandBars& owner, std::string name, std::int32_t position, bool built_in);

  std::string Name() const override;
  std::int32_t Position() const override;
  bool Visible() const override;
  void SetVisible(bool visible) override;
  CommandBarButton* FindControl(std::string_view tag) override;
  host::CommandBarControls& Controls() override;
  void Delete() override;

  // The controls.
  CommandBarButton& Add(std::int32_t type) override;
  std::int32_t Count() const override;
  CommandBarButton& Item(std::int32_t index) override;

  // A bar the host itself provides ("Standard", "Database").
  bool BuiltIn() const { return built_in_; }
  bool IsDeleted() const { return deleted_; }
  // Whether the host's busy state disables this bar's buttons.
  bool HostDisabled() const;
  // The live buttons, in order.
  std::vector<CommandBarButton*> Buttons() const;

 private:
  friend class CommandBarButton;
  friend class CommandBars;
  void Check() const;
  void RemoveButton(CommandBarButton& button);
  void MarkDeleted();

  CommandBars* owner_;
  std::string name_;
  std::int32_t position_;
  bool built_in_;
  bool visible_ = false;
  bool deleted_ = false;
  std::vector<std::unique_ptr<CommandBarButton>> buttons_;
  std::vector<std::unique_ptr<CommandBarButton>> deleted_buttons_;
};

class CommandBars final : public host::CommandBarCollection {
 public:
  // Makes "Standard" (visible: New, Open, Save, Print, Print Preview, Cut, Copy, Paste, Undo,
  // Redo) and "Database" (hidden: Sort Ascending, Sort Descending, AutoFilter, Find).
  CommandBars();
  CommandBars(const CommandBars&) = delete;
  CommandBars& operator=(const CommandBars&) = delete;

  CommandBar& Add(std::string_view name, std::int32_t position) override;
  CommandBar* Item(std::string_view name) override;
  // The live bars, in the order they were made.
  std::vector<CommandBar*> Bars() const;

  // The host is busy while at least one scope lives; scopes nest.
  class BusyScope {
   public:
    explicit BusyScope(CommandBars& bars) : bars_(bars) { ++bars_.busy_depth_; }
    ~BusyScope() { --bars_.busy_depth_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

   private:
    CommandBars& bars_;
  };
  bool HostBusy() const { return busy_depth_ > 0; }

 private:
  friend class CommandBar;
  CommandBar& Make(std::string_view name, std::int32_t position, bool built_in);
  void RemoveBar(CommandBar& bar);

  std::vector<std::unique_ptr<CommandBar>> bars_;
  std::vector<std::unique_ptr<CommandBar>> deleted_bars_;
  std::int32_t busy_depth_ = 0;
};

}  // namespace lunavant::workbench
