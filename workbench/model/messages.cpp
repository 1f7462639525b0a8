// SPDX-License-Identifier: MIT
#include "workbench/model/messages.h"

namespace lunavant::workbench::message {

namespace {

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  out.append(text);
  out += '"';
  return out;
}

}  // namespace

std::string SaveChangesBeforeClose(std::string_view project_name) {
  return "Do you want to save the changes you made to " + Quoted(project_name) + "?";
}

std::string UnknownFieldId(std::int32_t field) {
  return "The field identifier " + std::to_string(field) + " is not a task field of this host.";
}

std::string UnknownFieldName(std::string_view name) {
  return Quoted(name) + " is not the name of a task field.";
}

std::string NotCustomTextField(std::string_view field_name) {
  return "The field " + std::string(field_name) +
         " has no alias or formula: only the custom text fields Text1 to Text30 have them.";
}

std::string AliasTaken(std::string_view alias, std::string_view other_field) {
  return "The name " + Quoted(alias) + " is already the name of the field " +
         std::string(other_field) + ".";
}

std::string CalculatedField(std::string_view field_name) {
  return "The field " + std::string(field_name) + " is calculated by the host and cannot be set.";
}

std::string SummaryCalculated(std::string_view field_name) {
  return "The field " + std::string(field_name) +
         " of a summary task is calculated from its subtasks and cannot be set.";
}

std::string UnreadableDate(std::string_view field_name, std::string_view text) {
  return Quoted(text) + " is not a date the field " + std::string(field_name) + " can take.";
}

std::string DateNeedsDay(std::string_view field_name, std::string_view text) {
  return Quoted(text) + " is a time of day without a date; the field " + std::string(field_name) +
         " needs a date.";
}

std::string DateOutOfRange(std::string_view field_name, std::string_view text) {
  return "The date " + Quoted(text) + " for the field " + std::string(field_name) +
         " lies outside the range the host accepts, 1 January 1984 to 31 December 2149.";
}

std::string DateRequired(std::string_view field_name) {
  return "The field " + std::string(field_name) + " always holds a date; it cannot be NA.";
}

std::string UnreadableNumber(std::string_view field_name, std::string_view text) {
  return Quoted(text) + " is not a number the field " + std::string(field_name) + " can take.";
}

std::string UnreadableDuration(std::string_view field_name, std::string_view text) {
  return Quoted(text) + " is not a duration in whole days the field " + std::string(field_name) +
         " can take.";
}

std::string UnreadableFlag(std::string_view field_name, std::string_view text) {
  return Quoted(text) + " is not Yes or No, which the field " + std::string(field_name) + " takes.";
}

std::string UnreadableConstraintType(std::string_view text) {
  return Quoted(text) + " is not a constraint type.";
}

std::string FinishBeforeStart(std::string_view text) {
  return "The finish " + Quoted(text) + " lies before the task's start.";
}

std::string UnreadableLink(std::string_view field_name, std::string_view text) {
  return Quoted(text) + " is not a list of links the field " + std::string(field_name) +
         " can take, such as \"3FS+2d;5SS\".";
}

std::string LinkToMissingTask(std::string_view field_name, std::int32_t id) {
  return "The field " + std::string(field_name) + " names task " + std::to_string(id) +
         ", which the project does not have.";
}

std::string LinkToItself(std::int32_t id) {
  return "Task " + std::to_string(id) + " cannot be linked to itself.";
}

std::string CircularLinks(std::int32_t id) {
  return "Task " + std::to_string(id) +
         " is part of a circular chain of links and outline; the project was not rescheduled.";
}

std::string ScheduleOutOfRange() {
  return "The schedule would end after 31 December 2149; the project was not rescheduled.";
}

std::string NoSuchCalendar(std::int32_t index) {
  return "The project has no working calendar number " + std::to_string(index) + ".";
}

std::string UnknownTable(std::string_view name) {
  return "The project has no task table named " + Quoted(name) + ".";
}

std::string TableNameTaken(std::string_view name) {
  return "The project already has a task table named " + Quoted(name) + ".";
}

std::string BadInsertPosition(std::int32_t insert_position, std::int32_t count) {
  return "The insertion position " + std::to_string(insert_position) +
         " is not valid for a table of " + std::to_string(count) + " columns.";
}

std::string BadColumnLayout(std::string_view what, std::int32_t value) {
  return "The column " + std::string(what) + " " + std::to_string(value) + " is not valid.";
}

std::string NoSuchColumn(std::string_view table, std::int32_t position) {
  return "The table " + std::string(table) + " has no column " + std::to_string(position) + ".";
}

std::string NoColumnOfField(std::string_view table, std::string_view field_name) {
  return "The table " + std::string(table) + " in the active view has no column of the field " +
         std::string(field_name) + ".";
}

std::string FieldCannotBeCleared(std::string_view field_name) {
  return "The contents of the field " + std::string(field_name) + " cannot be cleared.";
}

std::string BadOutlineLevel(std::int32_t level, std::int32_t allowed) {
  return "The outline level " + std::to_string(level) + " is not valid here; it must lie in 1.." +
         std::to_string(allowed) + ".";
}

std::string NoSuchItem(std::string_view what, std::int32_t position, std::int32_t count) {
  return "There is no " + std::string(what) + " " + std::to_string(position) + "; there are " +
         std::to_string(count) + ".";
}

}  // namespace lunavant::workbench::message
