// SPDX-License-Identifier: MIT
// The pairs of each open project: which custom text field holds the Hijri text of which date
// field, one map per direction, in 101 slots selected by the project's index number. In memory
// only; a project keeps its pairs as the aliases of its text fields. Also the other process-wide
// flags and dialog choices of the add-in.
//
//   AddPair(text_field, date_field, slot);
//   if (CollectionHasKey(KeyText(field), GregToHijri(slot))) ...
#pragma once

#include <cstdint>
#include <string>

#include "addin/base/keyed_collection.h"
#include "addin/host/object_model.h"

namespace lunavant::pairing {

// A project's index number as the host reports it; 0 to 100 select a slot.
using ProjectSlot = std::int32_t;
inline constexpr ProjectSlot kLastSlot = 100;

using FieldMap = base::KeyedCollection<host::FieldId>;

// The slot's maps, created empty on first use. Fail with kSubscriptOutOfRange outside 0..100.
FieldMap& HijriToGreg(std::int64_t slot);  // text field key -> date field
FieldMap& GregToHijri(std::int64_t slot);  // date field key -> text field

// Adds each direction only when its key is absent. Fails with kSubscriptOutOfRange, before any
// map changes, for a slot outside 0..100.
void AddPair(host::FieldId hijri_field, host::FieldId greg_field, ProjectSlot slot);
// Removes each direction present; absent keys are passed over.
void RemovePair(host::FieldId hijri_field, host::FieldId greg_field, ProjectSlot slot);
// Empties both maps of the slot.
void ClearSlot(std::int64_t slot);

// Makes the next recalculation rewrite every Hijri field.
bool ForceRefresh();
void SetForceRefresh(bool value);

// The names and title the user picked in the add and remove dialogs.
std::string& ChosenGregField();
std::string& ChosenHijriField();
std::string& ChosenHijriTitle();

// Puts every process-wide global of the add-in (catalogues, pairs, flags, choices) back into the
// state of a fresh process. The add-in itself never calls it: its globals live as long as the
// process, across connections. Test fixtures do, before every test.
void ResetProcessState();

}  // namespace lunavant::pairing
