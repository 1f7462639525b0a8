// SPDX-License-Identifier: MIT
#include "workbench/platform/date_writing.h"

#include "datepattern/date_pattern.h"

namespace lunavant::workbench {
namespace {

// At least two digits.
void AppendPadded(std::string& out, std::int32_t value) {
  if (value >= 0 && value < 10) out += '0';
  out += std::to_string(value);
}

}  // namespace

std::string FormatDateWithPattern(std::string_view pattern, std::int32_t year, std::int32_t month,
                                  std::int32_t day, bool two_digit_year) {
  const std::string_view given = pattern.empty() ? kCShortDatePattern : pattern;
  if (!two_digit_year) return datepattern::DatePattern(given).Format(year, month, day);
  return datepattern::DatePattern(datepattern::WithTwoDigitYears(given)).Format(year, month, day);
}

std::string FormatTimeOfDay(std::int32_t hour, std::int32_t minute, std::int32_t second) {
  std::string text;
  text.reserve(8);
  AppendPadded(text, hour);
  text += ':';
  AppendPadded(text, minute);
  text += ':';
  AppendPadded(text, second);
  return text;
}

}  // namespace lunavant::workbench
