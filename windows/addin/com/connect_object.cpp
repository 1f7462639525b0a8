// SPDX-License-Identifier: MIT
#include "com/connect_object.h"

#include <memory>

#include "addin/host/global.h"
#include "addin/shell/connect.h"
#include "com_ptr.h"
#include "extensibility_object.h"
#include "host_binding/call_scope.h"
#include "host_binding/host_session.h"
#include "host_binding/project_objects.h"
#include "module.h"
#include "object.h"
#include "platform/windows_platform.h"

namespace lunavant::winaddin {
namespace {

class ConnectObject final : public com::ExtensibilityObject {
 public:
  HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, ext_ConnectMode mode,
                                         IDispatch* addin_instance,
                                         SAFEARRAY** /*custom*/) override {
    try {
      if (application == nullptr) return S_OK;
      // A connection over one still held: the old one is let go first.
      if (session_) Disconnect(host::kDisconnectUserClosed);
      session_ =
          std::make_unique<HostSession>(ComPtr<IDispatch>::Share(application), ProcessPlatform());
      CallScope scope(session_->Transients());
      host::SetGlobalApplication(&session_->Application());
      AddInInstanceObject instance(*session_, ComPtr<IDispatch>::Share(addin_instance));
      connect_.OnConnection(session_->Application(), static_cast<std::int32_t>(mode), instance);
    } catch (...) {
      // The add-in runs with what it could set up; the host always gets success.
    }
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode mode,
                                            SAFEARRAY** /*custom*/) override {
    try {
      Disconnect(static_cast<std::int32_t>(mode));
    } catch (...) {
    }
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** /*custom*/) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** /*custom*/) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** /*custom*/) override { return S_OK; }

 private:
  ~ConnectObject() {
    try {
      if (session_) Disconnect(host::kDisconnectHostShutdown);
    } catch (...) {
    }
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

  // Declared before the add-in, so the add-in (and the sinks it removes) ends first.
  std::unique_ptr<HostSession> session_;
  shell::Connect connect_;
};

}  // namespace

HRESULT MakeConnect(REFIID iid, void** result) {
  return com::QueryNewObject<ConnectObject>(iid, result);
}

}  // namespace lunavant::winaddin
