// SPDX-License-Identifier: MIT
// The module's entry points: the class object that hands out the process's Application, and the
// registration of the class and its ProgID under HKLM\Software\Classes (wine reads COM classes
// only from there).
#include <windows.h>

#include <new>
#include <string>

#include "windows/automation/objects/host_objects.h"
#include "windows/automation/server/reference_host.h"

namespace lunavant::windows {
namespace {

LONG g_locks = 0;

class ClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  // One static class object, alive as long as the module.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  // Every creation in the process gets the same application, as the host has one.
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    try {
      const ComPtr<IDispatch> application = CurrentApplication();
      return application->QueryInterface(iid, object);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    } catch (...) {
      return E_UNEXPECTED;
    }
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      InterlockedIncrement(&g_locks);
    } else {
      InterlockedDecrement(&g_locks);
    }
    return S_OK;
  }
};

ClassFactory g_factory;

std::wstring TextOfGuid(const GUID& guid) {
  wchar_t text[64];
  StringFromGUID2(guid, text, 64);
  return text;
}

bool SetValue(const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  HKEY handle = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const LSTATUS status =
      RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(handle);
  return status == ERROR_SUCCESS;
}

const std::wstring kClassesKey = L"Software\\Classes\\";

}  // namespace
}  // namespace lunavant::windows

using namespace lunavant::windows;

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    SetServerModule(module);
    DisableThreadLibraryCalls(module);
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (clsid != kReferenceHostClsid) return CLASS_E_CLASSNOTAVAILABLE;
  return g_factory.QueryInterface(iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return LiveObjectCount() == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(ServerModule(), path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return SELFREG_E_CLASS;
  const std::wstring clsid = TextOfGuid(kReferenceHostClsid);
  const std::wstring class_key = kClassesKey + L"CLSID\\" + clsid;
  const std::wstring progid_key = kClassesKey + kReferenceHostProgId;
  const bool written =
      SetValue(class_key, nullptr, kReferenceHostDescription) &&
      SetValue(class_key + L"\\InprocServer32", nullptr, path) &&
      SetValue(class_key + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
      SetValue(class_key + L"\\ProgID", nullptr, kReferenceHostProgId) &&
      SetValue(class_key + L"\\TypeLib", nullptr, TextOfGuid(kReferenceHostTypeLibrary)) &&
      SetValue(progid_key, nullptr, kReferenceHostDescription) &&
      SetValue(progid_key + L"\\CLSID", nullptr, clsid);
  return written ? S_OK : SELFREG_E_CLASS;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  const std::wstring clsid = TextOfGuid(kReferenceHostClsid);
  const LSTATUS by_class =
      RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kClassesKey + L"CLSID\\" + clsid).c_str());
  const LSTATUS by_name =
      RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kClassesKey + kReferenceHostProgId).c_str());
  const auto gone = [](LSTATUS status) {
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
  };
  return gone(by_class) && gone(by_name) ? S_OK : SELFREG_E_CLASS;
}
