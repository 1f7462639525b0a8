// SPDX-License-Identifier: MIT
#include "workbench/platform/recording_ui.h"

#include "addin/host/error.h"

namespace lunavant::workbench {

host::MsgBoxResult RecordingMessageBoxes::MsgBox(const std::string& prompt, host::MsgBoxStyle style,
                                                 const std::string& title) {
  host::MsgBoxResult answer = host::MsgBoxResult::kOk;
  if (style != host::MsgBoxStyle::kOkExclamation) {
    answer = host::MsgBoxResult::kYes;
    if (!answers_.empty()) {
      answer = answers_.front();
      if (answer == host::MsgBoxResult::kCancel &&
          style == host::MsgBoxStyle::kYesNoExclamationYesFirst) {
        host::Raise(host::kInvalidProcedureCall, "A Yes/No box has no Cancel button.");
      }
      answers_.pop_front();
    }
  }
  shown_.push_back(ShownMessage{prompt, style, title, answer});
  return answer;
}

void RecordingMessageBoxes::QueueAnswer(host::MsgBoxResult answer) {
  if (answer == host::MsgBoxResult::kOk) {
    host::Raise(host::kInvalidProcedureCall, "Only Yes, No or Cancel can be queued as an answer.");
  }
  answers_.push_back(answer);
}

void RecordingMessageBoxes::Clear() {
  shown_.clear();
  answers_.clear();
}

void RecordingMousePointer::SetMousePointer(std::int32_t code) {
  current_ = code;
  history_.push_back(code);
}

}  // namespace lunavant::workbench
