// SPDX-License-Identifier: MIT
// The host's command bars: toolbars holding buttons, as the add-in finds and builds them. Abstract
// because each host draws its bars its own way; the reference host keeps them in
// workbench/ui/command_bars.h and a front end shows them.
//
//   host::CommandBar& bar = bars.Add("Lunavant", host::kBarTop);
//   host::CommandBarButton& add = bar.Controls().Add(host::kControlButton);
//   add.SetTag("Add Hijri");
//   add.AddEventSink(handler);                 // handler.Click(add, cancel_default) on a click
//
// Ownership: the host owns every bar and button. A deleted bar or button stays a valid object
// until the host ends, but every call on it then fails with a host error, as a released
// automation object does; so a reference the add-in still holds never dangles.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace lunavant::host {

class Picture;
class CommandBarButton;

// Position of a bar: docked at the top of the host window.
inline constexpr std::int32_t kBarTop = 1;
// Control type of a push button.
inline constexpr std::int32_t kControlButton = 1;

class CommandBarButtonEvents {
 public:
  virtual ~CommandBarButtonEvents() = default;
  // The user clicked `Ctrl`. Setting `CancelDefault` to true keeps the host's own action of the
  // button from running.
  virtual void Click(CommandBarButton& Ctrl, bool& CancelDefault) = 0;
};

class CommandBarButton {
 public:
  virtual ~CommandBarButton() = default;
  // The key by which a button is found again on its bar (CommandBar::FindControl).
  virtual std::string Tag() const = 0;
  virtual void SetTag(const std::string& tag) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string TooltipText() const = 0;
  virtual void SetTooltipText(const std::string& text) = 0;
  // Names the owner of the button, as "!<ProgId>".
  virtual std::string OnAction() const = 0;
  virtual void SetOnAction(const std::string& action) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  // As shown: false also while the host disables its own bars (see the host's busy state).
  virtual bool Enabled() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  // The face; null when the button has none.
  virtual std::shared_ptr<const Picture> GetPicture() const = 0;
  virtual void SetPicture(std::shared_ptr<const Picture> picture) = 0;
  // Removes the button from its bar.
  virtual void Delete() = 0;

  // Click events go to the sinks added here. A sink must be removed before it ends.
  virtual void AddEventSink(CommandBarButtonEvents& sink) = 0;
  virtual void RemoveEventSink(CommandBarButtonEvents& sink) = 0;
};

class CommandBarControls {
 public:
  virtual ~CommandBarControls() = default;
  // Appends a control of `type`; only kControlButton is known, others fail with
  // kInvalidProcedureCall.
  virtual CommandBarButton& Add(std::int32_t type) = 0;
  virtual std::int32_t Count() const = 0;
  // Fails with kSubscriptOutOfRange outside 1..Count().
  virtual CommandBarButton& Item(std::int32_t index) = 0;
};

class CommandBar {
 public:
  virtual ~CommandBar() = default;
  virtual std::string Name() const = 0;
  virtual std::int32_t Position() const = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  // The first control whose tag equals `tag` (letter case counts); null when none.
  virtual CommandBarButton* FindControl(std::string_view tag) = 0;
  virtual CommandBarControls& Controls() = 0;
  // Removes the bar and its buttons from the host.
  virtual void Delete() = 0;
};

class CommandBarCollection {
 public:
  virtual ~CommandBarCollection() = default;
  // A new bar, not visible yet. Fails with a host error when a bar of that name (letter case
  // ignored) exists.
  virtual CommandBar& Add(std::string_view name, std::int32_t position) = 0;
  // The bar of that name, letter case ignored; null when none.
  virtual CommandBar* Item(std::string_view name) = 0;
};

}  // namespace lunavant::host
