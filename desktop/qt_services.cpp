// SPDX-License-Identifier: MIT
#include "desktop/qt_services.h"

#include <QApplication>
#include <QMessageBox>

#include "desktop/host_messages.h"
#include "workbench/model/messages.h"

namespace lunavant::desktop {

using lunavant::host::MsgBoxResult;
using lunavant::host::MsgBoxStyle;

MsgBoxResult QtMessageBoxes::MsgBox(const std::string& prompt, MsgBoxStyle style,
                                    const std::string& title) {
  ++shown_count_;
  // The host's own boxes speak the user's language; an add-in's say what the add-in wrote.
  const bool hosts_own = title == lunavant::workbench::message::kWorkbenchTitle;
  QMessageBox box(QMessageBox::Warning, shownMessageTitle(title),
                  hosts_own ? shownHostMessage(prompt) : QString::fromStdString(prompt),
                  QMessageBox::NoButton, parent_.data());
  if (style == MsgBoxStyle::kYesNoExclamationYesFirst) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  } else if (style == MsgBoxStyle::kYesNoCancelExclamationYesFirst) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
  }
  // A box asked for while the wait cursor shows must still be answerable with the mouse.
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int answer = box.exec();
  if (busy) QApplication::restoreOverrideCursor();
  if (style == MsgBoxStyle::kOkExclamation) return MsgBoxResult::kOk;
  if (answer == QMessageBox::Yes) return MsgBoxResult::kYes;
  if (answer == QMessageBox::No || style == MsgBoxStyle::kYesNoExclamationYesFirst) {
    return MsgBoxResult::kNo;
  }
  return MsgBoxResult::kCancel;
}

QtMousePointer::~QtMousePointer() {
  if (overriding_ && QApplication::instance() != nullptr) QApplication::restoreOverrideCursor();
}

void QtMousePointer::SetMousePointer(std::int32_t code) {
  current_ = code;
  const bool busy = code == lunavant::host::kPointerBusy;
  if (busy && !overriding_) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    overriding_ = true;
  } else if (!busy && overriding_) {
    QApplication::restoreOverrideCursor();
    overriding_ = false;
  }
}

}  // namespace lunavant::desktop
