// SPDX-License-Identifier: MIT
#include "cli/host_session.h"

#include <utility>

#include "addin/host/error.h"
#include "cli/exit_status.h"
#include "cli/messages.h"
#include "workbench/addins/program_layout.h"
#include "workbench/addins/registry_file.h"
#include "workbench/files/bundled_sample.h"
#include "workbench/files/file_error.h"
#include "workbench/files/project_file.h"
#include "workbench/ui/command_bars.h"

namespace lunavant::cli {
namespace {

std::string AddInKey() {
  return std::string(workbench::kAddInsKey) + "\\" + std::string(message::kAddInProgId);
}

}  // namespace

void RaiseFileError(const std::exception& failure) {
  const auto* file = dynamic_cast<const workbench::ProjectFileError*>(&failure);
  if (file == nullptr) throw CommandError(kExitFile, failure.what());
  std::string_view advice;
  switch (file->Status()) {
    case workbench::FileStatus::kNotFound:
      advice = message::kAdviceNotFound;
      break;
    case workbench::FileStatus::kUnreadable:
      advice = message::kAdviceUnreadable;
      break;
    case workbench::FileStatus::kMalformed:
      advice = message::kAdviceMalformed;
      break;
    case workbench::FileStatus::kNotSaved:
      advice = message::kAdviceNotSaved;
      break;
  }
  throw CommandError(kExitFile, message::FileProblem(file->what(), advice));
}

HostSession::HostSession(Terminal& terminal, const SessionOptions& options)
    : terminal_(terminal),
      progress_(terminal),
      layout_(workbench::LayoutOf(options.program_folder)) {
  auto boxes = std::make_unique<TerminalMessageBoxes>(terminal, options.questions, &progress_);
  auto pointer = std::make_unique<TerminalPointer>(progress_);
  boxes_ = boxes.get();
  pointer_ = pointer.get();
  workbench::FrontEndServices services;
  services.messages = std::move(boxes);
  services.pointer = std::move(pointer);
  if (!options.program_folder.empty()) {
    services.library_folders.push_back(options.program_folder);
  }
  app_ = std::make_unique<workbench::Application>(std::move(services));
  workbench::SearchLayoutFirst(*app_, layout_);
  if (options.short_date) app_->Regional().OverrideShortDatePattern(*options.short_date);
  if (options.date_separator) app_->Regional().OverrideDateSeparator(*options.date_separator);
  workbench::UseProjectFiles(*app_);
  registry_path_ = workbench::DefaultRegistryPath();
}

HostSession::~HostSession() {
  if (listening_) app_->RemoveEventSink(*this);
  // The add-ins are told of the shut-down while the host they were connected to still lives.
  manager_.reset();
}

std::filesystem::path HostSession::ModulePath() const { return layout_.AddInModule(); }

void HostSession::StartAddIns(AddInNeed need) {
  if (need == AddInNeed::kConnected) {
    try {
      workbench::RegistryFile registry = workbench::RegistryFile::Load(registry_path_);
      // As an installer would: the add-in is registered once, then left as the user sets it.
      if (!registry.HasKey(AddInKey())) workbench::RegisterModule(ModulePath(), registry);
    } catch (const host::HostError& e) {
      throw CommandError(kExitAddIn, message::RegistryUnusable(registry_path_, e.what()));
    }
  }
  manager_ = std::make_unique<workbench::AddInManager>(*app_, registry_path_);
  registry_read_ = manager_->StartUp();
  // Heard after the add-ins' own handlers, so a refusal is already decided when it arrives.
  app_->AddEventSink(*this);
  listening_ = true;
  if (need != AddInNeed::kConnected) return;
  if (!registry_read_) {
    throw CommandError(kExitAddIn, message::RegistryUnusable(registry_path_, "see above"));
  }
  const workbench::AddInListing* listing = manager_->Find(message::kAddInProgId);
  if (listing == nullptr || !listing->connected) {
    throw CommandError(kExitAddIn, message::AddInNotConnected(registry_path_));
  }
}

workbench::Project& HostSession::Open(const std::optional<std::filesystem::path>& file) {
  file_name_ = file ? *file : std::filesystem::path(workbench::kBundledSampleName);
  progress_.Start(std::string(message::kOpening) + " " + file_name_.string());
  try {
    workbench::Project& project =
        file ? workbench::OpenProjectFile(*app_, *file) : workbench::OpenBundledSample(*app_);
    progress_.Finish();
    // What the host read in place of what the file said is no failure, but the user hears of it.
    for (const std::string& note : workbench::ProjectFileNotes(project)) {
      terminal_.err << file_name_.string() << ": " << note << "\n";
    }
    return project;
  } catch (const workbench::ProjectFileError& e) {
    progress_.Finish();
    RaiseFileError(e);
  }
}

void HostSession::Click(std::string_view caption) {
  workbench::CommandBar* bar = app_->Bars().Item(message::kToolbar);
  workbench::CommandBarButton* button = nullptr;
  if (bar != nullptr) {
    if (!bar->Visible()) bar->SetVisible(true);
    for (workbench::CommandBarButton* candidate : bar->Buttons()) {
      if (candidate->Caption() == caption) button = candidate;
    }
  }
  if (button == nullptr || !button->Click()) {
    throw CommandError(kExitAddIn, message::ButtonUnavailable(caption));
  }
}

void HostSession::Save(workbench::Project& project,
                       const std::optional<std::filesystem::path>& out) {
  progress_.Start(std::string(message::kSaving) + " " + (out ? *out : file_name_).string());
  try {
    // The host names a Save As target beside the old file unless it names its own folder.
    const bool saved = out ? app_->SaveProjectAs(project, std::filesystem::absolute(*out).string())
                           : app_->SaveProject(project);
    progress_.Finish();
    if (!saved) throw CommandError(kExitRefused, message::CommandFailed(file_name_, "Save"));
  } catch (const workbench::ProjectFileError& e) {
    progress_.Finish();
    RaiseFileError(e);
  } catch (const host::HostError& e) {
    progress_.Finish();
    throw CommandError(kExitFile,
                       message::FileProblem((out ? *out : file_name_).string() + ": " + e.what(),
                                            message::kAdviceNotSaved));
  }
}

void HostSession::WatchEdit(const host::Task& task, host::FieldId field) {
  watched_task_ = &task;
  watched_field_ = field;
  watched_cancelled_ = false;
}

void HostSession::ProjectBeforeTaskChange(host::Task& tsk, host::FieldId field,
                                          const host::Value& /*new_value*/, bool& cancel) {
  // Nested writes of partner fields arrive before the user's own edit; the refresh that follows
  // the edit may write the same cell again, and is not the user's edit.
  if (&tsk == watched_task_ && field == watched_field_) {
    watched_cancelled_ = cancel;
    watched_task_ = nullptr;
  }
  if (progress_.Active() && progress_.Total() > 0) progress_.Update(tsk.ID());
}

}  // namespace lunavant::cli
