// SPDX-License-Identifier: MIT
// Dynamic libraries by bare name: "orbelune" is Orbelune.dll, looked for beside Lunavant.dll
// first, then where Windows looks for a DLL.
#pragma once

#include "addin/host/services.h"

namespace lunavant::winaddin {

class WindowsLibraryLoader final : public host::LibraryLoader {
 public:
  std::unique_ptr<host::Library> Load(std::string_view name) override;
};

// The file name a bare library name stands for: "orbelune" gives "Orbelune.dll".
std::wstring LibraryFileName(std::string_view name);

}  // namespace lunavant::winaddin
