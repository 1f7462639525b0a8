// SPDX-License-Identifier: MIT
#include "addin_instance.h"

#include <array>
#include <new>
#include <utility>

#include "registration.h"
#include "text.h"

namespace lunavant::driver {
namespace {

// COMAddIn's dispatch IDs.
constexpr DISPID kDescription = DISPID_VALUE;
constexpr DISPID kProgId = 3;
constexpr DISPID kGuid = 4;
constexpr DISPID kConnect = 6;
constexpr DISPID kObject = 7;

struct Member {
  std::wstring_view name;
  DISPID id;
  bool writable;
};

constexpr std::array<Member, 5> kMembers = {{
    {L"Description", kDescription, true},
    {L"ProgId", kProgId, false},
    {L"Guid", kGuid, false},
    {L"Connect", kConnect, true},
    {L"Object", kObject, true},
}};

const Member* FindMember(DISPID id) {
  for (const Member& member : kMembers) {
    if (member.id == id) return &member;
  }
  return nullptr;
}

BSTR NewText(const std::wstring& text) {
  return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // namespace

com::ComPtr<AddInInstance> AddInInstance::Make(std::wstring prog_id, std::wstring description,
                                               CLSID clsid) {
  return com::ComPtr<AddInInstance>::Adopt(
      new AddInInstance(std::move(prog_id), std::move(description), clsid));
}

AddInInstance::AddInInstance(std::wstring prog_id, std::wstring description, CLSID clsid)
    : prog_id_(std::move(prog_id)), description_(std::move(description)), clsid_(clsid) {}

HRESULT AddInInstance::GetIDsOfNames(REFIID /*iid*/, LPOLESTR* names, UINT count, LCID /*locale*/,
                                     DISPID* ids) {
  if (names == nullptr || ids == nullptr || count == 0) return E_INVALIDARG;
  HRESULT hr = S_OK;
  ids[0] = DISPID_UNKNOWN;
  for (const Member& member : kMembers) {
    if (com::EqualNoCase(member.name, names[0])) ids[0] = member.id;
  }
  if (ids[0] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  // No member takes named arguments.
  for (UINT i = 1; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT AddInInstance::Invoke(DISPID id, REFIID /*iid*/, LCID /*locale*/, WORD flags,
                              DISPPARAMS* arguments, VARIANT* result, EXCEPINFO* /*exception*/,
                              UINT* bad_argument) {
  const Member* member = FindMember(id);
  if (member == nullptr) return DISP_E_MEMBERNOTFOUND;
  if (arguments == nullptr) return E_INVALIDARG;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    if (!member->writable) return DISP_E_MEMBERNOTFOUND;
    if (arguments->cArgs != 1 || arguments->cNamedArgs != 1 ||
        arguments->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
      return DISP_E_BADPARAMCOUNT;
    }
    const HRESULT hr = Put(id, arguments->rgvarg[0]);
    if (hr == DISP_E_TYPEMISMATCH && bad_argument != nullptr) *bad_argument = 0;
    return hr;
  }
  if (!(flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD))) return DISP_E_MEMBERNOTFOUND;
  if (arguments->cArgs != 0) return DISP_E_BADPARAMCOUNT;
  if (result == nullptr) return S_OK;
  return Get(id, result);
}

HRESULT AddInInstance::Get(DISPID id, VARIANT* result) const {
  VariantInit(result);
  switch (id) {
    case kDescription:
      result->vt = VT_BSTR;
      result->bstrVal = NewText(description_);
      return S_OK;
    case kProgId:
      result->vt = VT_BSTR;
      result->bstrVal = NewText(prog_id_);
      return S_OK;
    case kGuid:
      result->vt = VT_BSTR;
      result->bstrVal = NewText(com::GuidText(clsid_));
      return S_OK;
    case kConnect:
      result->vt = VT_BOOL;
      result->boolVal = connected_ ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    case kObject:
      return VariantCopy(result, const_cast<VARIANT*>(&object_.get()));
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

HRESULT AddInInstance::Put(DISPID id, const VARIANT& value) {
  switch (id) {
    case kDescription: {
      VARIANT text;
      VariantInit(&text);
      if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(&value), 0, VT_BSTR))) {
        return DISP_E_TYPEMISMATCH;
      }
      description_.assign(text.bstrVal, SysStringLen(text.bstrVal));
      VariantClear(&text);
      return S_OK;
    }
    case kConnect: {
      VARIANT flag;
      VariantInit(&flag);
      if (FAILED(VariantChangeType(&flag, const_cast<VARIANT*>(&value), 0, VT_BOOL))) {
        return DISP_E_TYPEMISMATCH;
      }
      // The add-in cannot be disconnected from inside its own call: the manager does it once
      // the call has returned.
      if (flag.boolVal == VARIANT_FALSE && connected_) disconnect_requested_ = true;
      return S_OK;
    }
    case kObject:
      object_ = com::Variant(value);
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

}  // namespace lunavant::driver
