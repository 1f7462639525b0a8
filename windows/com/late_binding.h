// SPDX-License-Identifier: MIT
// Late binding: calling an automation object's members by name (GetIDsOfNames, then Invoke), as
// a script or a VBA macro does. Failures become ComError with the member's name, the HRESULT
// and what the object put in EXCEPINFO.
//   Variant project = Call(application, L"ActiveProject");
//   Put(ObjectOf(task, L"Tasks.Item"), L"Name", Variant::Text(L"Design"));
#pragma once

#include <oaidl.h>

#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "com_ptr.h"
#include "variant.h"

namespace lunavant::com {

class ComError : public std::runtime_error {
 public:
  ComError(HRESULT code, const std::string& message) : std::runtime_error(message), code_(code) {}
  HRESULT code() const { return code_; }

 private:
  HRESULT code_;
};

// Calls `member` as a method or reads it as a property (as a script's `object.member(args)`
// does), with `args` in the order the member declares them. Throws ComError.
Variant Call(IDispatch* object, std::wstring_view member, std::span<const Variant> args = {});
Variant Call(IDispatch* object, std::wstring_view member, std::initializer_list<Variant> args);

// Sets property `member` (with index arguments `args`, if any) to `value`. Throws ComError.
void Put(IDispatch* object, std::wstring_view member, const Variant& value,
         std::span<const Variant> args = {});

// The DISPPARAMS of one Invoke: `args` in the order the member declares them, which DISPPARAMS
// holds last first, and a property's new value (`value_to_put`, null for none) before them all,
// named DISPID_PROPERTYPUT. The entries share what the Variants own: Invoke reads [in] arguments
// and frees none.
class InvokeArguments {
 public:
  InvokeArguments(std::span<const Variant> args, const Variant* value_to_put);
  InvokeArguments(const InvokeArguments&) = delete;
  InvokeArguments& operator=(const InvokeArguments&) = delete;

  DISPPARAMS* get() { return &params_; }

 private:
  std::vector<VARIANT> reversed_;
  DISPID put_id_ = DISPID_PROPERTYPUT;
  DISPPARAMS params_{};
};

// The object that a call returned; throws ComError naming `what` if it returned something else
// or nothing.
ComPtr<IDispatch> ObjectOf(const Variant& value, std::wstring_view what);

// The message of a failed Invoke: the code, its system text, and EXCEPINFO's source,
// description and error number when the object filled it.
std::string DescribeInvokeFailure(HRESULT code, EXCEPINFO* exception);

}  // namespace lunavant::com
