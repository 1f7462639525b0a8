// SPDX-License-Identifier: MIT
#include "desktop/page_setup_dialog.h"

#include "ui_page_setup_dialog.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

const std::vector<QPageSize::PageSizeId>& PageSetupDialog::paperSizes() {
  static const std::vector<QPageSize::PageSizeId> kSizes = {
      QPageSize::A4, QPageSize::A3, QPageSize::Letter, QPageSize::Legal, QPageSize::A5};
  return kSizes;
}

PageSetupDialog::PageSetupDialog(const QPageLayout& layout, const PrintTimescale& timescale,
                                 QWidget* parent)
    : QDialog(parent), layout_(layout), ui_(std::make_unique<Ui::PageSetupDialog>()) {
  ui_->setupUi(this);
  setObjectName(QStringLiteral("pageSetup"));
  for (QPageSize::PageSizeId id : paperSizes()) {
    ui_->sizeBox->addItem(QPageSize(id).name(), static_cast<int>(id));
  }
  const int size = ui_->sizeBox->findData(static_cast<int>(layout.pageSize().id()));
  if (size >= 0) {
    ui_->sizeBox->setCurrentIndex(size);
  } else {
    // A size set elsewhere (a printer's own) stays on offer.
    ui_->sizeBox->addItem(layout.pageSize().name(), static_cast<int>(layout.pageSize().id()));
    ui_->sizeBox->setCurrentIndex(ui_->sizeBox->count() - 1);
  }
  ui_->orientationBox->addItem(tr("Landscape"), static_cast<int>(QPageLayout::Landscape));
  ui_->orientationBox->addItem(tr("Portrait"), static_cast<int>(QPageLayout::Portrait));
  ui_->orientationBox->setCurrentIndex(layout.orientation() == QPageLayout::Portrait ? 1 : 0);

  const std::pair<wb::TimescaleZoom, QString> zooms[] = {
      {wb::TimescaleZoom::kDays, tr("Days")},
      {wb::TimescaleZoom::kWeeks, tr("Weeks")},
      {wb::TimescaleZoom::kMonths, tr("Months")},
      {wb::TimescaleZoom::kQuarters, tr("Quarters")},
      {wb::TimescaleZoom::kYears, tr("Years")}};
  for (const auto& [zoom, caption] : zooms) ui_->zoomBox->addItem(caption, static_cast<int>(zoom));
  ui_->zoomBox->setCurrentIndex(ui_->zoomBox->findData(static_cast<int>(timescale.zoom)));
  ui_->pagesWideSpin->setMaximum(PrintTimescale::kMostPagesWide);
  ui_->fitBox->setChecked(timescale.pages_wide > 0);
  ui_->pagesWideSpin->setValue(std::max(1, timescale.pages_wide));
  // Fitted, the zoom follows the pages; not fitted, the pages follow the zoom.
  auto follow = [this] {
    ui_->pagesWideSpin->setEnabled(ui_->fitBox->isChecked());
    ui_->zoomBox->setEnabled(!ui_->fitBox->isChecked());
  };
  connect(ui_->fitBox, &QCheckBox::toggled, this, follow);
  follow();
  connect(ui_->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(ui_->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

PageSetupDialog::~PageSetupDialog() = default;

QPageLayout PageSetupDialog::pageLayout() const {
  QPageLayout chosen = layout_;
  chosen.setPageSize(
      QPageSize(static_cast<QPageSize::PageSizeId>(ui_->sizeBox->currentData().toInt())));
  chosen.setOrientation(
      static_cast<QPageLayout::Orientation>(ui_->orientationBox->currentData().toInt()));
  return chosen;
}

PrintTimescale PageSetupDialog::timescale() const {
  return {static_cast<wb::TimescaleZoom>(ui_->zoomBox->currentData().toInt()),
          ui_->fitBox->isChecked() ? ui_->pagesWideSpin->value() : 0};
}

}  // namespace lunavant::desktop
