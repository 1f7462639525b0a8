// SPDX-License-Identifier: MIT
#include "workbench/platform/regional_settings.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "addin/host/error.h"

namespace lunavant::workbench {
namespace {

using host::DateTime;
using host::kLocaleShortDate;

// A locale reader that gives whatever D_FMT the test puts into `format` at the time of the call.
class FixedFormatSource final : public DateFormatSource {
 public:
  explicit FixedFormatSource(std::shared_ptr<std::string> format) : format_(std::move(format)) {}
  const ShortDate& UserShortDate() const override {
    derived_ = ShortDateOfStrftime(*format_);
    return derived_;
  }

 private:
  std::shared_ptr<std::string> format_;
  mutable ShortDate derived_;
};

// Regional settings whose locale format the test sets through format().
class InjectedLocaleTest : public testing::Test {
 protected:
  PosixRegionalSettings& With(std::string format) {
    *format_ = std::move(format);
    return regional_;
  }
  std::string& format() { return *format_; }

  std::shared_ptr<std::string> format_ = std::make_shared<std::string>("%d/%m/%Y");
  PosixRegionalSettings regional_{std::make_unique<FixedFormatSource>(format_)};
};

// Sets the locale variables for one test and puts the process's own back afterwards.
class PosixLocaleTest : public testing::Test {
 protected:
  PosixLocaleTest() {
    for (std::size_t i = 0; i < kVariables.size(); ++i) {
      const char* value = std::getenv(kVariables[i]);
      if (value != nullptr) saved_[i] = value;
    }
    Set(nullptr, nullptr, nullptr);
  }
  ~PosixLocaleTest() override {
    for (std::size_t i = 0; i < kVariables.size(); ++i) SetVariable(kVariables[i], saved_[i]);
  }

  static void Set(const char* lc_all, const char* lc_time, const char* lang) {
    const std::array<const char*, 3> values = {lc_all, lc_time, lang};
    for (std::size_t i = 0; i < kVariables.size(); ++i) {
      SetVariable(kVariables[i],
                  values[i] != nullptr ? std::optional<std::string>(values[i]) : std::nullopt);
    }
  }
  static bool Installed(const char* name) {
    locale_t locale = newlocale(LC_TIME_MASK, name, static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) return false;
    freelocale(locale);
    return true;
  }

  PosixRegionalSettings regional_;

 private:
  static void SetVariable(const char* name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  static constexpr std::array<const char*, 3> kVariables = {"LC_ALL", "LC_TIME", "LANG"};
  std::array<std::optional<std::string>, 3> saved_;
};

// Both passes of GetLocaleInfoA, as the codec's GetLocaleText makes them; nullopt when either
// answers 0.
std::optional<std::string> LocaleText(const host::RegionalSettings& regional, std::int32_t item) {
  const std::uint32_t lcid = regional.GetUserDefaultLCID();
  const std::int32_t needed = regional.GetLocaleInfoA(lcid, item, nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::string buffer(static_cast<std::size_t>(needed), ' ');
  const std::int32_t written = regional.GetLocaleInfoA(lcid, item, buffer.data(), needed);
  if (written == 0) return std::nullopt;
  buffer.resize(static_cast<std::size_t>(written - 1));
  return buffer;
}

TEST_F(PosixLocaleTest, CLocaleGivesMonthFirstWithSlash) {
  // Given the C, POSIX or C.UTF-8 locale, expect the C library's %m/%d/%y as MM/dd/yy and "/".
  for (const char* name : {"C", "POSIX", "C.UTF-8"}) {
    Set(name, nullptr, nullptr);
    EXPECT_EQ(regional_.ShortDatePattern(), "MM/dd/yy") << name;
    EXPECT_EQ(regional_.DateSeparator(), "/") << name;
  }
}

TEST_F(PosixLocaleTest, LocaleThatCannotBeLoadedFallsBackToC) {
  // Given a locale name the C library does not know, expect the "C" locale's pattern.
  Set("xx_NOWHERE.UTF-8", nullptr, nullptr);
  EXPECT_EQ(regional_.ShortDatePattern(), "MM/dd/yy");
  EXPECT_EQ(regional_.DateSeparator(), "/");
}

TEST_F(PosixLocaleTest, LocaleNameIsTheFirstNonEmptyOfLcAllLcTimeLang) {
  // Given the three variables in turn, expect LC_ALL first, then LC_TIME, then LANG, empty ones
  // skipped, and "C" when none is set.
  Set("de_DE.UTF-8", "en_GB.UTF-8", "fr_FR.UTF-8");
  EXPECT_EQ(PosixDateFormatSource::UserTimeLocaleName(), "de_DE.UTF-8");
  Set("", "en_GB.UTF-8", "fr_FR.UTF-8");
  EXPECT_EQ(PosixDateFormatSource::UserTimeLocaleName(), "en_GB.UTF-8");
  Set(nullptr, "", "fr_FR.UTF-8");
  EXPECT_EQ(PosixDateFormatSource::UserTimeLocaleName(), "fr_FR.UTF-8");
  Set(nullptr, nullptr, "");
  EXPECT_EQ(PosixDateFormatSource::UserTimeLocaleName(), "C");
  Set(nullptr, nullptr, nullptr);
  EXPECT_EQ(PosixDateFormatSource::UserTimeLocaleName(), "C");
}

TEST_F(PosixLocaleTest, GermanLocaleGivesDayFirstWithDot) {
  // Given LC_TIME=de_DE.UTF-8 under an empty LC_ALL, expect CLDR's dd.MM.yy and ".".
  Set("", "de_DE.UTF-8", "C");
  EXPECT_EQ(regional_.ShortDatePattern(), "dd.MM.yy");
  EXPECT_EQ(regional_.DateSeparator(), ".");
  EXPECT_EQ(regional_.ReadDate("05.03.2004"), (DateTime{2004, 3, 5}));
}

TEST_F(PosixLocaleTest, BritishLocaleGivesDayFirst) {
  // Given LANG=en_GB.UTF-8 alone, expect CLDR's dd/MM/y as dd/MM/yyyy.
  Set(nullptr, nullptr, "en_GB.UTF-8");
  EXPECT_EQ(regional_.ShortDatePattern(), "dd/MM/yyyy");
  EXPECT_EQ(regional_.ReadDate("05/03/04"), (DateTime{2004, 3, 5}));
}

TEST_F(PosixLocaleTest, EnvironmentIsReadAtEveryCall) {
  // Given one settings object and a change of LC_ALL between two calls, expect the second call to
  // follow the change.
  Set("de_DE.UTF-8", nullptr, nullptr);
  EXPECT_EQ(regional_.ShortDatePattern(), "dd.MM.yy");
  Set("C", nullptr, nullptr);
  EXPECT_EQ(regional_.ShortDatePattern(), "MM/dd/yy");
  EXPECT_EQ(regional_.ReadDate("05/03/04"), (DateTime{2004, 5, 3}));
}

TEST_F(PosixLocaleTest, ArabicAndEastAsianLocalesGiveNumericDates) {
  // Given locales whose C library D_FMT names weekdays and months or writes 年, expect CLDR's
  // numeric short dates with the bidirectional marks gone, whether or not glibc has the locale.
  struct Case {
    const char* locale;
    const char* pattern;
    const char* separator;
  };
  for (const Case& c :
       {Case{"ar_SA.UTF-8", "d/M/yyyy", "/"}, Case{"ar_EG.UTF-8", "d/M/yyyy", "/"},
        Case{"ar_MA.UTF-8", "d/M/yyyy", "/"}, Case{"ja_JP.UTF-8", "yyyy/MM/dd", "/"},
        Case{"ko_KR.UTF-8", "yy.M.d", "."}, Case{"sl_SI.UTF-8", "d.MM.yy", "."},
        Case{"sr_RS@latin", "d.M.yy", "."}, Case{"hu_HU.UTF-8", "yyyy.MM.dd", "."}}) {
    Set(c.locale, nullptr, nullptr);
    EXPECT_EQ(regional_.ShortDatePattern(), c.pattern) << c.locale;
    EXPECT_EQ(regional_.DateSeparator(), c.separator) << c.locale;
  }
  Set("ar_SA.UTF-8", nullptr, nullptr);
  EXPECT_EQ(regional_.FormatDate(2004, 3, 5, true), "5/3/04");
  EXPECT_EQ(regional_.ReadDate("Fri 5/3/04"), (DateTime{2004, 3, 5}));
}

TEST_F(PosixLocaleTest, LocaleWithoutCldrDataFallsBackToTheCLibrary) {
  // Given ce_RU, whose short date ICU has only from its root locale, expect glibc's %Y.%d.%m with
  // the day before the month, read back in that order.
  if (!Installed("ce_RU.UTF-8")) GTEST_SKIP() << "locale ce_RU.UTF-8 is not installed";
  Set("ce_RU.UTF-8", nullptr, nullptr);
  EXPECT_EQ(regional_.ShortDatePattern(), "yyyy.dd.MM");
  EXPECT_EQ(regional_.FormatDate(2004, 3, 5, false), "2004.05.03");
  EXPECT_EQ(regional_.ReadDate("Fri 2004.05.03"), (DateTime{2004, 3, 5}));
}

TEST_F(PosixLocaleTest, OverrideWinsOverTheLocale) {
  // Given overrides under the C locale, expect them to win until cleared.
  Set("C", nullptr, nullptr);
  regional_.OverrideShortDatePattern("dd-MM-yyyy");
  regional_.OverrideDateSeparator("-");
  EXPECT_EQ(regional_.ShortDatePattern(), "dd-MM-yyyy");
  EXPECT_EQ(regional_.DateSeparator(), "-");
  regional_.ClearOverrides();
  EXPECT_EQ(regional_.ShortDatePattern(), "MM/dd/yy");
  EXPECT_EQ(regional_.DateSeparator(), "/");
}

TEST_F(InjectedLocaleTest, TurnsStrftimeFormatsIntoPatterns) {
  // Given a locale's D_FMT, expect the pattern in d/dd/M/MM/yy/yyyy notation and the separator.
  struct Case {
    const char* format;
    const char* pattern;
    const char* separator;
  };
  const Case cases[] = {
      {"%d/%m/%Y", "dd/MM/yyyy", "/"},
      {"%m/%d/%y", "MM/dd/yy", "/"},
      {"%d.%m.%Y", "dd.MM.yyyy", "."},
      {"%Y-%m-%d", "yyyy-MM-dd", "-"},
      {"%e.%m.%Y", "d.MM.yyyy", "."},
      {"%-d.%-m.%Y", "d.M.yyyy", "."},
      {"%D", "MM/dd/yy", "/"},
      {"%F", "yyyy-MM-dd", "-"},
      {"%Ey/%Om/%Od", "yy/MM/dd", "/"},
      // Names give way to numbers in the order of the fields, with "/" when no gap is punctuation.
      {"%A %e %B %Y", "d/MM/yyyy", "/"},
      {"%a %b %d %Y", "MM/dd/yyyy", "/"},
      {"%d %b, %Y", "dd/MM/yyyy", "/"},
      {"%d de %B de %Y", "dd/MM/yyyy", "/"},
      {"%Y\xe5\xb9\xb4%m\xe6\x9c\x88%d\xe6\x97\xa5", "yyyy/MM/dd", "/"},
      // Trailing and doubled separators, and one between day and month (ce_RU).
      {"%d.%m.%Y.", "dd.MM.yyyy", "."},
      {"%d. %m. %Y", "dd.MM.yyyy", "."},
      {"%Y.%d.%m", "yyyy.dd.MM", "."},
      {"%d/%m/%Y%C%j%", "dd/MM/yyyy", "/"},
      // Note: a quote, a colon, a byte beyond ASCII or no gap at all is no separator.
      {"%%%d'%m'%y", "dd/MM/yy", "/"},
      {"%d:%m:%Y", "dd/MM/yyyy", "/"},
      {"%d\xf5%m\xf5%Y", "dd/MM/yyyy", "/"},
      {"%d%m%Y", "dd/MM/yyyy", "/"},
      {"%d/%m", "MM/dd/yy", "/"},
  };
  for (const Case& c : cases) {
    With(c.format);
    EXPECT_EQ(regional_.ShortDatePattern(), c.pattern) << c.format;
    EXPECT_EQ(regional_.DateSeparator(), c.separator) << c.format;
  }
}

TEST_F(InjectedLocaleTest, EveryLocaleFormatWritesWhatItReads) {
  // Given formats with words, names, trailing and doubled separators, expect every date written
  // with two- and four-digit years to read back as itself.
  for (const char* d_fmt : {"%d de %B de %Y", "%A %e %B %Y", "%d.%m.%Y.", "%d. %m. %Y", "%d %b, %Y",
                            "%Y.%d.%m", "%Y\xe5\xb9\xb4%m\xe6\x9c\x88%d\xe6\x97\xa5"}) {
    With(d_fmt);
    for (std::int32_t day = 1; day <= 28; day += 3) {
      for (std::int32_t month = 1; month <= 12; ++month) {
        for (const bool two_digits : {true, false}) {
          const std::string text = regional_.FormatDate(2004, month, day, two_digits);
          EXPECT_EQ(regional_.ReadDate("Mon " + text), (DateTime{2004, month, day}))
              << d_fmt << " wrote " << text;
        }
      }
    }
  }
}

TEST_F(InjectedLocaleTest, PlatformWithoutPatternAnswersNothing) {
  // Given a locale reader that returns nothing, expect an empty pattern that GetLocaleInfoA does
  // not report, the "C" separator, and dates read and written month first.
  With("");
  EXPECT_EQ(regional_.ShortDatePattern(), "");
  EXPECT_EQ(LocaleText(regional_, kLocaleShortDate), std::nullopt);
  EXPECT_EQ(regional_.DateSeparator(), "/");
  EXPECT_EQ(regional_.FormatDate(2004, 3, 5, false), "03/05/04");
  EXPECT_EQ(regional_.ReadDate("03/05/04"), (DateTime{2004, 3, 5}));
}

TEST_F(InjectedLocaleTest, LocaleIsReadAtEveryCall) {
  // Given a change of the locale's format between two readings, expect the second to follow it.
  With("%d/%m/%Y");
  EXPECT_EQ(regional_.ReadDate("05/03/2004"), (DateTime{2004, 3, 5}));
  format() = "%m.%d.%Y";
  EXPECT_EQ(regional_.ReadDate("05/03/2004"), (DateTime{2004, 5, 3}));
  EXPECT_EQ(regional_.DateSeparator(), ".");
}

TEST_F(InjectedLocaleTest, OverridingThePatternKeepsTheLocaleSeparator) {
  // Given an override of the pattern only, expect the separator still from the locale, and the
  // other way round.
  With("%d.%m.%Y");
  regional_.OverrideShortDatePattern("M/d/yyyy");
  EXPECT_EQ(regional_.ShortDatePattern(), "M/d/yyyy");
  EXPECT_EQ(regional_.DateSeparator(), ".");
  regional_.ClearOverrides();
  regional_.OverrideDateSeparator("-");
  EXPECT_EQ(regional_.ShortDatePattern(), "dd.MM.yyyy");
  EXPECT_EQ(regional_.DateSeparator(), "-");
}

TEST_F(InjectedLocaleTest, GetLocaleInfoGivesSizeThenText) {
  // Given the two-pass call, expect the size with its terminating zero, then the text and zero.
  regional_.OverrideShortDatePattern("dd/MM/yyyy");
  const std::uint32_t lcid = regional_.GetUserDefaultLCID();
  EXPECT_EQ(lcid, kUserDefaultLcid);
  EXPECT_EQ(regional_.GetLocaleInfoA(lcid, kLocaleShortDate, nullptr, 0), 11);
  std::array<char, 16> buffer;
  buffer.fill('#');
  EXPECT_EQ(regional_.GetLocaleInfoA(lcid, kLocaleShortDate, buffer.data(), 11), 11);
  EXPECT_EQ(std::string(buffer.data(), 12), std::string("dd/MM/yyyy\0#", 12));
  EXPECT_EQ(LocaleText(regional_, kLocaleDateSeparator), "/");
  EXPECT_EQ(regional_.GetLocaleInfoA(lcid, kLocaleDateSeparator, nullptr, 0), 2);
}

TEST_F(InjectedLocaleTest, GetLocaleInfoNeverWritesPastTheBuffer) {
  // Given a buffer one short, expect 0 and nothing written; given a larger one, expect nothing
  // written past the zero.
  regional_.OverrideShortDatePattern("dd/MM/yyyy");
  const std::uint32_t lcid = regional_.GetUserDefaultLCID();
  std::array<char, 16> buffer;
  buffer.fill('#');
  EXPECT_EQ(regional_.GetLocaleInfoA(lcid, kLocaleShortDate, buffer.data(), 10), 0);
  EXPECT_EQ(std::string(buffer.data(), buffer.size()), std::string(16, '#'));
  EXPECT_EQ(regional_.GetLocaleInfoA(lcid, kLocaleShortDate, buffer.data(), 16), 11);
  EXPECT_EQ(std::string(buffer.data() + 11, 5), "#####");
  EXPECT_EQ(regional_.GetLocaleInfoA(lcid, kLocaleShortDate, buffer.data(), -1), 0);
  EXPECT_EQ(regional_.GetLocaleInfoA(lcid, kLocaleShortDate, nullptr, 11), 0);
}

TEST_F(InjectedLocaleTest, GetLocaleInfoAnswersZeroForWhatItDoesNotHave) {
  // Given an unknown item, another locale identifier or an empty item, expect 0 in both passes.
  const std::uint32_t lcid = regional_.GetUserDefaultLCID();
  std::array<char, 16> buffer{};
  EXPECT_EQ(regional_.GetLocaleInfoA(lcid, 30, nullptr, 0), 0);
  EXPECT_EQ(regional_.GetLocaleInfoA(lcid, 30, buffer.data(), 16), 0);
  EXPECT_EQ(regional_.GetLocaleInfoA(0x0409, kLocaleShortDate, nullptr, 0), 0);
  regional_.OverrideShortDatePattern("");
  regional_.OverrideDateSeparator("");
  EXPECT_EQ(regional_.GetLocaleInfoA(lcid, kLocaleShortDate, nullptr, 0), 0);
  EXPECT_EQ(regional_.GetLocaleInfoA(lcid, kLocaleShortDate, buffer.data(), 16), 0);
  EXPECT_EQ(regional_.GetLocaleInfoA(lcid, kLocaleDateSeparator, nullptr, 0), 0);
}

TEST_F(InjectedLocaleTest, FormatDateWritesWithThePattern) {
  // Given the usual short-date patterns, expect each date with a two-digit year on request.
  regional_.OverrideShortDatePattern("dd/MM/yyyy");
  EXPECT_EQ(regional_.FormatDate(2004, 3, 5, true), "05/03/04");
  EXPECT_EQ(regional_.FormatDate(2004, 3, 5, false), "05/03/2004");
  // Note: a pattern of the same length, written over the one before, is a new pattern too.
  regional_.OverrideShortDatePattern("MM/dd/yyyy");
  EXPECT_EQ(regional_.FormatDate(2004, 3, 5, true), "03/05/04");
  regional_.OverrideShortDatePattern("M/d/yyyy");
  EXPECT_EQ(regional_.FormatDate(2004, 3, 5, true), "3/5/04");
  EXPECT_EQ(regional_.FormatDate(2004, 3, 15, true), "3/15/04");
  regional_.OverrideShortDatePattern("dd-MM-yy");
  EXPECT_EQ(regional_.FormatDate(2004, 3, 5, true), "05-03-04");
  regional_.OverrideShortDatePattern("yyyy/MM/dd");
  EXPECT_EQ(regional_.FormatDate(2004, 3, 5, true), "04/03/05");
}

TEST_F(InjectedLocaleTest, ReadDateFollowsAMonthFirstPattern) {
  // Given M/d/yyyy, expect a day of 12 or less never exchanged with the month, and a day above 12
  // in the month's place refused.
  regional_.OverrideShortDatePattern("M/d/yyyy");
  EXPECT_EQ(regional_.ReadDate("3/5/2004"), (DateTime{2004, 3, 5}));
  EXPECT_EQ(regional_.ReadDate("5/3/04"), (DateTime{2004, 5, 3}));
  EXPECT_EQ(regional_.ReadDate("Fri 03/05/04"), (DateTime{2004, 3, 5}));
  EXPECT_THROW(regional_.ReadDate("15/03/2004"), host::HostError);
}

TEST_F(InjectedLocaleTest, ReadDateTakesTheFormsTheHostShows) {
  // Given the host's texts under dd/MM/yyyy, expect the date, the time, or both.
  regional_.OverrideShortDatePattern("dd/MM/yyyy");
  EXPECT_EQ(regional_.ReadDate("Mon 15/03/04"), (DateTime{2004, 3, 15}));
  EXPECT_EQ(regional_.ReadDate("15/03/04 08:00"), (DateTime{2004, 3, 15, 8, 0, 0}));
  EXPECT_EQ(regional_.ReadDate("08:00"), (DateTime{0, 0, 0, 8, 0, 0}));
  EXPECT_EQ(regional_.ReadDate("15-03-2004"), (DateTime{2004, 3, 15}));
  EXPECT_EQ(regional_.ReadDate("15.03.2004"), (DateTime{2004, 3, 15}));
  EXPECT_EQ(regional_.ReadDate("01/01/29").year, 2029);
  EXPECT_EQ(regional_.ReadDate("01/01/30").year, 1930);
}

TEST_F(InjectedLocaleTest, ReadDateAcceptsTheCurrentSeparator) {
  // Given a date separator of the user's own, expect it accepted beside "/", "-" and ".".
  regional_.OverrideShortDatePattern("dd_MM_yyyy");
  EXPECT_THROW(regional_.ReadDate("15_03_2004"), host::HostError);
  regional_.OverrideDateSeparator("_");
  EXPECT_EQ(regional_.ReadDate("15_03_2004"), (DateTime{2004, 3, 15}));
  EXPECT_EQ(regional_.ReadDate("15/03/2004"), (DateTime{2004, 3, 15}));
}

TEST_F(InjectedLocaleTest, ReadDateFailsWithTypeMismatch) {
  // Given text that is no date, expect the runtime's record, whole.
  for (const char* text : {"x", "2004", "na", "", "15/03", "1/2/3/4", "Mon", "31/02/2004"}) {
    try {
      regional_.ReadDate(text);
      ADD_FAILURE() << "read " << text;
    } catch (const host::HostError& error) {
      EXPECT_EQ(error.record(), (host::ErrorRecord{host::kTypeMismatch, "Type mismatch"})) << text;
    }
  }
}

TEST_F(InjectedLocaleTest, DefaultDateTimeTextLeavesOutMidnight) {
  // Given dates with and without a time of day, and a time alone, expect the platform's default
  // form, which reads back to the same value.
  regional_.OverrideShortDatePattern("dd/MM/yyyy");
  const DateTime with_time{2004, 3, 15, 8, 5, 0};
  const DateTime midnight{2004, 3, 15, 0, 0, 0};
  const DateTime time_only{0, 0, 0, 17, 30, 15};
  EXPECT_EQ(regional_.DefaultDateTimeText(with_time), "15/03/2004 08:05:00");
  EXPECT_EQ(regional_.DefaultDateTimeText(midnight), "15/03/2004");
  EXPECT_EQ(regional_.DefaultDateTimeText(time_only), "17:30:15");
  EXPECT_EQ(regional_.DefaultDateTimeText(DateTime{}), "00:00:00");
  for (const DateTime& when : {with_time, midnight, time_only}) {
    EXPECT_EQ(regional_.ReadDate(regional_.DefaultDateTimeText(when)), when);
  }
  regional_.OverrideShortDatePattern("M/d/yy");
  EXPECT_EQ(regional_.DefaultDateTimeText(with_time), "3/15/04 08:05:00");
}

}  // namespace
}  // namespace lunavant::workbench
