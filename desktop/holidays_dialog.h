// SPDX-License-Identifier: MIT
// Tools > Holidays: a holiday set, a range of Hijri years and a calendar chosen, the holidays
// previewed with their Hijri and Gregorian days and what becomes of each, then added to the
// calendar as named non-working exceptions, or taken off it again, and the project recalculated
// (see calendar_holidays.h).
#pragma once

#include <QDialog>
#include <functional>
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
  // Whether OK takes the holidays off the calendar rather than adding them.
  bool removing() const;
  // Runs a change of the project as one named edit of the project's history, recalculating after
  // it; false when refused. Without one, OK changes the project directly and recalculates.
  using EditRunner = std::function<bool(const QString& name, const std::function<void()>& change)>;
  void setEditRunner(EditRunner runner) { edit_runner_ = std::move(runner); }
  // Adds (or takes off) the previewed holidays and recalculates the project (when it is the
  // active one).
  void accept() override;

 public slots:
  void updatePreview();

 private:
  void browse();

  lunavant::workbench::Application& app_;
  lunavant::workbench::Project& project_;
  std::unique_ptr<Ui::HolidaysDialog> ui_;
  lunavant::workbench::HolidayPlan plan_;
  EditRunner edit_runner_;
};

}  // namespace lunavant::desktop
