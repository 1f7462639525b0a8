// SPDX-License-Identifier: MIT
// The host's task fields: identifier, display name and kind of every field the workbench knows,
// looked up either way. Names match without regard to letter case, as the host matches them.
//
//   const FieldInfo* start = FindFieldByName("start");   // start->id == field::kStart
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "addin/host/field_ids.h"
#include "addin/host/object_model.h"

namespace lunavant::workbench {

enum class FieldKind { kText, kDate, kNumber, kFlag, kDuration, kCost, kOther };

struct FieldInfo {
  host::FieldId id;
  std::string_view name;
  FieldKind kind;
};

// Identifiers of the fields the workbench models itself (and the others it names); every other
// field is stored as its kind.
namespace field {
using namespace host::field;  // NOLINT(google-build-using-namespace): one list, two names
}  // namespace field

// Every task field, in the order of the reference list.
std::span<const FieldInfo> AllTaskFields();

// Null when the host has no such field.
const FieldInfo* FindField(host::FieldId id);
const FieldInfo* FindFieldByName(std::string_view name);

// As FindField, but an unknown identifier fails with kHostFailure.
const FieldInfo& FieldOrRaise(host::FieldId id);

// 0..29 for Text1..Text30, -1 for every other field.
int CustomTextIndex(host::FieldId id);
// The identifier of Text1..Text30 for index 0..29.
host::FieldId CustomTextField(int index);
inline constexpr int kCustomTextCount = 30;

// Whether the host computes the field itself, so that a write is refused.
bool IsCalculatedField(host::FieldId id);

// Whether a date field's value defaults to the end of the working day when only a date is given
// (the finish-like dates); the others take the start of the working day.
bool IsFinishLikeDate(const FieldInfo& info);

// Letter-case-blind comparison of names, as the host compares field and table names.
bool NamesEqual(std::string_view a, std::string_view b);

}  // namespace lunavant::workbench
