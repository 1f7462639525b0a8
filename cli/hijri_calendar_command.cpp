// SPDX-License-Identifier: MIT
#include "cli/hijri_calendar_command.h"

#include <memory>
#include <sstream>

#include "addin/host/error.h"
#include "cli/exit_status.h"
#include "cli/messages.h"
#include "cli/project_commands.h"
#include "orbelune.h"

namespace lunavant::cli {

std::optional<CalendarVersion> ConverterCalendar(
    host::Library& converter, const std::optional<std::filesystem::path>& check) {
  OrbeluneCalendarVersionProc version = nullptr;
  try {
    version =
        reinterpret_cast<OrbeluneCalendarVersionProc>(converter.Symbol("OrbeluneCalendarVersion"));
  } catch (const host::HostError&) {
    return std::nullopt;
  }
  const std::string path = check ? check->string() : std::string();
  const char* file = check ? path.c_str() : nullptr;
  std::string text(1024, '\0');
  std::int32_t length = 0;
  std::int32_t status = version(file, text.data(), static_cast<std::int32_t>(text.size()), &length);
  if (length >= static_cast<std::int32_t>(text.size())) {
    text.assign(static_cast<std::size_t>(length) + 1, '\0');
    status = version(file, text.data(), static_cast<std::int32_t>(text.size()), &length);
  }
  text.resize(static_cast<std::size_t>(std::max<std::int32_t>(0, length)));
  return CalendarVersion{status == ORBELUNE_CORRECTIONS_REFUSED, text};
}

std::set<std::string> ChangedMonths(const std::string& version_text) {
  std::set<std::string> months;
  std::istringstream lines(version_text);
  std::string line;
  constexpr std::string_view kChanged = "changed: ";
  while (std::getline(lines, line)) {
    if (line.rfind(kChanged, 0) != 0) continue;
    months.insert(line.substr(kChanged.size(), line.find(' ', kChanged.size()) - kChanged.size()));
  }
  return months;
}

int RunHijriCalendar(Terminal& terminal, const SessionOptions& options,
                     const std::optional<std::filesystem::path>& check) {
  HostSession session(terminal, options);
  std::unique_ptr<host::Library> converter;
  try {
    converter = session.App().Libraries().Load("orbelune");
  } catch (const host::HostError& e) {
    throw CommandError(kExitAddIn, message::ConverterMissing(e.what()));
  }
  const std::optional<CalendarVersion> calendar = ConverterCalendar(*converter, check);
  if (!calendar) throw CommandError(kExitAddIn, std::string(message::kConverterWithoutVersion));
  terminal.out << calendar->text;
  return calendar->refused ? kExitRefused : kExitOk;
}

}  // namespace lunavant::cli
