// SPDX-License-Identifier: MIT
#include "workbench/schedule/calendar.h"

#include <algorithm>
#include <utility>

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
  // Within the era every value is small and not negative: unsigned 32-bit arithmetic, which
  // divides by a constant in fewer steps, for a conversion made for every date shown.
  const auto doe = static_cast<std::uint32_t>(z - era * 146097);                    // [0, 146096]
  const std::uint32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
  const std::uint32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                // [0, 365]
  const std::uint32_t mp = (5 * doy + 2) / 153;                                     // [0, 11]
  host::DateTime out;
  out.day = static_cast<std::int32_t>(doy - (153 * mp + 2) / 5 + 1);  // [1, 31]
  out.month = static_cast<std::int32_t>(mp < 10 ? mp + 3 : mp - 9);   // [1, 12]
  out.year = static_cast<std::int32_t>(static_cast<std::int64_t>(yoe) + era * 400 +
                                       (out.month <= 2 ? 1 : 0));
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
}

bool WorkWeek::IsWorkingDay(std::int64_t days) const { return (mask_ >> WeekdayOfDays(days)) & 1; }

namespace {

std::int64_t MinutesOf(const DayHours& hours) {
  std::int64_t sum = 0;
  for (const WorkingTime& span : hours) sum += span.to - span.from;
  return sum;
}

void CheckHours(const DayHours& hours) {
  std::int32_t last = 0;
  for (const WorkingTime& span : hours) {
    if (span.from < last || span.from >= span.to || span.to > kMinutesPerDay) {
      host::Raise(host::kHostFailure, std::string(message::kBadWorkingHours));
    }
    last = span.to;
  }
}

std::uint8_t MaskOf(const std::array<DayHours, 7>& week_hours) {
  std::uint8_t mask = 0;
  for (int weekday = 0; weekday < 7; ++weekday) {
    if (!week_hours[weekday].empty()) mask = static_cast<std::uint8_t>(mask | (1u << weekday));
  }
  return mask;
}

std::array<DayHours, 7> HoursOfWeek(WorkWeek week, std::int32_t start, std::int32_t finish) {
  constexpr std::int32_t kNoon = 12 * 60, kAfterNoon = 13 * 60;
  if (start < 0 || finish > kMinutesPerDay || start >= finish) {
    host::Raise(host::kHostFailure, std::string(message::kBadWorkingHours));
  }
  DayHours day;
  if (start < kNoon && finish > kAfterNoon) {
    day = {{start, kNoon}, {kAfterNoon, finish}};
  } else {
    day = {{start, finish}};
  }
  std::array<DayHours, 7> out;
  for (int weekday = 0; weekday < 7; ++weekday) {
    if ((week.Mask() >> weekday) & 1) out[weekday] = day;
  }
  return out;
}

}  // namespace

ProjectCalendar::ProjectCalendar(WorkWeek week, std::int32_t day_start_minute,
                                 std::int32_t day_finish_minute)
    : ProjectCalendar(HoursOfWeek(week, day_start_minute, day_finish_minute)) {}

ProjectCalendar::ProjectCalendar(std::array<DayHours, 7> week_hours)
    : week_(MaskOf(week_hours)), week_hours_(std::move(week_hours)) {
  day_start_ = kMinutesPerDay;
  day_finish_ = 0;
  for (int weekday = 0; weekday < 7; ++weekday) {
    const DayHours& hours = week_hours_[weekday];
    CheckHours(hours);
    week_before_[weekday + 1] = week_before_[weekday] + MinutesOf(hours);
    if (hours.empty()) continue;
    day_start_ = std::min(day_start_, hours.front().from);
    day_finish_ = std::max(day_finish_, hours.back().to);
  }
}

const DayHours& ProjectCalendar::HoursOn(std::int64_t days) const {
  if (!flips_.empty()) {
    const auto at = std::lower_bound(flips_.begin(), flips_.end(), days);
    if (at != flips_.end() && *at == days) {
      return exceptions_[static_cast<std::size_t>(at - flips_.begin())].hours;
    }
  }
  return week_hours_[WeekdayOfDays(days)];
}

void ProjectCalendar::SetDayWorking(std::int64_t days, bool working) {
  if (!working) {
    SetDayHours(days, {});
    return;
  }
  const DayHours& own = week_hours_[WeekdayOfDays(days)];
  if (!own.empty()) {
    SetDayHours(days, own);
    return;
  }
  for (const DayHours& hours : week_hours_) {
    if (!hours.empty()) {
      SetDayHours(days, hours);
      return;
    }
  }
}

void ProjectCalendar::SetDayHours(std::int64_t days, DayHours hours) {
  CheckHours(hours);
  Place(days, std::move(hours));
  Rebuild();
}

void ProjectCalendar::SetDaysHours(std::vector<std::pair<std::int64_t, DayHours>> days) {
  for (const auto& [day, hours] : days) CheckHours(hours);
  // In order of days, each lands after the ones before it; the stable order keeps later entries
  // for a day winning.
  std::stable_sort(days.begin(), days.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (auto& [day, hours] : days) Place(day, std::move(hours));
  Rebuild();
}

void ProjectCalendar::Place(std::int64_t days, DayHours hours) {
  const auto at = std::lower_bound(flips_.begin(), flips_.end(), days);
  const auto index = static_cast<std::size_t>(at - flips_.begin());
  const bool listed = at != flips_.end() && *at == days;
  const bool exception = hours != week_hours_[WeekdayOfDays(days)];
  if (!listed && !exception) return;
  if (listed && exception) {
    exceptions_[index].hours = std::move(hours);
  } else if (exception) {
    flips_.insert(at, days);
    exceptions_.insert(exceptions_.begin() + static_cast<std::ptrdiff_t>(index),
                       Exception{days, std::move(hours)});
  } else {
    flips_.erase(at);
    exceptions_.erase(exceptions_.begin() + static_cast<std::ptrdiff_t>(index));
  }
}

void ProjectCalendar::Rebuild() {
  shift_.assign(flips_.size() + 1, 0);
  for (std::size_t i = 0; i < exceptions_.size(); ++i) {
    const Exception& e = exceptions_[i];
    shift_[i + 1] = shift_[i] + MinutesOf(e.hours) - MinutesOf(week_hours_[WeekdayOfDays(e.day)]);
  }
}

std::int64_t ProjectCalendar::DayMinutes(std::int64_t days) const {
  return MinutesOf(HoursOn(days));
}

std::int64_t ProjectCalendar::WorkBeforeDay(std::int64_t days) const {
  // Weeks run Sunday to Saturday; day 3, 1970-01-04, was the first Sunday.
  const int weekday = WeekdayOfDays(days);
  const std::int64_t week = FloorDiv(days - 3 - weekday, 7);
  std::int64_t work = week * week_before_[7] + week_before_[weekday];
  if (!flips_.empty()) {
    const auto before = std::lower_bound(flips_.begin(), flips_.end(), days) - flips_.begin();
    work += shift_[static_cast<std::size_t>(before)];
  }
  return work;
}

std::int64_t ProjectCalendar::WorkAt(Moment when) const {
  const std::int64_t days = DayOf(when);
  const std::int64_t minute = when - days * kMinutesPerDay;  // [0, 1439]
  std::int64_t work = WorkBeforeDay(days);
  for (const WorkingTime& span : HoursOn(days)) {
    if (minute <= span.from) break;
    work += std::min<std::int64_t>(minute, span.to) - span.from;
  }
  return work;
}

std::int64_t ProjectCalendar::DayOfWork(std::int64_t work) const {
  // The first day whose following day starts after `work`. The plain week gives a first guess;
  // the search widens from it until it brackets the day, whatever the exceptions add or take.
  const std::int64_t guess = FloorDiv(work, week_before_[7]) * 7 + 3;
  std::int64_t low = guess - 7, high = guess + 7;
  for (std::int64_t step = 14; WorkBeforeDay(low + 1) > work; step *= 2) low -= step;
  for (std::int64_t step = 14; WorkBeforeDay(high + 1) <= work; step *= 2) high += step;
  while (low < high) {
    const std::int64_t middle = low + (high - low) / 2;
    if (WorkBeforeDay(middle + 1) > work) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

Moment ProjectCalendar::StartOf(std::int64_t work) const {
  const std::int64_t days = DayOfWork(work);
  std::int64_t left = work - WorkBeforeDay(days);  // [0, the day's minutes)
  for (const WorkingTime& span : HoursOn(days)) {
    if (left < span.to - span.from) return days * kMinutesPerDay + span.from + left;
    left -= span.to - span.from;
  }
  return days * kMinutesPerDay;  // not reached: the day holds the minute
}

Moment ProjectCalendar::FinishOf(std::int64_t work) const {
  const std::int64_t days = DayOfWork(work - 1);
  std::int64_t left = work - WorkBeforeDay(days);  // [1, the day's minutes]
  for (const WorkingTime& span : HoursOn(days)) {
    if (left <= span.to - span.from) return days * kMinutesPerDay + span.from + left;
    left -= span.to - span.from;
  }
  return days * kMinutesPerDay;  // not reached: the day holds the minute
}

namespace {

// Spans of one day where any list works, touching spans joined.
DayHours Joined(const std::vector<const DayHours*>& lists) {
  DayHours all;
  for (const DayHours* hours : lists) all.insert(all.end(), hours->begin(), hours->end());
  std::sort(all.begin(), all.end(),
            [](const WorkingTime& a, const WorkingTime& b) { return a.from < b.from; });
  DayHours out;
  for (const WorkingTime& span : all) {
    if (!out.empty() && span.from <= out.back().to) {
      out.back().to = std::max(out.back().to, span.to);
    } else {
      out.push_back(span);
    }
  }
  return out;
}

// Spans of one day where every list works.
DayHours Common(const std::vector<const DayHours*>& lists) {
  DayHours out = *lists.front();
  for (std::size_t k = 1; k < lists.size(); ++k) {
    DayHours next;
    for (const WorkingTime& a : out) {
      for (const WorkingTime& b : *lists[k]) {
        const std::int32_t from = std::max(a.from, b.from), to = std::min(a.to, b.to);
        if (from < to) next.push_back({from, to});
      }
    }
    out = std::move(next);
  }
  return out;
}

template <typename Combine>
ProjectCalendar Combined(const std::vector<const ProjectCalendar*>& calendars, Combine combine) {
  if (calendars.empty()) host::Raise(host::kHostFailure, std::string(message::kNoWorkingDays));
  std::vector<const DayHours*> lists(calendars.size());
  std::array<DayHours, 7> week;
  for (int weekday = 0; weekday < 7; ++weekday) {
    for (std::size_t k = 0; k < calendars.size(); ++k) {
      lists[k] = &calendars[k]->WeekdayHours(weekday);
    }
    week[weekday] = combine(lists);
  }
  if (MaskOf(week) == 0) return *calendars.front();
  ProjectCalendar out(std::move(week));
  std::vector<std::int64_t> days;
  for (const ProjectCalendar* calendar : calendars) {
    days.insert(days.end(), calendar->ExceptionDays().begin(), calendar->ExceptionDays().end());
  }
  std::sort(days.begin(), days.end());
  days.erase(std::unique(days.begin(), days.end()), days.end());
  std::vector<std::pair<std::int64_t, DayHours>> hours;
  hours.reserve(days.size());
  for (const std::int64_t day : days) {
    for (std::size_t k = 0; k < calendars.size(); ++k) lists[k] = &calendars[k]->HoursOn(day);
    hours.emplace_back(day, combine(lists));
  }
  out.SetDaysHours(std::move(hours));
  return out;
}

}  // namespace

ProjectCalendar UnionOf(const std::vector<const ProjectCalendar*>& calendars) {
  return Combined(calendars, Joined);
}

ProjectCalendar IntersectionOf(const std::vector<const ProjectCalendar*>& calendars) {
  return Combined(calendars, Common);
}

}  // namespace lunavant::workbench
