// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "workbench/platform/regional_settings.h"

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

// Runs the built program through the shell, with `environment` ("LC_ALL=...") set for it;
// standard error is folded into the output.
Outcome RunProgram(const std::string& arguments, const std::string& environment = "") {
  const std::string command =
      environment + " " + std::string(LUNAVANT_CLI_PATH) + " " + arguments + " 2>&1";
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

TEST(CommandLine, VersionNamesTheProgramAndTheHijriCalendarInForceWithoutACommand) {
  const Outcome run = RunProgram("--version");
  EXPECT_EQ(run.status, kExitOk) << run.out;
  EXPECT_EQ(run.out.rfind("lunavant ", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("Umm al-Qura table 1356-01 to 1500-12"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("corrections: none"), std::string::npos) << run.out;
}

TEST(CommandLine, ConvertsAHostDateToHijriText) {
  // Given 15 March 2004 as the host shows it, expect 24 Muharram 1425 with the separator given.
  const Outcome run = RunInProcess(
      {"hijri", "Mon 15/03/04", "--short-date", "dd/MM/yyyy", "--date-separator", "/"});
  EXPECT_EQ(run.status, kExitOk);
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
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_EQ(run.out, "Sat 24/04/04\n");
  run = RunInProcess(
      {"gregorian", "05/03/1425", "--short-date", "M/d/yyyy", "--date-separator", "/"});
  EXPECT_EQ(run.out, "Sat 4/24/04\n");
}

TEST(CommandLine, ReportsAFailedConversionOnStandardErrorWithStatusOne) {
  const Outcome run = RunInProcess(
      {"gregorian", "15-3-1425", "--short-date", "dd/MM/yyyy", "--date-separator", "/"});
  EXPECT_EQ(run.status, kExitRefused);
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
  EXPECT_EQ(empty.status, kExitOk);
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

// The date separator the workbench takes from `locale`, as the program will see it.
std::string SeparatorOf(const std::string& locale) {
  const char* saved = std::getenv("LC_ALL");
  const std::string restore = saved != nullptr ? saved : "";
  setenv("LC_ALL", locale.c_str(), 1);
  const std::string separator = workbench::PosixRegionalSettings().DateSeparator();
  if (saved != nullptr) {
    setenv("LC_ALL", restore.c_str(), 1);
  } else {
    unsetenv("LC_ALL");
  }
  return separator;
}

TEST(CommandLine, TypedHijriComesBackUnderTheUsersLocale) {
  // Given LC_ALL set to Arabic and other locales whose dates once failed, as a new user sets it,
  // expect 05/03/1425 in the locale's separator to print Saturday 24 April 2004, and that text fed
  // back to print what was typed; with the settings overridden, expect the override to win.
  for (const char* locale :
       {"ar_SA.UTF-8", "ar_EG.UTF-8", "ar_AE.UTF-8", "ar_JO.UTF-8", "ar_MA.UTF-8", "fr_CH.UTF-8",
        "sl_SI.UTF-8", "sr_RS.UTF-8", "lv_LV.UTF-8", "nb_NO.UTF-8", "is_IS.UTF-8", "ja_JP.UTF-8",
        "zh_CN.UTF-8", "ko_KR.UTF-8", "ce_RU.UTF-8", "en_HK.UTF-8", "en_PH.UTF-8", "ug_CN.UTF-8"}) {
    const std::string sep = SeparatorOf(locale);
    const std::string environment = std::string("LC_ALL=") + locale;
    const std::string typed = "05" + sep + "03" + sep + "1425";
    const Outcome gregorian = RunProgram("gregorian '" + typed + "'", environment);
    EXPECT_EQ(gregorian.status, 0) << locale << ": " << gregorian.out;
    EXPECT_EQ(gregorian.out.substr(0, 4), "Sat ") << locale << ": " << gregorian.out;
    const std::string shown = gregorian.out.substr(0, gregorian.out.find('\n'));
    const Outcome hijri = RunProgram("hijri '" + shown + "'", environment);
    EXPECT_EQ(hijri.status, 0) << locale << ": " << hijri.out;
    EXPECT_EQ(hijri.out, typed + "\n") << locale << " showed " << shown;
  }
  const Outcome overridden = RunProgram(
      "--short-date dd-MM-yyyy --date-separator - gregorian 05-03-1425", "LC_ALL=ar_SA.UTF-8");
  EXPECT_EQ(overridden.out, "Sat 24-04-04\n");
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
