// SPDX-License-Identifier: MIT
#include "addin/codec/regional_date.h"

#include "addin/codec/date_text.h"
#include "addin/events/ms_proj_events.h"
#include "tests/support/addin_fixture.h"
#include "tests/support/error_of.h"

namespace lunavant::codec {
namespace {

class RegionalDate : public test_support::AddinTest {};

TEST_F(RegionalDate, WritesTheInputDateInTheUsersPatternWithATwoDigitYear) {
  // Given several patterns, expect the day and month of the input whatever their order.
  const struct {
    const char* pattern;
    const char* in;
    const char* out;
  } cases[] = {
      {"dd/MM/yyyy", "05/03/2004", "05/03/04"},
      {"M/d/yyyy", "05/03/2004", "3/5/04"},
      {"M/d/yyyy", "15/03/2004", "3/15/04"},
      {"dd-MM-yy", "05/03/2004", "05-03-04"},
      {"yyyy/MM/dd", "05/03/2004", "04/03/05"},
      {"dd.MM.yyyy", "15/03/2004", "15.03.04"},
      {"d/M/yyyy", "05/03/2004", "5/3/04"},
      {"dd/mm/yyyy", "05/03/2004", "05/03/04"},
      {"dd/MM/yyyy yyyy", "05/03/2004", "05/03/04 04"},
  };
  for (const auto& c : cases) {
    PinRegionalSettings(c.pattern, "/");
    EXPECT_EQ(RegionalDateText(c.in), c.out) << c.pattern;
  }
}

TEST_F(RegionalDate, WritesAOneLetterYearInFullWhereTwoDigitsWouldReadBackWrong) {
  // Given a pattern with "y", expect 2046 in full, as two digits would read back as 1946.
  PinRegionalSettings("dd.MMM.y", ".");
  EXPECT_EQ(RegionalDateText("19/01/2046"), "19.Jan.2046");
  EXPECT_EQ(RegionalDateText("19/01/2004"), "19.Jan.4");
}

TEST_F(RegionalDate, ReturnsTheInputUnchangedWhenThePlatformHasNoPattern) {
  PinRegionalSettings("", "/");
  EXPECT_EQ(GetLocaleText(app_.Regional().GetUserDefaultLCID(), host::kLocaleShortDate), "");
  EXPECT_EQ(RegionalDateText("05/03/2004"), "05/03/2004");
}

TEST_F(RegionalDate, ReadsTheLocaleItemInTwoPasses) {
  // Given a pattern longer than any fixed buffer, expect it whole, without the terminating zero.
  const std::string long_pattern = "dd/MM/yyyy '" + std::string(300, 'x') + "'";
  PinRegionalSettings(long_pattern, "/");
  EXPECT_EQ(GetLocaleText(app_.Regional().GetUserDefaultLCID(), host::kLocaleShortDate),
            long_pattern);
  EXPECT_EQ(GetLocaleText(app_.Regional().GetUserDefaultLCID(), 12345), "");
}

TEST_F(RegionalDate, WritesNumbersAsItWritesTheirTextAcrossPatternChanges) {
  // Given the pattern changing between calls and back, expect each call to use the pattern read
  // then, and the numbers to fail where their text fails.
  const char* const patterns[] = {"dd/MM/yyyy", "yyyy-MM-dd", "dd/MM/yyyy", "d.M.y", ""};
  for (const char* pattern : patterns) {
    PinRegionalSettings(pattern, "/");
    EXPECT_EQ(RegionalDateOf(2004, 3, 5), RegionalDateText("05/03/2004")) << pattern;
    EXPECT_EQ(RegionalDateOf(2046, 1, 19), RegionalDateText("19/01/2046")) << pattern;
  }
  PinRegionalSettings("yyyy-MM-dd", "/");
  EXPECT_EQ(RegionalDateOf(2004, 3, 5), "04-03-05");
  EXPECT_EQ(test_support::ErrorOf([] { RegionalDateOf(2004, 13, 5); }),
            (host::ErrorRecord{host::kTypeMismatch, "Type mismatch"}));
  EXPECT_EQ(test_support::ErrorOf([] { RegionalDateOf(2004, 3, 0); }),
            (host::ErrorRecord{host::kTypeMismatch, "Type mismatch"}));
  PinRegionalSettings("", "/");
  EXPECT_EQ(RegionalDateOf(2004, 13, 5), "05/13/2004");
}

TEST_F(RegionalDate, ComposesHijriTextWithTheHostsSeparator) {
  // Given day 5 of month 3 of 1425, expect two-digit day and month and the separator read now.
  EXPECT_EQ(ComposeDateText(1425, 3, 5, kKindHijri), "05/03/1425");
  PinRegionalSettings("dd/MM/yyyy", "-");
  EXPECT_EQ(ComposeDateText(1425, 3, 5, kKindHijri), "05-03-1425");
  PinRegionalSettings("dd/MM/yyyy", ".");
  EXPECT_EQ(ComposeDateText(1425, 12, 30, kKindHijri), "30.12.1425");
  PinRegionalSettings("dd/MM/yyyy", " of month ");
  EXPECT_EQ(ComposeDateText(1425, 3, 5, kKindHijri), "05 of month 03 of month 1425");
  // Note: the year never takes a leading zero, also in the first years of the era.
  EXPECT_EQ(ComposeDateText(8, 3, 5, kKindHijri), "05 of month 03 of month 8");
  EXPECT_EQ(ComposeDateText(2004, 3, 15, kKindGregorian), "15/03/04");
  EXPECT_EQ(ComposeDateText(2004, 3, 15, "X"), "");
}

}  // namespace
}  // namespace lunavant::codec
