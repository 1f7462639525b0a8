// SPDX-License-Identifier: MIT
#include "registration.h"

namespace lunavant::com {
namespace {

constexpr wchar_t kClassesKey[] = L"Software\\Classes\\";

HKEY RootOf(RegistryScope scope) {
  return scope == RegistryScope::kMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

}  // namespace

std::wstring GuidText(const GUID& guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

LSTATUS WriteRegistryText(HKEY root, const std::wstring& path, const wchar_t* name,
                          const std::wstring& value) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return status;
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  status = RegSetValueExW(key, (name != nullptr && *name != L'\0') ? name : nullptr, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()), bytes);
  RegCloseKey(key);
  return status;
}

LSTATUS WriteRegistryNumber(HKEY root, const std::wstring& path, const wchar_t* name, DWORD value) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return status;
  status =
      RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
  return status;
}

LSTATUS DeleteRegistryTree(HKEY root, const std::wstring& path) {
  const LSTATUS status = RegDeleteTreeW(root, path.c_str());
  if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (status != ERROR_SUCCESS) return status;
  // RegDeleteTreeW empties the key; the key itself goes separately.
  const LSTATUS removed = RegDeleteKeyW(root, path.c_str());
  return removed == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : removed;
}

HRESULT RegisterInprocClass(const InprocClass& entry, const std::wstring& module_path,
                            RegistryScope scope) {
  const HKEY root = RootOf(scope);
  const std::wstring clsid = GuidText(entry.clsid);
  const std::wstring class_key = std::wstring(kClassesKey) + L"CLSID\\" + clsid;
  const std::wstring prog_id_key = std::wstring(kClassesKey) + entry.prog_id;
  for (LSTATUS status : {
           WriteRegistryText(root, class_key, nullptr, entry.description),
           WriteRegistryText(root, class_key + L"\\InprocServer32", nullptr, module_path),
           WriteRegistryText(root, class_key + L"\\InprocServer32", L"ThreadingModel",
                             L"Apartment"),
           WriteRegistryText(root, class_key + L"\\ProgID", nullptr, entry.prog_id),
           WriteRegistryText(root, prog_id_key, nullptr, entry.description),
           WriteRegistryText(root, prog_id_key + L"\\CLSID", nullptr, clsid),
       }) {
    if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  }
  return S_OK;
}

HRESULT RegisterInprocClassWherePermitted(const InprocClass& entry,
                                          const std::wstring& module_path) {
  const HRESULT machine = RegisterInprocClass(entry, module_path, RegistryScope::kMachine);
  if (machine != HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)) return machine;
  return RegisterInprocClass(entry, module_path, RegistryScope::kUser);
}

HRESULT UnregisterInprocClass(const InprocClass& entry) {
  const std::wstring class_key = std::wstring(kClassesKey) + L"CLSID\\" + GuidText(entry.clsid);
  const std::wstring prog_id_key = std::wstring(kClassesKey) + entry.prog_id;
  HRESULT result = S_OK;
  for (RegistryScope scope : {RegistryScope::kMachine, RegistryScope::kUser}) {
    for (const std::wstring& key : {class_key, prog_id_key}) {
      const LSTATUS status = DeleteRegistryTree(RootOf(scope), key);
      // A user may not touch the machine's keys; theirs are still removed.
      if (status != ERROR_SUCCESS && status != ERROR_ACCESS_DENIED) {
        result = HRESULT_FROM_WIN32(status);
      }
    }
  }
  return result;
}

}  // namespace lunavant::com
