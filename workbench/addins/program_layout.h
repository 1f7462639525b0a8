// SPDX-License-Identifier: MIT
// Where a front end finds what it ships with: the add-in module (with the converter beside it)
// and the add-in's button faces. A build tree keeps them all beside the programs; an installation
// keeps them where the system's conventions put them, found relative to the program's own folder,
// so an installation works under any prefix and needs no environment variable.
//
//   ProgramLayout layout = LayoutOf(program_folder);   // the folder of /proc/self/exe
//   SearchLayoutFirst(app, layout);                    // the converter and faces are found there
//   RegisterModule(layout.AddInModule(), registry);
#pragma once

#include <filesystem>
#include <string_view>

namespace lunavant::workbench {

class Application;

// The add-in module's file name, in a build tree and installed alike.
inline constexpr std::string_view kAddInModuleFileName = "liblunavant.so";

struct ProgramLayout {
  // Holds the add-in module and the converter (installed: a link to the shared library).
  std::filesystem::path addin_folder;
  // Holds Lunavant_Add.bmp and the other button faces.
  std::filesystem::path faces_folder;

  std::filesystem::path AddInModule() const { return addin_folder / kAddInModuleFileName; }
};

// The build tree's layout when the add-in module lies beside the program, else the installed one
// (by default ../lib/lunavant and ../share/lunavant/faces from the program's folder). An empty
// folder gives an empty layout.
ProgramLayout LayoutOf(const std::filesystem::path& program_folder);

// Puts the layout's add-in folder first in the library search and its faces folder first in the
// picture search, so the host's own views find the converter even with no add-in connected.
void SearchLayoutFirst(Application& app, const ProgramLayout& layout);

}  // namespace lunavant::workbench
