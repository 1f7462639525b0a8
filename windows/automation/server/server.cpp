// SPDX-License-Identifier: MIT
// What the module serves through the shared exports (windows/com/inproc_server.h): the class
// whose every creation hands out the process's Application, and its registration under
// HKLM\Software\Classes (wine reads COM classes only from there), with its type library.
#include <windows.h>

#include <olectl.h>

#include <new>
#include <string>

#include "windows/automation/objects/host_objects.h"
#include "windows/automation/server/reference_host.h"
#include "windows/com/inproc_server.h"
#include "windows/com/registration.h"

namespace lunavant::windows {
namespace {

// Every creation in the process gets the same application, as the host has one.
HRESULT MakeApplication(REFIID iid, void** object) {
  try {
    const ComPtr<IDispatch> application = CurrentApplication();
    return application->QueryInterface(iid, object);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

constexpr com::ServedClass kClasses[] = {{&kReferenceHostClsid, &MakeApplication}};

com::InprocClass ReferenceHostClass() {
  return {kReferenceHostClsid, kReferenceHostProgId, kReferenceHostDescription};
}

HRESULT RegisterServer(const std::wstring& module_path) {
  try {
    if (module_path.empty()) return SELFREG_E_CLASS;
    const HRESULT hr =
        com::RegisterInprocClass(ReferenceHostClass(), module_path, com::RegistryScope::kMachine);
    const LSTATUS status =
        FAILED(hr) ? ERROR_SUCCESS
                   : com::WriteRegistryText(HKEY_LOCAL_MACHINE,
                                            L"Software\\Classes\\CLSID\\" +
                                                com::GuidText(kReferenceHostClsid) + L"\\TypeLib",
                                            nullptr, com::GuidText(kReferenceHostTypeLibrary));
    return SUCCEEDED(hr) && status == ERROR_SUCCESS ? S_OK : SELFREG_E_CLASS;
  } catch (...) {
    return SELFREG_E_CLASS;
  }
}

HRESULT UnregisterServer() {
  try {
    return SUCCEEDED(com::UnregisterInprocClass(ReferenceHostClass())) ? S_OK : SELFREG_E_CLASS;
  } catch (...) {
    return SELFREG_E_CLASS;
  }
}

}  // namespace
}  // namespace lunavant::windows

const lunavant::com::InprocServer lunavant::com::kThisServer = {
    lunavant::windows::kClasses, &lunavant::windows::RegisterServer,
    &lunavant::windows::UnregisterServer};
