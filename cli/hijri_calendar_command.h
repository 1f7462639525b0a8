// SPDX-License-Identifier: MIT
// `lunavant hijri-calendar`: which Hijri calendar the converter library has in force (its table,
// the range, the corrections file read and what it changes), and `hijri-calendar check FILE`:
// what a corrections file would put in force, checked and not applied.
#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "addin/host/services.h"
#include "cli/host_session.h"
#include "cli/terminal_ui.h"

namespace lunavant::cli {

struct CalendarVersion {
  bool refused = false;  // a corrections file was there and was refused
  std::string text;      // the converter's own lines
};

// The converter's OrbeluneCalendarVersion: of the calendar in force, or of the corrections file
// `check`. Nothing when the library is older and lacks it: its built-in table is then in force.
std::optional<CalendarVersion> ConverterCalendar(
    host::Library& converter, const std::optional<std::filesystem::path>& check = std::nullopt);

// The months ("1446-09") whose first day or length the corrections change: the "changed:" lines.
std::set<std::string> ChangedMonths(const std::string& version_text);

// Prints the calendar text. Exit status 1 when the file (in force, or the one checked) was
// refused, 4 when the converter cannot be had.
int RunHijriCalendar(Terminal& terminal, const SessionOptions& options,
                     const std::optional<std::filesystem::path>& check);

}  // namespace lunavant::cli
