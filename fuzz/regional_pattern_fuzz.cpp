// SPDX-License-Identifier: MIT
// The regional settings' reading of a locale's short-date format (the strftime form the C library
// gives) into the add-in's pattern notation, for any format: letters of the format that are text
// never read as fields, the separator is one whole character of the pattern, GetLocaleInfoA keeps
// its two-pass contract without writing past the buffer, and a plain format ("%d.%m.%Y" and the
// like) writes dates that read back as the same dates.
#include <cctype>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "addin/host/error.h"
#include "fuzz/fuzz_support.h"
#include "workbench/platform/regional_settings.h"

namespace {

using lunavant::fuzz::Printable;
using lunavant::workbench::kLocaleDateSeparator;
using lunavant::workbench::kUserDefaultLcid;
using lunavant::workbench::PosixRegionalSettings;

// The locale data is the platform's; here it is whatever the fuzzer makes of it.
class FuzzedFormat final : public lunavant::workbench::DateFormatSource {
 public:
  // Cut at the first zero byte, as the C library hands over a C string.
  explicit FuzzedFormat(std::string format) : format_(format.c_str()) {}
  std::string UserDateFormat() const override { return format_; }

 private:
  std::string format_;
};

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Every letter outside quotes is a field letter, and every quote is closed.
bool LettersOutsideQuotesAreFields(const std::string& pattern) {
  bool quoted = false;
  for (std::size_t at = 0; at < pattern.size(); ++at) {
    const char c = pattern[at];
    if (c == '\'') {
      quoted = !quoted;
    } else if (!quoted && IsAsciiLetter(c) && c != 'd' && c != 'M' && c != 'y') {
      return false;
    }
  }
  return !quoted;
}

void CheckLocaleItem(const PosixRegionalSettings& regional, std::int32_t item,
                     const std::string& text) {
  const std::string what = "item " + std::to_string(item) + " \"" + Printable(text) + "\"";
  const std::int32_t needed = regional.GetLocaleInfoA(kUserDefaultLcid, item, nullptr, 0);
  if (text.empty()) {
    LUNAVANT_FUZZ_CHECK(needed == 0, what + " needs " + std::to_string(needed));
    return;
  }
  LUNAVANT_FUZZ_CHECK(needed == static_cast<std::int32_t>(text.size()) + 1,
                      what + " needs " + std::to_string(needed));
  // Guard bytes after the buffer show any write past its end.
  constexpr char kGuard = '\x5A';
  std::vector<char> buffer(static_cast<std::size_t>(needed) + 8, kGuard);
  LUNAVANT_FUZZ_CHECK(regional.GetLocaleInfoA(kUserDefaultLcid, item, buffer.data(), needed - 1) ==
                              0 &&
                          buffer[0] == kGuard,
                      what + ": a buffer one too short was written");
  LUNAVANT_FUZZ_CHECK(regional.GetLocaleInfoA(kUserDefaultLcid, item, buffer.data(), needed) ==
                              needed &&
                          std::string(buffer.data()) == text &&
                          buffer[static_cast<std::size_t>(needed)] == kGuard,
                      what + " came back as \"" + Printable(buffer.data()) + "\"");
}

// The field order of a format made of exactly three numeric fields and two equal one-character
// separators, such as "%d.%m.%Y" or "%Y-%m-%d"; "" for any other format. "dmy" lists the fields.
std::string PlainFieldOrder(const std::string& format, char& separator, bool& two_digit_year) {
  if (format.size() != 8 || format[0] != '%' || format[3] != '%' || format[6] != '%') return "";
  separator = format[2];
  if (format[5] != separator || separator == '%' || separator == '\'' ||
      std::isalnum(static_cast<unsigned char>(separator)) ||
      !std::isgraph(static_cast<unsigned char>(separator)))
    return "";
  std::string order;
  two_digit_year = false;
  for (const char field : {format[1], format[4], format[7]}) {
    if (field == 'd' || field == 'e') {
      order += 'd';
    } else if (field == 'm') {
      order += 'm';
    } else if (field == 'y' || field == 'Y') {
      order += 'y';
      two_digit_year = field == 'y';
    } else {
      return "";
    }
  }
  // The three orders regional settings know (day-month-year, month-day-year, year-month-day).
  if (order != "dmy" && order != "mdy" && order != "ymd") return "";
  return order;
}

void CheckPlainFormatReadsBack(const PosixRegionalSettings& regional, const std::string& format,
                               std::uint32_t day_pick) {
  char separator = 0;
  bool two_digit_year = false;
  if (PlainFieldOrder(format, separator, two_digit_year).empty()) return;
  LUNAVANT_FUZZ_CHECK(regional.DateSeparator() == std::string(1, separator),
                      "\"" + Printable(format) + "\" gave the separator \"" +
                          Printable(regional.DateSeparator()) + "\"");
  using namespace std::chrono;
  // Two-digit years read back in 1930..2029, four-digit ones from 100 on.
  const sys_days first = two_digit_year ? sys_days{year{1930} / 1 / 1} : sys_days{year{100} / 1 / 1};
  const sys_days last = two_digit_year ? sys_days{year{2029} / 12 / 31} : sys_days{year{9999} / 12 / 31};
  const year_month_day ymd{first + days{day_pick % static_cast<std::uint32_t>((last - first).count() + 1)}};
  const int y = static_cast<int>(ymd.year());
  const auto m = static_cast<std::int32_t>(static_cast<unsigned>(ymd.month()));
  const auto d = static_cast<std::int32_t>(static_cast<unsigned>(ymd.day()));
  const std::string text = regional.FormatDate(y, m, d, /*two_digit_year=*/false);
  lunavant::host::DateTime when;
  try {
    when = regional.ReadDate(text);
  } catch (const lunavant::host::HostError&) {
  }
  LUNAVANT_FUZZ_CHECK(when.year == y && when.month == m && when.day == d,
                      "\"" + Printable(format) + "\" as \"" + Printable(regional.ShortDatePattern()) +
                          "\" wrote " + std::to_string(y) + "-" + std::to_string(m) + "-" +
                          std::to_string(d) + " as \"" + Printable(text) + "\", read back as " +
                          std::to_string(when.year) + "-" + std::to_string(when.month) + "-" +
                          std::to_string(when.day));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lunavant::fuzz::FuzzInput input(data, size);
  const auto day_pick = static_cast<std::uint32_t>(input.Int32());
  const std::string format = input.Rest();
  const PosixRegionalSettings regional(std::make_unique<FuzzedFormat>(format));

  const std::string pattern = regional.ShortDatePattern();
  LUNAVANT_FUZZ_CHECK(LettersOutsideQuotesAreFields(pattern),
                      "\"" + Printable(format) + "\" gave \"" + Printable(pattern) + "\"");
  const std::string separator = regional.DateSeparator();
  LUNAVANT_FUZZ_CHECK(!separator.empty() && separator.size() <= 4 && !IsAsciiLetter(separator[0]) &&
                          (separator == "/" || pattern.find(separator) != std::string::npos),
                      "\"" + Printable(format) + "\" gave the pattern \"" + Printable(pattern) +
                          "\" and the separator \"" + Printable(separator) + "\"");
  CheckLocaleItem(regional, lunavant::host::kLocaleShortDate, pattern);
  CheckLocaleItem(regional, kLocaleDateSeparator, separator);
  CheckPlainFormatReadsBack(regional, format, day_pick);
  return 0;
}
