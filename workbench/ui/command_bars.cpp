// SPDX-License-Identifier: MIT
#include "workbench/ui/command_bars.h"

#include <algorithm>
#include <utility>

#include "addin/host/error.h"
#include "workbench/model/field_catalog.h"
#include "workbench/ui/messages.h"

namespace lunavant::workbench {
namespace {

constexpr const char* kStandardButtons[] = {"New", "Open", "Save",  "Print", "Print Preview",
                                            "Cut", "Copy", "Paste", "Undo",  "Redo"};
constexpr const char* kDatabaseButtons[] = {"Sort Ascending", "Sort Descending", "AutoFilter",
                                            "Find"};

[[noreturn]] void RaiseDeleted() {
  host::Raise(host::kHostFailure, std::string(ui_message::kObjectDeleted));
}

template <class Owned, class T>
std::unique_ptr<T> Detach(std::vector<std::unique_ptr<T>>& from, Owned& item) {
  auto found = std::find_if(from.begin(), from.end(),
                            [&item](const std::unique_ptr<T>& p) { return p.get() == &item; });
  if (found == from.end()) return nullptr;
  std::unique_ptr<T> taken = std::move(*found);
  from.erase(found);
  return taken;
}

}  // namespace

// Buttons ------------------------------------------------------------------------------------

void CommandBarButton::Check() const {
  if (deleted_) RaiseDeleted();
}

std::string CommandBarButton::Tag() const {
  Check();
  return tag_;
}
void CommandBarButton::SetTag(const std::string& tag) {
  Check();
  tag_ = tag;
}
std::string CommandBarButton::Caption() const {
  Check();
  return caption_;
}
void CommandBarButton::SetCaption(const std::string& caption) {
  Check();
  caption_ = caption;
}
std::string CommandBarButton::TooltipText() const {
  Check();
  return tooltip_;
}
void CommandBarButton::SetTooltipText(const std::string& text) {
  Check();
  tooltip_ = text;
}
std::string CommandBarButton::OnAction() const {
  Check();
  return on_action_;
}
void CommandBarButton::SetOnAction(const std::string& action) {
  Check();
  on_action_ = action;
}
bool CommandBarButton::Visible() const {
  Check();
  return visible_;
}
void CommandBarButton::SetVisible(bool visible) {
  Check();
  visible_ = visible;
}
bool CommandBarButton::Enabled() const {
  Check();
  return enabled_ && !bar_->HostDisabled();
}
void CommandBarButton::SetEnabled(bool enabled) {
  Check();
  enabled_ = enabled;
}
std::shared_ptr<const host::Picture> CommandBarButton::GetPicture() const {
  Check();
  return picture_;
}
void CommandBarButton::SetPicture(std::shared_ptr<const host::Picture> picture) {
  Check();
  picture_ = std::move(picture);
}
void CommandBarButton::Delete() {
  Check();
  bar_->RemoveButton(*this);
}

void CommandBarButton::AddEventSink(host::CommandBarButtonEvents& sink) {
  Check();
  if (std::find(sinks_.begin(), sinks_.end(), &sink) == sinks_.end()) sinks_.push_back(&sink);
}
void CommandBarButton::RemoveEventSink(host::CommandBarButtonEvents& sink) {
  // Allowed on a deleted button: a sink detaches itself whatever became of the button.
  std::erase(sinks_, &sink);
}

bool CommandBarButton::Click() {
  if (!deleted_ && !bar_->Visible()) return false;
  return Choose();
}

bool CommandBarButton::Choose() {
  if (deleted_ || !visible_ || !Enabled()) return false;
  // A copy, because a handler may add or remove sinks, or delete the button.
  const std::vector<host::CommandBarButtonEvents*> snapshot = sinks_;
  bool cancel_default = false;
  for (host::CommandBarButtonEvents* sink : snapshot) {
    if (std::find(sinks_.begin(), sinks_.end(), sink) == sinks_.end()) continue;
    sink->Click(*this, cancel_default);
  }
  return true;
}

// Bars ---------------------------------------------------------------------------------------

CommandBar::CommandBar(CommandBars& owner, std::string name, std::int32_t position, bool built_in)
    : owner_(&owner), name_(std::move(name)), position_(position), built_in_(built_in) {}

void CommandBar::Check() const {
  if (deleted_) RaiseDeleted();
}

std::string CommandBar::Name() const {
  Check();
  return name_;
}
std::int32_t CommandBar::Position() const {
  Check();
  return position_;
}
bool CommandBar::Visible() const {
  Check();
  return visible_;
}
void CommandBar::SetVisible(bool visible) {
  Check();
  visible_ = visible;
}

CommandBarButton* CommandBar::FindControl(std::string_view tag) {
  Check();
  for (const auto& button : buttons_) {
    if (button->tag_ == tag) return button.get();
  }
  return nullptr;
}

host::CommandBarControls& CommandBar::Controls() {
  Check();
  return *this;
}

void CommandBar::Delete() {
  Check();
  owner_->RemoveBar(*this);
}

CommandBarButton& CommandBar::Add(std::int32_t type) {
  Check();
  if (type != host::kControlButton) {
    host::RaiseRuntime(host::kInvalidProcedureCall);
  }
  buttons_.push_back(std::make_unique<CommandBarButton>(*this));
  return *buttons_.back();
}

std::int32_t CommandBar::Count() const {
  Check();
  return static_cast<std::int32_t>(buttons_.size());
}

CommandBarButton& CommandBar::Item(std::int32_t index) {
  Check();
  if (index < 1 || index > Count()) {
    host::RaiseRuntime(host::kSubscriptOutOfRange);
  }
  return *buttons_[static_cast<std::size_t>(index - 1)];
}

bool CommandBar::HostDisabled() const { return built_in_ && owner_->HostBusy(); }

std::vector<CommandBarButton*> CommandBar::Buttons() const {
  std::vector<CommandBarButton*> live;
  for (const auto& button : buttons_) live.push_back(button.get());
  return live;
}

void CommandBar::RemoveButton(CommandBarButton& button) {
  std::unique_ptr<CommandBarButton> taken = Detach(buttons_, button);
  if (!taken) return;
  taken->deleted_ = true;
  deleted_buttons_.push_back(std::move(taken));
}

void CommandBar::MarkDeleted() {
  deleted_ = true;
  for (auto& button : buttons_) {
    button->deleted_ = true;
    deleted_buttons_.push_back(std::move(button));
  }
  buttons_.clear();
}

// The collection ---------------------------------------------------------------------------

CommandBars::CommandBars() {
  CommandBar& standard = Make("Standard", host::kBarTop, true);
  for (const char* caption : kStandardButtons) {
    CommandBarButton& button = standard.Add(host::kControlButton);
    button.SetCaption(caption);
    button.SetTag(caption);
    button.SetTooltipText(caption);
  }
  standard.SetVisible(true);
  CommandBar& database = Make("Database", host::kBarTop, true);
  for (const char* caption : kDatabaseButtons) {
    CommandBarButton& button = database.Add(host::kControlButton);
    button.SetCaption(caption);
    button.SetTag(caption);
    button.SetTooltipText(caption);
  }
}

CommandBar& CommandBars::Make(std::string_view name, std::int32_t position, bool built_in) {
  bars_.push_back(std::make_unique<CommandBar>(*this, std::string(name), position, built_in));
  return *bars_.back();
}

CommandBar& CommandBars::Add(std::string_view name, std::int32_t position) {
  if (Item(name) != nullptr) host::Raise(host::kHostFailure, ui_message::BarExists(name));
  return Make(name, position, false);
}

CommandBar* CommandBars::Item(std::string_view name) {
  for (const auto& bar : bars_) {
    if (NamesEqual(bar->name_, name)) return bar.get();
  }
  return nullptr;
}

std::vector<CommandBar*> CommandBars::Bars() const {
  std::vector<CommandBar*> live;
  for (const auto& bar : bars_) live.push_back(bar.get());
  return live;
}

void CommandBars::RemoveBar(CommandBar& bar) {
  std::unique_ptr<CommandBar> taken = Detach(bars_, bar);
  if (!taken) return;
  taken->MarkDeleted();
  deleted_bars_.push_back(std::move(taken));
}

}  // namespace lunavant::workbench
