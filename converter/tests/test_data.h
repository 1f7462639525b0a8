// SPDX-License-Identifier: MIT
// Dates as the converter's tests write them, and readers for the reference data the converter is
// checked against: the month table and the primary-source dated pairs.
#pragma once

#include <cctype>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace lunavant::converter::testing {

struct Ymd {
  int32_t y = 0;
  int32_t m = 0;
  int32_t d = 0;
  friend bool operator==(const Ymd&, const Ymd&) = default;
};

inline std::string ToString(const Ymd& date) {
  return std::to_string(date.y) + "-" + std::to_string(date.m) + "-" + std::to_string(date.d);
}

struct Converted {
  int32_t result = -1;
  Ymd date;
  int32_t weekday = -1;
};

// Gregorian arithmetic from the standard library, independent of the converter's own.
inline std::chrono::sys_days ToDays(const Ymd& date) {
  return std::chrono::year{date.y} / std::chrono::month{static_cast<unsigned>(date.m)} /
         std::chrono::day{static_cast<unsigned>(date.d)};
}

inline Ymd FromDays(std::chrono::sys_days days) {
  const std::chrono::year_month_day ymd{days};
  return {static_cast<int32_t>(static_cast<int>(ymd.year())),
          static_cast<int32_t>(static_cast<unsigned>(ymd.month())),
          static_cast<int32_t>(static_cast<unsigned>(ymd.day()))};
}

inline int32_t WeekdayOf(std::chrono::sys_days days) {
  return static_cast<int32_t>(std::chrono::weekday{days}.c_encoding());
}

inline std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct MonthRow {
  int32_t year = 0;
  int32_t month = 0;
  Ymd first_day;
  int32_t length = 0;
};

// Rows of umalqura-months.csv; empty when the file is absent or a row is malformed.
inline std::vector<MonthRow> ReadMonthTable(const std::string& path) {
  std::vector<MonthRow> rows;
  const std::optional<std::string> text = ReadFile(path);
  if (!text) return rows;
  std::istringstream lines(*text);
  std::string line;
  std::getline(lines, line);  // header
  while (std::getline(lines, line)) {
    if (line.empty() || line == "\r") continue;
    MonthRow row;
    char c1 = 0, c2 = 0, dash1 = 0, dash2 = 0, c3 = 0;
    std::istringstream fields(line);
    if (!(fields >> row.year >> c1 >> row.month >> c2 >> row.first_day.y >> dash1 >>
          row.first_day.m >> dash2 >> row.first_day.d >> c3 >> row.length) ||
        c1 != ',' || c2 != ',' || dash1 != '-' || dash2 != '-' || c3 != ',')
      return {};
    rows.push_back(row);
  }
  return rows;
}

struct ReferencePair {
  Ymd hijri;
  Ymd gregorian;
};

// Every [[hy,hm,hd],[gy,gm,gd]] of a reference file. Only brackets that hold nothing but
// integers are date triples, so extra numbers beside a pair (a newspaper's issue number) drop out.
inline std::vector<ReferencePair> ReadReferencePairs(const std::string& path) {
  std::vector<ReferencePair> pairs;
  const std::optional<std::string> text = ReadFile(path);
  if (!text) return pairs;
  std::vector<int32_t> numbers;  // of the innermost open bracket
  std::vector<Ymd> triples;      // date triples not yet paired
  bool innermost = false;
  for (std::size_t i = 0; i < text->size(); ++i) {
    const char c = (*text)[i];
    if (c == '[') {
      numbers.clear();
      innermost = true;
    } else if (c == ']') {
      if (innermost && numbers.size() == 3) triples.push_back({numbers[0], numbers[1], numbers[2]});
      if (triples.size() == 2) {
        pairs.push_back({triples[0], triples[1]});
        triples.clear();
      }
      innermost = false;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      std::size_t used = 0;
      const long value = std::stol(text->substr(i, 12), &used);
      numbers.push_back(static_cast<int32_t>(value));
      i += used - 1;
    }
  }
  return pairs;
}

}  // namespace lunavant::converter::testing
