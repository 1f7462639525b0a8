// SPDX-License-Identifier: MIT
// The timescale of a Gantt chart: how many pixels a day takes at each zoom level, and the cells of
// each tier (years, quarters, months, weeks, days) over a range of days, in the Gregorian or the
// Hijri calendar. A view asks only for the days it shows, so the cost follows the screen, not the
// project.
//
//   Timescale scale(TimescaleZoom::kDays);
//   std::vector<TierCell> months = scale.Cells(TierCalendar::kHijri, scale.Major(), first, end,
//                                              &hijri);
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lunavant::workbench {

class HijriDays;

// From the closest view to the widest.
enum class TimescaleZoom { kDays, kWeeks, kMonths, kQuarters, kYears };
inline constexpr TimescaleZoom kClosestZoom = TimescaleZoom::kDays;
inline constexpr TimescaleZoom kWidestZoom = TimescaleZoom::kYears;

enum class TierUnit { kNone, kYear, kQuarter, kMonth, kWeek, kDay };
enum class TierCalendar { kGregorian, kHijri };

// One cell of a tier: the days [first_day, end_day) (days since 1970-01-01) and its label.
struct TierCell {
  std::int64_t first_day;
  std::int64_t end_day;
  std::string label;
  friend bool operator==(const TierCell&, const TierCell&) = default;
};

class Timescale {
 public:
  explicit Timescale(TimescaleZoom zoom = TimescaleZoom::kDays);

  TimescaleZoom Zoom() const { return zoom_; }
  // One step closer or wider; stays at the ends.
  Timescale ZoomedIn() const;
  Timescale ZoomedOut() const;

  double PixelsPerDay() const;
  // The upper tier (long labels: "March 2004", "Safar 1425") and the lower one (short labels:
  // "15", "Mar", "Q1"); the lower is kNone at the widest zoom.
  TierUnit Major() const;
  TierUnit Minor() const;

  // The cells of `unit` that meet [first_day, end_day), in order; the first and last may reach
  // beyond the range. Weeks start on Sunday in both calendars; a Hijri quarter is three months of
  // the Hijri year from Muharram ("Q1" .. "Q4"). A day the converter cannot give (none loaded)
  // ends the tier: the cells found so far are returned. `hijri` may be null for the Gregorian
  // calendar.
  std::vector<TierCell> Cells(TierCalendar calendar, TierUnit unit, std::int64_t first_day,
                              std::int64_t end_day, HijriDays* hijri) const;

 private:
  bool LongLabels(TierUnit unit) const { return unit == Major(); }
  std::vector<TierCell> GregorianCells(TierUnit unit, std::int64_t first_day,
                                       std::int64_t end_day) const;
  std::vector<TierCell> HijriCells(TierUnit unit, std::int64_t first_day, std::int64_t end_day,
                                   HijriDays& hijri) const;

  TimescaleZoom zoom_;
};

}  // namespace lunavant::workbench
