// SPDX-License-Identifier: MIT
#include "workbench/view/timescale.h"

#include <array>
#include <optional>
#include <string_view>

#include "datepattern/date_pattern.h"
#include "workbench/schedule/calendar.h"
#include "workbench/view/hijri_days.h"

namespace lunavant::workbench {

namespace {

struct ZoomRow {
  double pixels_per_day;
  TierUnit major;
  TierUnit minor;
};

// Indexed by TimescaleZoom. The closest zoom leaves room for a two-digit day number.
constexpr std::array<ZoomRow, 5> kZoomRows = {{
    {24.0, TierUnit::kMonth, TierUnit::kDay},
    {6.0, TierUnit::kMonth, TierUnit::kWeek},
    {1.5, TierUnit::kYear, TierUnit::kMonth},
    {0.5, TierUnit::kYear, TierUnit::kQuarter},
    {0.12, TierUnit::kYear, TierUnit::kNone},
}};

// Words joined by one blank, built by appending: the compiler warns of a false overlap in
// chains of operator+ on temporaries.
std::string Words(std::string_view first, std::string_view second) {
  std::string text(first);
  text.append(" ").append(second);
  return text;
}

const ZoomRow& RowOf(TimescaleZoom zoom) { return kZoomRows[static_cast<std::size_t>(zoom)]; }

std::string GregorianMonthName(std::int32_t month, bool long_name) {
  const std::string_view name = datepattern::kMonthNames[static_cast<std::size_t>(month - 1)];
  return std::string(long_name ? name : name.substr(0, 3));
}

// The Sunday on or before `days`.
std::int64_t WeekStart(std::int64_t days) { return days - WeekdayOfDays(days); }

// A unit's key within its calendar: two days are in the same cell when their keys are equal.
std::int64_t CellKey(TierUnit unit, std::int32_t year, std::int32_t month, std::int32_t day,
                     std::int64_t days) {
  switch (unit) {
    case TierUnit::kYear:
      return year;
    case TierUnit::kQuarter:
      return year * 4 + (month - 1) / 3;
    case TierUnit::kMonth:
      return year * 12 + month;
    case TierUnit::kWeek:
      return WeekStart(days);
    case TierUnit::kDay:
      return static_cast<std::int64_t>(year) * 400 + month * 31 + day;
    case TierUnit::kNone:
      return 0;
  }
  return 0;
}

}  // namespace

Timescale::Timescale(TimescaleZoom zoom) : zoom_(zoom) {}

Timescale Timescale::ZoomedIn() const {
  if (zoom_ == kClosestZoom) return *this;
  return Timescale(static_cast<TimescaleZoom>(static_cast<int>(zoom_) - 1));
}

Timescale Timescale::ZoomedOut() const {
  if (zoom_ == kWidestZoom) return *this;
  return Timescale(static_cast<TimescaleZoom>(static_cast<int>(zoom_) + 1));
}

double Timescale::PixelsPerDay() const { return RowOf(zoom_).pixels_per_day; }
TierUnit Timescale::Major() const { return RowOf(zoom_).major; }
TierUnit Timescale::Minor() const { return RowOf(zoom_).minor; }

std::vector<TierCell> Timescale::Cells(TierCalendar calendar, TierUnit unit, std::int64_t first_day,
                                       std::int64_t end_day, HijriDays* hijri) const {
  if (unit == TierUnit::kNone || end_day <= first_day) return {};
  if (calendar == TierCalendar::kHijri) {
    if (hijri == nullptr) return {};
    return HijriCells(unit, first_day, end_day, *hijri);
  }
  return GregorianCells(unit, first_day, end_day);
}

std::vector<TierCell> Timescale::GregorianCells(TierUnit unit, std::int64_t first_day,
                                                std::int64_t end_day) const {
  const bool long_labels = LongLabels(unit);
  std::vector<TierCell> cells;
  host::DateTime at = CivilFromDays(first_day);
  // The cell that holds first_day begins at or before it.
  std::int64_t start = first_day;
  switch (unit) {
    case TierUnit::kYear:
      start = DaysFromCivil(at.year, 1, 1);
      break;
    case TierUnit::kQuarter:
      start = DaysFromCivil(at.year, (at.month - 1) / 3 * 3 + 1, 1);
      break;
    case TierUnit::kMonth:
      start = DaysFromCivil(at.year, at.month, 1);
      break;
    case TierUnit::kWeek:
      start = WeekStart(first_day);
      break;
    case TierUnit::kDay:
    case TierUnit::kNone:
      break;
  }
  while (start < end_day) {
    at = CivilFromDays(start);
    std::int64_t next = start + 1;
    std::string label;
    switch (unit) {
      case TierUnit::kYear:
        next = DaysFromCivil(at.year + 1, 1, 1);
        label = std::to_string(at.year);
        break;
      case TierUnit::kQuarter: {
        const std::int32_t quarter = (at.month - 1) / 3 + 1;
        next = quarter == 4 ? DaysFromCivil(at.year + 1, 1, 1)
                            : DaysFromCivil(at.year, quarter * 3 + 1, 1);
        label = std::string("Q").append(std::to_string(quarter));
        if (long_labels) label = Words(label, std::to_string(at.year));
        break;
      }
      case TierUnit::kMonth:
        next = at.month == 12 ? DaysFromCivil(at.year + 1, 1, 1)
                              : DaysFromCivil(at.year, at.month + 1, 1);
        label = GregorianMonthName(at.month, long_labels);
        if (long_labels) label = Words(label, std::to_string(at.year));
        break;
      case TierUnit::kWeek:
        next = start + 7;
        label = Words(std::to_string(at.day), GregorianMonthName(at.month, false));
        break;
      case TierUnit::kDay:
      case TierUnit::kNone:
        label = std::to_string(at.day);
        break;
    }
    cells.push_back(TierCell{start, next, std::move(label)});
    start = next;
  }
  return cells;
}

std::vector<TierCell> Timescale::HijriCells(TierUnit unit, std::int64_t first_day,
                                            std::int64_t end_day, HijriDays& hijri) const {
  const bool long_labels = LongLabels(unit);
  std::vector<TierCell> cells;
  // Hijri months have no arithmetic the view can trust (the official table decides them), so the
  // cells are found by walking the days and cutting where the key changes. Walk back to the start
  // of the cell that holds first_day: at most a year.
  std::optional<HijriDate> at = hijri.FromDays(first_day);
  if (!at) return cells;
  std::int64_t start = first_day;
  if (unit != TierUnit::kDay) {
    const std::int64_t key = CellKey(unit, at->year, at->month, at->day, first_day);
    for (std::int64_t back = first_day - 1; back > first_day - 400; --back) {
      std::optional<HijriDate> before = hijri.FromDays(back);
      if (!before || CellKey(unit, before->year, before->month, before->day, back) != key) break;
      start = back;
    }
  }
  std::optional<HijriDate> opening = hijri.FromDays(start);
  if (!opening) return cells;
  HijriDate cell_date = opening.value_or(HijriDate{});
  std::int64_t cell_key = CellKey(unit, cell_date.year, cell_date.month, cell_date.day, start);
  auto label_of = [&](const HijriDate& date) {
    switch (unit) {
      case TierUnit::kYear:
        return long_labels ? Words(std::to_string(date.year), "AH") : std::to_string(date.year);
      case TierUnit::kMonth:
        return long_labels ? Words(HijriMonthName(date.month), std::to_string(date.year))
                           : HijriMonthShortName(date.month);
      case TierUnit::kWeek:
        return Words(std::to_string(date.day), HijriMonthShortName(date.month));
      case TierUnit::kQuarter:
        return std::string("Q").append(std::to_string((date.month - 1) / 3 + 1));
      case TierUnit::kDay:
      case TierUnit::kNone:
        break;
    }
    return std::to_string(date.day);
  };
  for (std::int64_t day = start + 1;; ++day) {
    std::optional<HijriDate> date =
        day < end_day || unit != TierUnit::kDay ? hijri.FromDays(day) : std::nullopt;
    const bool past_end = day >= end_day;
    const std::int64_t key =
        date ? CellKey(unit, date->year, date->month, date->day, day) : cell_key - 1;
    if (!date || key != cell_key) {
      cells.push_back(TierCell{start, day, label_of(cell_date)});
      if (!date || past_end) break;
      start = day;
      cell_date = date.value_or(HijriDate{});
      cell_key = key;
    }
  }
  return cells;
}

}  // namespace lunavant::workbench
