// SPDX-License-Identifier: MIT
// The dialog toolkit (addin/host/dialogs.h) in Win32: a form becomes a modal dialog built from an
// in-memory template at the form's size; labels wrap, drop-down lists take typed text, controls
// with a tooltip show it; the window's close box closes the form as the contract's CloseByWindow.
// Handlers run on the dialog's own message loop, which ShowModal runs until the form is hidden.
#pragma once

#include <windows.h>

#include "addin/host/dialogs.h"

namespace lunavant::winaddin {

class Win32DialogToolkit final : public host::DialogToolkit {
 public:
  std::unique_ptr<host::Form> CreateForm(const host::FormSpec& spec,
                                         host::FormHandlers& handlers) override;
};

// The control identifier of spec.controls[index] in the dialog, as tests find controls by it.
inline constexpr WORD kFirstControlId = 100;

// The window a dialog or message box is owned by: the active window of this thread (the host's
// main window, or a dialog of the add-in), else none.
HWND OwnerWindow();

}  // namespace lunavant::winaddin
