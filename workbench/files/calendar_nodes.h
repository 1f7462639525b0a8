// SPDX-License-Identifier: MIT
// The calendars of a project's document, found by UID or by name: what the working-time and the
// holiday commands both look up before they change a calendar.
#pragma once

#include <cstdint>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

namespace lunavant::workbench::detail {

// Calendar names match without regard to letter case, as the scheduler matches them.
bool SameCalendarName(std::string_view a, std::string_view b);
std::optional<std::int64_t> UidOf(pugi::xml_node node);
// The project's own calendar: its CalendarUID, the standard calendar (1) when it names none.
std::int64_t ProjectCalendarUid(pugi::xml_node root);
pugi::xml_node CalendarByUid(pugi::xml_node root, std::int64_t uid);
// The calendar of that name, or the project's own for an empty name; a null node when there is
// none, and then `known` lists the names the document has (empty when it has none).
pugi::xml_node CalendarNamed(pugi::xml_node root, std::string_view name, std::string& known);

// The calendar's WeekDays and Exceptions, made where the schema places them when missing.
pugi::xml_node WeekDaysOf(pugi::xml_node calendar);
pugi::xml_node ExceptionsListOf(pugi::xml_node calendar);

}  // namespace lunavant::workbench::detail
