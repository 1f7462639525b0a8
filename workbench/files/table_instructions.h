// SPDX-License-Identifier: MIT
// The task tables and the current table of a project as processing instructions before the root
// element of its document, which MSPDI readers ignore: a table, then its columns, each with its
// values in attribute form, escaped so that no instruction can end early.
//
//   <?lunavant-table name="Entry"?>
//   <?lunavant-column field="188743694" title="" width="24" align="0" title-align="1" wrap="1"?>
//   <?lunavant-current-table name="Entry"?>
#pragma once

#include <pugixml.hpp>
#include <string>

namespace lunavant::workbench {
class Application;
class Project;
}  // namespace lunavant::workbench

namespace lunavant::workbench::detail {

// The project's tables in instruction form, one instruction a line; a save compares it with
// what the document had.
std::string TablesText(Project& project);
// The tables of a new project in instruction form: a document without instructions has these.
std::string DefaultTablesText(Application& app);

// Gives `project` the tables of `doc`'s instructions; whether there were any. Fails with a
// LoadFailure at an instruction that cannot be read.
bool ReadTables(const pugi::xml_document& doc, Project& project);
// Replaces the instructions before `root` with the project's tables.
void WriteTables(pugi::xml_document& doc, pugi::xml_node root, Project& project);

}  // namespace lunavant::workbench::detail
