// SPDX-License-Identifier: MIT
// A locale's short date turned into what the add-in expects of regional settings: a numeric
// pattern in the notation d, dd, M, MM, yy, yyyy with one date separator between the fields. The
// locale data comes either as a CLDR pattern (through ICU, locale_icu.cpp) or as the C library's
// D_FMT (locale_posix.cpp); both are reduced the same way, so every date written with the result
// reads back through ReadDateText.
//
//   ShortDateOfCldr("d\u200f/M\u200f/y");        // {"d/M/yyyy", "/"}     (Arabic)
//   ShortDateOfStrftime("%A %e %B %Y");          // {"d/MM/yyyy", "/"}    (month and weekday names)
//   ShortDateOfStrftime("%d. %m. %Y");           // {"dd.MM.yyyy", "."}
#pragma once

#include <string>
#include <string_view>

namespace lunavant::workbench {

struct ShortDate {
  std::string pattern;    // empty when the platform gives none
  std::string separator;  // never empty

  bool operator==(const ShortDate&) const = default;
};

// The fields day, month and year in the order the locale writes them, each numeric (a month or
// weekday name gives way to the month's number, a weekday is left out), joined by the locale's
// separator: the punctuation between the first two numeric fields that have some, blanks and
// bidirectional marks dropped; "/" when no gap has any, or when it holds a letter, a digit, a colon
// (the time's), a quote or a character beyond ASCII. A format without all three fields gives the C
// locale's MM/dd/yy; the empty format gives the empty pattern.
ShortDate ShortDateOfStrftime(std::string_view format);
// The same from a CLDR date pattern (UTF-8, ICU's letters: d, M or L, y, E, G...; 'quoted' text).
// One y is the whole year, as in CLDR.
ShortDate ShortDateOfCldr(std::string_view pattern);

// The same from a Windows short-date format (LOCALE_SSHORTDATE, UTF-8): as CLDR's letters but for
// "ddd"/"dddd" (weekday names), "g"/"gg" (era) and "y" (the year's last digits).
ShortDate ShortDateOfWindows(std::string_view format);

namespace detail {

// The CLDR short-date pattern of a POSIX locale name ("ar_SA.UTF-8", "sr_RS@latin") in the
// Gregorian calendar, as ICU has it; empty where ICU has no data of its own for the locale (its
// answer would come from the root locale or from another language). Defined in locale_icu.cpp.
std::string CldrShortDatePattern(std::string_view locale_name);

}  // namespace detail
}  // namespace lunavant::workbench
