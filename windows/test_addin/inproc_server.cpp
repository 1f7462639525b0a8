// SPDX-License-Identifier: MIT
// What the test add-in serves through the shared exports (inproc_server.h): its class, and the
// registration of its class and of its add-in record (LoadBehavior 3, so the host connects it at
// start-up).
#include "inproc_server.h"

#include "addin_record.h"
#include "connect.h"
#include "identity.h"
#include "registration.h"
#include "test_addin.h"

namespace lunavant {
namespace {

constexpr com::ServedClass kClasses[] = {{&CLSID_Connect, &test_addin::MakeConnect}};

com::InprocClass ConnectClass() {
  return {CLSID_Connect, test_addin::kProgId, test_addin::kFriendlyName};
}

HRESULT RegisterServer(const std::wstring& module_path) {
  try {
    const HRESULT hr = com::RegisterInprocClassWherePermitted(ConnectClass(), module_path);
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

HRESULT UnregisterServer() {
  try {
    const LSTATUS status = com::DeleteAddInRecord(test_addin::kProgId);
    const HRESULT hr = com::UnregisterInprocClass(ConnectClass());
    if (FAILED(hr)) return hr;
    return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(status);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace

const com::InprocServer com::kThisServer = {kClasses, &RegisterServer, &UnregisterServer};

}  // namespace lunavant
