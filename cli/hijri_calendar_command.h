// SPDX-License-Identifier: MIT
// `lunavant hijri-calendar`: which Hijri calendar the converter library has in force (its table,
// the range, the corrections file read and what it changes), and `hijri-calendar check FILE`:
// what a corrections file would put in force, checked and not applied.
#pragma once

#include <filesystem>
#include <optional>

#include "cli/host_session.h"
#include "cli/terminal_ui.h"

namespace lunavant::cli {

// Prints the calendar text. Exit status 1 when the file (in force, or the one checked) was
// refused, 4 when the converter cannot be had.
int RunHijriCalendar(Terminal& terminal, const SessionOptions& options,
                     const std::optional<std::filesystem::path>& check);

}  // namespace lunavant::cli
