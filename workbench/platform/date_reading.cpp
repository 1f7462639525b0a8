// SPDX-License-Identifier: MIT
#include "workbench/platform/date_reading.h"

#include <array>
#include <cstddef>
#include <optional>

#include "addin/host/error.h"
#include "datepattern/date_pattern.h"

namespace lunavant::workbench {
namespace {

using datepattern::kMonthNames;
using datepattern::kWeekdayNames;

// The reader keeps every number it converts to at most four digits, so no value can overflow.
constexpr std::size_t kMaxYearDigits = 4;
constexpr std::size_t kMaxDayMonthDigits = 2;
constexpr std::size_t kMaxTimeDigits = 2;
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

}  // namespace

DateOrder DateOrderOfPattern(std::string_view pattern) {
  constexpr std::size_t kNone = std::string_view::npos;
  std::size_t day = kNone;
  std::size_t month = kNone;
  std::size_t year = kNone;
  for (const datepattern::FieldRun& run : datepattern::FieldsOf(pattern)) {
    std::size_t* first = nullptr;
    switch (run.field) {
      case datepattern::Field::kDay:
        first = &day;
        break;
      case datepattern::Field::kMonth:
      case datepattern::Field::kMonthName:
        first = &month;
        break;
      case datepattern::Field::kYear:
        first = &year;
        break;
      case datepattern::Field::kWeekday:  // a weekday's name says nothing of the order
        break;
    }
    if (first != nullptr && *first == kNone) *first = run.position;
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
  return year >= 100 && datepattern::IsCalendarDate(year, month, day);
}

}  // namespace lunavant::workbench
