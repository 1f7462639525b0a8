// SPDX-License-Identifier: MIT
// The platform's short-date writing, as the Basic runtime's formatting does it for the user's
// locale (reading is in date_reading.h): a date with a short-date pattern, through the one pattern
// writer the add-in uses too, and a time of day.
//
//   FormatDateWithPattern("M/d/yyyy", 2004, 3, 5, /*two_digit_year=*/true);  // "3/5/04"
//   FormatTimeOfDay(8, 5, 0);                                                // "08:05:00"
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lunavant::workbench {

// The "C" locale's short date (D_FMT "%m/%d/%y"), used wherever a pattern is missing.
inline constexpr std::string_view kCShortDatePattern = "MM/dd/yy";

// Writes a date with a short-date pattern, as datepattern::DatePattern does (d, dd, M, MM, y, yy,
// yyyy; ddd and dddd weekday names, MMM and MMMM month names; text in single quotes without them,
// '' one quote). With two_digit_year every "yyyy" becomes "yy" first. The empty pattern writes
// with kCShortDatePattern.
std::string FormatDateWithPattern(std::string_view pattern, std::int32_t year, std::int32_t month,
                                  std::int32_t day, bool two_digit_year);

// The time of day as HH:MM:SS, 24-hour.
std::string FormatTimeOfDay(std::int32_t hour, std::int32_t minute, std::int32_t second);

}  // namespace lunavant::workbench
