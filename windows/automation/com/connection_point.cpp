// SPDX-License-Identifier: MIT
#include "windows/automation/com/connection_point.h"

#include <algorithm>

namespace lunavant::windows {

ConnectionPoint::ConnectionPoint(IConnectionPointContainer& container, const IID& iid)
    : container_(&container), iid_(iid) {}

void ConnectionPoint::Detach() {
  container_ = nullptr;
  sinks_.clear();
}

IDispatch* ConnectionPoint::SinkOf(DWORD cookie) const {
  for (const auto& [advised, sink] : sinks_) {
    if (advised == cookie) return sink.get();
  }
  return nullptr;
}

void ConnectionPoint::Fire(DISPID member, std::span<VARIANT> reversed_arguments) {
  std::vector<DWORD> cookies;
  cookies.reserve(sinks_.size());
  for (const auto& entry : sinks_) cookies.push_back(entry.first);
  const auto self = ComPtr<ConnectionPoint>::Share(this);
  for (const DWORD cookie : cookies) {
    const auto sink = ComPtr<IDispatch>::Share(SinkOf(cookie));
    if (!sink) continue;
    DISPPARAMS params{reversed_arguments.data(), nullptr,
                      static_cast<UINT>(reversed_arguments.size()), 0};
    sink->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr,
                 nullptr);
  }
}

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (iid == nullptr) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (container == nullptr) return E_POINTER;
  *container = container_;
  if (container_ == nullptr) return E_UNEXPECTED;
  container_->AddRef();
  return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (cookie == nullptr) return E_POINTER;
  *cookie = 0;
  if (sink == nullptr || container_ == nullptr) return E_POINTER;
  // The sink must speak the event interface; it is called through IDispatch, as a dispinterface.
  IDispatch* events = nullptr;
  if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(&events)))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  sinks_.emplace_back(next_cookie_, ComPtr<IDispatch>::Adopt(events));
  *cookie = next_cookie_++;
  return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
  const auto found = std::find_if(sinks_.begin(), sinks_.end(),
                                  [cookie](const auto& entry) { return entry.first == cookie; });
  if (found == sinks_.end()) return CONNECT_E_NOCONNECTION;
  // Released after it leaves the list, so a sink that unadvises from its own handler ends well.
  const ComPtr<IDispatch> sink = std::move(found->second);
  sinks_.erase(found);
  return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** /*connections*/) { return E_NOTIMPL; }

}  // namespace lunavant::windows
