// SPDX-License-Identifier: MIT
// What every add-in's Connect object shares: IUnknown, counted in the module so that
// DllCanUnloadNow waits for it, and IDispatch served from the IDTExtensibility2 type information
// embedded in the module, so a host may call the five entries by name as well as through the
// vtable. A Connect object derives from it and gives the five entries.
#pragma once

#include <windows.h>

#include "com_ptr.h"
#include "extensibility.h"
#include "module.h"

namespace lunavant::com {

class ExtensibilityObject : public IDTExtensibility2 {
 public:
  ExtensibilityObject(const ExtensibilityObject&) = delete;
  ExtensibilityObject& operator=(const ExtensibilityObject&) = delete;

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
    return DispInvoke(static_cast<IDTExtensibility2*>(this), type_info_.get(), id, flags, arguments,
                      result, exception, bad_argument);
  }

 protected:
  ExtensibilityObject() { ObjectCreated(); }
  // The object counts as gone once everything the derived object held is let go.
  virtual ~ExtensibilityObject() { ObjectDestroyed(); }

 private:
  HRESULT LoadTypeInfo() {
    if (type_info_) return S_OK;
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) return hr;
    return library->GetTypeInfoOfGuid(IID_IDTExtensibility2, type_info_.put());
  }

  long references_ = 1;
  ComPtr<ITypeInfo> type_info_;
};

}  // namespace lunavant::com
