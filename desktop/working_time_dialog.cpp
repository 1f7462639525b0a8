// SPDX-License-Identifier: MIT
#include "desktop/working_time_dialog.h"

#include <QDate>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QTableWidgetItem>
#include <algorithm>
#include <functional>

#include "desktop/date_picker.h"
#include "ui_working_time_dialog.h"
#include "workbench/files/calendar_holidays.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"
#include "workbench/platform/region_week.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

std::int64_t DaysOf(const QDate& date) {
  return wb::DaysFromCivil(date.year(), date.month(), date.day());
}

QDate DateOfDays(std::int64_t days) {
  const lunavant::host::DateTime civil = wb::CivilFromDays(days);
  return QDate(civil.year, civil.month, civil.day);
}

enum WeekColumn { kDayColumn, kHoursColumn };
enum Repeat { kOnce, kDaily, kWeekly, kYearly };

}  // namespace

WorkingTimeDialog::WorkingTimeDialog(wb::Project& project, wb::Task* task, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::WorkingTimeDialog>()),
      draft_(wb::CalendarsDraft(project)),
      task_(task) {
  ui_->setupUi(this);
  fillTaskCalendars();
  if (task_ != nullptr) {
    ui_->taskCalendarLabel->setText(tr("Calendar of &task %1:").arg(task_->ID()));
    ui_->taskCalendarCombo->setCurrentIndex(
        std::max(ui_->taskCalendarCombo->findText(Text(wb::TaskCalendarName(project, *task_))), 0));
  } else {
    ui_->taskCalendarCombo->setEnabled(false);
  }
  for (const wb::CalendarSummary& c : wb::ListCalendars(*draft_)) {
    ui_->calendarCombo->addItem(Text(c.name));
    if (c.is_project_calendar) ui_->calendarCombo->setCurrentIndex(ui_->calendarCombo->count() - 1);
  }

  std::vector<std::string> regions = wb::CommonRegions();
  const std::string own = wb::UserRegion();
  if (!own.empty() && std::find(regions.begin(), regions.end(), own) == regions.end()) {
    regions.insert(regions.begin(), own);
  }
  ui_->regionCombo->addItem(tr("World (CLDR's default)"), QStringLiteral("001"));
  for (const std::string& region : regions) {
    ui_->regionCombo->addItem(Text(region) + QStringLiteral(" - ") + Text(wb::RegionName(region)),
                              Text(region));
  }
  const int own_index = ui_->regionCombo->findData(Text(own));
  ui_->regionCombo->setCurrentIndex(std::max(own_index, 0));

  ui_->weekTable->setColumnCount(2);
  ui_->weekTable->setRowCount(7);
  ui_->weekTable->setHorizontalHeaderLabels({tr("Working day"), tr("Working hours")});
  ui_->weekTable->horizontalHeader()->setStretchLastSection(true);
  ui_->weekTable->verticalHeader()->hide();
  // The whole week at a glance, without scrolling.
  ui_->weekTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  ui_->weekTable->setMinimumHeight(7 * ui_->weekTable->verticalHeader()->defaultSectionSize() +
                                   ui_->weekTable->horizontalHeader()->sizeHint().height() +
                                   2 * ui_->weekTable->frameWidth() + 2);
  ui_->exceptionsTable->setColumnCount(4);
  ui_->exceptionsTable->setHorizontalHeaderLabels(
      {tr("Name"), tr("Days"), tr("Repeats"), tr("Working hours")});
  ui_->exceptionsTable->horizontalHeader()->setStretchLastSection(true);
  ui_->exceptionsTable->verticalHeader()->hide();
  ui_->repeatCombo->addItems({tr("Once"), tr("Daily"), tr("Weekly"), tr("Yearly")});
  const QDate today = QDate::currentDate();
  ui_->fromDate->setDate(today);
  ui_->toDate->setDate(today);
  // The fields' own popup knows the Gregorian calendar only; Alt+Down and F4 open the picker, as
  // on the sheet's date cells.
  for (QDateEdit* field : {ui_->fromDate, ui_->toDate}) field->installEventFilter(this);
  connect(ui_->fromPickButton, &QToolButton::clicked, this, [this] { pickDate(ui_->fromDate); });
  connect(ui_->toPickButton, &QToolButton::clicked, this, [this] { pickDate(ui_->toDate); });

  connect(ui_->calendarCombo, &QComboBox::currentTextChanged, this, &WorkingTimeDialog::fill);
  connect(ui_->weekTable, &QTableWidget::cellChanged, this, &WorkingTimeDialog::weekEdited);
  connect(ui_->regionWeekButton, &QPushButton::clicked, this, &WorkingTimeDialog::useRegionWeek);
  connect(ui_->setHoursButton, &QPushButton::clicked, this,
          &WorkingTimeDialog::setCheckedDaysHours);
  connect(ui_->addExceptionButton, &QPushButton::clicked, this, &WorkingTimeDialog::addException);
  connect(ui_->removeExceptionButton, &QPushButton::clicked, this,
          &WorkingTimeDialog::removeException);
  connect(ui_->newCalendarButton, &QPushButton::clicked, this, &WorkingTimeDialog::newCalendar);
  connect(ui_->projectCalendarCheck, &QCheckBox::toggled, this,
          &WorkingTimeDialog::scheduleOnShown);
  connect(ui_->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(ui_->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  fill();
}

WorkingTimeDialog::~WorkingTimeDialog() = default;

QString WorkingTimeDialog::calendarShown() const { return ui_->calendarCombo->currentText(); }

std::optional<QString> WorkingTimeDialog::taskCalendarChoice() const {
  if (task_ == nullptr) return std::nullopt;
  return ui_->taskCalendarCombo->currentIndex() <= 0 ? QString()
                                                     : ui_->taskCalendarCombo->currentText();
}

DatePicker* WorkingTimeDialog::picker() const { return picker_; }

void WorkingTimeDialog::pickDate(QDateEdit* field) {
  if (picker_ != nullptr) return;
  picker_ = new DatePicker(draft_->App(), draft_.get(), nullptr);
  // The days off of the calendar being changed, with the exceptions added so far.
  picker_->showWorkingTimeOf(calendarShown().toStdString());
  picker_->setSelectedDay(DaysOf(field->date()));
  picker_->setCalendar(RememberedPickerCalendar(wb::TierCalendar::kGregorian));
  PopUpDatePicker(picker_, field);
  connect(picker_, &DatePicker::picked, field, [this, field](std::int64_t day) {
    RememberPickerCalendar(picker_->calendar());
    field->setDate(DateOfDays(day));
    field->setFocus();
  });
}

bool WorkingTimeDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && (watched == ui_->fromDate || watched == ui_->toDate)) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool alt_down = key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier);
    if (alt_down || key->key() == Qt::Key_F4) {
      pickDate(static_cast<QDateEdit*>(watched));
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void WorkingTimeDialog::fillTaskCalendars() {
  const QString chosen = ui_->taskCalendarCombo->currentText();
  ui_->taskCalendarCombo->clear();
  ui_->taskCalendarCombo->addItem(tr("(the project's calendar)"));
  for (const wb::CalendarSummary& c : wb::ListCalendars(*draft_)) {
    ui_->taskCalendarCombo->addItem(Text(c.name));
  }
  ui_->taskCalendarCombo->setCurrentIndex(std::max(ui_->taskCalendarCombo->findText(chosen), 0));
}

bool WorkingTimeDialog::change(const std::function<void()>& action) {
  try {
    action();
    ui_->messageLabel->clear();
    fill();
    return true;
  } catch (const wb::CalendarError& e) {
    ui_->messageLabel->setText(Text(e.what()));
    fill();
    return false;
  }
}

void WorkingTimeDialog::fill() {
  filling_ = true;
  const std::string name = calendarShown().toStdString();
  for (const wb::CalendarSummary& c : wb::ListCalendars(*draft_)) {
    if (c.name != name) continue;
    ui_->projectCalendarCheck->setChecked(c.is_project_calendar);
    // The project is scheduled on one base calendar: it is changed by choosing another.
    ui_->projectCalendarCheck->setEnabled(c.is_base && !c.is_project_calendar);
    ui_->basedOnLabel->setText(c.is_base ? tr("A base calendar.")
                                         : tr("Based on \"%1\".").arg(Text(c.base_name)));
  }
  try {
    fillWeek(wb::ReadNamedCalendar(*draft_, name));
  } catch (const wb::CalendarError& e) {
    ui_->messageLabel->setText(Text(e.what()));
  }
  fillExceptions();
  filling_ = false;
}

void WorkingTimeDialog::fillWeek(const wb::ProjectCalendar& calendar) {
  for (int weekday = 0; weekday < 7; ++weekday) {
    const wb::DayHours& hours = calendar.WeekdayHours(weekday);
    // In the interface's language (Qt counts Monday as 1 and Sunday as 7).
    auto* day =
        new QTableWidgetItem(QLocale().dayName(weekday == 0 ? 7 : weekday, QLocale::ShortFormat));
    day->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    day->setCheckState(hours.empty() ? Qt::Unchecked : Qt::Checked);
    ui_->weekTable->setItem(weekday, kDayColumn, day);
    auto* text = new QTableWidgetItem(Text(wb::DayHoursText(hours)));
    ui_->weekTable->setItem(weekday, kHoursColumn, text);
  }
  ui_->weekTable->resizeColumnToContents(kDayColumn);
  // The hours to give checked days: those the week is worked on now.
  for (int weekday = 0; weekday < 7; ++weekday) {
    if (calendar.WeekdayHours(weekday).empty()) continue;
    ui_->hoursEdit->setText(Text(wb::DayHoursText(calendar.WeekdayHours(weekday))));
    break;
  }
}

void WorkingTimeDialog::fillExceptions() {
  std::vector<wb::ExceptionRule> rules;
  try {
    rules = wb::CalendarExceptionRules(*draft_, calendarShown().toStdString());
  } catch (const wb::CalendarError&) {
    // fill() has said why.
  }
  ui_->exceptionsTable->setRowCount(static_cast<int>(rules.size()));
  for (int row = 0; row < ui_->exceptionsTable->rowCount(); ++row) {
    const wb::ExceptionRule& r = rules[static_cast<std::size_t>(row)];
    const std::string days = r.first_day == r.last_day
                                 ? wb::GregorianDaysText(r.first_day, r.last_day)
                                 : wb::GregorianDaysText(r.first_day, r.first_day) + " to " +
                                       wb::GregorianDaysText(r.last_day, r.last_day);
    const QStringList cells = {r.name.empty() ? tr("(unnamed)") : Text(r.name), Text(days),
                               Text(wb::RepeatText(r)),
                               r.working ? Text(wb::DayHoursText(r.hours)) : tr("Day off")};
    for (int column = 0; column < cells.size(); ++column) {
      auto* item = new QTableWidgetItem(cells[column]);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      // Unnamed days (a file of the 2003 form) cannot be told apart by name: they stay.
      if (column == 0) item->setData(Qt::UserRole, Text(r.name));
      ui_->exceptionsTable->setItem(row, column, item);
    }
  }
  ui_->exceptionsTable->resizeColumnsToContents();
}

void WorkingTimeDialog::weekEdited(int row, int column) {
  if (filling_ || row < 0 || row > 6) return;
  const std::string name = calendarShown().toStdString();
  QTableWidgetItem* day = ui_->weekTable->item(row, kDayColumn);
  QTableWidgetItem* text = ui_->weekTable->item(row, kHoursColumn);
  if (day == nullptr || text == nullptr) return;
  const bool working = day->checkState() == Qt::Checked;
  change([&] {
    wb::DayHours hours;
    if (working) {
      const auto typed = wb::ParseDayHours(text->text().toStdString());
      if (!typed) {
        throw wb::CalendarError(
            tr("\"%1\" is not working hours such as 08:00-16:00 or 08:00-12:00, 13:00-17:00.")
                .arg(text->text())
                .toStdString());
      }
      hours = *typed;
      // A day checked without hours of its own takes those the other days are worked on.
      if (hours.empty() && column == kDayColumn) {
        const auto fallback = wb::ParseDayHours(ui_->hoursEdit->text().toStdString());
        if (fallback) hours = *fallback;
      }
      if (hours.empty())
        throw wb::CalendarError(tr("A working day needs its working hours.").toStdString());
    }
    wb::SetWeekdayHours(*draft_, name, row, hours);
  });
}

void WorkingTimeDialog::setCheckedDaysHours() {
  const auto hours = wb::ParseDayHours(ui_->hoursEdit->text().toStdString());
  change([&] {
    if (!hours || hours->empty()) {
      throw wb::CalendarError(
          tr("\"%1\" is not working hours such as 08:00-16:00 or 08:00-12:00, 13:00-17:00.")
              .arg(ui_->hoursEdit->text())
              .toStdString());
    }
    std::uint8_t days = 0;
    for (int weekday = 0; weekday < 7; ++weekday) {
      if (ui_->weekTable->item(weekday, kDayColumn)->checkState() == Qt::Checked) {
        days = static_cast<std::uint8_t>(days | (1u << weekday));
      }
    }
    wb::SetWorkingWeek(*draft_, calendarShown().toStdString(), days, *hours);
  });
}

void WorkingTimeDialog::useRegionWeek() {
  const std::string region = ui_->regionCombo->currentData().toString().toStdString();
  change([&] {
    const std::string name = calendarShown().toStdString();
    const wb::ProjectCalendar now = wb::ReadNamedCalendar(*draft_, name);
    wb::DayHours hours;
    for (int d = 0; d < 7 && hours.empty(); ++d) hours = now.WeekdayHours(d);
    wb::SetWorkingWeek(*draft_, name, wb::RegionWorkWeek(region).Mask(), hours);
  });
}

void WorkingTimeDialog::addException() {
  wb::ExceptionRule rule;
  rule.name = ui_->exceptionNameEdit->text().trimmed().toStdString();
  rule.first_day = DaysOf(ui_->fromDate->date());
  rule.last_day = DaysOf(ui_->toDate->date());
  switch (ui_->repeatCombo->currentIndex()) {
    case kDaily:
      rule.repeat = wb::ExceptionRule::Repeat::kDaily;
      break;
    case kWeekly:
      rule.repeat = wb::ExceptionRule::Repeat::kWeekly;
      rule.days_of_week = static_cast<std::uint8_t>(1u << wb::WeekdayOfDays(rule.first_day));
      break;
    case kYearly:
      rule.repeat = wb::ExceptionRule::Repeat::kYearly;
      break;
    default:
      break;
  }
  const QString worked = ui_->exceptionHoursEdit->text().trimmed();
  if (change([&] {
        if (!worked.isEmpty()) {
          const auto hours = wb::ParseDayHours(worked.toStdString());
          if (!hours) {
            throw wb::CalendarError(
                tr("\"%1\" is not working hours such as 08:00-16:00 or 08:00-12:00, 13:00-17:00.")
                    .arg(worked)
                    .toStdString());
          }
          rule.working = true;
          rule.hours = *hours;
        }
        wb::AddCalendarException(*draft_, calendarShown().toStdString(), rule);
      })) {
    ui_->exceptionNameEdit->clear();
  }
}

void WorkingTimeDialog::removeException() {
  std::vector<std::string> names;
  for (const QTableWidgetItem* item : ui_->exceptionsTable->selectedItems()) {
    if (item->column() != 0) continue;
    const QString name = item->data(Qt::UserRole).toString();
    if (!name.isEmpty()) names.push_back(name.toStdString());
  }
  if (names.empty()) {
    ui_->messageLabel->setText(tr("Select a named exception to remove."));
    return;
  }
  change([&] { wb::RemoveCalendarExceptions(*draft_, calendarShown().toStdString(), names); });
}

void WorkingTimeDialog::newCalendar() {
  const QString name = ui_->newCalendarEdit->text().trimmed();
  const QString copied = calendarShown();
  if (change([&] { wb::NewBaseCalendar(*draft_, name.toStdString(), copied.toStdString()); })) {
    ui_->newCalendarEdit->clear();
    fillTaskCalendars();
    ui_->calendarCombo->addItem(name);
    ui_->calendarCombo->setCurrentText(name);
  }
}

void WorkingTimeDialog::scheduleOnShown(bool checked) {
  if (filling_ || !checked) return;
  change([&] { wb::SetProjectCalendar(*draft_, calendarShown().toStdString()); });
}

}  // namespace lunavant::desktop
