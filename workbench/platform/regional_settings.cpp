// SPDX-License-Identifier: MIT
#include "workbench/platform/regional_settings.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <utility>

#include "workbench/platform/date_reading.h"
#include "workbench/platform/date_writing.h"

namespace lunavant::workbench {
namespace {

// A loop: the text is a short date, written for every date field shown.
bool HasColon(std::string_view text) {
  for (const char c : text) {
    if (c == ':') return true;
  }
  return false;
}

}  // namespace

PosixRegionalSettings::PosixRegionalSettings() : source_(UserDateFormatSource()) {}

PosixRegionalSettings::PosixRegionalSettings(std::unique_ptr<const DateFormatSource> source)
    : source_(source != nullptr ? std::move(source) : UserDateFormatSource()) {}

PosixRegionalSettings::Settings PosixRegionalSettings::CurrentFromLocale() const {
  const ShortDate& locale = source_->UserShortDate();
  return {pattern_override_ ? std::string_view(*pattern_override_) : locale.pattern,
          separator_override_ ? std::string_view(*separator_override_) : locale.separator};
}

std::string PosixRegionalSettings::ShortDatePattern() const {
  return std::string(Current().pattern);
}

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
  return FormatDateBetween({}, year, month, day, two_digit_year, {});
}

const PosixRegionalSettings::WritingForms& PosixRegionalSettings::FormsOfCurrentPattern() const {
  const std::string_view locale_pattern = Current().pattern;
  const std::string_view pattern = locale_pattern.empty() ? kCShortDatePattern : locale_pattern;
  if (pattern != forms_.pattern) {
    forms_.pattern.assign(pattern);
    forms_.as_given = datepattern::DatePattern(pattern);
    forms_.two_digit_years = datepattern::DatePattern(datepattern::WithTwoDigitYears(pattern));
    forms_.whole_years = datepattern::DatePattern(datepattern::WithWholeYears(pattern));
    forms_.most_written =
        std::max({forms_.as_given.MostWritten(), forms_.two_digit_years.MostWritten(),
                  forms_.whole_years.MostWritten()});
    forms_.has_colon = HasColon(pattern);
  }
  return forms_;
}

std::string PosixRegionalSettings::FormatDateBetween(std::string_view before, std::int32_t year,
                                                     std::int32_t month, std::int32_t day,
                                                     bool two_digit_year,
                                                     std::string_view after) const {
  const WritingForms& forms = FormsOfCurrentPattern();
  const std::size_t room = before.size() + forms.most_written + after.size();
  if (scratch_.size() < room) scratch_.resize(room);
  char* out = scratch_.data();
  if (!before.empty()) std::memcpy(out, before.data(), before.size());
  out += before.size();
  char* const date = out;
  // A year that two digits would give back as another (2030 as 1930) is written in full, also
  // where the pattern itself has only two.
  if (!TwoDigitYearReadsBack(year)) {
    out = forms.whole_years.Write(date, year, month, day);
  } else {
    out = (two_digit_year ? forms.two_digit_years : forms.as_given).Write(date, year, month, day);
    // "15:03:04" is a time of day to the reader; the whole year makes it a date again.
    if (forms.has_colon &&
        ReadsAsTimeOfDay(std::string_view(date, static_cast<std::size_t>(out - date)))) {
      out = forms.whole_years.Write(date, year, month, day);
    }
  }
  if (!after.empty()) std::memcpy(out, after.data(), after.size());
  out += after.size();
  return std::string(scratch_.data(), out);
}

std::uint32_t PosixRegionalSettings::GetUserDefaultLCID() const { return kUserDefaultLcid; }

std::int32_t PosixRegionalSettings::GetLocaleInfoA(std::uint32_t lcid, std::int32_t item,
                                                   char* buffer, std::int32_t length) const {
  if (lcid != kUserDefaultLcid) return 0;
  std::string_view text;
  if (item == host::kLocaleShortDate) {
    text = Current().pattern;
  } else if (item == kLocaleDateSeparator) {
    text = Current().separator;
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
  for (std::size_t i = 0; i < text.size(); ++i) buffer[i] = text[i];
  buffer[text.size()] = '\0';
  return needed;
}

host::DateTime PosixRegionalSettings::ReadDate(std::string_view text) const {
  const Settings settings = Current();
  // The pattern is read at every call; only its order is kept until the pattern changes.
  if (settings.pattern != order_pattern_) {
    order_pattern_.assign(settings.pattern);
    order_ = DateOrderOfPattern(settings.pattern);
  }
  return ReadDateText(text, order_, settings.separator);
}

std::string PosixRegionalSettings::DefaultDateTimeText(const host::DateTime& when) const {
  std::string time = FormatTimeOfDay(when.hour, when.minute, when.second);
  if (when.year == 0 && when.month == 0 && when.day == 0) return time;
  std::string text = FormatDate(when.year, when.month, when.day, /*two_digit_year=*/false);
  if (when.HasTime()) text += ' ' + time;
  return text;
}

}  // namespace lunavant::workbench
