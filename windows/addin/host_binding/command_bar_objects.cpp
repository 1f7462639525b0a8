// SPDX-License-Identifier: MIT
#include "host_binding/command_bar_objects.h"

#include "addin/host/error.h"
#include "addin/host/global.h"
#include "platform/picture_loader.h"
#include "text.h"

namespace lunavant::winaddin {
namespace {

// _CommandBarButtonEvents: Click(Ctrl, CancelDefault).
constexpr IID kButtonEvents = {
    0x000C0351, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr DISPID kClick = 1;

Variant Text(std::string_view text) { return Variant::Text(com::Widen(text)); }

template <class T>
T& Require(T* object) {
  if (object == nullptr) host::RaiseRuntime(host::kObjectRequired);
  return *object;
}

class ControlsObject final : public host::CommandBarControls {
 public:
  ControlsObject(HostSession& session, ComPtr<IDispatch> controls)
      : session_(session),
        controls_(session.Object(std::move(controls), ObjectKind::kCommandBarControls)) {}
  host::CommandBarButton& Add(std::int32_t type) override {
    return Require(
        session_.ButtonFor(ObjectOf(Call(controls_, member::kControlsAdd, {Variant::Long(type)}))));
  }
  std::int32_t Count() const override { return LongOf(Call(controls_, member::kControlsCount)); }
  host::CommandBarButton& Item(std::int32_t index) override {
    return Require(session_.ButtonFor(
        ObjectOf(Call(controls_, member::kControlsItem, {Variant::Long(index)}))));
  }

 private:
  HostSession& session_;
  AutomationObject controls_;
};

}  // namespace

host::CommandBar& CommandBarsObject::Add(std::string_view name, std::int32_t position) {
  // Add(Name, Position, MenuBar, Temporary): neither a menu bar nor temporary.
  return Require(session_.BarFor(ObjectOf(Call(
      bars_, member::kBarsAdd,
      {Text(name), Variant::Long(position), Variant::Boolean(false), Variant::Boolean(false)}))));
}

host::CommandBar* CommandBarsObject::Item(std::string_view name) {
  ComPtr<IDispatch> bar;
  try {
    bar = ObjectOf(Call(bars_, member::kBarsItem, {Text(name)}));
  } catch (const host::HostError&) {
    return nullptr;
  }
  return session_.BarFor(bar);
}

CommandBarObject::CommandBarObject(HostSession& session, ComPtr<IDispatch> bar)
    : session_(session), bar_(session.Object(std::move(bar), ObjectKind::kCommandBar)) {}

CommandBarObject::~CommandBarObject() = default;

std::string CommandBarObject::Name() const { return TextOf(Call(bar_, member::kBarName)); }

std::int32_t CommandBarObject::Position() const { return LongOf(Call(bar_, member::kBarPosition)); }

bool CommandBarObject::Visible() const { return BoolOf(Call(bar_, member::kBarVisible)); }

void CommandBarObject::SetVisible(bool visible) {
  Put(bar_, member::kSetBarVisible, Variant::Boolean(visible));
}

host::CommandBarButton* CommandBarObject::FindControl(std::string_view tag) {
  // FindControl(Type, Id, Tag, Visible, Recursive): by tag alone.
  return session_.ButtonFor(ObjectOf(
      Call(bar_, member::kFindControl, {Variant::Missing(), Variant::Missing(), Text(tag)})));
}

host::CommandBarControls& CommandBarObject::Controls() {
  if (!controls_) {
    ComPtr<IDispatch> controls = ObjectOf(Call(bar_, member::kBarControls));
    Require(controls.get());
    controls_ = std::make_unique<ControlsObject>(session_, std::move(controls));
  }
  return *controls_;
}

void CommandBarObject::Delete() { Call(bar_, member::kBarDelete); }

CommandBarButtonObject::CommandBarButtonObject(HostSession& session, ComPtr<IDispatch> button)
    : session_(session),
      button_(session.Object(std::move(button), ObjectKind::kCommandBarButton)) {}

CommandBarButtonObject::~CommandBarButtonObject() = default;

std::string CommandBarButtonObject::Text(const HostMember& property) const {
  return TextOf(Call(button_, property));
}

void CommandBarButtonObject::SetText(const HostMember& property, const std::string& text) {
  Put(button_, property, Variant::Text(com::Widen(text)));
}

bool CommandBarButtonObject::Visible() const {
  return BoolOf(Call(button_, member::kButtonVisible));
}

void CommandBarButtonObject::SetVisible(bool visible) {
  Put(button_, member::kSetButtonVisible, Variant::Boolean(visible));
}

bool CommandBarButtonObject::Enabled() const {
  return BoolOf(Call(button_, member::kButtonEnabled));
}

void CommandBarButtonObject::SetEnabled(bool enabled) {
  Put(button_, member::kSetButtonEnabled, Variant::Boolean(enabled));
}

void CommandBarButtonObject::SetPicture(std::shared_ptr<const host::Picture> picture) {
  const auto* face = dynamic_cast<const WindowsPicture*>(picture.get());
  if (picture != nullptr && face == nullptr) host::Raise(host::kTypeMismatch, "Type mismatch");
  const Variant face_value = Variant::Object(face != nullptr ? face->Dispatch() : nullptr);
  try {
    Put(button_, member::kButtonPicture, face_value);
  } catch (const host::HostError& error) {
    if (error.record().number != kNoSuchMember) throw;
    Put(button_, member::kButtonPictureByReference, face_value);
  }
  picture_ = std::move(picture);
}

void CommandBarButtonObject::Delete() { Call(button_, member::kButtonDelete); }

void CommandBarButtonObject::AddEventSink(host::CommandBarButtonEvents& sink) {
  if (sinks_.contains(&sink)) return;
  HostSession& session = session_;
  CommandBarButtonObject& self = *this;
  EventTable table;
  table[kClick] = [&session, &self, &sink](EventArguments& args) {
    host::CommandBarButton* clicked = session.ButtonFor(args.Object(0));
    bool cancel_default = args.Bool(1);
    sink.Click(clicked != nullptr ? *clicked : self, cancel_default);
    args.SetBool(1, cancel_default);
  };
  sinks_[&sink] = std::make_unique<EventConnection>(button_.get(), kButtonEvents, std::move(table),
                                                    session_.Transients());
}

void CommandBarButtonObject::RemoveEventSink(host::CommandBarButtonEvents& sink) {
  sinks_.erase(&sink);
}

}  // namespace lunavant::winaddin
