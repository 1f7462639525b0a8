// SPDX-License-Identifier: MIT
#include "addin/codec/to_gregorian.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <optional>

#include "addin/base/error_style.h"
#include "addin/base/host_access.h"
#include "addin/base/utilities.h"
#include "addin/codec/converter_binding.h"
#include "addin/codec/date_text.h"
#include "addin/codec/messages.h"
#include "addin/codec/regional_date.h"
#include "addin/codec/text_pieces.h"
#include "addin/pairing/catalogues.h"

namespace lunavant::codec {
namespace {

using detail::FirstPieces;

// Larger than every bound checked, and far from overflowing.
constexpr std::int32_t kTooLarge = 1'000'000'000;

// The value of the decimal digit that `text` starts with at `pos` and its length in bytes: an ASCII
// digit, or an Arabic-Indic (U+0660..U+0669) or Extended Arabic-Indic (U+06F0..U+06F9) one, which
// an Arabic, Persian or Urdu keyboard types. Length 0 for anything else.
struct Digit {
  std::int32_t value = 0;
  std::size_t length = 0;
};
Digit DigitAt(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead >= '0' && lead <= '9') return {lead - '0', 1};
  if (pos + 1 >= text.size()) return {};
  const auto trail = static_cast<unsigned char>(text[pos + 1]);
  if (lead == 0xD9 && trail >= 0xA0 && trail <= 0xA9) return {trail - 0xA0, 2};  // U+0660..0669
  if (lead == 0xDB && trail >= 0xB0 && trail <= 0xB9) return {trail - 0xB0, 2};  // U+06F0..06F9
  return {};
}

// A whole decimal number with blanks around it; leading zeros allowed, digits of any of the three
// kinds above, mixed or not. Numbers beyond kTooLarge read as kTooLarge, which no bound accepts.
std::optional<std::int32_t> WholeNumber(std::string_view piece) {
  while (!piece.empty() && piece.front() == ' ') piece.remove_prefix(1);
  while (!piece.empty() && piece.back() == ' ') piece.remove_suffix(1);
  if (piece.empty()) return std::nullopt;
  const std::string_view digits = piece;
  std::int64_t number = 0;
  for (std::size_t pos = 0; pos < digits.size();) {
    const Digit digit = DigitAt(digits, pos);
    if (digit.length == 0) return std::nullopt;
    number = std::min<std::int64_t>(number * 10 + digit.value, kTooLarge);
    pos += digit.length;
  }
  return static_cast<std::int32_t>(number);
}

struct HijriPieces {
  std::int32_t day = 0;
  std::int32_t month = 0;
  std::int32_t year = 0;
};

// ReadHijriPieces in one pass over the text, for a separator of one ASCII character that is
// neither a blank nor a digit (the usual "/", "-", "."): such a separator cannot stand inside a
// number or its blanks, so the pieces end exactly where the separator stands. Sets `numbers` to
// day, month and year as read, each capped at kTooLarge.
bool ReadThreeNumbers(std::string_view text, char sep, std::int32_t (&numbers)[3]) {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    std::int32_t number = 0;
    const std::size_t start = pos;
    while (pos < text.size()) {
      const Digit digit = DigitAt(text, pos);
      if (digit.length == 0) break;
      // Below kTooLarge / 10 one more digit stays below kTooLarge.
      number = number < kTooLarge / 10 ? number * 10 + digit.value : kTooLarge;
      pos += digit.length;
    }
    if (pos == start) return false;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    numbers[i] = number;
    if (i < 2) {
      if (pos == text.size() || text[pos] != sep) return false;
      ++pos;
    }
  }
  return pos == text.size();
}

bool IsPlainSeparator(std::string_view sep) {
  if (sep.size() != 1) return false;
  const auto c = static_cast<unsigned char>(sep[0]);
  return c < 0x80 && c != ' ' && !(c >= '0' && c <= '9');
}

// The three numbers of well-formed Hijri text under separator `sep`, or nothing.
std::optional<HijriPieces> ReadHijriPieces(std::string_view text, std::string_view sep) {
  if (sep.empty()) return std::nullopt;
  if (IsPlainSeparator(sep)) {
    std::int32_t numbers[3];
    if (!ReadThreeNumbers(text, sep[0], numbers)) return std::nullopt;
    const auto [day, month, year] = numbers;
    if (day < 1 || day > 30 || month < 1 || month > 12 || year < 100 || year > 9999) {
      return std::nullopt;
    }
    return HijriPieces{day, month, year};
  }
  const auto pieces = FirstPieces<3>(text, sep);
  if (pieces.count != 3) return std::nullopt;
  const auto day = WholeNumber(pieces.piece[0]);
  const auto month = WholeNumber(pieces.piece[1]);
  const auto year = WholeNumber(pieces.piece[2]);
  if (!day || !month || !year) return std::nullopt;
  if (*day < 1 || *day > 30 || *month < 1 || *month > 12 || *year < 100 || *year > 9999) {
    return std::nullopt;
  }
  return HijriPieces{*day, *month, *year};
}

// Every Hijri month has at least this many days; only a later day needs asking about.
constexpr std::int32_t kDaysOfTheShortestMonth = 28;

// Whether the Hijri month of `hijri` has its day, given the Gregorian day the converter made of
// it: a converter may carry a day its month lacks over into the next month (30 Ramadan of a
// 29-day Ramadan as 1 Shawwal), so the day is taken back and must come back unchanged.
bool MonthHasTheDay(const HijriPieces& hijri, const GregorianDay& gregorian) {
  if (hijri.day <= kDaysOfTheShortestMonth) return true;
  const CalendarDate back = GregorianToHijri(gregorian.date);
  return back.year == hijri.year && back.month == hijri.month && back.day == hijri.day;
}

// "NA" in any letter case.
bool IsNA(std::string_view text) {
  return text.size() == 2 && (text[0] == 'N' || text[0] == 'n') &&
         (text[1] == 'A' || text[1] == 'a');
}

// The weekday and the Gregorian date of well-formed Hijri `text`, into `out`.
void WriteGregorianTextOf(std::string_view text, std::string& out) {
  const std::string sep = base::App().DateSeparator();
  const std::optional<HijriPieces> hijri = ReadHijriPieces(text, sep);
  if (!hijri) {
    if (sep.empty() || text.find(sep) == std::string_view::npos) {
      host::Raise(kWrongSeparatorNumber, WrongSeparatorMessage(sep));
    }
    host::Raise(kBadDateNumber, MalformedHijriMessage(sep));
  }
  if (!IsInHijriRange(hijri->year, hijri->month, hijri->day)) {
    host::Raise(kBadDateNumber, OutOfRangeHijriMessage(sep));
  }
  const GregorianDay gregorian = HijriToGregorian({hijri->year, hijri->month, hijri->day});
  if (!MonthHasTheDay(*hijri, gregorian)) host::Raise(kBadDateNumber, MalformedHijriMessage(sep));
  // The key as KeyText writes it, without a text of its own.
  char key[24];
  const char* const key_end = std::to_chars(key, key + sizeof key, gregorian.weekday).ptr;
  const std::string& weekday =
      pairing::WeekdayNames().Item(std::string_view(key, static_cast<std::size_t>(key_end - key)));
  // "Mon" and one blank before ComposeDateText's kind "G", written as one text.
  detail::WriteWeekdayAndRegionalDate(out, weekday, gregorian.date.year, gregorian.date.month,
                                      gregorian.date.day);
}

}  // namespace

bool IsWellFormedHijri(const host::Value& value) {
  return ReadHijriPieces(ValueText(value), base::App().DateSeparator()).has_value();
}

bool IsInHijriRange(std::int32_t year, std::int32_t month, std::int32_t day) {
  if (year < 1404 || year > 1472) return false;
  if (year == 1404) return !(month < 3 || (month == 3 && day < 28));
  if (year == 1472) return !(month > 4 || (month == 4 && day > 7));
  return true;
}

std::string ToGregorianText(const host::Value& value) {
  std::string result;
  base::ReportAtOnce([&] {
    // Text is read where it stands; only other values are written out first.
    const std::string written = value.IsText() ? std::string() : ValueText(value);
    const std::string& text = value.IsText() ? value.Text() : written;
    if (text.empty() || IsNA(text))
      result = text;
    else
      WriteGregorianTextOf(text, result);
  });
  return result;
}

}  // namespace lunavant::codec
