// SPDX-License-Identifier: MIT
// The platform's date reading on any bytes, in every regional order and under any separator: it
// reads a real date and a real time of day or fails with "Type mismatch", nothing else. A date
// written the ways the host and users write dates (one or two digits, two- or four-digit years,
// a weekday name before it, a time of day beside it, with the short-date pattern of that order)
// reads back as that date.
#include <cctype>
#include <chrono>
#include <cstdint>
#include <string>

#include "addin/host/error.h"
#include "fuzz/fuzz_support.h"
#include "workbench/platform/date_reading.h"
#include "workbench/platform/date_writing.h"

namespace {

using lunavant::host::DateTime;
using lunavant::workbench::DateOrder;
using lunavant::workbench::FormatDateWithPattern;
using lunavant::workbench::ReadDateText;

std::string Show(const DateTime& when) {
  char text[64];
  std::snprintf(text, sizeof text, "%d-%d-%d %d:%d:%d", when.year, when.month, when.day, when.hour,
                when.minute, when.second);
  return text;
}

bool IsRealDate(const DateTime& when) {
  if (when.year < 100 || when.year > 9999 || when.month < 1 || when.month > 12) return false;
  const std::chrono::year_month_day ymd{std::chrono::year{when.year},
                                        std::chrono::month{static_cast<unsigned>(when.month)},
                                        std::chrono::day{static_cast<unsigned>(when.day)}};
  return when.day >= 1 && ymd.ok();
}

bool IsTimeOfDay(const DateTime& when) {
  return when.hour >= 0 && when.hour <= 23 && when.minute >= 0 && when.minute <= 59 &&
         when.second >= 0 && when.second <= 59;
}

// What reading `text` gives; reading fails only with the platform's type mismatch.
bool Read(std::string_view text, DateOrder order, std::string_view separator, DateTime& when) {
  try {
    when = ReadDateText(text, order, separator);
    return true;
  } catch (const lunavant::host::HostError& error) {
    LUNAVANT_FUZZ_CHECK(error.record().number == lunavant::host::kTypeMismatch &&
                            error.record().description == "Type mismatch",
                        "reading \"" + lunavant::fuzz::Printable(text) + "\" failed with " +
                            std::to_string(error.record().number) + " " +
                            error.record().description);
    return false;
  }
}

// A separator a user could set and a written date could not mistake for part of an element.
bool IsUsableSeparator(std::string_view separator) {
  if (separator.empty()) return false;
  for (const char c : separator) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || std::isspace(byte) || c == '\'' || byte < 0x20) return false;
  }
  return true;
}

std::string Number(std::int32_t value, bool padded) {
  std::string text = std::to_string(value);
  if (padded && text.size() < 2) text.insert(0, "0");
  return text;
}

void CheckAnyText(const std::string& text, DateOrder order, const std::string& separator) {
  DateTime when;
  const bool read = Read(text, order, separator, when);
  // A blank in front changes nothing, though it takes the reader off its direct path for plain
  // dates such as "15/03/04" and through its general one.
  DateTime with_blank;
  const bool read_with_blank = Read(" " + text, order, separator, with_blank);
  LUNAVANT_FUZZ_CHECK(read == read_with_blank && (!read || when == with_blank),
                      "\"" + lunavant::fuzz::Printable(text) + "\" read as " +
                          (read ? Show(when) : "nothing") + ", after a blank as " +
                          (read_with_blank ? Show(with_blank) : "nothing"));
  if (!read) return;
  const bool no_date = when.year == 0 && when.month == 0 && when.day == 0;
  LUNAVANT_FUZZ_CHECK((no_date || IsRealDate(when)) && IsTimeOfDay(when),
                      "\"" + lunavant::fuzz::Printable(text) + "\" read as " + Show(when));
}

void CheckWrittenDate(lunavant::fuzz::FuzzInput& input, DateOrder order,
                      const std::string& separator) {
  using namespace std::chrono;
  // A day from 1 January 100 to 31 December 9999.
  const sys_days first = year{100} / January / 1;
  const sys_days last = year{9999} / December / 31;
  const auto span = static_cast<std::uint32_t>((last - first).count() + 1);
  const sys_days day = first + days{static_cast<std::uint32_t>(input.Int32()) % span};
  const year_month_day ymd{day};
  DateTime expected{static_cast<int>(ymd.year()), static_cast<std::int32_t>(unsigned(ymd.month())),
                    static_cast<std::int32_t>(unsigned(ymd.day()))};

  const std::uint8_t form = input.Byte();
  const bool padded = form & 1;
  // Two digits only where they read back, and never with ":", where 05:07:50 is a time of day;
  // years below 1000 have fewer than four digits anyway.
  const bool two_digit_year = (form & 2) && expected.year >= 1930 && expected.year <= 2029 &&
                              separator.find(':') == std::string::npos;
  const std::string y =
      two_digit_year ? Number(expected.year % 100, true) : std::to_string(expected.year);
  const std::string m = Number(expected.month, padded);
  const std::string d = Number(expected.day, padded);
  std::string text;
  switch (order) {
    case DateOrder::kDayMonthYear:
      text = d + separator + m + separator + y;
      break;
    case DateOrder::kMonthDayYear:
      text = m + separator + d + separator + y;
      break;
    case DateOrder::kYearMonthDay:
      text = y + separator + m + separator + d;
      break;
    case DateOrder::kYearDayMonth:
      text = y + separator + d + separator + m;
      break;
  }
  if (form & 4) {
    static const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    text = kWeekdays[weekday{day}.c_encoding()] + std::string(" ") + text;
  }
  if (form & 8) {
    expected.hour = input.Byte() % 24;
    expected.minute = input.Byte() % 60;
    const std::string time = Number(expected.hour, true) + ":" + Number(expected.minute, true);
    text = (form & 16) ? time + " " + text : text + " " + time;
  }
  DateTime when;
  LUNAVANT_FUZZ_CHECK(Read(text, order, separator, when) && when == expected,
                      "\"" + lunavant::fuzz::Printable(text) + "\" read as " + Show(when) +
                          ", expected " + Show(expected));

  // The same date written by the platform with the short-date pattern of that order.
  static const char* const kFields[][3] = {
      {"dd", "MM", "yyyy"}, {"MM", "dd", "yyyy"}, {"yyyy", "MM", "dd"}, {"yyyy", "dd", "MM"}};
  const auto* fields = kFields[static_cast<int>(order)];
  const std::string pattern =
      std::string(fields[0]) + separator + fields[1] + separator + fields[2];
  const std::string formatted =
      FormatDateWithPattern(pattern, expected.year, expected.month, expected.day, two_digit_year);
  LUNAVANT_FUZZ_CHECK(Read(formatted, order, separator, when) && when.year == expected.year &&
                          when.month == expected.month && when.day == expected.day,
                      "\"" + lunavant::fuzz::Printable(formatted) + "\" written with " + pattern +
                          " read as " + Show(when));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lunavant::fuzz::FuzzInput input(data, size);
  const auto order = static_cast<DateOrder>(input.Byte() % 4);
  const std::string separator = input.Text(4);
  const std::string written_separator = IsUsableSeparator(separator) ? separator : "/";
  CheckWrittenDate(input, order, written_separator);
  CheckAnyText(input.Rest(), order, separator);
  return 0;
}
