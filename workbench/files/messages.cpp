// SPDX-License-Identifier: MIT
#include "workbench/files/messages.h"

namespace lunavant::workbench::file_message {

std::string NotXml(std::string_view parser_description) {
  return "This is not well-formed XML: " + std::string(parser_description) + ".";
}

std::string Unreadable(std::string_view reason) {
  return "The file cannot be read: " + std::string(reason) + ".";
}

std::string UnknownDateForm(std::string_view element, std::string_view text) {
  return "The " + std::string(element) + " \"" + std::string(text) +
         "\" is not a date of the form YYYY-MM-DDThh:mm:ss.";
}

std::string UnknownDurationForm(std::string_view element, std::string_view text) {
  return "The " + std::string(element) + " \"" + std::string(text) +
         "\" is not a duration of the form PThHmMsS.";
}

std::string BadNumber(std::string_view element, std::string_view text) {
  return "The " + std::string(element) + " \"" + std::string(text) +
         "\" is not a number in the range the project allows.";
}

std::string MissingUid() { return "A task has no UID."; }

std::string DuplicateUid(std::int64_t uid) {
  return "Two tasks have the UID " + std::to_string(uid) + ".";
}

std::string LinkToMissingTask(std::int64_t task_uid, std::int64_t predecessor_uid) {
  return "The task with UID " + std::to_string(task_uid) + " is linked to a task with UID " +
         std::to_string(predecessor_uid) + ", which the project does not have.";
}

std::string BadOutlineLevel(std::int64_t uid, std::int64_t level, std::int64_t allowed) {
  return "The task with UID " + std::to_string(uid) + " has the outline level " +
         std::to_string(level) + "; the task above allows 1 to " + std::to_string(allowed) + ".";
}

std::string BadTableInstruction(std::string_view text) {
  return "The task-table instruction \"" + std::string(text) + "\" cannot be read.";
}

std::string ZeroUnitTakenAsDefault(std::string_view element) {
  const std::string_view standard = element == "MinutesPerDay"    ? "480"
                                    : element == "MinutesPerWeek" ? "2400"
                                                                  : "20";
  return "The file gives " + std::string(element) + " as 0; the default " + std::string(standard) +
         " is taken instead.";
}

std::string SaveFailed(std::string_view step, std::string_view reason) {
  return "The project was not saved (" + std::string(step) + ": " + std::string(reason) +
         "); the file on disk is unchanged.";
}

}  // namespace lunavant::workbench::file_message
