// SPDX-License-Identifier: MIT
// The calendar in force: the built-in Umm al-Qura table with the corrections file found at the
// first conversion, and the text that says so.
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

// Read once, at the first call, from the place ORBELUNE_CORRECTIONS names or the usual places.
// Thread-safe; never throws once read.
const Calendar& CalendarInForce();

// What the corrections file at `path` would put in force, checked but not applied.
Calendar CalendarWith(const std::string& path);

}  // namespace lunavant::converter::detail
