// SPDX-License-Identifier: MIT
// The subcommands of the command line, each run in its own host session. Each returns the exit
// status, or throws CommandError.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/host_session.h"
#include "cli/terminal_ui.h"

namespace lunavant::cli {

// Where a changed project goes.
struct SaveOptions {
  bool dry_run = false;
  std::optional<std::filesystem::path> output;
};

struct ShowOptions {
  std::optional<std::filesystem::path> file;  // the bundled sample when empty
  std::optional<std::string> table;
  std::optional<std::string> tasks;  // "1-10,15,20-"
  bool json = false;
};

struct AddOptions {
  std::filesystem::path file;
  std::optional<std::string> table;
  // Typed into the dialog; a missing one is left as the dialog fills it.
  std::optional<std::string> date_field;
  std::optional<std::string> text_field;
  std::optional<std::string> title;
  SaveOptions save;
};

struct RemoveOptions {
  std::filesystem::path file;
  std::optional<std::string> table;
  std::optional<std::string> field;
  SaveOptions save;
};

struct RefreshOptions {
  std::filesystem::path file;
  std::optional<std::string> table;
  SaveOptions save;
};

struct SetOptions {
  std::filesystem::path file;
  std::int32_t task = 0;
  std::string field;
  std::string text;
  SaveOptions save;
};

// Task ID ranges: "5", "1-10", "20-" (to the last), "-3" (from the first), joined by commas.
// Empty when the text is not such a list.
std::optional<std::vector<std::pair<std::int32_t, std::int32_t>>> ParseTaskRanges(
    const std::string& text);

int RunShow(Terminal& terminal, const SessionOptions& session, const ShowOptions& options);
int RunAdd(Terminal& terminal, const SessionOptions& session, const AddOptions& options);
int RunRemove(Terminal& terminal, const SessionOptions& session, const RemoveOptions& options);
int RunRefresh(Terminal& terminal, const SessionOptions& session, const RefreshOptions& options);
int RunSet(Terminal& terminal, const SessionOptions& session, const SetOptions& options);
int RunVerify(Terminal& terminal, const SessionOptions& session,
              const std::optional<std::filesystem::path>& file);

// The registry file and the host's add-in manager.
int RunRegister(Terminal& terminal, const SessionOptions& session,
                const std::optional<std::filesystem::path>& module);
int RunUnregister(Terminal& terminal, const SessionOptions& session,
                  const std::optional<std::filesystem::path>& module);
int RunListAddIns(Terminal& terminal, const SessionOptions& session);
int RunConnectAddIn(Terminal& terminal, const SessionOptions& session, const std::string& prog_id,
                    bool connect);

}  // namespace lunavant::cli
