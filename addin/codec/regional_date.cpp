// SPDX-License-Identifier: MIT
#include "addin/codec/regional_date.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

#include "addin/base/host_access.h"
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
    host::RaiseRuntime(host::kTypeMismatch);
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

bool ReadsBackAs(const host::RegionalSettings& regional, std::string_view text, std::int32_t year,
                 std::int32_t month, std::int32_t day) {
  try {
    const host::DateTime read = regional.ReadDate(text);
    return read.year == year && read.month == month && read.day == day;
  } catch (const host::HostError&) {
    return false;
  }
}

// Every "yyyy" of the pattern, left to right, turned into "yy".
std::string WithTwoDigitYears(std::string_view pattern) {
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

namespace {

// GetLocaleText into `text`, whose room is kept from call to call: the pattern is read this way
// for every date the add-in writes.
void ReadLocaleText(const host::RegionalSettings& regional, std::uint32_t locale, std::int32_t item,
                    std::string& text) {
  text.clear();
  const std::int32_t needed = regional.GetLocaleInfoA(locale, item, nullptr, 0);
  if (needed <= 0) return;
  text.resize(static_cast<std::size_t>(needed), ' ');
  const std::int32_t written = regional.GetLocaleInfoA(locale, item, text.data(), needed);
  if (written <= 0 || written > needed) {
    text.clear();
    return;
  }
  text.resize(static_cast<std::size_t>(written - 1));
}

// The user's short-date pattern, read from the host at every call; valid until the next call.
const std::string& UserShortDatePattern(const host::RegionalSettings& regional) {
  // Not thread_local, like the pattern forms below: the host calls the add-in from one thread.
  static std::string pattern;
  ReadLocaleText(regional, regional.GetUserDefaultLCID(), host::kLocaleShortDate, pattern);
  return pattern;
}

}  // namespace

std::string GetLocaleText(std::uint32_t locale, std::int32_t item) {
  std::string text;
  ReadLocaleText(base::Regional(), locale, item, text);
  return text;
}

namespace {

// The most written for one number, padded or not, and for one English name.
constexpr std::size_t kMostNumber = detail::kNumberSize + 1;
constexpr std::size_t kMostName = 9;

void Put(char*& out, std::string_view text) {
  for (const char c : text) *out++ = c;
}

// A short-date pattern read once into the steps that write it: the add-in writes every date with
// the user's pattern, which changes seldom. Plain pointer writes, where appending to a string
// checked its capacity at every character.
class CompiledPattern {
 public:
  CompiledPattern() = default;
  explicit CompiledPattern(std::string_view pattern);
  // The most Write writes for any date.
  std::size_t MostWritten() const { return most_; }
  // Writes at `out`, which has room for MostWritten() characters; returns the end. The weekday
  // and month names need a month in 1..12.
  char* Write(char* out, std::int32_t year, std::int32_t month, std::int32_t day) const;

 private:
  enum class Piece : std::uint8_t {
    kText,
    kDay,
    kPaddedDay,
    kShortWeekday,
    kWeekday,
    kMonth,
    kPaddedMonth,
    kShortMonthName,
    kMonthName,
    kShortYear,
    kPaddedShortYear,
    kYear,
  };
  struct Step {
    Piece piece;
    std::uint32_t at;    // kText: where its characters start in text_
    std::uint32_t size;  // kText: how many
  };
  void AddText(char c);
  void Add(Piece piece, std::size_t most);

  std::vector<Step> steps_;
  std::string text_;
  std::size_t most_ = 0;
};

void CompiledPattern::AddText(char c) {
  if (steps_.empty() || steps_.back().piece != Piece::kText) {
    steps_.push_back({Piece::kText, static_cast<std::uint32_t>(text_.size()), 0});
  }
  text_ += c;
  ++steps_.back().size;
  ++most_;
}

void CompiledPattern::Add(Piece piece, std::size_t most) {
  steps_.push_back({piece, 0, 0});
  most_ += most;
}

CompiledPattern::CompiledPattern(std::string_view pattern) {
  for (std::size_t at = 0; at < pattern.size();) {
    const char c = pattern[at];
    if (c == '\'') {  // quoted literal text
      std::size_t end = at + 1;
      while (end < pattern.size() && pattern[end] != '\'') AddText(pattern[end++]);
      at = end + 1;
      continue;
    }
    if (c != 'd' && c != 'M' && c != 'm' && c != 'y') {
      AddText(c);
      ++at;
      continue;
    }
    const std::size_t run = RunLength(pattern, at);
    at += run;
    const std::size_t most = run >= 3 && c != 'y' ? kMostName : kMostNumber;
    switch (c) {
      case 'd':
        Add(run == 1   ? Piece::kDay
            : run == 2 ? Piece::kPaddedDay
            : run == 3 ? Piece::kShortWeekday
                       : Piece::kWeekday,
            most);
        break;
      case 'y':
        Add(run == 1 ? Piece::kShortYear : run == 2 ? Piece::kPaddedShortYear : Piece::kYear, most);
        break;
      default:  // month, in either letter case
        Add(run == 1   ? Piece::kMonth
            : run == 2 ? Piece::kPaddedMonth
            : run == 3 ? Piece::kShortMonthName
                       : Piece::kMonthName,
            most);
        break;
    }
  }
}

char* CompiledPattern::Write(char* out, std::int32_t year, std::int32_t month,
                             std::int32_t day) const {
  for (const Step& step : steps_) {
    switch (step.piece) {
      case Piece::kText:
        for (std::uint32_t i = 0; i < step.size; ++i) *out++ = text_[step.at + i];
        break;
      case Piece::kDay:
        out += WriteNumber(out, day);
        break;
      case Piece::kPaddedDay:
        out += WritePadded(out, day);
        break;
      case Piece::kShortWeekday:
        Put(out, kWeekdayNames[WeekdayOf(year, month, day)].substr(0, 3));
        break;
      case Piece::kWeekday:
        Put(out, kWeekdayNames[WeekdayOf(year, month, day)]);
        break;
      case Piece::kMonth:
        out += WriteNumber(out, month);
        break;
      case Piece::kPaddedMonth:
        out += WritePadded(out, month);
        break;
      case Piece::kShortMonthName:
        Put(out, kMonthNames[month - 1].substr(0, 3));
        break;
      case Piece::kMonthName:
        Put(out, kMonthNames[month - 1]);
        break;
      case Piece::kShortYear:
        out += WriteNumber(out, year % 100);
        break;
      case Piece::kPaddedShortYear:
        out += WritePadded(out, year % 100);
        break;
      case Piece::kYear:
        out += WriteNumber(out, year);
        break;
    }
  }
  return out;
}

}  // namespace

std::string RenderDatePattern(std::string_view pattern, std::int32_t year, std::int32_t month,
                              std::int32_t day) {
  const CompiledPattern compiled(pattern);
  std::string text(compiled.MostWritten(), '\0');
  text.resize(
      static_cast<std::size_t>(compiled.Write(text.data(), year, month, day) - text.data()));
  return text;
}

namespace {

// The pattern's two forms that RegionalDateOf writes with, derived again only when the user's
// pattern changes: the pattern is read from the host at every call, but its text is almost always
// the one read the call before.
struct PatternForms {
  std::string pattern;            // as the host gave it; empty until the first call
  CompiledPattern short_pattern;  // every "yyyy" turned into "yy"
  CompiledPattern whole_years;    // every year field of short_pattern written in full
  std::size_t most_written = 0;   // the most either form writes
  std::string scratch;            // where the date is written, after the weekday if any
};

PatternForms& FormsOf(std::string_view pattern) {
  // Not thread_local: the add-in may be unloaded while the host's thread lives on, and the host
  // calls the add-in from one thread.
  static PatternForms forms;
  if (forms.pattern != pattern) {
    const std::string short_pattern = WithTwoDigitYears(pattern);
    forms.short_pattern = CompiledPattern(short_pattern);
    forms.whole_years = CompiledPattern(WithWholeYears(short_pattern));
    forms.most_written =
        std::max(forms.short_pattern.MostWritten(), forms.whole_years.MostWritten());
    forms.pattern = pattern;
  }
  return forms;
}

// `weekday` and one blank (nothing when it is empty) followed by the date written with the user's
// non-empty `pattern` as RegionalDateText describes, into `out` in place of what it held.
void RegionalDateWith(const host::RegionalSettings& regional, std::string_view pattern,
                      std::string_view weekday, std::int32_t year, std::int32_t month,
                      std::int32_t day, std::string& out) {
  if (month < 1 || month > 12 || day < 1 || day > 31 || year < 1) {
    host::RaiseRuntime(host::kTypeMismatch);
  }
  PatternForms& forms = FormsOf(pattern);
  // Written into the kept scratch room and copied once into `out`.
  const std::size_t before = weekday.empty() ? 0 : weekday.size() + 1;
  if (forms.scratch.size() < before + forms.most_written) {
    forms.scratch.resize(before + forms.most_written);
  }
  char* const start = forms.scratch.data();
  if (before != 0) {
    std::copy(weekday.begin(), weekday.end(), start);
    start[weekday.size()] = ' ';
  }
  char* const date = start + before;
  char* end = forms.short_pattern.Write(date, year, month, day);
  // A two-digit year that the platform reads back as another century (2035 as 1935) would put a
  // wrong date into the task; such a year is written in full, where that reads back.
  const auto reads_back = [&] {
    return ReadsBackAs(regional, std::string_view(date, static_cast<std::size_t>(end - date)), year,
                       month, day);
  };
  if (!reads_back()) {
    end = forms.whole_years.Write(date, year, month, day);
    if (!reads_back()) end = forms.short_pattern.Write(date, year, month, day);
  }
  out.assign(start, end);
}

// RegionalDateOf's text after `weekday` and one blank, into `out`.
void WriteRegionalDate(std::string& out, std::string_view weekday, std::int32_t year,
                       std::int32_t month, std::int32_t day) {
  const host::RegionalSettings& regional = base::Regional();
  const std::string& pattern = UserShortDatePattern(regional);
  if (pattern.empty()) {
    // Written as the caller would have composed it, day "/" month "/" year.
    char text[3 * (detail::kNumberSize + 1) + 2];
    std::size_t size = detail::WritePadded(text, day);
    text[size++] = '/';
    size += detail::WritePadded(text + size, month);
    text[size++] = '/';
    size += detail::WritePadded(text + size, year);
    out.assign(weekday);
    if (!weekday.empty()) out += ' ';
    out.append(text, size);
    return;
  }
  RegionalDateWith(regional, pattern, weekday, year, month, day, out);
}

}  // namespace

std::string RegionalDateOf(std::int32_t year, std::int32_t month, std::int32_t day) {
  std::string text;
  WriteRegionalDate(text, {}, year, month, day);
  return text;
}

namespace detail {
void WriteWeekdayAndRegionalDate(std::string& out, std::string_view weekday, std::int32_t year,
                                 std::int32_t month, std::int32_t day) {
  WriteRegionalDate(out, weekday, year, month, day);
}
}  // namespace detail

std::string RegionalDateText(std::string_view date_text) {
  const host::RegionalSettings& regional = base::Regional();
  const std::string& pattern = UserShortDatePattern(regional);
  if (pattern.empty()) return std::string(date_text);

  const auto pieces = FirstPieces<3>(date_text, "/");
  if (pieces.count != 3) host::RaiseRuntime(host::kTypeMismatch);
  std::string text;
  RegionalDateWith(regional, pattern, {}, ReadNumber(pieces.piece[2]), ReadNumber(pieces.piece[1]),
                   ReadNumber(pieces.piece[0]), text);
  return text;
}

}  // namespace lunavant::codec
