// SPDX-License-Identifier: MIT
// Every message the workbench raises, in one place, so that tests compare whole texts and a
// change of wording happens once. Each failure is raised with host::kHostFailure unless the
// raising code says otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lunavant::workbench::message {

inline constexpr std::string_view kNoProjectOpen = "No project is open.";
inline constexpr std::string_view kNoColumnSelected = "No column of the active view is selected.";
inline constexpr std::string_view kProjectNotOpen = "The project is not open in this workbench.";
inline constexpr std::string_view kProjectOfOtherApplication =
    "The project belongs to another workbench application.";
inline constexpr std::string_view kEmptyTableName = "A task table needs a name.";
inline constexpr std::string_view kNoWorkingDays = "A working week needs at least one working day.";
inline constexpr std::string_view kBadWorkingHours =
    "A working day must start before it ends, within the day.";

// The title of the workbench's own message boxes.
inline constexpr std::string_view kWorkbenchTitle = "Workbench";

// Asked with Yes, No and Cancel before an unsaved project closes.
std::string SaveChangesBeforeClose(std::string_view project_name);
std::string UnknownFieldId(std::int32_t field);
std::string UnknownFieldName(std::string_view name);
std::string NotCustomTextField(std::string_view field_name);
std::string AliasTaken(std::string_view alias, std::string_view other_field);
std::string CalculatedField(std::string_view field_name);
std::string SummaryCalculated(std::string_view field_name);
std::string UnreadableDate(std::string_view field_name, std::string_view text);
std::string DateNeedsDay(std::string_view field_name, std::string_view text);
std::string DateOutOfRange(std::string_view field_name, std::string_view text);
std::string DateRequired(std::string_view field_name);
std::string UnreadableNumber(std::string_view field_name, std::string_view text);
std::string UnreadableDuration(std::string_view field_name, std::string_view text);
std::string UnreadableFlag(std::string_view field_name, std::string_view text);
std::string UnreadableConstraintType(std::string_view text);
std::string FinishBeforeStart(std::string_view text);
std::string UnreadableLink(std::string_view field_name, std::string_view text);
std::string LinkToMissingTask(std::string_view field_name, std::int32_t id);
std::string LinkToItself(std::int32_t id);
std::string CircularLinks(std::int32_t id);
std::string ScheduleOutOfRange();
std::string NoSuchCalendar(std::int32_t index);
std::string UnknownTable(std::string_view name);
std::string TableNameTaken(std::string_view name);
std::string BadInsertPosition(std::int32_t insert_position, std::int32_t count);
std::string BadColumnLayout(std::string_view what, std::int32_t value);
std::string NoSuchColumn(std::string_view table, std::int32_t position);
std::string NoColumnOfField(std::string_view table, std::string_view field_name);
std::string FieldCannotBeCleared(std::string_view field_name);
std::string BadOutlineLevel(std::int32_t level, std::int32_t allowed);
std::string NoSuchItem(std::string_view what, std::int32_t position, std::int32_t count);

}  // namespace lunavant::workbench::message
