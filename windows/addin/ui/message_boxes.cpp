// SPDX-License-Identifier: MIT
#include "ui/message_boxes.h"

#include "text.h"
#include "ui/dialog_toolkit.h"

namespace lunavant::winaddin {

UINT MessageBoxFlags(host::MsgBoxStyle style) {
  // Modal for the whole thread when there is no window to own the box.
  const UINT common = MB_ICONEXCLAMATION | MB_SETFOREGROUND;
  switch (style) {
    case host::MsgBoxStyle::kOkExclamation:
      return common | MB_OK;
    case host::MsgBoxStyle::kYesNoExclamationYesFirst:
      return common | MB_YESNO | MB_DEFBUTTON1;
    case host::MsgBoxStyle::kYesNoCancelExclamationYesFirst:
      return common | MB_YESNOCANCEL | MB_DEFBUTTON1;
  }
  return common | MB_OK;
}

host::MsgBoxResult ResultOf(int answer, host::MsgBoxStyle style) {
  switch (answer) {
    case IDOK:
      return host::MsgBoxResult::kOk;
    case IDYES:
      return host::MsgBoxResult::kYes;
    case IDNO:
      return host::MsgBoxResult::kNo;
    case IDCANCEL:
      return host::MsgBoxResult::kCancel;
    default:
      switch (style) {
        case host::MsgBoxStyle::kOkExclamation:
          return host::MsgBoxResult::kOk;
        case host::MsgBoxStyle::kYesNoExclamationYesFirst:
          return host::MsgBoxResult::kNo;
        case host::MsgBoxStyle::kYesNoCancelExclamationYesFirst:
          return host::MsgBoxResult::kCancel;
      }
      return host::MsgBoxResult::kCancel;
  }
}

host::MsgBoxResult Win32MessageBoxes::MsgBox(const std::string& prompt, host::MsgBoxStyle style,
                                             const std::string& title) {
  HWND owner = OwnerWindow();
  UINT flags = MessageBoxFlags(style);
  if (owner == nullptr) flags |= MB_TASKMODAL;
  const int answer =
      MessageBoxW(owner, com::Widen(prompt).c_str(), com::Widen(title).c_str(), flags);
  return ResultOf(answer, style);
}

void Win32MousePointer::SetMousePointer(std::int32_t code) {
  code_ = code;
  SetCursor(LoadCursorW(nullptr, code == host::kPointerBusy ? IDC_WAIT : IDC_ARROW));
}

}  // namespace lunavant::winaddin
