// SPDX-License-Identifier: MIT
#include "orbelune.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "calendar.h"
#include "civil.h"
#include "tabular_hijri.h"
#include "umalqura_table.h"

namespace lunavant::converter {
namespace {

using detail::CivilDate;
using detail::HijriDate;

// The widest range that both calendars cover and that every caller's four-digit years can show.
constexpr int32_t kFirstDay = detail::TabularMonthStart(1, 1) + detail::kShiftBefore;
constexpr int32_t kLastDay = detail::DaysFromCivil(9999, 12, 31);
// Both ends lie outside the table, where corrections never reach.
constexpr int32_t kLastHijriYear = detail::HijriFromDays(detail::kBuiltInTable, kLastDay).year;
static_assert(detail::HijriFromDays(detail::kBuiltInTable, kFirstDay).year == 1 &&
              detail::HijriFromDays(detail::kBuiltInTable, kFirstDay).month == 1);

constexpr bool IsGregorianDate(int32_t y, int32_t m, int32_t d) {
  return m >= 1 && m <= 12 && d >= 1 && d <= detail::LastDayOfGregorianMonth(y, m);
}

int32_t GregorianToHijri(int32_t gy, int32_t gm, int32_t gd, HijriDate& hijri, int32_t& weekday) {
  // Impossible whatever the year, as H2GA judges its month and day before its year.
  if (!IsGregorianDate(gy, gm, gd)) return ORBELUNE_INVALID_DATE;
  if (gy < 1 || gy > 9999) return ORBELUNE_OUT_OF_RANGE;
  const int32_t z = detail::DaysFromCivil(gy, gm, gd);
  if (z < kFirstDay) return ORBELUNE_OUT_OF_RANGE;
  hijri = detail::HijriFromDays(detail::g_calendar_in_force.table, z);
  weekday = detail::WeekdayFromDays(z);
  return ORBELUNE_OK;
}

int32_t HijriToGregorian(int32_t hy, int32_t hm, int32_t hd, CivilDate& civil, int32_t& weekday) {
  if (hm < 1 || hm > 12 || hd < 1 || hd > 30) return ORBELUNE_INVALID_DATE;
  if (hy < 1 || hy > kLastHijriYear) return ORBELUNE_OUT_OF_RANGE;
  const detail::MonthSpan month = detail::HijriMonthSpan(detail::g_calendar_in_force.table, hy, hm);
  // A day the month lacks lands on the first day of the next month.
  const int32_t z = month.start + std::min(hd - 1, month.length);
  if (z < kFirstDay || z > kLastDay) return ORBELUNE_OUT_OF_RANGE;
  civil = detail::CivilFromDays(z);
  weekday = detail::WeekdayFromDays(z);
  return ORBELUNE_OK;
}

// The text into the caller's buffer, cut to fit and always closed when there is room at all.
void CopyText(const std::string& source, char* text, int32_t capacity, int32_t* length) {
  *length = static_cast<int32_t>(
      std::min<std::size_t>(source.size(), std::numeric_limits<int32_t>::max()));
  if (capacity <= 0) return;
  const std::size_t copied = std::min<std::size_t>(source.size(), std::size_t(capacity) - 1);
  std::memcpy(text, source.data(), copied);
  text[copied] = '\0';
}

}  // namespace
}  // namespace lunavant::converter

extern "C" ORBELUNE_API int32_t ORBELUNE_CALL G2HA(int32_t gy, int32_t gm, int32_t gd, int32_t* hy,
                                                   int32_t* hm, int32_t* hd, int32_t* weekday) {
  if (hy == nullptr || hm == nullptr || hd == nullptr || weekday == nullptr)
    return ORBELUNE_NULL_POINTER;
  int32_t result = ORBELUNE_INTERNAL_ERROR;
  lunavant::converter::detail::HijriDate hijri{0, 0, 0};
  int32_t day_of_week = 0;
  try {
    result = lunavant::converter::GregorianToHijri(gy, gm, gd, hijri, day_of_week);
  } catch (...) {
    result = ORBELUNE_INTERNAL_ERROR;
  }
  if (result != ORBELUNE_OK) {
    hijri = {0, 0, 0};
    day_of_week = 0;
  }
  *hy = hijri.year;
  *hm = hijri.month;
  *hd = hijri.day;
  *weekday = day_of_week;
  return result;
}

extern "C" ORBELUNE_API int32_t ORBELUNE_CALL H2GA(int32_t* hy, int32_t* hm, int32_t* hd,
                                                   int32_t* gy, int32_t* gm, int32_t* gd,
                                                   int32_t* weekday) {
  if (hy == nullptr || hm == nullptr || hd == nullptr || gy == nullptr || gm == nullptr ||
      gd == nullptr || weekday == nullptr)
    return ORBELUNE_NULL_POINTER;
  int32_t result = ORBELUNE_INTERNAL_ERROR;
  lunavant::converter::detail::CivilDate civil{0, 0, 0};
  int32_t day_of_week = 0;
  try {
    result = lunavant::converter::HijriToGregorian(*hy, *hm, *hd, civil, day_of_week);
  } catch (...) {
    result = ORBELUNE_INTERNAL_ERROR;
  }
  if (result != ORBELUNE_OK) {
    civil = {0, 0, 0};
    day_of_week = 0;
  }
  *gy = civil.year;
  *gm = civil.month;
  *gd = civil.day;
  *weekday = day_of_week;
  return result;
}

extern "C" ORBELUNE_API int32_t ORBELUNE_CALL OrbeluneCalendarVersion(const char* corrections_file,
                                                                      char* text, int32_t capacity,
                                                                      int32_t* length) {
  if (length == nullptr || (text == nullptr && capacity > 0)) return ORBELUNE_NULL_POINTER;
  try {
    if (corrections_file == nullptr) {
      const lunavant::converter::detail::Calendar& calendar =
          lunavant::converter::detail::g_calendar_in_force;
      lunavant::converter::CopyText(calendar.description, text, capacity, length);
      return calendar.refused ? ORBELUNE_CORRECTIONS_REFUSED : ORBELUNE_OK;
    }
    const lunavant::converter::detail::Calendar checked =
        lunavant::converter::detail::CalendarWith(corrections_file);
    lunavant::converter::CopyText(checked.description, text, capacity, length);
    return checked.refused ? ORBELUNE_CORRECTIONS_REFUSED : ORBELUNE_OK;
  } catch (...) {
    *length = 0;
    if (capacity > 0) text[0] = '\0';
    return ORBELUNE_INTERNAL_ERROR;
  }
}
