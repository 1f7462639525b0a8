// SPDX-License-Identifier: MIT
#include "inproc_server.h"

#include <windows.h>

#include "module.h"

using lunavant::com::kThisServer;

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) {
    lunavant::com::SetModuleInstance(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** result) {
  return lunavant::com::GetClassObject(kThisServer.classes, clsid, iid, result);
}

STDAPI DllCanUnloadNow() { return lunavant::com::ModuleCanUnload() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() { return kThisServer.register_server(lunavant::com::ModulePath()); }

STDAPI DllUnregisterServer() { return kThisServer.unregister_server(); }

}  // extern "C"
