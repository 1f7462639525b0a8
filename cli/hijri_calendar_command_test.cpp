// SPDX-License-Identifier: MIT
// The Hijri calendar's corrections as a user meets them: a file in the configuration folder
// moves a month's start for every command, `hijri-calendar` says so, `verify` lists the cells it
// changes, and taking the file away gives the table's dates back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "cli/exit_status.h"
#include "tests/support/cli_fixture.h"

namespace lunavant::cli {
namespace {

using test_support::CliOutcome;
using test_support::WriteWholeFile;

constexpr const char* kSettings = "--short-date dd/MM/yyyy --date-separator / ";

// The test runs see the user's places, as a user's commands do, not the test suite's
// ORBELUNE_CORRECTIONS, which keeps every other test on the built-in table.
class HijriCalendarCommand : public test_support::CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    if (const char* value = std::getenv("ORBELUNE_CORRECTIONS")) saved_ = value;
    unsetenv("ORBELUNE_CORRECTIONS");
    std::filesystem::create_directories(UserFile().parent_path());
  }
  void TearDown() override {
    if (saved_) setenv("ORBELUNE_CORRECTIONS", saved_->c_str(), 1);
    CliTest::TearDown();
  }
  std::filesystem::path UserFile() const {
    return dir_ / "config" / "orbelune" / "hijri-corrections.txt";
  }

 private:
  std::optional<std::string> saved_;
};

TEST_F(HijriCalendarCommand, AFileThatStartsShawwalADayLaterMovesItsDaysUntilItIsTakenAway) {
  // Given the user's corrections start Shawwal 1446 a day later, expect 30 March 2025 to read
  // 30 Ramadan both ways, hijri-calendar to name the file and the two months it changes, verify
  // to mark the sample's Shawwal cells; without the file, the table's dates again.
  WriteWholeFile(UserFile(),
                 "# Announced on sighting\n"
                 "1446-10 | starts 2025-03-31 | Supreme Court, 29 March 2025\n");
  EXPECT_EQ(Run(std::string(kSettings) + "hijri 'Sun 30/03/25'").out, "30/09/1446\n");
  EXPECT_EQ(Run(std::string(kSettings) + "hijri 'Mon 31/03/25'").out, "01/10/1446\n");
  EXPECT_EQ(Run(std::string(kSettings) + "hijri 'Tue 29/04/25'").out, "01/11/1446\n");
  EXPECT_EQ(Run(std::string(kSettings) + "gregorian 30/09/1446").out, "Sun 30/03/25\n");

  CliOutcome run = Run("hijri-calendar");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.out.find("corrections: " + UserFile().string() +
                         ", 1 line\n"
                         "line 2: 1446-10 starts 2025-03-31 | Supreme Court, 29 March 2025\n"
                         "changed: 1446-09 2025-03-01 30 days (table 2025-03-01 29 days)\n"
                         "changed: 1446-10 2025-03-31 29 days (table 2025-03-30 30 days)\n"),
            std::string::npos)
      << run.out;

  run = Run(std::string(kSettings) + "verify plan.xml");
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_NE(run.out.find(" 7  Concept design            HijriFinish  15/10/1446  14/10/1446  "
                         "corrected"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("stale"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("5 of them lie in a month that the Hijri calendar's corrections change"),
            std::string::npos)
      << run.out;

  std::filesystem::remove(UserFile());
  EXPECT_EQ(Run(std::string(kSettings) + "hijri 'Sun 30/03/25'").out, "01/10/1446\n");
  run = Run(std::string(kSettings) + "gregorian 30/09/1446");
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(Run(std::string(kSettings) + "verify plan.xml").status, kExitOk);
}

TEST_F(HijriCalendarCommand, ARefusedFileLeavesTheTableInForceAndCheckSaysWhichLine) {
  // Given a user's file whose second correction leaves a day between two months, expect the
  // table's dates, hijri-calendar and check to name the line and the reason, status 1; a good
  // file checked is not put in force.
  WriteWholeFile(UserFile(), "1446-09 | 30 days | announced\n1446-10 | starts 2025-04-01 | x\n");
  EXPECT_EQ(Run(std::string(kSettings) + "hijri 'Sun 30/03/25'").out, "01/10/1446\n");
  const std::string reason =
      "line 2: 1446-10 starts 2025-04-01, but 1446-09 ends on 2025-03-30 (line 1): a gap of 1 "
      "day\n";
  CliOutcome run = Run("hijri-calendar");
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_NE(run.out.find("corrections: " + UserFile().string() +
                         " refused, the built-in table is in force: " + reason),
            std::string::npos)
      << run.out;

  WriteWholeFile(dir_ / "next.txt", "1446-10 | 28 days | x\n");
  run = Run("hijri-calendar check next.txt");
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_NE(run.out.find("corrections: next.txt refused, the built-in table would stay: line 1: "
                         "a month of 28 days; a month has 29 or 30\n"),
            std::string::npos)
      << run.out;

  std::filesystem::remove(UserFile());
  WriteWholeFile(dir_ / "next.txt", "1446-10 | starts 2025-03-31 | announced\n");
  run = Run("hijri-calendar check next.txt");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.out.find("corrections: next.txt, 1 line, checked, not in force\n"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(Run(std::string(kSettings) + "hijri 'Sun 30/03/25'").out, "01/10/1446\n");
  EXPECT_EQ(Run("hijri-calendar check").status, kExitUsage);
}

}  // namespace
}  // namespace lunavant::cli
