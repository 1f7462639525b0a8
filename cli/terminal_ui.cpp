// SPDX-License-Identifier: MIT
#include "cli/terminal_ui.h"

#include <string>

namespace lunavant::cli {
namespace {

// The box text joins its lines with CR LF; a terminal wants LF.
std::string TerminalLines(const std::string& text) {
  std::string lines;
  lines.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    lines += text[i];
  }
  return lines;
}

}  // namespace

host::MsgBoxResult TerminalMessageBoxes::MsgBox(const std::string& prompt, host::MsgBoxStyle style,
                                                const std::string& title) {
  ++shown_;
  err_ << title << '\n' << TerminalLines(prompt) << '\n' << std::flush;
  return style == host::MsgBoxStyle::kOkExclamation ? host::MsgBoxResult::kOk
                                                    : host::MsgBoxResult::kYes;
}

}  // namespace lunavant::cli
