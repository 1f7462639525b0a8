// SPDX-License-Identifier: MIT
#include "calendar.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "corrections.h"
#include "corrections_file.h"

#ifndef ORBELUNE_VERSION
#define ORBELUNE_VERSION "0"
#endif

namespace lunavant::converter::detail {
namespace {

constexpr std::string_view kTableLine = "Orbelune " ORBELUNE_VERSION
                                        ": Umm al-Qura table 1356-01 to 1500-12 (built in, "
                                        "official), the tabular calendar outside it\n";

std::string CorrectionLines(const std::vector<Correction>& corrections) {
  std::string lines;
  for (const Correction& c : corrections) {
    char month[16];
    std::snprintf(month, sizeof month, "%04d-%02d", static_cast<int>(c.year),
                  static_cast<int>(c.month));
    lines += "line " + Decimal(c.line) + ": " + month + " " +
             (c.gives_first_day ? "starts " + DayText(c.first_day) : Decimal(c.length) + " days") +
             " | " + c.source + "\n";
  }
  return lines;
}

// A file put in force, or only checked (its words say which).
enum class Use { kInForce, kChecked };

Calendar Refused(const std::string& path, const std::string& reason, Use use) {
  Calendar calendar;
  calendar.refused = true;
  calendar.description = std::string(kTableLine) + "corrections: " + path +
                         (use == Use::kInForce ? " refused, the built-in table is in force: "
                                               : " refused, the built-in table would stay: ") +
                         reason + "\n";
  return calendar;
}

Calendar FromFile(const std::string& path, const CorrectionsFile& file, Use use) {
  if (!file.exists) return Refused(path, "the file does not exist", use);
  if (!file.read) return Refused(path, "the file cannot be read, or is longer than 1 MiB", use);
  CorrectedTable corrected = ApplyCorrections(file.text);
  if (!corrected.accepted) return Refused(path, corrected.reason, use);
  Calendar calendar;
  calendar.table = corrected.table;
  calendar.description = std::string(kTableLine) + "corrections: " + path + ", " +
                         Decimal(static_cast<int64_t>(corrected.corrections.size())) +
                         (corrected.corrections.size() == 1 ? " line" : " lines") +
                         (use == Use::kInForce ? "\n" : ", checked, not in force\n") +
                         CorrectionLines(corrected.corrections) + ChangedMonthLines(calendar.table);
  return calendar;
}

Calendar Load() {
  std::vector<std::string> places;
  if (const auto named = CorrectionsOverride()) {
    if (named->empty()) {
      Calendar calendar;
      calendar.description =
          std::string(kTableLine) + "corrections: none (ORBELUNE_CORRECTIONS is empty)\n";
      return calendar;
    }
    return FromFile(*named, ReadCorrectionsFile(*named), Use::kInForce);
  }
  places = CorrectionsPlaces();
  for (const std::string& place : places) {
    const CorrectionsFile file = ReadCorrectionsFile(place);
    if (file.exists) return FromFile(place, file, Use::kInForce);
  }
  std::string looked;
  for (const std::string& place : places) looked += (looked.empty() ? "" : ", ") + place;
  Calendar calendar;
  calendar.description =
      std::string(kTableLine) + "corrections: none (looked for " + looked + ")\n";
  return calendar;
}

Calendar LoadOrBuiltIn() noexcept {
  try {
    return Load();
  } catch (...) {
    Calendar calendar;
    calendar.refused = true;
    try {
      calendar.description =
          std::string(kTableLine) +
          "corrections: not read (out of memory), the built-in table is in force\n";
    } catch (...) {
      // The words too are beyond reach: the table alone, unexplained.
    }
    return calendar;
  }
}

}  // namespace

const Calendar g_calendar_in_force = LoadOrBuiltIn();

Calendar CalendarWith(const std::string& path) {
  return FromFile(path, ReadCorrectionsFile(path), Use::kChecked);
}

}  // namespace lunavant::converter::detail
