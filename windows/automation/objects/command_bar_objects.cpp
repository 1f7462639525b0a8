// SPDX-License-Identifier: MIT
// The Office command bars as the host hands them out: CommandBars, a CommandBar, its
// CommandBarControls and a CommandBarButton with its Click event.
#include <array>
#include <string>

#include "addin/host/error.h"
#include "windows/automation/objects/host_objects.h"
#include "windows/automation/objects/interface_ids.h"
#include "windows/automation/server/dispids.h"
#include "windows/automation/server/reference_host.h"
#include "workbench/model/messages.h"

namespace lunavant::windows {
namespace {

class ButtonObject final : public HostObject, private host::CommandBarButtonEvents {
 public:
  ButtonObject(std::shared_ptr<Session> session, workbench::CommandBarButton& button)
      : HostObject(std::move(session), ObjectKind::kCommandBarButton, &button, kCommandBarButtonIid,
                   &kCommandBarButtonEventsIid),
        button_(button) {
    button_.AddEventSink(*this);
  }

 protected:
  ~ButtonObject() override { button_.RemoveEventSink(*this); }

  void Call(DISPID member, WORD flags, const Arguments& args, Result& result) override {
    if (CallCommon(member, flags, result)) return;
    if (Writes(flags)) return Write(member, args.PutValue());
    if (!Reads(flags)) NoSuchMember();
    switch (member) {
      case DISPID_BUTTON_TAG:
        return result.Text(button_.Tag());
      case DISPID_BUTTON_CAPTION:
        return result.Text(button_.Caption());
      case DISPID_BUTTON_TOOLTIPTEXT:
        return result.Text(button_.TooltipText());
      case DISPID_BUTTON_ONACTION:
        return result.Text(button_.OnAction());
      case DISPID_BUTTON_VISIBLE:
        return result.Bool(button_.Visible());
      case DISPID_BUTTON_ENABLED:
        return result.Bool(button_.Enabled());
      case DISPID_BUTTON_STYLE:
        return result.Long(style_);
      case DISPID_BUTTON_FACEID:
        return result.Long(face_id_);
      case DISPID_BUTTON_PICTURE:
        return result.Object(picture_.get());
      case DISPID_BUTTON_DELETE:
        return button_.Delete();
      case DISPID_BUTTON_EXECUTE:
        // As a click of the user: nothing happens on a hidden or disabled button.
        button_.Click();
        return;
      default:
        NoSuchMember();
    }
  }

 private:
  void Write(DISPID member, const VARIANT& value) {
    switch (member) {
      case DISPID_BUTTON_TAG:
        return button_.SetTag(Arguments::TextOf(value));
      case DISPID_BUTTON_CAPTION:
        return button_.SetCaption(Arguments::TextOf(value));
      case DISPID_BUTTON_TOOLTIPTEXT:
        return button_.SetTooltipText(Arguments::TextOf(value));
      case DISPID_BUTTON_ONACTION:
        return button_.SetOnAction(Arguments::TextOf(value));
      case DISPID_BUTTON_VISIBLE:
        return button_.SetVisible(Arguments::BoolOf(value));
      case DISPID_BUTTON_ENABLED:
        return button_.SetEnabled(Arguments::BoolOf(value));
      case DISPID_BUTTON_STYLE:
        button_.Tag();  // a deleted button refuses the write
        style_ = Arguments::LongOf(value);
        return;
      case DISPID_BUTTON_FACEID:
        button_.Tag();
        face_id_ = Arguments::LongOf(value);
        return;
      case DISPID_BUTTON_PICTURE:
        // The face is kept for whoever draws the bar; the workbench draws none.
        button_.Tag();
        picture_ = ComPtr<IDispatch>::Share(Arguments::ObjectOf(value));
        return;
      default:
        NoSuchMember();
    }
  }

  void Click(host::CommandBarButton& /*button*/, bool& cancel_default) override {
    if (!HasSinks()) return;
    VARIANT_BOOL flag = cancel_default ? VARIANT_TRUE : VARIANT_FALSE;
    VARIANT cancel;
    VariantInit(&cancel);
    cancel.vt = VT_BOOL | VT_BYREF;
    cancel.pboolVal = &flag;
    VARIANT control;
    VariantInit(&control);
    control.vt = VT_DISPATCH;
    control.pdispVal = this;
    std::array<VARIANT, 2> arguments = {cancel, control};
    Fire(DISPID_EVENT_CLICK, arguments);
    cancel_default = flag != VARIANT_FALSE;
  }

  workbench::CommandBarButton& button_;
  std::int32_t style_ = 0;  // msoButtonAutomatic
  std::int32_t face_id_ = 0;
  ComPtr<IDispatch> picture_;
};

class ControlsObject final : public HostObject {
 public:
  ControlsObject(std::shared_ptr<Session> session, workbench::CommandBar& bar)
      : HostObject(std::move(session), ObjectKind::kCommandBarControls, &bar,
                   kCommandBarControlsIid),
        bar_(bar) {}

 protected:
  ComPtr<IDispatch> ParentObject() override { return CommandBarOf(shared_session(), &bar_); }

  void Call(DISPID member, WORD flags, const Arguments& args, Result& result) override {
    host::CommandBarControls& controls = bar_.Controls();
    if (CallCollectionCommon(member, flags, result, DISPID_CONTROLS_COUNT,
                             [&] { return controls.Count(); }))
      return;
    switch (member) {
      case DISPID_LV_ITEM: {
        auto& button = static_cast<workbench::CommandBarButton&>(controls.Item(args.Long(0)));
        return result.Object(ButtonOf(shared_session(), &button).get());
      }
      case DISPID_CONTROLS_ADD: {
        auto& button = static_cast<workbench::CommandBarButton&>(
            controls.Add(args.OptionalLong(0).value_or(host::kControlButton)));
        return result.Object(ButtonOf(shared_session(), &button).get());
      }
      default:
        NoSuchMember();
    }
  }

 private:
  workbench::CommandBar& bar_;
};

class BarObject final : public HostObject {
 public:
  BarObject(std::shared_ptr<Session> session, workbench::CommandBar& bar)
      : HostObject(std::move(session), ObjectKind::kCommandBar, &bar, kCommandBarIid), bar_(bar) {}

 protected:
  ComPtr<IDispatch> ParentObject() override { return CommandBarsOf(shared_session()); }

  void Call(DISPID member, WORD flags, const Arguments& args, Result& result) override {
    if (CallCommon(member, flags, result)) return;
    if (Writes(flags)) {
      if (member != DISPID_BAR_VISIBLE) NoSuchMember();
      return bar_.SetVisible(Arguments::BoolOf(args.PutValue()));
    }
    if (!Reads(flags)) NoSuchMember();
    switch (member) {
      case DISPID_BAR_NAME:
        return result.Text(bar_.Name());
      case DISPID_BAR_POSITION:
        return result.Long(bar_.Position());
      case DISPID_BAR_VISIBLE:
        return result.Bool(bar_.Visible());
      case DISPID_BAR_CONTROLS:
        bar_.Controls();  // a deleted bar refuses
        return result.Object(
            session()
                .Find<ControlsObject>(
                    ObjectKind::kCommandBarControls, &bar_,
                    [&] { return MakeObject<ControlsObject>(shared_session(), bar_); })
                .get());
      case DISPID_BAR_FINDCONTROL: {
        const std::optional<std::string> tag = args.OptionalText(2);
        workbench::CommandBarButton* found = tag ? bar_.FindControl(*tag) : nullptr;
        return result.Object(ButtonOf(shared_session(), found).get());
      }
      case DISPID_BAR_DELETE:
        return bar_.Delete();
      default:
        NoSuchMember();
    }
  }

 private:
  workbench::CommandBar& bar_;
};

class BarsObject final : public HostObject {
 public:
  explicit BarsObject(std::shared_ptr<Session> session)
      : HostObject(session, ObjectKind::kCommandBars, &session->App().Bars(), kCommandBarsIid) {}

 protected:
  void Call(DISPID member, WORD flags, const Arguments& args, Result& result) override {
    workbench::CommandBars& bars = App().Bars();
    if (CallCollectionCommon(member, flags, result, DISPID_BARS_COUNT,
                             [&] { return static_cast<std::int32_t>(bars.Bars().size()); }))
      return;
    switch (member) {
      case DISPID_LV_ITEM:
        return result.Object(CommandBarOf(shared_session(), Item(args.Required(0))).get());
      case DISPID_BARS_ADD: {
        const std::optional<std::string> name = args.OptionalText(0);
        if (!name || name->empty()) {
          host::Raise(host::kInvalidProcedureCall, "Invalid procedure call or argument");
        }
        workbench::CommandBar& bar = static_cast<workbench::CommandBar&>(
            bars.Add(*name, args.OptionalLong(1).value_or(host::kBarTop)));
        return result.Object(CommandBarOf(shared_session(), &bar).get());
      }
      default:
        NoSuchMember();
    }
  }

 private:
  // By name (letter case ignored) or position from 1.
  workbench::CommandBar* Item(const VARIANT& index) {
    workbench::CommandBars& bars = App().Bars();
    if (Arguments::IsText(index)) {
      workbench::CommandBar* bar = bars.Item(Arguments::TextOf(index));
      if (bar == nullptr) {
        host::Raise(host::kInvalidProcedureCall, "Invalid procedure call or argument");
      }
      return bar;
    }
    const std::vector<workbench::CommandBar*> all = bars.Bars();
    const std::int32_t position = Arguments::LongOf(index);
    if (position < 1 || position > static_cast<std::int32_t>(all.size())) {
      host::Raise(host::kInvalidProcedureCall, "Invalid procedure call or argument");
    }
    return all[static_cast<std::size_t>(position - 1)];
  }
};

}  // namespace

ComPtr<IDispatch> CommandBarsOf(const std::shared_ptr<Session>& session) {
  return session->Find<BarsObject>(ObjectKind::kCommandBars, &session->App().Bars(),
                                   [&] { return MakeObject<BarsObject>(session); });
}

ComPtr<IDispatch> CommandBarOf(const std::shared_ptr<Session>& session,
                               workbench::CommandBar* bar) {
  if (bar == nullptr) return {};
  return session->Find<BarObject>(ObjectKind::kCommandBar, bar,
                                  [&] { return MakeObject<BarObject>(session, *bar); });
}

ComPtr<IDispatch> ButtonOf(const std::shared_ptr<Session>& session,
                           workbench::CommandBarButton* button) {
  if (button == nullptr) return {};
  return session->Find<ButtonObject>(ObjectKind::kCommandBarButton, button,
                                     [&] { return MakeObject<ButtonObject>(session, *button); });
}

}  // namespace lunavant::windows
