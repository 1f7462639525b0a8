// SPDX-License-Identifier: MIT
// Month-length corrections to the built-in Umm al-Qura table, read from a plain text file: one
// month a line, with its first Gregorian day or its length and where that was announced.
//
//   1446-10 | starts 2025-03-31 | Supreme Court announcement of 29 March 2025
//   1446-09 | 30 days | Supreme Court announcement of 29 March 2025
//
// The file is checked as a whole: one bad line refuses all of it, so a calendar is either the
// table with every correction or the table alone.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "umalqura_table.h"

namespace lunavant::converter::detail {

// Longer files are refused unread: a year of announcements takes a few hundred bytes.
inline constexpr std::size_t kMaxCorrectionsBytes = 1 << 20;

struct Correction {
  int32_t line = 0;
  int32_t year = 0;
  int32_t month = 0;
  bool gives_first_day = false;  // else the line gives the length
  int32_t first_day = 0;         // a day number (1970-01-01 is 0), when it gives the first day
  int32_t length = 0;            // 29 or 30, when it gives the length
  std::string source;
};

struct CorrectedTable {
  bool accepted = false;
  std::string reason;  // when refused: "line 3: ..." or what is wrong with the whole file
  std::vector<Correction> corrections;
  MonthTable table = kBuiltInTable;  // the built-in table when refused
};

// The table with the corrections of `text` (the whole file) applied, or the built-in table and
// the reason for the refusal: a malformed line, a month outside the table, a month corrected
// twice, a month of other than 29 or 30 days, or a gap or an overlap between months. Any input
// is safe.
CorrectedTable ApplyCorrections(std::string_view text);

// One line for each month whose first day or length differs from the built-in table:
// "changed: 1446-09 2025-03-01 30 days (table 2025-03-01 29 days)".
std::string ChangedMonthLines(const MonthTable& table);

// "2025-03-31"
std::string DayText(int32_t day_number);

// The number in decimal. Not std::to_string: its instances over plain integers would be exported
// from the library in an unoptimised build, beside the C interface.
std::string Decimal(int64_t number);

}  // namespace lunavant::converter::detail
