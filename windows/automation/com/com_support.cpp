// SPDX-License-Identifier: MIT
#include "windows/automation/com/com_support.h"

#include <cmath>
#include <new>

#include "addin/host/error.h"
#include "windows/com/text.h"

namespace lunavant::windows {
namespace {

constexpr double kOleDateOf1970 = 25569.0;
constexpr double kMinutesPerDay = 24.0 * 60.0;

bool IsMissing(const VARIANT& value) {
  return value.vt == VT_EMPTY || (value.vt == VT_ERROR && value.scode == DISP_E_PARAMNOTFOUND);
}

// The value converted to `type` in a variant of its own; kTypeMismatch when it does not convert.
class Converted {
 public:
  Converted(const VARIANT& given, VARTYPE type) {
    // A Variant variable passed by reference holds the value one level down.
    const VARIANT& value =
        given.vt == (VT_VARIANT | VT_BYREF) && given.pvarVal != nullptr ? *given.pvarVal : given;
    VariantInit(&value_);
    const HRESULT hr =
        VariantChangeType(&value_, const_cast<VARIANT*>(&value), VARIANT_ALPHABOOL, type);
    if (hr == E_OUTOFMEMORY) throw std::bad_alloc();
    if (FAILED(hr)) host::Raise(host::kTypeMismatch, "Type mismatch");
  }
  Converted(const Converted&) = delete;
  Converted& operator=(const Converted&) = delete;
  ~Converted() { VariantClear(&value_); }
  const VARIANT& get() const { return value_; }

 private:
  VARIANT value_;
};

}  // namespace

std::string Utf8Of(BSTR text) {
  return text == nullptr ? std::string() : com::Narrow(std::wstring_view(text, SysStringLen(text)));
}

BSTR BstrOf(std::string_view utf8) {
  const std::wstring wide = com::Widen(utf8);
  BSTR text = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  if (text == nullptr) throw std::bad_alloc();
  return text;
}

double OleDateOfMinutes(std::int64_t minutes_since_1970) {
  return kOleDateOf1970 + static_cast<double>(minutes_since_1970) / kMinutesPerDay;
}

std::int64_t MinutesOfOleDate(double ole_date) {
  // Before 1900 the fraction counts forward from a negative day; the host's dates never go there.
  return std::llround((ole_date - kOleDateOf1970) * kMinutesPerDay);
}

const VARIANT* Arguments::Find(int position) const {
  if (position < 0) return nullptr;
  for (UINT i = 0; i < params_.cNamedArgs; ++i) {
    if (params_.rgdispidNamedArgs[i] == position) {
      return IsMissing(params_.rgvarg[i]) ? nullptr : &params_.rgvarg[i];
    }
  }
  const std::size_t positional = PositionalCount();
  if (static_cast<std::size_t>(position) >= positional) return nullptr;
  const VARIANT& value = params_.rgvarg[params_.cArgs - 1 - static_cast<UINT>(position)];
  return IsMissing(value) ? nullptr : &value;
}

const VARIANT& Arguments::Required(int position) const {
  const VARIANT* value = Find(position);
  if (value == nullptr) throw DispatchFailure{DISP_E_PARAMNOTFOUND};
  return *value;
}

const VARIANT& Arguments::PutValue() const {
  for (UINT i = 0; i < params_.cNamedArgs; ++i) {
    if (params_.rgdispidNamedArgs[i] == DISPID_PROPERTYPUT) return params_.rgvarg[i];
  }
  throw DispatchFailure{DISP_E_PARAMNOTFOUND};
}

std::optional<std::string> Arguments::OptionalText(int position) const {
  const VARIANT* value = Find(position);
  return value == nullptr ? std::nullopt : std::optional(TextOf(*value));
}

std::optional<std::int32_t> Arguments::OptionalLong(int position) const {
  const VARIANT* value = Find(position);
  return value == nullptr ? std::nullopt : std::optional(LongOf(*value));
}

std::optional<bool> Arguments::OptionalBool(int position) const {
  const VARIANT* value = Find(position);
  return value == nullptr ? std::nullopt : std::optional(BoolOf(*value));
}

bool Arguments::IsText(const VARIANT& value) {
  if (value.vt == (VT_VARIANT | VT_BYREF))
    return value.pvarVal != nullptr && IsText(*value.pvarVal);
  return (value.vt & ~VT_BYREF) == VT_BSTR;
}

std::string Arguments::TextOf(const VARIANT& value) {
  const Converted text(value, VT_BSTR);
  return Utf8Of(text.get().bstrVal);
}

std::int32_t Arguments::LongOf(const VARIANT& value) {
  const Converted number(value, VT_I4);
  return number.get().lVal;
}

bool Arguments::BoolOf(const VARIANT& value) {
  const Converted flag(value, VT_BOOL);
  return flag.get().boolVal != VARIANT_FALSE;
}

double Arguments::DoubleOf(const VARIANT& value) {
  const Converted number(value, VT_R8);
  return number.get().dblVal;
}

double Arguments::DateOf(const VARIANT& value) {
  const Converted date(value, VT_DATE);
  return date.get().date;
}

IDispatch* Arguments::ObjectOf(const VARIANT& value) {
  switch (value.vt) {
    case VT_DISPATCH:
      return value.pdispVal;
    case VT_DISPATCH | VT_BYREF:
      return value.ppdispVal != nullptr ? *value.ppdispVal : nullptr;
    case VT_VARIANT | VT_BYREF:
      if (value.pvarVal != nullptr) return ObjectOf(*value.pvarVal);
      return nullptr;
    case VT_UNKNOWN:
    case VT_UNKNOWN | VT_BYREF: {
      IUnknown* unknown =
          value.vt == VT_UNKNOWN ? value.punkVal : (value.ppunkVal ? *value.ppunkVal : nullptr);
      if (unknown == nullptr) return nullptr;
      IDispatch* object = nullptr;
      if (FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object)))) {
        host::Raise(host::kTypeMismatch, "Type mismatch");
      }
      object->Release();  // the caller's reference keeps it alive for the call
      return object;
    }
    default:
      host::Raise(host::kObjectRequired, "Object required");
  }
}

VARIANT* Result::Prepared() {
  if (target_ != nullptr) VariantClear(target_);
  return target_;
}

void Result::Text(std::string_view utf8) {
  if (VARIANT* out = Prepared()) {
    out->bstrVal = BstrOf(utf8);
    out->vt = VT_BSTR;
  }
}

void Result::Long(std::int32_t value) {
  if (VARIANT* out = Prepared()) {
    out->vt = VT_I4;
    out->lVal = value;
  }
}

void Result::Short(std::int16_t value) {
  if (VARIANT* out = Prepared()) {
    out->vt = VT_I2;
    out->iVal = value;
  }
}

void Result::Bool(bool value) {
  if (VARIANT* out = Prepared()) {
    out->vt = VT_BOOL;
    out->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  }
}

void Result::Double(double value) {
  if (VARIANT* out = Prepared()) {
    out->vt = VT_R8;
    out->dblVal = value;
  }
}

void Result::Date(double ole_date) {
  if (VARIANT* out = Prepared()) {
    out->vt = VT_DATE;
    out->date = ole_date;
  }
}

void Result::Object(IDispatch* object) {
  if (VARIANT* out = Prepared()) {
    if (object != nullptr) object->AddRef();
    out->vt = VT_DISPATCH;
    out->pdispVal = object;
  }
}

void Result::Unknown(IUnknown* object) {
  if (VARIANT* out = Prepared()) {
    if (object != nullptr) object->AddRef();
    out->vt = VT_UNKNOWN;
    out->punkVal = object;
  }
}

void Result::Value(const VARIANT& value) {
  if (VARIANT* out = Prepared()) {
    const HRESULT hr = VariantCopy(out, const_cast<VARIANT*>(&value));
    if (FAILED(hr)) throw std::bad_alloc();
  }
}

void VariantOfHostValue(const host::Value& value, VARIANT& out) {
  VariantInit(&out);
  if (value.IsText()) {
    out.bstrVal = BstrOf(value.Text());
    out.vt = VT_BSTR;
  } else if (value.IsNumber()) {
    out.vt = VT_R8;
    out.dblVal = value.Number();
  } else if (value.IsDateTime()) {
    const host::DateTime& when = value.When();
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(when.year);
    time.wMonth = static_cast<WORD>(when.month);
    time.wDay = static_cast<WORD>(when.day);
    time.wHour = static_cast<WORD>(when.hour);
    time.wMinute = static_cast<WORD>(when.minute);
    time.wSecond = static_cast<WORD>(when.second);
    double date = 0;
    if (SystemTimeToVariantTime(&time, &date)) {
      out.vt = VT_DATE;
      out.date = date;
    }
  }
}

}  // namespace lunavant::windows
