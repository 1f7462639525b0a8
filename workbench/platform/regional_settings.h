// SPDX-License-Identifier: MIT
// The workbench's regional settings: the user's short-date pattern and date separator, taken from
// the POSIX locale (LC_ALL, then LC_TIME, then LANG) at every call, with the platform's date
// reading and default date-and-time form built on them. A user or a test can override both.
//
//   PosixRegionalSettings regional;
//   regional.OverrideShortDatePattern("dd/MM/yyyy");
//   host::DateTime when = regional.ReadDate("Mon 15/03/04");  // 15 March 2004
//   regional.FormatDate(2004, 3, 15, /*two_digit_year=*/true);  // "15/03/04"
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "addin/host/services.h"
#include "addin/host/value.h"
#include "datepattern/date_pattern.h"
#include "workbench/platform/date_reading.h"
#include "workbench/platform/short_date.h"

namespace lunavant::workbench {

// The locale item number of the date separator (LOCALE_SDATE); kLocaleShortDate is the pattern's.
inline constexpr std::int32_t kLocaleDateSeparator = 29;
// What GetUserDefaultLCID answers: the Windows identifier that stands for the user's default locale
// (LOCALE_USER_DEFAULT), whatever the POSIX locale is.
inline constexpr std::uint32_t kUserDefaultLcid = 0x0400;

// The user's short date as the platform's locale data gives it, already reduced to a numeric
// pattern and a separator (short_date.h). Abstract because the locale data is the one contact with
// the outside world here; tests stand in a source that gives a fixed format, or none.
class DateFormatSource {
 public:
  virtual ~DateFormatSource() = default;
  // The user's short date; the reference stays valid until the next call. The pattern is empty
  // when the platform gives none.
  virtual const ShortDate& UserShortDate() const = 0;
};

// Reads the environment at every call, so a change of locale takes effect at once. The short date
// is the locale's CLDR one through ICU (Gregorian calendar, Latin digits), or the C library's D_FMT
// where ICU has no data for the locale; a locale neither knows gives the "C" locale's ("%m/%d/%y").
// What a locale gives is derived once and kept under its name, so a call costs a look at the
// environment. Like the rest of the workbench, for one thread.
class PosixDateFormatSource final : public DateFormatSource {
 public:
  const ShortDate& UserShortDate() const override;
  // The first non-empty of LC_ALL, LC_TIME and LANG; "C" when all three are unset or empty.
  static std::string UserTimeLocaleName();

 private:
  mutable std::map<std::string, ShortDate, std::less<>> derived_;
  mutable std::string current_name_;
  mutable const ShortDate* current_ = nullptr;  // derived_'s entry for current_name_
};

// The platform's own source of the user's short date: PosixDateFormatSource (locale_posix.cpp), or
// on Windows the user's regional settings (locale_windows.cpp); the build links one of the two.
std::unique_ptr<const DateFormatSource> UserDateFormatSource();

class PosixRegionalSettings final : public host::RegionalSettings {
 public:
  // Reads the user's locale through UserDateFormatSource().
  PosixRegionalSettings();
  // Reads the short-date format from `source`; a null source stands for UserDateFormatSource().
  explicit PosixRegionalSettings(std::unique_ptr<const DateFormatSource> source);

  // The override if one is set, else the locale's short date as a numeric pattern in the notation
  // d, dd, M, MM, yy, yyyy with the locale's separator between the fields (short_date.h). Empty
  // when the platform gives no format, or after OverrideShortDatePattern("").
  std::string ShortDatePattern() const;
  // The override if one is set, else the locale's separator (not that of an overriding pattern);
  // "/" when the locale has none fit to read back. Inline: the add-in reads it for every date it
  // writes.
  std::string DateSeparator() const { return std::string(Current().separator); }
  // The overrides win over the locale until cleared. Overriding one derives nothing for the other.
  // The empty pattern stands for "the platform gives no pattern": GetLocaleInfoA then answers 0.
  void OverrideShortDatePattern(std::string pattern);
  void OverrideDateSeparator(std::string separator);
  void ClearOverrides();

  // The date written with ShortDatePattern() (see FormatDateWithPattern in date_writing.h); with
  // two_digit_year every "yyyy" of the pattern writes "yy". The year is written in full where two
  // digits would read back as another year (outside 1930..2029) or the date as a time of day (a
  // separator ":"), whatever the pattern. The empty pattern writes "MM/dd/yy".
  std::string FormatDate(std::int32_t year, std::int32_t month, std::int32_t day,
                         bool two_digit_year) const;
  // FormatDate with `before` and `after` around it, written as one text: for callers that put
  // more around the date, as the host's date formats do.
  std::string FormatDateBetween(std::string_view before, std::int32_t year, std::int32_t month,
                                std::int32_t day, bool two_digit_year,
                                std::string_view after) const;

  // Always kUserDefaultLcid.
  std::uint32_t GetUserDefaultLCID() const override;
  // The Windows contract: item kLocaleShortDate gives ShortDatePattern(), kLocaleDateSeparator
  // DateSeparator(). With length 0 writes nothing and returns the size needed, terminating zero
  // included; otherwise copies the text and its zero and returns that count. Returns 0, writing
  // nothing, for an lcid other than kUserDefaultLcid, an unknown or empty item, a null buffer, or a
  // buffer too small. Never writes past `length`.
  std::int32_t GetLocaleInfoA(std::uint32_t lcid, std::int32_t item, char* buffer,
                              std::int32_t length) const override;

  // ReadDateText (date_reading.h) in the order of ShortDatePattern(), with DateSeparator() accepted
  // beside "/", "-" and ".". Fails with kTypeMismatch "Type mismatch".
  host::DateTime ReadDate(std::string_view text) const override;
  // The date with ShortDatePattern() as it stands, then one blank and HH:MM:SS when the value has a
  // time of day; a value whose year, month and day are 0 gives only HH:MM:SS.
  std::string DefaultDateTimeText(const host::DateTime& when) const override;

 private:
  struct Settings {
    std::string_view pattern;
    std::string_view separator;
  };
  // Both settings from one reading of the locale (none when both are overridden); valid until the
  // next call. Inline: every date read or written asks for it.
  Settings Current() const {
    if (pattern_override_ && separator_override_) return {*pattern_override_, *separator_override_};
    return CurrentFromLocale();
  }
  Settings CurrentFromLocale() const;

  std::unique_ptr<const DateFormatSource> source_;
  std::optional<std::string> pattern_override_;
  std::optional<std::string> separator_override_;
  // The pattern FormatDateBetween last wrote with and its two other forms, derived again only when
  // the pattern changes; the pattern itself is read at every call.
  struct WritingForms {
    std::string pattern;  // never empty once set: the empty pattern writes kCShortDatePattern
    datepattern::DatePattern as_given;
    datepattern::DatePattern two_digit_years;
    datepattern::DatePattern whole_years;
    std::size_t most_written = 0;  // the most any of the three writes
    // Only a colon of the pattern's own can make a date read as a time of day.
    bool has_colon = false;
  };
  // The forms of the current pattern, derived again when it has changed.
  const WritingForms& FormsOfCurrentPattern() const;
  mutable WritingForms forms_;
  // Where FormatDateBetween writes; grows with the longest text, kept between calls.
  mutable std::string scratch_;
  // The order of the pattern ReadDate last read with.
  mutable std::string order_pattern_;
  mutable DateOrder order_ = DateOrderOfPattern("");
};

}  // namespace lunavant::workbench
