// SPDX-License-Identifier: MIT
#include "addin_record.h"

#include "registration.h"

namespace lunavant::com {
namespace {

std::wstring RecordPath(const std::wstring& prog_id) {
  return std::wstring(kAddInsKey) + L"\\" + prog_id;
}

// A string value of `key`; empty when missing. Sets `problem` when it is there but no string.
std::wstring ReadText(HKEY key, const wchar_t* name, std::wstring& problem) {
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ) {
    problem = std::wstring(name) + L" is not a string";
    return {};
  }
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &bytes) !=
      ERROR_SUCCESS) {
    return {};
  }
  text.resize(bytes / sizeof(wchar_t));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

AddInRecord ReadRecord(HKEY addins, const std::wstring& prog_id) {
  AddInRecord record;
  record.prog_id = prog_id;
  HKEY key = nullptr;
  if (RegOpenKeyExW(addins, prog_id.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    record.problem = L"its key cannot be read";
    return record;
  }
  record.friendly_name = ReadText(key, L"FriendlyName", record.problem);
  record.description = ReadText(key, L"Description", record.problem);
  DWORD type = 0;
  DWORD value = 0;
  DWORD bytes = sizeof value;
  const LSTATUS status = RegQueryValueExW(key, L"LoadBehavior", nullptr, &type,
                                          reinterpret_cast<BYTE*>(&value), &bytes);
  if (status == ERROR_FILE_NOT_FOUND) {
    record.problem = L"it has no LoadBehavior";
  } else if (status != ERROR_SUCCESS || type != REG_DWORD) {
    record.problem = L"its LoadBehavior is not a DWORD";
  } else {
    record.load_behavior = value;
  }
  RegCloseKey(key);
  return record;
}

}  // namespace

LSTATUS WriteAddInRecord(const AddInRecord& record) {
  const std::wstring path = RecordPath(record.prog_id);
  LSTATUS status =
      WriteRegistryText(HKEY_CURRENT_USER, path, L"FriendlyName", record.friendly_name);
  if (status == ERROR_SUCCESS) {
    status = WriteRegistryText(HKEY_CURRENT_USER, path, L"Description", record.description);
  }
  if (status == ERROR_SUCCESS && record.load_behavior) {
    status = WriteRegistryNumber(HKEY_CURRENT_USER, path, L"LoadBehavior", *record.load_behavior);
  }
  return status;
}

LSTATUS DeleteAddInRecord(const std::wstring& prog_id) {
  return DeleteRegistryTree(HKEY_CURRENT_USER, RecordPath(prog_id));
}

std::vector<AddInRecord> ReadAddInRecords() {
  std::vector<AddInRecord> records;
  HKEY addins = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kAddInsKey, 0, KEY_READ, &addins) != ERROR_SUCCESS) {
    return records;
  }
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = 256;
    const LSTATUS status =
        RegEnumKeyExW(addins, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) continue;
    records.push_back(ReadRecord(addins, std::wstring(name, length)));
  }
  RegCloseKey(addins);
  return records;
}

std::optional<AddInRecord> ReadAddInRecord(const std::wstring& prog_id) {
  HKEY addins = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kAddInsKey, 0, KEY_READ, &addins) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  HKEY probe = nullptr;
  std::optional<AddInRecord> record;
  if (RegOpenKeyExW(addins, prog_id.c_str(), 0, KEY_QUERY_VALUE, &probe) == ERROR_SUCCESS) {
    RegCloseKey(probe);
    record = ReadRecord(addins, prog_id);
  }
  RegCloseKey(addins);
  return record;
}

}  // namespace lunavant::com
