// SPDX-License-Identifier: MIT
// The workbench's own message boxes and mouse pointer: they show nothing, keep a record of what
// was shown, and answer from a script. Tests read the record; front ends substitute real ones
// (FrontEndServices).
//
//   RecordingMessageBoxes boxes;
//   boxes.QueueAnswer(host::MsgBoxResult::kNo);      // the next Yes/No box answers No
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "addin/host/services.h"

namespace lunavant::workbench {

struct ShownMessage {
  std::string prompt;
  host::MsgBoxStyle style;
  std::string title;
  host::MsgBoxResult answer;
  friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

class RecordingMessageBoxes final : public host::MessageBoxes {
 public:
  // Records the box. An OK box answers OK; a Yes/No or Yes/No/Cancel box answers the next queued
  // answer, or Yes, its default button, when none is queued.
  host::MsgBoxResult MsgBox(const std::string& prompt, host::MsgBoxStyle style,
                            const std::string& title) override;

  // kYes, kNo and kCancel can be queued; kOk fails with kInvalidProcedureCall. A Yes/No box whose
  // queued answer is Cancel fails with kInvalidProcedureCall, showing nothing: it has no such
  // button, so the script is wrong.
  void QueueAnswer(host::MsgBoxResult answer);
  const std::vector<ShownMessage>& Shown() const { return shown_; }
  // Forgets what was shown and the queued answers.
  void Clear();

 private:
  std::vector<ShownMessage> shown_;
  std::deque<host::MsgBoxResult> answers_;
};

class RecordingMousePointer final : public host::MousePointer {
 public:
  void SetMousePointer(std::int32_t code) override;
  std::int32_t CurrentMousePointer() const override { return current_; }
  // Every code set, in order.
  const std::vector<std::int32_t>& History() const { return history_; }
  void Clear() { history_.clear(); }

 private:
  std::int32_t current_ = host::kPointerDefault;
  std::vector<std::int32_t> history_;
};

}  // namespace lunavant::workbench
