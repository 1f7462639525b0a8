// SPDX-License-Identifier: MIT
#include "class_factory.h"

#include <new>

#include "module.h"
#include "object.h"

namespace lunavant::com {
namespace {

class ClassFactory final : public Object<IClassFactory> {
 public:
  explicit ClassFactory(ObjectMaker make) : make_(make) {}

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** result) override {
    if (result == nullptr) return E_POINTER;
    *result = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return make_(iid, result);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    LockModule(lock != FALSE);
    return S_OK;
  }

 private:
  bool Serves(REFIID iid) const override { return IsEqualIID(iid, IID_IClassFactory); }

  ObjectMaker make_;
};

}  // namespace

HRESULT GetClassObject(std::span<const ServedClass> classes, REFCLSID clsid, REFIID iid,
                       void** result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  for (const ServedClass& served : classes) {
    if (!IsEqualCLSID(clsid, *served.clsid)) continue;
    auto* factory = new (std::nothrow) ClassFactory(served.make);
    if (factory == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(iid, result);
    factory->Release();
    return hr;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace lunavant::com
