// SPDX-License-Identifier: MIT
// File > Page Setup: the paper (size, orientation) and the timescale on paper, which is the
// print's own whatever the screen shows: a zoom, or the chart's time fitted to so many pages
// wide.
#pragma once

#include <QDialog>
#include <QPageLayout>
#include <memory>

#include "desktop/schedule_printout.h"

namespace Ui {
class PageSetupDialog;
}

namespace lunavant::desktop {

class PageSetupDialog : public QDialog {
  Q_OBJECT

 public:
  PageSetupDialog(const QPageLayout& layout, const PrintTimescale& timescale,
                  QWidget* parent = nullptr);
  ~PageSetupDialog() override;

  // The layout shown with the paper chosen; its margins are those it was given.
  QPageLayout pageLayout() const;
  PrintTimescale timescale() const;

  // The paper sizes offered, the first the default.
  static const std::vector<QPageSize::PageSizeId>& paperSizes();

 private:
  QPageLayout layout_;
  std::unique_ptr<Ui::PageSetupDialog> ui_;
};

}  // namespace lunavant::desktop
