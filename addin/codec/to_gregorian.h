// SPDX-License-Identifier: MIT
// Typed Hijri text into the Gregorian date text written into the paired date field.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "addin/host/value.h"

namespace lunavant::codec {

// Three whole numbers (blanks around them allowed) joined by the host's date separator, with day
// 1..30, month 1..12 and year 100..9999. Reads the separator from the host. Digits may be ASCII,
// Arabic-Indic (U+0660..U+0669) or Extended Arabic-Indic (U+06F0..U+06F9).
bool IsWellFormedHijri(const host::Value& value);
// 28/3/1404 to 7/4/1472, both ends included; the day is not compared with the month's length.
bool IsInHijriRange(std::int32_t year, std::int32_t month, std::int32_t day);

// "Mon 15/03/04" for the typed Hijri date of a Monday, 15 March 2004 (short-date pattern
// dd/MM/yyyy). The empty text and "NA" in any letter case come back unchanged. A day its month
// lacks in the calendar in force (30 of a 29-day month) is refused as malformed text is. Any
// failure is shown once through ShowError (103 and 104 with their own words) and gives the empty
// text.
std::string ToGregorianText(const host::Value& value);

}  // namespace lunavant::codec
