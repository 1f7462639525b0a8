// SPDX-License-Identifier: MIT
#include "workbench/holidays/holiday_dates.h"

#include <algorithm>
#include <charconv>
#include <tuple>

#include "addin/host/error.h"
#include "workbench/schedule/calendar.h"

namespace lunavant::workbench {

namespace {

std::string YearsRefused(std::int32_t first_year, std::int32_t last_year) {
  return "Hijri years " + std::to_string(first_year) + "-" + std::to_string(last_year) +
         " are outside the range holidays can be dated in (" + std::to_string(kFirstHolidayYear) +
         " to " + std::to_string(kLastHolidayYear) + ": the converter's Umm al-Qura table)";
}

std::int64_t DaysOrFail(HijriCalendar& hijri, const HijriDate& date) {
  const std::optional<std::int64_t> days = hijri.DaysOf(date);
  if (!days) {
    throw HolidayError("The Hijri converter refuses " + std::to_string(date.day) + "/" +
                       std::to_string(date.month) + "/" + std::to_string(date.year));
  }
  return *days;
}

HijriDate HijriOrFail(HijriCalendar& hijri, std::int64_t days) {
  const std::optional<HijriDate> date = hijri.HijriOf(days);
  if (!date) {
    const host::DateTime civil = CivilFromDays(days);
    throw HolidayError("The Hijri converter refuses " + std::to_string(civil.year) + "-" +
                       std::to_string(civil.month) + "-" + std::to_string(civil.day));
  }
  return *date;
}

bool IsCivilDate(std::int32_t year, std::int32_t month, std::int32_t day) {
  const host::DateTime civil = CivilFromDays(DaysFromCivil(year, month, day));
  return civil.year == year && civil.month == month && civil.day == day;
}

std::int64_t OverrideStart(const HolidayRule& rule, std::int32_t year, const HolidayOverride& o) {
  if (!IsCivilDate(o.year, o.month, o.day)) {
    throw HolidayError(rule.name + " " + std::to_string(year) + ": " + std::to_string(o.year) +
                       "-" + std::to_string(o.month) + "-" + std::to_string(o.day) + " is no date");
  }
  return DaysFromCivil(o.year, o.month, o.day);
}

}  // namespace

ConverterHijriCalendar::ConverterHijriCalendar(host::LibraryLoader& loader) : loader_(loader) {}
ConverterHijriCalendar::~ConverterHijriCalendar() = default;

void ConverterHijriCalendar::Load() {
  if (h2ga_ != nullptr) return;
  try {
    library_ = loader_.Load("orbelune");
    h2ga_ = reinterpret_cast<OrbeluneH2GA>(library_->Symbol("H2GA"));
    g2ha_ = reinterpret_cast<OrbeluneG2HA>(library_->Symbol("G2HA"));
  } catch (const host::HostError& e) {
    h2ga_ = nullptr;
    g2ha_ = nullptr;
    library_.reset();
    throw HolidayError("The Hijri converter cannot be loaded: " + e.record().description);
  }
}

std::optional<std::int64_t> ConverterHijriCalendar::DaysOf(const HijriDate& date) {
  Load();
  std::int32_t hy = date.year, hm = date.month, hd = date.day, gy = 0, gm = 0, gd = 0, wd = 0;
  if (h2ga_(&hy, &hm, &hd, &gy, &gm, &gd, &wd) != 0) return std::nullopt;
  return DaysFromCivil(gy, gm, gd);
}

std::optional<HijriDate> ConverterHijriCalendar::HijriOf(std::int64_t days) {
  Load();
  return HijriDateOf(g2ha_, days);
}

std::vector<DatedHoliday> DateHolidays(const HolidaySet& set, std::int32_t first_year,
                                       std::int32_t last_year, HijriCalendar& hijri) {
  if (first_year > last_year) {
    throw HolidayError("Hijri years " + std::to_string(first_year) + "-" +
                       std::to_string(last_year) + " are out of order");
  }
  if (first_year < kFirstHolidayYear || last_year > kLastHolidayYear) {
    throw HolidayError(YearsRefused(first_year, last_year));
  }
  const std::int64_t range_first = DaysOrFail(hijri, {first_year, 1, 1});
  const std::int64_t range_end = DaysOrFail(hijri, {last_year + 1, 1, 1});  // the day after
  std::vector<DatedHoliday> out;
  const auto add = [&](const HolidayRule& rule, std::int32_t name_year, std::int64_t first,
                       std::int32_t length) {
    const std::int64_t last = first + length - 1;
    out.push_back({rule.name + " " + std::to_string(name_year), rule.name, first, last,
                   HijriOrFail(hijri, first), HijriOrFail(hijri, last)});
  };
  for (const HolidayRule& rule : set.rules) {
    if (rule.calendar == HolidayRule::Calendar::kHijri) {
      for (std::int32_t year = std::max(first_year, rule.since); year <= last_year; ++year) {
        if (const auto o = rule.overrides.find(year); o != rule.overrides.end()) {
          if (o->second.length > 0) {
            add(rule, year, OverrideStart(rule, year, o->second), o->second.length);
          }
          continue;
        }
        // From the month's first day, so that a day past its end runs on into the next month.
        const std::int64_t first =
            DaysOrFail(hijri, {year, rule.month, 1}) + rule.day - 1 + rule.offset;
        std::int32_t length = rule.length;
        if (rule.until_month != 0) {
          const std::int32_t until_year = rule.until_month < rule.month ? year + 1 : year;
          const std::int64_t last =
              DaysOrFail(hijri, {until_year, rule.until_month, 1}) + rule.until_day - 1;
          if (last < first || last - first + 1 > kLongestHoliday) {
            throw HolidayError(set.name + ": \"" + rule.name + "\" of " + std::to_string(year) +
                               " would end before it starts or last more than " +
                               std::to_string(kLongestHoliday) + " days");
          }
          length = static_cast<std::int32_t>(last - first + 1);
        }
        add(rule, year, first, length);
      }
      continue;
    }
    const std::int32_t first_civil_year = CivilFromDays(range_first).year;
    const std::int32_t last_civil_year = CivilFromDays(range_end - 1).year;
    for (std::int32_t year = std::max(first_civil_year, rule.since); year <= last_civil_year;
         ++year) {
      std::int64_t first = 0;
      std::int32_t length = rule.length;
      if (const auto o = rule.overrides.find(year); o != rule.overrides.end()) {
        if (o->second.length == 0) continue;
        first = OverrideStart(rule, year, o->second);
        length = o->second.length;
      } else {
        if (!IsCivilDate(year, rule.month, rule.day)) continue;  // 29 February of a common year
        first = DaysFromCivil(year, rule.month, rule.day);
      }
      // The Gregorian day the rule names decides which Hijri year the holiday belongs to.
      const std::int64_t anchor = IsCivilDate(year, rule.month, rule.day)
                                      ? DaysFromCivil(year, rule.month, rule.day)
                                      : first;
      if (anchor >= range_first && anchor < range_end) add(rule, year, first, length);
    }
  }
  std::sort(out.begin(), out.end(), [](const DatedHoliday& a, const DatedHoliday& b) {
    return std::tie(a.first_day, a.name) < std::tie(b.first_day, b.name);
  });
  return out;
}

std::optional<std::pair<std::int32_t, std::int32_t>> ParseYearRange(std::string_view text) {
  const auto number = [](std::string_view digits) -> std::optional<std::int32_t> {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        value < 1 || value > 9999) {
      return std::nullopt;
    }
    return value;
  };
  const std::size_t dash = text.find('-');
  const auto first = number(text.substr(0, dash));
  const auto last = dash == std::string_view::npos ? first : number(text.substr(dash + 1));
  if (!first || !last) return std::nullopt;
  return std::pair{*first, *last};
}

}  // namespace lunavant::workbench
