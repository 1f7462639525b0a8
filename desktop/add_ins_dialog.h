// SPDX-License-Identifier: MIT
// Tools > Add-ins: the add-ins the registry lists, by their friendly names, with the description
// and module of the one selected; ticking connects an add-in, unticking disconnects it, on OK.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class AddInsDialog;
}

namespace lunavant::workbench {
class AddInManager;
}

namespace lunavant::desktop {

class AddInsDialog : public QDialog {
  Q_OBJECT

 public:
  // `manager` must outlive the dialog.
  explicit AddInsDialog(lunavant::workbench::AddInManager& manager, QWidget* parent = nullptr);
  ~AddInsDialog() override;

  void accept() override;

 private:
  void showDetails(int row);

  lunavant::workbench::AddInManager& manager_;
  std::unique_ptr<Ui::AddInsDialog> ui_;
};

}  // namespace lunavant::desktop
