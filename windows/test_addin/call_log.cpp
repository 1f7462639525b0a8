// SPDX-License-Identifier: MIT
#include "call_log.h"

#include <windows.h>

#include <string>

#include "identity.h"
#include "text.h"

namespace lunavant::test_addin {

void LogCall(std::wstring_view line) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(kLogVariable, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  // Opened for each line, so the record is complete even if the host dies afterwards.
  const HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string bytes = com::Narrow(line) + "\n";
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace lunavant::test_addin
