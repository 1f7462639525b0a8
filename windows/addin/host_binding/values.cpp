// SPDX-License-Identifier: MIT
#include "host_binding/values.h"

#include <oleauto.h>

#include <cmath>
#include <cstdint>

#include "host_binding/automation.h"
#include "text.h"

namespace lunavant::winaddin {
namespace {

// Days from 1 March of year 0 (proleptic Gregorian) to the date; Hinnant's algorithm.
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t z, std::int32_t& year, std::int32_t& month, std::int32_t& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const std::int64_t doe = z - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  day = static_cast<std::int32_t>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<std::int32_t>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<std::int32_t>(yoe + era * 400 + (month <= 2));
}

// 30 December 1899, day 0 of OLE Automation dates, counted as DaysFromCivil counts.
const std::int64_t kOleEpoch = DaysFromCivil(1899, 12, 30);
constexpr std::int64_t kSecondsPerDay = 86400;

}  // namespace

std::optional<host::DateTime> DateTimeOf(double ole_date) {
  // Before day 0 the fraction counts forward from the day, not back: -1.25 is 29 December, 6:00.
  if (!std::isfinite(ole_date) || ole_date < -657434.0 || ole_date >= 2958466.0) {
    return std::nullopt;
  }
  const double whole = std::trunc(ole_date);
  const double fraction = std::fabs(ole_date - whole);
  auto day_number = static_cast<std::int64_t>(whole);
  auto seconds = static_cast<std::int64_t>(std::llround(fraction * kSecondsPerDay));
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    day_number += ole_date < 0 ? -1 : 1;
  }
  host::DateTime when;
  if (day_number != 0) CivilFromDays(kOleEpoch + day_number, when.year, when.month, when.day);
  when.hour = static_cast<std::int32_t>(seconds / 3600);
  when.minute = static_cast<std::int32_t>(seconds / 60 % 60);
  when.second = static_cast<std::int32_t>(seconds % 60);
  return when;
}

double OleDateOf(const host::DateTime& when) {
  const std::int64_t day_number =
      when.year == 0 ? 0 : DaysFromCivil(when.year, when.month, when.day) - kOleEpoch;
  const double fraction =
      static_cast<double>(when.hour * 3600 + when.minute * 60 + when.second) / kSecondsPerDay;
  return day_number >= 0 ? static_cast<double>(day_number) + fraction
                         : static_cast<double>(day_number) - fraction;
}

host::Value ValueOf(const VARIANT& value) {
  if ((value.vt & VT_BYREF) != 0 && value.vt == (VT_VARIANT | VT_BYREF)) {
    return value.pvarVal != nullptr ? ValueOf(*value.pvarVal) : host::Value();
  }
  VARIANT plain;
  VariantInit(&plain);
  // By-reference values of other types: copied out as values first.
  if ((value.vt & VT_BYREF) != 0) {
    if (FAILED(VariantCopyInd(&plain, const_cast<VARIANT*>(&value)))) return {};
  } else {
    plain = value;
  }
  host::Value result;
  switch (plain.vt) {
    case VT_BSTR:
      result = plain.bstrVal == nullptr ? host::Value(std::string())
                                        : host::Value(com::Narrow(std::wstring_view(
                                              plain.bstrVal, SysStringLen(plain.bstrVal))));
      break;
    case VT_DATE:
      if (const auto when = DateTimeOf(plain.date)) result = host::Value(*when);
      break;
    case VT_EMPTY:
    case VT_NULL:
    case VT_ERROR:
    case VT_DISPATCH:
    case VT_UNKNOWN:
      break;
    default: {
      VARIANT number;
      VariantInit(&number);
      if (SUCCEEDED(VariantChangeType(&number, &plain, 0, VT_R8)))
        result = host::Value(number.dblVal);
      VariantClear(&number);
      break;
    }
  }
  if ((value.vt & VT_BYREF) != 0) VariantClear(&plain);
  return result;
}

com::Variant VariantOf(const host::Value& value) {
  if (value.IsText()) return com::Variant::Text(com::Widen(value.Text()));
  if (value.IsDateTime()) return com::Variant::Date(OleDateOf(value.When()));
  if (value.IsNumber()) {
    VARIANT number;
    VariantInit(&number);
    number.vt = VT_R8;
    number.dblVal = value.Number();
    return com::Variant(number);
  }
  return com::Variant();
}

}  // namespace lunavant::winaddin
