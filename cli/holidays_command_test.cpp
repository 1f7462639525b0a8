// SPDX-License-Identifier: MIT
// `lunavant holidays` run as a user runs it, on a copy of the bundled sample, with its own
// add-in registry.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/cli_fixture.h"

namespace lunavant::cli {
namespace {

using test_support::CliOutcome;
using test_support::ReadWholeFile;
using test_support::WriteWholeFile;

class HolidaysCommand : public test_support::CliTest {};

TEST_F(HolidaysCommand, DryRunListsThenApplyMovesWorkAndASecondRunChangesNothing) {
  // Given the sample, expect --dry-run to list each holiday with its Hijri and Gregorian days and
  // save nothing, the run to save them and move tasks (their Hijri texts following), and a
  // second run to add nothing and leave the file as it is.
  const std::string original = ReadWholeFile(sample_);
  CliOutcome dry = Run("holidays plan.xml --set sa --years 1446-1449 --dry-run");
  EXPECT_EQ(dry.status, 0) << dry.err;
  EXPECT_EQ(ReadWholeFile(sample_), original);
  // The sample keeps 30 and 31 March and 1 April 2025 off; the ministry's four days end on the 2nd.
  EXPECT_NE(dry.out.find("Eid al-Fitr 1446   1446-10-01 to 1446-10-04  Sun 2025-03-30 to Wed "
                         "2025-04-02  would be added on 2025-04-02 (its other days are "
                         "exceptions already)"),
            std::string::npos)
      << dry.out;
  EXPECT_NE(dry.out.find("Eid al-Adha 1448   1448-12-09 to 1448-12-12  Sat 2027-05-15 to Tue "
                         "2027-05-18  would be added\n"),
            std::string::npos);
  EXPECT_NE(dry.err.find("plan.xml: 13 holidays would be added; 17 tasks would finish on another "
                         "day\nplan.xml: not saved (--dry-run)\n"),
            std::string::npos)
      << dry.err;

  CliOutcome applied = Run("holidays plan.xml --set sa --years 1446-1449");
  EXPECT_EQ(applied.status, 0) << applied.err;
  EXPECT_EQ(applied.err, "plan.xml: 13 holidays added; 17 tasks finish on another day\n");
  const std::string saved = ReadWholeFile(sample_);
  EXPECT_NE(saved, original);
  EXPECT_NE(saved.find("<Name>Eid al-Fitr 1446</Name>"), std::string::npos);
  CliOutcome verify = Run("verify plan.xml");
  EXPECT_EQ(verify.status, 0) << verify.out << verify.err;

  CliOutcome again = Run("holidays plan.xml --set sa --years 1446-1449 --json");
  EXPECT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(again.err, "plan.xml: 0 holidays added\n");
  EXPECT_EQ(again.out.find("\"status\": \"add\""), std::string::npos);
  EXPECT_NE(again.out.find("{\"name\": \"Eid al-Fitr 1449\", \"rule\": \"Eid al-Fitr\", "
                           "\"hijri_first\": \"1449-10-01\", \"hijri_last\": \"1449-10-04\", "
                           "\"first\": \"2028-02-26\", \"last\": \"2028-02-29\", \"status\": "
                           "\"present\", \"spans\": []}"),
            std::string::npos)
      << again.out;
  EXPECT_EQ(ReadWholeFile(sample_), saved);
}

TEST_F(HolidaysCommand, AUsersSetFileIsReadAndBadChoicesAreUsageErrors) {
  // Given a set of the user's own, expect it applied; given years, a calendar or a set that cannot
  // be had, expect exit status 2, the reason, and the file untouched.
  WriteWholeFile(dir_ / "site.holidays",
                 "Site closure | gregorian 04-06 | 2 days\n"
                 "Site closure | 2025 from 2025-04-08 | 1 day  # moved this year\n");
  const std::string original = ReadWholeFile(sample_);
  CliOutcome own = Run("holidays plan.xml --set ./site.holidays --years 1446 --calendar standard");
  EXPECT_EQ(own.status, 0) << own.err;
  EXPECT_NE(own.out.find("Site closure 2025  1446-10-10  Tue 2025-04-08"), std::string::npos)
      << own.out;
  const std::string saved = ReadWholeFile(sample_);

  const auto refused = [&](const std::string& arguments, const std::string& message) {
    CliOutcome run = Run(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "lunavant: " + message) << arguments;
    EXPECT_EQ(ReadWholeFile(sample_), saved);
  };
  refused("holidays plan.xml --set sa --years 1447-1501",
          "Hijri years 1447-1501 are outside the range holidays can be dated in (1405 to 1500: "
          "the converter's Umm al-Qura table)");
  refused("holidays plan.xml --set sa --years 1447-",
          "--years \"1447-\" is not a Hijri year or a range of them, such as 1447-1450");
  refused("holidays plan.xml --set sa --years 1447 --calendar Night",
          "plan.xml: The project has no calendar \"Night\" (it has: Standard)");
  refused("holidays plan.xml --set nowhere --years 1447",
          "no holiday set \"nowhere\" (shipped: ae, bh, eg, jo, kw, om, qa, sa; or give a path to "
          "a .holidays file)");
  WriteWholeFile(dir_ / "bad.holidays", "Eid | hijri 09-29\n");
  refused("holidays plan.xml --set bad.holidays --years 1447",
          "bad.holidays:1: the holiday needs a length");
  EXPECT_NE(original, saved);
}

}  // namespace
}  // namespace lunavant::cli
