// SPDX-License-Identifier: MIT
// Proleptic Gregorian dates as a count of days since 1970-01-01. As in Howard Hinnant's
// days_from_civil and civil_from_days, years start on 1 March, so that the leap day is the last
// day of its year.
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

// Neri and Schneider's Euclidean affine form of the same mapping ("Euclidean affine functions
// and their application to calendar algorithms", 2022): all unsigned, no branches. Years are
// shifted by kEraShift 400-year eras, so that every year from -32800 on counts as positive.
inline constexpr uint32_t kEraShift = 82;
inline constexpr uint32_t kYearShift = 400 * kEraShift;
inline constexpr uint32_t kDayShift =
    719468 + 146097 * kEraShift;  // 1 March of year -kYearShift is day 0

// y in [-32800, 9999], m in [1, 12], d in [1, 31].
constexpr int32_t DaysFromCivil(int32_t y, int32_t m, int32_t d) {
  const uint32_t january_or_february = m <= 2;
  const uint32_t year =
      static_cast<uint32_t>(y) + kYearShift - january_or_february;             // from 1 March
  const uint32_t month = static_cast<uint32_t>(m) + 12 * january_or_february;  // [3, 14]
  const uint32_t century = year / 100;
  const uint32_t year_days = 1461 * year / 4 - century + century / 4;
  const uint32_t month_days = (979 * month - 2919) / 32;  // [0, 337]
  return static_cast<int32_t>(year_days + month_days + static_cast<uint32_t>(d) - 1 - kDayShift);
}

// z from -12699422 (1 March -32800) to 2932896 (31 December 9999).
constexpr CivilDate CivilFromDays(int32_t z) {
  const uint32_t n = 4 * (static_cast<uint32_t>(z) + kDayShift) + 3;
  const uint32_t century = n / 146097;
  const uint32_t century_days = n % 146097 / 4 * 4 + 3;
  const uint64_t product = uint64_t{2939745} * century_days;
  const uint32_t year_of_century = static_cast<uint32_t>(product >> 32);  // [0, 99]
  const uint32_t doy = static_cast<uint32_t>(product) / 2939745 / 4;      // [0, 365], from 1 March
  const uint32_t month_and_day = 2141 * doy + 197913;
  const uint32_t month = month_and_day >> 16;            // [3, 14]
  const uint32_t day = (month_and_day & 0xFFFF) / 2141;  // [0, 30]
  const uint32_t january_or_february = doy >= 306;
  return {static_cast<int32_t>(100 * century + year_of_century + january_or_february - kYearShift),
          static_cast<int32_t>(month - 12 * january_or_february), static_cast<int32_t>(day + 1)};
}

// [0, 6], 0 Sunday; 1970-01-01 was a Thursday. z >= -1050000.
constexpr int32_t WeekdayFromDays(int32_t z) {
  return static_cast<int32_t>((static_cast<uint32_t>(z) + 4 + 7 * 150000) % 7);
}

}  // namespace lunavant::converter::detail
