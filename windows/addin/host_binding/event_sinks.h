// SPDX-License-Identifier: MIT
// Receiving the host's events without ATL: one generic sink, made from the events interface's ID
// and a table of its dispatch IDs, each with the handler that takes the event's arguments. The
// sink is advised through the source's connection point and unadvised when its connection goes.
// Each event runs as a call from the host (call_scope.h); nothing thrown inside a handler leaves
// the sink, and the host always gets S_OK.
//
//   EventTable table{{kClick, [&](EventArguments& args) { bool cancel = args.Bool(1); ... }}};
//   EventConnection connection(button, kButtonEventsIid, std::move(table), objects);
#pragma once

#include <oaidl.h>

#include <cstdint>
#include <functional>
#include <map>

#include "event_sink.h"
#include "host_binding/automation.h"
#include "host_binding/call_scope.h"

namespace lunavant::winaddin {

// An event's arguments in the order the event declares them (DISPPARAMS holds them last first).
class EventArguments {
 public:
  explicit EventArguments(DISPPARAMS& params) : params_(params) {}
  std::size_t Count() const { return params_.cArgs; }
  // The argument itself, by-reference variants read through; fails with kSubscriptOutOfRange
  // when the host passed fewer.
  const VARIANT& At(std::size_t index) const;
  ComPtr<IDispatch> Object(std::size_t index) const;
  std::int32_t Long(std::size_t index) const;
  bool Bool(std::size_t index) const;
  // Writes a by-reference truth value back to the host; does nothing for one passed by value.
  void SetBool(std::size_t index, bool value);

 private:
  VARIANT& Raw(std::size_t index) const;
  DISPPARAMS& params_;
};

using EventTable = std::map<DISPID, std::function<void(EventArguments&)>>;

// One sink advised on one source for as long as the connection lives.
class EventConnection {
 public:
  // Fails with a host error when the source has no such events or refuses the sink.
  EventConnection(IDispatch* source, const IID& events, EventTable table,
                  TransientObjects& objects);
  EventConnection(const EventConnection&) = delete;
  EventConnection& operator=(const EventConnection&) = delete;
  // Unadvises; the host calls the sink no more.
  ~EventConnection();

 private:
  ComPtr<com::EventSink> sink_;
  com::Advice advice_;
};

}  // namespace lunavant::winaddin
