// SPDX-License-Identifier: MIT
// The platform services the desktop program hands the host and the add-in: message boxes as
// QMessageBox and the mouse pointer as the application's override cursor.
#pragma once

#include <QPointer>
#include <QWidget>

#include "addin/host/services.h"

namespace lunavant::desktop {

class QtMessageBoxes final : public lunavant::host::MessageBoxes {
 public:
  // Boxes are centred on `parent` when it is set (it may be set later or go away).
  void setParent(QWidget* parent) { parent_ = parent; }
  // Modal; an OK box answers kOk whichever way it is closed, a Yes/No box kNo unless Yes was
  // pressed, a Yes/No/Cancel box kCancel when closed without a choice.
  lunavant::host::MsgBoxResult MsgBox(const std::string& prompt, lunavant::host::MsgBoxStyle style,
                                      const std::string& title) override;
  // How many boxes any of them has shown: a caller learns whether the host or an add-in has
  // already told the user something.
  static int shownCount() { return shown_count_; }

 private:
  QPointer<QWidget> parent_;
  static inline int shown_count_ = 0;
};

class QtMousePointer final : public lunavant::host::MousePointer {
 public:
  ~QtMousePointer() override;
  // kPointerBusy shows the wait cursor over the whole program; any other code restores the
  // cursor the widgets chose.
  void SetMousePointer(std::int32_t code) override;
  std::int32_t CurrentMousePointer() const override { return current_; }

 private:
  std::int32_t current_ = lunavant::host::kPointerDefault;
  bool overriding_ = false;
};

}  // namespace lunavant::desktop
