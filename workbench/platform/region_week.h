// SPDX-License-Identifier: MIT
// The working week of a region as CLDR's week data has it (through ICU): which weekdays its
// weekend holds. A project made from scratch starts with its user's region's week: Sunday to
// Thursday in Saudi Arabia, Monday to Friday in Germany.
//
//   WorkWeek week = RegionWorkWeek(UserRegion());    // "SA": Sunday to Thursday
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "workbench/schedule/calendar.h"

namespace lunavant::workbench {

// The region of the user's locale (LC_ALL, then LC_TIME, then LANG): "SA" for "ar_SA.UTF-8";
// empty for the C and POSIX locales and a locale that names no region.
std::string UserRegion();
// The weekdays a region works, its weekend's days off; Monday to Friday for an empty or unknown
// region (CLDR's world default).
WorkWeek RegionWorkWeek(std::string_view region);
// The region's name in English ("Saudi Arabia"); the code itself when ICU has none.
std::string RegionName(std::string_view region);
// Regions a user picks from first: those of the shipped holiday sets and a few others, by code.
std::vector<std::string> CommonRegions();
// A project calendar of the region's week, 08:00 to 17:00 with an hour off at noon.
ProjectCalendar RegionCalendar(std::string_view region);

}  // namespace lunavant::workbench
