// SPDX-License-Identifier: MIT
// Every message of the registry file and the add-in manager, in one place.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lunavant::workbench::addin_message {

// Basic-runtime number of a file whose content cannot be read.
inline constexpr std::int32_t kInvalidFileFormat = 321;

// The title of the manager's message boxes.
inline constexpr std::string_view kManagerTitle = "COM Add-Ins";

inline constexpr std::string_view kNoHeader = "the file does not start with REGEDIT4";
inline constexpr std::string_view kValueOutsideKey = "a value comes before the first key";
inline constexpr std::string_view kNotCurrentUser = "only keys of HKEY_CURRENT_USER are kept here";
inline constexpr std::string_view kRemovalEntry = "a removal entry has no place in a stored file";
inline constexpr std::string_view kBadKeyLine = "a key line must read [HKEY_CURRENT_USER\\...]";
inline constexpr std::string_view kBadValueLine =
    "a value line must read \"Name\"=\"text\", \"Name\"=dword:00000000 or @=\"text\"";
inline constexpr std::string_view kBadNumber = "a dword value needs 1 to 8 hexadecimal digits";
inline constexpr std::string_view kLineBreakInText =
    "A registry text cannot hold a line break or a zero.";
inline constexpr std::string_view kEmptyKey = "A registry key needs a name.";

inline std::string Malformed(std::string_view file, std::int32_t line, std::string_view problem) {
  return std::string(file) + ", line " + std::to_string(line) + ": " + std::string(problem);
}
inline std::string Unreadable(std::string_view file) {
  return "The registry file " + std::string(file) + " cannot be read.";
}
inline std::string Unwritable(std::string_view file, std::string_view reason) {
  return "The registry file " + std::string(file) + " cannot be written: " + std::string(reason);
}
inline std::string NotRegistered(std::string_view prog_id) {
  return "The add-in " + std::string(prog_id) +
         " has no module registered (no InprocServer32 of its class).";
}
inline std::string NotListed(std::string_view prog_id) {
  return "There is no add-in " + std::string(prog_id) + " in the registry.";
}
inline std::string CannotLoad(std::string_view friendly_name, std::string_view reason) {
  return "The add-in \"" + std::string(friendly_name) +
         "\" could not be loaded and was not connected.\n" + std::string(reason);
}
inline std::string NoAddInMade(std::string_view module) {
  return "The module " + std::string(module) + " made no add-in object.";
}
inline std::string RegistryUnusable(std::string_view reason) {
  return "The add-ins were not loaded: the registry is not readable.\n" + std::string(reason);
}

}  // namespace lunavant::workbench::addin_message
