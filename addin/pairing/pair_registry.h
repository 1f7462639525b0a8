// SPDX-License-Identifier: MIT
// The pairs of each open project: which custom text field holds the Hijri text of which date
// field, one map per direction, in 101 slots selected by the project's index number, and which
// project each slot's pairs were built for. In memory only; a project keeps its pairs as the
// aliases of its text fields. Also the other process-wide flags and dialog choices of the add-in.
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

// The project the slot's pairs were built for; null when unknown or outside 0..100. Positions
// shift when an earlier project closes, so a slot's pairs are trusted only for the project that
// owns it. The owner is only compared, never reached through: it is forgotten as it closes.
const host::Project* SlotOwner(ProjectSlot slot);
// Makes `project` the owner of `slot`, emptying the slot when it held another project's pairs and
// any other slot still holding pairs of `project` from an earlier position. Fails with
// kSubscriptOutOfRange, before anything changes, outside 0..100.
void ClaimSlot(const host::Project& project, ProjectSlot slot);
// Forgets `project` as the owner of any slot, or every owner when it is null.
void ForgetOwner(const host::Project* project);

// Makes the next recalculation rewrite every Hijri field.
bool ForceRefresh();
void SetForceRefresh(bool value);

// The names and title the user picked in the add and remove dialogs.
std::string& ChosenGregField();
std::string& ChosenHijriField();
std::string& ChosenHijriTitle();

// Puts every process-wide global of the add-in (catalogues, pairs, owners, flags, choices) back
// into the state of a fresh process. The add-in itself never calls it: its globals live as long as
// the process, across connections. Test fixtures do, before every test.
void ResetProcessState();

}  // namespace lunavant::pairing
