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

namespace {

// A new value of `type`, which `fill` completes.
template <typename Fill>
Variant Made(VARTYPE type, Fill fill) {
  Variant result;
  VARIANT* value = result.put();
  value->vt = type;
  fill(*value);
  return result;
}

}  // namespace

Variant Variant::Text(std::wstring_view text) {
  return Made(VT_BSTR, [&](VARIANT& value) {
    value.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  });
}

Variant Variant::Long(long number) {
  return Made(VT_I4, [&](VARIANT& value) { value.lVal = number; });
}

Variant Variant::Boolean(bool flag) {
  return Made(VT_BOOL,
              [&](VARIANT& value) { value.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE; });
}

Variant Variant::Date(double ole_date) {
  return Made(VT_DATE, [&](VARIANT& value) { value.date = ole_date; });
}

Variant Variant::Object(IDispatch* object) {
  return Made(VT_DISPATCH, [&](VARIANT& value) {
    value.pdispVal = object;
    if (object != nullptr) object->AddRef();
  });
}

Variant Variant::Missing() {
  return Made(VT_ERROR, [](VARIANT& value) { value.scode = DISP_E_PARAMNOTFOUND; });
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
