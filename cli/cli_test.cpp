// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace lunavant::cli {
namespace {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the command line in this process, with the converter from the build tree.
Outcome RunInProcess(std::vector<const char*> args) {
  args.insert(args.begin(), "lunavant");
  std::ostringstream out;
  std::ostringstream err;
  Outcome run;
  run.status =
      RunLunavant(static_cast<int>(args.size()), args.data(), out, err, LUNAVANT_CONVERTER_DIR);
  run.out = out.str();
  run.err = err.str();
  return run;
}

// Runs the built program through the shell; standard error is folded into the output.
Outcome RunProgram(const std::string& arguments) {
  const std::string command = std::string(LUNAVANT_CLI_PATH) + " " + arguments + " 2>&1";
  Outcome run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer{};
  while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) {
    run.out += buffer.data();
  }
  const int wait_status = pclose(pipe);
  run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
  return run;
}

TEST(CommandLine, ConvertsAHostDateToHijriText) {
  // Given 15 March 2004 as the host shows it, expect 24 Muharram 1425 with the separator given.
  const Outcome run = RunInProcess(
      {"hijri", "Mon 15/03/04", "--short-date", "dd/MM/yyyy", "--date-separator", "/"});
  EXPECT_EQ(run.status, kExitPrinted);
  EXPECT_EQ(run.out, "24/01/1425\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(
      RunInProcess({"--date-separator", "-", "--short-date", "dd/MM/yyyy", "hijri", "Mon 15/03/04"})
          .out,
      "24-01-1425\n");
}

TEST(CommandLine, ConvertsTypedHijriTextToTheHostsGregorianText) {
  // Given 5 Rabi al-Awwal 1425, expect Saturday 24 April 2004 in the pattern, two-digit year.
  Outcome run = RunInProcess(
      {"gregorian", "05/03/1425", "--short-date", "dd/MM/yyyy", "--date-separator", "/"});
  EXPECT_EQ(run.status, kExitPrinted);
  EXPECT_EQ(run.out, "Sat 24/04/04\n");
  run = RunInProcess(
      {"gregorian", "05/03/1425", "--short-date", "M/d/yyyy", "--date-separator", "/"});
  EXPECT_EQ(run.out, "Sat 4/24/04\n");
}

TEST(CommandLine, ReportsAFailedConversionOnStandardErrorWithStatusOne) {
  const Outcome run = RunInProcess(
      {"gregorian", "15-3-1425", "--short-date", "dd/MM/yyyy", "--date-separator", "/"});
  EXPECT_EQ(run.status, kExitConversionFailed);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err,
            "Lunavant\n"
            "Application : Lunavant\n"
            "Error Number : 104\n"
            "Error Description : Please use the current Date Separator specified in your regional "
            "settings \"/\" \n");
}

TEST(CommandLine, PassesNAAndTheEmptyTextThrough) {
  EXPECT_EQ(RunInProcess({"hijri", "NA"}).out, "NA\n");
  const Outcome empty = RunInProcess({"gregorian", ""});
  EXPECT_EQ(empty.status, kExitPrinted);
  EXPECT_EQ(empty.out, "\n");
}

TEST(CommandLine, RefusesBadUsageWithStatusTwo) {
  for (const std::vector<const char*>& args : {std::vector<const char*>{},
                                               {"hijri"},
                                               {"convert", "x"},
                                               {"hijri", "a", "b"},
                                               {"hijri", "x", "--short-date"}}) {
    const Outcome run = RunInProcess(args);
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("lunavant --help"), std::string::npos) << run.err;
  }
}

TEST(CommandLine, TheBuiltProgramFindsTheConverterBesideItself) {
  // Given the installed layout (program and converter in one folder), expect the conversion to
  // work without any path given, and --help to explain the exit statuses.
  Outcome run = RunProgram("hijri 'Mon 15/03/04' --short-date dd/MM/yyyy --date-separator /");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "24/01/1425\n");
  run = RunProgram("--help");
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("Exit status: 0"), std::string::npos);
  run = RunProgram("hijri 2004 --short-date dd/MM/yyyy --date-separator /");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("Error Description : Unrecongizable date value2004"), std::string::npos);
}

}  // namespace
}  // namespace lunavant::cli
