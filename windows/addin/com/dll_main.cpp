// SPDX-License-Identifier: MIT
// Lunavant.dll's four exports: its class object, unloading, and registration (com/registration.h).
#include <windows.h>

#include "class_factory.h"
#include "com/connect_object.h"
#include "com/registration.h"
#include "lunavant_addin.h"
#include "module.h"

namespace {

using namespace lunavant;

constexpr com::ServedClass kClasses[] = {{&CLSID_Connect, &winaddin::MakeConnect}};

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

STDAPI DllRegisterServer() { return winaddin::RegisterServer(com::ModulePath()); }

STDAPI DllUnregisterServer() { return winaddin::UnregisterServer(); }

}  // extern "C"
