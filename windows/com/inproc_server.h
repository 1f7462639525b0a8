// SPDX-License-Identifier: MIT
// The exports every in-process server of ours has, written once in inproc_server.cpp: DllMain
// records the module, DllGetClassObject serves the DLL's classes, DllCanUnloadNow waits for its
// objects and locks, and DllRegisterServer and DllUnregisterServer run its own registration. A
// DLL links lunavant_com_server, names the four exports in its .def file and defines what it
// serves:
//   const com::InprocServer com::kThisServer = {kClasses, &RegisterServer, &UnregisterServer};
#pragma once

#include <span>
#include <string>

#include "class_factory.h"

namespace lunavant::com {

struct InprocServer {
  std::span<const ServedClass> classes;
  // Writes the registration of the DLL at `module_path`; S_OK or the failure. Must not throw.
  HRESULT (*register_server)(const std::wstring& module_path);
  // Removes it; what is already gone is no failure. Must not throw.
  HRESULT (*unregister_server)();
};

extern const InprocServer kThisServer;

}  // namespace lunavant::com
