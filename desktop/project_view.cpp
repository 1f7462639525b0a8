// SPDX-License-Identifier: MIT
#include "desktop/project_view.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSplitter>
#include <QStyledItemDelegate>

#include "desktop/date_cell_editor.h"
#include "desktop/holiday_tool_tips.h"
#include "desktop/sheet_entry.h"
#include "workbench/model/application.h"
#include "workbench/model/project.h"

namespace lunavant::desktop {

namespace {

constexpr int kIndentPerLevel = 14;
constexpr int kMarkerSize = 9;

// Indents the task names by their outline level and draws the marker that collapses or expands a
// summary task.
class OutlineDelegate : public QStyledItemDelegate {
 public:
  OutlineDelegate(const TaskSheetModel& model, QObject* parent)
      : QStyledItemDelegate(parent), model_(model) {}

  static int indentOf(const QModelIndex& index) {
    const int level = index.data(TaskSheetModel::OutlineLevelRole).toInt();
    return std::max(0, level - 1) * kIndentPerLevel + kMarkerSize + 6;
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    if (index.column() != model_.nameColumn()) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    QStyleOptionViewItem indented(option);
    const int indent = indentOf(index);
    indented.rect.adjust(indent, 0, 0, 0);
    const bool summary = index.data(TaskSheetModel::SummaryRole).toBool();
    if (summary) indented.font.setBold(true);
    QStyledItemDelegate::paint(painter, indented, index);
    if (summary && !model_.outline().IsFlat()) {
      const QRect marker = markerRect(option.rect, index);
      painter->save();
      painter->setRenderHint(QPainter::Antialiasing, true);
      painter->setPen(Qt::NoPen);
      painter->setBrush(option.palette.color(QPalette::Text));
      const bool collapsed = index.data(TaskSheetModel::CollapsedRole).toBool();
      QPolygonF triangle;
      if (collapsed) {
        triangle << marker.topLeft() << QPointF(marker.right(), marker.center().y())
                 << marker.bottomLeft();
      } else {
        triangle << marker.topLeft() << marker.topRight()
                 << QPointF(marker.center().x(), marker.bottom());
      }
      painter->drawPolygon(triangle);
      painter->restore();
    }
  }

  // The host is busy while a cell is being edited: its own toolbar buttons are disabled then.
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    model_.project().App().BeginCellEdit();
    if (DateCellEditor* dates = CreateDateCellEditor(model_, index, parent)) {
      // A picked day is committed at once, as Enter commits a typed one.
      auto* self = const_cast<OutlineDelegate*>(this);
      connect(dates, &DateCellEditor::dayPicked, self, [self, dates] {
        emit self->commitData(dates);
        emit self->closeEditor(dates, QAbstractItemDelegate::NoHint);
      });
      return dates;
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
  }
  void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
    model_.project().App().EndCellEdit();
    QStyledItemDelegate::destroyEditor(editor, index);
  }

  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override {
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    if (index.column() == model_.nameColumn()) {
      editor->setGeometry(option.rect.adjusted(indentOf(index), 0, 0, 0));
    }
  }

  static QRect markerRect(const QRect& cell, const QModelIndex& index) {
    const int level = index.data(TaskSheetModel::OutlineLevelRole).toInt();
    const int left = cell.left() + 3 + std::max(0, level - 1) * kIndentPerLevel;
    return QRect(left, cell.center().y() - kMarkerSize / 2, kMarkerSize, kMarkerSize);
  }

 private:
  const TaskSheetModel& model_;
};

}  // namespace

ProjectView::ProjectView(lunavant::workbench::Project& project,
                         lunavant::workbench::HijriDays& hijri, QWidget* parent)
    : QWidget(parent), model_(project, this) {
  splitter_ = new QSplitter(Qt::Horizontal, this);
  sheet_ = new QTableView(splitter_);
  chart_ = new GanttChart(model_, hijri, splitter_);
  new HolidayToolTips(*chart_, project);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter_);

  sheet_->setModel(&model_);
  sheet_->setItemDelegate(new OutlineDelegate(model_, sheet_));
  new SheetEntry(*sheet_);
  sheet_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  sheet_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  sheet_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
  sheet_->setSelectionMode(QAbstractItemView::ContiguousSelection);
  sheet_->setWordWrap(false);
  sheet_->verticalHeader()->hide();
  // Every row is as tall as the chart's, so the two stay level however far they scroll.
  sheet_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  sheet_->verticalHeader()->setDefaultSectionSize(chart_->rowHeight());
  sheet_->verticalHeader()->setMinimumSectionSize(chart_->rowHeight());
  sheet_->horizontalHeader()->setFixedHeight(chart_->headerHeight());
  sheet_->horizontalHeader()->setHighlightSections(false);
  sheet_->viewport()->installEventFilter(this);

  connect(sheet_->verticalScrollBar(), &QScrollBar::valueChanged, chart_,
          &GanttChart::setVerticalOffset);
  connect(chart_, &GanttChart::verticalWheel, this,
          [this](QWheelEvent* event) { QApplication::sendEvent(sheet_->viewport(), event); });
  connect(chart_, &GanttChart::headerHeightChanged, sheet_->horizontalHeader(),
          &QHeaderView::setFixedHeight);
  connect(&model_, &QAbstractItemModel::modelReset, this, &ProjectView::applyColumnWidths);
  connect(&model_, &TaskSheetModel::editFailed, this, &ProjectView::showEditFailure);
  connect(&model_, &TaskSheetModel::projectEdited, this, &ProjectView::projectEdited);

  applyColumnWidths();
  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);
}

void ProjectView::applyColumnWidths() {
  // The table gives widths in characters of the sheet's font.
  const int character = sheet_->fontMetrics().horizontalAdvance(QLatin1Char('0'));
  int total = 0;
  for (int column = 0; column < model_.columnCount(); ++column) {
    const int width = model_.widthInCharacters(column) * character + 8;
    sheet_->setColumnWidth(column, width);
    total += width;
  }
  // Once: afterwards the split stays where the user put it.
  if (!split_set_) splitter_->setSizes({std::min(total + 4, 640), 800});
  split_set_ = true;
}

void ProjectView::refresh() {
  model_.refresh();
  chart_->refresh();
}

QRect ProjectView::outlineMarkerRect(int row) const {
  const int column = model_.nameColumn();
  if (column < 0) return {};
  const QModelIndex index = model_.index(row, column);
  if (!index.data(TaskSheetModel::SummaryRole).toBool() || model_.outline().IsFlat()) return {};
  return OutlineDelegate::markerRect(sheet_->visualRect(index), index);
}

bool ProjectView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == sheet_->viewport() && event->type() == QEvent::MouseButtonPress) {
    const auto* press = static_cast<QMouseEvent*>(event);
    const QModelIndex index = sheet_->indexAt(press->position().toPoint());
    if (index.isValid() && outlineMarkerRect(index.row())
                               .adjusted(-3, -3, 3, 3)
                               .contains(press->position().toPoint())) {
      model_.setCollapsed(index.row(), !index.data(TaskSheetModel::CollapsedRole).toBool());
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void ProjectView::showEditFailure(const QString& message) {
  QMessageBox::warning(this, QApplication::applicationDisplayName(), message);
}

}  // namespace lunavant::desktop
