// SPDX-License-Identifier: MIT
// IUnknown for every COM object of ours: one count of references for all of an object's
// interfaces, the object deleted when it drops to zero, and the object counted in the module from
// its constructor to its destructor, so DllCanUnloadNow waits for it. A class names the
// interfaces it answers for besides IUnknown:
//   class Factory final : public com::Object<IClassFactory> {
//     bool Serves(REFIID iid) const override { return IsEqualIID(iid, IID_IClassFactory); }
//   };
// and makes its objects with `new` (or QueryNewObject), each starting with the one reference its
// maker owns.
#pragma once

#include <unknwn.h>

#include <atomic>
#include <new>
#include <utility>

#include "module.h"

namespace lunavant::com {

template <class Interface>
class Object : public Interface {
 public:
  Object(const Object&) = delete;
  Object& operator=(const Object&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
    if (result == nullptr) return E_POINTER;
    *result = InterfaceFor(iid);
    if (*result == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  Object() { ObjectCreated(); }
  // The object counts as gone once everything the derived object held is let go.
  virtual ~Object() { ObjectDestroyed(); }

  // Whether the object is `iid` (other than IUnknown) through `Interface`.
  virtual bool Serves(REFIID iid) const = 0;
  // The object as `iid`, without a reference of its own; null when it is not. An object with an
  // interface beside `Interface` answers for it here.
  virtual void* InterfaceFor(REFIID iid) {
    if (IsEqualIID(iid, IID_IUnknown) || Serves(iid)) return static_cast<Interface*>(this);
    return nullptr;
  }

 private:
  std::atomic<ULONG> references_{1};
};

// A new object of class T, made from `arguments` and asked for `iid`, as a class factory hands
// one out: E_OUTOFMEMORY when there is no memory for it, E_NOINTERFACE when it is no `iid`.
template <class T, class... Arguments>
HRESULT QueryNewObject(REFIID iid, void** result, Arguments&&... arguments) {
  auto* object = new (std::nothrow) T(std::forward<Arguments>(arguments)...);
  if (object == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = object->QueryInterface(iid, result);
  object->Release();
  return hr;
}

}  // namespace lunavant::com
