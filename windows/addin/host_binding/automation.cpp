// SPDX-License-Identifier: MIT
#include "host_binding/automation.h"

#include <oleauto.h>

#include <cwctype>
#include <span>
#include <vector>

#include "addin/host/error.h"
#include "late_binding.h"
#include "text.h"

namespace lunavant::winaddin {
namespace {

struct BasicError {
  std::int32_t number;
  const char* description;
};

// How a Basic client reports an HRESULT that came without the host's own description.
BasicError BasicErrorOf(HRESULT hr) {
  switch (hr) {
    case DISP_E_UNKNOWNNAME:
    case DISP_E_MEMBERNOTFOUND:
      return {kNoSuchMember, "Object doesn't support this property or method"};
    case DISP_E_TYPEMISMATCH:
    case DISP_E_BADVARTYPE:
      return {host::kTypeMismatch, "Type mismatch"};
    case DISP_E_OVERFLOW:
      return {host::kOverflow, "Overflow"};
    case DISP_E_BADINDEX:
      return {host::kSubscriptOutOfRange, "Subscript out of range"};
    case DISP_E_BADPARAMCOUNT:
      return {kWrongArgumentCount, "Wrong number of arguments or invalid property assignment"};
    case DISP_E_PARAMNOTOPTIONAL:
      return {kArgumentNotOptional, "Argument not optional"};
    case E_OUTOFMEMORY:
      return {host::kOutOfMemory, "Out of memory"};
    case E_INVALIDARG:
      return {host::kInvalidProcedureCall, "Invalid procedure call or argument"};
    default:
      return {0, nullptr};
  }
}

std::wstring Lowered(std::wstring_view text) {
  std::wstring lowered(text);
  for (wchar_t& c : lowered) c = static_cast<wchar_t>(std::towlower(c));
  return lowered;
}

}  // namespace

std::int32_t ErrorNumberOf(HRESULT hr) {
  const BasicError known = BasicErrorOf(hr);
  if (known.number != 0) return known.number;
  // Errors a Basic host raises travel as FACILITY_CONTROL codes whose low word is the number.
  if (HRESULT_FACILITY(hr) == FACILITY_CONTROL) return static_cast<std::int32_t>(HRESULT_CODE(hr));
  return static_cast<std::int32_t>(hr);
}

void RaiseCallFailure(HRESULT hr, EXCEPINFO* exception, std::wstring_view member) {
  std::int32_t number = 0;
  std::string description;
  if (hr == DISP_E_EXCEPTION && exception != nullptr) {
    if (exception->pfnDeferredFillIn != nullptr) exception->pfnDeferredFillIn(exception);
    if (exception->wCode != 0) {
      number = exception->wCode;
    } else if (FAILED(exception->scode)) {
      number = ErrorNumberOf(exception->scode);
    }
    if (exception->bstrDescription != nullptr) {
      description = com::Narrow(
          std::wstring_view(exception->bstrDescription, SysStringLen(exception->bstrDescription)));
    }
    SysFreeString(exception->bstrSource);
    SysFreeString(exception->bstrDescription);
    SysFreeString(exception->bstrHelpFile);
    *exception = EXCEPINFO{};
  }
  if (number == 0) number = ErrorNumberOf(hr);
  if (number == 0) number = kAutomationError;
  if (description.empty()) {
    const BasicError known = BasicErrorOf(hr);
    description = known.description != nullptr ? known.description
                                               : "Automation error: " + com::Narrow(member) +
                                                     " failed with " + com::DescribeHresult(hr);
  }
  host::Raise(number, std::move(description));
}

DISPID MemberIds::Of(IDispatch* object, std::wstring_view member) {
  std::wstring key = Lowered(member);
  if (const auto found = ids_.find(key); found != ids_.end()) return found->second;
  std::wstring name(member);
  LPOLESTR names[] = {name.data()};
  DISPID id = DISPID_UNKNOWN;
  const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) RaiseCallFailure(hr == E_NOTIMPL ? DISP_E_UNKNOWNNAME : hr, nullptr, member);
  ids_.emplace(std::move(key), id);
  return id;
}

Variant AutomationObject::Invoke(std::wstring_view member, WORD flags,
                                 std::initializer_list<Variant> args, const Variant* value) const {
  if (!object_) host::Raise(host::kObjectRequired, "Object required");
  const DISPID id = ids_->Of(object_.get(), member);
  com::InvokeArguments params(std::span<const Variant>(args.begin(), args.size()), value);
  Variant result;
  EXCEPINFO exception{};
  UINT bad_argument = 0;
  // The object may drop the caller's last reference to itself while it runs.
  const ComPtr<IDispatch> keep = object_;
  const HRESULT hr =
      keep->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params.get(),
                   value != nullptr ? nullptr : result.put(), &exception, &bad_argument);
  if (FAILED(hr)) RaiseCallFailure(hr, &exception, member);
  return result;
}

Variant AutomationObject::Get(std::wstring_view member, std::initializer_list<Variant> args) const {
  return Invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, nullptr);
}

void AutomationObject::Put(std::wstring_view member, const Variant& value) const {
  Invoke(member, DISPATCH_PROPERTYPUT, {}, &value);
}

void AutomationObject::PutRef(std::wstring_view member, IDispatch* value) const {
  const Variant object = Variant::Object(value);
  Invoke(member, DISPATCH_PROPERTYPUTREF, {}, &object);
}

ComPtr<IDispatch> ObjectOf(const Variant& value) {
  const VARIANT& v = value.get();
  const VARIANT& held = (v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal != nullptr) ? *v.pvarVal : v;
  switch (held.vt) {
    case VT_EMPTY:
    case VT_NULL:
      return {};
    case VT_DISPATCH:
      return ComPtr<IDispatch>::Share(held.pdispVal);
    case VT_UNKNOWN: {
      ComPtr<IDispatch> object;
      if (held.punkVal == nullptr) return object;
      if (FAILED(held.punkVal->QueryInterface(IID_IDispatch, object.put_void()))) {
        host::Raise(host::kTypeMismatch, "Type mismatch");
      }
      return object;
    }
    case VT_DISPATCH | VT_BYREF:
      return held.ppdispVal != nullptr ? ComPtr<IDispatch>::Share(*held.ppdispVal)
                                       : ComPtr<IDispatch>();
    default:
      host::Raise(host::kTypeMismatch, "Type mismatch");
  }
}

namespace {

Variant Converted(const Variant& value, VARTYPE type) {
  Variant converted;
  const HRESULT hr = VariantChangeType(converted.put(), const_cast<VARIANT*>(&value.get()),
                                       VARIANT_ALPHABOOL, type);
  if (FAILED(hr)) RaiseCallFailure(hr, nullptr, L"conversion");
  return converted;
}

}  // namespace

std::string TextOf(const Variant& value) {
  const VARIANT& v = value.get();
  if (v.vt == VT_BSTR) {
    return v.bstrVal == nullptr
               ? std::string()
               : com::Narrow(std::wstring_view(v.bstrVal, SysStringLen(v.bstrVal)));
  }
  if (v.vt == VT_EMPTY) return {};
  const Variant text = Converted(value, VT_BSTR);
  const BSTR bstr = text.get().bstrVal;
  return bstr == nullptr ? std::string() : com::Narrow(std::wstring_view(bstr, SysStringLen(bstr)));
}

std::int32_t LongOf(const Variant& value) {
  const VARIANT& v = value.get();
  if (v.vt == VT_I4) return static_cast<std::int32_t>(v.lVal);
  return static_cast<std::int32_t>(Converted(value, VT_I4).get().lVal);
}

bool BoolOf(const Variant& value) {
  const VARIANT& v = value.get();
  if (v.vt == VT_BOOL) return v.boolVal != VARIANT_FALSE;
  return Converted(value, VT_BOOL).get().boolVal != VARIANT_FALSE;
}

IUnknown* IdentityOf(IDispatch* object) {
  if (object == nullptr) return nullptr;
  IUnknown* identity = nullptr;
  if (FAILED(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)))) {
    return object;
  }
  // Only compared, never called: the caller holds a reference to the object itself.
  identity->Release();
  return identity;
}

}  // namespace lunavant::winaddin
