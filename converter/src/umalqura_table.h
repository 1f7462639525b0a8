// SPDX-License-Identifier: MIT
// The official Umm al-Qura months, generated at build time from data/umalqura-months.csv, and
// the tabular calendar that continues them on both sides. Everything here is computed and
// checked at compile time, so a revised table is a data change: an inconsistent one fails the
// build.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "civil.h"
#include "tabular_hijri.h"

namespace lunavant::converter::detail {

struct MonthRow {
  int32_t hijri_year;
  int32_t hijri_month;
  int32_t gregorian_year;
  int32_t gregorian_month;
  int32_t gregorian_day;
  int32_t length;
};

inline constexpr MonthRow kMonthRows[] = {
#include "umalqura_months.inc"
};

inline constexpr int32_t kMonthCount = static_cast<int32_t>(std::size(kMonthRows));
// Months counted from 1/1 AH 0, so that year = index / 12 and month = index % 12 + 1.
inline constexpr int32_t kFirstMonthIndex =
    kMonthRows[0].hijri_year * 12 + kMonthRows[0].hijri_month - 1;
inline constexpr int32_t kEndMonthIndex =
    kFirstMonthIndex + kMonthCount;  // first month after the table

consteval bool TableIsConsistent() {
  int32_t index = kFirstMonthIndex;
  int32_t next_start = 0;
  for (const MonthRow& row : kMonthRows) {
    if (row.hijri_year < 1 || row.hijri_month < 1 || row.hijri_month > 12) return false;
    if (row.hijri_year * 12 + row.hijri_month - 1 != index++)
      return false;  // a month missing or repeated
    if (row.gregorian_year < 1 || row.gregorian_month < 1 || row.gregorian_month > 12 ||
        row.gregorian_day < 1 ||
        row.gregorian_day > LastDayOfGregorianMonth(row.gregorian_year, row.gregorian_month))
      return false;
    if (row.length < 28 || row.length > 30) return false;
    const int32_t start = DaysFromCivil(row.gregorian_year, row.gregorian_month, row.gregorian_day);
    if (&row != &kMonthRows[0] && start != next_start) return false;  // a gap or an overlap
    next_start = start + row.length;
  }
  return true;
}
static_assert(TableIsConsistent(),
              "umalqura-months.csv: months must follow one another, each 28 to 30 days long, "
              "each starting the day after the previous one ends");

// Day number of each month's first day, and one past the end.
inline constexpr std::array<int32_t, kMonthCount + 1> kMonthStart = [] {
  std::array<int32_t, kMonthCount + 1> starts{};
  for (int32_t i = 0; i < kMonthCount; ++i) {
    const MonthRow& row = kMonthRows[i];
    starts[i] = DaysFromCivil(row.gregorian_year, row.gregorian_month, row.gregorian_day);
  }
  starts[kMonthCount] = starts[kMonthCount - 1] + kMonthRows[kMonthCount - 1].length;
  return starts;
}();
inline constexpr int32_t kTableFirstDay = kMonthStart[0];
inline constexpr int32_t kTableSpan = kMonthStart[kMonthCount] - kTableFirstDay;

// The tabular calendar shifted so that it meets the table exactly: the month before the table
// ends the day before it starts, and the month after it starts the day after it ends. With the
// current table both shifts are zero; a revised table may move them.
inline constexpr int32_t kShiftBefore =
    kTableFirstDay - TabularMonthStart(kFirstMonthIndex / 12, kFirstMonthIndex % 12 + 1);
inline constexpr int32_t kShiftAfter =
    kMonthStart[kMonthCount] - TabularMonthStart(kEndMonthIndex / 12, kEndMonthIndex % 12 + 1);

// Days are grouped in buckets shorter than any month, so a bucket's first day names the month
// and at most one month boundary falls inside the bucket.
inline constexpr int32_t kBucketShift = 4;
static_assert((1 << kBucketShift) < 28);
static_assert(kMonthCount < 65536);
inline constexpr std::size_t kBucketCount =
    (static_cast<std::size_t>(kTableSpan) >> kBucketShift) + 1;

// The months of the table as a calendar uses them: the built-in one, or the built-in one with a
// user's corrections, which move month boundaries inside the table but never its two ends.
struct MonthTable {
  std::array<int32_t, kMonthCount + 1> start;  // day number of each month's first day, and the end
  std::array<uint16_t, kBucketCount> bucket;   // the month holding each bucket's first day
};

// `starts` must begin and end as kMonthStart does, each month 17 days long or more.
constexpr MonthTable MonthTableOf(const std::array<int32_t, kMonthCount + 1>& starts) {
  MonthTable table{starts, {}};
  int32_t month = 0;
  for (std::size_t b = 0; b < kBucketCount; ++b) {
    const int32_t day = kTableFirstDay + static_cast<int32_t>(b << kBucketShift);
    while (month + 1 < kMonthCount && starts[month + 1] <= day) ++month;
    table.bucket[b] = static_cast<uint16_t>(month);
  }
  return table;
}

inline constexpr MonthTable kBuiltInTable = MonthTableOf(kMonthStart);

// Day number and length of Hijri month y-m, y >= 1, m in [1, 12].
struct MonthSpan {
  int32_t start;
  int32_t length;
};

constexpr MonthSpan HijriMonthSpan(const MonthTable& table, int32_t y, int32_t m) {
  const int32_t index = y * 12 + m - 1 - kFirstMonthIndex;
  if (index >= 0 && index < kMonthCount)
    return {table.start[index], table.start[index + 1] - table.start[index]};
  return {TabularMonthStart(y, m) + (index < 0 ? kShiftBefore : kShiftAfter),
          TabularMonthLength(y, m)};
}

// z on or after the first day of 1 AH (as shifted).
constexpr HijriDate HijriFromDays(const MonthTable& table, int32_t z) {
  const int32_t offset = z - kTableFirstDay;
  if (offset >= 0 && offset < kTableSpan) {
    int32_t month = table.bucket[static_cast<std::size_t>(offset) >> kBucketShift];
    month += table.start[month + 1] <= z;
    const int32_t index = kFirstMonthIndex + month;
    return {index / 12, index % 12 + 1, z - table.start[month] + 1};
  }
  return TabularFromDays(z - (offset < 0 ? kShiftBefore : kShiftAfter));
}

}  // namespace lunavant::converter::detail
