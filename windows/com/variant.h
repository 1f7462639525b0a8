// SPDX-License-Identifier: MIT
// Variant: owns a VARIANT and clears it when it goes, so results of late-bound calls cannot leak.
#pragma once

#include <oaidl.h>
#include <oleauto.h>

#include <string>
#include <string_view>

namespace lunavant::com {

class Variant {
 public:
  Variant() { VariantInit(&value_); }
  // Copies what `value` holds (a string is copied, an object gets a reference of its own).
  explicit Variant(const VARIANT& value);
  Variant(const Variant& other) : Variant(other.value_) {}
  Variant(Variant&& other) noexcept;
  Variant& operator=(Variant other) noexcept;
  ~Variant() { VariantClear(&value_); }

  static Variant Text(std::wstring_view text);
  static Variant Long(long number);
  static Variant Boolean(bool flag);
  static Variant Date(double ole_date);
  // Holds a reference of its own to `object`.
  static Variant Object(IDispatch* object);
  // A parameter left out, as a caller of an optional parameter leaves it.
  static Variant Missing();

  const VARIANT& get() const { return value_; }
  VARTYPE type() const { return value_.vt; }
  // For an out-parameter: what was held is cleared first.
  VARIANT* put();

 private:
  VARIANT value_;
};

// The text a value shows as (VariantChangeType to BSTR, the user's locale); empty when it has
// none. An error value shows as an empty text.
std::wstring TextOf(const VARIANT& value);

}  // namespace lunavant::com
