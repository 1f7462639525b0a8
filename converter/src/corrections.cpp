// SPDX-License-Identifier: MIT
#include "corrections.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <optional>
#include <utility>

#include "civil.h"

namespace lunavant::converter::detail {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

// A whole number of 1 to `most_digits` ASCII digits, and nothing else.
std::optional<int32_t> Number(std::string_view text, std::size_t most_digits) {
  if (text.empty() || text.size() > most_digits) return std::nullopt;
  int32_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// "Y-M" and "Y-M-D" with a year of up to four digits and parts of one or two.
template <std::size_t kParts>
std::optional<std::array<int32_t, kParts>> DashedNumbers(std::string_view text) {
  std::array<int32_t, kParts> parts{};
  for (std::size_t i = 0; i < kParts; ++i) {
    const bool last = i + 1 == kParts;
    const std::size_t dash = last ? text.size() : text.find('-');
    if (dash == std::string_view::npos) return std::nullopt;
    const auto number = Number(text.substr(0, dash), i == 0 ? 4 : 2);
    if (!number) return std::nullopt;
    parts[i] = *number;
    if (!last) text.remove_prefix(dash + 1);
  }
  return parts;
}

std::string MonthText(int32_t year, int32_t month) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d", static_cast<int>(year), static_cast<int>(month));
  return text;
}

std::string MonthText(int32_t index_in_table) {
  const int32_t index = kFirstMonthIndex + index_in_table;
  return MonthText(index / 12, index % 12 + 1);
}

std::string LineReason(int32_t line, const std::string& why) {
  return "line " + Decimal(line) + ": " + why;
}

const char* const kExpectedForm =
    "expected \"YEAR-MM | starts YYYY-MM-DD | source\" or \"YEAR-MM | N days | source\"";

// One line's correction, or the reason it is refused.
struct ParsedLine {
  std::optional<Correction> correction;
  std::string reason;
};

ParsedLine ParseLine(std::string_view text, int32_t line) {
  const std::size_t bar1 = text.find('|');
  const std::size_t bar2 = bar1 == std::string_view::npos ? bar1 : text.find('|', bar1 + 1);
  if (bar2 == std::string_view::npos) return {std::nullopt, LineReason(line, kExpectedForm)};
  const std::string_view month_field = Trimmed(text.substr(0, bar1));
  const std::string_view what = Trimmed(text.substr(bar1 + 1, bar2 - bar1 - 1));
  const std::string_view source = Trimmed(text.substr(bar2 + 1));

  Correction correction;
  correction.line = line;
  const auto month = DashedNumbers<2>(month_field);
  if (!month) return {std::nullopt, LineReason(line, kExpectedForm)};
  correction.year = (*month)[0];
  correction.month = (*month)[1];
  if (correction.month < 1 || correction.month > 12)
    return {std::nullopt, LineReason(line, std::string(month_field) + " is no Hijri month")};
  const int32_t index = correction.year * 12 + correction.month - 1 - kFirstMonthIndex;
  if (index < 0 || index >= kMonthCount)
    return {std::nullopt,
            LineReason(line, MonthText(correction.year, correction.month) +
                                 " is outside the Umm al-Qura table (" + MonthText(0) + " to " +
                                 MonthText(kMonthCount - 1) + ")")};

  constexpr std::string_view kStarts = "starts ";
  constexpr std::string_view kDays = " days";
  if (what.substr(0, kStarts.size()) == kStarts) {
    const std::string_view day_field = Trimmed(what.substr(kStarts.size()));
    const auto day = DashedNumbers<3>(day_field);
    if (!day) return {std::nullopt, LineReason(line, kExpectedForm)};
    const auto [y, m, d] = *day;
    if (y < 1 || m < 1 || m > 12 || d < 1 || d > LastDayOfGregorianMonth(y, m))
      return {std::nullopt, LineReason(line, std::string(day_field) + " is no Gregorian day")};
    correction.gives_first_day = true;
    correction.first_day = DaysFromCivil(y, m, d);
  } else if (what.size() > kDays.size() && what.substr(what.size() - kDays.size()) == kDays) {
    const auto length = Number(Trimmed(what.substr(0, what.size() - kDays.size())), 3);
    if (!length) return {std::nullopt, LineReason(line, kExpectedForm)};
    if (*length != 29 && *length != 30)
      return {std::nullopt,
              LineReason(line, "a month of " + Decimal(*length) + " days; a month has 29 or 30")};
    correction.length = *length;
  } else {
    return {std::nullopt, LineReason(line, kExpectedForm)};
  }
  if (source.empty())
    return {std::nullopt, LineReason(line, "no source: say where the date was announced")};
  correction.source = std::string(source);
  return {std::move(correction), {}};
}

// Which line set a month boundary, 0 for the table's own.
struct Boundary {
  int32_t day = 0;
  int32_t line = 0;
};

CorrectedTable Refused(std::string reason) {
  CorrectedTable result;
  result.reason = std::move(reason);
  return result;
}

}  // namespace

std::string Decimal(int64_t number) {
  char text[24];
  std::snprintf(text, sizeof text, "%lld", static_cast<long long>(number));
  return text;
}

std::string DayText(int32_t day_number) {
  const CivilDate date = CivilFromDays(day_number);
  char text[24];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", static_cast<int>(date.year),
                static_cast<int>(date.month), static_cast<int>(date.day));
  return text;
}

CorrectedTable ApplyCorrections(std::string_view text) {
  if (text.size() > kMaxCorrectionsBytes) return Refused("the file is longer than 1 MiB");
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    text.remove_prefix(kByteOrderMark.size());

  CorrectedTable result;
  // Month index in the table -> its correction, for each of the two kinds.
  std::map<int32_t, const Correction*> first_days;
  std::map<int32_t, const Correction*> lengths;
  int32_t line = 0;
  while (!text.empty()) {
    ++line;
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view content = Trimmed(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (content.empty() || content.front() == '#') continue;
    ParsedLine parsed = ParseLine(content, line);
    if (!parsed.correction) return Refused(std::move(parsed.reason));
    result.corrections.push_back(std::move(*parsed.correction));
  }

  for (const Correction& correction : result.corrections) {
    const int32_t index = correction.year * 12 + correction.month - 1 - kFirstMonthIndex;
    const std::string month = MonthText(correction.year, correction.month);
    if (correction.gives_first_day && index == 0)
      return Refused(LineReason(correction.line, month + " starts the table; its first day "
                                                         "cannot move"));
    if (correction.length != 0 && index == kMonthCount - 1)
      return Refused(LineReason(correction.line, month + " ends the table; its length cannot "
                                                         "change"));
    auto& kind = correction.gives_first_day ? first_days : lengths;
    const auto [earlier, added] = kind.emplace(index, &correction);
    if (!added)
      return Refused(LineReason(correction.line, month + " is corrected twice (line " +
                                                     Decimal(earlier->second->line) + ")"));
  }

  // Month boundaries in order: a first day sets its month's start, a length the next month's.
  std::array<Boundary, kMonthCount + 1> boundary{};
  for (int32_t i = 0; i <= kMonthCount; ++i) boundary[i].day = kMonthStart[i];
  std::array<bool, kMonthCount + 1> set_by_line{};
  for (int32_t i = 0; i < kMonthCount; ++i) {
    if (const auto first = first_days.find(i); first != first_days.end()) {
      const Correction& c = *first->second;
      if (set_by_line[i] && boundary[i].day != c.first_day) {
        const int32_t difference = c.first_day - boundary[i].day;
        return Refused(
            LineReason(c.line, MonthText(i) + " starts " + DayText(c.first_day) + ", but " +
                                   MonthText(i - 1) + " ends on " + DayText(boundary[i].day - 1) +
                                   " (line " + Decimal(boundary[i].line) +
                                   "): " + (difference > 0 ? "a gap of " : "an overlap of ") +
                                   Decimal(difference > 0 ? difference : -difference) +
                                   (difference == 1 || difference == -1 ? " day" : " days")));
      }
      boundary[i] = {c.first_day, c.line};
      set_by_line[i] = true;
    }
    if (const auto length = lengths.find(i); length != lengths.end()) {
      const Correction& c = *length->second;
      boundary[i + 1] = {boundary[i].day + c.length, c.line};
      set_by_line[i + 1] = true;
    }
  }

  // Every month a correction touched must still have 29 or 30 days; the table's own 28-day month
  // stays as it is unless a correction touches it.
  for (int32_t i = 0; i < kMonthCount; ++i) {
    if (!set_by_line[i] && !set_by_line[i + 1]) continue;
    const int32_t days = boundary[i + 1].day - boundary[i].day;
    if (days == 29 || days == 30) continue;
    const int32_t line_of = set_by_line[i + 1] ? boundary[i + 1].line : boundary[i].line;
    return Refused(LineReason(
        line_of, MonthText(i) + " would have " + Decimal(days) + " days; a month has 29 or 30"));
  }

  std::array<int32_t, kMonthCount + 1> starts{};
  for (int32_t i = 0; i <= kMonthCount; ++i) starts[i] = boundary[i].day;
  result.table = MonthTableOf(starts);
  result.accepted = true;
  return result;
}

std::string ChangedMonthLines(const MonthTable& table) {
  std::string lines;
  for (int32_t i = 0; i < kMonthCount; ++i) {
    const int32_t length = table.start[i + 1] - table.start[i];
    const int32_t built_in_length = kMonthStart[i + 1] - kMonthStart[i];
    if (table.start[i] == kMonthStart[i] && length == built_in_length) continue;
    lines += "changed: " + MonthText(i) + " " + DayText(table.start[i]) + " " + Decimal(length) +
             " days (table " + DayText(kMonthStart[i]) + " " + Decimal(built_in_length) +
             " days)\n";
  }
  return lines;
}

}  // namespace lunavant::converter::detail
