// SPDX-License-Identifier: MIT
#include "desktop/print_commands.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QSettings>
#include <algorithm>

#include "desktop/host_text.h"
#include "desktop/page_setup_dialog.h"
#include "desktop/project_view.h"
#include "desktop/schedule_printout.h"
#include "workbench/model/project.h"

namespace lunavant::desktop {

namespace {

const char* const kPageSizeKey = "print/pageSize";
const char* const kOrientationKey = "print/orientation";
const char* const kZoomKey = "print/timescale";
const char* const kPagesWideKey = "print/pagesWide";
constexpr int kPdfResolution = 300;

QPageLayout DefaultLayout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                     QPageLayout::Millimeter);
}

}  // namespace

PrintCommands::PrintCommands(QWidget& window, lunavant::workbench::HijriDays& hijri)
    : QObject(&window), window_(window), hijri_(hijri), layout_(DefaultLayout()) {
  QSettings settings;
  const QString size = settings.value(kPageSizeKey).toString();
  if (!size.isEmpty()) {
    for (QPageSize::PageSizeId id : PageSetupDialog::paperSizes()) {
      if (QPageSize(id).key() == size) layout_.setPageSize(QPageSize(id));
    }
  }
  const int zoom = settings.value(kZoomKey, static_cast<int>(timescale_.zoom)).toInt();
  if (zoom >= static_cast<int>(lunavant::workbench::kClosestZoom) &&
      zoom <= static_cast<int>(lunavant::workbench::kWidestZoom)) {
    timescale_.zoom = static_cast<lunavant::workbench::TimescaleZoom>(zoom);
  }
  timescale_.pages_wide =
      std::clamp(settings.value(kPagesWideKey, 0).toInt(), 0, PrintTimescale::kMostPagesWide);
  if (settings.contains(kOrientationKey)) {
    layout_.setOrientation(settings.value(kOrientationKey).toInt() == QPageLayout::Portrait
                               ? QPageLayout::Portrait
                               : QPageLayout::Landscape);
  }
}

void PrintCommands::setPageLayout(const QPageLayout& layout) {
  if (!layout.isValid()) return;
  layout_ = layout;
  QSettings settings;
  settings.setValue(kPageSizeKey, layout_.pageSize().key());
  settings.setValue(kOrientationKey, static_cast<int>(layout_.orientation()));
}

void PrintCommands::setTimescale(const PrintTimescale& timescale) {
  timescale_ = timescale;
  timescale_.pages_wide = std::clamp(timescale_.pages_wide, 0, PrintTimescale::kMostPagesWide);
  QSettings settings;
  settings.setValue(kZoomKey, static_cast<int>(timescale_.zoom));
  settings.setValue(kPagesWideKey, timescale_.pages_wide);
}

void PrintCommands::pageSetup() {
  PageSetupDialog dialog(layout_, timescale_, &window_);
  if (dialog.exec() != QDialog::Accepted) return;
  setPageLayout(dialog.pageLayout());
  setTimescale(dialog.timescale());
}

void PrintCommands::printPreview(ProjectView& view) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(layout_);
  printer.setDocName(fromHost(view.project().Name()));
  QPrintPreviewDialog dialog(&printer, &window_);
  dialog.setObjectName(QStringLiteral("printPreview"));
  dialog.setWindowTitle(tr("Print Preview"));
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this, &view](QPrinter* target) {
    SchedulePrintout(view.model(), hijri_, view.chart(), timescale_).paint(*target);
  });
  dialog.resize(1000, 720);
  dialog.exec();
  // What the user set up in the preview holds for the next print too.
  setPageLayout(printer.pageLayout());
}

void PrintCommands::print(ProjectView& view) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageLayout(layout_);
  printer.setDocName(fromHost(view.project().Name()));
  QPrintDialog dialog(&printer, &window_);
  if (dialog.exec() != QDialog::Accepted) return;
  setPageLayout(printer.pageLayout());
  if (!SchedulePrintout(view.model(), hijri_, view.chart(), timescale_).paint(printer)) {
    QMessageBox::warning(&window_, QApplication::applicationDisplayName(),
                         tr("The schedule could not be printed."));
  }
}

void PrintCommands::exportPdf(ProjectView& view) {
  QString path = QFileDialog::getSaveFileName(&window_, tr("Export PDF"),
                                              fromHost(view.project().Name()) + ".pdf",
                                              tr("PDF files (*.pdf)"));
  if (path.isEmpty()) return;
  if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
  QString error;
  if (!writePdf(view, path, &error)) {
    QMessageBox::warning(&window_, QApplication::applicationDisplayName(), error);
  }
}

bool PrintCommands::writePdf(ProjectView& view, const QString& path, QString* error) const {
  // Written beside the target and put in its place only when whole.
  QSaveFile file(path);
  bool written = file.open(QIODevice::WriteOnly);
  if (written) {
    QPdfWriter pdf(&file);
    pdf.setResolution(kPdfResolution);
    pdf.setPageLayout(layout_);
    pdf.setTitle(fromHost(view.project().Name()));
    pdf.setCreator(QApplication::applicationDisplayName());
    written = SchedulePrintout(view.model(), hijri_, view.chart(), timescale_).paint(pdf);
  }
  written = written && file.commit();
  if (!written && error != nullptr) {
    *error = tr("%1: the PDF could not be written: %2").arg(path, file.errorString());
  }
  return written;
}

}  // namespace lunavant::desktop
