// SPDX-License-Identifier: MIT
#include "desktop/add_ins_dialog.h"

#include "desktop/host_text.h"
#include "ui_add_ins_dialog.h"
#include "workbench/addins/addin_manager.h"

namespace lunavant::desktop {

AddInsDialog::AddInsDialog(lunavant::workbench::AddInManager& manager, QWidget* parent)
    : QDialog(parent), manager_(manager), ui_(std::make_unique<Ui::AddInsDialog>()) {
  ui_->setupUi(this);
  for (const lunavant::workbench::AddInListing& listing : manager_.AddIns()) {
    const std::string& shown =
        listing.friendly_name.empty() ? listing.prog_id : listing.friendly_name;
    auto* item = new QListWidgetItem(fromHost(shown), ui_->addInList);
    item->setData(Qt::UserRole, fromHost(listing.prog_id));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(listing.connected ? Qt::Checked : Qt::Unchecked);
  }
  connect(ui_->addInList, &QListWidget::currentRowChanged, this, &AddInsDialog::showDetails);
  connect(ui_->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(ui_->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  if (ui_->addInList->count() > 0) ui_->addInList->setCurrentRow(0);
}

AddInsDialog::~AddInsDialog() = default;

void AddInsDialog::showDetails(int row) {
  const auto& listings = manager_.AddIns();
  if (row < 0 || row >= static_cast<int>(listings.size())) {
    ui_->locationLabel->clear();
    ui_->descriptionLabel->clear();
    return;
  }
  const lunavant::workbench::AddInListing& listing = listings[static_cast<std::size_t>(row)];
  ui_->locationLabel->setText(tr("Location: %1").arg(fromHost(listing.module.string())));
  QString description = fromHost(listing.description);
  if (!listing.problem.empty()) description += QStringLiteral("\n") + fromHost(listing.problem);
  ui_->descriptionLabel->setText(description);
}

void AddInsDialog::accept() {
  // Closed first, so that messages of a failing connection are not shown over this dialog.
  QDialog::accept();
  for (int row = 0; row < ui_->addInList->count(); ++row) {
    const QListWidgetItem* item = ui_->addInList->item(row);
    const std::string prog_id = item->data(Qt::UserRole).toString().toStdString();
    const lunavant::workbench::AddInListing* listing = manager_.Find(prog_id);
    if (listing == nullptr) continue;
    const bool wanted = item->checkState() == Qt::Checked;
    if (wanted && !listing->connected) manager_.Connect(prog_id);
    if (!wanted && listing->connected) manager_.Disconnect(prog_id);
  }
}

}  // namespace lunavant::desktop
