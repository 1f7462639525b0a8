// SPDX-License-Identifier: MIT
// The host's VARIANTs as the add-in's dynamically typed values, and back: text, number,
// date-and-time, empty. By-reference values are read through; an error value (a left-out
// argument) and Null count as empty.
#pragma once

#include <oaidl.h>

#include <optional>

#include "addin/host/value.h"
#include "variant.h"

namespace lunavant::winaddin {

host::Value ValueOf(const VARIANT& value);
com::Variant VariantOf(const host::Value& value);

// An OLE Automation date (days since 30 December 1899, the time as the fraction) as a calendar
// date and time of day, and back. A value of day 0 holds only a time of day: its year, month and
// day are 0. Empty for a value outside the years 100 to 9999.
std::optional<host::DateTime> DateTimeOf(double ole_date);
double OleDateOf(const host::DateTime& when);

}  // namespace lunavant::winaddin
