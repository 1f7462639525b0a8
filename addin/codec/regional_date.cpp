// SPDX-License-Identifier: MIT
#include "addin/codec/regional_date.h"

#include <algorithm>
#include <charconv>

#include "addin/base/host_access.h"
#include "addin/codec/text_pieces.h"
#include "addin/host/error.h"
#include "datepattern/date_pattern.h"

namespace lunavant::codec {
namespace {

using detail::FirstPieces;

std::int32_t ReadNumber(std::string_view piece) {
  std::int32_t n = 0;
  const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), n);
  if (piece.empty() || error != std::errc() || end != piece.data() + piece.size()) {
    host::RaiseRuntime(host::kTypeMismatch);
  }
  return n;
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

// The pattern's two forms that RegionalDateOf writes with, derived again only when the user's
// pattern changes: the pattern is read from the host at every call, but its text is almost always
// the one read the call before.
struct PatternForms {
  std::string pattern;                     // as the host gave it; empty until the first call
  datepattern::DatePattern short_pattern;  // every "yyyy" turned into "yy"
  datepattern::DatePattern whole_years;    // every year field of short_pattern written in full
  std::size_t most_written = 0;            // the most either form writes
  std::string scratch;                     // where the date is written, after the weekday if any
};

PatternForms& FormsOf(std::string_view pattern) {
  // Not thread_local: the add-in may be unloaded while the host's thread lives on, and the host
  // calls the add-in from one thread.
  static PatternForms forms;
  if (forms.pattern != pattern) {
    const std::string short_pattern = datepattern::WithTwoDigitYears(pattern);
    forms.short_pattern = datepattern::DatePattern(short_pattern);
    forms.whole_years = datepattern::DatePattern(datepattern::WithWholeYears(short_pattern));
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
