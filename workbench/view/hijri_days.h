// SPDX-License-Identifier: MIT
// Hijri (Umm al-Qura) dates of days, for the views that show a Hijri timescale. The converter
// library is loaded by name through the platform's library loader, as the add-in loads it, so a
// view and the add-in always agree on a date.
//
//   HijriDays hijri(app.Libraries());
//   if (std::optional<HijriDate> h = hijri.FromDays(DaysFromCivil(2024, 12, 2))) ...  // 1446-06-01
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "addin/host/services.h"
#include "orbelune.h"

namespace lunavant::workbench {

struct HijriDate {
  std::int32_t year = 0;
  std::int32_t month = 0;  // [1, 12]
  std::int32_t day = 0;    // [1, 30]
  friend bool operator==(const HijriDate&, const HijriDate&) = default;
};

// "Muharram" .. "Dhu al-Hijjah" for month 1..12; "Muh" .. "DhH" in short; empty outside 1..12.
std::string HijriMonthName(std::int32_t month);
std::string HijriMonthShortName(std::int32_t month);

// The Hijri date of `days` (days since 1970-01-01) through the converter's G2HA export; empty when
// the converter refuses the day.
std::optional<HijriDate> HijriDateOf(OrbeluneG2HA g2ha, std::int64_t days);

// The months ("1446-09") whose first day or length the converter's corrections change: the
// "changed:" lines of its calendar version text (OrbeluneCalendarVersion).
std::set<std::string> ChangedMonths(const std::string& version_text);

// The converter's calendar version text for the calendar in force (`corrections_file` null) or
// for a corrections file checked; `refused` tells whether a corrections file was refused. Empty
// when the library lacks the export (an older converter, which has its built-in table only).
struct CalendarVersion {
  std::string text;
  bool refused = false;
};
std::optional<CalendarVersion> CalendarVersionOf(host::Library& converter,
                                                 const char* corrections_file);

class HijriDays {
 public:
  // Keeps a reference to `loader`, which must outlive this object. Loads nothing yet.
  explicit HijriDays(host::LibraryLoader& loader);
  ~HijriDays();
  HijriDays(const HijriDays&) = delete;
  HijriDays& operator=(const HijriDays&) = delete;

  // Loads the converter on first use. False when it cannot be loaded or lacks G2HA; the reason
  // is then in LoadError(). A failed load is not retried until Reload().
  bool Available();
  const std::string& LoadError() const { return load_error_; }
  void Reload();

  // The Hijri date of `days` (days since 1970-01-01); empty when the converter is not available or
  // refuses the day.
  std::optional<HijriDate> FromDays(std::int64_t days);

  // The converter's words on the calendar in force; empty when it is not available or too old to
  // say.
  std::optional<CalendarVersion> Version();
  // Whether the corrections in force change the first day or the length of that Hijri month.
  bool MonthCorrected(std::int32_t year, std::int32_t month);

 private:
  using G2HAFunction = OrbeluneG2HA;
  host::LibraryLoader& loader_;
  std::unique_ptr<host::Library> library_;
  G2HAFunction g2ha_ = nullptr;
  bool tried_ = false;
  std::string load_error_;
  std::optional<std::set<std::string>> corrected_months_;  // read on first use
};

}  // namespace lunavant::workbench
