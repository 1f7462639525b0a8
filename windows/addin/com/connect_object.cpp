// SPDX-License-Identifier: MIT
#include "com/connect_object.h"

#include <memory>
#include <new>

#include "addin/host/global.h"
#include "addin/shell/connect.h"
#include "com_ptr.h"
#include "extensibility.h"
#include "host_binding/call_scope.h"
#include "host_binding/host_session.h"
#include "host_binding/project_objects.h"
#include "module.h"
#include "platform/windows_platform.h"

namespace lunavant::winaddin {
namespace {

class ConnectObject final : public IDTExtensibility2 {
 public:
  ConnectObject() { com::ObjectCreated(); }
  ConnectObject(const ConnectObject&) = delete;
  ConnectObject& operator=(const ConnectObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
    if (result == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, IID_IDTExtensibility2)) {
      *result = static_cast<IDTExtensibility2*>(this);
      AddRef();
      return S_OK;
    }
    *result = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const long left = --references_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    const HRESULT hr = LoadTypeInfo();
    if (FAILED(hr)) return hr;
    *info = type_info_.get();
    (*info)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    const HRESULT hr = LoadTypeInfo();
    if (FAILED(hr)) return hr;
    return DispGetIDsOfNames(type_info_.get(), names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* arguments,
                                   VARIANT* result, EXCEPINFO* exception,
                                   UINT* bad_argument) override {
    const HRESULT hr = LoadTypeInfo();
    if (FAILED(hr)) return hr;
    return DispInvoke(static_cast<IDTExtensibility2*>(this), type_info_.get(), id, flags,
                      arguments, result, exception, bad_argument);
  }

  HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, ext_ConnectMode mode,
                                         IDispatch* addin_instance, SAFEARRAY**) override {
    try {
      if (application == nullptr) return S_OK;
      // A connection over one still held: the old one is let go first.
      if (session_) Disconnect(host::kDisconnectUserClosed);
      session_ = std::make_unique<HostSession>(ComPtr<IDispatch>::Share(application),
                                               ProcessPlatform());
      CallScope scope(session_->Transients());
      host::SetGlobalApplication(&session_->Application());
      AddInInstanceObject instance(*session_, ComPtr<IDispatch>::Share(addin_instance));
      connect_.OnConnection(session_->Application(), static_cast<std::int32_t>(mode), instance);
    } catch (...) {
      // The add-in runs with what it could set up; the host always gets success.
    }
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode mode, SAFEARRAY**) override {
    try {
      Disconnect(static_cast<std::int32_t>(mode));
    } catch (...) {
    }
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY**) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY**) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY**) override { return S_OK; }

 private:
  ~ConnectObject() {
    try {
      if (session_) Disconnect(host::kDisconnectHostShutdown);
    } catch (...) {
    }
    com::ObjectDestroyed();
  }

  void Disconnect(std::int32_t mode) {
    if (!session_) return;
    {
      CallScope scope(session_->Transients());
      connect_.OnDisconnection(mode);
      // The collection it keeps until release lives in the session that ends here.
      connect_.HostBars = nullptr;
    }
    if (host::GlobalApplication() == &session_->Application()) host::SetGlobalApplication(nullptr);
    session_.reset();
  }

  HRESULT LoadTypeInfo() {
    if (type_info_) return S_OK;
    com::ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(com::ModulePath().c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) return hr;
    return library->GetTypeInfoOfGuid(IID_IDTExtensibility2, type_info_.put());
  }

  long references_ = 1;
  com::ComPtr<ITypeInfo> type_info_;
  // Declared before the add-in, so the add-in (and the sinks it removes) ends first.
  std::unique_ptr<HostSession> session_;
  shell::Connect connect_;
};

}  // namespace

HRESULT MakeConnect(REFIID iid, void** result) {
  auto* connect = new (std::nothrow) ConnectObject();
  if (connect == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = connect->QueryInterface(iid, result);
  connect->Release();
  return hr;
}

}  // namespace lunavant::winaddin
