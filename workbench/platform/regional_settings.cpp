// SPDX-License-Identifier: MIT
#include "workbench/platform/regional_settings.h"

#include <cstddef>
#include <cstring>
#include <limits>
#include <utility>

#include "workbench/platform/date_reading.h"

namespace lunavant::workbench {
namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsTokenLetter(char c) { return c == 'd' || c == 'y' || c == 'M' || c == 'm'; }

// Builds a short-date pattern, quoting the letters that are text so none reads as a field.
class PatternWriter {
 public:
  void Field(std::string_view field) {
    CloseQuote();
    out_ += field;
  }
  void Text(char c) {
    if (IsAsciiLetter(c)) {
      if (!quoted_) out_ += '\'';
      quoted_ = true;
      out_ += c;
      return;
    }
    CloseQuote();
    out_ += c == '\'' ? std::string_view("''") : std::string_view(&c, 1);
  }
  std::string Finish() {
    CloseQuote();
    return std::move(out_);
  }

 private:
  void CloseQuote() {
    if (quoted_) out_ += '\'';
    quoted_ = false;
  }
  std::string out_;
  bool quoted_ = false;
};

// The strftime form of a short date (D_FMT) in the pattern notation of the add-in. Flags, widths
// and the E and O modifiers are read and dropped, except that "%-d" and "%-m" write no leading
// zero; fields with no counterpart (%C, %j, %U...) are left out.
std::string StrftimeToShortDatePattern(std::string_view format) {
  PatternWriter pattern;
  for (std::size_t pos = 0; pos < format.size(); ++pos) {
    if (format[pos] != '%') {
      pattern.Text(format[pos]);
      continue;
    }
    bool no_padding = false;
    ++pos;
    while (pos < format.size() &&
           std::string_view("_-0^#").find(format[pos]) != std::string_view::npos) {
      no_padding = no_padding || format[pos] == '-';
      ++pos;
    }
    while (pos < format.size() && format[pos] >= '0' && format[pos] <= '9') ++pos;
    if (pos < format.size() && (format[pos] == 'E' || format[pos] == 'O')) ++pos;
    if (pos >= format.size()) break;
    switch (format[pos]) {
      case 'd':
        pattern.Field(no_padding ? "d" : "dd");
        break;
      case 'e':
        pattern.Field("d");
        break;
      case 'm':
        pattern.Field(no_padding ? "M" : "MM");
        break;
      case 'y':
        pattern.Field("yy");
        break;
      case 'Y':
        pattern.Field("yyyy");
        break;
      case 'D':
        pattern.Field("MM/dd/yy");
        break;
      case 'F':
        pattern.Field("yyyy-MM-dd");
        break;
      case 'a':
        pattern.Field("ddd");
        break;
      case 'A':
        pattern.Field("dddd");
        break;
      case 'b':
      case 'h':
        pattern.Field("MMM");
        break;
      case 'B':
        pattern.Field("MMMM");
        break;
      case 'n':
      case 't':
        pattern.Text(' ');
        break;
      case '%':
        pattern.Text('%');
        break;
      default:
        break;
    }
  }
  return pattern.Finish();
}

// The number of bytes of the character starting at `pos`: a whole UTF-8 sequence when the bytes
// form one, else one byte.
std::size_t CharacterLength(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 1;
  if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  } else if (lead >= 0xE0) {
    length = 3;
  } else if (lead >= 0xC2) {
    length = 2;
  }
  if (length == 1 || pos + length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

// The first character after the first date field that is no letter ("''" is one quote; a single
// quote only marks text); "/", the "C" locale's, when there is none.
std::string DateSeparatorOfPattern(std::string_view pattern) {
  std::size_t pos = 0;
  while (pos < pattern.size() && !IsTokenLetter(pattern[pos])) ++pos;
  const char field = pos < pattern.size() ? pattern[pos] : '\0';
  while (pos < pattern.size() && pattern[pos] == field) ++pos;
  for (; pos < pattern.size(); ++pos) {
    const char c = pattern[pos];
    if (c == '\'' && pos + 1 < pattern.size() && pattern[pos + 1] == '\'') return "'";
    if (IsAsciiLetter(c) || c == '\'') continue;
    return std::string(pattern.substr(pos, CharacterLength(pattern, pos)));
  }
  return "/";
}

}  // namespace

PosixRegionalSettings::PosixRegionalSettings()
    : source_(std::make_unique<PosixDateFormatSource>()) {}

PosixRegionalSettings::PosixRegionalSettings(std::unique_ptr<const DateFormatSource> source)
    : source_(source != nullptr ? std::move(source) : std::make_unique<PosixDateFormatSource>()) {}

PosixRegionalSettings::Settings PosixRegionalSettings::Current() const {
  if (pattern_override_ && separator_override_) return {*pattern_override_, *separator_override_};
  const std::string locale_pattern = StrftimeToShortDatePattern(source_->UserDateFormat());
  return {pattern_override_.value_or(locale_pattern),
          separator_override_.value_or(DateSeparatorOfPattern(locale_pattern))};
}

std::string PosixRegionalSettings::ShortDatePattern() const { return Current().pattern; }

std::string PosixRegionalSettings::DateSeparator() const { return Current().separator; }

void PosixRegionalSettings::OverrideShortDatePattern(std::string pattern) {
  pattern_override_ = std::move(pattern);
}

void PosixRegionalSettings::OverrideDateSeparator(std::string separator) {
  separator_override_ = std::move(separator);
}

void PosixRegionalSettings::ClearOverrides() {
  pattern_override_.reset();
  separator_override_.reset();
}

std::string PosixRegionalSettings::FormatDate(std::int32_t year, std::int32_t month,
                                              std::int32_t day, bool two_digit_year) const {
  return FormatDateWithPattern(ShortDatePattern(), year, month, day, two_digit_year);
}

std::uint32_t PosixRegionalSettings::GetUserDefaultLCID() const { return kUserDefaultLcid; }

std::int32_t PosixRegionalSettings::GetLocaleInfoA(std::uint32_t lcid, std::int32_t item,
                                                   char* buffer, std::int32_t length) const {
  if (lcid != kUserDefaultLcid) return 0;
  std::string text;
  if (item == host::kLocaleShortDate) {
    text = ShortDatePattern();
  } else if (item == kLocaleDateSeparator) {
    text = DateSeparator();
  } else {
    return 0;
  }
  if (text.empty() ||
      text.size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return 0;
  }
  const auto needed = static_cast<std::int32_t>(text.size() + 1);  // with the terminating zero
  if (length == 0) return needed;
  if (buffer == nullptr || length < needed) return 0;
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
  return needed;
}

host::DateTime PosixRegionalSettings::ReadDate(std::string_view text) const {
  const Settings settings = Current();
  return ReadDateText(text, DateOrderOfPattern(settings.pattern), settings.separator);
}

std::string PosixRegionalSettings::DefaultDateTimeText(const host::DateTime& when) const {
  std::string time = FormatTimeOfDay(when.hour, when.minute, when.second);
  if (when.year == 0 && when.month == 0 && when.day == 0) return time;
  std::string text = FormatDate(when.year, when.month, when.day, /*two_digit_year=*/false);
  if (when.HasTime()) text += ' ' + time;
  return text;
}

}  // namespace lunavant::workbench
