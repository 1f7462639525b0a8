// SPDX-License-Identifier: MIT
#include "workbench/files/mspdi_values.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <utility>
#include <variant>

namespace lunavant::workbench::detail {

namespace {

// The schema's names, packed.
// clang-format off
constexpr std::string_view kProjectChildren[] = {
    "UID", "Name", "Title", "Subject", "Category", "Company", "Manager", "Author", "CreationDate",
    "Revision", "LastSaved", "ScheduleFromStart", "StartDate", "FinishDate", "FYStartDate",
    "CriticalSlackLimit", "CurrencyDigits", "CurrencySymbol", "CurrencySymbolPosition",
    "CalendarUID", "DefaultStartTime", "DefaultFinishTime", "MinutesPerDay", "MinutesPerWeek",
    "DaysPerMonth", "DefaultTaskType", "DefaultFixedCostAccrual", "DefaultStandardRate",
    "DefaultOvertimeRate", "DurationFormat", "WorkFormat", "EditableActualCosts",
    "HonorConstraints", "EarnedValueMethod", "InsertedProjectsLikeSummary",
    "MultipleCriticalPaths", "NewTasksEffortDriven", "NewTasksEstimated", "SplitsInProgressTasks",
    "SpreadActualCost", "SpreadPercentComplete", "TaskUpdatesResource", "FiscalYearStart",
    "WeekStartDay", "MoveCompletedEndsBack", "MoveRemainingStartsBack",
    "MoveRemainingStartsForward", "MoveCompletedEndsForward", "BaselineForEarnedValue",
    "AutoAddNewResourcesAndTasks", "StatusDate", "CurrentDate", "MicrosoftProjectServerURL",
    "Autolink", "NewTaskStartDate", "NewTasksAreManual", "DefaultTaskEVMethod", "ProjectExternallyEdited",
    "ExtendedCreationDate", "ActualsInSync", "RemoveFileProperties", "AdminProject",
    "OutlineCodes", "WBSMasks", "ExtendedAttributes", "Calendars", "Tasks", "Resources",
    "Assignments"};

constexpr std::string_view kTaskChildren[] = {
    "UID", "GUID", "ID", "Name", "Active", "Manual", "Type", "IsNull", "CreateDate", "Contact", "WBS", "WBSLevel",
    "OutlineNumber", "OutlineLevel", "Priority", "Start", "Finish", "Duration", "ManualStart",
    "ManualFinish", "ManualDuration", "DurationFormat",
    "Work", "Stop", "Resume", "ResumeValid", "EffortDriven", "Recurring", "OverAllocated",
    "Estimated", "Milestone", "Summary", "Critical", "IsSubproject", "IsSubprojectReadOnly",
    "SubprojectName", "ExternalTask", "ExternalTaskProject", "EarlyStart", "EarlyFinish",
    "LateStart", "LateFinish", "StartVariance", "FinishVariance", "WorkVariance", "FreeSlack",
    "TotalSlack", "FixedCost", "FixedCostAccrual", "PercentComplete", "PercentWorkComplete",
    "Cost", "OvertimeCost", "OvertimeWork", "ActualStart", "ActualFinish", "ActualDuration",
    "ActualCost", "ActualOvertimeCost", "ActualWork", "ActualOvertimeWork", "RegularWork",
    "RemainingDuration", "RemainingCost", "RemainingWork", "RemainingOvertimeCost",
    "RemainingOvertimeWork", "ACWP", "CV", "ConstraintType", "CalendarUID", "ConstraintDate",
    "Deadline", "LevelAssignments", "LevelingCanSplit", "LevelingDelay", "LevelingDelayFormat",
    "PreLeveledStart", "PreLeveledFinish", "Hyperlink", "HyperlinkAddress", "HyperlinkSubAddress",
    "IgnoreResourceCalendar", "Notes", "HideBar", "Rollup", "BCWS", "BCWP",
    "PhysicalPercentComplete", "EarnedValueMethod", "PredecessorLink", "ActualWorkProtected",
    "ActualOvertimeWorkProtected", "ExtendedAttribute", "Baseline", "OutlineCode",
    "TimephasedData"};

constexpr std::string_view kDefinitionChildren[] = {
    "FieldID", "FieldName", "Alias", "PhoneticAlias", "RollupType", "CalculationType", "Formula",
    "RestrictValues", "ValuelistSortOrder", "AppendNewValues", "Default", "ValueList"};

constexpr std::string_view kLinkChildren[] = {
    "PredecessorUID", "Type", "CrossProject", "CrossProjectName", "LinkLag", "LagFormat"};
// clang-format on

// Durations beyond a century of minutes are no project's.
constexpr std::int64_t kMaxDurationMinutes = 100LL * 366 * kMinutesPerDay;

bool Digits(std::string_view text, std::size_t from, std::size_t count, std::int32_t& out) {
  if (from + count > text.size()) return false;
  std::int32_t value = 0;
  for (std::size_t i = from; i < from + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  out = value;
  return true;
}

int DaysInMonth(std::int32_t year, std::int32_t month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

// What xsd:dateTime allows after the seconds: a fraction, then "Z" or "+hh:mm"/"-hh:mm". The
// project's dates are wall-clock times without a zone, so the clock time stands as written.
bool DateTimeTail(std::string_view tail) {
  if (!tail.empty() && tail.front() == '.') {
    std::size_t digits = 1;
    while (digits < tail.size() && tail[digits] >= '0' && tail[digits] <= '9') ++digits;
    if (digits == 1) return false;
    tail.remove_prefix(digits);
  }
  if (tail.empty() || tail == "Z") return true;
  std::int32_t hours, minutes;
  return tail.size() == 6 && (tail[0] == '+' || tail[0] == '-') && tail[3] == ':' &&
         Digits(tail, 1, 2, hours) && Digits(tail, 4, 2, minutes) && hours <= 14 && minutes <= 59;
}

std::optional<Moment> ReadMspdiDate(std::string_view text) {
  std::int32_t year, month, day, hour, minute, second;
  if (text.size() > 19 && DateTimeTail(text.substr(19))) text = text.substr(0, 19);
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':' || !Digits(text, 0, 4, year) || !Digits(text, 5, 2, month) ||
      !Digits(text, 8, 2, day) || !Digits(text, 11, 2, hour) || !Digits(text, 14, 2, minute) ||
      !Digits(text, 17, 2, second)) {
    return std::nullopt;
  }
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
      hour > 24 || minute > 59 || second > 59 || (hour == 24 && (minute != 0 || second != 0))) {
    return std::nullopt;
  }
  return MomentOf(year, month, day, hour, minute);
}

std::string MspdiDateText(Moment when) {
  const host::DateTime civil = DateTimeOf(when);
  char out[32];
  std::snprintf(out, sizeof out, "%04d-%02d-%02dT%02d:%02d:00", static_cast<int>(civil.year),
                static_cast<int>(civil.month), static_cast<int>(civil.day),
                static_cast<int>(civil.hour), static_cast<int>(civil.minute));
  return out;
}

std::optional<std::int32_t> ReadMspdiTime(std::string_view text) {
  std::int32_t hour, minute, second;
  if (text.size() != 8 || text[2] != ':' || text[5] != ':' || !Digits(text, 0, 2, hour) ||
      !Digits(text, 3, 2, minute) || !Digits(text, 6, 2, second) || hour > 24 || minute > 59 ||
      second > 59) {
    return std::nullopt;
  }
  return hour * 60 + minute;
}

std::optional<std::int64_t> ReadMspdiDuration(std::string_view text) {
  bool negative = false;
  if (!text.empty() && text.front() == '-') {
    negative = true;
    text.remove_prefix(1);
  }
  if (text.size() < 2 || text.substr(0, 2) != "PT") return std::nullopt;
  text.remove_prefix(2);
  double total_seconds = 0;
  bool any = false;
  for (const auto& [unit, seconds] : {std::pair{'H', 3600.0}, {'M', 60.0}, {'S', 1.0}}) {
    const std::size_t end = text.find(unit);
    if (end == std::string_view::npos) continue;
    double value = 0;
    const auto [stop, error] = std::from_chars(text.data(), text.data() + end, value);
    if (end == 0 || error != std::errc() || stop != text.data() + end || !std::isfinite(value) ||
        value < 0 || value > 1e12) {
      return std::nullopt;
    }
    total_seconds += value * seconds;
    text.remove_prefix(end + 1);
    any = true;
  }
  if (!any || !text.empty()) return std::nullopt;
  const double minutes = total_seconds / 60;
  if (minutes > static_cast<double>(kMaxDurationMinutes)) return std::nullopt;
  const auto whole = static_cast<std::int64_t>(minutes + 0.5);
  return negative ? -whole : whole;
}

std::string MspdiDurationText(std::int64_t minutes) {
  const bool negative = minutes < 0;
  const std::int64_t magnitude = negative ? -minutes : minutes;
  return std::string(negative ? "-" : "") + "PT" + std::to_string(magnitude / 60) + "H" +
         std::to_string(magnitude % 60) + "M0S";
}

bool IsElapsedFormat(std::int64_t code) {
  code %= 32;
  return code >= 4 && code <= 12 && code % 2 == 0;
}

std::optional<std::int64_t> ReadWholeNumber(std::string_view text, std::int64_t low,
                                            std::int64_t high) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
      value > high) {
    return std::nullopt;
  }
  return value;
}

namespace {

// MSPDI's link type codes, by LinkType (FS, SS, FF, SF).
constexpr int kLinkCodes[] = {1, 3, 0, 2};

std::optional<double> DecimalOf(std::string_view text) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::string DecimalText(double value) {
  char out[32];
  const auto [end, error] = std::to_chars(out, out + sizeof out, value);
  return error == std::errc() ? std::string(out, end) : std::string();
}

}  // namespace

LinkType LinkTypeOf(std::optional<std::int64_t> code) {
  return static_cast<LinkType>(
      std::find(std::begin(kLinkCodes), std::end(kLinkCodes), code.value_or(1)) -
      std::begin(kLinkCodes));
}

int LinkTypeCode(LinkType type) { return kLinkCodes[static_cast<int>(type)]; }

LagFormat LagFormatOf(std::string_view code_text) {
  const auto code = ReadWholeNumber(code_text, 0, 1000);
  if (!code) return LagFormat::kWorking;
  if (*code % 32 == 19 || *code % 32 == 20) return LagFormat::kPercent;
  return IsElapsedFormat(*code) ? LagFormat::kElapsed : LagFormat::kWorking;
}

std::string_view LagFormatCode(LagFormat format) {
  switch (format) {
    case LagFormat::kElapsed:
      return "8";
    case LagFormat::kPercent:
      return "19";
    case LagFormat::kWorking:
      break;
  }
  return "7";
}

std::int64_t LagOf(std::int64_t link_lag, LagFormat format) {
  return format == LagFormat::kPercent ? link_lag : link_lag / 10;
}

std::int64_t LinkLagOf(std::int64_t lag, LagFormat format) {
  return format == LagFormat::kPercent ? lag : lag * 10;
}

const FieldInfo* CustomValueField(std::int64_t id) {
  if (id < 0 || id > kMaxUid) return nullptr;
  const FieldInfo* info = FindField(static_cast<host::FieldId>(id));
  if (info == nullptr) return nullptr;
  static constexpr std::string_view kStems[] = {"Text",   "Start", "Finish", "Date",
                                                "Number", "Flag",  "Cost",   "Duration"};
  const std::string_view name = info->name;
  for (const std::string_view stem : kStems) {
    if (name.size() > stem.size() && name.starts_with(stem) &&
        name.find_first_not_of("0123456789", stem.size()) == std::string_view::npos) {
      return info;
    }
  }
  return nullptr;
}

std::optional<StoredValue> ReadCustomValue(FieldKind kind, std::string_view text,
                                           std::int64_t minutes_per_day) {
  switch (kind) {
    case FieldKind::kText:
    case FieldKind::kOther:
      return StoredValue(std::string(text));
    case FieldKind::kDate:
      if (const auto when = ReadMspdiDate(text)) return StoredValue(*when);
      return std::nullopt;
    case FieldKind::kNumber:
      if (const auto number = DecimalOf(text)) return StoredValue(*number);
      return std::nullopt;
    case FieldKind::kCost:
      if (const auto hundredths = DecimalOf(text)) return StoredValue(*hundredths / 100);
      return std::nullopt;
    case FieldKind::kFlag:
      if (text == "1" || text == "0") return StoredValue(text == "1" ? 1.0 : 0.0);
      return std::nullopt;
    case FieldKind::kDuration:
      if (const auto minutes = ReadMspdiDuration(text)) {
        return StoredValue(static_cast<double>(*minutes) / static_cast<double>(minutes_per_day));
      }
      return std::nullopt;
  }
  return std::nullopt;
}

std::string CustomValueText(FieldKind kind, const StoredValue& value,
                            std::int64_t minutes_per_day) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* when = std::get_if<Moment>(&value)) return MspdiDateText(*when);
  const double number = std::get<double>(value);
  if (number == 0) return {};
  switch (kind) {
    case FieldKind::kFlag:
      return "1";
    case FieldKind::kCost:
      return DecimalText(number * 100);
    case FieldKind::kDuration: {
      const double minutes = std::round(number * static_cast<double>(minutes_per_day));
      if (!(std::fabs(minutes) < 1e15) || minutes == 0) return {};
      return MspdiDurationText(static_cast<std::int64_t>(minutes));
    }
    default:
      return DecimalText(number);
  }
}

std::span<const std::string_view> ProjectChildOrder() { return kProjectChildren; }
std::span<const std::string_view> TaskChildOrder() { return kTaskChildren; }
std::span<const std::string_view> FieldDefinitionChildOrder() { return kDefinitionChildren; }
std::span<const std::string_view> LinkChildOrder() { return kLinkChildren; }

}  // namespace lunavant::workbench::detail
