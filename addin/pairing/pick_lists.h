// SPDX-License-Identifier: MIT
// The pick lists of the add and remove dialogs, filled from the active project's task tables and
// the pair registry, and the choices made in them turned back into field identifiers.
//
//   FillGregFieldList(dates, project.CurrentTable(), slot);    // the unpaired date columns
//   FillHijriFieldList(texts, slot);                           // the free custom text fields
//   ... the dialog writes ChosenGregField, ChosenHijriField and ChosenHijriTitle ...
//   ResolveAddChoice(hijri_field, greg_field, title);
//
// The fillers only append: they never clear a list. Nothing is caught here: a failing host call
// reaches the caller as host::HostError, and what was appended until then stays. Every operation
// that consults the registry fails with kSubscriptOutOfRange for a slot outside 0..100, and every
// filler fails with kObjectRequired when the host has no application or no active project.
#pragma once

#include <string>
#include <string_view>

#include "addin/host/list_control.h"
#include "addin/host/object_model.h"
#include "addin/pairing/pair_registry.h"

namespace lunavant::pairing {

// Appends the host's name of each column of the named table that shows a date field of
// GregDateFields not yet paired in the slot, in table order; a field shown twice is listed twice.
void FillGregFieldList(host::ListControl& list, std::string_view table_name, ProjectSlot slot);

// Appends, in catalogue order, the host's name of each custom text field that has no alias and no
// formula, is not paired in the slot, holds no text on any task, and is shown by no task table
// other than one named exactly "Export".
void FillHijriFieldList(host::ListControl& list, ProjectSlot slot);

// Appends the shown name (the alias, else the host's name) of each column of the named table whose
// field is paired in the slot, unless the list already holds that exact name; a name appended for
// the first time goes into `name_map` with its text field, unless the map has the key in some
// letter case already.
void FillAssignedHijriList(host::ListControl& list, FieldMap& name_map, std::string_view table_name,
                           ProjectSlot slot);

// From ChosenGregField and ChosenHijriField, the identifiers the host has for those names; from
// ChosenHijriTitle the column title, or when it is empty "Hijri" followed by the host's name of the
// date field. Fails as the host does for a name it does not know; the outputs set before stay set.
void ResolveAddChoice(host::FieldId& hijri_field, host::FieldId& greg_field, std::string& title);

// `picked_name` is ChosenHijriField, as typed. The text field is the one `offered` lists under
// that name, letter case ignored as the dialog ignores it: looked up in `name_map`, or, for a
// name listed exactly in a spelling the map could not keep, among the slot's pairs by its shown
// name. Its date field comes from the slot's HijriToGreg. When the name ties to no one listed
// field (it is not listed, or it matches several listed names in letter case only and none
// exactly), both identifiers keep what the caller passed. `offered` and `name_map` must come
// from one FillAssignedHijriList. Fails with kInvalidProcedureCall for a text field that is not
// paired; the outputs set before stay set.
void ResolveRemoveChoice(const host::ListControl& offered, const FieldMap& name_map,
                         ProjectSlot slot, host::FieldId& hijri_field, host::FieldId& greg_field,
                         std::string& picked_name);

}  // namespace lunavant::pairing
