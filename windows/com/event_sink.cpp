// SPDX-License-Identifier: MIT
#include "event_sink.h"

#include <new>
#include <utility>

#include "late_binding.h"

namespace lunavant::com {

ComPtr<EventSink> EventSink::Make(const IID& events, Handler handler) {
  return ComPtr<EventSink>::Adopt(new EventSink(events, std::move(handler)));
}

EventSink::EventSink(const IID& events, Handler handler)
    : events_(events), handler_(std::move(handler)) {}

bool EventSink::Serves(REFIID iid) const {
  return IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, events_);
}

HRESULT EventSink::Invoke(DISPID id, REFIID /*iid*/, LCID /*locale*/, WORD /*flags*/,
                          DISPPARAMS* arguments, VARIANT* /*result*/, EXCEPINFO* /*exception*/,
                          UINT* /*bad_argument*/) {
  if (arguments == nullptr) return E_POINTER;
  // The source may drop its last reference to the sink from inside the handler.
  ComPtr<EventSink> keep_alive = ComPtr<EventSink>::Share(this);
  return handler_(id, arguments);
}

Advice::Advice(IUnknown* source, const IID& events, IUnknown* sink) {
  ComPtr<IConnectionPointContainer> container;
  HRESULT hr = source == nullptr
                   ? E_POINTER
                   : source->QueryInterface(IID_IConnectionPointContainer, container.put_void());
  if (FAILED(hr))
    throw ComError(hr, "the object has no events: " + DescribeInvokeFailure(hr, nullptr));
  hr = container->FindConnectionPoint(events, point_.put());
  if (FAILED(hr)) {
    throw ComError(hr, "the object has no such events: " + DescribeInvokeFailure(hr, nullptr));
  }
  hr = point_->Advise(sink, &cookie_);
  if (FAILED(hr)) {
    point_.reset();
    throw ComError(hr, "the object refused the event sink: " + DescribeInvokeFailure(hr, nullptr));
  }
}

Advice::Advice(Advice&& other) noexcept
    : point_(std::move(other.point_)), cookie_(std::exchange(other.cookie_, 0)) {}

Advice& Advice::operator=(Advice&& other) noexcept {
  if (this != &other) {
    disconnect();
    point_ = std::move(other.point_);
    cookie_ = std::exchange(other.cookie_, 0);
  }
  return *this;
}

void Advice::disconnect() {
  if (point_) point_->Unadvise(cookie_);
  point_.reset();
  cookie_ = 0;
}

}  // namespace lunavant::com
