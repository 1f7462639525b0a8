// SPDX-License-Identifier: MIT
#include "event_sink.h"

#include <new>
#include <utility>

#include "late_binding.h"
#include "module.h"

namespace lunavant::com {

ComPtr<EventSink> EventSink::Make(const IID& events, Handler handler) {
  return ComPtr<EventSink>::Adopt(new EventSink(events, std::move(handler)));
}

EventSink::EventSink(const IID& events, Handler handler)
    : events_(events), handler_(std::move(handler)) {
  ObjectCreated();
}

EventSink::~EventSink() { ObjectDestroyed(); }

HRESULT EventSink::QueryInterface(REFIID iid, void** result) {
  if (result == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, events_)) {
    *result = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *result = nullptr;
  return E_NOINTERFACE;
}

ULONG EventSink::AddRef() { return static_cast<ULONG>(++references_); }

ULONG EventSink::Release() {
  const long left = --references_;
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT EventSink::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT EventSink::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info != nullptr) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT EventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  // Sources call their sinks by dispatch ID only.
  return E_NOTIMPL;
}

HRESULT EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* arguments, VARIANT*,
                          EXCEPINFO*, UINT*) {
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
