// SPDX-License-Identifier: MIT
// Receiving an automation object's events: a sink that answers the source's dispatch interface
// and hands each call to a function, and an advice that connects it through the source's
// IConnectionPointContainer and disconnects it when it goes.
//   auto sink = EventSink::Make(DIID_CommandBarButtonEvents, [](DISPID id, DISPPARAMS* args)
//   {...}); Advice advice(button, DIID_CommandBarButtonEvents, sink.get());
#pragma once

#include <ocidl.h>

#include <functional>

#include "com_ptr.h"
#include "dispatch.h"

namespace lunavant::com {

class EventSink final : public Dispatch<IDispatch> {
 public:
  // Gets each event's dispatch ID and arguments (last first, as DISPPARAMS holds them); what it
  // returns goes back to the source. It must not throw.
  using Handler = std::function<HRESULT(DISPID event, DISPPARAMS* arguments)>;

  static ComPtr<EventSink> Make(const IID& events, Handler handler);

  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* arguments, VARIANT* result, EXCEPINFO* exception,
                                   UINT* bad_argument) override;

 private:
  EventSink(const IID& events, Handler handler);
  bool Serves(REFIID iid) const override;

  IID events_;
  Handler handler_;
};

// One connection of a sink to a source; Unadvise when it goes or on disconnect().
class Advice {
 public:
  Advice() = default;
  // Throws ComError when the source has no such connection point or refuses the sink.
  Advice(IUnknown* source, const IID& events, IUnknown* sink);
  Advice(const Advice&) = delete;
  Advice& operator=(const Advice&) = delete;
  Advice(Advice&& other) noexcept;
  Advice& operator=(Advice&& other) noexcept;
  ~Advice() { disconnect(); }

  void disconnect();

 private:
  ComPtr<IConnectionPoint> point_;
  DWORD cookie_ = 0;
};

}  // namespace lunavant::com
