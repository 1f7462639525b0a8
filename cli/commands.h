// SPDX-License-Identifier: MIT
// The `lunavant` command line: the reference host run headless, with the add-in connected from
// the per-user registry and driven through its toolbar, its dialogs and the host's events.
//
//   lunavant show                          the bundled sample project's current table
//   lunavant add plan.xml --date Finish --text Text2
//   lunavant hijri "Mon 15/03/04" --short-date dd/MM/yyyy --date-separator /
#pragma once

#include <filesystem>
#include <ostream>

#include "cli/exit_status.h"
#include "cli/terminal_ui.h"

namespace lunavant::cli {

// Runs one command line. Results go to the terminal's output; message boxes, progress and errors
// to its error stream; questions are read from its input. `program_folder` is where the converter
// library and the add-in module are looked for first. Returns the exit status.
int RunLunavant(int argc, const char* const* argv, Terminal& terminal,
                const std::filesystem::path& program_folder);

// The same with no terminal at all: nothing to ask, no progress drawn.
int RunLunavant(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                const std::filesystem::path& program_folder);

}  // namespace lunavant::cli
