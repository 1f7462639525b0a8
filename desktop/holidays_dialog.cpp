// SPDX-License-Identifier: MIT
#include "desktop/holidays_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "addin/host/error.h"
#include "ui_holidays_dialog.h"
#include "workbench/holidays/holiday_dates.h"
#include "workbench/model/application.h"
#include "workbench/model/project.h"
#include "workbench/platform/region_week.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The shipped sets, then the user's own that do not replace one.
QStringList SetNames() {
  QStringList names;
  for (const std::string& name : wb::BundledHolidaySetNames()) names << Text(name);
  const QDir own(QString::fromStdString(wb::UserHolidayFolder().string()));
  for (const QFileInfo& file : own.entryInfoList({QStringLiteral("*.holidays")}, QDir::Files)) {
    if (!names.contains(file.completeBaseName())) names << file.completeBaseName();
  }
  return names;
}

}  // namespace

HolidaysDialog::HolidaysDialog(wb::Application& app, wb::Project& project, QWidget* parent)
    : QDialog(parent), app_(app), project_(project), ui_(std::make_unique<Ui::HolidaysDialog>()) {
  ui_->setupUi(this);
  ui_->setCombo->addItems(SetNames());
  // The set of the user's region when there is one, else Saudi Arabia's.
  const QString own = Text(wb::UserRegion()).toLower();
  const int own_index = ui_->setCombo->findText(own.isEmpty() ? QStringLiteral("sa") : own);
  const int index = own_index >= 0 ? own_index : ui_->setCombo->findText(QStringLiteral("sa"));
  if (index >= 0) ui_->setCombo->setCurrentIndex(index);
  for (QSpinBox* spin : {ui_->firstYearSpin, ui_->lastYearSpin}) {
    spin->setRange(wb::kFirstHolidayYear, wb::kLastHolidayYear);
  }
  int first_year = 1447;
  try {
    wb::ConverterHijriCalendar hijri(app_.Libraries());
    if (const auto start = hijri.HijriOf(wb::DayOf(project_.ProjectStart()))) {
      first_year = std::clamp(start->year, wb::kFirstHolidayYear, wb::kLastHolidayYear);
    }
  } catch (const wb::HolidayError&) {
    // The preview says why the converter cannot be had.
  }
  ui_->firstYearSpin->setValue(first_year);
  ui_->lastYearSpin->setValue(std::min(first_year + 2, wb::kLastHolidayYear));
  for (const std::string& name : wb::CalendarNames(project_))
    ui_->calendarCombo->addItem(Text(name));
  ui_->calendarCombo->setCurrentText(Text(wb::ProjectCalendarName(project_)));

  ui_->previewTable->setColumnCount(4);
  ui_->previewTable->setHorizontalHeaderLabels(
      {tr("Holiday"), tr("Hijri"), tr("Gregorian"), tr("What becomes of it")});
  ui_->previewTable->horizontalHeader()->setStretchLastSection(true);
  ui_->previewTable->verticalHeader()->hide();

  connect(ui_->setCombo, &QComboBox::currentTextChanged, this, &HolidaysDialog::updatePreview);
  connect(ui_->firstYearSpin, &QSpinBox::valueChanged, this, &HolidaysDialog::updatePreview);
  connect(ui_->lastYearSpin, &QSpinBox::valueChanged, this, &HolidaysDialog::updatePreview);
  connect(ui_->calendarCombo, &QComboBox::currentTextChanged, this, &HolidaysDialog::updatePreview);
  connect(ui_->removeRadio, &QRadioButton::toggled, this, &HolidaysDialog::updatePreview);
  connect(ui_->browseButton, &QPushButton::clicked, this, &HolidaysDialog::browse);
  connect(ui_->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(ui_->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  updatePreview();
}

HolidaysDialog::~HolidaysDialog() = default;

void HolidaysDialog::updatePreview() {
  plan_ = {};
  ui_->previewTable->setRowCount(0);
  QString summary;
  try {
    const wb::HolidaySet set =
        wb::LoadHolidaySet(ui_->setCombo->currentText().trimmed().toStdString());
    wb::ConverterHijriCalendar hijri(app_.Libraries());
    const std::vector<wb::DatedHoliday> dated =
        wb::DateHolidays(set, ui_->firstYearSpin->value(), ui_->lastYearSpin->value(), hijri);
    const std::string calendar = ui_->calendarCombo->currentText().toStdString();
    if (removing()) {
      plan_ = wb::PlanHolidayRemoval(project_, dated, calendar);
      const std::size_t removed = plan_.RemovedCount();
      summary = (removed == 1 ? tr("1 holiday would be taken off the calendar \"%2\".")
                              : tr("%1 holidays would be taken off the calendar \"%2\"."))
                    .arg(removed)
                    .arg(Text(plan_.calendar));
    } else {
      plan_ = wb::PlanHolidays(project_, dated, calendar);
      const std::size_t added = plan_.AddedCount();
      summary = (added == 1 ? tr("1 holiday would be added to the calendar \"%2\".")
                            : tr("%1 holidays would be added to the calendar \"%2\"."))
                    .arg(added)
                    .arg(Text(plan_.calendar));
    }
  } catch (const wb::HolidayError& e) {
    summary = Text(e.what());
  }
  ui_->previewTable->setRowCount(static_cast<int>(plan_.holidays.size()));
  for (int row = 0; row < ui_->previewTable->rowCount(); ++row) {
    const wb::PlannedHoliday& h = plan_.holidays[static_cast<std::size_t>(row)];
    const QStringList cells = {Text(h.holiday.name),
                               Text(wb::HijriDaysText(h.holiday.hijri_first, h.holiday.hijri_last)),
                               Text(wb::GregorianDaysText(h.holiday.first_day, h.holiday.last_day)),
                               Text(wb::PlannedHolidayText(h, false))};
    for (int column = 0; column < cells.size(); ++column) {
      ui_->previewTable->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
  }
  ui_->previewTable->resizeColumnsToContents();
  ui_->summaryLabel->setText(summary);
  QPushButton* ok = ui_->buttons->button(QDialogButtonBox::Ok);
  ok->setText(removing() ? tr("&Remove Holidays") : tr("&Add Holidays"));
  ok->setEnabled((removing() ? plan_.RemovedCount() : plan_.AddedCount()) > 0);
}

bool HolidaysDialog::removing() const { return ui_->removeRadio->isChecked(); }

void HolidaysDialog::browse() {
  const QString file = QFileDialog::getOpenFileName(this, tr("Holiday Set"), QString(),
                                                    tr("Holiday sets (*.holidays);;All files (*)"));
  if (!file.isEmpty()) ui_->setCombo->setCurrentText(file);
}

void HolidaysDialog::accept() {
  const bool remove = removing();
  const auto change = [&] {
    if (remove) {
      wb::ApplyHolidayRemoval(project_, plan_);
    } else {
      wb::ApplyHolidayPlan(project_, plan_);
    }
  };
  try {
    if (edit_runner_) {
      // The runner recalculates, and reports a refused recalculation itself. The step is named
      // for the command, as the other dialogs' steps are; adding and taking off are each one.
      edit_runner_(tr("Holidays"), change);
    } else {
      change();
      if (app_.ActiveProject() == &project_) app_.CalculateProject();
    }
  } catch (const wb::HolidayError& e) {
    QMessageBox::warning(this, windowTitle(), Text(e.what()));
    return;
  } catch (const host::HostError& e) {
    // The holidays are in (or out); only the recalculation failed (a link cycle, say).
    QMessageBox::warning(this, windowTitle(), Text(e.record().description));
  }
  QDialog::accept();
}

}  // namespace lunavant::desktop
