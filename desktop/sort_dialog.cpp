// SPDX-License-Identifier: MIT
#include "desktop/sort_dialog.h"

#include <QPushButton>

#include "desktop/task_indicators.h"
#include "desktop/task_sheet_model.h"
#include "ui_sort_dialog.h"

namespace lunavant::desktop {

SortDialog::SortDialog(const TaskSheetModel& model, int column, bool keep_outline, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::SortDialog>()) {
  ui_->setupUi(this);
  setObjectName(QStringLiteral("sortDialog"));
  ui_->secondField->addItem(tr("(none)"), 0);
  for (int shown = 0; shown < model.columnCount(); ++shown) {
    const int field = model.fieldAt(shown);
    if (field == 0 || field == kIndicatorsField) continue;
    const QString title = model.headerData(shown, Qt::Horizontal, Qt::DisplayRole).toString();
    ui_->firstField->addItem(title, field);
    ui_->secondField->addItem(title, field);
  }
  for (QComboBox* order : {ui_->firstOrder, ui_->secondOrder}) {
    order->addItem(tr("Ascending"), true);
    order->addItem(tr("Descending"), false);
  }
  const int start = ui_->firstField->findData(model.fieldAt(column));
  if (start >= 0) ui_->firstField->setCurrentIndex(start);
  ui_->keepOutline->setChecked(keep_outline);
  ui_->buttons->button(QDialogButtonBox::Ok)->setText(tr("&Sort"));
  ui_->buttons->button(QDialogButtonBox::Ok)->setEnabled(ui_->firstField->count() > 0);
  connect(ui_->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(ui_->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

SortDialog::~SortDialog() = default;

std::vector<lunavant::workbench::SortKey> SortDialog::keys() const {
  std::vector<lunavant::workbench::SortKey> chosen;
  const int first = ui_->firstField->currentData().toInt();
  if (first == 0) return chosen;
  chosen.push_back({first, ui_->firstOrder->currentData().toBool()});
  const int second = ui_->secondField->currentData().toInt();
  if (second != 0 && second != first) {
    chosen.push_back({second, ui_->secondOrder->currentData().toBool()});
  }
  return chosen;
}

bool SortDialog::keepOutline() const { return ui_->keepOutline->isChecked(); }

}  // namespace lunavant::desktop
