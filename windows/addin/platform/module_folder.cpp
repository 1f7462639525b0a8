// SPDX-License-Identifier: MIT
#include "platform/module_folder.h"

#include <windows.h>

#include "module.h"

namespace lunavant::winaddin {

std::wstring ModuleFolder() {
  std::wstring path = com::ModulePath();
  const std::size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return {};
  path.resize(slash + 1);
  return path;
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace lunavant::winaddin
