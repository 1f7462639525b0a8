// SPDX-License-Identifier: MIT
// The editor of a date cell of the task sheet (Start, Finish, Deadline, ... and the Hijri columns
// paired with them): a line to type in, as every cell has, with a button (and Alt+Down, F4) that
// opens the date picker below it. A picked day becomes the text a user would type for it (the
// short date for a date field, the Hijri text for a Hijri column), and the editor asks to be
// committed, so the day reaches the host as a typed edit does and the add-in's pairs follow.
#pragma once

#include <QLineEdit>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <optional>

#include "desktop/date_picker.h"
#include "workbench/view/timescale.h"

namespace lunavant::workbench {
class Application;
class Project;
class Task;
}  // namespace lunavant::workbench

namespace lunavant::desktop {

class TaskSheetModel;

class DateCellEditor : public QLineEdit {
  Q_OBJECT

 public:
  struct Cell {
    lunavant::workbench::Project* project;
    const lunavant::workbench::Task* task;  // null on the row where typing makes a task
    std::optional<std::int64_t> day;        // the cell's day, when it has one
    // A Hijri column's; a date cell opens in the calendar last picked in, Gregorian at first.
    lunavant::workbench::TierCalendar calendar;
    std::function<QString(std::int64_t)> text_of_day;
  };
  DateCellEditor(lunavant::workbench::Application& app, Cell cell, QWidget* parent);

  // Opens the picker below the editor (above when the screen has no room).
  void openPicker();
  // The picker while it is open; null otherwise.
  DatePicker* picker() const { return picker_; }

 signals:
  // A day was picked: the editor holds its text and is to be committed and closed.
  void dayPicked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  lunavant::workbench::Application& app_;
  Cell cell_;
  QPointer<DatePicker> picker_;
};

// The editor for `index` when it is a date cell or a Hijri column; null for any other cell.
DateCellEditor* CreateDateCellEditor(const TaskSheetModel& model, const QModelIndex& index,
                                     QWidget* parent);

// What a user types for `day` in a date cell: the short date with the year in full, so that no
// century is guessed when it is read back.
QString TypedDateText(const lunavant::workbench::Application& app, std::int64_t day);

}  // namespace lunavant::desktop
