// SPDX-License-Identifier: MIT
// What every add-in's Connect object shares: IDispatch served from the IDTExtensibility2 type
// information embedded in the module (com::Dispatch), so a host may call the five entries by name
// as well as through the vtable. A Connect object derives from it and gives the five entries.
#pragma once

#include <windows.h>

#include "com_ptr.h"
#include "dispatch.h"
#include "extensibility.h"

namespace lunavant::com {

class ExtensibilityObject : public Dispatch<IDTExtensibility2> {
 public:
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID /*iid*/, LCID /*locale*/, WORD flags,
                                   DISPPARAMS* arguments, VARIANT* result, EXCEPINFO* exception,
                                   UINT* bad_argument) override {
    ComPtr<ITypeInfo> info;
    const HRESULT hr = DescribedTypeInfo(info.put());
    if (FAILED(hr)) return hr;
    return DispInvoke(static_cast<IDTExtensibility2*>(this), info.get(), id, flags, arguments,
                      result, exception, bad_argument);
  }

 protected:
  ExtensibilityObject() : Dispatch(&IID_IDTExtensibility2) {}

 private:
  bool Serves(REFIID iid) const override {
    return IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IDTExtensibility2);
  }
};

}  // namespace lunavant::com
