// SPDX-License-Identifier: MIT
// The fixed vocabulary of pairing: which date fields can be shown in Hijri, which custom text
// fields may carry the Hijri text, the default title that marks a text field as the partner of a
// date field, the dates the host computes itself, and the weekday names. Filled by InitCatalogues
// (from the event object's constructor) and only read afterwards; empty before that.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "addin/base/keyed_collection.h"
#include "addin/host/object_model.h"

namespace lunavant::pairing {

// An item of HijriTitleIndex: a date field identifier under a title, a title under an identifier.
using TitleIndexItem = std::variant<host::FieldId, std::string>;

// The twelve pairable date fields, and their default Hijri titles at the same index.
const std::vector<host::FieldId>& GregDateFields();
const std::vector<std::string>& HijriFieldTitles();
// The thirty custom task text fields.
const std::vector<host::FieldId>& CustomTextFields();
// The date fields the host computes itself: never written with a converted date.
const std::vector<host::FieldId>& ReadOnlyDateFields();
// Both directions: title -> date field identifier, decimal identifier -> title. 24 entries.
const base::KeyedCollection<TitleIndexItem>& HijriTitleIndex();
// "0" = "Sun" to "6" = "Sat".
const base::KeyedCollection<std::string>& WeekdayNames();

// Fills every catalogue. Lists are assigned anew; keyed entries are added only when absent, so a
// second call adds nothing.
void InitCatalogues();

// Adds, for each index of `date_fields`, title -> identifier and identifier -> title, each only
// when its key is absent. Fails with kSubscriptOutOfRange when `titles` is shorter.
void BuildTitleIndex(const std::vector<host::FieldId>& date_fields,
                     const std::vector<std::string>& titles,
                     base::KeyedCollection<TitleIndexItem>& index);

// The title index entry as a field identifier or a title; fail with kTypeMismatch for the other
// kind and kInvalidProcedureCall for an absent key.
host::FieldId DateFieldOfTitle(std::string_view title);
std::string TitleOfDateField(host::FieldId date_field);

namespace detail {
// Empties every catalogue: the state of a fresh process.
void ResetCatalogues();
}  // namespace detail

}  // namespace lunavant::pairing
