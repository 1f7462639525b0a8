// SPDX-License-Identifier: MIT
#include "workbench/model/task.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "addin/host/error.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/messages.h"
#include "workbench/model/project.h"
#include "workbench/platform/regional_settings.h"

namespace lunavant::workbench {

namespace {

constexpr std::string_view kConstraintNames[] = {"As Soon As Possible",    "As Late As Possible",
                                                 "Must Start On",          "Must Finish On",
                                                 "Start No Earlier Than",  "Start No Later Than",
                                                 "Finish No Earlier Than", "Finish No Later Than"};
constexpr std::string_view kConstraintAbbreviations[] = {"ASAP", "ALAP", "MSO",  "MFO",
                                                         "SNET", "SNLT", "FNET", "FNLT"};
constexpr std::string_view kLinkTypeNames[] = {"FS", "SS", "FF", "SF"};

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string YesNo(bool value) { return value ? "Yes" : "No"; }

std::string NumberText(double value) {
  char out[32];
  if (value == std::floor(value) && std::fabs(value) < 1e15) {
    std::snprintf(out, sizeof out, "%lld", static_cast<long long>(value));
  } else {
    std::snprintf(out, sizeof out, "%g", value);
  }
  return out;
}

// To the hundredth of a day, as the host shows part days; "edays" count days of the clock.
std::string DaysText(double days, bool elapsed = false) {
  days = std::round(days * 100) / 100;
  return NumberText(days) + (elapsed ? " e" : " ") + (days == 1 ? "day" : "days");
}

std::string CostText(double value) {
  char out[48];
  std::snprintf(out, sizeof out, "%.2f", value);
  return out;
}

// A whole number, optionally signed; nothing else in `text`.
std::optional<std::int64_t> ReadInteger(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

std::optional<double> ReadNumber(std::string_view text) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// "5", "5d", "5 days", "1 day", "-2d": a number of days with an optional day unit.
std::optional<double> ReadDays(std::string_view text) {
  text = Trim(text);
  for (std::string_view unit : {"days", "day", "d"}) {
    if (text.size() > unit.size() && NamesEqual(text.substr(text.size() - unit.size()), unit)) {
      text = Trim(text.substr(0, text.size() - unit.size()));
      break;
    }
  }
  return ReadNumber(text);
}

std::optional<bool> ReadFlag(std::string_view text) {
  text = Trim(text);
  if (text.empty() || NamesEqual(text, "No") || NamesEqual(text, "False")) return false;
  if (NamesEqual(text, "Yes") || NamesEqual(text, "True")) return true;
  return std::nullopt;
}

bool IsNotApplicable(std::string_view text) {
  text = Trim(text);
  return text.empty() || NamesEqual(text, "NA");
}

struct LinkSpec {
  std::int32_t id;
  LinkType type;
  std::int64_t lag_days;
};

// "3FS+2d;5SS;7" (commas also separate). Empty text gives no links.
std::optional<std::vector<LinkSpec>> ReadLinks(std::string_view text) {
  std::vector<LinkSpec> links;
  text = Trim(text);
  while (!text.empty()) {
    const std::size_t end = text.find_first_of(";,");
    std::string_view item = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    std::size_t digits = 0;
    while (digits < item.size() && item[digits] >= '0' && item[digits] <= '9') ++digits;
    const auto id = ReadInteger(item.substr(0, digits));
    if (!id || *id < 1 || *id > INT32_MAX) return std::nullopt;
    LinkSpec link{static_cast<std::int32_t>(*id), LinkType::kFinishToStart, 0};
    std::string_view rest = Trim(item.substr(digits));
    if (!rest.empty()) {
      if (rest.size() < 2) return std::nullopt;
      bool known = false;
      for (int type = 0; type < 4; ++type) {
        if (NamesEqual(rest.substr(0, 2), kLinkTypeNames[type])) {
          link.type = static_cast<LinkType>(type);
          known = true;
        }
      }
      if (!known) return std::nullopt;
      rest = Trim(rest.substr(2));
      if (!rest.empty()) {
        if (rest.front() != '+' && rest.front() != '-') return std::nullopt;
        const auto lag = ReadDays(rest.substr(1));
        if (!lag || *lag != std::floor(*lag) || *lag > 100000) return std::nullopt;
        link.lag_days = static_cast<std::int64_t>(rest.front() == '-' ? -*lag : *lag);
      }
    }
    links.push_back(link);
  }
  return links;
}

void RemoveLinksTo(std::vector<Link>& links, const Task* task) {
  links.erase(std::remove_if(links.begin(), links.end(),
                             [task](const Link& link) { return link.task == task; }),
              links.end());
}

}  // namespace

std::string_view ConstraintTypeName(ConstraintType type) {
  return kConstraintNames[static_cast<int>(type)];
}

Task::Task(Project& owner, std::int32_t id, std::int32_t unique_id, std::string name,
           std::int64_t duration_minutes, std::int32_t outline_level)
    : owner_(&owner),
      id_(id),
      unique_id_(unique_id),
      name_(std::move(name)),
      duration_(duration_minutes),
      outline_level_(outline_level) {
  const auto now = std::chrono::system_clock::now();
  created_ = std::chrono::duration_cast<std::chrono::minutes>(now.time_since_epoch()).count();
}

std::int64_t Task::MinutesPerDay() const {
  return elapsed_ ? kMinutesPerDay : owner_->MinutesPerDay();
}

std::int32_t Task::DaysOf(std::int64_t working_minutes) const {
  return static_cast<std::int32_t>(std::llround(static_cast<double>(working_minutes) /
                                                static_cast<double>(owner_->MinutesPerDay())));
}

std::int32_t Task::DurationDays() const {
  return static_cast<std::int32_t>(
      std::llround(static_cast<double>(duration_) / static_cast<double>(MinutesPerDay())));
}

bool Task::IsSummary() const {
  if (id_ == 0) return true;
  owner_->EnsureOutline();
  return !children_.empty();
}

std::vector<host::Task*> Task::Subtasks() const {
  owner_->EnsureOutline();
  return {children_.begin(), children_.end()};
}

std::vector<host::Task*> Task::PredecessorTasks() const {
  std::vector<host::Task*> out;
  out.reserve(predecessors_.size());
  for (const Link& link : predecessors_) out.push_back(link.task);
  return out;
}

std::vector<host::Task*> Task::SuccessorTasks() const {
  std::vector<host::Task*> out;
  out.reserve(successors_.size());
  for (const Link& link : successors_) out.push_back(link.task);
  return out;
}

host::Task* Task::Parent() const {
  owner_->EnsureOutline();
  return parent_;
}

std::string Task::LinkText(const std::vector<Link>& links) const {
  std::string out;
  for (const Link& link : links) {
    if (!out.empty()) out += ';';
    out += std::to_string(link.task->ID());
    if (link.type == LinkType::kFinishToStart && link.lag == 0) continue;
    out += kLinkTypeNames[static_cast<int>(link.type)];
    if (link.lag != 0) {
      out += link.lag > 0 ? '+' : '-';
      const double size = static_cast<double>(std::abs(link.lag));
      switch (link.lag_format) {
        case LagFormat::kWorking:
          out += NumberText(size / static_cast<double>(owner_->MinutesPerDay())) + 'd';
          break;
        case LagFormat::kElapsed:
          out += NumberText(size / static_cast<double>(kMinutesPerDay)) + "ed";
          break;
        case LagFormat::kPercent:
          out += NumberText(size) + '%';
          break;
      }
    }
  }
  return out;
}

std::string Task::Predecessors() const { return LinkText(predecessors_); }
std::string Task::Successors() const { return LinkText(successors_); }

std::string Task::ShowDate(std::optional<Moment> when) const {
  return when ? owner_->App().FormatDate(*when) : "NA";
}

std::optional<Moment> Task::DateValue(host::FieldId field) const {
  const FieldInfo& info = FieldOrRaise(field);
  if (info.kind != FieldKind::kDate) {
    host::RaiseRuntime(host::kTypeMismatch);
  }
  switch (field) {
    case field::kStart:
      return start_;
    case field::kFinish:
      return finish_;
    case field::kEarlyStart:
      return early_start_;
    case field::kEarlyFinish:
      return early_finish_;
    case field::kLateStart:
      return late_start_;
    case field::kLateFinish:
      return late_finish_;
    case field::kActualStart:
      return actual_start_;
    case field::kActualFinish:
      return actual_finish_;
    case field::kConstraintDate:
      return constraint_date_;
    case field::kCreated:
      return created_;
    default:
      break;
  }
  const auto found = stored_.find(field);
  if (found == stored_.end()) return std::nullopt;
  return std::get<Moment>(found->second);
}

std::string Task::GetField(host::FieldId field) const {
  const FieldInfo& info = FieldOrRaise(field);
  switch (field) {
    case field::kId:
      return std::to_string(id_);
    case field::kUniqueId:
      return std::to_string(unique_id_);
    case field::kOutlineLevel:
      return std::to_string(outline_level_);
    case field::kOutlineNumber: {
      owner_->EnsureOutline();
      std::string number;
      for (const Task* task = this; task != nullptr && task->id_ != 0; task = task->parent_) {
        const auto& siblings =
            task->parent_ ? task->parent_->children_ : owner_->SummaryTask().children_;
        const auto at = std::find(siblings.begin(), siblings.end(), task) - siblings.begin();
        number = std::to_string(at + 1) + (number.empty() ? "" : "." + number);
      }
      return id_ == 0 ? "0" : number;
    }
    case field::kName:
      return id_ == 0 ? owner_->Name() : name_;
    case field::kDuration:
      return DaysText(static_cast<double>(duration_) / static_cast<double>(MinutesPerDay()),
                      elapsed_);
    case field::kStart:
      return ShowDate(start_);
    case field::kFinish:
      return ShowDate(finish_);
    case field::kEarlyStart:
      return ShowDate(early_start_);
    case field::kEarlyFinish:
      return ShowDate(early_finish_);
    case field::kLateStart:
      return ShowDate(late_start_);
    case field::kLateFinish:
      return ShowDate(late_finish_);
    case field::kActualStart:
      return ShowDate(actual_start_);
    case field::kActualFinish:
      return ShowDate(actual_finish_);
    case field::kConstraintType:
      return std::string(ConstraintTypeName(constraint_));
    case field::kConstraintDate:
      return ShowDate(constraint_date_);
    case field::kCreated:
      return ShowDate(created_);
    case field::kCritical:
      return YesNo(critical_);
    case field::kFreeSlack:
      return DaysText(static_cast<double>(free_slack_) /
                      static_cast<double>(owner_->MinutesPerDay()));
    case field::kTotalSlack:
      return DaysText(static_cast<double>(total_slack_) /
                      static_cast<double>(owner_->MinutesPerDay()));
    case field::kMilestone:
      return YesNo(IsMilestone());
    case field::kSummary:
      return YesNo(IsSummary());
    case field::kPredecessors:
      return Predecessors();
    case field::kSuccessors:
      return Successors();
    case field::kIndicators:
      return manual_ ? "Manual" : dates_held_by_.empty() ? "" : "File dates";
    default:
      break;
  }
  const auto found = stored_.find(field);
  switch (info.kind) {
    case FieldKind::kDate:
      return found == stored_.end() ? "NA" : ShowDate(std::get<Moment>(found->second));
    case FieldKind::kNumber:
      return NumberText(found == stored_.end() ? 0.0 : std::get<double>(found->second));
    case FieldKind::kCost:
      return CostText(found == stored_.end() ? 0.0 : std::get<double>(found->second));
    case FieldKind::kDuration:
      return DaysText(found == stored_.end() ? 0.0 : std::get<double>(found->second));
    case FieldKind::kFlag:
      return YesNo(found != stored_.end() && std::get<double>(found->second) != 0);
    case FieldKind::kText:
    case FieldKind::kOther:
      return found == stored_.end() ? std::string() : std::get<std::string>(found->second);
  }
  return std::string();
}

void Task::SetField(host::FieldId field, const std::string& text) {
  if (owner_->IsClosed()) host::Raise(host::kHostFailure, std::string(message::kProjectNotOpen));
  const FieldInfo& info = FieldOrRaise(field);
  if (StoresTextAsIs(info)) {
    // The refresh writes every Hijri field this way; it raises the same event as any write.
    bool cancel = false;
    owner_->App().RaiseBeforeTaskChange(*this, field, host::Value(text), cancel);
    if (cancel) return;
    StoreText(field, text);
    owner_->MarkChanged();
    return;
  }
  Apply apply = PrepareWrite(info, text);
  bool cancel = false;
  owner_->App().RaiseBeforeTaskChange(*this, field, host::Value(text), cancel);
  if (cancel) return;
  apply();
  owner_->MarkChanged();
}

std::optional<Moment> Task::ReadDateValue(const FieldInfo& info, const std::string& text) const {
  host::DateTime when;
  try {
    when = owner_->App().Regional().ReadDate(text);
  } catch (const host::HostError&) {
    host::Raise(host::kHostFailure, message::UnreadableDate(info.name, text));
  }
  if (when.year == 0) host::Raise(host::kHostFailure, message::DateNeedsDay(info.name, text));
  if (!when.HasTime()) {
    const std::int32_t minute = IsFinishLikeDate(info) ? owner_->Calendar().DayFinishMinute()
                                                       : owner_->Calendar().DayStartMinute();
    when.hour = minute / 60;
    when.minute = minute % 60;
  }
  const Moment moment = MomentOf(when);
  if (!InHostRange(moment))
    host::Raise(host::kHostFailure, message::DateOutOfRange(info.name, text));
  return moment;
}

bool Task::StoresTextAsIs(const FieldInfo& info) {
  switch (info.id) {
    case field::kName:
    case field::kDuration:
    case field::kMilestone:
    case field::kConstraintType:
    case field::kPredecessors:
    case field::kSuccessors:
      return false;
    default:
      return (info.kind == FieldKind::kText || info.kind == FieldKind::kOther) &&
             !IsCalculatedField(info.id);
  }
}

void Task::StoreText(host::FieldId field, const std::string& text) {
  if (text.empty()) {
    stored_.erase(field);
    return;
  }
  // A text written over a text keeps its room: the refresh rewrites every Hijri field this way.
  Stored& stored = stored_[field];
  if (std::string* held = std::get_if<std::string>(&stored)) {
    held->assign(text);
  } else {
    stored = text;
  }
}

Task::Apply Task::PrepareWrite(const FieldInfo& info, const std::string& text) {
  const host::FieldId id = info.id;
  if (IsCalculatedField(id)) host::Raise(host::kHostFailure, message::CalculatedField(info.name));
  const bool summary = IsSummary();
  switch (id) {
    case field::kName:
      return [this, text] { name_ = text; };
    case field::kDuration: {
      if (summary) host::Raise(host::kHostFailure, message::SummaryCalculated(info.name));
      const auto days = ReadDays(text);
      if (!days || *days < 0 || *days != std::floor(*days) || *days > 1000000) {
        host::Raise(host::kHostFailure, message::UnreadableDuration(info.name, text));
      }
      return [this, d = static_cast<std::int32_t>(*days)] { SetDurationKeepingStart(d); };
    }
    case field::kMilestone: {
      if (summary) host::Raise(host::kHostFailure, message::SummaryCalculated(info.name));
      const auto flag = ReadFlag(text);
      if (!flag) host::Raise(host::kHostFailure, message::UnreadableFlag(info.name, text));
      return [this, milestone = *flag] {
        if (milestone) {
          SetDurationKeepingStart(0);
        } else if (duration_ == 0) {
          SetDurationKeepingStart(1);
        }
      };
    }
    case field::kConstraintType: {
      std::optional<ConstraintType> type;
      for (int i = 0; i < 8; ++i) {
        if (NamesEqual(Trim(text), kConstraintNames[i]) ||
            NamesEqual(Trim(text), kConstraintAbbreviations[i])) {
          type = static_cast<ConstraintType>(i);
        }
      }
      if (!type) host::Raise(host::kHostFailure, message::UnreadableConstraintType(text));
      return [this, type = *type] {
        dates_held_by_.clear();
        constraint_ = type;
        if (type == ConstraintType::kAsSoonAsPossible ||
            type == ConstraintType::kAsLateAsPossible) {
          constraint_date_.reset();
        } else if (!constraint_date_) {
          const bool on_finish = type == ConstraintType::kMustFinishOn ||
                                 type == ConstraintType::kFinishNoEarlierThan ||
                                 type == ConstraintType::kFinishNoLaterThan;
          constraint_date_ = on_finish ? finish_ : start_;
        }
      };
    }
    case field::kPredecessors:
      return PrepareLinksWrite(info, text, /*predecessors=*/true);
    case field::kSuccessors:
      return PrepareLinksWrite(info, text, /*predecessors=*/false);
    default:
      break;
  }
  switch (info.kind) {
    case FieldKind::kDate:
      return PrepareDateWrite(info, text);
    case FieldKind::kText:
    case FieldKind::kOther:
      return [this, id, text] { StoreText(id, text); };
    case FieldKind::kFlag: {
      const auto flag = ReadFlag(text);
      if (!flag) host::Raise(host::kHostFailure, message::UnreadableFlag(info.name, text));
      return [this, id, flag = *flag] { stored_[id] = flag ? 1.0 : 0.0; };
    }
    case FieldKind::kDuration:
    case FieldKind::kNumber:
    case FieldKind::kCost: {
      const auto value =
          Trim(text).empty()
              ? std::optional<double>(0.0)
              : (info.kind == FieldKind::kDuration ? ReadDays(text) : ReadNumber(text));
      if (!value) {
        host::Raise(host::kHostFailure, info.kind == FieldKind::kDuration
                                            ? message::UnreadableDuration(info.name, text)
                                            : message::UnreadableNumber(info.name, text));
      }
      return [this, id, value = *value] { stored_[id] = value; };
    }
  }
  return [] {};
}

Task::Apply Task::PrepareDateWrite(const FieldInfo& info, const std::string& text) {
  const host::FieldId id = info.id;
  const bool required = id == field::kStart || id == field::kFinish || id == field::kCreated;
  const bool scheduled_date = id == field::kStart || id == field::kFinish ||
                              id == field::kActualStart || id == field::kActualFinish;
  if (scheduled_date && IsSummary()) {
    host::Raise(host::kHostFailure, message::SummaryCalculated(info.name));
  }
  if (IsNotApplicable(text)) {
    if (required) host::Raise(host::kHostFailure, message::DateRequired(info.name));
    switch (id) {
      case field::kActualStart:
        return [this] { actual_start_.reset(); };
      case field::kActualFinish:
        return [this] { actual_finish_.reset(); };
      case field::kConstraintDate:
        return [this] {
          constraint_date_.reset();
          constraint_ = ConstraintType::kAsSoonAsPossible;
        };
      default:
        return [this, id] { stored_.erase(id); };
    }
  }
  const Moment when = *ReadDateValue(info, text);
  const ProjectCalendar& calendar = owner_->Calendar();
  switch (id) {
    case field::kStart:
      // A manual task goes where it is typed, on working time or not, and takes no constraint.
      if (manual_) {
        return [this, when] {
          dates_held_by_.clear();
          MoveManualStartTo(when);
        };
      }
      return [this, when] {
        dates_held_by_.clear();
        MoveStartTo(when);
        constraint_ = ConstraintType::kStartNoEarlierThan;
        constraint_date_ = start_;
      };
    case field::kFinish:
    case field::kActualFinish: {
      if (when < start_) {
        host::Raise(host::kHostFailure, message::FinishBeforeStart(text));
      }
      if (manual_ && id == field::kFinish) {
        return [this, when, &calendar] {
          dates_held_by_.clear();
          finish_ = when;
          duration_ = std::max<std::int64_t>(0, calendar.WorkAt(when) - calendar.WorkAt(start_));
          elapsed_ = false;
        };
      }
      return [this, when, id, &calendar] {
        dates_held_by_.clear();
        // Typed finishes count whole days: a finish inside a working day ends that day.
        const std::int64_t per_day = owner_->MinutesPerDay();
        const std::int64_t minutes = calendar.WorkAt(when) - calendar.WorkAt(start_);
        const std::int64_t days = (std::max<std::int64_t>(0, minutes) + per_day - 1) / per_day;
        SetDurationKeepingStart(static_cast<std::int32_t>(days));
        if (id == field::kActualFinish) {
          actual_finish_ = when;
          if (!actual_start_) actual_start_ = start_;
        }
      };
    }
    case field::kActualStart:
      return [this, when] {
        dates_held_by_.clear();
        actual_start_ = when;
        MoveStartTo(when);
      };
    case field::kConstraintDate:
      return [this, when] {
        dates_held_by_.clear();
        constraint_date_ = when;
        if (constraint_ == ConstraintType::kAsSoonAsPossible ||
            constraint_ == ConstraintType::kAsLateAsPossible) {
          constraint_ = ConstraintType::kStartNoEarlierThan;
        }
      };
    case field::kCreated:
      return [this, when] { created_ = when; };
    default:
      return [this, id, when] { stored_[id] = when; };
  }
}

Task::Apply Task::PrepareLinksWrite(const FieldInfo& info, const std::string& text,
                                    bool predecessors) {
  const auto specs = ReadLinks(text);
  if (!specs || id_ == 0) host::Raise(host::kHostFailure, message::UnreadableLink(info.name, text));
  std::vector<Link> links;
  for (const LinkSpec& spec : *specs) {
    if (spec.id > owner_->TaskCount() || owner_->TaskAt(spec.id) == nullptr) {
      host::Raise(host::kHostFailure, message::LinkToMissingTask(info.name, spec.id));
    }
    Task* other = owner_->TaskAt(spec.id);
    if (other == this) host::Raise(host::kHostFailure, message::LinkToItself(id_));
    // A task named twice keeps its last link.
    RemoveLinksTo(links, other);
    links.push_back(Link{other, spec.type, spec.lag_days * owner_->MinutesPerDay()});
  }
  return [this, links = std::move(links), predecessors] {
    // Typed links ask for the schedule they make: the tasks they lead to keep no file dates.
    std::vector<Link>& mine = predecessors ? predecessors_ : successors_;
    if (predecessors) dates_held_by_.clear();
    for (const Link& link : mine) {
      if (!predecessors) link.task->dates_held_by_.clear();
    }
    for (const Link& link : links) {
      if (!predecessors) link.task->dates_held_by_.clear();
    }
    for (const Link& old : mine) {
      RemoveLinksTo(predecessors ? old.task->successors_ : old.task->predecessors_, this);
    }
    mine = links;
    for (const Link& link : mine) {
      (predecessors ? link.task->successors_ : link.task->predecessors_)
          .push_back(Link{this, link.type, link.lag, link.lag_format});
    }
  };
}

void Task::SetOwnCalendarUid(std::int64_t uid) {
  if (uid < 0) uid = -1;
  if (own_calendar_uid_ == uid) return;
  own_calendar_uid_ = uid;
  owner_->MarkChanged();
}

void Task::SetWorkingCalendar(std::int32_t index) {
  if (index < -1 || index >= static_cast<std::int32_t>(owner_->WorkingCalendars().size())) {
    host::Raise(host::kHostFailure, message::NoSuchCalendar(index));
  }
  if (calendar_ == index) return;
  calendar_ = index;
  owner_->MarkChanged();
}

void Task::SetSplitMinutes(std::int64_t minutes) {
  minutes = std::max<std::int64_t>(minutes, 0);
  if (split_ == minutes) return;
  split_ = minutes;
  owner_->MarkChanged();
}

void Task::SetManual(bool manual) {
  if (manual_ == manual) return;
  manual_ = manual;
  owner_->MarkChanged();
}

void Task::HoldDates(std::string reason) { dates_held_by_ = std::move(reason); }

void Task::SetLevelingDelay(std::int64_t minutes, bool elapsed) {
  if (leveling_delay_ == minutes && leveling_delay_elapsed_ == elapsed) return;
  leveling_delay_ = minutes;
  leveling_delay_elapsed_ = elapsed;
  owner_->MarkChanged();
}

void Task::MoveStartTo(Moment start) {
  const ProjectCalendar& calendar = owner_->CalendarOf(*this);
  const std::int64_t work = calendar.WorkAt(start);
  start_ = calendar.StartOf(work);
  if (duration_ == 0) {
    finish_ = start_;
  } else {
    finish_ = elapsed_ ? start_ + duration_ : calendar.FinishOf(work + duration_ + split_);
  }
}

void Task::MoveManualStartTo(Moment start) {
  const ProjectCalendar& calendar = owner_->CalendarOf(*this);
  start_ = start;
  if (duration_ == 0) {
    finish_ = start_;
  } else {
    finish_ = elapsed_ ? start_ + duration_
                       : calendar.FinishOf(calendar.WorkAt(start) + duration_ + split_);
  }
}

void Task::SetDurationKeepingStart(std::int32_t days) {
  // Durations typed or set here count working days, whatever the task counted before.
  elapsed_ = false;
  duration_ = days * MinutesPerDay();
  dates_held_by_.clear();
  if (manual_) {
    MoveManualStartTo(start_);
  } else {
    MoveStartTo(start_);
  }
}

}  // namespace lunavant::workbench
