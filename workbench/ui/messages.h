// SPDX-License-Identifier: MIT
// Every message of the workbench's command bars and dialog toolkit, in one place. Each failure
// is raised with host::kHostFailure unless the raising code says otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "addin/host/error.h"

namespace lunavant::workbench::ui_message {

// A list text set on a control that holds no list: the runtime's own text.
inline constexpr std::string_view kNotADropDownList = host::RuntimeMessage(host::kTypeMismatch);
inline constexpr std::string_view kObjectDeleted = "The object has been deleted.";
inline constexpr std::string_view kFormAlreadyShown = "Form already displayed; can't show modally";
inline constexpr std::string_view kFormCannotBeShown = "The form could not be shown.";
inline constexpr std::string_view kScriptEndedWithFormOpen =
    "The script ended with the form still open; it was closed by its window.";
inline constexpr std::string_view kFormClosedBeforeScriptEnd =
    "The form closed before the script's last actions.";

inline std::string BarExists(std::string_view name) {
  return "A command bar named \"" + std::string(name) + "\" already exists.";
}
inline std::string NoSuchControl(std::string_view name) {
  return "The form has no control named \"" + std::string(name) + "\".";
}
inline std::string DuplicateControl(std::string_view name) {
  return "Two controls of the form are named \"" + std::string(name) + "\".";
}
inline std::string NoSuchEntry(std::string_view control, std::int32_t index, std::int32_t count) {
  return "The list \"" + std::string(control) + "\" has no entry " + std::to_string(index) +
         " (it has " + std::to_string(count) + ").";
}
inline std::string NotAButton(std::string_view name) {
  return "The control \"" + std::string(name) + "\" is not a push button.";
}
inline std::string NotEditable(std::string_view name) {
  return "The control \"" + std::string(name) + "\" takes no text.";
}
inline std::string WrongForm(std::string_view expected, std::string_view shown) {
  return "The script was written for the form \"" + std::string(expected) + "\", but \"" +
         std::string(shown) + "\" was shown.";
}

}  // namespace lunavant::workbench::ui_message
