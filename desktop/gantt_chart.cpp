// SPDX-License-Identifier: MIT
#include "desktop/gantt_chart.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "desktop/gantt_shapes.h"
#include "desktop/host_text.h"
#include "desktop/task_sheet_model.h"
#include "desktop/timescale_labels.h"
#include "workbench/model/project.h"
#include "workbench/model/task.h"
#include "workbench/view/hijri_days.h"

namespace lunavant::desktop {

namespace wb = lunavant::workbench;

namespace {

// Room before the project's start and after its finish, in days.
constexpr std::int64_t kLeadDays = 7;
constexpr std::int64_t kTrailDays = 60;

}  // namespace

GanttChart::GanttChart(TaskSheetModel& model, wb::HijriDays& hijri, QWidget* parent)
    : QAbstractScrollArea(parent), model_(model), hijri_(hijri) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  connect(&model_, &QAbstractItemModel::modelReset, this, &GanttChart::refresh);
  connect(&model_, &QAbstractItemModel::dataChanged, this, [this] { refresh(); });
  refresh();
}

void GanttChart::setRowHeight(int height) {
  row_height_ = std::max(8, height);
  viewport()->update();
}

int GanttChart::tierHeight() const { return fontMetrics().height() + 6; }

int GanttChart::headerHeight() const { return static_cast<int>(tiers().size()) * tierHeight(); }

void GanttChart::setHijriTiers(HijriTiers placement) {
  if (placement == hijri_tiers_) return;
  hijri_tiers_ = placement;
  emit headerHeightChanged(headerHeight());
  viewport()->update();
}

void GanttChart::setZoom(wb::TimescaleZoom zoom) {
  if (zoom == timescale_.Zoom()) return;
  // Keep the day at the middle of the view where it is.
  const double middle_day =
      static_cast<double>(origin_day_) +
      (horizontalScrollBar()->value() + viewport()->width() / 2.0) / timescale_.PixelsPerDay();
  const int height_before = headerHeight();
  timescale_ = wb::Timescale(zoom);
  updateScrollRange();
  horizontalScrollBar()->setValue(static_cast<int>(
      std::lround((middle_day - static_cast<double>(origin_day_)) * timescale_.PixelsPerDay() -
                  viewport()->width() / 2.0)));
  if (headerHeight() != height_before) emit headerHeightChanged(headerHeight());
  viewport()->update();
}

void GanttChart::zoomIn() { setZoom(timescale_.ZoomedIn().Zoom()); }
void GanttChart::zoomOut() { setZoom(timescale_.ZoomedOut().Zoom()); }

std::vector<GanttChart::Tier> GanttChart::tiers() const {
  std::vector<Tier> gregorian{{wb::TierCalendar::kGregorian, timescale_.Major()}};
  std::vector<Tier> hijri{{wb::TierCalendar::kHijri, timescale_.Major()}};
  if (timescale_.Minor() != wb::TierUnit::kNone) {
    gregorian.push_back({wb::TierCalendar::kGregorian, timescale_.Minor()});
    hijri.push_back({wb::TierCalendar::kHijri, timescale_.Minor()});
  }
  switch (hijri_tiers_) {
    case HijriTiers::Hidden:
      return gregorian;
    case HijriTiers::Above:
      hijri.insert(hijri.end(), gregorian.begin(), gregorian.end());
      return hijri;
    case HijriTiers::Below:
      gregorian.insert(gregorian.end(), hijri.begin(), hijri.end());
      return gregorian;
  }
  return gregorian;
}

std::int64_t GanttChart::firstVisibleDay() const {
  return origin_day_ + static_cast<std::int64_t>(
                           std::floor(horizontalScrollBar()->value() / timescale_.PixelsPerDay()));
}

void GanttChart::scrollToDay(std::int64_t day) {
  horizontalScrollBar()->setValue(static_cast<int>(
      std::lround(static_cast<double>(day - origin_day_) * timescale_.PixelsPerDay())));
}

std::vector<wb::TierCell> GanttChart::visibleCells(int tier) const {
  const std::vector<Tier> all = tiers();
  if (tier < 0 || tier >= static_cast<int>(all.size())) return {};
  const std::int64_t first = firstVisibleDay();
  const auto span =
      static_cast<std::int64_t>(std::ceil(viewport()->width() / timescale_.PixelsPerDay()) + 1);
  const Tier& row = all[static_cast<std::size_t>(tier)];
  return timescale_.Cells(row.calendar, row.unit, first, first + span, &hijri_);
}

QString GanttChart::shownLabel(const wb::TierCell& cell, QRectF* box) const {
  // A cell partly out of view is labelled in the part in view; a label that does not fit is
  // shortened, or left out rather than run into the next cell.
  const double left = std::max(xOfMoment(cell.first_day * wb::kMinutesPerDay), 0.0);
  const double right = std::min(xOfMoment(cell.end_day * wb::kMinutesPerDay),
                                static_cast<double>(viewport()->width()));
  if (box != nullptr) *box = QRectF(left, 0, right - left, tierHeight());
  return FittingLabel(QString::fromStdString(cell.label), right - left, QFontMetricsF(font()));
}

bool GanttChart::isCorrectedMonth(int tier, const wb::TierCell& cell) const {
  const std::vector<Tier> all = tiers();
  if (tier < 0 || tier >= static_cast<int>(all.size())) return false;
  const Tier& row = all[static_cast<std::size_t>(tier)];
  if (row.calendar != wb::TierCalendar::kHijri || row.unit != wb::TierUnit::kMonth) return false;
  const std::optional<wb::HijriDate> first = hijri_.FromDays(cell.first_day);
  return first && hijri_.MonthCorrected(first->year, first->month);
}

QStringList GanttChart::shownLabels(int tier) const {
  QStringList shown;
  for (const wb::TierCell& cell : visibleCells(tier)) shown << shownLabel(cell);
  return shown;
}

double GanttChart::xOfMoment(wb::Moment when) const {
  const double days =
      static_cast<double>(when) / wb::kMinutesPerDay - static_cast<double>(origin_day_);
  return days * timescale_.PixelsPerDay() - horizontalScrollBar()->value();
}

int GanttChart::rowTop(int row) const {
  return headerHeight() + row * row_height_ - vertical_offset_;
}

QRectF GanttChart::barRect(int row) const {
  const wb::Task* task = model_.taskAt(row);
  if (task == nullptr) return {};
  return TaskShapeRect(*task, xOfMoment(task->Start()), xOfMoment(task->Finish()), rowTop(row),
                       row_height_, 1.0);
}

void GanttChart::setVerticalOffset(int offset) {
  if (offset == vertical_offset_) return;
  vertical_offset_ = offset;
  viewport()->update();
}

void GanttChart::refresh() {
  const wb::Project& project = model_.project();
  const wb::Task& summary = project.SummaryTask();
  const std::int64_t first =
      std::min(wb::DayOf(project.ProjectStart()), wb::DayOf(summary.Start()));
  const std::int64_t last = std::max(first, wb::DayOf(summary.Finish()));
  const bool first_time = day_count_ <= 1;
  const int value = horizontalScrollBar()->value();
  const std::int64_t new_origin = first - kLeadDays;
  const double shift = static_cast<double>(origin_day_ - new_origin) * timescale_.PixelsPerDay();
  origin_day_ = new_origin;
  day_count_ = last - first + kLeadDays + kTrailDays;
  updateScrollRange();
  if (!first_time) horizontalScrollBar()->setValue(value + static_cast<int>(std::lround(shift)));
  viewport()->update();
}

void GanttChart::updateScrollRange() {
  const double width = static_cast<double>(day_count_) * timescale_.PixelsPerDay();
  const int maximum = std::max(0, static_cast<int>(std::ceil(width)) - viewport()->width());
  horizontalScrollBar()->setRange(0, maximum);
  horizontalScrollBar()->setPageStep(std::max(1, viewport()->width()));
  horizontalScrollBar()->setSingleStep(
      std::max(1, static_cast<int>(timescale_.PixelsPerDay() * 7)));
}

void GanttChart::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollRange();
}

void GanttChart::scrollContentsBy(int, int) { viewport()->update(); }

void GanttChart::wheelEvent(QWheelEvent* event) {
  if (event->modifiers() & Qt::ControlModifier) {
    if (event->angleDelta().y() > 0) zoomIn();
    if (event->angleDelta().y() < 0) zoomOut();
    event->accept();
    return;
  }
  if (event->modifiers() & Qt::ShiftModifier || event->angleDelta().x() != 0) {
    QAbstractScrollArea::wheelEvent(event);
    return;
  }
  emit verticalWheel(event);
}

void GanttChart::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), palette().base());
  const std::int64_t first_day = firstVisibleDay();
  const auto end_day =
      first_day +
      static_cast<std::int64_t>(std::ceil(viewport()->width() / timescale_.PixelsPerDay()) + 1);
  paintShading(painter, first_day, end_day);

  const int first_row = std::max(0, vertical_offset_ / row_height_);
  const int last_row =
      std::min(model_.rowCount() - 1, (vertical_offset_ + viewport()->height()) / row_height_);
  painter.setRenderHint(QPainter::Antialiasing, true);
  paintLinks(painter, first_row, last_row);
  paintRows(painter, first_row, last_row);
  painter.setRenderHint(QPainter::Antialiasing, false);
  paintTimescale(painter);
}

void GanttChart::paintShading(QPainter& painter, std::int64_t first_day,
                              std::int64_t end_day) const {
  // Below a few pixels a day, shading would only stripe the chart grey.
  if (timescale_.PixelsPerDay() < 3.0) return;
  const wb::ProjectCalendar& calendar = model_.project().Calendar();
  const int top = headerHeight();
  for (std::int64_t day = first_day; day < end_day; ++day) {
    if (calendar.IsWorkingDay(day)) continue;
    const double left = xOfMoment(day * wb::kMinutesPerDay);
    painter.fillRect(QRectF(left, top, timescale_.PixelsPerDay(), viewport()->height() - top),
                     kNonWorkingColour);
  }
}

void GanttChart::paintRows(QPainter& painter, int first_row, int last_row) const {
  painter.save();
  painter.setClipRect(QRect(0, headerHeight(), viewport()->width(), viewport()->height()));
  const QFontMetrics metrics = fontMetrics();
  for (int row = first_row; row <= last_row; ++row) {
    const wb::Task* task = model_.taskAt(row);
    if (task == nullptr) continue;
    const QRectF bar = barRect(row);
    if (bar.right() < -200 || bar.left() > viewport()->width() + 200) continue;
    if (task->IsMilestone()) {
      painter.fillPath(MilestoneDiamond(bar), Qt::black);
    } else if (task->IsSummary()) {
      painter.fillRect(bar, Qt::black);
      const double tip = bar.height() * 1.6;
      for (double x : {bar.left(), bar.right()}) {
        QPainterPath end;
        end.moveTo(x - tip / 2, bar.bottom());
        end.lineTo(x + tip / 2, bar.bottom());
        end.lineTo(x, bar.bottom() + tip * 0.7);
        end.closeSubpath();
        painter.fillPath(end, Qt::black);
      }
    } else {
      painter.setPen(kBarEdge);
      painter.setBrush(kBarColour);
      painter.drawRect(bar);
    }
    if (!task->IsSummary()) {
      // Qt lays the name out in its own direction, so an Arabic name reads right to left.
      const QString name = fromHost(task->Name());
      painter.setPen(palette().color(QPalette::Text));
      painter.drawText(
          QPointF(bar.right() + 4,
                  rowTop(row) + (row_height_ + metrics.ascent() - metrics.descent()) / 2.0),
          name);
    }
  }
  painter.restore();
}

void GanttChart::paintLinks(QPainter& painter, int first_row, int last_row) const {
  painter.save();
  painter.setClipRect(QRect(0, headerHeight(), viewport()->width(), viewport()->height()));
  painter.setPen(QPen(kLinkColour, 1));
  const wb::OutlineRows& outline = model_.outline();
  auto draw = [&](const wb::Task& from, const wb::Task& to, wb::LinkType type) {
    const int from_row = outline.RowOfTask(from);
    const int to_row = outline.RowOfTask(to);
    if (from_row < 0 || to_row < 0) return;
    const LinkRoute route =
        RouteLink(barRect(from_row), barRect(to_row), type, to_row > from_row, 6);
    QPainterPath path = route.path();
    if (route.head.x() != route.end.x()) path.lineTo(route.end);
    painter.drawPath(path);
    PaintLinkHead(painter, route, 4);
  };
  for (int row = first_row; row <= last_row; ++row) {
    const wb::Task* task = model_.taskAt(row);
    if (task == nullptr) continue;
    // Links into the rows in view, and links out of them to rows beyond: each link once.
    for (const wb::Link& link : task->PredecessorLinks()) draw(*link.task, *task, link.type);
    for (const wb::Link& link : task->SuccessorLinks()) {
      const int to_row = outline.RowOfTask(*link.task);
      if (to_row < first_row || to_row > last_row) draw(*task, *link.task, link.type);
    }
  }
  painter.restore();
}

void GanttChart::paintTimescale(QPainter& painter) const {
  const std::vector<Tier> all = tiers();
  const int height = tierHeight();
  painter.save();
  painter.fillRect(QRect(0, 0, viewport()->width(), headerHeight()), kGregorianTierColour);
  const QPen line(palette().color(QPalette::Mid));
  for (int tier = 0; tier < static_cast<int>(all.size()); ++tier) {
    const int top = tier * height;
    if (all[static_cast<std::size_t>(tier)].calendar == wb::TierCalendar::kHijri) {
      painter.fillRect(QRect(0, top, viewport()->width(), height), kHijriTierColour);
    }
    for (const wb::TierCell& cell : visibleCells(tier)) {
      const double right = xOfMoment(cell.end_day * wb::kMinutesPerDay);
      if (isCorrectedMonth(tier, cell)) {
        const double left = xOfMoment(cell.first_day * wb::kMinutesPerDay);
        painter.fillRect(QRectF(left, top, right - left, height), kCorrectedMonthColour);
      }
      painter.setPen(line);
      painter.drawLine(QPointF(right, top), QPointF(right, top + height));
      QRectF box;
      const QString label = shownLabel(cell, &box);
      if (label.isEmpty()) continue;
      box.moveTop(top);
      box.setHeight(height);
      painter.setPen(palette().color(QPalette::Text));
      painter.drawText(box, Qt::AlignCenter, label);
    }
    painter.setPen(line);
    painter.drawLine(0, top + height - 1, viewport()->width(), top + height - 1);
  }
  painter.restore();
}

}  // namespace lunavant::desktop
