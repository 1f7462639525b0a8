// SPDX-License-Identifier: MIT
// Holiday sets on any text, dated over any years: reading either fails with "fuzz: ..." or
// "fuzz:N: ..." for a line N of the text, or gives rules within their ranges; dating them either
// fails with a HolidayError or gives named holidays, each as long as its rule or override says,
// in order of their first days.
#include <cstdint>
#include <string>
#include <string_view>

#include "converter/include/orbelune.h"
#include "fuzz/fuzz_support.h"
#include "workbench/holidays/holiday_dates.h"
#include "workbench/schedule/calendar.h"

namespace {

namespace wb = lunavant::workbench;

// The converter linked in, as the add-in's loader would find it.
class LinkedConverter final : public wb::HijriCalendar {
 public:
  std::optional<std::int64_t> DaysOf(const wb::HijriDate& date) override {
    std::int32_t hy = date.year, hm = date.month, hd = date.day, gy, gm, gd, wd;
    if (H2GA(&hy, &hm, &hd, &gy, &gm, &gd, &wd) != 0) return std::nullopt;
    return wb::DaysFromCivil(gy, gm, gd);
  }
  std::optional<wb::HijriDate> HijriOf(std::int64_t days) override {
    const lunavant::host::DateTime civil = wb::CivilFromDays(days);
    wb::HijriDate out;
    std::int32_t wd = 0;
    if (G2HA(civil.year, civil.month, civil.day, &out.year, &out.month, &out.day, &wd) != 0) {
      return std::nullopt;
    }
    return out;
  }
};

std::int64_t LineCount(std::string_view text) {
  std::int64_t lines = 1;
  for (const char c : text) lines += c == '\n';
  return lines;
}

#define CHECK(property, details)                                                             \
  do {                                                                                       \
    if (!(property)) lunavant::fuzz::PropertyBroken(#property, __FILE__, __LINE__, details); \
  } while (false)

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lunavant::fuzz::FuzzInput input(data, size);
  const std::int32_t first_year = 1400 + input.Byte() % 110;
  const std::int32_t last_year = first_year + input.Byte() % 8 - 1;
  const std::string text = input.Rest();
  const std::string shown = lunavant::fuzz::Printable(text);
  wb::HolidaySet set;
  try {
    set = wb::ParseHolidaySet(text, "fuzz");
  } catch (const wb::HolidayError& e) {
    const std::string message = e.what();
    CHECK(message.starts_with("fuzz:"), message);
    if (!message.starts_with("fuzz: ")) {
      const std::int64_t line = std::atoll(message.c_str() + 5);
      CHECK(line >= 1 && line <= LineCount(text), message + " for " + shown);
    }
    return 0;
  }
  CHECK(!set.rules.empty(), shown);
  for (const wb::HolidayRule& rule : set.rules) {
    CHECK(!rule.name.empty() && rule.name.find('|') == std::string::npos, shown);
    CHECK(rule.month >= 1 && rule.month <= 12 && rule.day >= 1 && rule.day <= 31, shown);
    CHECK(rule.length >= 1 && rule.length <= wb::kLongestHoliday, shown);
  }
  LinkedConverter hijri;
  std::vector<wb::DatedHoliday> dated;
  try {
    dated = wb::DateHolidays(set, first_year, last_year, hijri);
  } catch (const wb::HolidayError&) {
    return 0;
  }
  for (std::size_t i = 0; i < dated.size(); ++i) {
    const wb::DatedHoliday& h = dated[i];
    CHECK(h.first_day <= h.last_day && h.last_day - h.first_day < wb::kLongestHoliday, h.name);
    CHECK(h.name.starts_with(h.rule + " "), h.name);
    CHECK(i == 0 || dated[i - 1].first_day <= h.first_day, h.name);
  }
  return 0;
}
