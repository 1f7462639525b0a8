// SPDX-License-Identifier: MIT
#include "workbench/addins/program_layout.h"

#include <system_error>

#include "workbench/model/application.h"
#include "workbench/platform/picture_loader.h"

// Set by the build from the installation directories, relative to the programs' directory.
#ifndef LUNAVANT_INSTALLED_ADDIN_DIR
#define LUNAVANT_INSTALLED_ADDIN_DIR "../lib/lunavant"
#endif
#ifndef LUNAVANT_INSTALLED_FACES_DIR
#define LUNAVANT_INSTALLED_FACES_DIR "../share/lunavant/faces"
#endif

namespace lunavant::workbench {

ProgramLayout LayoutOf(const std::filesystem::path& program_folder) {
  if (program_folder.empty()) return {};
  std::error_code error;
  if (std::filesystem::exists(program_folder / kAddInModuleFileName, error)) {
    return {program_folder, program_folder};
  }
  return {(program_folder / LUNAVANT_INSTALLED_ADDIN_DIR).lexically_normal(),
          (program_folder / LUNAVANT_INSTALLED_FACES_DIR).lexically_normal()};
}

void SearchLayoutFirst(Application& app, const ProgramLayout& layout) {
  if (!layout.faces_folder.empty()) app.Pictures().AddSearchFolderFirst(layout.faces_folder);
  if (!layout.addin_folder.empty()) app.Libraries().AddSearchFolderFirst(layout.addin_folder);
}

}  // namespace lunavant::workbench
