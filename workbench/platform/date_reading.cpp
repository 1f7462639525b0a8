// SPDX-License-Identifier: MIT
#include "workbench/platform/date_reading.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <optional>

#include "addin/host/error.h"

namespace lunavant::workbench {
namespace {

constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// The reader keeps every number it converts to at most four digits, so no value can overflow.
constexpr std::size_t kMaxYearDigits = 4;
constexpr std::size_t kMaxDayMonthDigits = 2;
constexpr std::size_t kMaxTimeDigits = 2;
// The most written for one number (a sign and ten digits) and for one English name.
constexpr std::size_t kMostNumber = 11;
constexpr std::size_t kMostName = 9;
// Two-digit years fall in 1930..2029.
constexpr std::int32_t kCenturyPivot = 30;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
char ToLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToLower(a[i]) != ToLower(b[i])) return false;
  }
  return true;
}

// A name written in full or as its first three letters, in any letter case.
bool MatchesName(std::string_view word, std::string_view name) {
  return EqualsIgnoringCase(word, name) || EqualsIgnoringCase(word, name.substr(0, 3));
}

bool IsWeekdayName(std::string_view word) {
  for (std::string_view name : kWeekdayNames) {
    if (MatchesName(word, name)) return true;
  }
  return false;
}

// [1, 12] for an English month name; 0 for any other word.
std::int32_t MonthOfName(std::string_view word) {
  for (std::size_t i = 0; i < kMonthNames.size(); ++i) {
    if (MatchesName(word, kMonthNames[i])) return static_cast<std::int32_t>(i + 1);
  }
  return 0;
}

bool IsLeapYear(std::int32_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

std::int32_t DaysInMonth(std::int32_t year, std::int32_t month) {
  constexpr std::array<std::int32_t, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

bool IsRealDate(std::int32_t year, std::int32_t month, std::int32_t day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

// [0, 6], 0 Sunday, for a real date (H. Hinnant's days_from_civil).
std::int32_t WeekdayOf(std::int32_t year, std::int32_t month, std::int32_t day) {
  const std::int32_t y = year - (month <= 2 ? 1 : 0);  // [0, 9999]
  const std::int32_t era = y / 400;                    // [0, 24]
  const std::int32_t yoe = y - era * 400;              // [0, 399]
  const std::int32_t doy =
      (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;  // [0, 365]
  const std::int32_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;     // [0, 146096]
  const std::int32_t days = era * 146097 + doe - 719468;  // days since 1970-01-01, a Thursday
  return days >= -4 ? (days + 4) % 7 : (days + 5) % 7 + 6;
}

[[noreturn]] void FailTypeMismatch() { host::RaiseRuntime(host::kTypeMismatch); }

// Byte by byte: the texts compared here are a few bytes long, shorter than a call to memcmp.
bool SameBytes(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

// A cursor over the text being read; every read stops at the end of the text.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ == text_.size(); }
  std::size_t Position() const { return pos_; }
  void Rewind(std::size_t pos) { pos_ = pos; }

  // Whether there was at least one blank.
  bool SkipBlanks() {
    const std::size_t start = pos_;
    while (!AtEnd() && IsBlank(text_[pos_])) ++pos_;
    return pos_ != start;
  }
  std::string_view Digits() { return Run(IsDigit); }
  std::string_view Letters() { return Run(IsLetter); }
  bool LooksAt(std::string_view expected) const {
    return !expected.empty() && expected.size() <= text_.size() - pos_ &&
           SameBytes(text_.substr(pos_, expected.size()), expected);
  }
  bool LooksAtBlank() const { return !AtEnd() && IsBlank(text_[pos_]); }
  bool Consume(std::string_view expected) {
    if (!LooksAt(expected)) return false;
    pos_ += expected.size();
    return true;
  }

 private:
  std::string_view Run(bool (*belongs)(char)) {
    const std::size_t start = pos_;
    while (!AtEnd() && belongs(text_[pos_])) ++pos_;
    return text_.substr(start, pos_ - start);
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

// The value of a run of at most four digits.
std::int32_t ValueOf(std::string_view digits) {
  std::int32_t value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

bool HasDigits(std::string_view digits, std::size_t most) {
  return !digits.empty() && digits.size() <= most;
}

// A date element as written: a run of digits or a word.
struct Element {
  std::string_view digits;
  std::string_view word;
};

std::optional<Element> ReadElement(Scanner& scanner) {
  Element element{scanner.Digits(), {}};
  if (element.digits.empty()) element.word = scanner.Letters();
  if (element.digits.empty() && element.word.empty()) return std::nullopt;
  return element;
}

struct CalendarDate {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
};

struct TimeOfDay {
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  std::int32_t second = 0;
};

// Which of the three elements, in `order`, are the day, the month and the year.
template <typename Element>
struct Arranged {
  const Element* day;
  const Element* month;
  const Element* year;
};
template <typename Element>
Arranged<Element> Arrange(const Element& first, const Element& second, const Element& third,
                          std::size_t first_digits, DateOrder order) {
  // Three or four digits cannot be a day or a month: "2004-03-15" is read year first everywhere.
  if (first_digits >= 3 && order != DateOrder::kYearDayMonth) order = DateOrder::kYearMonthDay;
  switch (order) {
    case DateOrder::kMonthDayYear:
      return {&second, &first, &third};
    case DateOrder::kYearMonthDay:
      return {&third, &second, &first};
    case DateOrder::kYearDayMonth:
      return {&second, &third, &first};
    case DateOrder::kDayMonthYear:
      break;
  }
  return {&first, &second, &third};
}

// Day, month and year as read, the year still as written, or nothing when they make no date.
std::optional<CalendarDate> DateOfNumbers(std::int32_t day, std::int32_t month, std::int32_t year,
                                          std::size_t year_digits) {
  CalendarDate date{year, month, day};
  if (year_digits <= 2) date.year += date.year < kCenturyPivot ? 2000 : 1900;
  if (!IsReadableDate(date.year, date.month, date.day)) return std::nullopt;
  return date;
}

// The three elements as day, month and year in `order`, or nothing when they do not make a date.
std::optional<CalendarDate> DateOfElements(const Element& first, const Element& second,
                                           const Element& third, DateOrder order) {
  const Arranged<Element> at = Arrange(first, second, third, first.digits.size(), order);
  if (!HasDigits(at.day->digits, kMaxDayMonthDigits) ||
      !HasDigits(at.year->digits, kMaxYearDigits)) {
    return std::nullopt;
  }
  std::int32_t month = 0;
  if (at.month->word.empty()) {
    if (!HasDigits(at.month->digits, kMaxDayMonthDigits)) return std::nullopt;
    month = ValueOf(at.month->digits);
  } else {
    month = MonthOfName(at.month->word);  // 0 for a word that is no month
  }
  return DateOfNumbers(ValueOf(at.day->digits), month, ValueOf(at.year->digits),
                       at.year->digits.size());
}

// A run of digits: how many, and their value when they are at most four, as every run that can be
// an element is.
struct DigitRun {
  std::size_t size = 0;
  std::int32_t value = 0;
};

// The run of digits at `at`, which is moved past it. One plain loop, for every date the add-in
// converts: the value is kept in unsigned arithmetic, which may wrap on a long run, whose value
// counts for nothing.
DigitRun ReadDigitRun(const char*& at, const char* end) {
  const char* const start = at;
  std::uint32_t value = 0;
  for (; at != end; ++at) {
    const std::uint32_t digit = static_cast<unsigned char>(*at) - std::uint32_t{'0'};
    if (digit > 9) break;
    value = value * 10 + digit;
  }
  const auto size = static_cast<std::size_t>(at - start);
  return {size, size <= kMaxYearDigits ? static_cast<std::int32_t>(value) : 0};
}

// The shape nearly every date the host shows or a user types has: three runs of digits joined by
// one separator used twice ("15/03/04"), nothing around them. Read directly, as the general
// reading below would read it; none when the text has another shape or its separator could be
// read otherwise (":" as a time's, the start of a longer user separator). Fails as the general
// reading does when the shape holds no date.
std::optional<host::DateTime> ReadPlainDate(std::string_view text, DateOrder order,
                                            std::string_view date_separator) {
  const char* at = text.data();
  const char* const end = at + text.size();
  const DigitRun first = ReadDigitRun(at, end);
  if (first.size == 0 || at == end) return std::nullopt;
  const char separator = *at;
  const bool usual = separator == '/' || separator == '-' || separator == '.';
  const bool users = date_separator.size() == 1 && date_separator[0] == separator;
  if ((!usual && !users) || separator == ':' ||
      (date_separator.size() > 1 && date_separator[0] == separator)) {
    return std::nullopt;
  }
  ++at;
  const DigitRun second = ReadDigitRun(at, end);
  if (second.size == 0 || at == end || *at != separator) return std::nullopt;
  ++at;
  const DigitRun third = ReadDigitRun(at, end);
  if (third.size == 0 || at != end) return std::nullopt;
  const Arranged<DigitRun> arranged = Arrange(first, second, third, first.size, order);
  std::optional<CalendarDate> date;
  if (arranged.day->size <= kMaxDayMonthDigits && arranged.month->size <= kMaxDayMonthDigits &&
      arranged.year->size <= kMaxYearDigits) {
    date = DateOfNumbers(arranged.day->value, arranged.month->value, arranged.year->value,
                         arranged.year->size);
  }
  if (!date) FailTypeMismatch();
  host::DateTime when;
  when.year = date->year;
  when.month = date->month;
  when.day = date->day;
  return when;
}

// The separators that stand at the scanner's position, longest first: the user's (which may be
// longer than one character) and "/", "-" and ".". Where one is the start of another (". " and
// "."), the longer is tried first and the shorter still gets its turn.
std::array<std::string_view, 4> SeparatorsAt(const Scanner& scanner,
                                             std::string_view date_separator) {
  std::array<std::string_view, 4> found{};
  std::size_t count = 0;
  for (std::string_view separator :
       {date_separator, std::string_view("/"), std::string_view("-"), std::string_view(".")}) {
    if (!scanner.LooksAt(separator)) continue;
    bool seen = false;
    for (std::size_t i = 0; i < count; ++i) seen = seen || SameBytes(found[i], separator);
    if (seen) continue;
    std::size_t at = count++;
    for (; at > 0 && found[at - 1].size() < separator.size(); --at) found[at] = found[at - 1];
    found[at] = separator;
  }
  return found;
}

std::optional<CalendarDate> ReadDatePart(Scanner& scanner, DateOrder order,
                                         std::string_view date_separator) {
  // A weekday name goes before the date, followed by a comma, blanks or both. It is not checked
  // against the date: a user who edits "Mon 15/03/04" into "Mon 16/03/04" means the 16th.
  const std::size_t start = scanner.Position();
  if (IsWeekdayName(scanner.Letters())) {
    const bool comma = scanner.Consume(",");
    if (!scanner.SkipBlanks() && !comma) return std::nullopt;
  } else {
    scanner.Rewind(start);  // no weekday; the word may be a month name
  }

  // Exactly three elements, one separator used twice. Some runtimes read "15/03" as a day and
  // month of the current year; this reader refuses it: a task date without its year is
  // ambiguous, and silently taking the current year would put a wrong date into a schedule that
  // spans years.
  const std::optional<Element> first = ReadElement(scanner);
  if (!first) return std::nullopt;
  const std::size_t after_first = scanner.Position();
  for (std::string_view separator : SeparatorsAt(scanner, date_separator)) {
    if (separator.empty()) break;
    scanner.Rewind(after_first);
    scanner.Consume(separator);
    const std::optional<Element> second = ReadElement(scanner);
    if (!second || !scanner.Consume(separator)) continue;
    const std::optional<Element> third = ReadElement(scanner);
    if (!third) continue;
    std::optional<CalendarDate> date = DateOfElements(*first, *second, *third, order);
    if (date && (scanner.AtEnd() || scanner.LooksAtBlank())) return date;
  }
  return std::nullopt;
}

std::optional<TimeOfDay> ReadTimePart(Scanner& scanner) {
  const std::string_view hour = scanner.Digits();
  if (!HasDigits(hour, kMaxTimeDigits)) return std::nullopt;
  std::string_view minute;
  std::string_view second;
  if (scanner.Consume(":")) {
    minute = scanner.Digits();
    if (!HasDigits(minute, kMaxTimeDigits)) return std::nullopt;
    if (scanner.Consume(":")) {
      second = scanner.Digits();
      if (!HasDigits(second, kMaxTimeDigits)) return std::nullopt;
    }
  }
  // AM or PM, directly after the time or after blanks.
  const std::size_t after_time = scanner.Position();
  scanner.SkipBlanks();
  const std::string_view marker = scanner.Letters();
  const bool am = EqualsIgnoringCase(marker, "AM");
  const bool pm = EqualsIgnoringCase(marker, "PM");
  if (!am && !pm) scanner.Rewind(after_time);
  if (minute.empty() && !am && !pm) return std::nullopt;  // a bare number is no time

  TimeOfDay time{ValueOf(hour), ValueOf(minute), ValueOf(second)};
  if (am || pm) {
    if (time.hour < 1 || time.hour > 12) return std::nullopt;
    time.hour = time.hour % 12 + (pm ? 12 : 0);  // 12 AM is midnight, 12 PM noon
  } else if (time.hour > 23) {
    return std::nullopt;
  }
  if (time.minute > 59 || time.second > 59) return std::nullopt;
  return time;
}

// Numbers are written by hand at a pointer: a date is written for every task field shown, and
// a temporary string per number would cost more than the rest of the writing.
char* WriteNumber(char* out, std::int32_t value, std::size_t least_digits) {
  if (value >= 0 && value < 100 && least_digits <= 2) {
    // Days, months, short years and times of day: nearly every number written, copied in pairs.
    static constexpr char kTwoDigits[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    if (value >= 10 || least_digits == 2) *out++ = kTwoDigits[2 * value];
    *out++ = kTwoDigits[2 * value + 1];
    return out;
  }
  char digits[12];  // "-2147483648"
  const char* const end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  const auto size = static_cast<std::size_t>(end - digits);
  if (value >= 0) {
    for (std::size_t i = size; i < least_digits; ++i) *out++ = '0';
  }
  for (const char* c = digits; c != end; ++c) *out++ = *c;
  return out;
}

char* WriteYear(char* out, std::int32_t year, std::size_t letters) {
  if (letters >= 3) return WriteNumber(out, year, 4);
  const std::int32_t short_year = (year % 100 + 100) % 100;  // [0, 99]
  return WriteNumber(out, short_year, letters == 2 ? 2 : 1);
}

char* WriteName(char* out, std::string_view name, std::size_t letters) {
  if (letters == 3) name = name.substr(0, 3);
  for (const char c : name) *out++ = c;
  return out;
}

// Walks the quoted section starting at `pos` (the opening quote), handing each character it
// writes to `put`; returns the position after the closing quote. "''", inside or in place of a
// section, writes one quote; an unclosed quote runs to the end.
template <typename Put>
std::size_t WalkQuoted(std::string_view pattern, std::size_t pos, Put put) {
  if (pos + 1 < pattern.size() && pattern[pos + 1] == '\'') {
    put('\'');
    return pos + 2;
  }
  ++pos;
  while (pos < pattern.size()) {
    if (pattern[pos] == '\'') {
      if (pos + 1 < pattern.size() && pattern[pos + 1] == '\'') {
        put('\'');
        pos += 2;
        continue;
      }
      return pos + 1;
    }
    put(pattern[pos++]);
  }
  return pos;
}

// The position after the quoted section starting at `pos`.
std::size_t SkipQuoted(std::string_view pattern, std::size_t pos) {
  return WalkQuoted(pattern, pos, [](char) {});
}

bool IsMonthLetter(char c) { return c == 'M' || c == 'm'; }

std::size_t RunLength(std::string_view pattern, std::size_t pos) {
  std::size_t end = pos;
  const bool month = IsMonthLetter(pattern[pos]);
  while (end < pattern.size() &&
         (month ? IsMonthLetter(pattern[end]) : pattern[end] == pattern[pos])) {
    ++end;
  }
  return end - pos;
}

}  // namespace

DateOrder DateOrderOfPattern(std::string_view pattern) {
  constexpr std::size_t kNone = std::string_view::npos;
  std::size_t day = kNone;
  std::size_t month = kNone;
  std::size_t year = kNone;
  for (std::size_t pos = 0; pos < pattern.size();) {
    const char c = pattern[pos];
    if (c == '\'') {
      pos = SkipQuoted(pattern, pos);
      continue;
    }
    std::size_t run = 1;
    if (c == 'd' || c == 'y' || IsMonthLetter(c)) run = RunLength(pattern, pos);
    if (c == 'd' && run <= 2 && day == kNone) day = pos;  // ddd and dddd are weekday names
    if (IsMonthLetter(c) && month == kNone) month = pos;
    if (c == 'y' && year == kNone) year = pos;
    pos += run;
  }
  if (day == kNone || month == kNone || year == kNone) return DateOrder::kMonthDayYear;
  if (year < month && year < day) {
    return day < month ? DateOrder::kYearDayMonth : DateOrder::kYearMonthDay;
  }
  return day < month ? DateOrder::kDayMonthYear : DateOrder::kMonthDayYear;
}

namespace {

// ReadDateText for every shape but the plain one; out of line, so that the plain reading does not
// pay for setting up this one.
[[gnu::noinline]] host::DateTime ReadAnyDate(std::string_view text, DateOrder order,
                                             std::string_view date_separator) {
  Scanner scanner(text);
  scanner.SkipBlanks();
  std::optional<CalendarDate> date;
  std::optional<TimeOfDay> time;
  // At most a date and a time, in either order, each ending at a blank or at the end.
  while (!scanner.AtEnd()) {
    const std::size_t start = scanner.Position();
    bool read = false;
    // The time's colon comes before the user's separator: with a separator ":", "10:11:12" is a
    // time of day, not 10 November 2012.
    if (!time) {
      time = ReadTimePart(scanner);
      read = time.has_value() && (scanner.AtEnd() || scanner.LooksAtBlank());
      if (!read) {
        time.reset();
        scanner.Rewind(start);
      }
    }
    if (!read && !date) {
      date = ReadDatePart(scanner, order, date_separator);
      read = date.has_value();
      if (!read) scanner.Rewind(start);
    }
    if (!read) FailTypeMismatch();
    if (!scanner.SkipBlanks() && !scanner.AtEnd()) FailTypeMismatch();
  }
  if (!date && !time) FailTypeMismatch();

  host::DateTime when;
  if (date) {
    when.year = date->year;
    when.month = date->month;
    when.day = date->day;
  }
  if (time) {
    when.hour = time->hour;
    when.minute = time->minute;
    when.second = time->second;
  }
  return when;
}

}  // namespace

host::DateTime ReadDateText(std::string_view text, DateOrder order,
                            std::string_view date_separator) {
  if (const std::optional<host::DateTime> plain = ReadPlainDate(text, order, date_separator)) {
    return *plain;
  }
  return ReadAnyDate(text, order, date_separator);
}

bool ReadsAsTimeOfDay(std::string_view text) {
  Scanner scanner(text);
  scanner.SkipBlanks();
  if (!ReadTimePart(scanner)) return false;
  scanner.SkipBlanks();
  return scanner.AtEnd();
}

bool TwoDigitYearReadsBack(std::int32_t year) {
  return year >= 1900 + kCenturyPivot && year < 2000 + kCenturyPivot;
}

bool IsReadableDate(std::int32_t year, std::int32_t month, std::int32_t day) {
  return year >= 100 && IsRealDate(year, month, day);
}

std::string WithTwoDigitYears(std::string_view pattern) {
  std::string short_years;
  short_years.reserve(pattern.size());
  for (std::size_t pos = 0; pos < pattern.size();) {
    const bool four = pos + 4 <= pattern.size() && pattern[pos] == 'y' && pattern[pos + 1] == 'y' &&
                      pattern[pos + 2] == 'y' && pattern[pos + 3] == 'y';
    short_years.append(pattern.substr(pos, four ? 2 : 1));
    pos += four ? 4 : 1;
  }
  return short_years;
}

DateWriter::DateWriter(std::string_view pattern) {
  const auto add = [this](Piece piece, std::size_t most) {
    steps_.push_back({piece, 0, 0});
    most_ += most;
  };
  const auto add_text = [this](char c) {
    if (steps_.empty() || steps_.back().piece != Piece::kText) {
      steps_.push_back({Piece::kText, static_cast<std::uint32_t>(text_.size()), 0});
    }
    text_ += c;
    ++steps_.back().size;
    ++most_;
  };
  for (std::size_t pos = 0; pos < pattern.size();) {
    const char c = pattern[pos];
    if (c == '\'') {
      pos = WalkQuoted(pattern, pos, add_text);
      continue;
    }
    if (c != 'd' && c != 'y' && !IsMonthLetter(c)) {
      add_text(c);
      ++pos;
      continue;
    }
    const std::size_t run = RunLength(pattern, pos);
    pos += run;
    if (c == 'y') {
      add(run >= 3 ? Piece::kLongYear : run == 2 ? Piece::kYear2 : Piece::kYear1, kMostNumber);
    } else if (c == 'd') {
      add(run >= 4   ? Piece::kWeekdayName
          : run == 3 ? Piece::kShortWeekdayName
          : run == 2 ? Piece::kDay2
                     : Piece::kDay1,
          run >= 3 ? kMostName : kMostNumber);
    } else {
      add(run >= 4   ? Piece::kMonthName
          : run == 3 ? Piece::kShortMonthName
          : run == 2 ? Piece::kMonth2
                     : Piece::kMonth1,
          run >= 3 ? kMostName : kMostNumber);
    }
  }
  three_numbers_ = IsThreeNumbers();
}

bool DateWriter::IsThreeNumbers() const {
  const auto number = [](Piece piece) {
    return piece != Piece::kText && piece != Piece::kShortWeekdayName &&
           piece != Piece::kWeekdayName && piece != Piece::kShortMonthName &&
           piece != Piece::kMonthName;
  };
  return steps_.size() == 5 && number(steps_[0].piece) && number(steps_[2].piece) &&
         number(steps_[4].piece) && steps_[1].size == 1 && steps_[3].size == 1;
}

char* DateWriter::Write(char* out, std::int32_t year, std::int32_t month, std::int32_t day) const {
  const auto number = [&](Piece piece) {
    switch (piece) {
      case Piece::kDay1:
        return WriteNumber(out, day, 1);
      case Piece::kDay2:
        return WriteNumber(out, day, 2);
      case Piece::kMonth1:
        return WriteNumber(out, month, 1);
      case Piece::kMonth2:
        return WriteNumber(out, month, 2);
      case Piece::kYear1:
        return WriteYear(out, year, 1);
      case Piece::kYear2:
        return WriteYear(out, year, 2);
      default:  // kLongYear
        return WriteYear(out, year, 4);
    }
  };
  if (three_numbers_) {
    out = number(steps_[0].piece);
    *out++ = text_[steps_[1].at];
    out = number(steps_[2].piece);
    *out++ = text_[steps_[3].at];
    return number(steps_[4].piece);
  }
  for (const Step& step : steps_) {
    switch (step.piece) {
      case Piece::kText:
        for (std::uint32_t i = 0; i < step.size; ++i) *out++ = text_[step.at + i];
        break;
      case Piece::kDay1:
        out = WriteNumber(out, day, 1);
        break;
      case Piece::kDay2:
        out = WriteNumber(out, day, 2);
        break;
      case Piece::kMonth1:
        out = WriteNumber(out, month, 1);
        break;
      case Piece::kMonth2:
        out = WriteNumber(out, month, 2);
        break;
      case Piece::kYear1:
        out = WriteYear(out, year, 1);
        break;
      case Piece::kYear2:
        out = WriteYear(out, year, 2);
        break;
      case Piece::kLongYear:
        out = WriteYear(out, year, 4);
        break;
      case Piece::kShortWeekdayName:
      case Piece::kWeekdayName:
        // Left out for a date that does not exist.
        if (IsRealDate(year, month, day)) {
          out = WriteName(out, kWeekdayNames[static_cast<std::size_t>(WeekdayOf(year, month, day))],
                          step.piece == Piece::kShortWeekdayName ? 3 : 4);
        }
        break;
      case Piece::kShortMonthName:
      case Piece::kMonthName:
        if (month >= 1 && month <= 12) {
          out = WriteName(out, kMonthNames[static_cast<std::size_t>(month - 1)],
                          step.piece == Piece::kShortMonthName ? 3 : 4);
        }
        break;
    }
  }
  return out;
}

std::string FormatDateWithPattern(std::string_view pattern, std::int32_t year, std::int32_t month,
                                  std::int32_t day, bool two_digit_year) {
  const std::string_view given = pattern.empty() ? kCShortDatePattern : pattern;
  const DateWriter writer(two_digit_year ? std::string_view(WithTwoDigitYears(given)) : given);
  std::string out(writer.MostWritten(), '\0');
  out.resize(static_cast<std::size_t>(writer.Write(out.data(), year, month, day) - out.data()));
  return out;
}

std::string FormatTimeOfDay(std::int32_t hour, std::int32_t minute, std::int32_t second) {
  char text[3 * 12 + 2];
  char* out = WriteNumber(text, hour, 2);
  *out++ = ':';
  out = WriteNumber(out, minute, 2);
  *out++ = ':';
  out = WriteNumber(out, second, 2);
  return std::string(text, out);
}

}  // namespace lunavant::workbench
