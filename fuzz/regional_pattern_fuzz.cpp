// SPDX-License-Identifier: MIT
// A locale's short date, given as the C library's strftime form or as a CLDR pattern, read into
// the add-in's pattern notation and separator, for any format: letters that are text never read
// as fields, the separator is never empty, GetLocaleInfoA keeps its two-pass contract without
// writing past the buffer, and every date the regional settings write with the result reads back
// as that date.
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "addin/host/error.h"
#include "fuzz/fuzz_support.h"
#include "workbench/platform/regional_settings.h"
#include "workbench/platform/short_date.h"

namespace {

using lunavant::fuzz::Printable;
using lunavant::workbench::kLocaleDateSeparator;
using lunavant::workbench::kUserDefaultLcid;
using lunavant::workbench::PosixRegionalSettings;
using lunavant::workbench::ShortDate;

// The locale data is the platform's; here it is whatever the fuzzer makes of it.
class FuzzedShortDate final : public lunavant::workbench::DateFormatSource {
 public:
  explicit FuzzedShortDate(ShortDate short_date) : short_date_(std::move(short_date)) {}
  const ShortDate& UserShortDate() const override { return short_date_; }

 private:
  ShortDate short_date_;
};

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Every letter outside quotes is a field letter, and every quote is closed.
bool LettersOutsideQuotesAreFields(const std::string& pattern) {
  bool quoted = false;
  for (const char c : pattern) {
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
  LUNAVANT_FUZZ_CHECK(
      regional.GetLocaleInfoA(kUserDefaultLcid, item, buffer.data(), needed - 1) == 0 &&
          buffer[0] == kGuard,
      what + ": a buffer one too short was written");
  LUNAVANT_FUZZ_CHECK(
      regional.GetLocaleInfoA(kUserDefaultLcid, item, buffer.data(), needed) == needed &&
          std::string(buffer.data()) == text && buffer[static_cast<std::size_t>(needed)] == kGuard,
      what + " came back as \"" + Printable(buffer.data()) + "\"");
}

void CheckDateReadsBack(const PosixRegionalSettings& regional, const std::string& format,
                        std::uint32_t day_pick, bool two_digit_year) {
  using namespace std::chrono;
  const sys_days first = year{100} / 1 / 1;
  const sys_days last = year{9999} / 12 / 31;
  // Half the picks fall in the years that two digits can show.
  const sys_days window = year{1930} / 1 / 1;
  const sys_days day =
      (day_pick & 1)
          ? window + days{(day_pick >> 1) % 36525}
          : first + days{(day_pick >> 1) % static_cast<std::uint32_t>((last - first).count() + 1)};
  const year_month_day ymd{day};
  const int y = static_cast<int>(ymd.year());
  const auto m = static_cast<std::int32_t>(static_cast<unsigned>(ymd.month()));
  const auto d = static_cast<std::int32_t>(static_cast<unsigned>(ymd.day()));
  const std::string text = regional.FormatDate(y, m, d, two_digit_year);
  lunavant::host::DateTime when;
  try {
    when = regional.ReadDate(text);
  } catch (const lunavant::host::HostError&) {
  }
  LUNAVANT_FUZZ_CHECK(when.year == y && when.month == m && when.day == d,
                      "\"" + Printable(format) + "\" as \"" +
                          Printable(regional.ShortDatePattern()) + "\" and \"" +
                          Printable(regional.DateSeparator()) + "\" wrote " + std::to_string(y) +
                          "-" + std::to_string(m) + "-" + std::to_string(d) + " as \"" +
                          Printable(text) + "\", read back as " + std::to_string(when.year) + "-" +
                          std::to_string(when.month) + "-" + std::to_string(when.day));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lunavant::fuzz::FuzzInput input(data, size);
  const auto day_pick = static_cast<std::uint32_t>(input.Int32());
  const bool cldr = input.Byte() & 1;
  // Cut at the first zero byte: the platform hands the format over as a C string.
  const std::string format = input.Rest().c_str();
  ShortDate short_date = cldr ? lunavant::workbench::ShortDateOfCldr(format)
                              : lunavant::workbench::ShortDateOfStrftime(format);
  const std::string pattern = short_date.pattern;
  const std::string separator = short_date.separator;
  const std::string what = std::string(cldr ? "CLDR" : "strftime") + " \"" + Printable(format) +
                           "\" gave \"" + Printable(pattern) + "\" and \"" + Printable(separator) +
                           "\"";
  LUNAVANT_FUZZ_CHECK(LettersOutsideQuotesAreFields(pattern), what);
  LUNAVANT_FUZZ_CHECK(!separator.empty() && !IsAsciiLetter(separator[0]), what);
  LUNAVANT_FUZZ_CHECK(pattern.empty() == format.empty() || cldr, what);

  const PosixRegionalSettings regional(std::make_unique<FuzzedShortDate>(std::move(short_date)));
  CheckLocaleItem(regional, lunavant::host::kLocaleShortDate, pattern);
  CheckLocaleItem(regional, kLocaleDateSeparator, separator);
  CheckDateReadsBack(regional, format, day_pick, /*two_digit_year=*/false);
  CheckDateReadsBack(regional, format, day_pick >> 7, /*two_digit_year=*/true);
  return 0;
}
