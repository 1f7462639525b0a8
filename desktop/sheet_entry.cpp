// SPDX-License-Identifier: MIT
#include "desktop/sheet_entry.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemModel>
#include <QTableView>

namespace lunavant::desktop {

SheetEntry::SheetEntry(QTableView& sheet) : QObject(&sheet), sheet_(sheet) {
  QAbstractItemDelegate* delegate = sheet.itemDelegate();
  // After the sheet's own handling: the edit is in the model, and the sheet has closed the editor.
  connect(delegate, &QAbstractItemDelegate::commitData, this, &SheetEntry::onCommit);
  connect(delegate, &QAbstractItemDelegate::closeEditor, this,
          [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) { onClose(hint); });
  // A flat sorted view moves the rows without a reset when an edit sorts its row elsewhere; the
  // current cell goes with its task, and Enter then stays on it.
  QAbstractItemModel* model = sheet.model();
  connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this,
          [this] { row_before_move_ = sheet_.currentIndex().row(); });
  connect(model, &QAbstractItemModel::layoutChanged, this, [this] {
    const QModelIndex current = sheet_.currentIndex();
    moved_to_ = current.row() != row_before_move_ ? QPersistentModelIndex(current)
                                                  : QPersistentModelIndex();
  });
  connect(model, &QAbstractItemModel::modelReset, this,
          [this] { moved_to_ = QPersistentModelIndex(); });
}

void SheetEntry::onCommit() { committed_ = sheet_.currentIndex(); }

void SheetEntry::onClose(int hint) {
  const QModelIndex committed = committed_;
  committed_ = QPersistentModelIndex();
  const bool sorted_elsewhere = committed.isValid() && moved_to_ == committed;
  moved_to_ = QPersistentModelIndex();
  switch (hint) {
    case QAbstractItemDelegate::EditNextItem:
    case QAbstractItemDelegate::EditPreviousItem:
      if (!entry_column_ && committed.isValid()) entry_column_ = committed.column();
      return;
    case QAbstractItemDelegate::SubmitModelCache: {
      // Enter, as the delegate reports it.
      const int column = entry_column_.value_or(committed.column());
      entry_column_.reset();
      if (!committed.isValid() || sorted_elsewhere) return;
      const QModelIndex below = sheet_.model()->index(committed.row() + 1, column);
      if (below.isValid()) sheet_.setCurrentIndex(below);
      return;
    }
    default:
      entry_column_.reset();
      return;
  }
}

}  // namespace lunavant::desktop
