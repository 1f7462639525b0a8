// SPDX-License-Identifier: MIT
// A date picker that shows both calendars: a month of the Gregorian or the Umm al-Qura calendar
// (switchable), each day with its date in the other calendar beneath, Hijri month names, today,
// and the non-working days and named holidays of a task's calendar. Hijri months come from the
// converter library the host loads, as the add-in's Hijri columns do.
//
//   DatePicker picker(app, &project, task);
//   picker.setSelectedDay(DayOf(task->Start()));
//   connect(&picker, &DatePicker::picked, ...);   // days since 1970-01-01
#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "workbench/holidays/holiday_dates.h"
#include "workbench/schedule/calendar.h"
#include "workbench/view/calendar_month.h"

class QLabel;
class QToolButton;
class QGridLayout;

namespace lunavant::workbench {
class Application;
class Project;
class Task;
}  // namespace lunavant::workbench

namespace lunavant::desktop {

class DatePicker : public QWidget {
  Q_OBJECT

 public:
  // The application, the project (may be null: no working days or holidays shown) and the task
  // (may be null: the project's calendar) must outlive the picker.
  DatePicker(lunavant::workbench::Application& app, lunavant::workbench::Project* project,
             const lunavant::workbench::Task* task, QWidget* parent = nullptr);
  ~DatePicker() override;

  // Shows the month that holds `day` and marks the day; none marks no day and shows today's.
  void setSelectedDay(std::optional<std::int64_t> day);
  std::optional<std::int64_t> selectedDay() const { return selected_; }
  // Shows the days off and holidays of the project's calendar named `calendar` in place of the
  // task's or the project's own: a dialog that changes one calendar picks days against it.
  // Unchanged when the project has no such calendar.
  void showWorkingTimeOf(const std::string& calendar);
  // The Hijri calendar is refused (the Gregorian one stays) when the converter cannot be had.
  void setCalendar(lunavant::workbench::TierCalendar calendar);
  lunavant::workbench::TierCalendar calendar() const { return shown_.calendar; }
  const lunavant::workbench::CalendarMonth& month() const { return shown_; }
  // The month `offset` months away; stays when there is none.
  void moveMonths(int offset);
  void showToday();
  // Marks the day `days` away from the marked one (the month's first day when the month shown
  // lacks it), showing its month; as the arrow keys do. Enter picks the marked day.
  void moveSelection(int days);
  std::int64_t today() const { return today_; }
  // Why the Hijri calendar cannot be shown; empty when it can.
  QString hijriProblem() const { return hijri_problem_; }

  // The button of a day of the month shown; null for any other day.
  QToolButton* dayButton(std::int64_t day) const;
  // "Ramadan 1446 AH", "March 2025".
  QString caption() const;

 signals:
  // The user picked a day (days since 1970-01-01).
  void picked(std::int64_t day);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void build();
  void fill();
  std::optional<lunavant::workbench::HijriDate> hijriOf(std::int64_t day);
  std::optional<lunavant::workbench::CalendarMonth> monthOf(lunavant::workbench::TierCalendar,
                                                            std::int64_t day);
  QString otherCalendarSpan();
  QString dayTip(std::int64_t day, const QString& holiday);
  void readHolidays();

  lunavant::workbench::Project* project_;
  const lunavant::workbench::Task* task_;
  std::optional<lunavant::workbench::ProjectCalendar> named_working_;
  std::string named_calendar_;
  lunavant::workbench::ConverterHijriCalendar hijri_;
  QString hijri_problem_;
  std::int64_t today_;
  std::optional<std::int64_t> selected_;
  lunavant::workbench::CalendarMonth shown_;
  struct Holiday {
    QString name;
    std::int64_t first_day;
    std::int64_t last_day;
  };
  std::vector<Holiday> holidays_;
  int first_weekday_;  // 0 Sunday .. 6 Saturday, the locale's
  QLabel* caption_ = nullptr;
  QLabel* other_caption_ = nullptr;
  QToolButton* gregorian_button_ = nullptr;
  QToolButton* hijri_button_ = nullptr;
  std::vector<QLabel*> weekday_labels_;
  std::vector<QToolButton*> day_buttons_;  // 6 weeks of 7 days
};

// The calendar the user last picked a day in (`otherwise` before the first pick), and the
// remembering of it: a planner who thinks in Hijri finds it again in every picker.
lunavant::workbench::TierCalendar RememberedPickerCalendar(
    lunavant::workbench::TierCalendar otherwise);
void RememberPickerCalendar(lunavant::workbench::TierCalendar calendar);

// Opens `picker` in a popup below `anchor` (above when the screen has no room), as a child of
// `anchor` so that an editor does not take the popup's focus for the end of its edit. A picked
// day closes the popup before the handlers connected after this call run; a closed popup is
// deleted.
void PopUpDatePicker(DatePicker* picker, QWidget* anchor);

}  // namespace lunavant::desktop
