// SPDX-License-Identifier: MIT
// Tools > Holidays: a holiday set, a range of Hijri years and a calendar chosen, the holidays
// previewed with their Hijri and Gregorian days and what becomes of each, then added to the
// calendar as named non-working exceptions and the project recalculated (see calendar_holidays.h).
#pragma once

#include <QDialog>
#include <memory>

#include "workbench/files/calendar_holidays.h"

namespace Ui {
class HolidaysDialog;
}

namespace lunavant::workbench {
class Application;
class Project;
}  // namespace lunavant::workbench

namespace lunavant::desktop {

class HolidaysDialog : public QDialog {
  Q_OBJECT

 public:
  // The application and the project must outlive the dialog. The years start at the Hijri year
  // the project starts in.
  HolidaysDialog(lunavant::workbench::Application& app, lunavant::workbench::Project& project,
                 QWidget* parent = nullptr);
  ~HolidaysDialog() override;

  // What OK would do, as the preview shows it; empty when the choices cannot be had.
  const lunavant::workbench::HolidayPlan& plan() const { return plan_; }
  // Adds the previewed holidays and recalculates the project (when it is the active one).
  void accept() override;

 public slots:
  void updatePreview();

 private:
  void browse();

  lunavant::workbench::Application& app_;
  lunavant::workbench::Project& project_;
  std::unique_ptr<Ui::HolidaysDialog> ui_;
  lunavant::workbench::HolidayPlan plan_;
};

}  // namespace lunavant::desktop
