// SPDX-License-Identifier: MIT
#include "windows/automation/com/dispatch_object.h"

#include <new>
#include <string>
#include <vector>

#include "addin/host/error.h"
#include "windows/automation/com/connection_point.h"
#include "windows/automation/com/enum_variant.h"
#include "windows/automation/server/reference_host.h"
#include "windows/com/text.h"

namespace lunavant::windows {
namespace {

// Basic reads an HRESULT of FACILITY_CONTROL as the error number in its low word.
HRESULT HresultOfErrorNumber(std::int32_t number) {
  return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, static_cast<WORD>(number));
}

void Describe(EXCEPINFO* exception, std::int32_t number, const std::string& description) {
  if (exception == nullptr) return;
  *exception = EXCEPINFO{};
  exception->scode = HresultOfErrorNumber(number);
  exception->bstrSource = SysAllocString(kReferenceHostProgId);
  const std::wstring text = com::Widen(description);
  exception->bstrDescription = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// Whether a function of the type library answers a call made with `flags`.
bool Answers(INVOKEKIND kind, WORD flags) {
  switch (kind) {
    case INVOKE_FUNC:
      return (flags & DISPATCH_METHOD) != 0;
    case INVOKE_PROPERTYGET:
      return (flags & DISPATCH_PROPERTYGET) != 0;
    case INVOKE_PROPERTYPUT:
      return (flags & DISPATCH_PROPERTYPUT) != 0;
    case INVOKE_PROPERTYPUTREF:
      return (flags & DISPATCH_PROPERTYPUTREF) != 0;
  }
  return false;
}

bool IsOptional(const ELEMDESC& parameter) {
  return (parameter.paramdesc.wParamFlags & (PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT)) != 0;
}

// Whether `argument` can stand for a parameter of the declared type: a Variant takes anything, a
// text, number or truth value what converts to it, an object only an object or Nothing.
bool Fits(const VARIANT& argument, const TYPEDESC& declared) {
  const VARIANT& value = (argument.vt == (VT_VARIANT | VT_BYREF) && argument.pvarVal != nullptr)
                             ? *argument.pvarVal
                             : argument;
  const VARTYPE given = static_cast<VARTYPE>(value.vt & ~VT_BYREF);
  switch (declared.vt) {
    case VT_VARIANT:
      return true;
    case VT_DISPATCH:
    case VT_UNKNOWN:
    case VT_PTR:
    case VT_USERDEFINED:
      return given == VT_DISPATCH || given == VT_UNKNOWN || given == VT_EMPTY || given == VT_NULL;
    case VT_BSTR:
    case VT_I2:
    case VT_I4:
    case VT_BOOL:
    case VT_DATE:
    case VT_R8: {
      VARIANT converted;
      VariantInit(&converted);
      const HRESULT hr = VariantChangeType(&converted, const_cast<VARIANT*>(&value),
                                           VARIANT_ALPHABOOL, declared.vt);
      VariantClear(&converted);
      return SUCCEEDED(hr);
    }
    default:
      return true;
  }
}

// The one function of `info` that answers `member` called with `flags`; null for none.
class DeclaredFunction {
 public:
  DeclaredFunction(ITypeInfo* info, DISPID member, WORD flags) : info_(info) {
    TYPEATTR* attributes = nullptr;
    if (FAILED(info->GetTypeAttr(&attributes))) return;
    for (UINT i = 0; i < attributes->cFuncs && function_ == nullptr; ++i) {
      FUNCDESC* function = nullptr;
      if (FAILED(info->GetFuncDesc(i, &function))) continue;
      if (function->memid == member && Answers(function->invkind, flags)) {
        function_ = function;
      } else {
        info->ReleaseFuncDesc(function);
      }
    }
    info->ReleaseTypeAttr(attributes);
  }
  DeclaredFunction(const DeclaredFunction&) = delete;
  DeclaredFunction& operator=(const DeclaredFunction&) = delete;
  ~DeclaredFunction() {
    if (function_ != nullptr) info_->ReleaseFuncDesc(function_);
  }
  const FUNCDESC* get() const { return function_; }

 private:
  ITypeInfo* info_;
  FUNCDESC* function_ = nullptr;
};

}  // namespace

HRESULT DispatchObject::CheckDeclared(DISPID member, WORD flags, const DISPPARAMS& params) const {
  ComPtr<ITypeInfo> info;
  if (FAILED(DescribedTypeInfo(info.put()))) return S_OK;
  const DeclaredFunction declared(info.get(), member, flags);
  const FUNCDESC* function = declared.get();
  if (function == nullptr) return DISP_E_MEMBERNOTFOUND;
  // A property's new value is the last parameter of its put; DISPPARAMS holds it first.
  const UINT given = params.cArgs;
  UINT required = 0;
  for (SHORT i = 0; i < function->cParams; ++i) {
    if (!IsOptional(function->lprgelemdescParam[i])) required = static_cast<UINT>(i) + 1;
  }
  if (given < required || given > static_cast<UINT>(function->cParams)) return DISP_E_BADPARAMCOUNT;
  // Arguments by name, other than a put's new value, stand in no order of the declaration's.
  const bool positional =
      params.cNamedArgs == 0 || (params.cNamedArgs == 1 && params.rgdispidNamedArgs != nullptr &&
                                 params.rgdispidNamedArgs[0] == DISPID_PROPERTYPUT);
  if (!positional) return S_OK;
  for (UINT i = 0; i < given; ++i) {
    // rgvarg holds the arguments last first.
    const VARIANT& argument = params.rgvarg[given - 1 - i];
    const ELEMDESC& parameter = function->lprgelemdescParam[i];
    const bool left_out = argument.vt == VT_ERROR && argument.scode == DISP_E_PARAMNOTFOUND;
    if (left_out) {
      if (!IsOptional(parameter)) return DISP_E_PARAMNOTOPTIONAL;
      continue;
    }
    if (!Fits(argument, parameter.tdesc)) return DISP_E_TYPEMISMATCH;
  }
  return S_OK;
}

DispatchObject::DispatchObject(const IID& iid, const IID* events_iid) : Dispatch(&iid), iid_(iid) {
  if (events_iid != nullptr) events_ = new ConnectionPoint(container_, *events_iid);
}

DispatchObject::~DispatchObject() {
  if (events_ != nullptr) {
    events_->Detach();
    events_->Release();
  }
}

bool DispatchObject::Serves(REFIID iid) const { return iid == IID_IDispatch || iid == iid_; }

void* DispatchObject::InterfaceFor(REFIID iid) {
  if (iid == IID_IConnectionPointContainer && events_ != nullptr) {
    return static_cast<IConnectionPointContainer*>(&container_);
  }
  return Dispatch::InterfaceFor(iid);
}

HRESULT DispatchObject::Invoke(DISPID member, REFIID /*iid*/, LCID /*lcid*/, WORD flags,
                               DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                               UINT* /*argument_error*/) {
  static DISPPARAMS no_arguments{};
  const Arguments args(params != nullptr ? *params : no_arguments);
  Result answer(result);
  // Keeps the object alive through a call that drops the caller's last other reference.
  const auto self = ComPtr<DispatchObject>::Share(this);
  if (const HRESULT declared =
          CheckDeclared(member, flags, params != nullptr ? *params : no_arguments);
      FAILED(declared)) {
    return declared;
  }
  try {
    Call(member, flags, args, answer);
    return S_OK;
  } catch (const host::HostError& error) {
    Describe(exception, error.record().number, error.record().description);
  } catch (const DispatchFailure& failure) {
    return failure.code;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& error) {
    Describe(exception, host::kInternalError, error.what());
  }
  return DISP_E_EXCEPTION;
}

void DispatchObject::Fire(DISPID member, std::span<VARIANT> reversed_arguments) {
  // A sink may drop the last reference to the object raising the event; it ends after the event.
  const auto self = ComPtr<DispatchObject>::Share(this);
  if (events_ != nullptr) events_->Fire(member, reversed_arguments);
}

void DispatchObject::Enumerate(DISPID count_member, Result& result) {
  DISPPARAMS none{};
  VARIANT count;
  VariantInit(&count);
  Result count_result(&count);
  Call(count_member, DISPATCH_PROPERTYGET, Arguments(none), count_result);
  std::vector<VARIANT> items;
  try {
    for (LONG position = 1; position <= count.lVal; ++position) {
      VARIANT index;
      VariantInit(&index);
      index.vt = VT_I4;
      index.lVal = position;
      DISPPARAMS one{&index, nullptr, 1, 0};
      VARIANT item;
      VariantInit(&item);
      Result item_result(&item);
      Call(DISPID_VALUE, DISPATCH_PROPERTYGET, Arguments(one), item_result);
      items.push_back(item);
    }
  } catch (...) {
    for (VARIANT& item : items) VariantClear(&item);
    throw;
  }
  result.Unknown(MakeEnumerator(std::move(items)).get());
}

bool DispatchObject::HasSinks() const { return events_ != nullptr && events_->HasSinks(); }

HRESULT DispatchObject::Container::EnumConnectionPoints(IEnumConnectionPoints** /*points*/) {
  return E_NOTIMPL;
}

HRESULT DispatchObject::Container::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (point == nullptr) return E_POINTER;
  *point = nullptr;
  if (outer_.events_ == nullptr || iid != outer_.events_->Interface()) {
    return CONNECT_E_NOCONNECTION;
  }
  *point = outer_.events_;
  (*point)->AddRef();
  return S_OK;
}

}  // namespace lunavant::windows
