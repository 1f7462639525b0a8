// SPDX-License-Identifier: MIT
#include "addin/codec/to_gregorian.h"

#include <fstream>
#include <random>
#include <sstream>

#include "addin/codec/date_text.h"
#include "addin/codec/field_conversion.h"
#include "addin/codec/messages.h"
#include "addin/codec/to_hijri.h"
#include "tests/support/addin_fixture.h"

namespace lunavant::codec {
namespace {

using test_support::kStart;
using test_support::kText1;

const std::string kMalformedSlash =
    "Invalid Hijri Date. Make sure it is in the following format dd/mm/yyyy or that it falls "
    "within the acceptable date range of 28/3/1404 to 7/4/1472";
const std::string kOutOfRangeSlash =
    "Invalid Hijri Date. Make sure it is in the following format dd/mm/yyyy and that it falls "
    "within the acceptable date range of 28/3/1404 to 7/4/1472";

class ToGregorian : public test_support::AddinTest {
 protected:
  test_support::FilledCatalogues catalogues_;
};

TEST_F(ToGregorian, WritesTheWeekdayAndTheDateInTheUsersPattern) {
  EXPECT_EQ(ToGregorianText("24/01/1425"), "Mon 15/03/04");
  EXPECT_EQ(ToGregorianText("05/03/1425"), "Sat 24/04/04");
  EXPECT_EQ(ToGregorianText("5/3/1425"), "Sat 24/04/04");
  EXPECT_EQ(ToGregorianText(" 5 / 03 /1425 "), "Sat 24/04/04");
  EXPECT_EQ(ToGregorianText("03/01/1425"), "Mon 23/02/04");
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ToGregorian, WritesYearsBeyondTheTwoDigitWindowInFull) {
  // Given dates of 2029 and 2030, expect two digits where they read back, four where they would
  // read back as 1930, also with a pattern that has only two.
  EXPECT_EQ(ToGregorianText("1/1/1451"), "Mon 14/05/29");
  EXPECT_EQ(ToGregorianText("17/5/1451"), "Wed 26/09/29");
  EXPECT_EQ(ToGregorianText("1/1/1452"), "Fri 03/05/2030");
  PinRegionalSettings("dd-MM-yy", "-");
  EXPECT_EQ(ToGregorianText("1-1-1452"), "Fri 03-05-2030");
}

TEST_F(ToGregorian, KeepsTheConvertersDayAndMonthInAMonthFirstPattern) {
  PinRegionalSettings("M/d/yyyy", "/");
  EXPECT_EQ(ToGregorianText("14/01/1425"), "Fri 3/5/04");
}

TEST_F(ToGregorian, AcceptsBothEndsOfTheRangeAndNothingBeyond) {
  EXPECT_EQ(ToGregorianText("28/3/1404"), "Sun 01/01/84");
  EXPECT_EQ(ToGregorianText("7/4/1472"), "Sat 01/01/2050");
  for (const char* outside : {"27/3/1404", "1/1/1404", "8/4/1472", "1/5/1472", "1/1/1500"}) {
    EXPECT_EQ(ToGregorianText(outside), "") << outside;
  }
  ASSERT_EQ(Shown().size(), 5u);
  for (const auto& shown : Shown()) EXPECT_EQ(shown.prompt, ErrorBox(103, kOutOfRangeSlash));
}

TEST_F(ToGregorian, RefusesMalformedTextWithTheHostsSeparatorInTheWords) {
  for (const char* malformed :
       {"15/3", "15/3/1425/1", "31/1/1425", "0/1/1425", "15/13/1425", "15/3/25", "15/3/10000",
        "Sun 15/3/1425", "15//1425", "+5/3/1425", "15/3/99999999999999999999"}) {
    EXPECT_EQ(ToGregorianText(malformed), "") << malformed;
  }
  ASSERT_EQ(Shown().size(), 11u);
  for (const auto& shown : Shown()) EXPECT_EQ(shown.prompt, ErrorBox(103, kMalformedSlash));

  PinRegionalSettings("dd.MM.yyyy", ".");
  EXPECT_EQ(ToGregorianText("31.1.1425"), "");
  EXPECT_EQ(Shown().back().prompt,
            ErrorBox(103,
                     "Invalid Hijri Date. Make sure it is in the following format dd.mm.yyyy "
                     "or that it falls within the acceptable date range of 28.3.1404 to "
                     "7.4.1472"));
  EXPECT_EQ(ToGregorianText("1.1.1500"), "");
  EXPECT_EQ(Shown().back().prompt,
            ErrorBox(103,
                     "Invalid Hijri Date. Make sure it is in the following format dd.mm.yyyy "
                     "and that it falls within the acceptable date range of 28/3/1404 to "
                     "7/4/1472"));
}

TEST_F(ToGregorian, AsksForTheCurrentSeparatorWhenTheTextLacksIt) {
  EXPECT_EQ(ToGregorianText("15-3-1425"), "");
  PinRegionalSettings("dd-MM-yyyy", "-");
  EXPECT_EQ(ToGregorianText("15/3/1425"), "");
  EXPECT_EQ(ToGregorianText("15-3-1425"), "Tue 04-05-04");
  EXPECT_EQ(ShownTexts(),
            (std::vector<std::string>{
                ErrorBox(104,
                         "Please use the current Date Separator specified in your regional "
                         "settings \"/\" "),
                ErrorBox(104,
                         "Please use the current Date Separator specified in your regional "
                         "settings \"-\" ")}));
}

TEST_F(ToGregorian, ReadsArabicIndicDigitsAsTheSameNumbers) {
  // Given 05/03/1425 typed on an Arabic keyboard (U+0660..), on a Persian or Urdu one (U+06F0..)
  // and mixed, expect the date of the ASCII text; given Arabic digits that break a bound, a digit
  // of another script or the wrong separator, expect the usual refusals.
  const std::string arabic = "\u0660\u0665/\u0660\u0663/\u0661\u0664\u0662\u0665";
  const std::string persian = "\u06f0\u06f5/\u06f0\u06f3/\u06f1\u06f4\u06f2\u06f5";
  EXPECT_EQ(ToGregorianText(arabic), "Sat 24/04/04");
  EXPECT_EQ(ToGregorianText(persian), "Sat 24/04/04");
  EXPECT_EQ(ToGregorianText(" \u0665 /3/\u06f1\u06f44\u0662\u0665"), "");  // five digits
  EXPECT_EQ(ToGregorianText(" \u0665 /3/\u06f1\u06f42\u0665"), "Sat 24/04/04");
  EXPECT_TRUE(IsWellFormedHijri(arabic));
  EXPECT_FALSE(IsWellFormedHijri("\u0663\u0661/\u0661/\u0661\u0664\u0662\u0665"));  // day 31
  EXPECT_FALSE(IsWellFormedHijri("\u0966\u096b/03/1425"));  // Devanagari digits
  EXPECT_FALSE(IsWellFormedHijri("\u0665/3/\xd9"));         // a lone lead byte
  EXPECT_EQ(ToGregorianText("\u0665-\u0663-\u0661\u0664\u0662\u0665"), "");
  ASSERT_EQ(Shown().size(), 2u);
  EXPECT_EQ(Shown()[0].prompt, ErrorBox(103, kMalformedSlash));
  EXPECT_EQ(Shown()[1].prompt,
            ErrorBox(104,
                     "Please use the current Date Separator specified in your regional settings "
                     "\"/\" "));
}

TEST_F(ToGregorian, PassesNAInAnyCaseAndTheEmptyTextThrough) {
  for (const char* value : {"NA", "na", "Na", ""}) EXPECT_EQ(ToGregorianText(value), value);
  EXPECT_TRUE(Shown().empty());
}

// The official month lengths of 1440, read from the reference table.
std::vector<int> MonthLengthsOf1440() {
  std::ifstream table(LUNAVANT_SHARED_DATA "/umalqura-months.csv");
  std::vector<int> lengths;
  std::string line;
  while (std::getline(table, line)) {
    if (line.rfind("1440,", 0) != 0) continue;
    std::stringstream fields(line);
    std::string year, month, first_day, length;
    std::getline(fields, year, ',');
    std::getline(fields, month, ',');
    std::getline(fields, first_day, ',');
    std::getline(fields, length, ',');
    lengths.push_back(std::stoi(length));
  }
  return lengths;
}

TEST_F(ToGregorian, RefusesADayItsMonthLacksAndTakesEveryDayItHas) {
  // Given day 30 of each month of 1440, expect the 30th of a 30-day month and the invalid-date
  // message for a 29-day month, whose day 29 still converts.
  const std::vector<int> lengths = MonthLengthsOf1440();
  ASSERT_EQ(lengths.size(), 12u);
  int refused = 0;
  for (int month = 1; month <= 12; ++month) {
    const std::string day30 = ToGregorianText("30/" + std::to_string(month) + "/1440");
    EXPECT_FALSE(ToGregorianText("29/" + std::to_string(month) + "/1440").empty()) << month;
    if (lengths[month - 1] == 29) {
      EXPECT_EQ(day30, "") << month;
      ++refused;
    } else {
      EXPECT_FALSE(day30.empty()) << month;
    }
  }
  ASSERT_GT(refused, 0);
  // 29-day months of other years, Ramadan and Dhu al-Hijjah 1446 among them.
  for (const char* missing :
       {"30/9/1446", "30/12/1446", "30/02/1425", "30/4/1404", "30/2/1472", "30/10/1460"}) {
    EXPECT_EQ(ToGregorianText(missing), "") << missing;
  }
  EXPECT_EQ(ToGregorianText("29/09/1446"), "Sat 29/03/25");
  EXPECT_EQ(ToGregorianText("01/10/1446"), "Sun 30/03/25");
  EXPECT_EQ(ToGregorianText("29/12/1446"), "Wed 25/06/25");
  EXPECT_EQ(ToGregorianText("30/10/1446"), "Mon 28/04/25");
  ASSERT_EQ(Shown().size(), static_cast<std::size_t>(refused) + 6);
  for (const auto& shown : Shown()) EXPECT_EQ(shown.prompt, ErrorBox(103, kMalformedSlash));
}

TEST_F(ToGregorian, ChecksRangeEndsWithoutTheMonthsLength) {
  EXPECT_TRUE(IsInHijriRange(1404, 3, 28));
  EXPECT_FALSE(IsInHijriRange(1404, 3, 27));
  EXPECT_FALSE(IsInHijriRange(1404, 2, 30));
  EXPECT_TRUE(IsInHijriRange(1472, 4, 7));
  EXPECT_FALSE(IsInHijriRange(1472, 4, 8));
  EXPECT_TRUE(IsInHijriRange(1472, 3, 30));
  EXPECT_FALSE(IsInHijriRange(1403, 12, 30));
  EXPECT_TRUE(IsWellFormedHijri("30/2/1425"));
  EXPECT_FALSE(IsWellFormedHijri("30-2-1425"));
}

TEST_F(ToGregorian, AnyTextGivesAResultOrExactlyOneMessageInBothDirections) {
  // Given many random texts of digits, separators, blanks and letters, expect each conversion to
  // give either a text and no message, or nothing and exactly one message; never a failure that
  // escapes.
  std::mt19937 random(20041503);
  const std::string alphabet = "0123456789//--.. ::NAnaMonSat+x";
  std::uniform_int_distribution<std::size_t> length(0, 18);
  std::uniform_int_distribution<std::size_t> letter(0, alphabet.size() - 1);
  for (int i = 0; i < 20000; ++i) {
    std::string text(length(random), ' ');
    for (char& c : text) c = alphabet[letter(random)];
    for (const auto convert : {&ToGregorianText, &ToHijriText}) {
      const std::size_t before = Shown().size();
      std::string result;
      ASSERT_NO_THROW(result = convert(text)) << text;
      const std::size_t messages = Shown().size() - before;
      if (result.empty() && !text.empty()) {
        EXPECT_EQ(messages, 1u) << "\"" << text << "\"";
      } else {
        EXPECT_EQ(messages, 0u) << "\"" << text << "\"";
      }
    }
  }
}

class ConvertAndSet : public test_support::AddinTest {
 protected:
  ConvertAndSet() : task_(app_.NewProject("Plan").AddTask("Dig", 3)) {}
  test_support::FilledCatalogues catalogues_;
  workbench::Task& task_;
};

TEST_F(ConvertAndSet, WritesTheConversionIntoTheTargetField) {
  EXPECT_TRUE(ConvertAndSetField(task_, kStart, "24/01/1425", kKindGregorian));
  EXPECT_EQ(task_.GetField(kStart), "Mon 15/03/04");
  EXPECT_TRUE(ConvertAndSetField(task_, kText1, task_.GetField(kStart), kKindHijri));
  EXPECT_EQ(task_.GetField(kText1), "24/01/1425");
}

TEST_F(ConvertAndSet, WritesNAAsTypedAndNothingForTheEmptyText) {
  task_.SetField(kText1, "keep");
  EXPECT_FALSE(ConvertAndSetField(task_, kText1, "", kKindHijri));
  EXPECT_EQ(task_.GetField(kText1), "keep");
  EXPECT_TRUE(ConvertAndSetField(task_, kText1, "NA", kKindHijri));
  EXPECT_EQ(task_.GetField(kText1), "NA");
}

TEST_F(ConvertAndSet, WritesNothingAfterAFailedConversion) {
  const std::string start = task_.GetField(kStart);
  EXPECT_FALSE(ConvertAndSetField(task_, kStart, "31/1/1425", kKindGregorian));
  EXPECT_EQ(task_.GetField(kStart), start);
  EXPECT_EQ(Shown().size(), 1u);
}

TEST_F(ConvertAndSet, LetsARefusedWriteReachTheCaller) {
  // Given a field the host does not know, expect the host's failure to reach the caller.
  EXPECT_THROW(ConvertAndSetField(task_, 12345, "24/01/1425", kKindGregorian), host::HostError);
  EXPECT_TRUE(Shown().empty());
}

}  // namespace
}  // namespace lunavant::codec
