// SPDX-License-Identifier: MIT
// Registration of an in-process server's classes: CLSID\{...}\InprocServer32 with its threading
// model, the ProgID and its CurVer-less link to the CLSID, as DllRegisterServer writes them.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <string>

namespace lunavant::com {

struct InprocClass {
  CLSID clsid;
  std::wstring prog_id;
  std::wstring description;
};

enum class RegistryScope {
  kMachine,  // HKLM\Software\Classes: every user; needs administrator rights on Windows
  kUser,     // HKCU\Software\Classes: this user only; wine 8 does not read it
};

// Writes `entry` for the DLL at `module_path` (apartment-threaded). Returns S_OK or the
// HRESULT of the registry call that failed.
HRESULT RegisterInprocClass(const InprocClass& entry, const std::wstring& module_path,
                            RegistryScope scope);

// Machine-wide where this user may write there, else for this user only, so a Windows user
// without administrator rights can still register, and wine finds the class.
HRESULT RegisterInprocClassWherePermitted(const InprocClass& entry,
                                          const std::wstring& module_path);

// Removes `entry` from both scopes; what is not there is no failure.
HRESULT UnregisterInprocClass(const InprocClass& entry);

// "{B65AD801-ABAF-11D0-BB8B-00A0C90F2744}".
std::wstring GuidText(const GUID& guid);

// Sets a string value under HKEY `root`\`path`, creating the key; `name` empty for the default
// value.
LSTATUS WriteRegistryText(HKEY root, const std::wstring& path, const wchar_t* name,
                          const std::wstring& value);
LSTATUS WriteRegistryNumber(HKEY root, const std::wstring& path, const wchar_t* name, DWORD value);
// Deletes `path` and everything under it; a missing key is no failure.
LSTATUS DeleteRegistryTree(HKEY root, const std::wstring& path);

}  // namespace lunavant::com
