// SPDX-License-Identifier: MIT
// The driver's script of user actions: a UTF-8 text file, one action per line, its words
// separated by blanks; a word with blanks goes in double quotes (\" and \\ inside them). Blank
// lines and lines starting with # are skipped. ScriptActionsHelp() lists the actions.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lunavant::driver {

struct ScriptStep {
  int line = 0;
  std::wstring action;
  std::vector<std::wstring> arguments;
};

// A line the driver cannot read as an action; the message names the line.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads every line; throws ScriptError at the first unknown action, wrong argument count or
// unclosed quote, naming `source` (the file's name) and the line.
std::vector<ScriptStep> ParseScript(std::string_view text, std::string_view source);

// The actions and their arguments, for --help.
std::string_view ScriptActionsHelp();

}  // namespace lunavant::driver
