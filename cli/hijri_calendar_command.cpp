// SPDX-License-Identifier: MIT
#include "cli/hijri_calendar_command.h"

#include <memory>
#include <string>

#include "addin/host/error.h"
#include "cli/exit_status.h"
#include "cli/messages.h"
#include "cli/project_commands.h"
#include "workbench/view/hijri_days.h"

namespace lunavant::cli {

int RunHijriCalendar(Terminal& terminal, const SessionOptions& options,
                     const std::optional<std::filesystem::path>& check) {
  HostSession session(terminal, options);
  std::unique_ptr<host::Library> converter;
  try {
    converter = session.App().Libraries().Load("orbelune");
  } catch (const host::HostError& e) {
    throw CommandError(kExitAddIn, message::ConverterMissing(e.what()));
  }
  const std::string path = check ? check->string() : std::string();
  const std::optional<workbench::CalendarVersion> calendar =
      workbench::CalendarVersionOf(*converter, check ? path.c_str() : nullptr);
  if (!calendar) throw CommandError(kExitAddIn, std::string(message::kConverterWithoutVersion));
  terminal.out << calendar->text;
  return calendar->refused ? kExitRefused : kExitOk;
}

}  // namespace lunavant::cli
