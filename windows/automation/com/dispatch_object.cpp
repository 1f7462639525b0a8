// SPDX-License-Identifier: MIT
#include "windows/automation/com/dispatch_object.h"

#include <new>
#include <string>
#include <vector>

#include "addin/host/error.h"
#include "windows/automation/com/connection_point.h"
#include "windows/automation/com/enum_variant.h"
#include "windows/automation/server/reference_host.h"
#include "windows/com/text.h"

namespace lunavant::windows {
namespace {

// Basic reads an HRESULT of FACILITY_CONTROL as the error number in its low word.
HRESULT HresultOfErrorNumber(std::int32_t number) {
  return MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, static_cast<WORD>(number));
}

void Describe(EXCEPINFO* exception, std::int32_t number, const std::string& description) {
  if (exception == nullptr) return;
  *exception = EXCEPINFO{};
  exception->scode = HresultOfErrorNumber(number);
  exception->bstrSource = SysAllocString(kReferenceHostProgId);
  const std::wstring text = com::Widen(description);
  exception->bstrDescription = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

}  // namespace

DispatchObject::DispatchObject(const IID& iid, const IID* events_iid) : Dispatch(&iid), iid_(iid) {
  if (events_iid != nullptr) events_ = new ConnectionPoint(container_, *events_iid);
}

DispatchObject::~DispatchObject() {
  if (events_ != nullptr) {
    events_->Detach();
    events_->Release();
  }
}

bool DispatchObject::Serves(REFIID iid) const { return iid == IID_IDispatch || iid == iid_; }

void* DispatchObject::InterfaceFor(REFIID iid) {
  if (iid == IID_IConnectionPointContainer && events_ != nullptr) {
    return static_cast<IConnectionPointContainer*>(&container_);
  }
  return Dispatch::InterfaceFor(iid);
}

HRESULT DispatchObject::Invoke(DISPID member, REFIID /*iid*/, LCID /*lcid*/, WORD flags,
                               DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                               UINT* /*argument_error*/) {
  static DISPPARAMS no_arguments{};
  const Arguments args(params != nullptr ? *params : no_arguments);
  Result answer(result);
  // Keeps the object alive through a call that drops the caller's last other reference.
  const auto self = ComPtr<DispatchObject>::Share(this);
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
  const auto self = ComPtr<DispatchObject>::Share(this);
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

HRESULT DispatchObject::Container::EnumConnectionPoints(IEnumConnectionPoints** /*points*/) {
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
