// SPDX-License-Identifier: MIT
// Holiday sets: the public holidays of a country as a plain text file a user can read and
// write (the format is described in holidays/README.md), read into rules, and the sets shipped
// with the workbench.
//
//   HolidaySet sa = ParseHolidaySet(BundledHolidaySetText("sa").value(), "sa");
//   for (const HolidayRule& rule : sa.rules) ...   // "Eid al-Fitr", Hijri 9-29 +1, 4 days
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lunavant::workbench {

// A set that cannot be read or expanded; what() names the set's file and line when it has one.
class HolidayError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a year's announcement says instead of the rule: the first Gregorian day and the length,
// or no holiday at all (length 0).
struct HolidayOverride {
  std::int32_t year = 0, month = 0, day = 0;  // Gregorian
  std::int32_t length = 0;
};

struct HolidayRule {
  enum class Calendar { kHijri, kGregorian };
  std::string name;
  Calendar calendar = Calendar::kHijri;
  std::int32_t month = 1;  // [1, 12] of `calendar`
  std::int32_t day = 1;    // [1, 30]
  // Days from that day to the first day off, for rules such as "the day after the 29th".
  std::int32_t offset = 0;
  std::int32_t length = 1;  // calendar days, [1, kLongestHoliday]
  // A Hijri holiday that runs to a Hijri day ("to 10-03": to 3 Shawwal, however long Ramadan
  // is) instead of for `length` days; 0 for none. In the next Hijri year when its month comes
  // before `month`.
  std::int32_t until_month = 0;  // [1, 12]
  std::int32_t until_day = 0;    // [1, 30]
  // The first year the holiday is kept, in the same reckoning as `overrides`; 0 for always.
  std::int32_t since = 0;
  // By the year that names the holiday: the Hijri year for a Hijri rule, else the Gregorian.
  std::map<std::int32_t, HolidayOverride> overrides;
};

struct HolidaySet {
  std::string name;
  std::vector<HolidayRule> rules;
};

inline constexpr std::int32_t kLongestHoliday = 60;

// Reads a set; `name` names it in errors. Fails with HolidayError ("sa:12: ...") on the first line
// it cannot read, on an override for a holiday no rule names, and on a set without rules.
HolidaySet ParseHolidaySet(std::string_view text, std::string name);

// The text of a set shipped with the workbench ("sa"); empty for an unknown name.
std::optional<std::string_view> BundledHolidaySetText(std::string_view name);
std::vector<std::string> BundledHolidaySetNames();

// Finds a set by what a user typed: a path to a file (it has a "/" or ends with ".holidays"),
// else a set named so in the user's folder ($XDG_CONFIG_HOME/lunavant/holidays, or
// ~/.config/lunavant/holidays), else a shipped one. Fails with HolidayError when there is no such
// set, or the file cannot be read or parsed.
HolidaySet LoadHolidaySet(std::string_view name_or_path);
std::filesystem::path UserHolidayFolder();

}  // namespace lunavant::workbench
