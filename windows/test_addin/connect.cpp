// SPDX-License-Identifier: MIT
#include "connect.h"

#include <exception>
#include <string>

#include "call_log.h"
#include "com_ptr.h"
#include "extensibility_object.h"
#include "late_binding.h"
#include "module.h"
#include "object.h"
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

class Connect final : public com::ExtensibilityObject {
 public:
  Connect() : serial_(++g_connect_objects_made) {}

  HRESULT STDMETHODCALLTYPE OnConnection(IDispatch* application, ext_ConnectMode mode,
                                         IDispatch* addin, SAFEARRAY** custom) override {
    try {
      LogCall(L"OnConnection mode=" + std::to_wstring(static_cast<int>(mode)) +
              L" application.Name=" + TextOfMember(application, L"Name") + L" addin.ProgId=" +
              TextOfMember(addin, L"ProgId") + L" addin.PROGID=" + TextOfMember(addin, L"PROGID") +
              L" addin.Connect=" + TextOfMember(addin, L"Connect") + L" custom=" +
              DescribeCustom(custom) + L" object=" + std::to_wstring(serial_));
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
  HRESULT STDMETHODCALLTYPE OnDisconnection(ext_DisconnectMode mode, SAFEARRAY** custom) override {
    try {
      LogCall(L"OnDisconnection mode=" + std::to_wstring(static_cast<int>(mode)) + L" custom=" +
              DescribeCustom(custom));
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
  HRESULT LogSimpleCall(const wchar_t* name, SAFEARRAY** custom) {
    try {
      LogCall(std::wstring(name) + L" custom=" + DescribeCustom(custom));
      return S_OK;
    } catch (...) {
      return E_FAIL;
    }
  }

  long serial_;
  TestToolbar toolbar_;
};

}  // namespace

HRESULT MakeConnect(REFIID iid, void** result) { return com::QueryNewObject<Connect>(iid, result); }

}  // namespace lunavant::test_addin
