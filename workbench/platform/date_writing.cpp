// SPDX-License-Identifier: MIT
#include "workbench/platform/date_writing.h"

#include <cstdio>

#include "datepattern/date_pattern.h"

namespace lunavant::workbench {

std::string FormatDateWithPattern(std::string_view pattern, std::int32_t year, std::int32_t month,
                                  std::int32_t day, bool two_digit_year) {
  const std::string_view given = pattern.empty() ? kCShortDatePattern : pattern;
  if (!two_digit_year) return datepattern::DatePattern(given).Format(year, month, day);
  return datepattern::DatePattern(datepattern::WithTwoDigitYears(given)).Format(year, month, day);
}

std::string FormatTimeOfDay(std::int32_t hour, std::int32_t minute, std::int32_t second) {
  char text[3 * 12];  // three numbers of up to 11 characters, two colons and the terminating zero
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(hour),
                static_cast<int>(minute), static_cast<int>(second));
  return text;
}

}  // namespace lunavant::workbench
