// SPDX-License-Identifier: MIT
// Values as MSPDI writes them: date-times, durations, whole numbers, link types and lags, custom
// field values, and the schema's order of the elements the workbench writes. Shared by the
// readers and the saver of project files.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "workbench/model/field_catalog.h"
#include "workbench/model/task.h"
#include "workbench/schedule/calendar.h"

namespace lunavant::workbench::detail {

// "2004-03-15T08:00:00" (seconds are read and dropped), with the fraction and time-zone
// designator xsd:dateTime allows ("...00.000", "...00Z", "...00+03:00"), which are dropped too:
// the clock time stands as written. Nullopt for any other form or an impossible date.
std::optional<Moment> ReadMspdiDate(std::string_view text);
std::string MspdiDateText(Moment when);
// "08:00:00" as minutes of the day; nullopt for any other form.
std::optional<std::int32_t> ReadMspdiTime(std::string_view text);
// "PT8H30M0S" (a leading '-' allowed, seconds may have a fraction) as whole minutes; nullopt for
// any other form or more minutes than a project can hold.
std::optional<std::int64_t> ReadMspdiDuration(std::string_view text);
std::string MspdiDurationText(std::int64_t minutes);
// Whether a DurationFormat or LagFormat code counts on the clock (elapsed): 3 minutes, 5 hours,
// 7 days, 9 weeks, 11 months, the next even code the same elapsed, 19 and 20 percent; 32 more
// marks an estimate.
bool IsElapsedFormat(std::int64_t code);
// A whole number within [low, high], optional sign, nothing else.
std::optional<std::int64_t> ReadWholeNumber(std::string_view text, std::int64_t low,
                                            std::int64_t high);

// One below the largest 32-bit number, so that the next task's UID still fits.
inline constexpr std::int64_t kMaxUid = 0x7FFFFFFE;
// The range of a LinkLag, in tenths of a minute.
inline constexpr std::int64_t kMaxLinkLag = 1'000'000'000'000;

// A link's Type code (0 FF, 1 FS, 2 SF, 3 SS; nullopt, for a missing or unreadable code, is
// FS) and back.
LinkType LinkTypeOf(std::optional<std::int64_t> code);
int LinkTypeCode(LinkType type);
// A LagFormat code as the model counts lags; an unreadable code counts working time. Back, a
// save writes days (7), elapsed days (8) or percent (19).
LagFormat LagFormatOf(std::string_view code_text);
std::string_view LagFormatCode(LagFormat format);
// The model's lag from `LinkLag`, which counts tenths of a minute, or whole percent for a
// percentage lag; and back.
std::int64_t LagOf(std::int64_t link_lag, LagFormat format);
std::int64_t LinkLagOf(std::int64_t lag, LagFormat format);

// The task custom fields whose values a file keeps in ExtendedAttribute elements: Text, Start,
// Finish, Date, Number, Flag, Cost and Duration with their number. Nullptr for any other field.
const FieldInfo* CustomValueField(std::int64_t id);
// A custom value's text in a file as the model stores it: costs count hundredths, durations
// minutes, a flag is 1 or 0. Nullopt when the text is none of its kind's: it stays in the file.
std::optional<StoredValue> ReadCustomValue(FieldKind kind, std::string_view text,
                                           std::int64_t minutes_per_day);
// The text a save writes for a custom value; empty for no value (an empty text, No, zero), which
// the file leaves out.
std::string CustomValueText(FieldKind kind, const StoredValue& value, std::int64_t minutes_per_day);

// The plain baseline's amounts the model keeps, by their element in the task's Baseline.
struct BaselineAmount {
  const char* element;
  host::FieldId field;
  FieldKind kind;
};
inline constexpr BaselineAmount kBaselineAmounts[] = {
    {"Duration", field::kBaselineDuration, FieldKind::kDuration},
    {"Work", field::kBaselineWork, FieldKind::kDuration},
    {"Cost", field::kBaselineCost, FieldKind::kCost},
};

// The children of Project, of Task, of a custom-field definition (ExtendedAttributes/
// ExtendedAttribute) and of a predecessor link, in the order of the 2003 schema.
std::span<const std::string_view> ProjectChildOrder();
std::span<const std::string_view> TaskChildOrder();
std::span<const std::string_view> FieldDefinitionChildOrder();
std::span<const std::string_view> LinkChildOrder();

}  // namespace lunavant::workbench::detail
