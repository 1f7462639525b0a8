// SPDX-License-Identifier: MIT
// The platform's date reading and writing, as the Basic runtime's CDate and its short-date
// formatting do them for the user's locale: reads a date, a time of day or both from text in a
// given regional order, and writes a date with a short-date pattern (d, dd, M, MM, yy, yyyy).
// PosixRegionalSettings feeds these with the user's pattern and separator; they are free functions
// so that other parts of the workbench can read and write with a pattern of their own.
//
//   DateOrder order = DateOrderOfPattern("dd/MM/yyyy");
//   host::DateTime when = ReadDateText("Mon 15/03/04 08:00", order, "/");  // 2004-03-15 08:00:00
//   FormatDateWithPattern("M/d/yyyy", 2004, 3, 5, /*two_digit_year=*/true);   // "3/5/04"
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "addin/host/value.h"

namespace lunavant::workbench {

// The "C" locale's short date (D_FMT "%m/%d/%y"), used wherever a pattern is missing.
inline constexpr std::string_view kCShortDatePattern = "MM/dd/yy";

enum class DateOrder { kDayMonthYear, kMonthDayYear, kYearMonthDay, kYearDayMonth };

// The order in which a short-date pattern writes day, month and year (text in single quotes and
// weekday names, ddd and dddd, do not count). A pattern that does not name all three, the empty
// pattern among them, gives the "C" locale's month-day-year order.
DateOrder DateOrderOfPattern(std::string_view pattern);

// Reads a date, a time of day, or both (in either order, blanks between), with blanks allowed
// around. A part that reads as a time is one, whatever the separator. The date is three elements
// in `order` joined by one separator used twice: "/", "-", "." or `date_separator`, the longest
// that makes a date where one starts another; an English weekday name may come before it ("Mon",
// "monday,"); a month may be an English month name; a first element of three or four digits is a
// year (2004-03-15; followed by the day only in kYearDayMonth). One- and two-digit years fall in
// 1930..2029; the date must exist, in years 100..9999. Times: 8:00, 08:00:30, 8:00 PM, 8 PM
// (hours 1..12 with AM or PM, 0..23 without). A value with only a time has year, month and day 0.
// Anything else, a date without a year among it, fails with host::kTypeMismatch and
// "Type mismatch" (host::RuntimeMessage). Any bytes may be given.
host::DateTime ReadDateText(std::string_view text, DateOrder order,
                            std::string_view date_separator);

// Whether the whole text, blanks around allowed, is a time of day as ReadDateText reads one.
bool ReadsAsTimeOfDay(std::string_view text);

// Whether the date exists in the proleptic Gregorian calendar in the years the reader accepts,
// 100..9999.
bool IsReadableDate(std::int32_t year, std::int32_t month, std::int32_t day);

// Whether a two-digit year reads back as `year`: true for 1930..2029.
bool TwoDigitYearReadsBack(std::int32_t year);

// Every "yyyy" of the pattern, left to right, turned into "yy".
std::string WithTwoDigitYears(std::string_view pattern);

// A short-date pattern read once, for callers that write many dates with one pattern: writes as
// FormatDateWithPattern does with the pattern as it stands (no two-digit-year step, no stand-in
// for the empty pattern, which writes nothing).
//
//   const DateWriter writer("dd/MM/yy");
//   std::string text(writer.MostWritten(), '\0');
//   text.resize(writer.Write(text.data(), 2004, 3, 15) - text.data());  // "15/03/04"
class DateWriter {
 public:
  explicit DateWriter(std::string_view pattern = {});
  // The most that Write writes, for any date.
  std::size_t MostWritten() const { return most_; }
  // Writes the date at `out`, which has room for MostWritten() characters; returns the end of
  // what was written.
  char* Write(char* out, std::int32_t year, std::int32_t month, std::int32_t day) const;

 private:
  enum class Piece : std::uint8_t {
    kText,
    kDay1,
    kDay2,
    kShortWeekdayName,
    kWeekdayName,
    kMonth1,
    kMonth2,
    kShortMonthName,
    kMonthName,
    kYear1,
    kYear2,
    kLongYear,
  };
  struct Step {
    Piece piece;
    std::uint32_t at;    // kText: where its characters start in text_
    std::uint32_t size;  // kText: how many
  };
  // Whether the pattern is the usual shape, three numbers joined by single characters ("dd/MM/yy"),
  // which Write writes without walking the steps.
  bool IsThreeNumbers() const;

  std::vector<Step> steps_;
  std::string text_;  // the literal text of every kText step, one after another
  std::size_t most_ = 0;
  bool three_numbers_ = false;
};

// Writes a date with a short-date pattern: d and dd the day, M and MM (or m, mm) the month, y the
// year's last two digits without a leading zero, yy with it, yyy and longer the year with at least
// four digits; ddd and dddd the English weekday name (short, full), MMM and MMMM the English month
// name; text in single quotes is copied without them ('' writes one quote), every other character
// is copied. With two_digit_year every "yyyy" becomes "yy" first. The empty pattern writes with
// kCShortDatePattern. Values outside their range are written as numbers, names left out.
std::string FormatDateWithPattern(std::string_view pattern, std::int32_t year, std::int32_t month,
                                  std::int32_t day, bool two_digit_year);

// The time of day as HH:MM:SS, 24-hour.
std::string FormatTimeOfDay(std::int32_t hour, std::int32_t minute, std::int32_t second);

}  // namespace lunavant::workbench
