// SPDX-License-Identifier: MIT
#include "connect.h"

#include <exception>
#include <new>
#include <string>

#include "call_log.h"
#include "com_ptr.h"
#include "extensibility.h"
#include "late_binding.h"
#include "module.h"
#include "test_toolbar.h"
#include "text.h"

namespace lunavant::test_addin {
namespace {

using com::ComPtr;

// "empty", "3 values" or "none": what the host passed as `custom`.
std::wstring DescribeCustom(SAFEARRAY** custom) {
  if (custom == nullptr || *custom == nullptr) return L"none";
  VARTYPE type = VT_EMPTY;
  SafeArrayGetVartype(*custom, &type);
  if (type != VT_VARIANT || SafeArrayGetDim(*custom) != 1) return L"not an array of VARIANT";
  LONG lower = 0;
  LONG upper = -1;
  SafeArrayGetLBound(*custom, 1, &lower);
  SafeArrayGetUBound(*custom, 1, &upper);
  const LONG count = upper - lower + 1;
  return count == 0 ? L"empty" : std::to_wstring(count) + L" values";
}

// A property of a host object as text, or what went wrong reading it.
std::wstring TextOfMember(IDispatch* object, const wchar_t* member) {
  if (object == nullptr) return L"(no object)";
  try {
    return com::TextOf(com::Call(object, member).get());
  } catch (const std::exception& error) {
    return L"(" + com::Widen(error.what()) + L")";
  }
}

// Numbers each Connect object of the process, so the log shows which one a call reached.
long g_connect_objects_made = 0;

class Connect final : public IDTExtensibility2 {
 public:
  Connect() : serial_(++g_connect_objects_made) { com::ObjectCreated(); }
  Connect(const Connect&) = delete;
  Connect& operator=(const Connect&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
    if (result == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, IID_IDTExtensibility2)) {
      *result = static_cast<IDTExtensibility2*>(this);
      AddRef();
      return S_OK;
    }
    *result = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const long left = --references_;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    const HRESULT hr = LoadTypeInfo();
    if (FAILED(hr)) return hr;
    *info = type_info_.get();
    (*info)->AddRef();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                          DISPID* ids) override {
    const HRESULT hr = LoadTypeInfo();
    if (FAILED(hr)) return hr;
    return DispGetIDsOfNames(type_info_.get(), names, count, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* arguments,
                                   VARIANT* result, EXCEPINFO* exception,
                                   UINT* bad_argument) override {
    const HRESULT hr = LoadTypeInfo();
    if (FAILED(hr)) return hr;
    return DispInvoke(static_cast<IDTExtensibility2*>(this), type_info_.get(), id, flags,
                      arguments, result, exception, bad_argument);
  }

  HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, ext_ConnectMode mode,
                                         IDispatch* addin, SAFEARRAY** custom) override {
    try {
      LogCall(L"OnConnection mode=" + std::to_wstring(static_cast<int>(mode)) +
              L" application.Name=" + TextOfMember(application, L"Name") +
              L" addin.ProgId=" + TextOfMember(addin, L"ProgId") +
              L" addin.PROGID=" + TextOfMember(addin, L"PROGID") +
              L" addin.Connect=" + TextOfMember(addin, L"Connect") +
              L" custom=" + DescribeCustom(custom) + L" object=" + std::to_wstring(serial_));
      if (application != nullptr) {
        try {
          toolbar_.Install(application, addin);
        } catch (const std::exception& error) {
          LogCall(L"toolbar not added: " + com::Widen(error.what()));
        }
      }
      return S_OK;
    } catch (...) {
      return E_FAIL;
    }
  }
  HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode mode,
                                            SAFEARRAY** custom) override {
    try {
      LogCall(L"OnDisconnection mode=" + std::to_wstring(static_cast<int>(mode)) +
              L" custom=" + DescribeCustom(custom));
      toolbar_.Remove();
      return S_OK;
    } catch (...) {
      return E_FAIL;
    }
  }
  HRESULT STDMETHODCALLTYPE OnAddInsUpdate(SAFEARRAY** custom) override {
    return LogSimpleCall(L"OnAddInsUpdate", custom);
  }
  HRESULT STDMETHODCALLTYPE OnStartupComplete(SAFEARRAY** custom) override {
    return LogSimpleCall(L"OnStartupComplete", custom);
  }
  HRESULT STDMETHODCALLTYPE OnBeginShutdown(SAFEARRAY** custom) override {
    return LogSimpleCall(L"OnBeginShutdown", custom);
  }

 private:
  ~Connect() { com::ObjectDestroyed(); }

  HRESULT LogSimpleCall(const wchar_t* name, SAFEARRAY** custom) {
    try {
      LogCall(std::wstring(name) + L" custom=" + DescribeCustom(custom));
      return S_OK;
    } catch (...) {
      return E_FAIL;
    }
  }

  HRESULT LoadTypeInfo() {
    if (type_info_) return S_OK;
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibEx(com::ModulePath().c_str(), REGKIND_NONE, library.put());
    if (FAILED(hr)) return hr;
    return library->GetTypeInfoOfGuid(IID_IDTExtensibility2, type_info_.put());
  }

  long references_ = 1;
  long serial_;
  ComPtr<ITypeInfo> type_info_;
  TestToolbar toolbar_;
};

}  // namespace

HRESULT MakeConnect(REFIID iid, void** result) {
  auto* connect = new (std::nothrow) Connect();
  if (connect == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = connect->QueryInterface(iid, result);
  connect->Release();
  return hr;
}

}  // namespace lunavant::test_addin
