// SPDX-License-Identifier: MIT
// Tools > Change Working Time: the project's calendars, each with its working week (which
// weekdays are worked, on which hours) and its named exceptions, one-off or repeated; a new base
// calendar copied from the one shown; the calendar the project is scheduled on; and the working
// week of a region (CLDR's week data) to start from. The dialog changes a draft of the calendars
// (see project_calendars.h): OK hands it to the caller, who puts it into the project as one
// undoable edit; Cancel drops it.
#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

#include "workbench/files/project_calendars.h"

class QDateEdit;

namespace Ui {
class WorkingTimeDialog;
}

namespace lunavant::workbench {
class Project;
class Task;
}  // namespace lunavant::workbench

namespace lunavant::desktop {

class DatePicker;

class WorkingTimeDialog : public QDialog {
  Q_OBJECT

 public:
  // The project must outlive the dialog; it is read, never changed. The calendar shown first is
  // the project's, the region the user's (LC_ALL, LC_TIME, LANG).
  // `task`, when given, is the task whose own calendar the dialog also offers to choose.
  explicit WorkingTimeDialog(lunavant::workbench::Project& project,
                             lunavant::workbench::Task* task = nullptr, QWidget* parent = nullptr);
  ~WorkingTimeDialog() override;

  // The calendars as the dialog has changed them, for workbench::TakeCalendars.
  lunavant::workbench::Project& draft() { return *draft_; }
  // The calendar shown, by name.
  QString calendarShown() const;
  // The calendar chosen for the task ("" for the project's); none without a task.
  std::optional<QString> taskCalendarChoice() const;
  // Opens the two-calendar picker below an exception's From or To field, on the days off and
  // holidays of the calendar shown as the dialog has changed it; a picked day becomes the field's.
  void pickDate(QDateEdit* field);
  // The picker while it is open; null otherwise.
  DatePicker* picker() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void fill();
  void fillTaskCalendars();
  void fillWeek(const lunavant::workbench::ProjectCalendar& calendar);
  void fillExceptions();
  void weekEdited(int row, int column);
  void useRegionWeek();
  void setCheckedDaysHours();
  void addException();
  void removeException();
  void newCalendar();
  void scheduleOnShown(bool checked);
  // Runs a change of the draft; a refusal is shown in the dialog and changes nothing.
  bool change(const std::function<void()>& action);

  std::unique_ptr<Ui::WorkingTimeDialog> ui_;
  std::unique_ptr<lunavant::workbench::Project> draft_;
  lunavant::workbench::Task* task_;
  bool filling_ = false;
  QPointer<DatePicker> picker_;
};

}  // namespace lunavant::desktop
