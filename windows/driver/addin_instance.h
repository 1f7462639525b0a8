// SPDX-License-Identifier: MIT
// The host's COMAddIn object for one add-in, which OnConnection hands over as AddInInst: late
// bound only, with the member names and dispatch IDs of Office's COMAddIn (Description, ProgId,
// Guid, Connect, Object), matched without regard to case as automation names are.
#pragma once

#include <oaidl.h>

#include <string>

#include "com_ptr.h"
#include "dispatch.h"
#include "variant.h"

namespace lunavant::driver {

class AddInInstance final : public com::Dispatch<IDispatch> {
 public:
  static com::ComPtr<AddInInstance> Make(std::wstring prog_id, std::wstring description,
                                         CLSID clsid);

  // Connect as the add-in sees it; the manager sets it around the add-in's connection.
  void set_connected(bool connected) {
    connected_ = connected;
    if (connected) disconnect_requested_ = false;
  }
  // True once the add-in asked, by setting Connect to False, to be disconnected.
  bool disconnect_requested() const { return disconnect_requested_; }
  // Lets go of what the add-in stored in Object, which may hold the add-in itself.
  void clear_object() { object_ = com::Variant(); }

  // Without type information: the names are matched here.
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                   DISPPARAMS* arguments, VARIANT* result, EXCEPINFO* exception,
                                   UINT* bad_argument) override;

 private:
  AddInInstance(std::wstring prog_id, std::wstring description, CLSID clsid);
  bool Serves(REFIID iid) const override { return IsEqualIID(iid, IID_IDispatch); }

  HRESULT Get(DISPID id, VARIANT* result) const;
  HRESULT Put(DISPID id, const VARIANT& value);

  std::wstring prog_id_;
  std::wstring description_;
  CLSID clsid_;
  bool connected_ = false;
  bool disconnect_requested_ = false;
  com::Variant object_;
};

}  // namespace lunavant::driver
