// SPDX-License-Identifier: MIT
// Every message of the project-file loader and saver, in one place, so that tests compare whole
// texts. A message names what is wrong; the file and the line are added by ProjectFileError.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lunavant::workbench::file_message {

inline constexpr std::string_view kNotFound = "The file does not exist.";
inline constexpr std::string_view kNotAProject =
    "This is not a project file: its root element is not Project.";
inline constexpr std::string_view kNestedTooDeeply =
    "Elements are nested more deeply than any project file nests them.";
inline constexpr std::string_view kEmptyFile = "The file is empty.";
inline constexpr std::string_view kTasksNotFound =
    "The task elements cannot be told apart from the markup around them.";

std::string NotXml(std::string_view parser_description);
std::string Unreadable(std::string_view reason);
std::string UnknownDateForm(std::string_view element, std::string_view text);
std::string UnknownDurationForm(std::string_view element, std::string_view text);
std::string BadNumber(std::string_view element, std::string_view text);
std::string MissingUid();
std::string DuplicateUid(std::int64_t uid);
std::string LinkToMissingTask(std::int64_t task_uid, std::int64_t predecessor_uid);
std::string BadOutlineLevel(std::int64_t uid, std::int64_t level, std::int64_t allowed);
std::string BadTableInstruction(std::string_view text);
// Not a failure: what the reading took in place of a value of 0.
std::string ZeroUnitTakenAsDefault(std::string_view element);
std::string SaveFailed(std::string_view step, std::string_view reason);

}  // namespace lunavant::workbench::file_message
