// SPDX-License-Identifier: MIT
// Dynamic libraries by bare name: "orbelune" is Orbelune.dll in Lunavant.dll's own folder, and
// only there. A copy elsewhere (beside the host's program, in the current folder, on PATH) is
// never loaded: a converter nobody installed with the add-in must not compute a user's dates.
#pragma once

#include <string>

#include "addin/host/services.h"

namespace lunavant::winaddin {

class WindowsLibraryLoader final : public host::LibraryLoader {
 public:
  // Loads the library from `folder` (with a trailing backslash) by its full path; an empty folder,
  // the default, is the folder of Lunavant.dll. Fails with kFileNotFound when the file is not
  // there, kErrorLoadingLibrary when it is but cannot be loaded, and the library's Symbol with
  // kEntryPointNotFound; each description names the full path and says to reinstall.
  explicit WindowsLibraryLoader(std::wstring folder = {}) : folder_(std::move(folder)) {}
  std::unique_ptr<host::Library> Load(std::string_view name) override;

 private:
  std::wstring folder_;
};

// The file name a bare library name stands for: "orbelune" gives "Orbelune.dll".
std::wstring LibraryFileName(std::string_view name);

// What the user is told to do about a converter that is missing or broken.
inline constexpr char kReinstallAdvice[] =
    ". Lunavant's converter is missing or damaged: reinstall Lunavant to repair it.";

}  // namespace lunavant::winaddin
