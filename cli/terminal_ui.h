// SPDX-License-Identifier: MIT
// Message boxes for a terminal: each box goes to standard error as its title on one line and its
// text below. There is nobody to click, so a question is answered with its default button.
#pragma once

#include <cstdint>
#include <ostream>

#include "addin/host/services.h"

namespace lunavant::cli {

class TerminalMessageBoxes final : public host::MessageBoxes {
 public:
  explicit TerminalMessageBoxes(std::ostream& err) : err_(err) {}
  host::MsgBoxResult MsgBox(const std::string& prompt, host::MsgBoxStyle style,
                            const std::string& title) override;
  // How many boxes were shown: a box is how the add-in reports a failure.
  std::int32_t ShownCount() const { return shown_; }

 private:
  std::ostream& err_;
  std::int32_t shown_ = 0;
};

}  // namespace lunavant::cli
