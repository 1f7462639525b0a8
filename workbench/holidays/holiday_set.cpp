// SPDX-License-Identifier: MIT
#include "workbench/holidays/holiday_set.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <utility>

namespace lunavant::workbench {

namespace {

struct BundledSet {
  std::string_view name;
  std::string_view text;
};

// Made from the holidays folder's sets when the build is configured.
constexpr std::array kBundledSets = {
#include "bundled_holiday_sets.inc"
};

constexpr std::string_view kBlanks = " \t\r";

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t at = text.find(separator);
    parts.push_back(Trimmed(text.substr(0, at)));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  for (std::string_view part : Split(text, ' ')) {
    if (!part.empty()) words.push_back(part);
  }
  return words;
}

std::optional<std::int32_t> Number(std::string_view text, std::int32_t low, std::int32_t high) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
      value > high) {
    return std::nullopt;
  }
  return value;
}

// "Line 12: " context is added by the caller.
struct LineError {
  std::string what;
};

// "09-29" as month and day.
std::pair<std::int32_t, std::int32_t> MonthDay(std::string_view text) {
  const std::vector<std::string_view> parts = Split(text, '-');
  std::optional<std::int32_t> month, day;
  if (parts.size() == 2) {
    month = Number(parts[0], 1, 12);
    day = Number(parts[1], 1, 31);
  }
  if (!month || !day) throw LineError{"\"" + std::string(text) + "\" is no month and day (MM-DD)"};
  return {*month, *day};
}

std::int32_t Length(std::string_view text) {
  const std::vector<std::string_view> words = Words(text);
  const bool unit_ok =
      words.size() == 1 || (words.size() == 2 && (words[1] == "day" || words[1] == "days"));
  const std::optional<std::int32_t> length =
      words.empty() || !unit_ok ? std::nullopt : Number(words[0], 1, kLongestHoliday);
  if (!length) {
    throw LineError{"\"" + std::string(text) + "\" is no length (1 to " +
                    std::to_string(kLongestHoliday) + " days)"};
  }
  return *length;
}

HolidayOverride OverrideFrom(const std::vector<std::string_view>& when,
                             const std::vector<std::string_view>& fields) {
  HolidayOverride out;
  if (when.size() == 2 && when[1] == "none") {
    if (fields.size() != 2) throw LineError{"a year with \"none\" takes no length"};
    return out;
  }
  if (when.size() != 3 || when[1] != "from") {
    throw LineError{"a year's line reads \"YEAR from YYYY-MM-DD\" or \"YEAR none\""};
  }
  const std::vector<std::string_view> date = Split(when[2], '-');
  std::optional<std::int32_t> year, month, day;
  if (date.size() == 3) {
    year = Number(date[0], 1, 9999);
    month = Number(date[1], 1, 12);
    day = Number(date[2], 1, 31);
  }
  if (!year || !month || !day) {
    throw LineError{"\"" + std::string(when[2]) + "\" is no date (YYYY-MM-DD)"};
  }
  if (fields.size() != 3) throw LineError{"a year's line needs a length"};
  out.year = *year;
  out.month = *month;
  out.day = *day;
  out.length = Length(fields[2]);
  return out;
}

void ParseLine(
    std::string_view line, HolidaySet& set,
    std::vector<std::pair<std::string, std::pair<std::int32_t, HolidayOverride>>>& overrides) {
  const std::vector<std::string_view> fields = Split(line, '|');
  if (fields.size() < 2 || fields.size() > 3 || fields[0].empty()) {
    throw LineError{"a holiday reads \"NAME | WHEN | N days\""};
  }
  const std::vector<std::string_view> when = Words(fields[1]);
  if (when.empty()) throw LineError{"the holiday's day is missing"};
  if (when[0] == "hijri" || when[0] == "gregorian") {
    HolidayRule rule;
    rule.name = std::string(fields[0]);
    rule.calendar =
        when[0] == "hijri" ? HolidayRule::Calendar::kHijri : HolidayRule::Calendar::kGregorian;
    std::vector<std::string_view> words(when.begin() + 1, when.end());
    if (words.size() >= 2 && words[words.size() - 2] == "since") {
      const std::optional<std::int32_t> since = Number(words.back(), 1, 9999);
      if (!since || words.back().front() == '+') {
        throw LineError{"\"" + std::string(words.back()) + "\" is no year"};
      }
      rule.since = *since;
      words.resize(words.size() - 2);
    }
    if (words.size() >= 2 && words[words.size() - 2] == "to") {
      if (rule.calendar != HolidayRule::Calendar::kHijri) {
        throw LineError{"only a Hijri holiday runs \"to\" a day; a Gregorian one has a length"};
      }
      std::tie(rule.until_month, rule.until_day) = MonthDay(words.back());
      if (rule.until_day > 30) throw LineError{"a Hijri month has at most 30 days"};
      words.resize(words.size() - 2);
    }
    if (words.empty() || words.size() > 2) {
      throw LineError{
          "the day reads \"MM-DD\", then \"+N\", \"to MM-DD\" and \"since YEAR\" when needed"};
    }
    std::tie(rule.month, rule.day) = MonthDay(words[0]);
    if (rule.calendar == HolidayRule::Calendar::kHijri && rule.day > 30) {
      throw LineError{"a Hijri month has at most 30 days"};
    }
    if (words.size() == 2) {
      const bool signed_number = words[1].front() == '+' || words[1].front() == '-';
      const std::optional<std::int32_t> offset =
          signed_number ? Number(words[1], -kLongestHoliday, kLongestHoliday) : std::nullopt;
      if (rule.calendar != HolidayRule::Calendar::kHijri || !offset) {
        throw LineError{"\"" + std::string(words[1]) + "\" is no move of a Hijri day (+N or -N)"};
      }
      rule.offset = *offset;
    }
    if (rule.until_month != 0) {
      if (fields.size() != 2) throw LineError{"a holiday that runs \"to\" a day takes no length"};
    } else {
      if (fields.size() != 3) throw LineError{"the holiday needs a length"};
      rule.length = Length(fields[2]);
    }
    const bool known = std::any_of(set.rules.begin(), set.rules.end(),
                                   [&rule](const HolidayRule& r) { return r.name == rule.name; });
    if (known) throw LineError{"\"" + rule.name + "\" has a rule already"};
    set.rules.push_back(std::move(rule));
    return;
  }
  const std::optional<std::int32_t> year = Number(when[0], 1, 9999);
  if (!year || when[0].front() == '+') {
    throw LineError{"\"" + std::string(when[0]) +
                    "\" is neither \"hijri\", \"gregorian\" nor a year"};
  }
  overrides.push_back({std::string(fields[0]), {*year, OverrideFrom(when, fields)}});
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(text).str();
}

constexpr std::string_view kExtension = ".holidays";

}  // namespace

HolidaySet ParseHolidaySet(std::string_view text, std::string name) {
  HolidaySet set;
  set.name = std::move(name);
  std::vector<std::pair<std::string, std::pair<std::int32_t, HolidayOverride>>> overrides;
  std::vector<std::int32_t> override_lines;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::int32_t number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    line = Trimmed(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    try {
      const std::size_t before = overrides.size();
      ParseLine(line, set, overrides);
      if (overrides.size() != before) override_lines.push_back(number);
    } catch (const LineError& error) {
      throw HolidayError(set.name + ":" + std::to_string(number) + ": " + error.what);
    }
  }
  for (std::size_t i = 0; i < overrides.size(); ++i) {
    const std::string& holiday = overrides[i].first;
    const auto& year_override = overrides[i].second;
    const auto rule = std::find_if(set.rules.begin(), set.rules.end(),
                                   [&holiday](const HolidayRule& r) { return r.name == holiday; });
    if (rule == set.rules.end()) {
      throw HolidayError(set.name + ":" + std::to_string(override_lines[i]) + ": no rule names \"" +
                         holiday + "\"");
    }
    rule->overrides[year_override.first] = year_override.second;
  }
  if (set.rules.empty()) throw HolidayError(set.name + ": the set holds no holiday");
  return set;
}

std::optional<std::string_view> BundledHolidaySetText(std::string_view name) {
  for (const BundledSet& set : kBundledSets) {
    if (set.name == name) return set.text;
  }
  return std::nullopt;
}

std::vector<std::string> BundledHolidaySetNames() {
  std::vector<std::string> names;
  for (const BundledSet& set : kBundledSets) names.emplace_back(set.name);
  return names;
}

std::filesystem::path UserHolidayFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && *config == '/') {
    return std::filesystem::path(config) / "lunavant" / "holidays";
  }
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return {};
  return std::filesystem::path(home) / ".config" / "lunavant" / "holidays";
}

HolidaySet LoadHolidaySet(std::string_view name_or_path) {
  const bool is_path =
      name_or_path.find('/') != std::string_view::npos ||
      (name_or_path.size() > kExtension.size() && name_or_path.ends_with(kExtension));
  if (is_path) {
    const std::filesystem::path path(name_or_path);
    const std::optional<std::string> text = ReadWholeFile(path);
    if (!text) throw HolidayError(path.string() + ": cannot be read");
    return ParseHolidaySet(*text, path.string());
  }
  if (name_or_path.empty()) throw HolidayError("no holiday set named");
  const std::filesystem::path folder = UserHolidayFolder();
  if (!folder.empty()) {
    const std::filesystem::path own =
        folder / (std::string(name_or_path) + std::string(kExtension));
    if (std::error_code ignored; std::filesystem::is_regular_file(own, ignored)) {
      const std::optional<std::string> text = ReadWholeFile(own);
      if (!text) throw HolidayError(own.string() + ": cannot be read");
      return ParseHolidaySet(*text, own.string());
    }
  }
  if (const std::optional<std::string_view> text = BundledHolidaySetText(name_or_path)) {
    return ParseHolidaySet(*text, std::string(name_or_path));
  }
  std::string known;
  for (const std::string& name : BundledHolidaySetNames())
    known += (known.empty() ? "" : ", ") + name;
  throw HolidayError("no holiday set \"" + std::string(name_or_path) + "\" (shipped: " + known +
                     "; or give a path to a .holidays file)");
}

}  // namespace lunavant::workbench
