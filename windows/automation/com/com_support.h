// SPDX-License-Identifier: MIT
// What the automation objects share: BSTRs, dates, the arguments of an
// IDispatch::Invoke call read by position or by name, and the failures a call can end in.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "addin/host/value.h"
#include "windows/com/com_ptr.h"

namespace lunavant::windows {

using com::ComPtr;

// A BSTR's text in UTF-8; empty for none.
std::string Utf8Of(BSTR text);
// A new BSTR the receiver frees; throws std::bad_alloc when there is no memory.
BSTR BstrOf(std::string_view utf8);

// OLE automation dates count days from 30 December 1899; the workbench counts minutes from 1970.
double OleDateOfMinutes(std::int64_t minutes_since_1970);
std::int64_t MinutesOfOleDate(double ole_date);

// A failure of the dispatch protocol itself (a missing argument, a member without that kind of
// access), answered with its HRESULT rather than as an exception of the host.
struct DispatchFailure {
  HRESULT code;
};

// The arguments of one Invoke. Position 0 is the member's first parameter, whichever way it was
// passed: rgvarg holds positional arguments last to first, and a named argument's dispatch ID is
// its position (as ITypeInfo::GetIDsOfNames gives parameter names). A property put's value is
// the named argument DISPID_PROPERTYPUT.
class Arguments {
 public:
  explicit Arguments(const DISPPARAMS& params) : params_(params) {}

  // Null when the caller left the parameter out (also VT_ERROR DISP_E_PARAMNOTFOUND, VT_EMPTY).
  const VARIANT* Find(int position) const;
  const VARIANT& Required(int position) const;
  const VARIANT& PutValue() const;
  std::size_t PositionalCount() const { return params_.cArgs - params_.cNamedArgs; }

  // Converted as Basic converts them; a value that does not convert fails with kTypeMismatch.
  std::string Text(int position) const { return TextOf(Required(position)); }
  std::int32_t Long(int position) const { return LongOf(Required(position)); }
  bool Bool(int position) const { return BoolOf(Required(position)); }
  std::optional<std::string> OptionalText(int position) const;
  std::optional<std::int32_t> OptionalLong(int position) const;
  std::optional<bool> OptionalBool(int position) const;

  // Whether a value is text, also when passed by reference (as Basic passes variables).
  static bool IsText(const VARIANT& value);
  static std::string TextOf(const VARIANT& value);
  static std::int32_t LongOf(const VARIANT& value);
  static bool BoolOf(const VARIANT& value);
  static double DoubleOf(const VARIANT& value);
  // An OLE automation date.
  static double DateOf(const VARIANT& value);
  // The object a value refers to, through one level of reference; null for Nothing.
  static IDispatch* ObjectOf(const VARIANT& value);

 private:
  const DISPPARAMS& params_;
};

// Where Invoke writes its answer; each setter leaves the VARIANT owning what it holds.
class Result {
 public:
  explicit Result(VARIANT* target) : target_(target) {}
  void Text(std::string_view utf8);
  void Long(std::int32_t value);
  void Short(std::int16_t value);
  void Bool(bool value);
  void Double(double value);
  void Date(double ole_date);
  // Takes a reference of its own; null writes Nothing.
  void Object(IDispatch* object);
  // Takes a reference of its own.
  void Unknown(IUnknown* object);
  void Value(const VARIANT& value);

 private:
  VARIANT* Prepared();
  VARIANT* target_;
};

// A host value as an event argument (text, number, date, or empty).
void VariantOfHostValue(const host::Value& value, VARIANT& out);

}  // namespace lunavant::windows
