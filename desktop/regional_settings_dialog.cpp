// SPDX-License-Identifier: MIT
#include "desktop/regional_settings_dialog.h"

#include <QPushButton>

#include "ui_regional_settings_dialog.h"
#include "workbench/platform/regional_settings.h"

namespace lunavant::desktop {

RegionalSettingsDialog::RegionalSettingsDialog(lunavant::workbench::PosixRegionalSettings& regional,
                                               QWidget* parent)
    : QDialog(parent), regional_(regional), ui_(std::make_unique<Ui::RegionalSettingsDialog>()) {
  ui_->setupUi(this);
  ui_->patternEdit->setText(QString::fromStdString(regional_.ShortDatePattern()));
  ui_->separatorEdit->setText(QString::fromStdString(regional_.DateSeparator()));
  // The box starts ticked when the settings shown differ from the locale's.
  lunavant::workbench::PosixRegionalSettings locale_only;
  ui_->overrideBox->setChecked(locale_only.ShortDatePattern() != regional_.ShortDatePattern() ||
                               locale_only.DateSeparator() != regional_.DateSeparator());
  connect(ui_->overrideBox, &QCheckBox::toggled, this, &RegionalSettingsDialog::updateState);
  connect(ui_->patternEdit, &QLineEdit::textChanged, this, &RegionalSettingsDialog::updateState);
  connect(ui_->separatorEdit, &QLineEdit::textChanged, this, &RegionalSettingsDialog::updateState);
  connect(ui_->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(ui_->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  updateState();
}

RegionalSettingsDialog::~RegionalSettingsDialog() = default;

void RegionalSettingsDialog::updateState() {
  const bool overriding = ui_->overrideBox->isChecked();
  ui_->patternEdit->setEnabled(overriding);
  ui_->separatorEdit->setEnabled(overriding);
  // An empty pattern would read as "the platform gives none", which no user means.
  const bool complete =
      !ui_->patternEdit->text().trimmed().isEmpty() && !ui_->separatorEdit->text().isEmpty();
  ui_->buttons->button(QDialogButtonBox::Ok)->setEnabled(!overriding || complete);
  if (overriding && complete) {
    lunavant::workbench::PosixRegionalSettings example;
    example.OverrideShortDatePattern(ui_->patternEdit->text().trimmed().toStdString());
    ui_->exampleLabel->setText(
        tr("Example: %1").arg(QString::fromStdString(example.FormatDate(2004, 3, 15, false))));
  } else {
    ui_->exampleLabel->clear();
  }
}

void RegionalSettingsDialog::accept() {
  if (ui_->overrideBox->isChecked()) {
    regional_.OverrideShortDatePattern(ui_->patternEdit->text().trimmed().toStdString());
    regional_.OverrideDateSeparator(ui_->separatorEdit->text().toStdString());
  } else {
    regional_.ClearOverrides();
  }
  QDialog::accept();
}

}  // namespace lunavant::desktop
