// SPDX-License-Identifier: MIT
// The test add-in's exports: its class object, unloading, and registration of its class and of
// its add-in record (LoadBehavior 3, so the host connects it at start-up).
#include <windows.h>

#include "addin_record.h"
#include "class_factory.h"
#include "connect.h"
#include "identity.h"
#include "module.h"
#include "registration.h"
#include "test_addin.h"

namespace {

using namespace lunavant;

constexpr com::ServedClass kClasses[] = {{&CLSID_Connect, &test_addin::MakeConnect}};

com::InprocClass ConnectClass() {
  return {CLSID_Connect, test_addin::kProgId, test_addin::kFriendlyName};
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    com::SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** result) {
  return com::GetClassObject(kClasses, clsid, iid, result);
}

STDAPI DllCanUnloadNow() { return com::ModuleCanUnload() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
  try {
    const HRESULT hr = com::RegisterInprocClassWherePermitted(ConnectClass(), com::ModulePath());
    if (FAILED(hr)) return hr;
    com::AddInRecord record;
    record.prog_id = test_addin::kProgId;
    record.friendly_name = test_addin::kFriendlyName;
    record.description = test_addin::kDescription;
    record.load_behavior = com::kLoadAtStartup;
    const LSTATUS status = com::WriteAddInRecord(record);
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

STDAPI DllUnregisterServer() {
  try {
    const LSTATUS status = com::DeleteAddInRecord(test_addin::kProgId);
    const HRESULT hr = com::UnregisterInprocClass(ConnectClass());
    if (FAILED(hr)) return hr;
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

}  // extern "C"
