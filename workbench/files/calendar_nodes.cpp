// SPDX-License-Identifier: MIT
#include "workbench/files/calendar_nodes.h"

#include <algorithm>
#include <cctype>

#include "workbench/files/mspdi_tree.h"
#include "workbench/files/mspdi_values.h"

namespace lunavant::workbench::detail {

bool SameCalendarName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::optional<std::int64_t> UidOf(pugi::xml_node node) {
  return ReadWholeNumber(TextOf(node), -1, kMaxUid + 1);
}

std::int64_t ProjectCalendarUid(pugi::xml_node root) {
  return UidOf(root.child("CalendarUID")).value_or(1);
}

pugi::xml_node CalendarByUid(pugi::xml_node root, std::int64_t uid) {
  for (pugi::xml_node c : root.child("Calendars").children("Calendar")) {
    if (UidOf(c.child("UID")) == uid) return c;
  }
  return {};
}

pugi::xml_node CalendarNamed(pugi::xml_node root, std::string_view name, std::string& known) {
  known.clear();
  if (name.empty()) return CalendarByUid(root, ProjectCalendarUid(root));
  for (pugi::xml_node c : root.child("Calendars").children("Calendar")) {
    if (SameCalendarName(TextOf(c.child("Name")), name)) return c;
    known += (known.empty() ? "" : ", ") + std::string(TextOf(c.child("Name")));
  }
  return {};
}

pugi::xml_node WeekDaysOf(pugi::xml_node calendar) {
  if (pugi::xml_node week = calendar.child("WeekDays")) return week;
  for (const char* later : {"Exceptions", "WorkWeeks"}) {
    if (pugi::xml_node next = calendar.child(later))
      return calendar.insert_child_before("WeekDays", next);
  }
  return calendar.append_child("WeekDays");
}

pugi::xml_node ExceptionsListOf(pugi::xml_node calendar) {
  if (pugi::xml_node list = calendar.child("Exceptions")) return list;
  if (pugi::xml_node week = calendar.child("WeekDays"))
    return calendar.insert_child_after("Exceptions", week);
  if (pugi::xml_node next = calendar.child("WorkWeeks"))
    return calendar.insert_child_before("Exceptions", next);
  return calendar.append_child("Exceptions");
}

}  // namespace lunavant::workbench::detail
