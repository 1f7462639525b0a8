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
    return Require(session_.ButtonFor(ObjectOf(controls_.Get(L"Add", {Variant::Long(type)}))));
  }
  std::int32_t Count() const override { return LongOf(controls_.Get(L"Count")); }
  host::CommandBarButton& Item(std::int32_t index) override {
    return Require(session_.ButtonFor(ObjectOf(controls_.Get(L"Item", {Variant::Long(index)}))));
  }

 private:
  HostSession& session_;
  AutomationObject controls_;
};

}  // namespace

host::CommandBar& CommandBarsObject::Add(std::string_view name, std::int32_t position) {
  // Add(Name, Position, MenuBar, Temporary): neither a menu bar nor temporary.
  return Require(session_.BarFor(
      ObjectOf(bars_.Get(L"Add", {Text(name), Variant::Long(position), Variant::Boolean(false),
                                  Variant::Boolean(false)}))));
}

host::CommandBar* CommandBarsObject::Item(std::string_view name) {
  ComPtr<IDispatch> bar;
  try {
    bar = ObjectOf(bars_.Get(L"Item", {Text(name)}));
  } catch (const host::HostError&) {
    return nullptr;
  }
  return session_.BarFor(bar);
}

CommandBarObject::CommandBarObject(HostSession& session, ComPtr<IDispatch> bar)
    : session_(session), bar_(session.Object(std::move(bar), ObjectKind::kCommandBar)) {}

CommandBarObject::~CommandBarObject() = default;

std::string CommandBarObject::Name() const { return TextOf(bar_.Get(L"Name")); }

std::int32_t CommandBarObject::Position() const { return LongOf(bar_.Get(L"Position")); }

bool CommandBarObject::Visible() const { return BoolOf(bar_.Get(L"Visible")); }

void CommandBarObject::SetVisible(bool visible) { bar_.Put(L"Visible", Variant::Boolean(visible)); }

host::CommandBarButton* CommandBarObject::FindControl(std::string_view tag) {
  // FindControl(Type, Id, Tag, Visible, Recursive): by tag alone.
  return session_.ButtonFor(
      ObjectOf(bar_.Get(L"FindControl", {Variant::Missing(), Variant::Missing(), Text(tag)})));
}

host::CommandBarControls& CommandBarObject::Controls() {
  if (!controls_) {
    ComPtr<IDispatch> controls = ObjectOf(bar_.Get(L"Controls"));
    Require(controls.get());
    controls_ = std::make_unique<ControlsObject>(session_, std::move(controls));
  }
  return *controls_;
}

void CommandBarObject::Delete() { bar_.Get(L"Delete"); }

CommandBarButtonObject::CommandBarButtonObject(HostSession& session, ComPtr<IDispatch> button)
    : session_(session),
      button_(session.Object(std::move(button), ObjectKind::kCommandBarButton)) {}

CommandBarButtonObject::~CommandBarButtonObject() = default;

std::string CommandBarButtonObject::Text(const wchar_t* member) const {
  return TextOf(button_.Get(member));
}

void CommandBarButtonObject::SetText(const wchar_t* member, const std::string& text) {
  button_.Put(member, Variant::Text(com::Widen(text)));
}

bool CommandBarButtonObject::Visible() const { return BoolOf(button_.Get(L"Visible")); }

void CommandBarButtonObject::SetVisible(bool visible) {
  button_.Put(L"Visible", Variant::Boolean(visible));
}

bool CommandBarButtonObject::Enabled() const { return BoolOf(button_.Get(L"Enabled")); }

void CommandBarButtonObject::SetEnabled(bool enabled) {
  button_.Put(L"Enabled", Variant::Boolean(enabled));
}

void CommandBarButtonObject::SetPicture(std::shared_ptr<const host::Picture> picture) {
  const auto* face = dynamic_cast<const WindowsPicture*>(picture.get());
  if (picture != nullptr && face == nullptr) host::Raise(host::kTypeMismatch, "Type mismatch");
  button_.PutRef(L"Picture", face != nullptr ? face->Dispatch() : nullptr);
  picture_ = std::move(picture);
}

void CommandBarButtonObject::Delete() { button_.Get(L"Delete"); }

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
