// SPDX-License-Identifier: MIT
// The identifiers of the host's task fields that the add-in, the reference host and their tests
// name: the one list of them. A field's identifier is the host's, so it belongs to the contract.
#pragma once

#include <array>

#include "addin/host/object_model.h"

namespace lunavant::host::field {

inline constexpr FieldId kName = 188743694;
// The marks of how a task is scheduled.
inline constexpr FieldId kIndicators = 188743885;
inline constexpr FieldId kConstraintType = 188743697;
inline constexpr FieldId kConstraintDate = 188743698;
inline constexpr FieldId kCritical = 188743699;
inline constexpr FieldId kFreeSlack = 188743701;
inline constexpr FieldId kTotalSlack = 188743702;
inline constexpr FieldId kId = 188743703;
inline constexpr FieldId kMilestone = 188743704;
inline constexpr FieldId kDuration = 188743709;
inline constexpr FieldId kStart = 188743715;
inline constexpr FieldId kFinish = 188743716;
inline constexpr FieldId kEarlyStart = 188743717;
inline constexpr FieldId kEarlyFinish = 188743718;
inline constexpr FieldId kLateStart = 188743719;
inline constexpr FieldId kLateFinish = 188743720;
inline constexpr FieldId kActualStart = 188743721;
inline constexpr FieldId kActualFinish = 188743722;
inline constexpr FieldId kBaselineStart = 188743723;
inline constexpr FieldId kBaselineFinish = 188743724;
inline constexpr FieldId kBaselineWork = 188743681;
inline constexpr FieldId kBaselineCost = 188743686;
inline constexpr FieldId kBaselineDuration = 188743707;
inline constexpr FieldId kPredecessors = 188743727;
inline constexpr FieldId kSuccessors = 188743728;
inline constexpr FieldId kOutlineLevel = 188743765;
inline constexpr FieldId kUniqueId = 188743766;
inline constexpr FieldId kSummary = 188743772;
inline constexpr FieldId kCreated = 188743773;
inline constexpr FieldId kOutlineNumber = 188743782;
inline constexpr FieldId kStartVariance = 188743725;
inline constexpr FieldId kFinishVariance = 188743726;
inline constexpr FieldId kDurationVariance = 188743710;
inline constexpr FieldId kProject = 188743764;
inline constexpr FieldId kParentTask = 188743815;

// Text1..Text30: the first ten are scattered, Text11..Text30 follow one another.
inline constexpr std::array<FieldId, 30> kCustomText = {
    188743731, 188743734, 188743737, 188743740, 188743743, 188743746, 188743747, 188743748,
    188743749, 188743750, 188743997, 188743998, 188743999, 188744000, 188744001, 188744002,
    188744003, 188744004, 188744005, 188744006, 188744007, 188744008, 188744009, 188744010,
    188744011, 188744012, 188744013, 188744014, 188744015, 188744016};
inline constexpr FieldId kText1 = kCustomText[0];
inline constexpr FieldId kText2 = kCustomText[1];
inline constexpr FieldId kText3 = kCustomText[2];
inline constexpr FieldId kText4 = kCustomText[3];
inline constexpr FieldId kText5 = kCustomText[4];
inline constexpr FieldId kText6 = kCustomText[5];
inline constexpr FieldId kText7 = kCustomText[6];
inline constexpr FieldId kText8 = kCustomText[7];
inline constexpr FieldId kText9 = kCustomText[8];
inline constexpr FieldId kText10 = kCustomText[9];
inline constexpr FieldId kText11 = kCustomText[10];
inline constexpr FieldId kText12 = kCustomText[11];
inline constexpr FieldId kText13 = kCustomText[12];
inline constexpr FieldId kText14 = kCustomText[13];
inline constexpr FieldId kText15 = kCustomText[14];
inline constexpr FieldId kText16 = kCustomText[15];
inline constexpr FieldId kText17 = kCustomText[16];
inline constexpr FieldId kText18 = kCustomText[17];
inline constexpr FieldId kText19 = kCustomText[18];
inline constexpr FieldId kText20 = kCustomText[19];
inline constexpr FieldId kText21 = kCustomText[20];
inline constexpr FieldId kText22 = kCustomText[21];
inline constexpr FieldId kText23 = kCustomText[22];
inline constexpr FieldId kText24 = kCustomText[23];
inline constexpr FieldId kText25 = kCustomText[24];
inline constexpr FieldId kText26 = kCustomText[25];
inline constexpr FieldId kText27 = kCustomText[26];
inline constexpr FieldId kText28 = kCustomText[27];
inline constexpr FieldId kText29 = kCustomText[28];
inline constexpr FieldId kText30 = kCustomText[29];

}  // namespace lunavant::host::field
