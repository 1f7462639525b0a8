// SPDX-License-Identifier: MIT
#include "cli/commands.h"

#include <CLI/CLI.hpp>
#include <memory>
#include <optional>
#include <string>

#include "addin/codec/to_gregorian.h"
#include "addin/codec/to_hijri.h"
#include "addin/events/ms_proj_events.h"
#include "addin/host/global.h"
#include "cli/terminal_ui.h"
#include "workbench/model/application.h"
#include "workbench/platform/regional_settings.h"

namespace lunavant::cli {
namespace {

constexpr const char* kDescription =
    "Hijri (Umm al-Qura) dates for project schedules, in the Lunavant reference host.\n\n"
    "  lunavant hijri TEXT       prints the Hijri text of a task date as the host shows it,\n"
    "                            e.g. \"Mon 15/03/04\" gives 24/01/1425\n"
    "  lunavant gregorian TEXT   prints the weekday and the Gregorian date of typed Hijri\n"
    "                            text, e.g. 05/03/1425 gives Sat 24/04/04\n\n"
    "Dates are read and written in the user's regional settings (LC_ALL, LC_TIME, LANG);\n"
    "--short-date and --date-separator override them. \"NA\" and the empty text pass through.\n"
    "A message the add-in shows goes to standard error: its title, then its text.\n\n"
    "Exit status: 0 a text was printed, 1 the conversion reported an error, 2 usage error.";

// The global host object lives as long as one command runs.
class GlobalApplicationScope {
 public:
  explicit GlobalApplicationScope(host::Application& app) { host::SetGlobalApplication(&app); }
  ~GlobalApplicationScope() { host::SetGlobalApplication(nullptr); }
  GlobalApplicationScope(const GlobalApplicationScope&) = delete;
  GlobalApplicationScope& operator=(const GlobalApplicationScope&) = delete;
};

}  // namespace

int RunLunavant(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
                const std::filesystem::path& converter_folder) {
  CLI::App cli{kDescription, "lunavant"};
  cli.require_subcommand(1);
  cli.fallthrough();
  std::optional<std::string> short_date;
  std::optional<std::string> date_separator;
  cli.add_option("--short-date", short_date,
                 "short-date pattern to use instead of the locale's (d, dd, M, MM, yy, yyyy)");
  cli.add_option("--date-separator", date_separator,
                 "date separator to use instead of the locale's");

  std::string text;
  CLI::App* hijri = cli.add_subcommand("hijri", "Gregorian date text to Hijri text");
  hijri->add_option("TEXT", text, "the date as the host shows it")->required();
  CLI::App* gregorian = cli.add_subcommand("gregorian", "typed Hijri text to a Gregorian date");
  gregorian->add_option("TEXT", text, "Hijri text: day, separator, month, separator, year")
      ->required();

  try {
    cli.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    out << cli.help();
    return kExitPrinted;
  } catch (const CLI::ParseError& e) {
    err << "lunavant: " << e.what() << "\nRun 'lunavant --help' for usage.\n";
    return kExitUsage;
  }

  auto boxes = std::make_unique<TerminalMessageBoxes>(err);
  TerminalMessageBoxes& shown = *boxes;
  workbench::FrontEndServices services;
  services.messages = std::move(boxes);
  if (!converter_folder.empty()) services.library_folders.push_back(converter_folder);
  workbench::Application app(std::move(services));
  if (short_date) app.Regional().OverrideShortDatePattern(*short_date);
  if (date_separator) app.Regional().OverrideDateSeparator(*date_separator);
  GlobalApplicationScope scope(app);
  // The event object's construction fills the weekday names and the message title.
  events::MSProjEvents add_in_state;

  const std::string result =
      hijri->parsed() ? codec::ToHijriText(text) : codec::ToGregorianText(text);
  if (shown.ShownCount() > 0) return kExitConversionFailed;
  out << result << '\n';
  return kExitPrinted;
}

}  // namespace lunavant::cli
