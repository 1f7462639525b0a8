// SPDX-License-Identifier: MIT
// The codec in the workbench under every locale the machine has, with the regional settings the
// locale gives (nothing pinned): what the host writes reads back, and typed Hijri text in the
// locale's separator converts and comes back as typed.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "addin/codec/date_text.h"
#include "addin/codec/field_conversion.h"
#include "addin/codec/text_pieces.h"
#include "addin/codec/to_gregorian.h"
#include "addin/codec/to_hijri.h"
#include "tests/support/addin_fixture.h"
#include "workbench/platform/date_reading.h"

namespace lunavant::codec {
namespace {

using detail::PaddedNumber;
using test_support::kStart;
using test_support::kText1;

constexpr std::array<const char*, 7> kWeekdays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

// Locales that must be among them: those whose dates once failed to read back, common ones, and
// (added from the C library's list) every Arabic one.
constexpr std::array<const char*, 27> kRequiredLocales = {
    "ar_SA", "ar_EG", "ar_AE", "ar_JO", "ar_MA", "fr_CH", "sl_SI", "sr_RS", "lv_LV",
    "nb_NO", "is_IS", "ja_JP", "zh_CN", "ko_KR", "ce_RU", "en_HK", "en_PH", "ug_CN",
    "en_US", "en_GB", "de_DE", "fr_FR", "es_ES", "it_IT", "ru_RU", "tr_TR", "fa_IR"};

std::string RunAndRead(const char* command) {
  std::string out;
  FILE* pipe = popen(command, "r");
  if (pipe == nullptr) return out;
  std::array<char, 256> buffer{};
  while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) {
    out += buffer.data();
  }
  pclose(pipe);
  return out;
}

// The names `locale -a` lists, as a user would set them in LC_ALL.
std::vector<std::string> LocalesOfTheMachine() {
  std::vector<std::string> names;
  std::istringstream lines(RunAndRead("locale -a 2>/dev/null"));
  for (std::string name; std::getline(lines, name);) {
    if (!name.empty()) names.push_back(name);
  }
  return names;
}

// Every required locale, and every Arabic UTF-8 locale the C library ships, that is missing.
std::vector<std::string> MissingLocales(const std::vector<std::string>& installed) {
  std::set<std::string> have;
  for (const std::string& name : installed) have.insert(name.substr(0, name.find('.')));
  std::set<std::string> wanted(kRequiredLocales.begin(), kRequiredLocales.end());
  std::ifstream supported("/usr/share/i18n/SUPPORTED");
  for (std::string name, charset; supported >> name >> charset;) {
    if (name.rfind("ar_", 0) == 0 && charset == "UTF-8")
      wanted.insert(name.substr(0, name.find('.')));
  }
  std::vector<std::string> missing;
  for (const std::string& name : wanted) {
    if (have.count(name) == 0) missing.push_back(name);
  }
  return missing;
}

// [0, 6], 0 Sunday (Sakamoto), independent of the converter's weekday.
std::int32_t WeekdayOf(std::int32_t year, std::int32_t month, std::int32_t day) {
  static constexpr std::array<std::int32_t, 12> kOffsets = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (month < 3) year -= 1;
  return (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + day) % 7;
}

std::int32_t DaysInMonth(std::int32_t year, std::int32_t month) {
  constexpr std::array<std::int32_t, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return month == 2 && leap ? 29 : kDays[month - 1];
}

// ASCII digits written as Arabic-Indic (U+0660..) or Extended Arabic-Indic (U+06F0..) ones.
std::string WithDigits(const std::string& text, unsigned char lead, unsigned char zero_trail) {
  std::string out;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      out += static_cast<char>(lead);
      out += static_cast<char>(zero_trail + (c - '0'));
    } else {
      out += c;
    }
  }
  return out;
}

class InstalledLocales : public test_support::AddinTest {
 protected:
  InstalledLocales() {
    for (std::size_t i = 0; i < kVariables.size(); ++i) {
      const char* value = getenv(kVariables[i]);
      if (value != nullptr) saved_[i] = value;
      unsetenv(kVariables[i]);
    }
    app_.Regional().ClearOverrides();
    task_ = &app_.NewProject("Plan").AddTask("Dig", 3);
  }
  ~InstalledLocales() override {
    for (std::size_t i = 0; i < kVariables.size(); ++i) {
      if (saved_[i]) {
        setenv(kVariables[i], saved_[i]->c_str(), 1);
      } else {
        unsetenv(kVariables[i]);
      }
    }
  }

  // The installed locales, each set in LC_ALL in turn for `check`, which returns the first fault
  // it finds. Expects every required locale installed and every locale free of faults.
  template <typename Check>
  void ForEveryLocale(const char* what, Check check) {
    const std::vector<std::string> installed = LocalesOfTheMachine();
    const std::vector<std::string> missing = MissingLocales(installed);
    EXPECT_TRUE(missing.empty()) << missing.size() << " locales are missing, the first "
                                 << missing.front() << "; scripts/install-deps.sh makes them";
    std::size_t passed = 0;
    for (const std::string& name : installed) {
      setenv("LC_ALL", name.c_str(), 1);
      const std::optional<std::string> fault = check(name);
      EXPECT_EQ(fault, std::nullopt) << name << ": pattern " << app_.Regional().ShortDatePattern()
                                     << ", separator " << app_.DateSeparator();
      if (!fault) ++passed;
    }
    std::cout << what << ": " << passed << " of " << installed.size() << " locales\n";
  }

  test_support::FilledCatalogues catalogues_;
  workbench::Task* task_ = nullptr;

 private:
  static constexpr std::array<const char*, 3> kVariables = {"LC_ALL", "LC_TIME", "LANG"};
  std::array<std::optional<std::string>, 3> saved_;
};

TEST_F(InstalledLocales, HostReadsBackEveryDateItWrites) {
  // Given each locale's own settings, expect the days of 1984 to 2050 (every day of a leap year
  // and of the years either side of the two-digit window's end; the 1st, 12th and 13th of every
  // month) written as the host shows them (two-digit year where it reads back, with and without
  // the weekday) and in the platform's default form to read back as those days.
  ForEveryLocale("dates read back", [&](const std::string&) -> std::optional<std::string> {
    const workbench::PosixRegionalSettings& regional = app_.Regional();
    if (regional.ShortDatePattern().empty()) return "no pattern";
    for (std::int32_t year = 1984; year <= 2050; ++year) {
      const bool every_day = year == 2004 || year == 2029 || year == 2030;
      for (std::int32_t month = 1; month <= 12; ++month) {
        for (std::int32_t day = 1; day <= DaysInMonth(year, month); ++day) {
          if (!every_day && day != 1 && day != 12 && day != 13) continue;
          const host::DateTime date{year, month, day};
          const std::string shown =
              regional.FormatDate(year, month, day, workbench::TwoDigitYearReadsBack(year));
          const std::string weekday = kWeekdays[WeekdayOf(year, month, day)];
          for (const std::string& text :
               {shown, weekday + " " + shown, regional.DefaultDateTimeText(date)}) {
            try {
              if (regional.ReadDate(text) != date) return "reads " + text + " as another date";
            } catch (const host::HostError&) {
              return "cannot read " + text;
            }
          }
        }
      }
    }
    return std::nullopt;
  });
}

TEST_F(InstalledLocales, TypedHijriRoundTripsThroughTheCodec) {
  // Given each locale's own separator, expect Hijri dates across the accepted range (the 1st,
  // 13th and 29th of each month of every other year), typed as a user types them, to give the
  // weekday and the date of the Gregorian day, and that text to convert back to what was typed;
  // through a task's fields too. In Arabic locales, expect the same typed in Arabic-Indic and
  // Extended Arabic-Indic digits to give the same text.
  ForEveryLocale(
      "typed Hijri round trip", [&](const std::string& name) -> std::optional<std::string> {
        const std::string sep = app_.DateSeparator();
        const bool arabic = name.rfind("ar_", 0) == 0;
        std::int32_t count = 0;
        for (std::int32_t year = 1404; year <= 1472; year += 2) {  // 1404 and 1472 among them
          for (std::int32_t month = 1; month <= 12; ++month) {
            for (const std::int32_t day : {1, 13, 29}) {
              if (!IsInHijriRange(year, month, day)) continue;
              const std::string typed =
                  PaddedNumber(day) + sep + PaddedNumber(month) + sep + std::to_string(year);
              const std::string gregorian = ToGregorianText(typed);
              if (gregorian.size() < 5 || gregorian[3] != ' ') return typed + " gave " + gregorian;
              host::DateTime read;
              try {
                read = app_.Regional().ReadDate(gregorian.substr(4));
              } catch (const host::HostError&) {
                return typed + " gave " + gregorian + ", which does not read";
              }
              if (gregorian.substr(0, 3) != kWeekdays[WeekdayOf(read.year, read.month, read.day)]) {
                return typed + " gave the wrong weekday in " + gregorian;
              }
              const std::string back = ToHijriText(gregorian);
              if (back != typed) return typed + " gave " + gregorian + ", which gave " + back;
              if (arabic && (ToGregorianText(WithDigits(typed, 0xD9, 0xA0)) != gregorian ||
                             ToGregorianText(WithDigits(typed, 0xDB, 0xB0)) != gregorian)) {
                return typed + " in Arabic digits does not give " + gregorian;
              }
              // Every 97th working day also travels through a task's Start and a text field.
              if (++count % 97 == 0 && gregorian[0] != 'S') {
                if (!ConvertAndSetField(*task_, kStart, typed, kKindGregorian) ||
                    !ConvertAndSetField(*task_, kText1, task_->GetField(kStart), kKindHijri) ||
                    task_->GetField(kText1) != typed) {
                  return typed + " through Start gave " + task_->GetField(kText1);
                }
              }
            }
          }
        }
        if (!Shown().empty()) return "showed " + Shown().front().prompt;
        return std::nullopt;
      });
}

}  // namespace
}  // namespace lunavant::codec
