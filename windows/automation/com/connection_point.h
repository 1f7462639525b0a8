// SPDX-License-Identifier: MIT
// The connection point of one event interface: sinks advise and unadvise by cookie, and the
// object that owns the point raises events through Fire, to every sink in the order they advised.
#pragma once

#include <ocidl.h>
#include <olectl.h>

#include <span>
#include <utility>
#include <vector>

#include "windows/com/com_ptr.h"
#include "windows/com/object.h"

namespace lunavant::windows {

using com::ComPtr;

class ConnectionPoint final : public com::Object<IConnectionPoint> {
 public:
  ConnectionPoint(IConnectionPointContainer& container, const IID& iid);

  const IID& Interface() const { return iid_; }
  // The owner is going: its sinks are released and the container is no longer handed out.
  void Detach();
  void Fire(DISPID member, std::span<VARIANT> reversed_arguments);
  bool HasSinks() const { return !sinks_.empty(); }

  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
  HRESULT STDMETHODCALLTYPE
  GetConnectionPointContainer(IConnectionPointContainer** container) override;
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

 private:
  bool Serves(REFIID iid) const override { return iid == IID_IConnectionPoint; }
  IDispatch* SinkOf(DWORD cookie) const;

  IConnectionPointContainer* container_;  // the owner; null once detached
  const IID& iid_;
  std::vector<std::pair<DWORD, ComPtr<IDispatch>>> sinks_;
  DWORD next_cookie_ = 1;
};

}  // namespace lunavant::windows
