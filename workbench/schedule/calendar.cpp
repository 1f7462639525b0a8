// SPDX-License-Identifier: MIT
#include "workbench/schedule/calendar.h"

#include <algorithm>

#include "addin/host/error.h"
#include "workbench/model/messages.h"

namespace lunavant::workbench {

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

const Moment kFirstHostMoment = MomentOf(kFirstHostYear, 1, 1);
const Moment kLastHostMoment = MomentOf(kLastHostYear, 12, 31, 23, 59);

}  // namespace

// Civil-from-days and back after Howard Hinnant's algorithms: eras of 400 years.
std::int64_t DaysFromCivil(std::int32_t year, std::int32_t month, std::int32_t day) {
  const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
  const std::int64_t era = FloorDiv(y, 400);
  const std::int64_t yoe = y - era * 400;                          // [0, 399]
  const std::int64_t mp = (month + 9) % 12;                        // [0, 11]
  const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;           // [0, 365]
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;  // [0, 146096]
  return era * 146097 + doe - 719468;
}

host::DateTime CivilFromDays(std::int64_t days) {
  const std::int64_t z = days + 719468;
  const std::int64_t era = FloorDiv(z, 146097);
  const std::int64_t doe = z - era * 146097;                                       // [0, 146096]
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                // [0, 365]
  const std::int64_t mp = (5 * doy + 2) / 153;                                     // [0, 11]
  host::DateTime out;
  out.day = static_cast<std::int32_t>(doy - (153 * mp + 2) / 5 + 1);  // [1, 31]
  out.month = static_cast<std::int32_t>(mp < 10 ? mp + 3 : mp - 9);   // [1, 12]
  out.year = static_cast<std::int32_t>(yoe + era * 400 + (out.month <= 2 ? 1 : 0));
  return out;
}

int WeekdayOfDays(std::int64_t days) {
  // 1970-01-01 was a Thursday.
  return static_cast<int>(((days % 7) + 7 + 4) % 7);
}

Moment MomentOf(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                std::int32_t minute) {
  return DaysFromCivil(year, month, day) * kMinutesPerDay + hour * 60 + minute;
}

Moment MomentOf(const host::DateTime& when) {
  return MomentOf(when.year, when.month, when.day, when.hour, when.minute);
}

std::int64_t DayOf(Moment when) { return FloorDiv(when, kMinutesPerDay); }

host::DateTime DateTimeOf(Moment when) {
  const std::int64_t days = DayOf(when);
  host::DateTime out = CivilFromDays(days);
  const std::int64_t minute_of_day = when - days * kMinutesPerDay;  // [0, 1439]
  out.hour = static_cast<std::int32_t>(minute_of_day / 60);
  out.minute = static_cast<std::int32_t>(minute_of_day % 60);
  return out;
}

bool InHostRange(Moment when) { return when >= kFirstHostMoment && when <= kLastHostMoment; }

WorkWeek::WorkWeek(std::uint8_t working_days_mask) : mask_(working_days_mask & 0x7F) {
  if (mask_ == 0) host::Raise(host::kHostFailure, std::string(message::kNoWorkingDays));
  for (int weekday = 0; weekday < 7; ++weekday) {
    before_[weekday] = per_week_;
    if ((mask_ >> weekday) & 1) nth_[per_week_++] = weekday;
  }
}

bool WorkWeek::IsWorkingDay(std::int64_t days) const { return (mask_ >> WeekdayOfDays(days)) & 1; }

std::int64_t WorkWeek::OrdinalOnOrAfter(std::int64_t days) const {
  const int weekday = WeekdayOfDays(days);
  const std::int64_t week = FloorDiv(days - weekday, 7);
  return week * per_week_ + before_[weekday];
}

std::int64_t WorkWeek::DayOfOrdinal(std::int64_t ordinal) const {
  const std::int64_t week = FloorDiv(ordinal, per_week_);
  const std::int64_t nth = ordinal - week * per_week_;  // [0, per_week_ - 1]
  // Week k starts on the Sunday 7k + 3 (day 3, 1970-01-04, was the first Sunday).
  return week * 7 + 3 + nth_[nth];
}

ProjectCalendar::ProjectCalendar(WorkWeek week, std::int32_t day_start_minute,
                                 std::int32_t day_finish_minute)
    : week_(week), day_start_(day_start_minute), day_finish_(day_finish_minute) {
  if (day_start_ < 0 || day_finish_ > kMinutesPerDay || day_start_ >= day_finish_) {
    host::Raise(host::kHostFailure, std::string(message::kBadWorkingHours));
  }
}

void ProjectCalendar::SetDayWorking(std::int64_t days, bool working) {
  const auto at = std::lower_bound(flips_.begin(), flips_.end(), days);
  const bool listed = at != flips_.end() && *at == days;
  const bool exception = working != week_.IsWorkingDay(days);
  if (listed == exception) return;
  if (exception) {
    flips_.insert(at, days);
  } else {
    flips_.erase(at);
  }
  shift_.assign(flips_.size() + 1, 0);
  holidays_ = extra_days_ = 0;
  for (std::size_t i = 0; i < flips_.size(); ++i) {
    const bool holiday = week_.IsWorkingDay(flips_[i]);
    (holiday ? holidays_ : extra_days_) += 1;
    shift_[i + 1] = shift_[i] + (holiday ? -1 : 1);
  }
}

bool ProjectCalendar::IsWorkingDay(std::int64_t days) const {
  const bool flipped = std::binary_search(flips_.begin(), flips_.end(), days);
  return week_.IsWorkingDay(days) != flipped;
}

std::int64_t ProjectCalendar::OrdinalOnOrAfter(std::int64_t days) const {
  if (flips_.empty()) return week_.OrdinalOnOrAfter(days);
  const auto before = std::lower_bound(flips_.begin(), flips_.end(), days) - flips_.begin();
  return week_.OrdinalOnOrAfter(days) + shift_[static_cast<std::size_t>(before)];
}

std::int64_t ProjectCalendar::DayOfOrdinal(std::int64_t ordinal) const {
  if (flips_.empty()) return week_.DayOfOrdinal(ordinal);
  // The exceptions move an ordinal by at most their count either way, which bounds the search
  // for the first day whose following day counts more than `ordinal` working days before it.
  std::int64_t low = week_.DayOfOrdinal(ordinal - extra_days_) - 7;
  std::int64_t high = week_.DayOfOrdinal(ordinal + holidays_) + 7;
  while (low < high) {
    const std::int64_t middle = low + (high - low) / 2;
    if (OrdinalOnOrAfter(middle + 1) > ordinal) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

std::int64_t ProjectCalendar::StartBoundary(Moment when) const {
  const std::int64_t days = DayOf(when);
  const std::int64_t minute = when - days * kMinutesPerDay;
  if (IsWorkingDay(days) && minute < day_finish_) return OrdinalOnOrAfter(days);
  return OrdinalOnOrAfter(days + 1);
}

std::int64_t ProjectCalendar::FinishBoundary(Moment when) const {
  const std::int64_t days = DayOf(when);
  const std::int64_t minute = when - days * kMinutesPerDay;
  if (IsWorkingDay(days) && minute > day_start_) return OrdinalOnOrAfter(days) + 1;
  return OrdinalOnOrAfter(days);
}

Moment ProjectCalendar::StartOf(std::int64_t boundary) const {
  return DayOfOrdinal(boundary) * kMinutesPerDay + day_start_;
}

Moment ProjectCalendar::FinishOf(std::int64_t boundary) const {
  return DayOfOrdinal(boundary - 1) * kMinutesPerDay + day_finish_;
}

}  // namespace lunavant::workbench
