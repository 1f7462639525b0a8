// SPDX-License-Identifier: MIT
// One run of the reference host behind the command line: the workbench application with the
// terminal's message boxes, pointer and progress line, the scripted dialog toolkit, the add-in
// manager over the per-user registry, and the project the command works on. Everything the
// command does reaches the add-in as a user's action would: a click on its toolbar, the answers
// of its dialogs, a cell edit.
//
//   HostSession session(terminal, options);
//   session.StartAddIns(AddInNeed::kConnected);       // registers the add-in if it is missing
//   workbench::Project& plan = session.Open("plan.xml");
//   session.Click(message::kRefreshButton);
//   session.Save(plan, std::nullopt);
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "addin/host/events.h"
#include "cli/terminal_ui.h"
#include "workbench/addins/addin_manager.h"
#include "workbench/addins/program_layout.h"
#include "workbench/model/application.h"

namespace lunavant::cli {

struct SessionOptions {
  std::optional<std::string> short_date;
  std::optional<std::string> date_separator;
  // Where the program lies: the add-in module, the converter and the faces are looked for there
  // or where the program's installation puts them (workbench::LayoutOf).
  std::filesystem::path program_folder;
  Questions questions = Questions::kAskTerminal;
};

enum class AddInNeed {
  kAsRegistered,  // start the add-ins the registry lists, as the host does
  kConnected      // register the add-in when the registry lacks it, and fail when not connected
};

class HostSession final : private host::ApplicationEvents {
 public:
  HostSession(Terminal& terminal, const SessionOptions& options);
  ~HostSession() override;
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  workbench::Application& App() { return *app_; }
  TerminalMessageBoxes& Boxes() { return *boxes_; }
  TerminalPointer& Pointer() { return *pointer_; }
  ProgressLine& Progress() { return progress_; }
  const std::filesystem::path& RegistryPath() const { return registry_path_; }
  std::filesystem::path ModulePath() const;

  // Starts the host's add-in manager. Fails with kExitAddIn (see AddInNeed).
  void StartAddIns(AddInNeed need);
  // Whether the last StartAddIns could read the registry (the host has said so when it could not).
  bool RegistryRead() const { return registry_read_; }
  workbench::AddInManager& Manager() { return *manager_; }

  // Opens the file, or the bundled sample when none is given, as the user opens a file. Fails
  // with kExitFile, naming the file and what to do.
  workbench::Project& Open(const std::optional<std::filesystem::path>& file);
  // The file the project came from, as the user named it.
  const std::filesystem::path& FileName() const { return file_name_; }

  // Shows the add-in's toolbar when hidden, as the user does from the host's menu, and clicks the
  // button with this caption. Fails with kExitAddIn when there is no such usable button.
  void Click(std::string_view caption);

  // Saves through the host (ProjectBeforeSave, then the file, atomically): in place, or to `out`.
  // Fails with kExitFile when the file cannot be written, leaving the file on disk as it was.
  void Save(workbench::Project& project, const std::optional<std::filesystem::path>& out);

  // Watches the next task-change events for this task and field: whether the last one of them,
  // after every handler had its say, was cancelled.
  void WatchEdit(const host::Task& task, host::FieldId field);
  bool WatchedEditCancelled() const { return watched_cancelled_; }

 private:
  void ProjectBeforeTaskChange(host::Task& tsk, host::FieldId field, const host::Value& new_value,
                               bool& cancel) override;
  void ProjectCalculate(host::Project&) override {}
  void NewProject(host::Project&) override {}
  void ProjectBeforeClose(host::Project*, bool&) override {}
  void ProjectBeforeSave(host::Project&, bool, bool&) override {}
  void WindowActivate(host::Window*) override {}

  Terminal& terminal_;
  ProgressLine progress_;
  TerminalMessageBoxes* boxes_ = nullptr;
  TerminalPointer* pointer_ = nullptr;
  std::unique_ptr<workbench::Application> app_;
  workbench::ProgramLayout layout_;
  std::filesystem::path registry_path_;
  std::unique_ptr<workbench::AddInManager> manager_;
  bool registry_read_ = false;
  bool listening_ = false;
  std::filesystem::path file_name_;
  const host::Task* watched_task_ = nullptr;
  host::FieldId watched_field_ = 0;
  bool watched_cancelled_ = false;
};

// The project file failure as the command line reports it: the file, what is wrong, and what to
// do.
[[noreturn]] void RaiseFileError(const std::exception& failure);

}  // namespace lunavant::cli
