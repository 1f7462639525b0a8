// SPDX-License-Identifier: MIT
// The host's task fields: identifier, display name and kind of every field the workbench knows,
// looked up either way. Names match without regard to letter case, as the host matches them.
//
//   const FieldInfo* start = FindFieldByName("start");   // start->id == field::kStart
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "addin/host/object_model.h"

namespace lunavant::workbench {

enum class FieldKind { kText, kDate, kNumber, kFlag, kDuration, kCost, kOther };

struct FieldInfo {
  host::FieldId id;
  std::string_view name;
  FieldKind kind;
};

// Identifiers of the fields the workbench models itself; every other field is stored as its kind.
namespace field {
inline constexpr host::FieldId kName = 188743694;
// Marks of how the task is scheduled: "Manual" (Task::IsManual), "File dates" (DatesHeldBy).
inline constexpr host::FieldId kIndicators = 188743885;
inline constexpr host::FieldId kConstraintType = 188743697;
inline constexpr host::FieldId kConstraintDate = 188743698;
inline constexpr host::FieldId kCritical = 188743699;
inline constexpr host::FieldId kFreeSlack = 188743701;
inline constexpr host::FieldId kTotalSlack = 188743702;
inline constexpr host::FieldId kId = 188743703;
inline constexpr host::FieldId kMilestone = 188743704;
inline constexpr host::FieldId kDuration = 188743709;
inline constexpr host::FieldId kStart = 188743715;
inline constexpr host::FieldId kFinish = 188743716;
inline constexpr host::FieldId kEarlyStart = 188743717;
inline constexpr host::FieldId kEarlyFinish = 188743718;
inline constexpr host::FieldId kLateStart = 188743719;
inline constexpr host::FieldId kLateFinish = 188743720;
inline constexpr host::FieldId kActualStart = 188743721;
inline constexpr host::FieldId kActualFinish = 188743722;
inline constexpr host::FieldId kBaselineStart = 188743723;
inline constexpr host::FieldId kBaselineFinish = 188743724;
inline constexpr host::FieldId kBaselineWork = 188743681;
inline constexpr host::FieldId kBaselineCost = 188743686;
inline constexpr host::FieldId kBaselineDuration = 188743707;
inline constexpr host::FieldId kPredecessors = 188743727;
inline constexpr host::FieldId kSuccessors = 188743728;
inline constexpr host::FieldId kText1 = 188743731;
inline constexpr host::FieldId kOutlineLevel = 188743765;
inline constexpr host::FieldId kUniqueId = 188743766;
inline constexpr host::FieldId kSummary = 188743772;
inline constexpr host::FieldId kCreated = 188743773;
inline constexpr host::FieldId kOutlineNumber = 188743782;
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
