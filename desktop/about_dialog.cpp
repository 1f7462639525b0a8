// SPDX-License-Identifier: MIT
#include "desktop/about_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <optional>

#include "workbench/view/hijri_days.h"

namespace lunavant::desktop {
namespace {

QString CalendarDescription(lunavant::workbench::HijriDays& hijri) {
  if (!hijri.Available()) {
    return AboutDialog::tr("The converter library cannot be loaded: %1")
        .arg(QString::fromStdString(hijri.LoadError()));
  }
  const std::optional<lunavant::workbench::CalendarVersion> version = hijri.Version();
  if (!version) {
    return AboutDialog::tr(
        "The converter library is an older one: it converts with its built-in Umm al-Qura "
        "table and reads no corrections.");
  }
  return QString::fromStdString(version->text).trimmed();
}

}  // namespace

AboutDialog::AboutDialog(lunavant::workbench::HijriDays& hijri, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("About Lunavant"));
  auto* layout = new QVBoxLayout(this);
  auto* program = new QLabel(
      tr("<b>Lunavant</b> %1<br>Hijri (Umm al-Qura) dates beside the task dates of a project.")
          .arg(QApplication::applicationVersion().toHtmlEscaped()),
      this);
  layout->addWidget(program);
  layout->addWidget(new QLabel(tr("Hijri calendar in force:"), this));
  calendar_ = new QPlainTextEdit(this);
  calendar_->setObjectName("hijriCalendar");
  calendar_->setReadOnly(true);
  calendar_->setLineWrapMode(QPlainTextEdit::NoWrap);
  calendar_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  calendar_->setPlainText(CalendarDescription(hijri));
  calendar_->setMinimumWidth(calendar_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 90);
  layout->addWidget(calendar_);
  layout->addWidget(new QLabel(tr("Months the corrections change are marked on the Hijri "
                                  "timescale. The corrections file and where it is looked for "
                                  "are described in the converter's documentation."),
                               this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

QString AboutDialog::calendarText() const { return calendar_->toPlainText(); }

}  // namespace lunavant::desktop
