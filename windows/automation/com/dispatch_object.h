// SPDX-License-Identifier: MIT
// The base of every automation object of the host: over com::Dispatch (reference counting, names
// and dispatch IDs from the embedded type library), calls answered by member, failures turned
// into what automation clients expect, and, for an object that raises events, one connection
// point for its event interface.
//
//   class Window final : public DispatchObject {
//     Window(...) : DispatchObject(kWindowIid) {}
//     void Call(DISPID member, WORD flags, const Arguments& args, Result& result) override;
//   };
//
// A host error thrown by Call becomes DISP_E_EXCEPTION with the error's number (as an HRESULT of
// FACILITY_CONTROL, which Basic reads back as that number) and description in EXCEPINFO.
//
// Before Call, a call is held to the object's description in the type library, as a host whose
// calls go through its type information holds it: a kind of access the member does not declare
// (a put-by-reference of a property with an ordinary put only, a put of a read-only one) fails
// with DISP_E_MEMBERNOTFOUND, too few or too many arguments with DISP_E_BADPARAMCOUNT, and an
// argument that does not convert to a declared text, number or truth value, or that is no object
// where the member takes one, with DISP_E_TYPEMISMATCH.
#pragma once

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <span>
#include <utility>
#include <vector>

#include "windows/automation/com/com_support.h"
#include "windows/com/com_ptr.h"
#include "windows/com/dispatch.h"

namespace lunavant::windows {

class ConnectionPoint;

class DispatchObject : public com::Dispatch<IDispatch> {
 public:
  // `iid` and `events_iid` (null for an object without events) must outlive the object.
  explicit DispatchObject(const IID& iid, const IID* events_iid = nullptr);

  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID lcid, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argument_error) override;

 protected:
  ~DispatchObject() override;
  // Answers one call; throws host::HostError, DispatchFailure or std::bad_alloc.
  virtual void Call(DISPID member, WORD flags, const Arguments& args, Result& result) = 0;

  // Calls every advised sink with the arguments in rgvarg order (last parameter first); a sink
  // unadvised meanwhile, by itself or another, is skipped. A sink's own failure stops nobody.
  void Fire(DISPID member, std::span<VARIANT> reversed_arguments);
  bool HasSinks() const;
  // _NewEnum of a collection: an enumerator over what Item gives for 1..Count, Count and Item
  // (DISPID_VALUE) answered by Call itself.
  void Enumerate(DISPID count_member, Result& result);

  // S_OK when the type library declares `member` for this kind of call with these arguments, or
  // describes no such object; the failure to report otherwise.
  HRESULT CheckDeclared(DISPID member, WORD flags, const DISPPARAMS& params) const;

  static bool Reads(WORD flags) { return (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) != 0; }
  static bool Writes(WORD flags) {
    return (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
  }
  [[noreturn]] static void NoSuchMember() { throw DispatchFailure{DISP_E_MEMBERNOTFOUND}; }

 private:
  bool Serves(REFIID iid) const override;
  void* InterfaceFor(REFIID iid) override;

  class Container final : public IConnectionPointContainer {
   public:
    explicit Container(DispatchObject& outer) : outer_(outer) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
      return outer_.QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return outer_.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return outer_.Release(); }
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

   private:
    DispatchObject& outer_;
  };

  const IID& iid_;
  Container container_{*this};
  ConnectionPoint* events_ = nullptr;  // owned: one reference
};

// Makes a new object; the caller owns the one reference it starts with.
template <typename T, typename... Args>
ComPtr<T> MakeObject(Args&&... args) {
  return ComPtr<T>::Adopt(new T(std::forward<Args>(args)...));
}

}  // namespace lunavant::windows
