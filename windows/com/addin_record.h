// SPDX-License-Identifier: MIT
// The host's add-in registration record: one key per add-in, named by its ProgID, under
// HKCU\Software\Microsoft\Office\MS Project\Addins, with FriendlyName, Description and
// LoadBehavior. An add-in writes its record when it registers; the host reads them at start-up.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace lunavant::com {

inline constexpr wchar_t kAddInsKey[] = L"Software\\Microsoft\\Office\\MS Project\\Addins";

// LoadBehavior 3: loaded at start-up and connected.
inline constexpr DWORD kLoadAtStartup = 3;

struct AddInRecord {
  std::wstring prog_id;
  std::wstring friendly_name;
  std::wstring description;
  // Empty when the value is missing or is not a number.
  std::optional<DWORD> load_behavior;
  // What is wrong with the record, for the host to report; empty when nothing is.
  std::wstring problem;
};

// Writes `record` (its problem is ignored) under HKCU. Returns ERROR_SUCCESS or the failure.
LSTATUS WriteAddInRecord(const AddInRecord& record);
LSTATUS DeleteAddInRecord(const std::wstring& prog_id);

// Every record under HKCU, in the registry's order; none when the key is missing.
std::vector<AddInRecord> ReadAddInRecords();
// The record of `prog_id`; empty when there is none.
std::optional<AddInRecord> ReadAddInRecord(const std::wstring& prog_id);

}  // namespace lunavant::com
