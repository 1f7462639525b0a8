// SPDX-License-Identifier: MIT
// Tools > Regional Settings: overrides the short-date pattern and the date separator the user's
// locale gives, for the host and the add-in alike, or goes back to the locale's.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class RegionalSettingsDialog;
}

namespace lunavant::workbench {
class PosixRegionalSettings;
}

namespace lunavant::desktop {

class RegionalSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows the settings as they stand; OK applies them to `regional`.
  explicit RegionalSettingsDialog(lunavant::workbench::PosixRegionalSettings& regional,
                                  QWidget* parent = nullptr);
  ~RegionalSettingsDialog() override;

  void accept() override;

 private:
  void updateState();

  lunavant::workbench::PosixRegionalSettings& regional_;
  std::unique_ptr<Ui::RegionalSettingsDialog> ui_;
};

}  // namespace lunavant::desktop
