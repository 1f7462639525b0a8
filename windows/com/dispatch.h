// SPDX-License-Identifier: MIT
// IDispatch's bookkeeping for every automation object of ours, over com::Object's IUnknown: the
// type information and the dispatch IDs of names, read from the description of one interface in
// the type library embedded in the module, or none for an object called by dispatch ID only (an
// event sink) or one that names its own members (overriding GetIDsOfNames). The object gives
// Invoke:
//   class Sink final : public com::Dispatch<IDispatch> {
//     bool Serves(REFIID iid) const override { ... }
//     HRESULT STDMETHODCALLTYPE Invoke(...) override { ... }
//   };
#pragma once

#include <oaidl.h>

#include "com_ptr.h"
#include "module.h"
#include "object.h"

namespace lunavant::com {

template <class Interface = IDispatch>
class Dispatch : public Object<Interface> {
 public:
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = described_ != nullptr ? 1 : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID /*locale*/, ITypeInfo** info) override {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0 || described_ == nullptr) return DISP_E_BADINDEX;
    return DescribedTypeInfo(info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID /*iid*/, LPOLESTR* names, UINT count,
                                          LCID /*locale*/, DISPID* ids) override {
    if (names == nullptr || ids == nullptr || count == 0) return E_INVALIDARG;
    ComPtr<ITypeInfo> info;
    if (described_ != nullptr) {
      const HRESULT hr = DescribedTypeInfo(info.put());
      if (FAILED(hr)) return hr;
    }
    if (!info || FAILED(info->GetIDsOfNames(names, count, ids))) {
      for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
      return DISP_E_UNKNOWNNAME;
    }
    return S_OK;
  }

 protected:
  // `described`: the interface whose description in the module's type library the object
  // answers with; null for none. It must outlive the object (an IID constant does).
  explicit Dispatch(const IID* described = nullptr) : described_(described) {}

  // For an Invoke that DispInvoke answers from the description.
  HRESULT DescribedTypeInfo(ITypeInfo** info) const {
    if (described_ == nullptr) return TYPE_E_ELEMENTNOTFOUND;
    return ModuleTypeInfo(*described_, info);
  }

 private:
  const IID* described_;
};

}  // namespace lunavant::com
