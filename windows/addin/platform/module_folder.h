// SPDX-License-Identifier: MIT
// Where Lunavant.dll lies: the converter and the button faces are looked for beside it first.
#pragma once

#include <string>

namespace lunavant::winaddin {

// The DLL's folder with a trailing backslash; empty when it cannot be told.
std::wstring ModuleFolder();
// Whether a file (not a folder) of that path exists.
bool FileExists(const std::wstring& path);

}  // namespace lunavant::winaddin
