// SPDX-License-Identifier: MIT
// `lunavant calendar` and `lunavant holidays --remove` run as a user runs them, on copies of the
// bundled sample and of a real file with recurring exceptions, with their own add-in registry.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/cli_fixture.h"

namespace lunavant::cli {
namespace {

using test_support::CliOutcome;
using test_support::ReadWholeFile;

class CalendarCommand : public test_support::CliTest {
 protected:
  static std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
      ++count;
    }
    return count;
  }
};

TEST_F(CalendarCommand, SetsTheWeekAndHoursAddsAndRemovesExceptionsAndReschedules) {
  // Given the sample (Sunday to Thursday, 8 to 17 with an hour at noon), expect --dry-run to save
  // nothing, the hours 8 to 16 to be saved and moved into the schedule, a named exception to be
  // added and removed again with its dated days, and refusals to be usage errors that leave the
  // file as it is.
  const std::string original = ReadWholeFile(sample_);
  CliOutcome dry = Run("calendar set plan.xml --days Sun-Thu --hours 08:00-16:00 --dry-run");
  EXPECT_EQ(dry.status, 0) << dry.err;
  EXPECT_EQ(ReadWholeFile(sample_), original);

  CliOutcome set = Run("calendar set plan.xml --days Sun-Thu --hours 08:00-16:00");
  ASSERT_EQ(set.status, 0) << set.err;
  CliOutcome show = Run("calendar show plan.xml");
  EXPECT_EQ(show.status, 0) << show.err;
  EXPECT_NE(show.out.find("Sun  08:00-16:00\nMon  08:00-16:00\nTue  08:00-16:00\nWed  "
                          "08:00-16:00\nThu  08:00-16:00\nFri  day off\nSat  day off\n"),
            std::string::npos)
      << show.out;
  // Task 1, eight days from Sunday 2 March 2025, now ends at 16:00.
  EXPECT_NE(ReadWholeFile(sample_).find("<Finish>2025-03-11T16:00:00</Finish>"), std::string::npos);

  const std::string before_exception = ReadWholeFile(sample_);
  CliOutcome added =
      Run("calendar add-exception plan.xml --name 'Site closed' --from 2025-03-04 --to 2025-03-05");
  ASSERT_EQ(added.status, 0) << added.err;
  const std::string with_exception = ReadWholeFile(sample_);
  EXPECT_EQ(Count(with_exception, "<Name>Site closed</Name>"), 1u);
  EXPECT_EQ(Count(with_exception, "<FromDate>2025-03-04T00:00:00</FromDate>"), 2u);  // both forms
  CliOutcome overlapping =
      Run("calendar add-exception plan.xml --name Inventory --from 2025-03-05 --weekly Wed "
          "--to 2025-04-30");
  EXPECT_EQ(overlapping.status, 2);
  EXPECT_EQ(overlapping.err.substr(0, overlapping.err.find('\n')),
            "lunavant: plan.xml: Another exception of the calendar holds 2025-03-05 already: "
            "exceptions cannot overlap.");
  EXPECT_EQ(ReadWholeFile(sample_), with_exception);

  CliOutcome removed = Run("calendar remove-exception plan.xml --name 'Site closed'");
  ASSERT_EQ(removed.status, 0) << removed.err;
  EXPECT_EQ(ReadWholeFile(sample_).find("2025-03-04T00:00:00"), std::string::npos);
  CliOutcome again = Run("calendar remove-exception plan.xml --name 'Site closed'");
  EXPECT_EQ(again.status, 2);
  EXPECT_EQ(again.err.substr(0, again.err.find('\n')),
            "lunavant: plan.xml: the calendar has no exception \"Site closed\"");
  // The calendar is as before the exception, in the file as on the screen.
  const auto calendars = [](const std::string& text) {
    return text.substr(text.find("<Calendars>"),
                       text.find("</Calendars>") - text.find("<Calendars>"));
  };
  EXPECT_EQ(calendars(ReadWholeFile(sample_)), calendars(before_exception));

  for (const auto& [arguments, message] :
       std::initializer_list<std::pair<const char*, const char*>>{
           {"calendar set plan.xml --days Fri-Sat --hours 17-9",
            "--hours \"17-9\" is not working hours such as 08:00-16:00 or "
            "08:00-12:00,13:00-17:00"},
           {"calendar set plan.xml --days Sunday",
            "--days \"Sunday\" is not weekdays such as "
            "Sun-Thu or Fri,Sat"},
           {"calendar set plan.xml --weekday Sun --calendar Night",
            "plan.xml: The project has no calendar \"Night\" (it has: Standard)."},
           {"calendar add-exception plan.xml --name X --from 2025-02-30",
            "--from \"2025-02-30\" is not a day such as 2026-03-19"}}) {
    const std::string saved = ReadWholeFile(sample_);
    CliOutcome run = Run(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), std::string("lunavant: ") + message)
        << arguments;
    EXPECT_EQ(ReadWholeFile(sample_), saved) << arguments;
  }
}

TEST_F(CalendarCommand, ATaskWorksOnACalendarOfItsOwnUntilGivenBackTheProjects) {
  // Given a copy of the project's calendar that works Saturday too, expect task 4 given it to
  // finish a day earlier and its file to name the calendar, and the task given back the project's
  // calendar to finish as before, its file saying "none" (-1).
  ASSERT_EQ(Run("calendar new plan.xml --name 'Site crew'").status, 0);
  ASSERT_EQ(Run("calendar set plan.xml --calendar 'site crew' --days Sat-Thu").status, 0);
  const auto finish_of_4 = [&] {
    const CliOutcome show = Run("show plan.xml --tasks 4");
    return show.out.substr(show.out.rfind('\n', show.out.size() - 2) + 1);
  };
  const std::string before = finish_of_4();
  EXPECT_NE(before.find("Tue 03/11/25"), std::string::npos) << before;
  CliOutcome own = Run("calendar task plan.xml --task 4 --calendar 'Site crew'");
  ASSERT_EQ(own.status, 0) << own.err;
  EXPECT_NE(finish_of_4().find("Mon 03/10/25"), std::string::npos) << finish_of_4();
  EXPECT_NE(ReadWholeFile(sample_).find("<CalendarUID>2</CalendarUID>"), std::string::npos);
  ASSERT_EQ(Run("calendar task plan.xml --task 4").status, 0);
  EXPECT_EQ(finish_of_4(), before);
  EXPECT_NE(ReadWholeFile(sample_).find("<CalendarUID>-1</CalendarUID>"), std::string::npos);
  CliOutcome missing = Run("calendar task plan.xml --task 400 --calendar Standard");
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.err.substr(0, missing.err.find('\n')),
            "lunavant: plan.xml: there is no task 400");
}

TEST_F(CalendarCommand, HolidaysOfTwoCountriesAddedAndOneTakenOffAgain) {
  // Given the sample, expect the Saudi and then the UAE holidays of 1447-1448 to be added, and
  // the UAE ones taken off again leaving exactly the Saudi ones (the file as after the Saudi run),
  // a second removal to change nothing, and --list to show what the calendar holds.
  ASSERT_EQ(Run("holidays plan.xml --set sa --years 1447-1448").status, 0);
  const std::string saudi = ReadWholeFile(sample_);
  CliOutcome uae = Run("holidays plan.xml --set ae --years 1447-1448");
  ASSERT_EQ(uae.status, 0) << uae.err;
  // The UAE's Eid al-Fitr 1447 has no day left: the sample's own days off and the Saudi holiday
  // hold them all.
  EXPECT_NE(uae.out.find("UAE Eid al-Fitr 1447         1447-09-29 to 1447-10-03  Wed 2026-03-18 "
                         "to Sun 2026-03-22  not added: its days are exceptions already"),
            std::string::npos)
      << uae.out;
  CliOutcome listed = Run("holidays plan.xml --list");
  EXPECT_EQ(listed.status, 0) << listed.err;
  EXPECT_NE(listed.out.find("UAE National Day 2026"), std::string::npos) << listed.out;
  EXPECT_NE(listed.out.find("National Day 2026"), std::string::npos);

  CliOutcome off = Run("holidays plan.xml --set ae --years 1447-1448 --remove");
  ASSERT_EQ(off.status, 0) << off.err;
  EXPECT_NE(off.out.find("UAE Eid al-Fitr 1447         1447-09-29 to 1447-10-03  Wed 2026-03-18 "
                         "to Sun 2026-03-22  not in the calendar"),
            std::string::npos)
      << off.out;
  CliOutcome saudi_listed = Run("holidays plan.xml --list --json");
  CliOutcome expected_listing = [&] {
    const std::string now = ReadWholeFile(sample_);
    test_support::WriteWholeFile(sample_, saudi);
    CliOutcome run = Run("holidays plan.xml --list --json");
    test_support::WriteWholeFile(sample_, now);
    return run;
  }();
  EXPECT_EQ(saudi_listed.out, expected_listing.out);
  const std::string once = ReadWholeFile(sample_);
  CliOutcome twice = Run("holidays plan.xml --set ae --years 1447-1448 --remove");
  EXPECT_EQ(twice.status, 0) << twice.err;
  EXPECT_EQ(twice.err, "plan.xml: 0 holidays removed\n");
  EXPECT_EQ(ReadWholeFile(sample_), once);
}

TEST_F(CalendarCommand, ARealFilesRecurringExceptionsAreListedAndRemovedWithTheirDays) {
  // Given a file the desktop scheduler wrote with recurring exceptions, expect show to list them
  // with their repetition, and removing one to take its dated days too, the rest kept.
  const std::filesystem::path real =
      std::filesystem::path(LUNAVANT_SHARED_DATA) /
      "mspdi/samples/calendar-recurring-exceptions-project2016-mspdi.xml";
  ASSERT_TRUE(std::filesystem::exists(real)) << real;
  std::filesystem::copy_file(real, dir_ / "real.xml");
  CliOutcome show = Run("calendar show real.xml");
  ASSERT_EQ(show.status, 0) << show.err;
  EXPECT_NE(show.out.find("Weekly 2 Tuesday    2001-01-01 to 2001-02-13  Every 2 weeks on Tue "),
            std::string::npos)
      << show.out;
  // Note: its span starts on 1 January; the file's Month (0-based) and MonthDay say 1 February.
  EXPECT_NE(show.out.find("Yearly Absolute 1   2005-02-01 to 2007-02-01  Yearly on 1 Feb "),
            std::string::npos);
  const std::string before = ReadWholeFile(dir_ / "real.xml");
  ASSERT_EQ(Run("calendar remove-exception real.xml --name 'Weekly 2 Tuesday'").status, 0);
  const std::string after = ReadWholeFile(dir_ / "real.xml");
  EXPECT_EQ(after.find("<Name>Weekly 2 Tuesday</Name>"), std::string::npos);
  // Its four Tuesdays, one dated day each for the 2003 form, are gone; the others stay.
  EXPECT_EQ(Count(before, "<FromDate>2001-01-16T00:00:00</FromDate>"), 1u);
  EXPECT_EQ(Count(after, "<FromDate>2001-01-16T00:00:00</FromDate>"), 0u);
  EXPECT_NE(after.find("<Name>Weekly 3 Wednesday</Name>"), std::string::npos);
  EXPECT_EQ(Count(after, "<Exception>") + 1, Count(before, "<Exception>"));
}

}  // namespace
}  // namespace lunavant::cli
