// SPDX-License-Identifier: MIT
#include "cli/terminal_ui.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "cli/messages.h"

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

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  text.erase(0, text.find_first_not_of(" \t"));
  text.erase(text.find_last_not_of(" \t\r") + 1);
  return text;
}

constexpr int kBarWidth = 30;

}  // namespace

host::MsgBoxResult TerminalMessageBoxes::MsgBox(const std::string& prompt, host::MsgBoxStyle style,
                                                const std::string& title) {
  std::ostream& err = terminal_.err;
  if (progress_ != nullptr) progress_->Interrupt();
  err << title << '\n' << TerminalLines(prompt) << '\n' << std::flush;
  if (style == host::MsgBoxStyle::kOkExclamation) {
    ++reports_;
    return host::MsgBoxResult::kOk;
  }
  const bool with_cancel = style == host::MsgBoxStyle::kYesNoCancelExclamationYesFirst;
  const host::MsgBoxResult refusal =
      with_cancel ? host::MsgBoxResult::kCancel : host::MsgBoxResult::kNo;
  switch (questions_) {
    case Questions::kAnswerDefault:
      return host::MsgBoxResult::kYes;
    case Questions::kAnswerYes:
      err << message::kAnsweredYes << '\n' << std::flush;
      return host::MsgBoxResult::kYes;
    case Questions::kAskTerminal:
      break;
  }
  if (!terminal_.in_is_terminal) {
    refused_ = true;
    err << message::kQuestionNotAsked << '\n' << std::flush;
    return refusal;
  }
  for (;;) {
    err << (with_cancel ? message::kYesNoCancelPrompt : message::kYesNoPrompt) << std::flush;
    std::string answer;
    if (!std::getline(terminal_.in, answer)) {
      err << '\n';
      return refusal;
    }
    answer = Lowered(answer);
    if (answer.empty() || answer == "y" || answer == "yes") return host::MsgBoxResult::kYes;
    if (answer == "n" || answer == "no") return host::MsgBoxResult::kNo;
    if (with_cancel && (answer == "c" || answer == "cancel")) return host::MsgBoxResult::kCancel;
  }
}

std::string ProgressLine::Render(const std::string& label, std::int64_t done, std::int64_t total) {
  if (total <= 0) return label + " ...";
  done = std::clamp<std::int64_t>(done, 0, total);
  const std::int64_t filled = done * kBarWidth / total;
  return label + "  [" + std::string(static_cast<std::size_t>(filled), '#') +
         std::string(static_cast<std::size_t>(kBarWidth - filled), '-') + "] " +
         std::to_string(done * 100 / total) + "%  " + std::to_string(done) + "/" +
         std::to_string(total);
}

void ProgressLine::Start(const std::string& label, std::int64_t total) {
  if (!terminal_.err_is_terminal) return;
  Finish();
  label_ = label;
  total_ = total;
  shown_percent_ = -1;
  active_ = true;
  last_draw_ = std::chrono::steady_clock::now();
  terminal_.err << '\r' << Render(label_, 0, total_) << "\x1b[K" << std::flush;
}

void ProgressLine::Update(std::int64_t done) {
  if (!active_) return;
  const auto now = std::chrono::steady_clock::now();
  if (total_ > 0) {
    const std::int64_t percent = std::clamp<std::int64_t>(done, 0, total_) * 100 / total_;
    if (percent == shown_percent_) return;
    shown_percent_ = percent;
  } else if (now - last_draw_ < std::chrono::milliseconds(200)) {
    return;
  }
  last_draw_ = now;
  terminal_.err << '\r' << Render(label_, done, total_) << "\x1b[K" << std::flush;
}

void ProgressLine::Finish() {
  if (!active_) return;
  active_ = false;
  terminal_.err << "\r\x1b[K" << std::flush;
}

void ProgressLine::Interrupt() {
  if (!active_) return;
  shown_percent_ = -1;
  last_draw_ = {};
  terminal_.err << "\r\x1b[K" << std::flush;
}

void TerminalPointer::SetMousePointer(std::int32_t code) {
  const bool was_busy = current_ == host::kPointerBusy;
  current_ = code;
  if (code == host::kPointerBusy && !was_busy) {
    progress_.Start(busy_label_, busy_total_);
  } else if (code != host::kPointerBusy && was_busy) {
    progress_.Finish();
  }
}

}  // namespace lunavant::cli
