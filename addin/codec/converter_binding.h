// SPDX-License-Identifier: MIT
// The converter library, found by name through the platform on first use; each of its two exports
// is bound on the first conversion that needs it. A failed load is retried at the next call, so a
// library installed meanwhile is found.
#pragma once

#include <cstdint>
#include <string_view>

namespace lunavant::codec {

// The converter's bare name; the platform adds its prefix and suffix.
inline constexpr std::string_view kConverterName = "orbelune";

struct CalendarDate {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
};

struct GregorianDay {
  CalendarDate date;
  std::int32_t weekday = 0;  // 0 Sunday to 6 Saturday
};

// Fail with the platform's error (53, 48, 453) when the library or an export cannot be had, and
// with kInvalidProcedureCall when the converter reports the date as not convertible.
CalendarDate GregorianToHijri(const CalendarDate& gregorian);
GregorianDay HijriToGregorian(const CalendarDate& hijri);

namespace detail {
// Forgets the loaded library, as a fresh process would.
void UnloadConverter();
}  // namespace detail

}  // namespace lunavant::codec
