// SPDX-License-Identifier: MIT
// Help > About: the program, and the Hijri calendar the converter has in force (its table, the
// corrections file it read, or refused, and the months that file changes), so a planner can tell
// which calendar the dates on screen follow.
#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace lunavant::workbench {
class HijriDays;
}

namespace lunavant::desktop {

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  // Asks `hijri` once, while it is being built.
  explicit AboutDialog(lunavant::workbench::HijriDays& hijri, QWidget* parent = nullptr);

  // What the dialog says about the Hijri calendar.
  QString calendarText() const;

 private:
  QPlainTextEdit* calendar_ = nullptr;
};

}  // namespace lunavant::desktop
