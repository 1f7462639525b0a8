// SPDX-License-Identifier: MIT
#include "desktop/file_prompts.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace lunavant::desktop {

namespace {

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

}  // namespace

OutsideChangeChoice TellOutsideChange(QWidget* parent, const QString& path, bool gone,
                                      bool unsaved_here) {
  QMessageBox box(parent);
  box.setWindowTitle(QApplication::applicationDisplayName());
  box.setIcon(QMessageBox::Warning);
  if (gone) {
    box.setText(QApplication::translate("FilePrompts",
                                        "\"%1\" was deleted or moved away by another program.")
                    .arg(Shown(path)));
    box.setInformativeText(QApplication::translate(
        "FilePrompts", "The project stays open here; saving it writes the file again."));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return OutsideChangeChoice::kKeep;
  }
  box.setText(QApplication::translate("FilePrompts", "\"%1\" was changed by another program.")
                  .arg(Shown(path)));
  box.setInformativeText(
      unsaved_here ? QApplication::translate("FilePrompts",
                                             "Reload it from the file? The changes you made here "
                                             "since it was last saved would be lost.")
                   : QApplication::translate("FilePrompts", "Reload it from the file?"));
  QPushButton* reload =
      box.addButton(QApplication::translate("FilePrompts", "&Reload"), QMessageBox::AcceptRole);
  QPushButton* keep =
      box.addButton(QApplication::translate("FilePrompts", "&Keep Mine"), QMessageBox::RejectRole);
  box.setDefaultButton(keep);
  box.setEscapeButton(keep);
  box.exec();
  return box.clickedButton() == reload ? OutsideChangeChoice::kReload : OutsideChangeChoice::kKeep;
}

OutsideChangeChoice AskBeforeSavingOver(QWidget* parent, const QString& path, bool gone) {
  QMessageBox box(parent);
  box.setWindowTitle(QApplication::applicationDisplayName());
  box.setIcon(QMessageBox::Warning);
  QPushButton* reload = nullptr;
  QPushButton* overwrite = nullptr;
  if (gone) {
    box.setText(QApplication::translate("FilePrompts",
                                        "\"%1\" was deleted or moved away by another program.")
                    .arg(Shown(path)));
    box.setInformativeText(QApplication::translate("FilePrompts", "Save the project there again?"));
    overwrite =
        box.addButton(QApplication::translate("FilePrompts", "&Save"), QMessageBox::AcceptRole);
  } else {
    box.setText(QApplication::translate(
                    "FilePrompts",
                    "\"%1\" was changed by another program since it was opened or saved here.")
                    .arg(Shown(path)));
    box.setInformativeText(QApplication::translate(
        "FilePrompts",
        "Overwriting it loses that change. Reloading it loses your unsaved changes here."));
    reload =
        box.addButton(QApplication::translate("FilePrompts", "&Reload"), QMessageBox::ResetRole);
    overwrite = box.addButton(QApplication::translate("FilePrompts", "&Overwrite"),
                              QMessageBox::DestructiveRole);
  }
  QPushButton* save_as =
      box.addButton(QApplication::translate("FilePrompts", "Save &As..."), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QMessageBox::Cancel);
  box.setDefaultButton(cancel);
  box.setEscapeButton(cancel);
  box.exec();
  if (box.clickedButton() == reload && reload != nullptr) return OutsideChangeChoice::kReload;
  if (box.clickedButton() == overwrite) return OutsideChangeChoice::kOverwrite;
  if (box.clickedButton() == save_as) return OutsideChangeChoice::kSaveAs;
  return OutsideChangeChoice::kCancel;
}

bool ConfirmReloadLosingChanges(QWidget* parent, const QString& name) {
  return QMessageBox::warning(
             parent, QApplication::applicationDisplayName(),
             QApplication::translate("FilePrompts",
                                     "Reload \"%1\" from its file? The changes you made here since "
                                     "it was last saved will be lost.")
                 .arg(name),
             QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

QString WithProjectSuffix(const QString& path) {
  return QFileInfo(path).suffix().isEmpty() ? path + QStringLiteral(".xml") : path;
}

}  // namespace lunavant::desktop
