// SPDX-License-Identifier: MIT
// The platform's date reading, as the Basic runtime's CDate does it for the user's locale: reads a
// date, a time of day or both from text in the regional order of a short-date pattern (writing is
// in date_writing.h). PosixRegionalSettings feeds it with the user's pattern and separator; these
// are free functions so that other parts of the workbench can read with a pattern of their own.
//
//   DateOrder order = DateOrderOfPattern("dd/MM/yyyy");
//   host::DateTime when = ReadDateText("Mon 15/03/04 08:00", order, "/");  // 2004-03-15 08:00:00
#pragma once

#include <cstdint>
#include <string_view>

#include "addin/host/value.h"

namespace lunavant::workbench {

enum class DateOrder { kDayMonthYear, kMonthDayYear, kYearMonthDay, kYearDayMonth };

// The order in which a short-date pattern writes day, month and year (text in single quotes and
// weekday names, ddd and dddd, do not count). A pattern that does not name all three, the empty
// pattern among them, gives the "C" locale's month-day-year order.
DateOrder DateOrderOfPattern(std::string_view pattern);

// Reads a date, a time of day, or both (in either order, blanks between), with blanks allowed
// around. A part that reads as a time is one, whatever the separator. The date is three elements
// in `order` joined by one separator used twice: "/", "-", "." or `date_separator`, the longest
// that makes a date where one starts another; an English weekday name may come before it ("Mon",
// "monday,"); a month may be an English month name; a first element of three or four digits is a
// year (2004-03-15; followed by the day only in kYearDayMonth). One- and two-digit years fall in
// 1930..2029; the date must exist, in years 100..9999. Times: 8:00, 08:00:30, 8:00 PM, 8 PM
// (hours 1..12 with AM or PM, 0..23 without). A value with only a time has year, month and day 0.
// Anything else, a date without a year among it, fails with host::kTypeMismatch and
// "Type mismatch" (host::RuntimeMessage). Any bytes may be given.
host::DateTime ReadDateText(std::string_view text, DateOrder order,
                            std::string_view date_separator);

// Whether the whole text, blanks around allowed, is a time of day as ReadDateText reads one.
bool ReadsAsTimeOfDay(std::string_view text);

// Whether the date exists in the proleptic Gregorian calendar in the years the reader accepts,
// 100..9999.
bool IsReadableDate(std::int32_t year, std::int32_t month, std::int32_t day);

// Whether a two-digit year reads back as `year`: true for 1930..2029.
bool TwoDigitYearReadsBack(std::int32_t year);

}  // namespace lunavant::workbench
