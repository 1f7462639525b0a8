// SPDX-License-Identifier: MIT
#include "workbench/platform/short_date.h"

#include <gtest/gtest.h>

#include <string>

#include "workbench/platform/date_reading.h"
#include "workbench/platform/date_writing.h"

namespace lunavant::workbench {
namespace {

TEST(ShortDate, CldrPatternsBecomeNumericPatterns) {
  // Given CLDR short dates as ICU has them, expect the fields in the locale's order, the year
  // written in full for one y, the marks and text outside the fields gone.
  struct Case {
    const char* cldr;
    ShortDate expected;
  };
  const Case cases[] = {
      {"d\u200f/M\u200f/y", {"d/M/yyyy", "/"}},      // Arabic, with right-to-left marks
      {"d.MM.yy\u202f'\u0433'.", {"d.MM.yy", "."}},  // Bulgarian, trailing year word
      {"yy. M. d.", {"yy.M.d", "."}},                // Korean
      {"y. MM. dd.", {"yyyy.MM.dd", "."}},           // Hungarian
      {"d. MM. yy", {"d.MM.yy", "."}},               // Slovenian
      {"dd/MM y", {"dd/MM/yyyy", "/"}},              // one gap of punctuation is enough
      {"M/d/yy", {"M/d/yy", "/"}},
      {"y-MM-dd", {"yyyy-MM-dd", "-"}},
      {"y\u5e74M\u6708d\u65e5", {"yyyy/M/d", "/"}},  // no punctuation between fields
      {"EEEE, d MMMM y G", {"d/MM/yyyy", "/"}},      // names give way to numbers
      {"dd'/'MM'/'yyyy", {"dd/MM/yyyy", "/"}},       // quoted punctuation counts
      {"dd 'de' MMM 'de' y", {"dd/MM/yyyy", "/"}},
      {"d\u200e\u2068.\u2069LL.y", {"d.MM.yyyy", "."}},
      {"", {"", "/"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ShortDateOfCldr(c.cldr), c.expected) << c.cldr;
}

TEST(ShortDate, WindowsFormatsBecomeNumericPatterns) {
  // Given short dates as Windows regional settings give them, expect the same reduction, with
  // Windows' own letters for weekday names, eras and a short year understood.
  struct Case {
    const char* windows;
    ShortDate expected;
  };
  const Case cases[] = {
      {"d\u200f/M\u200f/yyyy", {"d/M/yyyy", "/"}},  // Arabic (Saudi Arabia), as wine gives it
      {"dd/MM/yyyy", {"dd/MM/yyyy", "/"}},
      {"M/d/yyyy", {"M/d/yyyy", "/"}},
      {"yyyy-MM-dd", {"yyyy-MM-dd", "-"}},
      {"dd.MM.yy", {"dd.MM.yy", "."}},
      {"ddd dd/MM/yyyy", {"dd/MM/yyyy", "/"}},  // a weekday name, not a day
      {"gg yyyy/M/d", {"yyyy/M/d", "/"}},
      {"d/M/y", {"d/M/yy", "/"}},
      {"dd 'de' MMMM 'de' yyyy", {"dd/MM/yyyy", "/"}},
      {"", {"", "/"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ShortDateOfWindows(c.windows), c.expected) << c.windows;
}

TEST(ShortDate, WhatIsWrittenReadsBack) {
  // Given the reduced patterns of the usual CLDR shapes, expect a date with a day and a month
  // that could change places (5 March) to read back as itself.
  for (const char* cldr : {"d\u200f/M\u200f/y", "yy. M. d.", "M/d/yy", "dd.MM.y", "y/MM/dd"}) {
    const ShortDate reduced = ShortDateOfCldr(cldr);
    for (const bool two_digits : {true, false}) {
      const std::string text = FormatDateWithPattern(reduced.pattern, 2004, 3, 5, two_digits);
      const host::DateTime read =
          ReadDateText(text, DateOrderOfPattern(reduced.pattern), reduced.separator);
      EXPECT_EQ(read, (host::DateTime{2004, 3, 5})) << cldr << " wrote " << text;
    }
  }
}

TEST(ShortDate, FormatsNoReaderKnowsGiveTheCShortDate) {
  // Given a format whose only directive is cut short, or one that puts the year between month and
  // day, expect the C locale's short date, which reads back; only the empty format gives none.
  EXPECT_EQ(ShortDateOfStrftime("%9"), (ShortDate{"MM/dd/yy", "/"}));
  EXPECT_EQ(ShortDateOfStrftime("%b-%Y-%d"), (ShortDate{"MM/dd/yy", "/"}));
  EXPECT_EQ(ShortDateOfCldr("MM-y-dd"), (ShortDate{"MM/dd/yy", "/"}));
  EXPECT_EQ(ShortDateOfStrftime(""), (ShortDate{"", "/"}));
}

}  // namespace
}  // namespace lunavant::workbench
