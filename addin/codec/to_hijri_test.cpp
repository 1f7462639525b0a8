// SPDX-License-Identifier: MIT
#include "addin/codec/to_hijri.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "addin/codec/date_text.h"
#include "addin/codec/field_conversion.h"
#include "addin/codec/messages.h"
#include "addin/codec/to_gregorian.h"
#include "tests/support/addin_fixture.h"

namespace lunavant::codec {
namespace {

class ToHijri : public test_support::AddinTest {
 protected:
  test_support::FilledCatalogues catalogues_;
};

TEST_F(ToHijri, ConvertsTheDateOfAWeekdayOrATimeOfDay) {
  // Given 15 March 2004 (24 Muharram 1425) as the host hands it over, expect the same Hijri text.
  EXPECT_EQ(ToHijriText("Mon 15/03/04"), "24/01/1425");
  EXPECT_EQ(ToHijriText("15/03/04 08:00"), "24/01/1425");
  EXPECT_EQ(ToHijriText("Mon 15/03/2004"), "24/01/1425");
  EXPECT_EQ(ToHijriText(host::DateTime{2004, 3, 15, 8, 0, 0}), "24/01/1425");
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ToHijri, ConvertsADateTypedWithoutAWeekday) {
  // Note: a date without a blank, and a date-and-time at midnight, are converted like the date
  // piece of "Mon 15/03/04", since the host hands over exactly such texts.
  EXPECT_EQ(ToHijriText("15/03/04"), "24/01/1425");
  EXPECT_EQ(ToHijriText(host::DateTime{2004, 3, 15, 0, 0, 0}), "24/01/1425");
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ToHijri, PassesNAAndTheEmptyTextThroughSilently) {
  EXPECT_EQ(ToHijriText("NA"), "NA");
  EXPECT_EQ(ToHijriText(""), "");
  EXPECT_EQ(ToHijriText(host::Value()), "");
  EXPECT_TRUE(Shown().empty());
}

TEST_F(ToHijri, RefusesANumberWithItsDecimalText) {
  EXPECT_EQ(ToHijriText(2004.0), "");
  EXPECT_EQ(ToHijriText(3.5), "");
  EXPECT_EQ(ShownTexts(),
            (std::vector<std::string>{ErrorBox(103, "Unrecongizable date value2004"),
                                      ErrorBox(103, "Unrecongizable date value3.5")}));
}

TEST_F(ToHijri, RefusesTextsWithoutABlankThatAreNoDate) {
  // Given na, 2004 and a bare time, expect one box each with 103 and the value glued to the words.
  for (const char* value : {"na", "2004", "08:00", "Na"}) {
    EXPECT_EQ(ToHijriText(value), "") << value;
  }
  EXPECT_EQ(ShownTexts(), (std::vector<std::string>{ErrorBox(103, "Unrecongizable date valuena"),
                                                    ErrorBox(103, "Unrecongizable date value2004"),
                                                    ErrorBox(103, "Unrecongizable date value08:00"),
                                                    ErrorBox(103, "Unrecongizable date valueNa")}));
  EXPECT_EQ(Shown()[0].title, "Lunavant");
  EXPECT_EQ(Shown()[0].style, host::MsgBoxStyle::kOkExclamation);
}

TEST_F(ToHijri, ReportsAPieceThatIsNoDateAsThePlatformsFailure) {
  EXPECT_EQ(ToHijriText("Mon x"), "");
  EXPECT_EQ(ToHijriText("Mon  15/03/04"), "");  // two blanks: the second piece is empty
  EXPECT_EQ(ToHijriText("08:00 09:00"), "");    // two times and no date
  ASSERT_EQ(Shown().size(), 3u);
  for (const workbench::ShownMessage& shown : Shown()) {
    EXPECT_NE(shown.prompt.find("Error Number : 13\r\n"), std::string::npos) << shown.prompt;
  }
}

TEST_F(ToHijri, KeepsDayAndMonthApartInAMonthFirstPattern) {
  // Given M/d/yyyy, expect 3/5/04 to be 5 March 2004 (14 Muharram), not 3 May (14 Rabi I).
  PinRegionalSettings("M/d/yyyy", "/");
  EXPECT_EQ(ToHijriText("Fri 3/5/04"), "14/01/1425");
  EXPECT_EQ(ToHijriText("Mon 3/15/04"), "24/01/1425");
  PinRegionalSettings("d/M/yyyy", "/");
  EXPECT_EQ(ToHijriText("Mon 3/5/04"), "14/03/1425");
}

TEST_F(ToHijri, WritesTheHostsSeparatorAndPadsDayAndMonth) {
  PinRegionalSettings("dd-MM-yyyy", "-");
  EXPECT_EQ(ToHijriText("Mon 15-03-04"), "24-01-1425");
  PinRegionalSettings("dd.MM.yyyy", ".");
  EXPECT_EQ(ToHijriText("Fri 05.03.04"), "14.01.1425");
  EXPECT_EQ(ToHijriText("Tue 20.04.04"), "01.03.1425");
}

TEST_F(ToHijri, ConvertsBothEndsOfTheAcceptedRange) {
  // Note: the host shows years outside 1930..2029 in full, as two digits would read back wrong.
  EXPECT_EQ(ToHijriText("Sun 01/01/84"), "28/03/1404");
  EXPECT_EQ(ToHijriText("Sat 01/01/2050"), "07/04/1472");
  EXPECT_EQ(ToHijriText("Mon 02/12/24"), "01/06/1446");
}

class ToHijriWithoutConverter : public test_support::AddinTest {
 protected:
  ToHijriWithoutConverter() : AddinTest(test_support::Converter::kMissing) {}
  test_support::FilledCatalogues catalogues_;
};

TEST_F(ToHijriWithoutConverter, ReportsTheMissingLibraryOncePerConversion) {
  // Given no converter anywhere, expect each conversion to show one box with 53 and give nothing.
  EXPECT_EQ(ToHijriText("Mon 15/03/04"), "");
  EXPECT_EQ(ToHijriText("Mon 15/03/04"), "");
  ASSERT_EQ(Shown().size(), 2u);
  EXPECT_NE(Shown()[1].prompt.find("Error Number : 53\r\n"), std::string::npos);
  // A library that appears meanwhile is found by the next conversion.
  app_.Libraries().AddSearchFolderFirst(LUNAVANT_CONVERTER_DIR);
  EXPECT_EQ(ToHijriText("Mon 15/03/04"), "24/01/1425");
  EXPECT_EQ(Shown().size(), 2u);
}

TEST_F(ToHijriWithoutConverter, WritesNothingIntoTheTaskWhenTheLibraryIsMissing) {
  workbench::Task& task = Plan().AddTask("Dig", 2).Build().AddTask("Pour", 1);
  EXPECT_FALSE(ConvertAndSetField(task, test_support::kText1, "Mon 15/03/04", kKindHijri));
  EXPECT_EQ(task.GetField(test_support::kText1), "");
  EXPECT_EQ(Shown().size(), 1u);
}

// A folder holding `library` under the converter's file name.
class ConverterStandIn {
 public:
  explicit ConverterStandIn(const std::function<void(const std::filesystem::path&)>& make)
      : folder_(std::filesystem::temp_directory_path() /
                ("lunavant-converter-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(folder_);
    make(folder_ / "liborbelune.so");
  }
  ~ConverterStandIn() { std::filesystem::remove_all(folder_); }
  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
};

TEST_F(ToHijriWithoutConverter, ReportsABrokenOrIncompleteLibraryWithThePlatformsNumber) {
  // Given a library of that name without the exports, expect 453; given a file that is no
  // library at all, expect 48. Each conversion shows one box and gives nothing.
  {
    ConverterStandIn incomplete([](const std::filesystem::path& target) {
      std::filesystem::copy_file(LUNAVANT_INCOMPLETE_LIBRARY, target);
    });
    app_.Libraries().AddSearchFolderFirst(incomplete.folder());
    EXPECT_EQ(ToHijriText("Mon 15/03/04"), "");
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_NE(Shown()[0].prompt.find("Error Number : 453\r\n"), std::string::npos);
    EXPECT_NE(Shown()[0].prompt.find("G2HA"), std::string::npos);
  }
  {
    ConverterStandIn garbage(
        [](const std::filesystem::path& target) { std::ofstream(target) << "not a library"; });
    app_.Libraries().AddSearchFolderFirst(garbage.folder());
    EXPECT_EQ(ToHijriText("Mon 15/03/04"), "");
    ASSERT_EQ(Shown().size(), 2u);
    EXPECT_NE(Shown()[1].prompt.find("Error Number : 48\r\n"), std::string::npos);
  }
}

TEST_F(ToHijriWithoutConverter, ALibraryLackingOnlyH2GAStillConvertsToHijri) {
  // Given a library that exports G2HA but not H2GA, expect Hijri text from it, and each typed
  // Hijri date refused with 453 naming H2GA, without spoiling the Hijri direction.
  ConverterStandIn partial([](const std::filesystem::path& target) {
    std::filesystem::copy_file(LUNAVANT_G2HA_ONLY_LIBRARY, target);
  });
  app_.Libraries().AddSearchFolderFirst(partial.folder());
  EXPECT_EQ(ToGregorianText("24/01/1425"), "");
  EXPECT_EQ(ToHijriText("Mon 15/03/04"), "24/01/1425");
  EXPECT_EQ(ToGregorianText("24/01/1425"), "");
  EXPECT_EQ(ToHijriText("Mon 15/03/04"), "24/01/1425");
  ASSERT_EQ(Shown().size(), 2u);
  for (const workbench::ShownMessage& shown : Shown()) {
    EXPECT_NE(shown.prompt.find("Error Number : 453\r\n"), std::string::npos);
    EXPECT_NE(shown.prompt.find("H2GA"), std::string::npos);
  }
}

}  // namespace
}  // namespace lunavant::codec
