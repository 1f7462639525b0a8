// SPDX-License-Identifier: MIT
// The tabular (arithmetic) Hijri calendar: 30-year cycles of 10631 days, leap years 2, 5, 7,
// 10, 13, 16, 18, 21, 24, 26 and 29 of each cycle, months alternating 30 and 29 days, and
// month 12 of a leap year 30 days. Epoch 1/1/1 AH = 16 July 622 Julian.
#pragma once

#include <cstdint>

#include "civil.h"

namespace lunavant::converter::detail {

struct HijriDate {
  int32_t year;
  int32_t month;  // [1, 12]
  int32_t day;    // [1, 30]
};

inline constexpr int32_t kTabularEpoch = DaysFromCivil(622, 7, 19);
inline constexpr uint32_t kDaysPerCycle = 30 * 354 + 11;

constexpr bool IsTabularLeapYear(int32_t y) { return (11 * y + 14) % 30 < 11; }

// y >= 1, m in [1, 12]: day number of the month's first day.
constexpr int32_t TabularMonthStart(int32_t y, int32_t m) {
  return kTabularEpoch + (y - 1) * 354 + (11 * y + 3) / 30 + (59 * (m - 1) + 1) / 2;
}

constexpr int32_t TabularMonthLength(int32_t y, int32_t m) {
  return m % 2 == 1 || (m == 12 && IsTabularLeapYear(y)) ? 30 : 29;
}

// z on or after the epoch.
constexpr HijriDate TabularFromDays(int32_t z) {
  const uint32_t n = static_cast<uint32_t>(z - kTabularEpoch);
  const uint32_t era = n / kDaysPerCycle;
  const uint32_t doe = n % kDaysPerCycle;                         // [0, 10630]
  const uint32_t yoe = (30 * doe + 15) / kDaysPerCycle;           // [0, 29]
  const uint32_t doy = doe - (354 * yoe + (11 * yoe + 14) / 30);  // [0, 354]
  const uint32_t mp = doy < 325 ? 2 * doy / 59 : 11;              // [0, 11]
  return {static_cast<int32_t>(era * 30 + yoe + 1), static_cast<int32_t>(mp + 1),
          static_cast<int32_t>(doy - (59 * mp + 1) / 2 + 1)};
}

}  // namespace lunavant::converter::detail
