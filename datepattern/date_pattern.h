// SPDX-License-Identifier: MIT
// Short-date patterns as the platform's regional settings give them: runs of the letters d, M (or
// m) and y, text in single quotes, every other character copied. The add-in writes task dates
// with the user's pattern and the reference host plays the platform that gives it, so both write
// a pattern through this one library; it needs nothing beyond the standard library.
//
//   const DatePattern pattern("ddd dd/MM/yyyy");
//   pattern.Format(2004, 3, 5);                                      // "Fri 05/03/2004"
//   DatePattern(WithTwoDigitYears("dd/MM/yyyy")).Format(2004, 3, 5);  // "05/03/04"
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lunavant::datepattern {

// The English names the patterns write (and a reader of dates may meet), Sunday and January first.
inline constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
inline constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// Whether the date exists in the proleptic Gregorian calendar, in years 1..9999.
bool IsCalendarDate(std::int32_t year, std::int32_t month, std::int32_t day);
// [0, 6], 0 Sunday, for a date IsCalendarDate accepts.
std::int32_t WeekdayOf(std::int32_t year, std::int32_t month, std::int32_t day);

// What a run of pattern letters stands for: d and dd the day, ddd and longer its weekday's name;
// M and MM (m, mm) the month, MMM and longer its name; y, yy and longer the year.
enum class Field : std::uint8_t { kDay, kWeekday, kMonth, kMonthName, kYear };

// A run of one pattern letter outside quoted text; month letters of either case make one run.
struct FieldRun {
  Field field;
  std::size_t position;  // where the run starts in the pattern
  std::size_t letters;   // how many letters it has
};

// The pattern's fields, left to right. A quoted section runs to the next single quote that is not
// doubled ("''" inside it, or in place of it, stands for one quote); an unclosed one to the end.
std::vector<FieldRun> FieldsOf(std::string_view pattern);

// The pattern with every "yyyy" of a year field, left to right, turned into "yy": a year written
// with its last two digits, where the pattern writes it in full.
std::string WithTwoDigitYears(std::string_view pattern);
// The pattern with every year field of one or two letters written as "yyyy": the whole year,
// for a year that two digits would not give back.
std::string WithWholeYears(std::string_view pattern);

// A pattern read once into the steps that write it: dates are written for every task field shown,
// with a pattern that changes seldom. Writes with plain pointer steps, and the usual shape, three
// numbers joined by single characters ("dd/MM/yy"), without walking the steps at all.
//
// d, M: the number; dd, MM: at least two digits; y: the year's last two digits without a leading
// zero, yy: with it; yyy and longer: the year with at least four digits; ddd and MMM: the first
// three letters of the English name, dddd and MMMM: the whole name. Numbers outside their range
// are written as they are; a name is left out where the date does not exist.
class DatePattern {
 public:
  explicit DatePattern(std::string_view pattern = {});

  // The most Write writes, for any date.
  std::size_t MostWritten() const { return most_; }
  // Writes the date at `out`, which has room for MostWritten() characters; returns the end of
  // what was written.
  char* Write(char* out, std::int32_t year, std::int32_t month, std::int32_t day) const;
  // The date written into a text of its own.
  std::string Format(std::int32_t year, std::int32_t month, std::int32_t day) const;

 private:
  enum class Piece : std::uint8_t {
    kText,
    kDay,
    kPaddedDay,
    kShortWeekdayName,
    kWeekdayName,
    kMonth,
    kPaddedMonth,
    kShortMonthName,
    kMonthName,
    kShortYear,
    kPaddedShortYear,
    kYear,
  };
  struct Step {
    Piece piece;
    std::uint32_t at;    // kText: where its characters start in text_
    std::uint32_t size;  // kText: how many
  };
  void AddText(char c);
  void AddField(const FieldRun& run);
  bool IsThreeNumbers() const;
  char* WriteNumberPiece(char* out, Piece piece, std::int32_t year, std::int32_t month,
                         std::int32_t day) const;

  std::vector<Step> steps_;
  std::string text_;  // the literal text of every kText step, one after another
  std::size_t most_ = 0;
  bool three_numbers_ = false;
};

}  // namespace lunavant::datepattern
