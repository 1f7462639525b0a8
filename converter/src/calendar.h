// SPDX-License-Identifier: MIT
// The calendar in force: the built-in Umm al-Qura table with the corrections file found when the
// library was loaded, and the text that says so.
#pragma once

#include <string>

#include "umalqura_table.h"

namespace lunavant::converter::detail {

struct Calendar {
  MonthTable table = kBuiltInTable;
  // A few lines: the table and its range, the corrections file read, each correction, each month
  // that differs from the table.
  std::string description;
  bool refused = false;  // a corrections file was there but not taken: the table alone
};

// Read once, as the library is loaded (a global's initialisation: before dlopen or LoadLibrary
// returns, so every call sees it complete), from the place ORBELUNE_CORRECTIONS names or the
// usual places. A failure to read leaves the built-in table in force; nothing escapes the load.
// Reached directly rather than through a function, so a conversion pays nothing for it.
extern const Calendar g_calendar_in_force;

// What the corrections file at `path` would put in force, checked but not applied.
Calendar CalendarWith(const std::string& path);

}  // namespace lunavant::converter::detail
