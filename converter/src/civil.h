// SPDX-License-Identifier: MIT
// Proleptic Gregorian dates as a count of days since 1970-01-01, after Howard Hinnant's
// days_from_civil and civil_from_days: a 400-year era starting on 1 March, so that the leap day
// is the last day of its year.
#pragma once

#include <cstdint>

namespace lunavant::converter::detail {

static_assert(sizeof(int32_t) == 4);

struct CivilDate {
  int32_t year;
  int32_t month;  // [1, 12]
  int32_t day;    // [1, 31]
};

constexpr bool IsGregorianLeapYear(int32_t y) {
  return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0);
}

constexpr int32_t LastDayOfGregorianMonth(int32_t y, int32_t m) {
  constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsGregorianLeapYear(y) ? 29 : kDays[m - 1];
}

// y within a few million years of 0, m in [1, 12], d in [1, 31].
constexpr int32_t DaysFromCivil(int32_t y, int32_t m, int32_t d) {
  y -= m <= 2;
  const int32_t era = (y >= 0 ? y : y - 399) / 400;
  const int32_t yoe = y - era * 400;                                     // [0, 399]
  const int32_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;  // [0, 365]
  const int32_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;            // [0, 146096]
  return era * 146097 + doe - 719468;
}

constexpr CivilDate CivilFromDays(int32_t z) {
  z += 719468;
  const int32_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int32_t doe = z - era * 146097;                                        // [0, 146096]
  const int32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
  const int32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);               // [0, 365]
  const int32_t mp = (5 * doy + 2) / 153;                                     // [0, 11]
  const int32_t d = doy - (153 * mp + 2) / 5 + 1;                             // [1, 31]
  const int32_t m = mp < 10 ? mp + 3 : mp - 9;                                // [1, 12]
  return {yoe + era * 400 + (m <= 2), m, d};
}

// [0, 6], 0 Sunday; 1970-01-01 was a Thursday.
constexpr int32_t WeekdayFromDays(int32_t z) {
  return z >= -4 ? (z + 4) % 7 : (z + 5) % 7 + 6;
}

}  // namespace lunavant::converter::detail
