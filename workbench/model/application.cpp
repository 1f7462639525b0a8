// SPDX-License-Identifier: MIT
#include "workbench/model/application.h"

#include <algorithm>
#include <array>
#include <utility>

#include "addin/host/error.h"
#include "addin/host/global.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/messages.h"
#include "workbench/platform/date_reading.h"
#include "workbench/platform/platform.h"
#include "workbench/platform/recording_ui.h"
#include "workbench/schedule/scheduler.h"

namespace lunavant::workbench {

namespace {

constexpr std::string_view kWeekdayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

}  // namespace

WorkbenchPlatform::WorkbenchPlatform(std::unique_ptr<host::MessageBoxes> messages,
                                     std::unique_ptr<host::MousePointer> pointer,
                                     std::unique_ptr<PosixRegionalSettings> regional,
                                     std::unique_ptr<PosixLibraryLoader> libraries,
                                     std::unique_ptr<PictureFileLoader> pictures,
                                     std::unique_ptr<host::DialogToolkit> dialogs)
    : messages_(std::move(messages)),
      pointer_(std::move(pointer)),
      regional_(std::move(regional)),
      libraries_(std::move(libraries)),
      pictures_(std::move(pictures)),
      dialogs_(std::move(dialogs)) {}

Application::Application(FrontEndServices services)
    : command_bars_(std::make_unique<workbench::CommandBars>()) {
  if (!services.messages) {
    auto recording = std::make_unique<RecordingMessageBoxes>();
    recorded_messages_ = recording.get();
    services.messages = std::move(recording);
  }
  if (!services.pointer) {
    auto recording = std::make_unique<RecordingMousePointer>();
    recorded_pointer_ = recording.get();
    services.pointer = std::move(recording);
  }
  if (!services.dialogs) {
    auto scripted = std::make_unique<ScriptedDialogs>(command_bars_.get());
    scripted_dialogs_ = scripted.get();
    services.dialogs = std::move(scripted);
  }
  platform_ = std::make_unique<WorkbenchPlatform>(
      std::move(services.messages), std::move(services.pointer),
      std::make_unique<PosixRegionalSettings>(),
      std::make_unique<PosixLibraryLoader>(std::move(services.library_folders)),
      std::make_unique<PictureFileLoader>(), std::move(services.dialogs));
}

Application::~Application() {
  if (host::GlobalApplication() == this) host::SetGlobalApplication(nullptr);
}

std::int32_t Application::ProjectCount() const { return static_cast<std::int32_t>(open_.size()); }

std::string Application::DateSeparator() const { return Regional().DateSeparator(); }

std::string Application::FieldConstantToFieldName(host::FieldId field) const {
  return std::string(FieldOrRaise(field).name);
}

host::FieldId Application::FieldNameToFieldConstant(std::string_view name) const {
  if (const FieldInfo* info = FindFieldByName(name)) return info->id;
  if (active_ != nullptr) {
    for (int i = 0; i < kCustomTextCount; ++i) {
      const std::string& alias = active_->CustomTextAlias(i);
      if (!alias.empty() && NamesEqual(alias, name)) return CustomTextField(i);
    }
  }
  host::Raise(host::kHostFailure, message::UnknownFieldName(name));
}

void Application::CheckCustomTextField(host::FieldId field) const {
  const FieldInfo& info = FieldOrRaise(field);
  if (CustomTextIndex(field) < 0) {
    host::Raise(host::kHostFailure, message::NotCustomTextField(info.name));
  }
}

Project& Application::RequireActiveProject() const {
  if (active_ == nullptr) host::Raise(host::kHostFailure, std::string(message::kNoProjectOpen));
  return *active_;
}

std::string Application::CustomFieldGetName(host::FieldId field) const {
  CheckCustomTextField(field);
  return RequireActiveProject().CustomTextAlias(CustomTextIndex(field));
}

void Application::CustomFieldRename(host::FieldId field, const std::string& alias) {
  CheckCustomTextField(field);
  Project& project = RequireActiveProject();
  const FieldInfo* named = FindFieldByName(alias);
  if (named != nullptr && named->id != field) {
    host::Raise(host::kHostFailure, message::AliasTaken(alias, named->name));
  }
  // A field renamed to its own name shows under that name again: it has no alias, so the field is
  // free to be given one anew.
  const bool own_name = named != nullptr && named->id == field;
  project.SetCustomTextAlias(CustomTextIndex(field), own_name ? std::string() : alias);
}

std::string Application::CustomFieldGetFormula(host::FieldId field) const {
  CheckCustomTextField(field);
  return RequireActiveProject().CustomTextFormula(CustomTextIndex(field));
}

void Application::CustomFieldSetFormula(host::FieldId field, const std::string& formula) {
  CheckCustomTextField(field);
  RequireActiveProject().SetCustomTextFormula(CustomTextIndex(field), formula);
}

void Application::CalculateProject() {
  Project& project = RequireActiveProject();
  const workbench::CommandBars::BusyScope busy(*command_bars_);
  Schedule(project);
  Deliver([&project](host::ApplicationEvents& sink) { sink.ProjectCalculate(project); });
}

void Application::TableApply(std::string_view name) {
  view_commands_.push_back("TableApply(" + std::string(name) + ")");
  if (!name.empty() && name.front() == '&') name.remove_prefix(1);
  RequireActiveProject().ApplyTable(name);
}

void Application::SelectTaskColumn(std::string_view field_name) {
  view_commands_.push_back("SelectTaskColumn(" + std::string(field_name) + ")");
  Project& project = RequireActiveProject();
  const host::FieldId field = FieldNameToFieldConstant(field_name);
  ColumnList& columns = project.TaskTable(project.CurrentTable()).Columns();
  for (std::int32_t position = 1; position <= columns.Count(); ++position) {
    if (columns.Item(position).Field() == field) {
      project.SelectColumn(position);
      return;
    }
  }
  host::Raise(host::kHostFailure, message::NoColumnOfField(project.CurrentTable(), field_name));
}

void Application::EditClearContents() {
  view_commands_.emplace_back("EditClearContents()");
  Project& project = RequireActiveProject();
  if (project.SelectedColumn() == 0) {
    host::Raise(host::kHostFailure, std::string(message::kNoColumnSelected));
  }
  const host::FieldId field =
      project.TaskTable(project.CurrentTable()).Columns().Item(project.SelectedColumn()).Field();
  if (field == 0) return;
  const FieldInfo& info = FieldOrRaise(field);
  const bool clearable = !IsCalculatedField(field) && field != field::kName &&
                         field != field::kStart && field != field::kFinish &&
                         field != field::kCreated && field != field::kDuration &&
                         field != field::kConstraintType;
  if (!clearable) host::Raise(host::kHostFailure, message::FieldCannotBeCleared(info.name));
  // Rows are read by position at each step: a handler may add rows while the clearing runs.
  for (std::int32_t position = 1; position <= project.TaskCount(); ++position) {
    if (Task* task = project.TaskAt(position)) task->SetField(field, "");
  }
}

void Application::AddEventSink(host::ApplicationEvents& sink) {
  if (!IsSinkLive(&sink)) sinks_.push_back(&sink);
}

void Application::RemoveEventSink(host::ApplicationEvents& sink) {
  sinks_.erase(std::remove(sinks_.begin(), sinks_.end(), &sink), sinks_.end());
}

bool Application::IsSinkLive(const host::ApplicationEvents* sink) const {
  return std::find(sinks_.begin(), sinks_.end(), sink) != sinks_.end();
}

template <typename Call>
void Application::Deliver(Call call) {
  // A copy, because a handler may add or remove sinks; a sink removed meanwhile is skipped. Every
  // task write raises an event and a few sinks are the rule, so the copy lives on the stack.
  constexpr std::size_t kOnStack = 8;
  if (sinks_.size() == 1) {
    // One sink, the usual case: it is live now, and whatever its handler adds or removes, no
    // other sink is called for this event.
    call(*sinks_.front());
    return;
  }
  if (sinks_.size() <= kOnStack) {
    std::array<host::ApplicationEvents*, kOnStack> snapshot{};
    const std::size_t count = sinks_.size();
    std::copy(sinks_.begin(), sinks_.end(), snapshot.begin());
    for (std::size_t i = 0; i < count; ++i) {
      if (IsSinkLive(snapshot[i])) call(*snapshot[i]);
    }
    return;
  }
  const std::vector<host::ApplicationEvents*> snapshot = sinks_;
  for (host::ApplicationEvents* sink : snapshot) {
    if (IsSinkLive(sink)) call(*sink);
  }
}

host::Platform& Application::Services() { return *platform_; }

void Application::RaiseBeforeTaskChange(host::Task& task, host::FieldId field,
                                        const host::Value& value, bool& cancel) {
  Deliver([&](host::ApplicationEvents& sink) {
    sink.ProjectBeforeTaskChange(task, field, value, cancel);
  });
  if (cancel) ++cancelled_changes_;
}

void Application::RaiseWindowActivate() {
  Window* window = ActiveWindow();
  Deliver([window](host::ApplicationEvents& sink) { sink.WindowActivate(window); });
}

void Application::Activate(Project* project) {
  if (project == active_) return;
  active_ = project;
  if (active_ != nullptr) RaiseWindowActivate();
}

Project& Application::NewProject(std::string name) {
  if (name.empty()) name = "Project" + std::to_string(next_project_number_++);
  auto made = std::make_unique<Project>(*this, std::move(name));
  Project& project = *made;
  project.open_ = true;
  open_.push_back(std::move(made));
  Deliver([&project](host::ApplicationEvents& sink) { sink.NewProject(project); });
  if (project.IsOpen()) Activate(&project);
  return project;
}

Project& Application::AdoptOpenedProject(std::unique_ptr<Project> project) {
  if (!project || &project->App() != this || project->IsOpen()) {
    host::Raise(host::kHostFailure, std::string(message::kProjectOfOtherApplication));
  }
  Project& adopted = *project;
  adopted.open_ = true;
  adopted.MarkSaved();
  open_.push_back(std::move(project));
  Deliver([&adopted](host::ApplicationEvents& sink) { sink.NewProject(adopted); });
  if (adopted.IsOpen()) {
    // As in the real host, the file opens into its own window: while Open runs, the opened
    // project is the active one, and the window activation is announced afterwards.
    active_ = &adopted;
    adopted.RaiseOpen();
  }
  if (adopted.IsOpen()) {
    if (active_ == &adopted) {
      RaiseWindowActivate();
    } else {
      Activate(&adopted);
    }
  }
  return adopted;
}

void Application::ActivateProject(std::int32_t index) {
  Project* project = ProjectAt(index);
  if (project == nullptr) {
    host::Raise(host::kSubscriptOutOfRange, message::NoSuchItem("project", index, ProjectCount()));
  }
  Activate(project);
}

bool Application::CloseProject(std::int32_t index) {
  Project* project = ProjectAt(index);
  if (project == nullptr) {
    host::Raise(host::kSubscriptOutOfRange, message::NoSuchItem("project", index, ProjectCount()));
  }
  return CloseProject(*project);
}

bool Application::CloseProject(host::Project& project) {
  auto found = std::find_if(open_.begin(), open_.end(),
                            [&project](const auto& open) { return open.get() == &project; });
  if (found == open_.end() || closing_ != nullptr) return false;
  Project* closing = found->get();
  // The user's answer to the save prompt is the host's own business: a Cancel there never reaches
  // the add-ins, which would otherwise hear of a close that does not happen.
  if (!SaveBeforeClose(*closing)) return false;
  found = std::find_if(open_.begin(), open_.end(),
                       [closing](const auto& open) { return open.get() == closing; });
  if (found == open_.end() || closing_ != nullptr) return false;
  bool cancel = false;
  closing_ = closing;
  try {
    Deliver([&](host::ApplicationEvents& sink) { sink.ProjectBeforeClose(closing, cancel); });
  } catch (...) {
    closing_ = nullptr;
    throw;
  }
  closing_ = nullptr;
  if (cancel) return false;
  // The handlers may have opened or closed projects: find it again.
  found = std::find_if(open_.begin(), open_.end(),
                       [closing](const auto& open) { return open.get() == closing; });
  if (found == open_.end()) return true;
  closed_.push_back(std::move(*found));
  open_.erase(found);
  closing->Detach();
  if (active_ == closing) {
    active_ = nullptr;
    Activate(open_.empty() ? nullptr : open_.back().get());
  }
  return true;
}

bool Application::SaveBeforeClose(Project& project) {
  if (project.Saved()) return true;
  const host::MsgBoxResult answer = Services().Messages().MsgBox(
      message::SaveChangesBeforeClose(project.Name()),
      host::MsgBoxStyle::kYesNoCancelExclamationYesFirst, std::string(message::kWorkbenchTitle));
  if (answer == host::MsgBoxResult::kNo) return true;
  if (answer != host::MsgBoxResult::kYes) return false;
  return SaveProject(project);
}

bool Application::SaveProject(Project& project) {
  bool cancel = false;
  Deliver([&](host::ApplicationEvents& sink) { sink.ProjectBeforeSave(project, false, cancel); });
  if (cancel) return false;
  if (save_handler_) save_handler_(project);
  project.MarkSaved();
  return true;
}

bool Application::SaveProjectAs(Project& project, std::string new_name) {
  bool cancel = false;
  Deliver([&](host::ApplicationEvents& sink) { sink.ProjectBeforeSave(project, true, cancel); });
  if (cancel) return false;
  project.Rename(std::move(new_name));
  if (save_handler_) save_handler_(project);
  project.MarkSaved();
  return true;
}

bool Application::UserEdit(host::Task& task, host::FieldId field, const std::string& text) {
  const std::uint64_t cancelled_before = cancelled_changes_;
  task.SetField(field, text);
  const bool taken = cancelled_changes_ == cancelled_before;
  if (taken && auto_calculate_ && active_ != nullptr) CalculateProject();
  return taken;
}

Project* Application::ProjectAt(std::int32_t index) {
  if (index < 1 || index > ProjectCount()) return nullptr;
  return open_[static_cast<std::size_t>(index - 1)].get();
}

std::int32_t Application::IndexOf(const Project& project) const {
  for (std::size_t i = 0; i < open_.size(); ++i) {
    if (open_[i].get() == &project) return static_cast<std::int32_t>(i + 1);
  }
  return 0;
}

Window* Application::ActiveWindow() {
  return active_ == nullptr ? nullptr : &active_->ProjectWindow();
}

std::string Application::FormatDate(Moment when) const {
  const std::int64_t days = DayOf(when);
  const host::DateTime civil = CivilFromDays(days);
  const bool weekday =
      date_format_ == DateFormat::kWeekdayDate || date_format_ == DateFormat::kWeekdayDateTime;
  const bool time =
      date_format_ == DateFormat::kWeekdayDateTime || date_format_ == DateFormat::kDateTime;
  char before[4] = {};
  if (weekday) {
    const std::string_view name = kWeekdayNames[WeekdayOfDays(days)];
    before[0] = name[0];
    before[1] = name[1];
    before[2] = name[2];
    before[3] = ' ';
  }
  char after[6] = {};
  if (time) {
    const auto minute_of_day =
        static_cast<std::int32_t>(when - days * kMinutesPerDay);  // [0, 1439]
    const std::int32_t hour = minute_of_day / 60;
    const std::int32_t minute = minute_of_day % 60;
    after[0] = ' ';
    after[1] = static_cast<char>('0' + hour / 10);
    after[2] = static_cast<char>('0' + hour % 10);
    after[3] = ':';
    after[4] = static_cast<char>('0' + minute / 10);
    after[5] = static_cast<char>('0' + minute % 10);
  }
  // A year that two digits would not read back as (a task in 2030, say) is shown in full, so
  // every date the host shows reads back as itself. Written as one text: a date is shown for
  // every date field read.
  return Regional().FormatDateBetween(
      std::string_view(before, weekday ? sizeof before : 0), civil.year, civil.month, civil.day,
      TwoDigitYearReadsBack(civil.year), std::string_view(after, time ? sizeof after : 0));
}

PosixRegionalSettings& Application::Regional() { return platform_->Regional(); }
const PosixRegionalSettings& Application::Regional() const { return platform_->Regional(); }
PosixLibraryLoader& Application::Libraries() { return platform_->Libraries(); }
PictureFileLoader& Application::Pictures() { return platform_->Pictures(); }

void Application::BeginCellEdit() {
  if (!cell_edit_) cell_edit_.emplace(*command_bars_);
}

void Application::EndCellEdit() { cell_edit_.reset(); }

}  // namespace lunavant::workbench
