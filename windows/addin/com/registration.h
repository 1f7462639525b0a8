// SPDX-License-Identifier: MIT
// What regsvr32 writes and removes for Lunavant.dll. The record is the add-in's own
// (addin/shell/registration.h): for this user, the class and ProgID under
// HKCU\Software\Classes and the host's add-in key. Where COM does not read per-user classes (wine
// does not), the class and ProgID are written machine-wide as well, under HKLM\Software\Classes,
// when this user may write there.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "addin/host/registry.h"

namespace lunavant::winaddin {

// host::Registry over the real registry, keys below `root`.
class WindowsRegistry final : public host::Registry {
 public:
  explicit WindowsRegistry(HKEY root) : root_(root) {}
  // Each fails with a host error naming the key and the system's reason.
  void SetText(std::string_view key, std::string_view name, std::string_view text) override;
  void SetNumber(std::string_view key, std::string_view name, std::uint32_t number) override;
  void DeleteKey(std::string_view key) override;

 private:
  HKEY root_;
};

// S_OK, or the failure as an HRESULT; what was written before a failure is removed again.
HRESULT RegisterServer(const std::wstring& module_path);
// Removes everything RegisterServer may have written; what is already gone is no failure.
HRESULT UnregisterServer();

// Whether COM finds a class through HKEY_CLASSES_ROOT, the view it creates objects from.
bool ClassVisibleToCom(std::wstring_view class_id);

}  // namespace lunavant::winaddin
