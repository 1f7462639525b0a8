// SPDX-License-Identifier: MIT
// `lunavant holidays`: a holiday set dated over Hijri years and added to a project's calendar as
// named non-working exceptions, or taken off it again; the schedule is recalculated, so work
// moves off them (or back) at once.
//
//   lunavant holidays plan.xml --set sa --years 1447-1449 --dry-run
//   lunavant holidays plan.xml --set ae --years 1447-1449 --remove
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "cli/host_session.h"
#include "cli/project_commands.h"
#include "cli/terminal_ui.h"

namespace lunavant::cli {

struct HolidaysOptions {
  std::filesystem::path file;
  std::string set;                      // a shipped set's name or a path to a .holidays file
  std::string years;                    // "1447" or "1447-1450"
  std::optional<std::string> calendar;  // the project's own when left out
  bool remove = false;                  // take the set's holidays of the years off instead
  bool list = false;                    // list the calendar's exceptions; no set, no years
  bool json = false;
  SaveOptions save;
};

// Lists every holiday of the years with its Hijri and Gregorian days and what becomes of it
// (added, or with `remove` taken off), then saves (unless --dry-run, or nothing changed). With
// `list`, lists the calendar's exceptions and changes nothing. Fails with kExitUsage for a set,
// years or calendar that cannot be had, kExitAddIn when the converter cannot be loaded, and
// kExitFile as the other project commands.
int RunHolidays(Terminal& terminal, const SessionOptions& options, const HolidaysOptions& holidays);

}  // namespace lunavant::cli
