// SPDX-License-Identifier: MIT
#include "class_factory.h"

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
    return QueryNewObject<ClassFactory>(iid, result, served.make);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace lunavant::com
