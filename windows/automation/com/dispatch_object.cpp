// SPDX-License-Identifier: MIT
#include "windows/automation/com/dispatch_object.h"

#include <new>
#include <string>
#include <vector>

#include "addin/host/error.h"
#include "windows/automation/com/connection_point.h"
#include "windows/automation/com/enum_variant.h"
#include "windows/automation/server/reference_host.h"

namespace lunavant::windows {
namespace {

HMODULE g_module = nullptr;
LONG g_live_objects = 0;
// Loaded once and kept for the life of the process: type information is asked for on every call
// by name, and the module stays loaded while any object lives.
ITypeLib* g_type_library = nullptr;

// Basic reads an HRESULT of FACILITY_CONTROL as the error number in its low word.
HRESULT HresultOfErrorNumber(std::int32_t number) {
  return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, static_cast<WORD>(number));
}

HRESULT TypeInfoOf(const IID& iid, ITypeInfo** info) {
  if (g_type_library == nullptr) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TYPE_E_CANTLOADLIBRARY;
    const HRESULT hr = LoadTypeLibEx(path, REGKIND_NONE, &g_type_library);
    if (FAILED(hr)) return hr;
  }
  return g_type_library->GetTypeInfoOfGuid(iid, info);
}

void Describe(EXCEPINFO* exception, std::int32_t number, const std::string& description) {
  if (exception == nullptr) return;
  *exception = EXCEPINFO{};
  exception->scode = HresultOfErrorNumber(number);
  exception->bstrSource = SysAllocString(kReferenceHostProgId);
  const std::wstring text = WideOf(description);
  exception->bstrDescription = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // namespace

void SetServerModule(HMODULE module) { g_module = module; }
HMODULE ServerModule() { return g_module; }
LONG LiveObjectCount() { return g_live_objects; }

DispatchObject::DispatchObject(const IID& iid, const IID* events_iid) : iid_(iid) {
  InterlockedIncrement(&g_live_objects);
  if (events_iid != nullptr) events_ = new ConnectionPoint(container_, *events_iid);
}

DispatchObject::~DispatchObject() {
  if (events_ != nullptr) {
    events_->Detach();
    events_->Release();
  }
  InterlockedDecrement(&g_live_objects);
}

HRESULT DispatchObject::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == iid_) {
    *object = static_cast<IDispatch*>(this);
  } else if (iid == IID_IConnectionPointContainer && events_ != nullptr) {
    *object = static_cast<IConnectionPointContainer*>(&container_);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG DispatchObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG DispatchObject::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  return TypeInfoOf(iid_, info);
}

HRESULT DispatchObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (names == nullptr || ids == nullptr || count == 0) return E_INVALIDARG;
  ComPtr<ITypeInfo> info;
  const HRESULT hr = TypeInfoOf(iid_, info.put());
  if (FAILED(hr)) return hr;
  if (FAILED(info->GetIDsOfNames(names, count, ids))) {
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  return S_OK;
}

HRESULT DispatchObject::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params,
                               VARIANT* result, EXCEPINFO* exception, UINT*) {
  static DISPPARAMS no_arguments{};
  const Arguments args(params != nullptr ? *params : no_arguments);
  Result answer(result);
  // Keeps the object alive through a call that drops the caller's last other reference.
  const ComPtr<DispatchObject> self(this);
  try {
    Call(member, flags, args, answer);
    return S_OK;
  } catch (const host::HostError& error) {
    Describe(exception, error.record().number, error.record().description);
  } catch (const DispatchFailure& failure) {
    return failure.code;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (const std::exception& error) {
    Describe(exception, host::kInternalError, error.what());
  }
  return DISP_E_EXCEPTION;
}

void DispatchObject::Fire(DISPID member, std::span<VARIANT> reversed_arguments) {
  // A sink may drop the last reference to the object raising the event; it ends after the event.
  const ComPtr<DispatchObject> self(this);
  if (events_ != nullptr) events_->Fire(member, reversed_arguments);
}

void DispatchObject::Enumerate(DISPID count_member, Result& result) {
  DISPPARAMS none{};
  VARIANT count;
  VariantInit(&count);
  Result count_result(&count);
  Call(count_member, DISPATCH_PROPERTYGET, Arguments(none), count_result);
  std::vector<VARIANT> items;
  try {
    for (LONG position = 1; position <= count.lVal; ++position) {
      VARIANT index;
      VariantInit(&index);
      index.vt = VT_I4;
      index.lVal = position;
      DISPPARAMS one{&index, nullptr, 1, 0};
      VARIANT item;
      VariantInit(&item);
      Result item_result(&item);
      Call(DISPID_VALUE, DISPATCH_PROPERTYGET, Arguments(one), item_result);
      items.push_back(item);
    }
  } catch (...) {
    for (VARIANT& item : items) VariantClear(&item);
    throw;
  }
  result.Unknown(MakeEnumerator(std::move(items)).get());
}

bool DispatchObject::HasSinks() const { return events_ != nullptr && events_->HasSinks(); }

HRESULT DispatchObject::Container::EnumConnectionPoints(IEnumConnectionPoints**) {
  return E_NOTIMPL;
}

HRESULT DispatchObject::Container::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (point == nullptr) return E_POINTER;
  *point = nullptr;
  if (outer_.events_ == nullptr || iid != outer_.events_->Interface()) {
    return CONNECT_E_NOCONNECTION;
  }
  *point = outer_.events_;
  (*point)->AddRef();
  return S_OK;
}

}  // namespace lunavant::windows
