// SPDX-License-Identifier: MIT
// Calling the host's automation objects by member name, as a late-bound Basic client does:
// dispatch IDs looked up once per kind of object and member, arguments by position (a left-out
// optional one passed as DISP_E_PARAMNOTFOUND), property puts with DISPID_PROPERTYPUT. Every
// failure is raised as the error record the add-in's error styles expect: the host's own number
// and description from EXCEPINFO where it gives them, else the Basic runtime's for the HRESULT.
//
//   MemberIds task_ids;
//   AutomationObject task(dispatch, task_ids);
//   std::string finish = TextOf(task.Get(L"GetField", {Variant::Long(field)}));
#pragma once

#include <oaidl.h>

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>

#include "com_ptr.h"
#include "variant.h"

namespace lunavant::winaddin {

using com::ComPtr;
using com::Variant;

// Basic-runtime numbers of automation failures without a description of the host's own.
inline constexpr std::int32_t kNoSuchMember = 438;
inline constexpr std::int32_t kWrongArgumentCount = 450;
inline constexpr std::int32_t kArgumentNotOptional = 449;
inline constexpr std::int32_t kAutomationError = 440;

// The dispatch IDs of one kind of host object (one interface), by member name without regard to
// letter case.
class MemberIds {
 public:
  // Fails with kNoSuchMember when `object` has no such member.
  DISPID Of(IDispatch* object, std::wstring_view member);

 private:
  std::map<std::wstring, DISPID> ids_;
};

// One host object whose members are called by name.
class AutomationObject {
 public:
  AutomationObject(ComPtr<IDispatch> object, MemberIds& ids)
      : object_(std::move(object)), ids_(&ids) {}

  // A method call or a property read, as `object.member(args)` in Basic.
  Variant Get(std::wstring_view member, std::initializer_list<Variant> args = {}) const;
  void Put(std::wstring_view member, const Variant& value) const;
  // Sets an object property by reference (`Set object.member = value`).
  void PutRef(std::wstring_view member, IDispatch* value) const;

  IDispatch* get() const { return object_.get(); }
  const ComPtr<IDispatch>& object() const { return object_; }

 private:
  Variant Invoke(std::wstring_view member, WORD flags, std::initializer_list<Variant> args,
                 const Variant* value) const;

  ComPtr<IDispatch> object_;
  MemberIds* ids_;
};

// Raises the error record of a failed call of `member`.
[[noreturn]] void RaiseCallFailure(HRESULT hr, EXCEPINFO* exception, std::wstring_view member);
// The Basic runtime's number and description for an HRESULT that came without EXCEPINFO.
std::int32_t ErrorNumberOf(HRESULT hr);

// The object a call returned; null for Nothing (or Empty). Fails with kTypeMismatch when it is
// something else. Both VT_DISPATCH and VT_UNKNOWN count as objects.
ComPtr<IDispatch> ObjectOf(const Variant& value);
// Conversions as Basic makes them; each fails with kTypeMismatch when the value has none.
std::string TextOf(const Variant& value);
std::int32_t LongOf(const Variant& value);
bool BoolOf(const Variant& value);

// The identity of a COM object (its IUnknown), by which two references are told the same.
IUnknown* IdentityOf(IDispatch* object);

}  // namespace lunavant::winaddin
