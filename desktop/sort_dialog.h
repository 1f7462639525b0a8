// SPDX-License-Identifier: MIT
// View > Sort > Sort By...: one or two columns of the current table, each ascending or
// descending, with the outline kept (the project's rows move, renumbered) or not (the view alone
// lists every task in order).
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "workbench/model/task_sort.h"

namespace Ui {
class SortDialog;
}

namespace lunavant::desktop {

class TaskSheetModel;

class SortDialog : public QDialog {
  Q_OBJECT

 public:
  // Offers the columns `model` shows; the first key starts on `column` when it is one of them.
  SortDialog(const TaskSheetModel& model, int column, bool keep_outline, QWidget* parent = nullptr);
  ~SortDialog() override;

  // The keys chosen, the first first; a column chosen twice counts once.
  std::vector<lunavant::workbench::SortKey> keys() const;
  bool keepOutline() const;

 private:
  std::unique_ptr<Ui::SortDialog> ui_;
};

}  // namespace lunavant::desktop
