// SPDX-License-Identifier: MIT
// The shell's fixed texts: the registration record, the toolbar and its buttons, and every message
// of the Add and Remove commands, exactly as the user sees them.
#pragma once

#include <cstdint>
#include <string_view>

namespace lunavant::shell {

// Registration.
inline constexpr std::string_view kProgId = "Lunavant.Connect";
inline constexpr std::string_view kClassId = "{5C0A7E3B-9D41-4F2A-B6E8-1A7C3D2F9B64}";
inline constexpr std::string_view kAddInKey =
    "Software\\Microsoft\\Office\\MS Project\\Addins\\Lunavant.Connect";
inline constexpr std::string_view kFriendlyName = "Lunavant";
inline constexpr std::string_view kDescription = "COM Add-In for Microsoft Office Project 2003";
inline constexpr std::uint32_t kLoadBehavior = 3;

// The toolbar.
inline constexpr std::string_view kBarName = "Lunavant";
inline constexpr std::string_view kStandardBar = "Standard";
inline constexpr std::string_view kDatabaseBar = "Database";

struct ButtonText {
  std::string_view tag;
  std::string_view caption;
  std::string_view tooltip;
  std::string_view face;
};
inline constexpr ButtonText kAddButton = {"Add Hijri", "Add Hijri", "Add Hijri Fields",
                                          "Lunavant_Add.bmp"};
inline constexpr ButtonText kRemoveButton = {"Remove Hijri", "Remove Hijri", "Remove Hijri Fields",
                                             "Lunavant_Remove.bmp"};
inline constexpr ButtonText kRefreshButton = {"Refresh Hijri", "Refresh Hijri",
                                              "Refresh Hijri Fields", "Lunavant_Refresh.bmp"};

// The Add command.
inline constexpr std::string_view kNoGregorianFields =
    "There are no Gregorian date fields in this table that have not been assigned Hijri Fields";
inline constexpr std::string_view kRequiredFieldEmpty = "You left one of the required fields empty";
inline constexpr std::string_view kHijriFieldNotOffered =
    "The Hijri field name you have specified is either invalid or is not available; please make "
    "sure you choose one of the text fields available in the list";
inline constexpr std::string_view kGregorianFieldNotOffered =
    "The Gregorian field name you have sepcified is either invalid or is not available; please "
    "make sure you choose one of the date fields available in the list";

// The Remove command.
inline constexpr std::string_view kNoHijriFields =
    "There are no Hijri fields assigned to any custom text field in the current table";
inline constexpr std::string_view kChooseFieldToRemove =
    "You Need to Choose a Hijri Field To Remove";
inline constexpr std::string_view kHijriFieldNotAssigned =
    "The Hijri field name you have specified is either invalid or has not been assigned; please "
    "make sure you choose a field name from the list of assigned text fields to release its "
    "binding";
inline constexpr std::string_view kConfirmRemoveBefore = "You are about to remove the Hijri field ";
inline constexpr std::string_view kConfirmRemoveAfter =
    " entirely from your active project, are you sure you want to continue?";

}  // namespace lunavant::shell
