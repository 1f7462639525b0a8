// SPDX-License-Identifier: MIT
#include "variant.h"

#include <utility>

namespace lunavant::com {

Variant::Variant(const VARIANT& value) {
  VariantInit(&value_);
  VariantCopy(&value_, const_cast<VARIANT*>(&value));
}

Variant::Variant(Variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }

Variant& Variant::operator=(Variant other) noexcept {
  std::swap(value_, other.value_);
  return *this;
}

VARIANT* Variant::put() {
  VariantClear(&value_);
  return &value_;
}

Variant Variant::Text(std::wstring_view text) {
  Variant result;
  result.value_.vt = VT_BSTR;
  result.value_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return result;
}

Variant Variant::Long(long number) {
  Variant result;
  result.value_.vt = VT_I4;
  result.value_.lVal = number;
  return result;
}

Variant Variant::Boolean(bool value) {
  Variant result;
  result.value_.vt = VT_BOOL;
  result.value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return result;
}

Variant Variant::Date(double ole_date) {
  Variant result;
  result.value_.vt = VT_DATE;
  result.value_.date = ole_date;
  return result;
}

Variant Variant::Object(IDispatch* object) {
  Variant result;
  result.value_.vt = VT_DISPATCH;
  result.value_.pdispVal = object;
  if (object != nullptr) object->AddRef();
  return result;
}

Variant Variant::Missing() {
  Variant result;
  result.value_.vt = VT_ERROR;
  result.value_.scode = DISP_E_PARAMNOTFOUND;
  return result;
}

std::wstring TextOf(const VARIANT& value) {
  if (value.vt == VT_BSTR) {
    return value.bstrVal != nullptr ? std::wstring(value.bstrVal, SysStringLen(value.bstrVal))
                                    : std::wstring();
  }
  if (value.vt == VT_ERROR) return {};
  VARIANT text;
  VariantInit(&text);
  std::wstring result;
  if (SUCCEEDED(
          VariantChangeType(&text, const_cast<VARIANT*>(&value), VARIANT_ALPHABOOL, VT_BSTR)) &&
      text.bstrVal != nullptr) {
    result.assign(text.bstrVal, SysStringLen(text.bstrVal));
  }
  VariantClear(&text);
  return result;
}

}  // namespace lunavant::com
