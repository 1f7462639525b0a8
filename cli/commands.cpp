// SPDX-License-Identifier: MIT
#include "cli/commands.h"

#include <CLI/CLI.hpp>
#include <cctype>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "addin/codec/to_gregorian.h"
#include "addin/codec/to_hijri.h"
#include "addin/host/global.h"
#include "addin/pairing/catalogues.h"
#include "cli/calendar_command.h"
#include "cli/hijri_calendar_command.h"
#include "cli/holidays_command.h"
#include "cli/messages.h"
#include "cli/project_commands.h"
#include "workbench/addins/program_layout.h"
#include "workbench/model/application.h"
#include "workbench/platform/regional_settings.h"

namespace lunavant::cli {
namespace {

constexpr const char* kDescription =
    "Hijri (Umm al-Qura) dates beside the task dates of project files (MSPDI XML), through the\n"
    "Lunavant add-in running in the reference host. Each command starts the host, connects the\n"
    "add-in registered for this user (registering it first when it is not), opens the file and\n"
    "acts as a user would: a click on the add-in's toolbar, its dialog answered from the\n"
    "options, a cell edit.\n\n"
    "  lunavant show                 the bundled sample project, with its Hijri columns\n"
    "  lunavant show plan.xml --tasks 1-20\n"
    "  lunavant add plan.xml --date Finish --text Text2\n"
    "  lunavant set plan.xml --task 3 --field HijriFinish 20/07/1446\n"
    "  lunavant verify plan.xml       after the file was edited elsewhere\n"
    "  lunavant holidays plan.xml --set sa --years 1447-1450   Hijri holidays into the calendar\n"
    "  lunavant calendar set plan.xml --days Sun-Thu --hours 08:00-16:00\n"
    "  lunavant hijri \"Mon 15/03/04\"  one date, as the host shows it, to Hijri text\n"
    "  lunavant hijri-calendar        the Hijri table and the month corrections in force\n\n"
    "Dates are read and written in the user's regional settings (LC_ALL, LC_TIME, LANG);\n"
    "--short-date and --date-separator override them. A message the add-in or the host shows\n"
    "goes to standard error: its title, then its text. A Yes/No question is asked on the\n"
    "terminal, and refused when standard input is not one (remove --yes answers Yes).\n"
    "Changed projects are saved in place, atomically, unless --dry-run or -o OUT is given.\n"
    "The add-in registry is $XDG_CONFIG_HOME/lunavant/registry.reg (~/.config when unset).\n\n"
    "Exit status: 0 done; 1 refused (by the add-in, the host or the user), a conversion\n"
    "failed, or verify found cells that do not match their dates; 2 usage error; 3 a project\n"
    "file is missing, unreadable or malformed, or could not be saved (the file on disk is then\n"
    "as it was); 4 the add-in or the converter library cannot be had (not registered, not\n"
    "connected, a broken module or registry).";

// The global host object lives as long as one conversion runs.
class GlobalApplicationScope {
 public:
  explicit GlobalApplicationScope(host::Application& app) { host::SetGlobalApplication(&app); }
  ~GlobalApplicationScope() { host::SetGlobalApplication(nullptr); }
  GlobalApplicationScope(const GlobalApplicationScope&) = delete;
  GlobalApplicationScope& operator=(const GlobalApplicationScope&) = delete;
};

// A short-date pattern the host can write dates with and read them back: day, month and year once
// each (d or dd, M or MM, yy or yyyy), with no other letter, digit or blank between them.
std::string CheckShortDate(const std::string& pattern) {
  int days = 0, months = 0, years = 0;
  for (std::size_t i = 0; i < pattern.size();) {
    const char c = pattern[i];
    std::size_t run = 1;
    while (i + run < pattern.size() && pattern[i + run] == c) ++run;
    if (c == 'd' && run <= 2) {
      ++days;
    } else if (c == 'M' && run <= 2) {
      ++months;
    } else if (c == 'y' && (run == 2 || run == 4)) {
      ++years;
    } else if (std::isalnum(static_cast<unsigned char>(c)) != 0 || c == ' ') {
      return "the short-date pattern \"" + pattern +
             "\" is not day, month and year written with d or dd, M or MM, yy or yyyy, "
             "without blanks";
    }
    i += run;
  }
  if (days != 1 || months != 1 || years != 1) {
    return "the short-date pattern \"" + pattern +
           "\" needs the day, the month and the year once each";
  }
  return {};
}

// A date separator a date can be told apart by: not empty, no digit and no blank.
std::string CheckDateSeparator(const std::string& separator) {
  const bool fit =
      !separator.empty() && separator.find_first_of("0123456789 ") == std::string::npos;
  return fit ? std::string()
             : "the date separator \"" + separator +
                   "\" must be one or more characters, none a digit or a blank";
}

// The codec alone, as the add-in runs it inside the host, without a project.
int Convert(Terminal& terminal, const SessionOptions& options, const std::string& text,
            bool to_hijri) {
  auto boxes = std::make_unique<TerminalMessageBoxes>(terminal, Questions::kAnswerDefault);
  TerminalMessageBoxes& shown = *boxes;
  workbench::FrontEndServices services;
  services.messages = std::move(boxes);
  if (!options.program_folder.empty()) services.library_folders.push_back(options.program_folder);
  workbench::Application app(std::move(services));
  workbench::SearchLayoutFirst(app, workbench::LayoutOf(options.program_folder));
  if (options.short_date) app.Regional().OverrideShortDatePattern(*options.short_date);
  if (options.date_separator) app.Regional().OverrideDateSeparator(*options.date_separator);
  GlobalApplicationScope scope(app);
  // The weekday names and the message title, as the add-in's event object fills them.
  pairing::InitCatalogues();
  const std::string result = to_hijri ? codec::ToHijriText(text) : codec::ToGregorianText(text);
  if (shown.ReportsShown() > 0) return kExitRefused;
  terminal.out << result << '\n';
  return kExitOk;
}

// Thrown from the --version flag, so that no command is required and none runs.
struct VersionAsked {};

// The program's version, then the Hijri calendar the converter has in force, which decides every
// date the program writes.
int PrintVersion(Terminal& terminal, const SessionOptions& options) {
  terminal.out << "lunavant " << LUNAVANT_VERSION << '\n';
  return RunHijriCalendar(terminal, options, std::nullopt);
}

void AddSaveOptions(CLI::App& command, SaveOptions& save) {
  command.add_flag("--dry-run", save.dry_run, "do everything but save the file");
  command.add_option("-o,--output", save.output, "save to this file instead of FILE");
}

}  // namespace

int RunLunavant(int argc, const char* const* argv, Terminal& terminal,
                const std::filesystem::path& program_folder) {
  CLI::App cli{kDescription, "lunavant"};
  cli.require_subcommand(1);
  cli.fallthrough();
  SessionOptions session;
  session.program_folder = program_folder;
  cli.add_flag_callback(
      "--version", [] { throw VersionAsked{}; },
      "print the version and the Hijri calendar in force, and exit");
  cli.add_option("--short-date", session.short_date,
                 "short-date pattern to use instead of the locale's (d, dd, M, MM, yy, yyyy)")
      ->check(CLI::Validator(CheckShortDate, "PATTERN"));
  cli.add_option("--date-separator", session.date_separator,
                 "date separator to use instead of the locale's")
      ->check(CLI::Validator(CheckDateSeparator, "TEXT"));

  std::string text;
  CLI::App* hijri = cli.add_subcommand("hijri", "Gregorian date text to Hijri text");
  hijri->add_option("TEXT", text, "the date as the host shows it")->required();
  CLI::App* gregorian = cli.add_subcommand("gregorian", "typed Hijri text to a Gregorian date");
  gregorian->add_option("TEXT", text, "Hijri text: day, separator, month, separator, year")
      ->required();

  ShowOptions show;
  CLI::App* show_cmd =
      cli.add_subcommand("show", "print a task table of a project with its Hijri columns");
  show_cmd->add_option("FILE", show.file, "project file; the bundled sample when left out");
  show_cmd->add_option("--table", show.table, "the task table to show (default: the current)");
  show_cmd->add_option("--tasks", show.tasks, "task IDs and ranges, such as 1-10,15 or 20-");
  show_cmd->add_flag("--json", show.json, "print JSON for scripts");

  AddOptions add;
  CLI::App* add_cmd = cli.add_subcommand("add", "pair a date column with a text field (Add Hijri)");
  add_cmd->add_option("FILE", add.file, "project file")->required();
  add_cmd->add_option("--date", add.date_field,
                      "the date field (the dialog's first when left out)");
  add_cmd->add_option("--text", add.text_field, "the text field (the dialog's first free one)");
  add_cmd->add_option("--title", add.title, "the column title (Hijri<date field> when left out)");
  add_cmd->add_option("--table", add.table, "apply this task table first");
  AddSaveOptions(*add_cmd, add.save);

  RemoveOptions remove;
  bool yes = false;
  CLI::App* remove_cmd =
      cli.add_subcommand("remove", "release a Hijri field of the current table (Remove Hijri)");
  remove_cmd->add_option("FILE", remove.file, "project file")->required();
  remove_cmd->add_option("--field", remove.field, "the Hijri field, such as HijriStart");
  remove_cmd->add_flag("-y,--yes", yes, "answer Yes to the confirmation");
  remove_cmd->add_option("--table", remove.table, "apply this task table first");
  AddSaveOptions(*remove_cmd, remove.save);

  RefreshOptions refresh;
  CLI::App* refresh_cmd =
      cli.add_subcommand("refresh", "rewrite every Hijri field of every task (Refresh Hijri)");
  refresh_cmd->add_option("FILE", refresh.file, "project file")->required();
  refresh_cmd->add_option("--table", refresh.table, "apply this task table first");
  AddSaveOptions(*refresh_cmd, refresh.save);

  SetOptions set;
  CLI::App* set_cmd = cli.add_subcommand("set", "edit one cell, as a user types into it");
  set_cmd->add_option("FILE", set.file, "project file")->required();
  set_cmd->add_option("--task", set.task, "the task's ID")->required();
  set_cmd->add_option("--field", set.field, "the field: Start, Text1, HijriStart, ...")->required();
  set_cmd->add_option("TEXT", set.text, "what is typed into the cell")->required();
  AddSaveOptions(*set_cmd, set.save);

  HolidaysOptions holidays;
  CLI::App* holidays_cmd = cli.add_subcommand(
      "holidays",
      "add a holiday set's days of some Hijri years to the project's calendar, or "
      "take them off");
  holidays_cmd->add_option("FILE", holidays.file, "project file")->required();
  holidays_cmd->add_option("--set", holidays.set,
                           "a shipped set (sa, ae, kw, qa, bh, om, eg, jo) or a .holidays file");
  holidays_cmd->add_option("--years", holidays.years, "Hijri years, such as 1447 or 1447-1450");
  holidays_cmd->add_option("--calendar", holidays.calendar,
                           "the calendar to add them to (default: the project's)");
  holidays_cmd->add_flag("--remove", holidays.remove,
                         "take the set's holidays of those years off the calendar instead");
  holidays_cmd->add_flag("--list", holidays.list,
                         "list the calendar's exceptions (holidays among them); changes nothing");
  holidays_cmd->add_flag("--json", holidays.json, "print JSON for scripts");
  AddSaveOptions(*holidays_cmd, holidays.save);

  CalendarOptions calendar;
  CLI::App* calendar_cmd = cli.add_subcommand(
      "calendar", "list, show and change a project's calendars (working days, hours, exceptions)");
  calendar_cmd->require_subcommand(1);
  using CalendarAction = CalendarOptions::Action;
  struct CalendarSub {
    CLI::App* app;
    CalendarAction action;
  };
  std::vector<CalendarSub> calendar_subs;
  const auto calendar_sub = [&](const char* name, const char* what, CalendarAction action) {
    CLI::App* sub = calendar_cmd->add_subcommand(name, what);
    sub->add_option("FILE", calendar.file, "project file")->required();
    calendar_subs.push_back({sub, action});
    return sub;
  };
  CLI::App* calendar_list =
      calendar_sub("list", "list the project's calendars", CalendarAction::kList);
  calendar_list->add_flag("--json", calendar.json, "print JSON for scripts");
  CLI::App* calendar_show =
      calendar_sub("show", "show a calendar's working week and exceptions", CalendarAction::kShow);
  calendar_show->add_option("--calendar", calendar.calendar,
                            "the calendar (default: the project's)");
  calendar_show->add_flag("--json", calendar.json, "print JSON for scripts");
  CLI::App* calendar_set = calendar_sub(
      "set", "set the working days and hours, or one weekday's hours", CalendarAction::kSet);
  calendar_set->add_option("--calendar", calendar.calendar,
                           "the calendar (default: the project's)");
  calendar_set->add_option("--days", calendar.days, "the working days, such as Sun-Thu");
  calendar_set->add_option("--hours", calendar.hours,
                           "their working hours, such as 08:00-16:00 or 08:00-12:00,13:00-17:00");
  calendar_set->add_option("--weekday", calendar.weekday,
                           "one weekday (such as Fri) to give --hours, or no hours: a day off");
  AddSaveOptions(*calendar_set, calendar.save);
  CLI::App* calendar_except = calendar_sub(
      "add-exception", "add a named exception: days off, or worked days with --working",
      CalendarAction::kAddException);
  calendar_except->add_option("--calendar", calendar.calendar,
                              "the calendar (default: the project's)");
  calendar_except->add_option("--name", calendar.name, "its name")->required();
  calendar_except->add_option("--from", calendar.from, "its first day, such as 2026-03-19")
      ->required();
  calendar_except->add_option("--to", calendar.to, "its last day (or of its repetition)");
  calendar_except->add_flag("--yearly", calendar.yearly, "every year on the first day's date");
  calendar_except->add_option("--weekly", calendar.weekly, "every week on these days, such as Fri");
  calendar_except->add_option("--working", calendar.working,
                              "worked on these hours, such as 08:00-12:00");
  AddSaveOptions(*calendar_except, calendar.save);
  CLI::App* calendar_unexcept = calendar_sub("remove-exception", "remove a named exception",
                                             CalendarAction::kRemoveException);
  calendar_unexcept->add_option("--calendar", calendar.calendar,
                                "the calendar (default: the project's)");
  calendar_unexcept->add_option("--name", calendar.name, "its name")->required();
  AddSaveOptions(*calendar_unexcept, calendar.save);
  CLI::App* calendar_new =
      calendar_sub("new", "make a base calendar, a copy of another", CalendarAction::kNew);
  calendar_new->add_option("--name", calendar.name, "its name")->required();
  calendar_new->add_option("--copy-of", calendar.copy_of,
                           "the calendar copied (default: the project's)");
  AddSaveOptions(*calendar_new, calendar.save);
  CLI::App* calendar_use =
      calendar_sub("use", "schedule the project on another base calendar", CalendarAction::kUse);
  calendar_use->add_option("NAME", calendar.name, "the base calendar")->required();
  AddSaveOptions(*calendar_use, calendar.save);
  CLI::App* calendar_task = calendar_sub(
      "task", "give a task a calendar of its own, or (no --calendar) the project's again",
      CalendarAction::kTask);
  calendar_task->add_option("--task", calendar.task, "the task's ID")->required();
  calendar_task->add_option("--calendar", calendar.calendar, "the calendar it works on");
  AddSaveOptions(*calendar_task, calendar.save);

  std::optional<std::filesystem::path> verify_file;
  CLI::App* verify_cmd = cli.add_subcommand(
      "verify", "list the Hijri cells that do not match their dates; changes nothing");
  verify_cmd->add_option("FILE", verify_file, "project file; the bundled sample when left out");

  std::optional<std::filesystem::path> corrections_file;
  CLI::App* hijri_calendar_cmd = cli.add_subcommand(
      "hijri-calendar", "the Hijri calendar in force: its table and the corrections read");
  hijri_calendar_cmd->require_subcommand(0, 1);
  CLI::App* calendar_check = hijri_calendar_cmd->add_subcommand(
      "check", "check a file of month corrections without putting it in force");
  calendar_check->add_option("FILE", corrections_file, "a corrections file")->required();

  std::optional<std::filesystem::path> module;
  CLI::App* register_cmd =
      cli.add_subcommand("register", "register the add-in module for this user");
  register_cmd->add_option("MODULE", module,
                           "the module (default: the one installed with this program)");
  CLI::App* unregister_cmd =
      cli.add_subcommand("unregister", "remove the add-in's registration for this user");
  unregister_cmd->add_option("MODULE", module,
                             "the module (default: the one installed with this program)");

  std::string prog_id;
  CLI::App* addins =
      cli.add_subcommand("addins", "list the registered add-ins, or (dis)connect one");
  addins->require_subcommand(0, 1);
  CLI::App* addins_list = addins->add_subcommand("list", "list the add-ins (the default)");
  CLI::App* addins_connect =
      addins->add_subcommand("connect", "connect an add-in, now and at every start");
  addins_connect->add_option("PROGID", prog_id, "such as Lunavant.Connect")->required();
  CLI::App* addins_disconnect =
      addins->add_subcommand("disconnect", "disconnect an add-in, now and at every start");
  addins_disconnect->add_option("PROGID", prog_id, "such as Lunavant.Connect")->required();

  bool version_asked = false;
  try {
    cli.parse(argc, argv);
  } catch (const VersionAsked&) {
    version_asked = true;
  } catch (const CLI::CallForHelp&) {
    terminal.out << cli.help();
    return kExitOk;
  } catch (const CLI::CallForAllHelp&) {
    terminal.out << cli.help("", CLI::AppFormatMode::All);
    return kExitOk;
  } catch (const CLI::ParseError& e) {
    terminal.err << "lunavant: " << e.what() << '\n' << message::kUsageHint << '\n';
    return kExitUsage;
  }
  try {
    if (version_asked) return PrintVersion(terminal, session);
    if (hijri->parsed() || gregorian->parsed()) {
      return Convert(terminal, session, text, hijri->parsed());
    }
    if (show_cmd->parsed()) return RunShow(terminal, session, show);
    if (add_cmd->parsed()) return RunAdd(terminal, session, add);
    if (remove_cmd->parsed()) {
      session.questions = yes ? Questions::kAnswerYes : Questions::kAskTerminal;
      return RunRemove(terminal, session, remove);
    }
    if (refresh_cmd->parsed()) return RunRefresh(terminal, session, refresh);
    if (set_cmd->parsed()) return RunSet(terminal, session, set);
    if (holidays_cmd->parsed()) return RunHolidays(terminal, session, holidays);
    if (verify_cmd->parsed()) return RunVerify(terminal, session, verify_file);
    for (const CalendarSub& sub : calendar_subs) {
      if (!sub.app->parsed()) continue;
      calendar.action = sub.action;
      return RunCalendar(terminal, session, calendar);
    }
    if (hijri_calendar_cmd->parsed()) {
      return RunHijriCalendar(terminal, session,
                              calendar_check->parsed() ? corrections_file : std::nullopt);
    }
    if (register_cmd->parsed()) return RunRegister(terminal, session, module);
    if (unregister_cmd->parsed()) return RunUnregister(terminal, session, module);
    if (addins_connect->parsed()) return RunConnectAddIn(terminal, session, prog_id, true);
    if (addins_disconnect->parsed()) return RunConnectAddIn(terminal, session, prog_id, false);
    static_cast<void>(addins_list);
    return RunListAddIns(terminal, session);
  } catch (const CommandError& e) {
    terminal.err << "lunavant: " << e.what() << '\n';
    if (e.Status() == kExitUsage) terminal.err << message::kUsageHint << '\n';
    return e.Status();
  }
}

int RunLunavant(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                const std::filesystem::path& program_folder) {
  std::istringstream no_input;
  Terminal terminal{no_input, out, err, false, false};
  return RunLunavant(argc, argv, terminal, program_folder);
}

}  // namespace lunavant::cli
