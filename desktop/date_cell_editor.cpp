// SPDX-License-Identifier: MIT
#include "desktop/date_cell_editor.h"

#include <QAction>
#include <QKeyEvent>
#include <QStyle>

#include "addin/host/error.h"
#include "desktop/date_picker.h"
#include "desktop/host_text.h"
#include "desktop/task_sheet_model.h"
#include "workbench/model/application.h"
#include "workbench/model/field_catalog.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"
#include "workbench/platform/date_writing.h"
#include "workbench/schedule/calendar.h"
#include "workbench/view/hijri_days.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

namespace {

std::optional<std::int64_t> DayOfField(const wb::Task* task, int field) {
  if (task == nullptr) return std::nullopt;
  try {
    const std::optional<wb::Moment> when = task->DateValue(field);
    if (when) return wb::DayOf(*when);
  } catch (const lunavant::host::HostError&) {
  }
  return std::nullopt;
}

}  // namespace

QString TypedDateText(const wb::Application& app, std::int64_t day) {
  std::string pattern = app.Regional().ShortDatePattern();
  // "yy" and "yyyy" alike become the full year.
  if (pattern.find("yyyy") == std::string::npos) {
    const std::size_t year = pattern.find("yy");
    if (year != std::string::npos) pattern.replace(year, 2, "yyyy");
  }
  const lunavant::host::DateTime civil = wb::CivilFromDays(day);
  return fromHost(wb::FormatDateWithPattern(pattern, civil.year, civil.month, civil.day, false));
}

DateCellEditor::DateCellEditor(wb::Application& app, Cell cell, QWidget* parent)
    : QLineEdit(parent), app_(app), cell_(std::move(cell)) {
  setObjectName(QStringLiteral("dateCellEditor"));
  QAction* open =
      addAction(style()->standardIcon(QStyle::SP_ArrowDown), QLineEdit::TrailingPosition);
  open->setObjectName(QStringLiteral("pickDate"));
  open->setToolTip(tr("Pick a date (Alt+Down)"));
  connect(open, &QAction::triggered, this, &DateCellEditor::openPicker);
}

void DateCellEditor::openPicker() {
  if (picker_ != nullptr) return;
  picker_ = new DatePicker(app_, cell_.project, cell_.task);
  picker_->setSelectedDay(cell_.day);
  // A Hijri column opens in its own calendar; a date cell in the one the user last picked in.
  picker_->setCalendar(cell_.calendar == wb::TierCalendar::kHijri
                           ? wb::TierCalendar::kHijri
                           : RememberedPickerCalendar(cell_.calendar));
  PopUpDatePicker(picker_, this);
  connect(picker_, &DatePicker::picked, this, [this](std::int64_t day) {
    RememberPickerCalendar(picker_->calendar());
    const QString text = cell_.text_of_day(day);
    // A day with no text (the converter gone meanwhile) leaves the cell as it was.
    if (text.isEmpty()) return;
    setText(text);
    emit dayPicked();
  });
}

void DateCellEditor::keyPressEvent(QKeyEvent* event) {
  const bool alt_down = event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier);
  if (alt_down || event->key() == Qt::Key_F4) {
    openPicker();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

DateCellEditor* CreateDateCellEditor(const TaskSheetModel& model, const QModelIndex& index,
                                     QWidget* parent) {
  const int field = model.fieldAt(index.column());
  const wb::FieldInfo* info = wb::FindField(field);
  if (info == nullptr) return nullptr;
  wb::Project& project = model.project();
  wb::Application& app = project.App();
  const wb::Task* task = model.taskAt(index.row());
  if (info->kind == wb::FieldKind::kDate) {
    return new DateCellEditor(
        app,
        {&project, task, DayOfField(task, field), wb::TierCalendar::kGregorian,
         [&app](std::int64_t day) { return TypedDateText(app, day); }},
        parent);
  }
  const int custom = wb::CustomTextIndex(field);
  if (custom < 0) return nullptr;
  const std::optional<lunavant::host::FieldId> partner =
      wb::DateFieldOfHijriAlias(project.CustomTextAlias(custom));
  if (!partner) return nullptr;
  // The Hijri text the add-in reads, dated through the converter it loads.
  auto text_of_day = [&app](std::int64_t day) {
    wb::ConverterHijriCalendar hijri(app.Libraries());
    std::optional<wb::HijriDate> date;
    try {
      date = hijri.HijriOf(day);
    } catch (const wb::HolidayError&) {
    }
    return date ? fromHost(wb::HijriText(*date, app.DateSeparator())) : QString();
  };
  return new DateCellEditor(
      app, {&project, task, DayOfField(task, *partner), wb::TierCalendar::kHijri, text_of_day},
      parent);
}

}  // namespace lunavant::desktop
