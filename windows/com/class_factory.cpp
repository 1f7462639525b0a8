// SPDX-License-Identifier: MIT
#include "class_factory.h"

#include <new>

#include "module.h"

namespace lunavant::com {
namespace {

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(ObjectMaker make) : make_(make) { ObjectCreated(); }
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
    if (result == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *result = static_cast<IClassFactory*>(this);
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
  ~ClassFactory() { ObjectDestroyed(); }

  ObjectMaker make_;
  long references_ = 1;
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
