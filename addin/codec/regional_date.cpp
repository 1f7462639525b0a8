// SPDX-License-Identifier: MIT
#include "addin/codec/regional_date.h"

#include <array>
#include <charconv>

#include "addin/codec/host_access.h"
#include "addin/codec/text_pieces.h"
#include "addin/host/error.h"

namespace lunavant::codec {
namespace {

using detail::FirstPieces;
using detail::WriteNumber;
using detail::WritePadded;

constexpr std::array<std::string_view, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// Sakamoto's method; valid for the Gregorian calendar from year 1.
// Summed in 64 bits: any year from 1 up is written, and the sum overflows 32 bits near the top.
std::int32_t WeekdayOf(std::int32_t year, std::int32_t month, std::int32_t day) {
  static constexpr std::array<std::int64_t, 12> kOffsets = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  std::int64_t y = year;
  if (month < 3) y -= 1;
  return static_cast<std::int32_t>((y + y / 4 - y / 100 + y / 400 + kOffsets[month - 1] + day) % 7);
}

std::int32_t ReadNumber(std::string_view piece) {
  std::int32_t n = 0;
  const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), n);
  if (piece.empty() || error != std::errc() || end != piece.data() + piece.size()) {
    host::Raise(host::kTypeMismatch, "Type mismatch");
  }
  return n;
}

bool IsMonthLetter(char c) { return c == 'M' || c == 'm'; }

// Length of the run of one pattern letter; month letters of either case make one run.
std::size_t RunLength(std::string_view pattern, std::size_t at) {
  const char letter = pattern[at];
  std::size_t end = at;
  while (end < pattern.size() &&
         (pattern[end] == letter || (IsMonthLetter(letter) && IsMonthLetter(pattern[end])))) {
    ++end;
  }
  return end - at;
}

bool ReadsBackAs(const std::string& text, std::int32_t year, std::int32_t month, std::int32_t day) {
  try {
    const host::DateTime read = Regional().ReadDate(text);
    return read.year == year && read.month == month && read.day == day;
  } catch (const host::HostError&) {
    return false;
  }
}

// Every "yyyy" of the pattern, left to right, turned into "yy".
std::string WithTwoDigitYears(const std::string& pattern) {
  std::string out;
  out.reserve(pattern.size());
  for (std::size_t at = 0; at < pattern.size();) {
    if (pattern[at] == 'y' && at + 4 <= pattern.size() && pattern[at + 1] == 'y' &&
        pattern[at + 2] == 'y' && pattern[at + 3] == 'y') {
      out += "yy";
      at += 4;
    } else {
      out += pattern[at++];
    }
  }
  return out;
}

// Every year field of the pattern ("y", "yy") written in full, so that "d.MMM.y" gives 2046 too.
std::string WithWholeYears(std::string_view pattern) {
  std::string out;
  for (std::size_t at = 0; at < pattern.size();) {
    if (pattern[at] == '\'') {  // quoted text stays as it is
      const std::size_t end = pattern.find('\'', at + 1);
      const std::size_t next = end == std::string_view::npos ? pattern.size() : end + 1;
      out.append(pattern.substr(at, next - at));
      at = next;
      continue;
    }
    if (pattern[at] != 'y') {
      out += pattern[at++];
      continue;
    }
    const std::size_t run = RunLength(pattern, at);
    out.append(run < 3 ? std::size_t{4} : run, 'y');
    at += run;
  }
  return out;
}

}  // namespace

std::string GetLocaleText(std::uint32_t locale, std::int32_t item) {
  const host::RegionalSettings& regional = Regional();
  const std::int32_t needed = regional.GetLocaleInfoA(locale, item, nullptr, 0);
  if (needed <= 0) return {};
  std::string buffer(static_cast<std::size_t>(needed), ' ');
  const std::int32_t written = regional.GetLocaleInfoA(locale, item, buffer.data(), needed);
  if (written <= 0 || written > needed) return {};
  buffer.resize(static_cast<std::size_t>(written - 1));
  return buffer;
}

namespace {

// The most RenderInto writes for one pattern character: a one-letter number field with a sign and
// ten digits. Names write at most nine for three or four letters.
constexpr std::size_t kMostPerPatternChar = detail::kNumberSize;
// Patterns up to this length are written on the stack; a user's short date is a dozen characters.
constexpr std::size_t kStackPattern = 32;

void Put(char*& out, std::string_view text) {
  for (const char c : text) *out++ = c;
}

// RenderDatePattern into `out`, which has room for kMostPerPatternChar characters per pattern
// character; returns the end of what was written. Plain pointer writes: it runs for every date
// the add-in writes, where appending to a string checked its capacity at every character.
char* RenderInto(char* out, std::string_view pattern, std::int32_t year, std::int32_t month,
                 std::int32_t day) {
  for (std::size_t at = 0; at < pattern.size();) {
    const char c = pattern[at];
    if (c == '\'') {  // quoted literal text
      std::size_t end = at + 1;
      while (end < pattern.size() && pattern[end] != '\'') *out++ = pattern[end++];
      at = end + 1;
      continue;
    }
    if (c != 'd' && c != 'M' && c != 'm' && c != 'y') {
      *out++ = c;
      ++at;
      continue;
    }
    const std::size_t run = RunLength(pattern, at);
    switch (c) {
      case 'd':
        if (run == 1)
          out += WriteNumber(out, day);
        else if (run == 2)
          out += WritePadded(out, day);
        else if (run == 3)
          Put(out, kWeekdayNames[WeekdayOf(year, month, day)].substr(0, 3));
        else
          Put(out, kWeekdayNames[WeekdayOf(year, month, day)]);
        break;
      case 'y':
        if (run <= 2) {
          const std::int32_t short_year = year % 100;
          if (run == 1)
            out += WriteNumber(out, short_year);
          else
            out += WritePadded(out, short_year);
        } else {
          out += WriteNumber(out, year);
        }
        break;
      default:  // month, in either letter case
        if (run == 1)
          out += WriteNumber(out, month);
        else if (run == 2)
          out += WritePadded(out, month);
        else if (run == 3)
          Put(out, kMonthNames[month - 1].substr(0, 3));
        else
          Put(out, kMonthNames[month - 1]);
        break;
    }
    at += run;
  }
  return out;
}

}  // namespace

std::string RenderDatePattern(std::string_view pattern, std::int32_t year, std::int32_t month,
                              std::int32_t day) {
  if (pattern.size() <= kStackPattern) {
    char text[kStackPattern * kMostPerPatternChar];
    return std::string(text, RenderInto(text, pattern, year, month, day));
  }
  std::string text(pattern.size() * kMostPerPatternChar, '\0');
  text.resize(static_cast<std::size_t>(RenderInto(text.data(), pattern, year, month, day) -
                                       text.data()));
  return text;
}

namespace {

// The pattern's two forms that RegionalDateOf writes with, derived again only when the user's
// pattern changes: the pattern is read from the host at every call, but its text is almost always
// the one read the call before.
struct PatternForms {
  std::string pattern;        // as the host gave it; empty until the first call
  std::string short_pattern;  // every "yyyy" turned into "yy"
  std::string whole_years;    // every year field of short_pattern written in full
};

const PatternForms& FormsOf(const std::string& pattern) {
  // Not thread_local: the add-in may be unloaded while the host's thread lives on, and the host
  // calls the add-in from one thread.
  static PatternForms forms;
  if (forms.pattern != pattern) {
    forms.short_pattern = WithTwoDigitYears(pattern);
    forms.whole_years = WithWholeYears(forms.short_pattern);
    forms.pattern = pattern;
  }
  return forms;
}

// The date written with the user's non-empty `pattern` as RegionalDateText describes.
std::string RegionalDateWith(const std::string& pattern, std::int32_t year, std::int32_t month,
                             std::int32_t day) {
  if (month < 1 || month > 12 || day < 1 || day > 31 || year < 1) {
    host::Raise(host::kTypeMismatch, "Type mismatch");
  }
  const PatternForms& forms = FormsOf(pattern);
  std::string text = RenderDatePattern(forms.short_pattern, year, month, day);
  // A two-digit year that the platform reads back as another century (2035 as 1935) would put a
  // wrong date into the task; such a year is written in full.
  if (!ReadsBackAs(text, year, month, day)) {
    std::string full = RenderDatePattern(forms.whole_years, year, month, day);
    if (ReadsBackAs(full, year, month, day)) text = std::move(full);
  }
  return text;
}

}  // namespace

std::string RegionalDateOf(std::int32_t year, std::int32_t month, std::int32_t day) {
  const std::string pattern =
      GetLocaleText(Regional().GetUserDefaultLCID(), host::kLocaleShortDate);
  if (pattern.empty()) {
    // Written as the caller would have composed it, day "/" month "/" year.
    char text[3 * (detail::kNumberSize + 1) + 2];
    std::size_t size = detail::WritePadded(text, day);
    text[size++] = '/';
    size += detail::WritePadded(text + size, month);
    text[size++] = '/';
    size += detail::WritePadded(text + size, year);
    return std::string(text, size);
  }
  return RegionalDateWith(pattern, year, month, day);
}

std::string RegionalDateText(std::string_view date_text) {
  const std::string pattern =
      GetLocaleText(Regional().GetUserDefaultLCID(), host::kLocaleShortDate);
  if (pattern.empty()) return std::string(date_text);

  const auto pieces = FirstPieces<3>(date_text, "/");
  if (pieces.count != 3) host::Raise(host::kTypeMismatch, "Type mismatch");
  return RegionalDateWith(pattern, ReadNumber(pieces.piece[2]), ReadNumber(pieces.piece[1]),
                          ReadNumber(pieces.piece[0]));
}

}  // namespace lunavant::codec
