// SPDX-License-Identifier: MIT
// A holiday set dated over a range of Hijri years: each holiday of each year becomes a named span
// of days ("Eid al-Fitr 1447", 19 to 22 March 2026), dated through the Umm al-Qura converter.
//
//   PosixLibraryLoader loader({converter_folder});
//   ConverterHijriCalendar hijri(loader);
//   std::vector<DatedHoliday> days = DateHolidays(LoadHolidaySet("sa"), 1447, 1449, hijri);
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "addin/host/services.h"
#include "workbench/holidays/holiday_set.h"
#include "workbench/view/hijri_days.h"

namespace lunavant::workbench {

// The Hijri calendar as the dating needs it; abstract so that the dating can be driven by the
// converter library that the add-in itself loads.
class HijriCalendar {
 public:
  virtual ~HijriCalendar() = default;
  // Days since 1970-01-01 of a Hijri date; empty when the converter refuses it.
  virtual std::optional<std::int64_t> DaysOf(const HijriDate& date) = 0;
  virtual std::optional<HijriDate> HijriOf(std::int64_t days) = 0;
};

// The converter library (liborbelune) found by the loader as the add-in finds it. Each call fails
// with HolidayError ("The Hijri converter cannot be loaded: ...") when it cannot be loaded.
class ConverterHijriCalendar final : public HijriCalendar {
 public:
  // Keeps a reference to `loader`, which must outlive this object. Loads nothing yet.
  explicit ConverterHijriCalendar(host::LibraryLoader& loader);
  ~ConverterHijriCalendar() override;
  std::optional<std::int64_t> DaysOf(const HijriDate& date) override;
  std::optional<HijriDate> HijriOf(std::int64_t days) override;

 private:
  void Load();
  host::LibraryLoader& loader_;
  std::unique_ptr<host::Library> library_;
  OrbeluneH2GA h2ga_ = nullptr;
  OrbeluneG2HA g2ha_ = nullptr;
};

// The Hijri years a set can be dated over: those the converter's Umm al-Qura table holds whose
// days all lie in the host's date range.
inline constexpr std::int32_t kFirstHolidayYear = 1405;
inline constexpr std::int32_t kLastHolidayYear = 1500;

struct DatedHoliday {
  std::string name;        // the rule's name and the year ("Eid al-Fitr 1447")
  std::string rule;        // the rule's name alone
  std::int64_t first_day;  // days since 1970-01-01
  std::int64_t last_day;   // inclusive
  HijriDate hijri_first;
  HijriDate hijri_last;
  friend bool operator==(const DatedHoliday&, const DatedHoliday&) = default;
};

// Every holiday of `set` in the Hijri years `first_year` to `last_year`, ordered by first day
// (then by name). Fails with HolidayError when the years are out of order or outside
// kFirstHolidayYear..kLastHolidayYear, an override names an impossible date, or the converter
// cannot be had or refuses a day.
std::vector<DatedHoliday> DateHolidays(const HolidaySet& set, std::int32_t first_year,
                                       std::int32_t last_year, HijriCalendar& hijri);

// "1447" or "1447-1450" as a range of years; empty when it is neither.
std::optional<std::pair<std::int32_t, std::int32_t>> ParseYearRange(std::string_view text);

}  // namespace lunavant::workbench
