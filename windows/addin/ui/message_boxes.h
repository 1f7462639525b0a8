// SPDX-License-Identifier: MIT
// Message boxes and the mouse pointer in Win32: MessageBoxW with the style's buttons, the
// exclamation icon and Yes as the default where there is a Yes; the wait cursor while the
// add-in works.
#pragma once

#include <windows.h>

#include "addin/host/services.h"

namespace lunavant::winaddin {

class Win32MessageBoxes final : public host::MessageBoxes {
 public:
  host::MsgBoxResult MsgBox(const std::string& prompt, host::MsgBoxStyle style,
                            const std::string& title) override;
};

// MessageBoxW's flags for a style.
UINT MessageBoxFlags(host::MsgBoxStyle style);
// A box that could not be shown answers as the safest choice: No where there is one.
host::MsgBoxResult ResultOf(int answer, host::MsgBoxStyle style);

class Win32MousePointer final : public host::MousePointer {
 public:
  void SetMousePointer(std::int32_t code) override;
  std::int32_t CurrentMousePointer() const override { return code_; }

 private:
  std::int32_t code_ = host::kPointerDefault;
};

}  // namespace lunavant::winaddin
