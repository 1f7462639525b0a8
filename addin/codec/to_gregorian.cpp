// SPDX-License-Identifier: MIT
#include "addin/codec/to_gregorian.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <vector>

#include "addin/codec/converter_binding.h"
#include "addin/codec/host_access.h"
#include "addin/codec/messages.h"
#include "addin/codec/text_pieces.h"
#include "addin/codec/to_hijri.h"
#include "addin/pairing/catalogues.h"
#include "addin/pairing/error_style.h"
#include "addin/pairing/utilities.h"

namespace lunavant::codec {
namespace {

using detail::SplitAt;

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
  const std::size_t first = piece.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  const std::size_t last = piece.find_last_not_of(' ');
  const std::string_view digits = piece.substr(first, last - first + 1);
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

// The three numbers of well-formed Hijri text under separator `sep`, or nothing.
std::optional<HijriPieces> ReadHijriPieces(std::string_view text, std::string_view sep) {
  if (sep.empty() || text.find(sep) == std::string_view::npos) return std::nullopt;
  const std::vector<std::string_view> pieces = SplitAt(text, sep);
  if (pieces.size() != 3) return std::nullopt;
  const auto day = WholeNumber(pieces[0]);
  const auto month = WholeNumber(pieces[1]);
  const auto year = WholeNumber(pieces[2]);
  if (!day || !month || !year) return std::nullopt;
  if (*day < 1 || *day > 30 || *month < 1 || *month > 12 || *year < 100 || *year > 9999) {
    return std::nullopt;
  }
  return HijriPieces{*day, *month, *year};
}

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

std::string GregorianTextOf(const std::string& text) {
  const std::string sep = HostApplication().DateSeparator();
  const std::optional<HijriPieces> hijri = ReadHijriPieces(text, sep);
  if (!hijri) {
    if (sep.empty() || text.find(sep) == std::string::npos) {
      host::Raise(kWrongSeparatorNumber, WrongSeparatorMessage(sep));
    }
    host::Raise(kBadDateNumber, MalformedHijriMessage(sep));
  }
  if (!IsInHijriRange(hijri->year, hijri->month, hijri->day)) {
    host::Raise(kBadDateNumber, OutOfRangeHijriMessage(sep));
  }
  const GregorianDay gregorian = HijriToGregorian({hijri->year, hijri->month, hijri->day});
  const std::string& weekday = pairing::WeekdayNames().Item(pairing::KeyText(gregorian.weekday));
  return weekday + " " +
         ComposeDateText(gregorian.date.year, gregorian.date.month, gregorian.date.day,
                         kKindGregorian);
}

}  // namespace

bool IsWellFormedHijri(const host::Value& value) {
  return ReadHijriPieces(ValueText(value), HostApplication().DateSeparator()).has_value();
}

bool IsInHijriRange(std::int32_t year, std::int32_t month, std::int32_t day) {
  if (year < 1404 || year > 1472) return false;
  if (year == 1404) return !(month < 3 || (month == 3 && day < 28));
  if (year == 1472) return !(month > 4 || (month == 4 && day > 7));
  return true;
}

std::string ToGregorianText(const host::Value& value) {
  std::string result;
  pairing::ReportAtOnce([&] {
    const std::string text = ValueText(value);
    result = text.empty() || AsciiLower(text) == "na" ? text : GregorianTextOf(text);
  });
  return result;
}

bool ConvertAndSetField(host::Task& task, host::FieldId field, const host::Value& value,
                        std::string_view direction) {
  std::string text;
  if (direction == kKindHijri)
    text = ToHijriText(value);
  else if (direction == kKindGregorian)
    text = ToGregorianText(value);
  if (text.empty()) return false;
  task.SetField(field, text);
  return true;
}

}  // namespace lunavant::codec
