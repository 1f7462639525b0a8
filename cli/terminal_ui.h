// SPDX-License-Identifier: MIT
// The host's user interface on a terminal. Each message box goes to standard error as its title
// on one line and its text below. A Yes/No question is answered from the terminal, by --yes, or
// refused when there is nobody to ask; a Yes/No/Cancel question is answered the same way, a
// refusal being Cancel. The busy mouse pointer becomes a progress line on standard error when it
// is a terminal.
#pragma once

#include <chrono>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

#include "addin/host/services.h"

namespace lunavant::cli {

class ProgressLine;

// The process's standard streams, and which of them are terminals.
struct Terminal {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool in_is_terminal = false;
  bool err_is_terminal = false;
};

enum class Questions {
  kAnswerDefault,  // the default button, as a box nobody reads would be closed
  kAskTerminal,    // asked on the terminal; refused when standard input is not one
  kAnswerYes       // --yes
};

class TerminalMessageBoxes final : public host::MessageBoxes {
 public:
  // `progress` (may be null) is cleared before a box is written, so the box starts a line.
  TerminalMessageBoxes(Terminal& terminal, Questions questions, ProgressLine* progress = nullptr)
      : terminal_(terminal), questions_(questions), progress_(progress) {}
  host::MsgBoxResult MsgBox(const std::string& prompt, host::MsgBoxStyle style,
                            const std::string& title) override;

  // Boxes with an OK button only: how the add-in and the host report a failure.
  std::int32_t ReportsShown() const { return reports_; }
  // Whether a question went unanswered because standard input is not a terminal.
  bool QuestionRefused() const { return refused_; }
  void SetQuestions(Questions questions) { questions_ = questions; }

 private:
  Terminal& terminal_;
  Questions questions_;
  ProgressLine* progress_;
  std::int32_t reports_ = 0;
  bool refused_ = false;
};

// One line of progress on standard error, redrawn in place: "Refreshing  [#####-----]  50%
// 5000/10000". Draws nothing unless standard error is a terminal.
class ProgressLine {
 public:
  explicit ProgressLine(Terminal& terminal) : terminal_(terminal) {}
  ~ProgressLine() { Finish(); }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // Starts a line for work of `total` steps; 0 when the total is not known.
  void Start(const std::string& label, std::int64_t total = 0);
  // Redraws at most once per percent, or every few hundred milliseconds when no total is known.
  void Update(std::int64_t done);
  // Clears the line.
  void Finish();
  // Clears the line for other output; the next Update draws it again.
  void Interrupt();
  bool Active() const { return active_; }
  std::int64_t Total() const { return total_; }

  // The text drawn for `done` of `total`, without the carriage return.
  static std::string Render(const std::string& label, std::int64_t done, std::int64_t total);

 private:
  Terminal& terminal_;
  std::string label_;
  std::int64_t total_ = 0;
  std::int64_t shown_percent_ = -1;
  std::chrono::steady_clock::time_point last_draw_{};
  bool active_ = false;
};

// The mouse pointer of the host: while it shows busy, the progress line runs.
class TerminalPointer final : public host::MousePointer {
 public:
  explicit TerminalPointer(ProgressLine& progress) : progress_(progress) {}
  void SetMousePointer(std::int32_t code) override;
  std::int32_t CurrentMousePointer() const override { return current_; }
  // What the progress line says while the pointer is busy, and how many steps it counts.
  void SetBusyWork(std::string label, std::int64_t total) {
    busy_label_ = std::move(label);
    busy_total_ = total;
  }

 private:
  ProgressLine& progress_;
  std::int32_t current_ = host::kPointerDefault;
  std::string busy_label_ = "Working";
  std::int64_t busy_total_ = 0;
};

}  // namespace lunavant::cli
