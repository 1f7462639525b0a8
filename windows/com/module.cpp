// SPDX-License-Identifier: MIT
#include "module.h"

#include <oleauto.h>

#include <atomic>

namespace lunavant::com {
namespace {

HINSTANCE g_module_instance = nullptr;
std::atomic<long> g_live_objects{0};
std::atomic<long> g_server_locks{0};
ITypeLib* g_type_library = nullptr;

}  // namespace

void SetModuleInstance(HINSTANCE instance) { g_module_instance = instance; }

HINSTANCE ModuleInstance() { return g_module_instance; }

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(g_module_instance, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

HRESULT ModuleTypeInfo(const IID& iid, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (g_type_library == nullptr) {
    const std::wstring path = ModulePath();
    if (path.empty()) return TYPE_E_CANTLOADLIBRARY;
    const HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, &g_type_library);
    if (FAILED(hr)) return hr;
  }
  return g_type_library->GetTypeInfoOfGuid(iid, info);
}

void ObjectCreated() { ++g_live_objects; }

void ObjectDestroyed() { --g_live_objects; }

void LockModule(bool lock) {
  if (lock) {
    ++g_server_locks;
  } else {
    --g_server_locks;
  }
}

bool ModuleCanUnload() { return g_live_objects == 0 && g_server_locks == 0; }

}  // namespace lunavant::com
