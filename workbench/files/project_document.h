// SPDX-License-Identifier: MIT
// The MSPDI document a project keeps (see project_file.h), for the parts of a file the model does
// not hold, such as the names of calendar exceptions. What is written into it is saved as it
// stands.
#pragma once

#include <pugixml.hpp>

namespace lunavant::workbench {

class Project;

// The document's Project element; a project made in the workbench gets a new document, written
// from the model as a first save would write it.
pugi::xml_node ProjectDocumentRoot(Project& project);

}  // namespace lunavant::workbench
