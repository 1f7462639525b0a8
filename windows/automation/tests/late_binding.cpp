// SPDX-License-Identifier: MIT
#include "windows/automation/tests/late_binding.h"

#include <ocidl.h>

#include <cstdio>
#include <utility>

namespace lunavant::windows::testing {
namespace {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
  return wide;
}

Variant Converted(const VARIANT& value, VARTYPE type) {
  Variant result;
  const HRESULT hr = VariantChangeType(&result.get(), const_cast<VARIANT*>(&value), 0, type);
  if (FAILED(hr)) throw CallFailed(hr, 0, "conversion");
  return result;
}

}  // namespace

std::string Utf8(const wchar_t* text) {
  if (text == nullptr || *text == L'\0') return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
  utf8.resize(static_cast<std::size_t>(size - 1));
  return utf8;
}

bool SameObject(IDispatch* a, IDispatch* b) {
  if (a == nullptr || b == nullptr) return a == b;
  ComPtr<IUnknown> first;
  ComPtr<IUnknown> second;
  a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(first.put()));
  b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(second.put()));
  return first.get() == second.get();
}

Variant::Variant(const VARIANT& value) {
  VariantInit(&value_);
  VariantCopy(&value_, const_cast<VARIANT*>(&value));
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    VariantClear(&value_);
    VariantCopy(&value_, const_cast<VARIANT*>(&other.value_));
  }
  return *this;
}

std::string Variant::AsText() const {
  const Variant text = Converted(value_, VT_BSTR);
  return text.get().bstrVal == nullptr ? std::string() : Utf8(text.get().bstrVal);
}

std::int32_t Variant::AsLong() const { return Converted(value_, VT_I4).get().lVal; }
bool Variant::AsBool() const { return Converted(value_, VT_BOOL).get().boolVal != VARIANT_FALSE; }
double Variant::AsDate() const { return Converted(value_, VT_DATE).get().date; }

IDispatch* Variant::AsObject() const {
  if (value_.vt == VT_DISPATCH) return value_.pdispVal;
  if (value_.vt == VT_EMPTY) return nullptr;
  throw CallFailed(DISP_E_TYPEMISMATCH, 0, "not an object");
}

Variant Text(const std::string& utf8) {
  Variant value;
  const std::wstring wide = Wide(utf8);
  value.get().vt = VT_BSTR;
  value.get().bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
  return value;
}

Variant Long(std::int32_t number) {
  Variant value;
  value.get().vt = VT_I4;
  value.get().lVal = number;
  return value;
}

Variant Bool(bool flag) {
  Variant value;
  value.get().vt = VT_BOOL;
  value.get().boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
  return value;
}

Variant Date(double ole_date) {
  Variant value;
  value.get().vt = VT_DATE;
  value.get().date = ole_date;
  return value;
}

Variant ObjectValue(IDispatch* object) {
  Variant value;
  value.get().vt = VT_DISPATCH;
  value.get().pdispVal = object;
  if (object != nullptr) object->AddRef();
  return value;
}

CallFailed::CallFailed(HRESULT hr, std::int32_t code, std::string text)
    : std::runtime_error(text), result(hr), scode(code), description(std::move(text)) {}

Object Object::Create(const wchar_t* progid) {
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(progid, &clsid);
  if (FAILED(hr)) throw CallFailed(hr, 0, "CLSIDFromProgID");
  ComPtr<IDispatch> object;
  hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                        reinterpret_cast<void**>(object.put()));
  if (FAILED(hr)) throw CallFailed(hr, 0, "CoCreateInstance");
  return Object(std::move(object));
}

DISPID Object::IdOf(const std::string& name) const {
  if (!object_) throw CallFailed(E_POINTER, 0, "call on Nothing: " + name);
  std::wstring wide = Wide(name);
  LPOLESTR names[] = {wide.data()};
  DISPID id = DISPID_UNKNOWN;
  const HRESULT hr = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) throw CallFailed(hr, 0, "GetIDsOfNames " + name);
  return id;
}

Variant Object::Invoke(const std::string& name, WORD flags, std::vector<Variant>& args,
                       bool put) const {
  const DISPID id = IdOf(name);
  std::vector<VARIANT> reversed;
  for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(it->get());
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), put ? &named : nullptr, static_cast<UINT>(reversed.size()),
                    put ? 1u : 0u};
  Variant result;
  EXCEPINFO exception{};
  UINT argument_error = 0;
  const HRESULT hr = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                     put ? nullptr : &result.get(), &exception, &argument_error);
  if (FAILED(hr)) {
    const std::string description = Utf8(exception.bstrDescription);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrHelpFile);
    throw CallFailed(hr, hr == DISP_E_EXCEPTION ? exception.scode : 0, name + ": " + description);
  }
  return result;
}

Variant Object::Call(const std::string& name, std::vector<Variant> args) const {
  return Invoke(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, false);
}

Object Object::Get(const std::string& name, std::vector<Variant> args) const {
  const Variant value = Invoke(name, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args, false);
  return Object(ComPtr<IDispatch>::Share(value.AsObject()));
}

void Object::Put(const std::string& name, const Variant& value) const {
  std::vector<Variant> args = {value};
  Invoke(name, DISPATCH_PROPERTYPUT, args, true);
}

void Object::PutRef(const std::string& name, const Variant& value) const {
  std::vector<Variant> args = {value};
  Invoke(name, DISPATCH_PROPERTYPUTREF, args, true);
}

std::vector<Variant> Object::Items() const {
  std::vector<Variant> no_args;
  const Variant unknown = Invoke("_NewEnum", DISPATCH_PROPERTYGET, no_args, false);
  if (unknown.get().vt != VT_UNKNOWN || unknown.get().punkVal == nullptr) {
    throw CallFailed(DISP_E_TYPEMISMATCH, 0, "_NewEnum gave no enumerator");
  }
  ComPtr<IEnumVARIANT> items;
  const HRESULT hr = unknown.get().punkVal->QueryInterface(IID_IEnumVARIANT,
                                                           reinterpret_cast<void**>(items.put()));
  if (FAILED(hr)) throw CallFailed(hr, 0, "no IEnumVARIANT");
  std::vector<Variant> result;
  for (;;) {
    Variant item;
    ULONG fetched = 0;
    if (items->Next(1, &item.get(), &fetched) != S_OK || fetched != 1) break;
    result.push_back(item);
  }
  return result;
}

void Sink::Advise(const testing::Object& source) {
  ComPtr<IConnectionPointContainer> container;
  HRESULT hr = source.get()->QueryInterface(IID_IConnectionPointContainer,
                                            reinterpret_cast<void**>(container.put()));
  if (FAILED(hr)) throw CallFailed(hr, 0, "no IConnectionPointContainer");
  hr = container->FindConnectionPoint(events_iid_, point_.put());
  if (FAILED(hr)) throw CallFailed(hr, 0, "FindConnectionPoint");
  hr = point_->Advise(static_cast<IDispatch*>(this), &cookie_);
  if (FAILED(hr)) throw CallFailed(hr, 0, "Advise");
}

void Sink::Unadvise() {
  if (!point_) return;
  const HRESULT hr = point_->Unadvise(cookie_);
  point_ = ComPtr<IConnectionPoint>();
  if (FAILED(hr)) throw CallFailed(hr, 0, "Unadvise");
}

HRESULT Sink::Invoke(DISPID member, REFIID /*iid*/, LCID /*lcid*/, WORD /*flags*/,
                     DISPPARAMS* params, VARIANT* /*result*/, EXCEPINFO* /*exception*/,
                     UINT* /*argument_error*/) {
  Event event{member, {}, {}};
  for (UINT i = 0; i < params->cArgs; ++i) {
    const VARIANT& argument = params->rgvarg[i];
    event.types.push_back(argument.vt);
    // A by-reference flag is kept as the value it arrived with; its storage ends with the call.
    event.reversed_args.push_back(argument.vt == (VT_BOOL | VT_BYREF)
                                      ? Bool(*argument.pboolVal != VARIANT_FALSE)
                                      : Variant(argument));
  }
  events_.push_back(std::move(event));
  if (handler_) handler_(member, *params);
  return S_OK;
}

void Checks::That(bool ok, const std::string& what) {
  if (!ok) {
    ++failures_;
    std::fprintf(stderr, "FAILED: %s\n", what.c_str());
  }
}

void Checks::Equal(const std::string& actual, const std::string& expected,
                   const std::string& what) {
  That(actual == expected, what + ": got \"" + actual + "\", expected \"" + expected + "\"");
}

void Checks::Equal(std::int64_t actual, std::int64_t expected, const std::string& what) {
  That(actual == expected,
       what + ": got " + std::to_string(actual) + ", expected " + std::to_string(expected));
}

std::string ExpectHostError(Checks& checks, std::int32_t number, const std::string& what,
                            const std::function<void()>& body) {
  try {
    body();
  } catch (const CallFailed& failure) {
    checks.Equal(static_cast<std::int64_t>(failure.result), DISP_E_EXCEPTION, what + ": HRESULT");
    checks.Equal(failure.scode & 0xFFFF, number, what + ": error number");
    checks.Equal(static_cast<std::int64_t>(static_cast<std::uint32_t>(failure.scode) >> 16), 0x800A,
                 what + ": FACILITY_CONTROL");
    return failure.description;
  }
  checks.That(false, what + ": no error");
  return {};
}

}  // namespace lunavant::windows::testing
