// SPDX-License-Identifier: MIT
#include "desktop/recovery_offer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <memory>
#include <string_view>

#include "desktop/file_guard.h"
#include "desktop/host_text.h"
#include "desktop/main_window.h"
#include "desktop/recovery_copies.h"
#include "workbench/files/project_file.h"
#include "workbench/model/application.h"
#include "workbench/model/project.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

namespace {

void ShowFailure(MainWindow& window, const QString& message) {
  QMessageBox::warning(&window, QApplication::applicationDisplayName(), message);
}

}  // namespace

void OfferRecovery(MainWindow& window) {
  const std::vector<RecoveryCopies::Left> left = RecoveryCopies::leftBehind();
  if (left.empty()) return;
  QStringList names;
  for (const RecoveryCopies::Left& copy : left) {
    names << (copy.file.isEmpty()
                  ? copy.name
                  : QStringLiteral("%1 (%2)").arg(copy.name, QDir::toNativeSeparators(copy.file)));
  }
  QMessageBox box(&window);
  box.setWindowTitle(QApplication::applicationDisplayName());
  box.setIcon(QMessageBox::Question);
  box.setText(
      MainWindow::tr("The program stopped last time without closing these projects; their unsaved "
                     "changes were kept:"));
  box.setInformativeText(names.join(QLatin1Char('\n')));
  QPushButton* recover = box.addButton(MainWindow::tr("&Recover"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(MainWindow::tr("&Discard"), QMessageBox::DestructiveRole);
  QPushButton* later = box.addButton(MainWindow::tr("&Not Now"), QMessageBox::RejectRole);
  box.setDefaultButton(recover);
  box.setEscapeButton(later);
  box.exec();
  if (box.clickedButton() == discard) {
    for (const RecoveryCopies::Left& copy : left) RecoveryCopies::discard(copy);
    return;
  }
  if (box.clickedButton() != recover) return;
  for (const RecoveryCopies::Left& copy : left) {
    try {
      QFile copy_file(copy.copy);
      if (!copy_file.open(QIODevice::ReadOnly)) {
        ShowFailure(window,
                    MainWindow::tr("The recovery copy \"%1\" could not be read.").arg(copy.copy));
        continue;
      }
      const QByteArray text = copy_file.readAll();
      std::unique_ptr<wb::Project> read = wb::ReadProjectText(
          window.application(),
          std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
          copy.file.toStdString());
      if (copy.file.isEmpty()) read->Rename(toHost(copy.name));
      wb::Project& recovered = window.application().AdoptOpenedProject(std::move(read));
      // What the copy holds is not in the user's file: the project is unsaved until saved.
      recovered.MarkChanged();
      if (!copy.file.isEmpty()) window.files().remember(recovered, copy.file, copy.known);
      RecoveryCopies::discard(copy);
    } catch (const std::exception& e) {
      ShowFailure(window, QString::fromUtf8(e.what()));
    }
  }
  window.syncWithApplication();
  window.refreshViews();
  window.recovery().writeNow();
  // A file changed since the copy's program knew it is told now, not at the first save.
  for (std::int32_t index = 1; index <= window.application().ProjectCount(); ++index) {
    window.files().recheck(*window.application().ProjectAt(index));
  }
}

}  // namespace lunavant::desktop
