// SPDX-License-Identifier: MIT
// The built program driven as a user drives it, on copies of the bundled sample and of real
// project files, each run with its own add-in registry.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/text_grid.h"
#include "tests/support/cli_fixture.h"

namespace lunavant::cli {
namespace {

namespace fs = std::filesystem;
using test_support::CliOutcome;
using test_support::ReadWholeFile;
using test_support::WriteWholeFile;

constexpr const char* kSettings = "--short-date dd/MM/yyyy --date-separator / ";

std::string Replaced(std::string text, const std::string& after, const std::string& from,
                     const std::string& to) {
  const std::size_t anchor = text.find(after);
  const std::size_t at = text.find(from, anchor);
  if (anchor == std::string::npos || at == std::string::npos) return text;
  return text.replace(at, from.size(), to);
}

class CommandLineTest : public test_support::CliTest {};

TEST_F(CommandLineTest, ShowsTheBundledSampleWithItsHijriColumns) {
  // Given no file, expect the sample's current table with its Hijri columns, in a grid whose
  // rows line up, and the same cells as JSON.
  CliOutcome run = Run(std::string(kSettings) + "show --tasks 2-3");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(
      run.out,
      "ID  Task Name                           Duration     Start      HijriStart     Finish"
      "     HijriFinish  Predecessors  Resource Names\n"
      "--  ----------------------------------  --------  ------------  ----------  ------------"
      "  -----------  ------------  --------------\n"
      "2   Contract signed                       0 days  Sun 02/03/25  02/09/1446  Sun 02/03/25"
      "   02/09/1446\n"
      "3   Kick-off meeting with the landlord     1 day  Sun 02/03/25  02/09/1446  Sun 02/03/25"
      "   02/09/1446  2\n");
  run = Run(std::string(kSettings) + "show --tasks 3 --json");
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_NE(run.out.find("{\"title\": \"HijriStart\", \"field\": \"Text1\"}"), std::string::npos);
  EXPECT_NE(run.out.find("{\"id\": 3, \"cells\": [\"3\", \"\", \"Kick-off meeting with the "
                         "landlord\", \"1 day\", \"Sun 02/03/25\", \"02/09/1446\""),
            std::string::npos)
      << run.out;
  // Showing reads only: nothing was registered or written.
  EXPECT_FALSE(fs::exists(dir_ / "riyadh-office-fit-out.xml"));
}

TEST_F(CommandLineTest, AddsAHijriColumnThroughTheDialogAndSavesTheFile) {
  // Given the sample's Schedule table, expect the add to register the add-in on first use, pair
  // Late Finish with Text7 under the typed title, and save; --dry-run and -o leave the file.
  const std::string before = ReadWholeFile(sample_);
  CliOutcome run = Run(std::string(kSettings) +
                       "add plan.xml --table Schedule --date 'late finish' --text Text7 --dry-run");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.err, "plan.xml: not saved (--dry-run)\n");
  EXPECT_EQ(ReadWholeFile(sample_), before);
  EXPECT_NE(Registry().find("\"LoadBehavior\"=dword:00000003"), std::string::npos);

  run = Run(std::string(kSettings) +
            "add plan.xml --table Schedule --date 'Late Finish' --text Text7 --title 'LF (AH)' "
            "-o copy.xml");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(ReadWholeFile(sample_), before);
  const std::string saved = ReadWholeFile(dir_ / "copy.xml");
  EXPECT_NE(saved.find("<Alias>HijriLateFinish</Alias>"), std::string::npos);
  run = Run(std::string(kSettings) + "show copy.xml --tasks 2");
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_NE(run.out.find("Late Finish    LF (AH)"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Sun 02/03/25  02/09/1446"), std::string::npos) << run.out;
  EXPECT_EQ(Run(std::string(kSettings) + "verify copy.xml").status, kExitOk);

  run = Run(std::string(kSettings) + "add plan.xml --table Schedule");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(ReadWholeFile(sample_).find("<Alias>HijriLateStart</Alias>"), std::string::npos);
}

TEST_F(CommandLineTest, ARefusedAddShowsTheAddInsMessagesAndWritesNothing) {
  // Given adds the add-in refuses, expect its messages with their title, status 1 and the file
  // as it was.
  const std::string before = ReadWholeFile(sample_);
  // The Entry table, whose date columns are all paired: the add-in's message, no dialog.
  CliOutcome run = Run(std::string(kSettings) + "add plan.xml");
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_EQ(run.err,
            "Lunavant\n"
            "There are no Gregorian date fields in this table that have not been assigned Hijri "
            "Fields\n"
            "lunavant: plan.xml: no Hijri field was added; the file is unchanged. Choose a date "
            "field of the current table that has no Hijri field yet (--date) and a free text field "
            "(--text), or pick another table with --table.\n");
  // A date field the dialog does not offer: its message, then what it offered.
  run = Run(std::string(kSettings) + "add plan.xml --table Tracking --date Deadline --text Text3");
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_EQ(run.err.substr(0, run.err.find("  text fields")),
            "Lunavant\n"
            "The Gregorian field name you have sepcified is either invalid or is not available; "
            "please make sure you choose one of the date fields available in the list\n"
            "  date fields offered: Actual Start, Actual Finish\n");
  EXPECT_EQ(ReadWholeFile(sample_), before);
}

TEST_F(CommandLineTest, RemovesAHijriFieldOnlyWhenConfirmed) {
  // Given a removal, expect nothing removed until the confirmation is answered Yes.
  const std::string before = ReadWholeFile(sample_);
  // Standard input that is not a terminal and no --yes: the question is refused.
  CliOutcome run = Run(std::string(kSettings) + "remove plan.xml --field HijriFinish");
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_EQ(run.err,
            "Lunavant\n"
            "You are about to remove the Hijri field HijriFinish entirely from your active "
            "project, are you sure you want to continue?\n"
            "(not answered: standard input is not a terminal; pass --yes to answer Yes)\n"
            "lunavant: plan.xml: the removal was not confirmed; the file is unchanged. Standard "
            "input is not a terminal to answer on: pass --yes to confirm.\n");
  EXPECT_EQ(ReadWholeFile(sample_), before);

  run = Run(std::string(kSettings) + "remove plan.xml --field HijriFinish --yes");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  const std::string saved = ReadWholeFile(sample_);
  EXPECT_EQ(saved.find("HijriFinish"), std::string::npos);
  EXPECT_NE(saved.find("<Alias>HijriStart</Alias>"), std::string::npos);
  run = Run(std::string(kSettings) + "show plan.xml --tasks 1");
  EXPECT_EQ(run.out.find("HijriFinish"), std::string::npos);
  EXPECT_NE(run.out.find("HijriStart"), std::string::npos);
}

TEST_F(CommandLineTest, RemovesAHijriFieldNamedInOtherLetterCase) {
  // Given "hijristart" confirmed, expect HijriStart gone from the file and from the sheet, and
  // HijriFinish kept.
  const CliOutcome run = Run(std::string(kSettings) + "remove plan.xml --field hijristart --yes");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  const std::string saved = ReadWholeFile(sample_);
  EXPECT_EQ(saved.find("HijriStart"), std::string::npos);
  EXPECT_NE(saved.find("<Alias>HijriFinish</Alias>"), std::string::npos);
  const CliOutcome shown = Run(std::string(kSettings) + "show plan.xml --tasks 1");
  EXPECT_EQ(shown.out.find("HijriStart"), std::string::npos);
  EXPECT_NE(shown.out.find("HijriFinish"), std::string::npos);
}

TEST_F(CommandLineTest, RemoveAsksOnTheTerminal) {
  // Given a terminal that answers "n", then "y": the first leaves the file, the second removes.
  setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
  const std::string before = ReadWholeFile(sample_);
  const std::string path = sample_.string();
  for (const char* answer : {"n\n", "yes\n"}) {
    std::istringstream in(answer);
    std::ostringstream out;
    std::ostringstream err;
    Terminal terminal{in, out, err, true, false};
    std::vector<const char*> args = {"lunavant",  "--short-date", "dd/MM/yyyy", "--date-separator",
                                     "/",         "remove",       path.c_str(), "--field",
                                     "HijriStart"};
    const int status = RunLunavant(static_cast<int>(args.size()), args.data(), terminal,
                                   fs::path(LUNAVANT_CLI_PATH).parent_path());
    EXPECT_NE(err.str().find("are you sure you want to continue?\nYes or No? [Y/n] "),
              std::string::npos);
    if (answer[0] == 'n') {
      EXPECT_EQ(status, kExitRefused);
      EXPECT_EQ(ReadWholeFile(sample_), before);
    } else {
      EXPECT_EQ(status, kExitOk) << err.str();
      EXPECT_EQ(ReadWholeFile(sample_).find("HijriStart"), std::string::npos);
    }
  }
  unsetenv("XDG_CONFIG_HOME");
}

TEST_F(CommandLineTest, VerifyFindsADateChangedBehindTheAddInsBackAndRefreshMendsIt) {
  // Given task 4's start moved in the file by another program, expect verify to list its stale
  // HijriStart and exit 1 without touching the file; a refresh rewrites it and verify is clean.
  const std::string edited =
      Replaced(ReadWholeFile(sample_), "<Name>Site survey and measured drawings</Name>",
               "<Start>2025-03-05T08:00:00</Start>", "<Start>2025-03-09T08:00:00</Start>");
  ASSERT_NE(edited, ReadWholeFile(sample_));
  WriteWholeFile(sample_, edited);
  CliOutcome run = Run(std::string(kSettings) + "verify plan.xml");
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_EQ(run.out,
            "ID  Task Name                          Field           Stored    Expected  Problem\n"
            "--  ---------------------------------  ----------  ----------  ----------  -------\n"
            " 4  Site survey and measured drawings  HijriStart  05/09/1446  09/09/1446  stale\n"
            "plan.xml: 1 of 120 Hijri cells do not match their dates; 'lunavant refresh "
            "plan.xml' rewrites them.\n");
  EXPECT_EQ(ReadWholeFile(sample_), edited);
  // verify works without the add-in: nothing was registered.
  EXPECT_FALSE(fs::exists(dir_ / "config"));

  run = Run(std::string(kSettings) + "refresh plan.xml");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.err, "");
  run = Run(std::string(kSettings) + "verify plan.xml");
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_EQ(run.out, "plan.xml: 120 Hijri cells (2 pairs, 60 tasks) match their dates.\n");
  // Under another separator every stored text is wrong in form.
  run = Run("--short-date dd/MM/yyyy --date-separator - verify plan.xml");
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_NE(run.out.find("02/09/1446  02-09-1446  wrong"), std::string::npos);
}

TEST_F(CommandLineTest, SetIsAUsersCellEditThatTheAddInMayRefuse) {
  // Given Hijri text typed into HijriStart of task 3, expect the add-in to move Start to the
  // Gregorian date and the file to be saved.
  CliOutcome run =
      Run(std::string(kSettings) + "set plan.xml --task 3 --field HijriStart 10/09/1446");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(run.err, "");
  run = Run(std::string(kSettings) + "show plan.xml --tasks 3");
  EXPECT_NE(run.out.find("Kick-off meeting with the landlord     1 day  Mon 10/03/25  10/09/1446"),
            std::string::npos)
      << run.out;

  // Typed with another separator: the add-in's message, the edit refused, nothing saved.
  const std::string before = ReadWholeFile(sample_);
  run = Run(std::string(kSettings) + "set plan.xml --task 3 --field HijriStart 12-09-1446");
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_EQ(run.err,
            "Lunavant\n"
            "Application : Lunavant\n"
            "Error Number : 104\n"
            "Error Description : Please use the current Date Separator specified in your regional "
            "settings \"/\" \n"
            "lunavant: plan.xml: the edit of task 3, field HijriStart was refused (above); the "
            "file is unchanged.\n");
  EXPECT_EQ(ReadWholeFile(sample_), before);
  // A summary task: the add-in refuses without a message of its own, so no "above" to point at.
  run = Run(std::string(kSettings) + "set plan.xml --task 1 --field HijriStart 12/09/1446");
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_EQ(run.err,
            "lunavant: plan.xml: the add-in refused the edit of task 1, field HijriStart: the "
            "date paired with it cannot be set here (a summary task's dates follow its subtasks; "
            "early and late dates follow the schedule); the file is unchanged.\n");
  EXPECT_EQ(ReadWholeFile(sample_), before);
  // Fields the host takes but a project file of this program does not keep: refused, not lost.
  for (const char* field : {"Priority 700", "Created 'Mon 10/03/25'", "'Actual Cost' 5"}) {
    run = Run(std::string(kSettings) + "set plan.xml --task 3 --field " + field);
    EXPECT_EQ(run.status, kExitRefused) << field;
    EXPECT_NE(run.err.find("is not kept in the project file; the file is unchanged."),
              std::string::npos)
        << run.err;
  }
  EXPECT_EQ(ReadWholeFile(sample_), before);
  // A text the host itself cannot take.
  run = Run(std::string(kSettings) + "set plan.xml --task 3 --field Start tomorrow");
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_NE(run.err.find("lunavant: plan.xml: task 3, field Start: "), std::string::npos);
  EXPECT_EQ(ReadWholeFile(sample_), before);
  // A custom number is kept in the file like a custom text.
  run = Run(std::string(kSettings) + "set plan.xml --task 3 --field Number1 5");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(ReadWholeFile(sample_).find("<FieldID>188743767</FieldID>\n\t\t\t\t<Value>5</Value>"),
            std::string::npos);
}

TEST_F(CommandLineTest, SetRefusesAHijriDayItsMonthLacks) {
  // Given 30 Ramadan and 30 Dhu al-Hijjah 1446 (both months have 29 days) typed into HijriStart,
  // expect the invalid-date message, status 1 and the file unchanged; the 29th still moves Start.
  const std::string before = ReadWholeFile(sample_);
  for (const char* missing : {"30/09/1446", "30/12/1446"}) {
    const CliOutcome run =
        Run(std::string(kSettings) + "set plan.xml --task 3 --field HijriStart " + missing);
    EXPECT_EQ(run.status, kExitRefused) << missing;
    EXPECT_EQ(run.err,
              "Lunavant\n"
              "Application : Lunavant\n"
              "Error Number : 103\n"
              "Error Description : Invalid Hijri Date. Make sure it is in the following format "
              "dd/mm/yyyy or that it falls within the acceptable date range of 28/3/1404 to "
              "7/4/1472\n"
              "lunavant: plan.xml: the edit of task 3, field HijriStart was refused (above); the "
              "file is unchanged.\n");
    EXPECT_EQ(ReadWholeFile(sample_), before) << missing;
  }
  CliOutcome run =
      Run(std::string(kSettings) + "set plan.xml --task 3 --field HijriStart 29/12/1446");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  run = Run(std::string(kSettings) + "show plan.xml --tasks 3");
  EXPECT_NE(run.out.find("Wed 25/06/25  29/12/1446"), std::string::npos) << run.out;
}

TEST_F(CommandLineTest, RegistersUnregistersConnectsAndDisconnectsTheAddIn) {
  // Given an empty registry, expect register, the manager's connect and disconnect (kept for the
  // next start) and unregister to show in the listing and in the registry file.
  CliOutcome run = Run("addins");
  EXPECT_EQ(run.status, kExitOk);
  EXPECT_EQ(run.out,
            "Add-in  Name  Load  Connected  Module  Problem\n"
            "------  ----  ----  ---------  ------  -------\n");
  run = Run("register");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(
      run.out.find("as Lunavant.Connect in " + (dir_ / "config/lunavant/registry.reg").string()),
      std::string::npos);
  EXPECT_NE(Registry().find("\"FriendlyName\"=\"Lunavant\""), std::string::npos);

  // Disconnected by the user, the add-in stays so at the next start, and commands say how to
  // connect it again.
  run = Run("addins disconnect Lunavant.Connect");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.out.find("Lunavant.Connect  Lunavant     2  no"), std::string::npos) << run.out;
  run = Run(std::string(kSettings) + "refresh plan.xml");
  EXPECT_EQ(run.status, kExitAddIn);
  EXPECT_NE(run.err.find("connect it with 'lunavant addins connect Lunavant.Connect'"),
            std::string::npos);
  run = Run("addins connect lunavant.connect");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_NE(run.out.find("Lunavant.Connect  Lunavant     3  yes"), std::string::npos);
  EXPECT_EQ(Run(std::string(kSettings) + "refresh plan.xml").status, kExitOk);
  run = Run("addins connect Other.Connect");
  EXPECT_EQ(run.status, kExitAddIn);

  // A registry another program spoilt: the host says so, and so does the command.
  const std::string good = Registry();
  WriteWholeFile(dir_ / "config" / "lunavant" / "registry.reg", "not a registry\n");
  run = Run(std::string(kSettings) + "refresh plan.xml");
  EXPECT_EQ(run.status, kExitAddIn);
  EXPECT_EQ(run.err, "lunavant: the add-in registry " +
                         (dir_ / "config/lunavant/registry.reg").string() +
                         " cannot be used (registry.reg, line 1: the file does not start with "
                         "REGEDIT4). Mend or delete the file; 'lunavant register' writes a new "
                         "one.\n");
  // Listing the add-ins of that registry lists none, and says it failed.
  run = Run("addins");
  EXPECT_EQ(run.status, kExitAddIn);
  EXPECT_NE(run.err.find("lunavant: the add-in registry " +
                         (dir_ / "config/lunavant/registry.reg").string() + " cannot be used"),
            std::string::npos)
      << run.err;
  WriteWholeFile(dir_ / "config" / "lunavant" / "registry.reg", good);

  run = Run("unregister");
  EXPECT_EQ(run.status, kExitOk) << run.err;
  EXPECT_EQ(Registry().find("Lunavant"), std::string::npos);
  // A module that is not an add-in.
  run = Run("register /nonexistent/liblunavant.so");
  EXPECT_EQ(run.status, kExitAddIn);
  EXPECT_NE(run.err.find("Give the add-in module (liblunavant.so)"), std::string::npos);
}

TEST_F(CommandLineTest, RefusesBadUsageWithStatusTwo) {
  // Given arguments the program cannot act on, expect status 2, nothing on standard output and a
  // pointer to the help.
  for (const char* arguments :
       {"", "frobnicate", "add", "set plan.xml --field Start x", "set plan.xml --task 3 x",
        "show --tasks 5-2", "show --tasks x", "show plan.xml --table Nothing",
        "set plan.xml --task 999 --field Start x", "set plan.xml --task 3 --field Nothing x",
        "addins connect", "remove plan.xml --yes --bogus"}) {
    const CliOutcome run = Run(std::string(kSettings) + arguments);
    EXPECT_EQ(run.status, kExitUsage) << arguments;
    EXPECT_EQ(run.out, "") << arguments;
    EXPECT_NE(run.err.find("lunavant --help"), std::string::npos) << arguments << run.err;
  }
  // Settings no date can be written or read back with: refused before anything is written.
  const std::string before = ReadWholeFile(sample_);
  for (const char* settings :
       {"--date-separator '' --short-date dd/MM/yyyy", "--date-separator 0 --short-date dd/MM/yyyy",
        "--date-separator ' ' --short-date dd/MM/yyyy", "--short-date foo --date-separator /",
        "--short-date dd/MM --date-separator /", "--short-date dd/MM/yyyy/d --date-separator /",
        "--short-date ddd/MM/yyyy --date-separator /", "--short-date yyy/MM/dd --date-separator /",
        "--short-date 'dd MM yyyy' --date-separator /"}) {
    const CliOutcome run = Run(std::string(settings) + " refresh plan.xml");
    EXPECT_EQ(run.status, kExitUsage) << settings;
    EXPECT_EQ(run.out, "") << settings;
    EXPECT_NE(run.err.find("lunavant --help"), std::string::npos) << settings << run.err;
  }
  EXPECT_EQ(ReadWholeFile(sample_), before);
  EXPECT_EQ(Run("--short-date yyyy.M.d --date-separator . refresh plan.xml").status, kExitOk);
  const CliOutcome help = Run("--help");
  EXPECT_EQ(help.status, kExitOk);
  EXPECT_NE(help.out.find("Exit status: 0 done; 1 refused"), std::string::npos);
}

TEST_F(CommandLineTest, FileErrorsNameTheFileAndLeaveEverythingAsItWas) {
  // Given a missing, a malformed and an unwritable file, expect status 3, the file named with
  // what to do, and no file written or changed.
  CliOutcome run = Run(std::string(kSettings) + "refresh missing.xml");
  EXPECT_EQ(run.status, kExitFile);
  EXPECT_EQ(run.err, "lunavant: missing.xml: The file does not exist. Check the file name.\n");

  WriteWholeFile(dir_ / "broken.xml", "<Project><Tasks></Project>");
  run = Run(std::string(kSettings) + "add broken.xml -o out.xml");
  EXPECT_EQ(run.status, kExitFile);
  EXPECT_EQ(run.err.rfind("lunavant: broken.xml:1: ", 0), 0u) << run.err;
  EXPECT_NE(run.err.find("It is not a project file in MSPDI (XML) form"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ / "out.xml"));
  EXPECT_EQ(ReadWholeFile(dir_ / "broken.xml"), "<Project><Tasks></Project>");

  // A save that cannot be made: the target is a folder.
  const std::string before = ReadWholeFile(sample_);
  fs::create_directory(dir_ / "taken");
  run = Run(std::string(kSettings) + "refresh plan.xml -o taken");
  EXPECT_EQ(run.status, kExitFile);
  EXPECT_NE(run.err.find("The project was not saved"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("save elsewhere with -o."), std::string::npos);
  EXPECT_TRUE(fs::is_directory(dir_ / "taken"));
  EXPECT_EQ(ReadWholeFile(sample_), before);

  // In place, in a folder nobody may write to (made immutable when running as root).
  fs::create_directory(dir_ / "locked");
  WriteWholeFile(dir_ / "locked" / "plan.xml", before);
  const std::string locked = (dir_ / "locked").string();
  const bool is_locked = geteuid() == 0
                             ? std::system(("chattr +i '" + locked + "' 2>/dev/null").c_str()) == 0
                             : chmod(locked.c_str(), 0555) == 0;
  if (is_locked) {
    run = Run(std::string(kSettings) + "set locked/plan.xml --task 3 --field Name Renamed");
    EXPECT_EQ(run.status, kExitFile);
    EXPECT_EQ(run.err.rfind("lunavant: locked/plan.xml: The project was not saved", 0), 0u)
        << run.err;
    EXPECT_EQ(ReadWholeFile(dir_ / "locked" / "plan.xml"), before);
    if (geteuid() == 0) {
      EXPECT_EQ(std::system(("chattr -i '" + locked + "'").c_str()), 0);
    } else {
      chmod(locked.c_str(), 0755);
    }
  }
}

TEST_F(CommandLineTest, WorksOnRealProjectFiles) {
  // Given real files, expect each to take a Hijri pair and verify clean; one with all thirty
  // text fields named offers no text field, so the add-in refuses.
  const fs::path samples = fs::path(LUNAVANT_SHARED_DATA) / "mspdi" / "samples";
  for (const char* name : {"task-dates-project2019-mspdi.xml", "mspdirelations.xml"}) {
    fs::copy_file(samples / name, dir_ / name);
    CliOutcome run = Run(std::string(kSettings) + "add " + name + " --date Finish --text Text30");
    EXPECT_EQ(run.status, kExitOk) << name << run.err;
    run = Run(std::string(kSettings) + "verify " + name);
    EXPECT_EQ(run.status, kExitOk) << name << run.out;
    EXPECT_NE(run.out.find("(1 pairs,"), std::string::npos) << run.out;
    run = Run(std::string(kSettings) + "show " + name + " --json");
    EXPECT_NE(run.out.find("{\"title\": \"HijriFinish\", \"field\": \"Text30\"}"),
              std::string::npos);
  }
  fs::copy_file(samples / "alias.xml", dir_ / "alias.xml");
  const CliOutcome run = Run(std::string(kSettings) + "add alias.xml");
  EXPECT_EQ(run.status, kExitRefused);
  EXPECT_EQ(run.err.rfind("Lunavant\nYou left one of the required fields empty\n", 0), 0u)
      << run.err;
  EXPECT_EQ(ReadWholeFile(dir_ / "alias.xml"), ReadWholeFile(samples / "alias.xml"));
}

TEST_F(CommandLineTest, RightToLeftAndWideTaskNamesLineUp) {
  // Given an Arabic and a Chinese task name typed in, expect every row's Start column to begin at
  // the same screen column.
  ASSERT_EQ(Run(std::string(kSettings) + "set plan.xml --task 2 --field Name 'توقيع العقد'").status,
            kExitOk);
  ASSERT_EQ(Run(std::string(kSettings) + "set plan.xml --task 3 --field Name '启动会议'").status,
            kExitOk);
  const CliOutcome run = Run(std::string(kSettings) + "show plan.xml --tasks 1-4");
  std::istringstream lines(run.out);
  std::string line;
  std::vector<std::int64_t> start_columns;
  const std::regex weekday("(Sun|Mon|Tue|Wed|Thu) [0-9][0-9]/");
  while (std::getline(lines, line)) {
    std::smatch found;
    if (std::regex_search(line, found, weekday)) {
      start_columns.push_back(
          DisplayWidth(line.substr(0, static_cast<std::size_t>(found.position(0)))));
    }
  }
  ASSERT_EQ(start_columns.size(), 4u) << run.out;
  for (const std::int64_t column : start_columns) EXPECT_EQ(column, start_columns[0]) << run.out;
  EXPECT_NE(run.out.find("\u2068توقيع العقد\u2069"), std::string::npos);
}

TEST_F(CommandLineTest, ProgressShowsOnATerminalOnly) {
  // Given standard error as a terminal, expect the refresh's progress line to reach 100% and be
  // cleared; without a terminal nothing of it appears.
  setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
  const std::string path = sample_.string();
  for (const bool err_is_terminal : {true, false}) {
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    Terminal terminal{in, out, err, false, err_is_terminal};
    std::vector<const char*> args = {"lunavant", "--short-date", "dd/MM/yyyy", "--date-separator",
                                     "/",        "refresh",      path.c_str()};
    EXPECT_EQ(RunLunavant(static_cast<int>(args.size()), args.data(), terminal,
                          fs::path(LUNAVANT_CLI_PATH).parent_path()),
              kExitOk);
    if (err_is_terminal) {
      EXPECT_NE(err.str().find("\rRefreshing Hijri fields  [###############---------------] 50%"),
                std::string::npos);
      EXPECT_NE(err.str().find("] 100%  60/60"), std::string::npos);
      EXPECT_EQ(err.str().substr(err.str().size() - 4), "\r\x1b[K");
    } else {
      EXPECT_EQ(err.str(), "");
    }
  }
  unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace lunavant::cli
