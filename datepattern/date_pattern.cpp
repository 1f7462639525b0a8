// SPDX-License-Identifier: MIT
#include "datepattern/date_pattern.h"

#include <charconv>

namespace lunavant::datepattern {
namespace {

// The most written for one number (a sign and ten digits) and for one English name.
constexpr std::size_t kMostNumber = 11;
constexpr std::size_t kMostName = 9;

bool IsLeapYear(std::int32_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

bool IsMonthLetter(char c) { return c == 'M' || c == 'm'; }
bool IsFieldLetter(char c) { return c == 'd' || c == 'y' || IsMonthLetter(c); }

std::size_t RunLength(std::string_view pattern, std::size_t pos) {
  const bool month = IsMonthLetter(pattern[pos]);
  std::size_t end = pos;
  while (end < pattern.size() &&
         (month ? IsMonthLetter(pattern[end]) : pattern[end] == pattern[pos])) {
    ++end;
  }
  return end - pos;
}

Field FieldOf(char letter, std::size_t letters) {
  if (letter == 'y') return Field::kYear;
  const bool name = letters >= 3;
  if (letter == 'd') return name ? Field::kWeekday : Field::kDay;
  return name ? Field::kMonthName : Field::kMonth;
}

// Walks the quoted section starting at `pos` (the opening quote), handing each character it
// writes to `on_text`; returns the position after the closing quote.
template <typename OnText>
std::size_t WalkQuoted(std::string_view pattern, std::size_t pos, OnText on_text) {
  if (pos + 1 < pattern.size() && pattern[pos + 1] == '\'') {
    on_text('\'');
    return pos + 2;
  }
  ++pos;
  while (pos < pattern.size()) {
    if (pattern[pos] == '\'') {
      if (pos + 1 < pattern.size() && pattern[pos + 1] == '\'') {
        on_text('\'');
        pos += 2;
        continue;
      }
      return pos + 1;
    }
    on_text(pattern[pos++]);
  }
  return pos;
}

// Walks the pattern, handing each character it writes as it stands to `on_text` and each field to
// `on_field`.
template <typename OnText, typename OnField>
void Walk(std::string_view pattern, OnText on_text, OnField on_field) {
  for (std::size_t pos = 0; pos < pattern.size();) {
    const char c = pattern[pos];
    if (c == '\'') {
      pos = WalkQuoted(pattern, pos, on_text);
    } else if (IsFieldLetter(c)) {
      const std::size_t letters = RunLength(pattern, pos);
      on_field(FieldRun{FieldOf(c, letters), pos, letters});
      pos += letters;
    } else {
      on_text(c);
      ++pos;
    }
  }
}

// The pattern with each year field's letters replaced by `year_letters(letters)` of them; the rest,
// quoted text included, as it stands.
template <typename YearLetters>
std::string WithYearFields(std::string_view pattern, YearLetters year_letters) {
  std::string out;
  out.reserve(pattern.size() + 4);
  std::size_t copied = 0;
  for (const FieldRun& run : FieldsOf(pattern)) {
    if (run.field != Field::kYear) continue;
    out.append(pattern.substr(copied, run.position - copied));
    out.append(year_letters(run.letters), 'y');
    copied = run.position + run.letters;
  }
  out.append(pattern.substr(copied));
  return out;
}

// Numbers are written by hand at a pointer: a temporary string per number would cost more than
// the rest of the writing.
char* WriteNumber(char* out, std::int32_t value, std::size_t least_digits) {
  if (value >= 0 && value < 100 && least_digits <= 2) {
    // Days, months and short years: nearly every number written, copied in pairs.
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

char* WriteName(char* out, std::string_view name, bool short_name) {
  if (short_name) name = name.substr(0, 3);
  for (const char c : name) *out++ = c;
  return out;
}

std::int32_t LastTwoDigits(std::int32_t year) { return (year % 100 + 100) % 100; }

}  // namespace

bool IsCalendarDate(std::int32_t year, std::int32_t month, std::int32_t day) {
  constexpr std::array<std::int32_t, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  const std::int32_t days =
      month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
  return day <= days;
}

// H. Hinnant's days_from_civil, in the ranges its comments give for years 1..9999.
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

std::vector<FieldRun> FieldsOf(std::string_view pattern) {
  std::vector<FieldRun> fields;
  Walk(
      pattern, [](char) {}, [&](const FieldRun& run) { fields.push_back(run); });
  return fields;
}

std::string WithTwoDigitYears(std::string_view pattern) {
  // Each whole "yyyy" of a run becomes "yy", what is left of the run stays.
  return WithYearFields(pattern, [](std::size_t letters) { return letters / 4 * 2 + letters % 4; });
}

std::string WithWholeYears(std::string_view pattern) {
  return WithYearFields(pattern,
                        [](std::size_t letters) { return letters < 3 ? std::size_t{4} : letters; });
}

DatePattern::DatePattern(std::string_view pattern) {
  Walk(
      pattern, [this](char c) { AddText(c); }, [this](const FieldRun& run) { AddField(run); });
  three_numbers_ = IsThreeNumbers();
}

void DatePattern::AddText(char c) {
  if (steps_.empty() || steps_.back().piece != Piece::kText) {
    steps_.push_back({Piece::kText, static_cast<std::uint32_t>(text_.size()), 0});
  }
  text_ += c;
  ++steps_.back().size;
  ++most_;
}

void DatePattern::AddField(const FieldRun& run) {
  Piece piece = Piece::kText;
  switch (run.field) {
    case Field::kDay:
      piece = run.letters == 1 ? Piece::kDay : Piece::kPaddedDay;
      break;
    case Field::kWeekday:
      piece = run.letters == 3 ? Piece::kShortWeekdayName : Piece::kWeekdayName;
      break;
    case Field::kMonth:
      piece = run.letters == 1 ? Piece::kMonth : Piece::kPaddedMonth;
      break;
    case Field::kMonthName:
      piece = run.letters == 3 ? Piece::kShortMonthName : Piece::kMonthName;
      break;
    case Field::kYear:
      piece = run.letters == 1   ? Piece::kShortYear
              : run.letters == 2 ? Piece::kPaddedShortYear
                                 : Piece::kYear;
      break;
  }
  steps_.push_back({piece, 0, 0});
  const bool name = run.field == Field::kWeekday || run.field == Field::kMonthName;
  most_ += name ? kMostName : kMostNumber;
}

bool DatePattern::IsThreeNumbers() const {
  const auto number = [](Piece piece) {
    return piece != Piece::kText && piece != Piece::kShortWeekdayName &&
           piece != Piece::kWeekdayName && piece != Piece::kShortMonthName &&
           piece != Piece::kMonthName;
  };
  return steps_.size() == 5 && number(steps_[0].piece) && number(steps_[2].piece) &&
         number(steps_[4].piece) && steps_[1].size == 1 && steps_[3].size == 1;
}

char* DatePattern::WriteNumberPiece(char* out, Piece piece, std::int32_t year, std::int32_t month,
                                    std::int32_t day) const {
  switch (piece) {
    case Piece::kDay:
      return WriteNumber(out, day, 1);
    case Piece::kPaddedDay:
      return WriteNumber(out, day, 2);
    case Piece::kMonth:
      return WriteNumber(out, month, 1);
    case Piece::kPaddedMonth:
      return WriteNumber(out, month, 2);
    case Piece::kShortYear:
      return WriteNumber(out, LastTwoDigits(year), 1);
    case Piece::kPaddedShortYear:
      return WriteNumber(out, LastTwoDigits(year), 2);
    default:  // kYear
      return WriteNumber(out, year, 4);
  }
}

char* DatePattern::Write(char* out, std::int32_t year, std::int32_t month, std::int32_t day) const {
  if (three_numbers_) {
    out = WriteNumberPiece(out, steps_[0].piece, year, month, day);
    *out++ = text_[steps_[1].at];
    out = WriteNumberPiece(out, steps_[2].piece, year, month, day);
    *out++ = text_[steps_[3].at];
    return WriteNumberPiece(out, steps_[4].piece, year, month, day);
  }
  for (const Step& step : steps_) {
    switch (step.piece) {
      case Piece::kText:
        for (std::uint32_t i = 0; i < step.size; ++i) *out++ = text_[step.at + i];
        break;
      case Piece::kShortWeekdayName:
      case Piece::kWeekdayName:
        if (IsCalendarDate(year, month, day)) {
          out = WriteName(out, kWeekdayNames[static_cast<std::size_t>(WeekdayOf(year, month, day))],
                          step.piece == Piece::kShortWeekdayName);
        }
        break;
      case Piece::kShortMonthName:
      case Piece::kMonthName:
        if (month >= 1 && month <= 12) {
          out = WriteName(out, kMonthNames[static_cast<std::size_t>(month - 1)],
                          step.piece == Piece::kShortMonthName);
        }
        break;
      default:
        out = WriteNumberPiece(out, step.piece, year, month, day);
        break;
    }
  }
  return out;
}

std::string DatePattern::Format(std::int32_t year, std::int32_t month, std::int32_t day) const {
  std::string text(most_, '\0');
  text.resize(static_cast<std::size_t>(Write(text.data(), year, month, day) - text.data()));
  return text;
}

}  // namespace lunavant::datepattern
