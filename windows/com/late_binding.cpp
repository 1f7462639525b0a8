// SPDX-License-Identifier: MIT
#include "late_binding.h"

#include <string>
#include <vector>

#include "text.h"

namespace lunavant::com {
namespace {

std::string Quoted(std::wstring_view member) { return "'" + Narrow(member) + "'"; }

DISPID IdOf(IDispatch* object, std::wstring_view member) {
  std::wstring name(member);
  LPOLESTR names[] = {name.data()};
  DISPID id = DISPID_UNKNOWN;
  const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) {
    throw ComError(hr, Quoted(member) + " is not a member of this object: " + DescribeHresult(hr));
  }
  return id;
}

Variant Invoke(IDispatch* object, std::wstring_view member, WORD flags,
               std::span<const Variant> args, const Variant* value_to_put) {
  if (object == nullptr) throw ComError(E_POINTER, Quoted(member) + " called on no object");
  const DISPID id = IdOf(object, member);

  InvokeArguments params(args, value_to_put);
  Variant result;
  EXCEPINFO exception{};
  UINT bad_argument = 0;
  const HRESULT hr =
      object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params.get(),
                     value_to_put != nullptr ? nullptr : result.put(), &exception, &bad_argument);
  if (FAILED(hr)) {
    std::string message = Quoted(member) + " failed: " + DescribeInvokeFailure(hr, &exception);
    if (hr == DISP_E_TYPEMISMATCH || hr == DISP_E_PARAMNOTFOUND) {
      // puArgErr counts from the end, as rgvarg does.
      message += " (argument " + std::to_string(params.get()->cArgs - bad_argument) + ")";
    }
    throw ComError(hr, message);
  }
  return result;
}

}  // namespace

InvokeArguments::InvokeArguments(std::span<const Variant> args, const Variant* value_to_put) {
  reversed_.reserve(args.size() + 1);
  if (value_to_put != nullptr) reversed_.push_back(value_to_put->get());
  for (auto it = args.rbegin(); it != args.rend(); ++it) reversed_.push_back(it->get());
  params_.rgvarg = reversed_.empty() ? nullptr : reversed_.data();
  params_.cArgs = static_cast<UINT>(reversed_.size());
  if (value_to_put != nullptr) {
    params_.rgdispidNamedArgs = &put_id_;
    params_.cNamedArgs = 1;
  }
}

Variant Call(IDispatch* object, std::wstring_view member, std::span<const Variant> args) {
  return Invoke(object, member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, nullptr);
}

Variant Call(IDispatch* object, std::wstring_view member, std::initializer_list<Variant> args) {
  return Call(object, member, std::span<const Variant>(args.begin(), args.size()));
}

void Put(IDispatch* object, std::wstring_view member, const Variant& value,
         std::span<const Variant> args) {
  Invoke(object, member, DISPATCH_PROPERTYPUT, args, &value);
}

ComPtr<IDispatch> ObjectOf(const Variant& value, std::wstring_view what) {
  const VARIANT& v = value.get();
  if (v.vt == VT_DISPATCH && v.pdispVal != nullptr) return ComPtr<IDispatch>::Share(v.pdispVal);
  if (v.vt == VT_UNKNOWN && v.punkVal != nullptr) {
    ComPtr<IDispatch> object;
    if (SUCCEEDED(v.punkVal->QueryInterface(IID_IDispatch, object.put_void()))) return object;
  }
  throw ComError(E_UNEXPECTED, Quoted(what) + " returned no object");
}

std::string DescribeInvokeFailure(HRESULT code, EXCEPINFO* exception) {
  std::string message = DescribeHresult(code);
  if (code != DISP_E_EXCEPTION || exception == nullptr) return message;
  if (exception->pfnDeferredFillIn != nullptr) exception->pfnDeferredFillIn(exception);
  if (exception->bstrDescription != nullptr) {
    message += ": " + Narrow(exception->bstrDescription);
  }
  std::string origin;
  if (exception->bstrSource != nullptr && *exception->bstrSource != L'\0') {
    origin = "source " + Narrow(exception->bstrSource) + ", ";
  }
  if (exception->wCode != 0) {
    origin += "error " + std::to_string(exception->wCode);
  } else {
    origin += "error " + DescribeHresult(exception->scode);
  }
  message += " [" + origin + "]";
  SysFreeString(exception->bstrSource);
  SysFreeString(exception->bstrDescription);
  SysFreeString(exception->bstrHelpFile);
  *exception = EXCEPINFO{};
  return message;
}

}  // namespace lunavant::com
