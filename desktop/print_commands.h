// SPDX-License-Identifier: MIT
// File > Page Setup, Print Preview, Print and Export PDF of the active project: each paints the
// project's view through SchedulePrintout on the page the user set up (A4 landscape until the
// user picks another size or orientation) and on the print's own timescale (weeks until the user
// picks another zoom or fits the time to so many pages wide); the choices are remembered.
#pragma once

#include <QObject>
#include <QPageLayout>
#include <QString>

#include "desktop/schedule_printout.h"

class QWidget;

namespace lunavant::workbench {
class HijriDays;
}

namespace lunavant::desktop {

class ProjectView;

class PrintCommands : public QObject {
  Q_OBJECT

 public:
  // `window` parents the dialogs; the Hijri days must outlive this object.
  PrintCommands(QWidget& window, lunavant::workbench::HijriDays& hijri);

  const QPageLayout& pageLayout() const { return layout_; }
  void setPageLayout(const QPageLayout& layout);
  const PrintTimescale& timescale() const { return timescale_; }
  void setTimescale(const PrintTimescale& timescale);

  // Shows the Page Setup dialog; the layout and the timescale change when the user presses OK.
  void pageSetup();
  // Show `view`'s schedule in a preview, or send it to a printer the user picks.
  void printPreview(ProjectView& view);
  void print(ProjectView& view);
  // Asks for a file, then writes the PDF there.
  void exportPdf(ProjectView& view);
  // Writes `view`'s schedule as a PDF to `path`, whole or not at all; false, with the reason in
  // `error`, when it cannot be written.
  bool writePdf(ProjectView& view, const QString& path, QString* error = nullptr) const;

 private:
  QWidget& window_;
  lunavant::workbench::HijriDays& hijri_;
  QPageLayout layout_;
  PrintTimescale timescale_;
};

}  // namespace lunavant::desktop
