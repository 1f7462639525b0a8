// SPDX-License-Identifier: MIT
// Values as MSPDI writes them: date-times, durations, whole numbers, and the schema's order of the
// elements the workbench writes. Shared by the readers and the saver of project files.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

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

// The children of Project, of Task, of a custom-field definition (ExtendedAttributes/
// ExtendedAttribute) and of a predecessor link, in the order of the 2003 schema.
std::span<const std::string_view> ProjectChildOrder();
std::span<const std::string_view> TaskChildOrder();
std::span<const std::string_view> FieldDefinitionChildOrder();
std::span<const std::string_view> LinkChildOrder();

}  // namespace lunavant::workbench::detail
